#include "app/paths.h"

#include "app/platform.h"
#include "app/product.h"

wxString AppDirectoryOf(const wxString& programPath) {
    wxString path = programPath;
    path.Replace("\\", "/");
    const int slash = path.Find('/', true);
    if (slash == wxNOT_FOUND) {
        return ".";
    }
    return path.Left(slash);
}

wxString InstallDirectoryOf(const wxString& appDirectory) {
    const int slash = appDirectory.Find('/', true);
    if (slash == wxNOT_FOUND) {
        return wxString();
    }
    return appDirectory.Left(slash);
}

wxString DataDirectoryBelow(const wxString& documentsFolder) {
    wxString path = documentsFolder;
    path.Replace("\\", "/");
    path += "/" + GetVendorName() + " files";
    MakeFolder(path);
    path += "/" + GetProductName();
    MakeFolder(path);
    return path;
}

wxString GetAppDirectory() {
    return AppDirectoryOf(GetProgramPath());
}

wxString GetInstallDirectory() {
    return InstallDirectoryOf(GetAppDirectory());
}

wxString GetOptionFilePath() {
    return GetInstallDirectory() + "/option.cfg";
}

wxString GetDataDirectory() {
    return DataDirectoryBelow(GetDocumentsFolder());
}

wxString GetLanguageFilePath() {
    return GetDataDirectory() + "/language.txt";
}

wxString GetExportFilePath() {
    return GetDataDirectory() + "/export.txt";
}
