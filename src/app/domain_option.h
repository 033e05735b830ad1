// The installation's options file: the web addresses the Help menu, the update check and the
// About dialog use. Read once at start-up; only element order counts, not element names.
#pragma once

#include <wx/string.h>
#include <wx/xml/xml.h>

class DomainOption {
public:
    explicit DomainOption(const wxString& path);
    virtual ~DomainOption();

    // Parses the file; false when it is missing or not XML.
    bool Load();

    wxString m_path;
    wxXmlDocument m_doc;
    wxString m_helpUrl;
    wxString m_option2;
    wxString m_supportUrl;
    wxString m_option4;
    wxString m_updateUrl;
    wxString m_productPageUrl;
    wxString m_option7;
};

extern DomainOption* g_domainOption;

// Fills the seven values of g_domainOption in order; true when all seven were present.
bool LoadOptions();

// The web pages of the options file; empty for anything but an http or https address.
wxString GetHelpUrl();
wxString GetSupportUrl();
wxString GetProductPageUrl();
