#include "app/domain_option.h"

#include "app/web_download.h"

#include <wx/filefn.h>

DomainOption* g_domainOption = nullptr;

DomainOption::DomainOption(const wxString& path) : m_path(path) {}

DomainOption::~DomainOption() = default;

bool DomainOption::Load() {
    if (!wxFileExists(m_path)) {
        return false;
    }
    if (!m_doc.Load(m_path, "UTF-8", 0)) {
        return false;
    }
    return m_doc.GetRoot() != nullptr;
}

bool LoadOptions() {
    DomainOption& options = *g_domainOption;
    if (!options.Load()) {
        return false;
    }
    const wxXmlNode* group = options.m_doc.GetRoot()->GetChildren();
    if (group == nullptr) {
        return false;
    }
    const wxXmlNode* value = group->GetChildren();
    wxString* const targets[] = {
        &options.m_helpUrl,   &options.m_option2,        &options.m_supportUrl, &options.m_option4,
        &options.m_updateUrl, &options.m_productPageUrl, &options.m_option7};
    for (wxString* target : targets) {
        if (value == nullptr) {
            return false;
        }
        *target = value->GetNodeContent();
        if (target == &options.m_updateUrl) {
            *target += "-update.xml";
        }
        value = value->GetNext();
    }
    return true;
}

namespace {
// The options file may hold anything; the browser is given only web pages.
wxString WebAddressOrNone(const wxString& address) {
    return IsWebAddress(address) ? address : wxString();
}
} // namespace

wxString GetHelpUrl() {
    return WebAddressOrNone(g_domainOption->m_helpUrl);
}

wxString GetSupportUrl() {
    return WebAddressOrNone(g_domainOption->m_supportUrl);
}

wxString GetProductPageUrl() {
    return WebAddressOrNone(g_domainOption->m_productPageUrl);
}
