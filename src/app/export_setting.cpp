#include "app/export_setting.h"

#include "app/paths.h"

#include <wx/fileconf.h>
#include <wx/log.h>

#include <memory>

namespace {

// The file as the toolkit's plain "key=value" configuration, without the user's other files.
std::unique_ptr<wxFileConfig> OpenSettingFile() {
    return std::unique_ptr<wxFileConfig>(new wxFileConfig(
        wxEmptyString, wxEmptyString, GetExportFilePath(), wxEmptyString, wxCONFIG_USE_LOCAL_FILE));
}

} // namespace

ExportSetting ReadExportSetting() {
    wxLogNull quiet;
    const std::unique_ptr<wxFileConfig> file = OpenSettingFile();
    ExportSetting setting;
    setting.best = file->ReadBool("best", false);
    setting.optimize = file->ReadBool("optimize", false);
    setting.loopInFile = file->ReadBool("loopInFile", false);
    return setting;
}

void WriteExportSetting(const ExportSetting& setting) {
    wxLogNull quiet;
    const std::unique_ptr<wxFileConfig> file = OpenSettingFile();
    file->Write("best", setting.best);
    file->Write("optimize", setting.optimize);
    file->Write("loopInFile", setting.loopInFile);
    file->Flush();
}
