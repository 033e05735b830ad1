// Texts that come from files or the network cut to a length a label, a status field or a dialog
// can show: a project may name its GIF with sixty megabytes, an update server may answer with a
// megabyte of version, and the toolkit would try to lay out every character.
#pragma once

#include <wx/string.h>

// Longer texts are cut here and end with an ellipsis.
constexpr size_t kLongestShownText = 200;

wxString CappedText(const wxString& text, size_t longest = kLongestShownText);

// The text with the bytes of a file name that are not valid UTF-8 (carried as the private
// characters U+100000 + byte) written as "\xFF", so that a name is shown as it is on disk.
wxString EscapedText(const wxString& text);
