// Reading a project file: the canvas size, the delay, the name of the GIF last written and the
// frame sources to import. The file is walked by position and reading stops at the first element
// that is not the expected one, keeping what was read before, so that callers can say where a
// file failed.
#pragma once

#include "document/export_choices.h"
#include "export/export_options.h"
#include "image/view_transform.h"

#include <wx/arrstr.h>

#include <vector>
#include <wx/string.h>

#include <cstddef>
#include <string>
#include <vector>

// Larger files are refused unread: a project lists paths, and even a million of them fit.
constexpr size_t kLargestProjectFile = 64 * 1024 * 1024;

// How far reading got; each step includes the ones before it.
enum class ProjectStep {
    None,     // not XML, no root element, too large or unreadable: `error` says which
    Document, // read as XML, but no "project" with "name", "gif" and "width" in place
    Width,    // `width` read
    Height,   // `height` and `name` read
    Delay,    // `delay` read
    Images,   // "images" found, but it holds no child or a child that is not "path"
    Paths,    // every child of "images" is a "path"; `paths` holds the usable ones
};

// A frame source that a project lists and that is in none of the places it was looked for.
struct MissingSource {
    std::string path;     // as listed, UTF-8
    std::string relative; // the location beside the project file, as listed; may be empty
    size_t before = 0;    // how many of the usable sources come before it
    int delay = -1;       // its own delay, as listed; -1 for none
};

struct ProjectFile {
    ProjectStep reached = ProjectStep::None;
    wxString name; // the GIF last written, without folder; may be empty
    int width = 0;
    int height = 0;
    int delay = 0;
    // At ProjectStep::Images: true when "images" holds nothing at all (the window then says the
    // file could not be loaded), false when reading stopped at a child that is not "path".
    bool imagesEmpty = false;
    // The frame sources to import, in file order: paths whose source file exists where the
    // path says or, failing that, where its relative location says beside the project file;
    // without the GIF files the writer lists beside their frames.
    wxArrayString paths;
    // The frame sources found nowhere, in file order.
    std::vector<MissingSource> missing;
    // How the frames are shown: crop, turn and flip, from "animation" after "images".
    ViewTransform view;
    // Each usable path's own delay from its "delay" attribute, in the order of `paths`; -1 where
    // it has none or one that is no whole number from 0 to 65535 (the frame takes `delay`).
    std::vector<int> delays;
    // The animation's settings from "animation"; -1 where the file says nothing (files of
    // earlier versions): the preview's passes, and the export choices best colours, optimised
    // frames and the loop count written into the file (0 or 1).
    int loopCount = -1;
    int bestColours = -1;
    int optimise = -1;
    int loopInFile = -1;
    // The rest of the export choices, each at its default where the file says nothing or
    // something out of its range: the quality number, the lossy level, the colour count and the
    // size limit in bytes (0 for none).
    int quality = kHighestQuality;
    int lossy = kLossyOfQuality;
    int colours = kMostColours;
    long long maxBytes = 0;
    // Transparency kept in the file: 1 for keep_transparency="1" on "animation", 0 when that
    // attribute is absent (it is written only when on), -1 without "animation" or for a value
    // other than 0 and 1.
    int keepTransparency = -1;
    // A recovery project's "project" of "animation": the project file its work belongs to.
    wxString projectPath;
    // Below ProjectStep::Paths: why the file is not a complete project, naming it (translated).
    wxString error;

    bool Reached(ProjectStep step) const { return reached >= step; }
    // The export choices the file gives, those of `base` where it says nothing of them.
    ExportChoices Choices(ExportChoices base) const;
};

// Reads the project file at `path`. Numbers are read as leading decimal digits (0 when there
// are none). Time and memory grow linearly with the file's size.
ProjectFile ReadProjectFile(const wxString& path);

// Reads a project from the bytes of a file called `path`.
ProjectFile ReadProjectBytes(const char* data, size_t size, const wxString& path);

// Whether the bytes of a project file about to be written parse as a project whose "images"
// holds `entries` "path" elements, as the reader would take them.
bool IsReadableProject(const char* data, size_t size, size_t entries);
