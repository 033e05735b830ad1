// The export choices the window remembers per user, in a file beside the language file.
#pragma once

struct ExportSetting {
    // "Best colours": libimagequant's palettes instead of the standard ones.
    bool best = false;
    // "Optimise file size": only what changed is stored from frame to frame.
    bool optimize = false;
    // The preview's loop count is also written into the file (otherwise it loops forever).
    bool loopInFile = false;

    bool operator==(const ExportSetting& other) const {
        return best == other.best && optimize == other.optimize && loopInFile == other.loopInFile;
    }
};

// The remembered choices; all off when nothing was remembered or the file cannot be read.
ExportSetting ReadExportSetting();
// Remembers the choices; a file that cannot be written is left alone.
void WriteExportSetting(const ExportSetting& setting);
