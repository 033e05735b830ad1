#include "app/export_setting.h"

#include "app/paths.h"

#include <wx/fileconf.h>
#include <wx/log.h>

#include <climits>
#include <memory>

namespace {

// The file as the toolkit's plain "key=value" configuration, without the user's other files.
std::unique_ptr<wxFileConfig> OpenSettingFile() {
    return std::unique_ptr<wxFileConfig>(new wxFileConfig(
        wxEmptyString, wxEmptyString, GetExportFilePath(), wxEmptyString, wxCONFIG_USE_LOCAL_FILE));
}

// The number under `key`, or `fallback` when there is none.
long long ReadNumber(wxFileConfig& file, const char* key, long long fallback) {
    wxString text;
    long long value = 0;
    return file.Read(key, &text) && text.ToLongLong(&value) ? value : fallback;
}

int ReadInt(wxFileConfig& file, const char* key, int fallback) {
    const long long value = ReadNumber(file, key, fallback);
    return value >= INT_MIN && value <= INT_MAX ? static_cast<int>(value) : fallback;
}

} // namespace

ExportChoices ReadExportSetting() {
    wxLogNull quiet;
    const std::unique_ptr<wxFileConfig> file = OpenSettingFile();
    ExportChoices choices;
    ExportOptions options;
    options.palette = file->ReadBool("best", false) ? PaletteMode::Best : PaletteMode::Standard;
    options.optimize = file->ReadBool("optimize", false);
    options.keepTransparency = file->ReadBool("keepTransparency", false);
    options.quality = ReadInt(*file, "quality", options.quality);
    options.lossy = ReadInt(*file, "lossy", options.lossy);
    options.colours = ReadInt(*file, "colours", options.colours);
    options.maxBytes = ReadNumber(*file, "maxBytes", options.maxBytes);
    choices.options = WithinRanges(options);
    choices.loopInFile = file->ReadBool("loopInFile", false);
    return choices;
}

void WriteExportSetting(const ExportChoices& choices) {
    wxLogNull quiet;
    const std::unique_ptr<wxFileConfig> file = OpenSettingFile();
    const ExportOptions& options = choices.options;
    file->Write("best", options.palette == PaletteMode::Best);
    file->Write("optimize", options.optimize);
    file->Write("keepTransparency", options.keepTransparency);
    file->Write("quality", options.quality);
    file->Write("lossy", options.lossy);
    file->Write("colours", options.colours);
    file->Write("maxBytes", wxString::Format("%lld", options.maxBytes));
    file->Write("loopInFile", choices.loopInFile);
    file->Flush();
}
