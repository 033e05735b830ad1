#include "app/version_key.h"

#include <algorithm>
#include <cstring>

namespace {
// Digits in ascending character order, so that keys compare as the numbers they spell.
const char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr unsigned long kBase = sizeof kDigits - 1;
constexpr std::size_t kWidth = 3;
constexpr unsigned long kLargest = kBase * kBase * kBase - 1;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
} // namespace

void MakeVersionKey(char* key, std::size_t capacity, const char* version) {
    const char* next = version;
    while (*next != '\0' && !IsDigit(*next)) {
        ++next;
    }
    bool beyond = false;
    for (std::size_t at = 0; at + kWidth <= capacity; at += kWidth) {
        unsigned long value = kLargest;
        if (!beyond) {
            value = 0;
            for (; IsDigit(*next); ++next) {
                value =
                    std::min(value * 10 + static_cast<unsigned long>(*next - '0'), kLargest + 1);
            }
            beyond = value > kLargest;
            value = std::min(value, kLargest);
            next = next[0] == '.' && IsDigit(next[1]) ? next + 1 : "";
        }
        for (std::size_t digit = kWidth; digit-- > 0; value /= kBase) {
            key[at + digit] = kDigits[value % kBase];
        }
    }
}

int CompareVersions(const wxString& running, const wxString& latest) {
    char runningKey[kVersionKeyCapacity] = {};
    char latestKey[kVersionKeyCapacity] = {};
    MakeVersionKey(runningKey, kVersionKeyCapacity, running.utf8_str());
    MakeVersionKey(latestKey, kVersionKeyCapacity, latest.utf8_str());
    return std::strncmp(runningKey, latestKey, kVersionKeyCapacity);
}
