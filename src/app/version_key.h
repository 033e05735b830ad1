// Version texts such as "2.0.19" compared through short keys that sort as the versions do.
#pragma once

#include <wx/string.h>

#include <cstddef>

// The key length the update check compares.
constexpr std::size_t kVersionKeyCapacity = 9;

// Writes the key of a version into key[0, capacity): three characters for each of the first
// capacity / 3 numeric components (three with the usual capacity of 9), ordered as the numbers
// are. Text before the first digit is skipped ("v2.1" reads as 2.1); the version ends at the
// first character that is neither a digit nor a dot followed by a digit ("2.1.0-beta" reads as
// 2.1.0); missing components count as 0 ("2.1" equals "2.1.0") and components beyond the third
// are not looked at. Components up to 238327 are told apart. A larger one gets the largest key
// and so do all components after it: two such versions compare equal, so a version may be seen
// as the same as another but never as newer than it is.
void MakeVersionKey(char* key, std::size_t capacity, const char* version);

// Negative when the running version is older than the latest one, 0 when they read the same.
int CompareVersions(const wxString& running, const wxString& latest);
