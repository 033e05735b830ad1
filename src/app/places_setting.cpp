#include "app/places_setting.h"

#include "app/paths.h"
#include "export/replacing_file.h"

#include <wx/ffile.h>
#include <wx/log.h>
#include <wx/tokenzr.h>

#include <algorithm>
#include <string>

namespace {

const char* const kFolderKeys[kDialogPlaces] = {"images", "open-project", "save-gif",
                                                "save-project"};

void AddLine(wxString& text, const wxString& key, const wxString& value) {
    if (value.empty() || value.find_first_of("\r\n") != wxString::npos) {
        return;
    }
    text += key + "=" + value + "\n";
}

bool ReadWindowPlace(const wxString& value, WindowPlace& window) {
    wxStringTokenizer words(value, " ");
    long numbers[4];
    for (long& number : numbers) {
        if (!words.HasMoreTokens() || !words.GetNextToken().ToLong(&number)) {
            return false;
        }
    }
    if (numbers[2] <= 0 || numbers[3] <= 0 || numbers[2] > 100000 || numbers[3] > 100000) {
        return false;
    }
    window = {int(numbers[0]), int(numbers[1]), int(numbers[2]), int(numbers[3]),
              words.GetNextToken() == "maximised"};
    return true;
}

} // namespace

wxString FormatPlaces(const PlacesSetting& places) {
    wxString text;
    for (int n = 0; n < kDialogPlaces; ++n) {
        AddLine(text, kFolderKeys[n], places.folders[n]);
    }
    const WindowPlace& window = places.window;
    if (window.width > 0 && window.height > 0) {
        AddLine(text, "window",
                wxString::Format("%d %d %d %d", window.x, window.y, window.width, window.height) +
                    (window.maximised ? " maximised" : ""));
    }
    for (const wxString& project : places.recentProjects) {
        AddLine(text, "recent", project);
    }
    return text;
}

PlacesSetting ParsePlaces(const wxString& text) {
    PlacesSetting places;
    wxStringTokenizer lines(text, "\r\n", wxTOKEN_STRTOK);
    while (lines.HasMoreTokens()) {
        const wxString line = lines.GetNextToken();
        const wxString key = line.BeforeFirst('=');
        const wxString value = line.AfterFirst('=');
        if (value.empty()) {
            continue;
        }
        const auto folder = std::find(std::begin(kFolderKeys), std::end(kFolderKeys), key);
        if (folder != std::end(kFolderKeys)) {
            places.folders[folder - std::begin(kFolderKeys)] = value;
        } else if (key == "window") {
            ReadWindowPlace(value, places.window);
        } else if (key == "recent" && places.recentProjects.size() < kRecentProjects &&
                   std::find(places.recentProjects.begin(), places.recentProjects.end(), value) ==
                       places.recentProjects.end()) {
            places.recentProjects.push_back(value);
        }
    }
    return places;
}

void AddRecentProject(PlacesSetting& places, const wxString& path) {
    std::vector<wxString>& recent = places.recentProjects;
    recent.erase(std::remove(recent.begin(), recent.end(), path), recent.end());
    recent.insert(recent.begin(), path);
    if (recent.size() > kRecentProjects) {
        recent.resize(kRecentProjects);
    }
}

namespace {
// Whether `mine` has the project ahead of one that `read` had ahead of it, or has it newly:
// what putting it first does, while dropping entries keeps the others' order.
bool PutForward(const std::vector<wxString>& read, const std::vector<wxString>& mine, size_t at) {
    const auto before = std::find(read.begin(), read.end(), mine[at]);
    if (before == read.end()) {
        return true;
    }
    for (size_t later = at + 1; later < mine.size(); ++later) {
        if (std::find(read.begin(), before, mine[later]) != before) {
            return true;
        }
    }
    return false;
}
} // namespace

PlacesSetting MergePlaces(const PlacesSetting& read, const PlacesSetting& mine,
                          const PlacesSetting& stored) {
    PlacesSetting merged = stored;
    for (int n = 0; n < kDialogPlaces; ++n) {
        if (mine.folders[n] != read.folders[n]) {
            merged.folders[n] = mine.folders[n];
        }
    }
    if (!(mine.window == read.window)) {
        merged.window = mine.window;
    }
    // Oldest first, so that the newest ends up at the top.
    for (size_t at = mine.recentProjects.size(); at-- > 0;) {
        if (PutForward(read.recentProjects, mine.recentProjects, at)) {
            AddRecentProject(merged, mine.recentProjects[at]);
        }
    }
    return merged;
}

wxString GetPlacesFilePath() {
    return GetDataDirectory() + "/places.txt";
}

PlacesSetting ReadPlacesSetting() {
    wxLogNull quiet;
    wxFFile file(GetPlacesFilePath(), "rb");
    wxString text;
    if (!file.IsOpened() || !file.ReadAll(&text, wxConvUTF8)) {
        return PlacesSetting();
    }
    return ParsePlaces(text);
}

void WritePlacesSetting(const PlacesSetting& places) {
    const std::string bytes = FormatPlaces(places).utf8_string();
    wxString error;
    ReplaceFileWith(GetPlacesFilePath(), bytes.data(), bytes.length(), &error);
}

void UpdatePlacesSetting(PlacesSetting& read, PlacesSetting& mine) {
    mine = MergePlaces(read, mine, ReadPlacesSetting());
    WritePlacesSetting(mine);
    read = mine;
}
