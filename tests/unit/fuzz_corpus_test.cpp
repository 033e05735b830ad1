// Every input kept in the fuzz corpora, the ones that ever failed included, read again by the
// reader it was found for; the sanitizer build (tools/sanitize.sh) checks each read closely.
#include "fuzz/fuzz_inputs.h"

#include <gtest/gtest.h>
#include <wx/dir.h>
#include <wx/ffile.h>

TEST(FuzzCorpus, EveryKeptInputIsReadAgain) {
    const struct {
        const char* folder;
        void (*read)(const uint8_t*, size_t);
    } targets[] = {{"gif", ReadGifInput},
                   {"picture", ReadPictureInput},
                   {"project", ReadProjectInput},
                   {"options", ReadOptionsInput}};
    for (const auto& target : targets) {
        wxArrayString files;
        wxDir::GetAllFiles(wxString(REELMONT_FUZZ_CORPUS) + "/" + target.folder, &files);
        EXPECT_FALSE(files.empty()) << target.folder;
        for (const wxString& file : files) {
            SCOPED_TRACE(file);
            wxFFile input(file, "rb");
            std::string content(static_cast<size_t>(input.Length()), '\0');
            ASSERT_EQ(input.Read(&content[0], content.size()), content.size());
            target.read(reinterpret_cast<const uint8_t*>(content.data()), content.size());
        }
    }
}
