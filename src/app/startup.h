// The start-up steps shared by the application and the window tests: resources, options and
// the main window built from its layout.
#pragma once

#include <wx/arrstr.h>

class GifFrame;

// Image handlers, layout files, and the options file (printing its path as a trace).
void PrepareResources();

// Builds the main window from the layout "MyFrame1" and initialises it; null (after telling
// the user) when the layout cannot be found.
GifFrame* CreateMainWindow();

// Once the window runs: offers back work left unsaved by a program that ended without saving
// it, then opens the files named on the command line (images are imported, a project file is
// opened). Relative names are taken from the current folder.
void OpenStartupFiles(GifFrame* frame, const wxArrayString& arguments);
