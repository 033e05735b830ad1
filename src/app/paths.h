// Where the program's files are: the installation beside the executable's folder, and the
// per-user data folder below the documents folder.
#pragma once

#include <wx/string.h>

// The folder part of a program path: separators normalised to "/", cut before the last "/";
// "." when there is none.
wxString AppDirectoryOf(const wxString& programPath);
// The parent of an application directory; empty when it has no "/".
wxString InstallDirectoryOf(const wxString& appDirectory);
// The per-user data folder below a documents folder, creating each level that is missing.
wxString DataDirectoryBelow(const wxString& documentsFolder);

wxString GetAppDirectory();
wxString GetInstallDirectory();
wxString GetOptionFilePath();
wxString GetDataDirectory();
wxString GetLanguageFilePath();
// The remembered export choices, beside the language file.
wxString GetExportFilePath();
