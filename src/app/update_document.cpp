#include "app/update_document.h"

#include "app/product.h"

#include <wx/log.h>

wxString ParseLatestVersion(wxInputStream& stream) {
    if (!stream.IsOk()) {
        return wxString();
    }
    wxXmlDocument document;
    {
        wxLogNull quiet;
        if (!document.Load(stream, "UTF-8", 0) || document.GetRoot() == nullptr) {
            return wxString();
        }
    }
    return FindAttributeAfterValue(GetProductName(), document);
}

wxString FindAttributeAfterValue(const wxString& key, const wxXmlDocument& document) {
    wxString result;
    if (document.GetRoot() == nullptr) {
        return result;
    }
    for (const wxXmlNode* element = document.GetRoot()->GetChildren(); element != nullptr;
         element = element->GetNext()) {
        for (const wxXmlAttribute* attribute = element->GetAttributes();
             attribute != nullptr && attribute->GetNext() != nullptr;
             attribute = attribute->GetNext()) {
            if (attribute->GetValue() == key) {
                result = attribute->GetNext()->GetValue();
                break;
            }
        }
    }
    return result;
}
