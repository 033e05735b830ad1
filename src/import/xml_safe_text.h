// Names that XML 1.0 cannot carry as they are: control characters (a file name may hold any
// byte but "/" and NUL) are not allowed or not kept, U+FFFE and U+FFFF are no characters, and
// bytes that are not UTF-8 are no text at all.
// Such names are stored with those bytes and "%" written as "%XX", which the reader undoes.
#pragma once

#include <string>
#include <string_view>

// True when the bytes hold a sequence that XML would refuse or change.
bool NeedsXmlEscape(std::string_view utf8);
// The text with every such sequence and every "%" written as "%XX" (upper-case hex digits).
std::string EscapeForXml(std::string_view utf8);
// The text with every "%XX" turned back into its byte; other text is kept as it is.
std::string UnescapeFromXml(std::string_view escaped);
