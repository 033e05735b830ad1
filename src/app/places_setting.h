// Where the user was last, kept per user beside the language file: the folder each file
// dialog showed, the window's place on the screen, and the projects opened or saved lately.
#pragma once

#include <wx/string.h>

#include <vector>

// The file dialogs that remember their folder, each on its own.
enum class DialogPlace { Images, OpenProject, SaveGif, SaveProject };
constexpr int kDialogPlaces = 4;
// How many projects the Recent Projects menu lists.
constexpr size_t kRecentProjects = 8;

struct WindowPlace {
    int x = 0, y = 0, width = 0, height = 0; // width 0: none remembered
    bool maximised = false;
    bool operator==(const WindowPlace& other) const {
        return x == other.x && y == other.y && width == other.width && height == other.height &&
               maximised == other.maximised;
    }
};

struct PlacesSetting {
    wxString folders[kDialogPlaces];
    WindowPlace window;
    // Newest first, each once.
    std::vector<wxString> recentProjects;

    wxString& Folder(DialogPlace place) { return folders[int(place)]; }
};

// One "key=value" line each; values holding a line break are left out, and lines that are not
// understood are skipped, so that a damaged file loses only what it damaged.
wxString FormatPlaces(const PlacesSetting& places);
PlacesSetting ParsePlaces(const wxString& text);
// Puts the project first, dropping its older mention and the oldest beyond the menu's length.
void AddRecentProject(PlacesSetting& places, const wxString& path);

// What another copy of the program wrote since this one read the file (`stored`), with what this
// one changed since (`read` to `mine`) laid over it: each folder and the window's place that
// changed here, and the projects opened or saved here put first.
PlacesSetting MergePlaces(const PlacesSetting& read, const PlacesSetting& mine,
                          const PlacesSetting& stored);

wxString GetPlacesFilePath();
// Nothing remembered when the file is missing or cannot be read.
PlacesSetting ReadPlacesSetting();
// Replaces the file only once the new one is complete; a folder that cannot be written is
// left alone.
void WritePlacesSetting(const PlacesSetting& places);
// Writes this copy's changes over what the file holds now, so that two copies of the program
// keep each other's places; both `read` and `mine` then hold what was written.
void UpdatePlacesSetting(PlacesSetting& read, PlacesSetting& mine);
