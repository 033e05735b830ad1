#include "export/palette_conversion.h"

#include "export/black_backdrop.h"

#include <wx/imagbmp.h>
#include <wx/log.h>
#include <wx/mstream.h>

wxImage ConvertToPalettedImage(const wxImage& image) {
    if (!image.IsOk()) {
        return wxImage();
    }
    // The writer reads its format from an image option; an opaque picture is wrapped without
    // copying so that the caller's image stays as it was.
    wxImage opaque = image.HasAlpha() || image.HasMask()
                         ? OpaqueOverBlack(image)
                         : wxImage(image.GetWidth(), image.GetHeight(), image.GetData(), true);
    opaque.SetOption(wxIMAGE_OPTION_BMP_FORMAT, wxBMP_8BPP);

    wxLogNull quiet;
    wxBMPHandler bmp;
    wxMemoryOutputStream encoded;
    if (!bmp.SaveFile(&opaque, encoded, false)) {
        return wxImage();
    }
    wxMemoryInputStream decoded(encoded);
    wxImage paletted;
    if (!bmp.LoadFile(&paletted, decoded, false, -1) || !paletted.HasPalette()) {
        return wxImage();
    }
    return paletted;
}
