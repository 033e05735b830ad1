// Starts the toolkit's non-graphical part, with every image format, for tests without display.
#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    wxInitializer toolkit(argc, argv);
    if (!toolkit.IsOk()) {
        return 2;
    }
    wxLog::EnableLogging(false);
    wxInitAllImageHandlers();
    return RUN_ALL_TESTS();
}
