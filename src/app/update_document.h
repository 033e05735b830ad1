// The update document: which version the vendor names as the latest for this product.
#pragma once

#include <wx/stream.h>
#include <wx/string.h>
#include <wx/xml/xml.h>

// The latest version named in the document read from the stream; empty when the stream is not
// usable, the document is not XML or no element names this product.
wxString ParseLatestVersion(wxInputStream& stream);

// In each element below the root, the value of the attribute that follows the first attribute
// whose value is the key; the last element that has one wins. Empty when none has.
wxString FindAttributeAfterValue(const wxString& key, const wxXmlDocument& document);
