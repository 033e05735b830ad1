#include "app/product.h"

namespace {
const char* const kVendorName = "Tarnwell";
const char* const kStoredProductName = "Reelmont";
const char* const kProductVersion = "2.0.19";
} // namespace

wxString GetVendorName() {
    return wxString(kVendorName, wxConvLocal);
}

wxString GetProductName() {
    wxString name(kStoredProductName, wxConvLocal);
    name.Replace("+", " ");
    return name;
}

wxString GetProductVersion() {
    return wxString(kProductVersion, wxConvLocal);
}
