#include "app/update_document.h"
#include "app/version_key.h"

#include <gtest/gtest.h>
#include <wx/sstream.h>

TEST(VersionKeys, SortAsTheVersionsDoAndNeverReadNewerThanTheyAre) {
    const struct {
        const char *a, *b;
        int order; // the sign of a against b
    } cases[] = {
        {"2.0.9", "2.0.19", -1},
        {"2.1.0", "10.0.0", -1},
        {"", "0.0.1", -1},
        {"2.0.19", "2.0.19", 0},
        {"2.1", "2.1.0", 0},
        {"v2.1.0-beta.3", "2.1.0", 0},
        {"2.0.19.7", "2.0.19", 0},
        {"nonsense", "0", 0},
        {"238326.9", "238327.1", -1},
        {"238327.9", "238328.1", -1},
        {"300000.9", "400000.1", 0},
        {"99999999999999999999999", "1.2", 1},
    };
    for (const auto& c : cases) {
        const auto sign = [](int n) { return (n > 0) - (n < 0); };
        EXPECT_EQ(sign(CompareVersions(c.a, c.b)), c.order) << c.a << " " << c.b;
        EXPECT_EQ(sign(CompareVersions(c.b, c.a)), -c.order) << c.b << " " << c.a;
        char key[kVersionKeyCapacity + 1];
        key[kVersionKeyCapacity] = '#';
        MakeVersionKey(key, kVersionKeyCapacity, c.a);
        EXPECT_EQ(key[kVersionKeyCapacity], '#') << c.a;
    }
}

// The window's tests show the documents the update check meets most; these are the finer points.
TEST(UpdateDocument, NamesTheVersionAfterTheProductInTheLastMatchingElement) {
    const std::pair<const char*, const char*> cases[] = {
        {R"(<u><p name="Reelmont" version="2.1.0" extra="x"/></u>)", "2.1.0"},
        {R"(<u><a x="Reelmont" y="3"/><b y="5" x="Reelmont"/></u>)", "3"},
        {R"(<u><a x="reelmont" y="5"/><a x="Reelmont " y="6"/></u>)", ""},
        {R"(<u><g><a x="Reelmont" y="5"/></g></u>)", ""},
        {R"(<u><a x="Reelmont" y="5"/>)", ""},
        {"", ""},
    };
    for (const auto& [document, version] : cases) {
        wxStringInputStream stream(wxString::FromUTF8(document));
        EXPECT_EQ(ParseLatestVersion(stream), version) << document;
    }
}
