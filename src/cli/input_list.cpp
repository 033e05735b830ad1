#include "cli/input_list.h"

#include <wx/intl.h>

#include <cerrno>
#include <cstring>
#include <string>

bool ReadInputList(const wxString& listPath, std::FILE* in, std::vector<wxString>* inputs,
                   wxString* error) {
    const bool standardInput = listPath == "-";
    std::FILE* list = standardInput ? in : std::fopen(listPath.fn_str(), "r");
    if (!list) {
        *error = wxString::Format(_("cannot read the list \"%s\": %s"), listPath,
                                  wxString(std::strerror(errno), *wxConvCurrent));
        return false;
    }
    std::string line;
    int c;
    while ((c = std::fgetc(list)) != EOF || !line.empty()) {
        if (c != '\n' && c != EOF) {
            line += static_cast<char>(c);
            continue;
        }
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            inputs->push_back(wxString(line.c_str(), *wxConvFileName));
        }
        line.clear();
    }
    const int code = std::ferror(list) ? errno : 0;
    if (!standardInput) {
        std::fclose(list);
    }
    if (code) {
        *error = wxString::Format(_("cannot read the list \"%s\": %s"), listPath,
                                  wxString(std::strerror(code), *wxConvCurrent));
        return false;
    }
    return true;
}
