#include "gif/gif_lzw.h"

#include <cstdint>
#include <cstring>
#include <memory>

namespace {

const int kMaxBits = 12;
// The table is cleared instead of taking code 4095, as other writers do.
const int kClearAt = 4095;
// Pixels with two ways each double the strings to look at; past this many forks in one string
// only the pixel's own index is followed.
const int kForks = 32;

// The strings of the code table, each a shorter string's code followed by one index.
class StringTable {
public:
    void Clear() { std::memset(m_keys, 0, sizeof m_keys); }

    int Find(int prefix, int index) const {
        const uint32_t key = Key(prefix, index);
        for (uint32_t slot = Slot(key); m_keys[slot] != 0; slot = (slot + 1) & (kSlots - 1)) {
            if (m_keys[slot] == key) {
                return m_codes[slot];
            }
        }
        return -1;
    }

    // A string already in the table keeps its first code; the new code then goes unused.
    void Add(int prefix, int index, int code) {
        const uint32_t key = Key(prefix, index);
        uint32_t slot = Slot(key);
        for (; m_keys[slot] != 0; slot = (slot + 1) & (kSlots - 1)) {
            if (m_keys[slot] == key) {
                return;
            }
        }
        m_keys[slot] = key;
        m_codes[slot] = static_cast<uint16_t>(code);
    }

private:
    // Twice the codes there can be, so that searches stay short.
    static const uint32_t kSlots = 8192;
    // Keys are one more than the string, so that 0 marks a free slot.
    static uint32_t Key(int prefix, int index) {
        return ((static_cast<uint32_t>(prefix) << 8) | static_cast<uint32_t>(index)) + 1;
    }
    static uint32_t Slot(uint32_t key) { return (key * 2654435761u) >> 19; }

    uint32_t m_keys[kSlots];
    uint16_t m_codes[kSlots];
};

// Packs codes into bytes, least significant bit first, in sub-blocks of at most 255 bytes.
class CodeWriter {
public:
    explicit CodeWriter(std::vector<unsigned char>& out) : m_out(out) {}

    void Put(int code, int bits) {
        m_bits |= static_cast<uint32_t>(code) << m_used;
        m_used += bits;
        for (; m_used >= 8; m_used -= 8, m_bits >>= 8) {
            Byte(static_cast<unsigned char>(m_bits & 0xFF));
        }
    }

    void Finish() {
        if (m_used > 0) {
            Byte(static_cast<unsigned char>(m_bits & 0xFF));
        }
        m_out.push_back(0);
    }

private:
    void Byte(unsigned char value) {
        if (m_blockAt == kNoBlock || m_out[m_blockAt] == 255) {
            m_blockAt = m_out.size();
            m_out.push_back(0);
        }
        ++m_out[m_blockAt];
        m_out.push_back(value);
    }

    std::vector<unsigned char>& m_out;
    uint32_t m_bits = 0;
    int m_used = 0;
    // Where the length of the sub-block being filled is.
    static const size_t kNoBlock = static_cast<size_t>(-1);
    size_t m_blockAt = kNoBlock;
};

// Finds, from a pixel on, the longest string the table holds, taking either way at pixels that
// have two.
class StringSearch {
public:
    StringSearch(const unsigned char* indices, size_t count, const unsigned char* others)
        : m_indices(indices), m_count(count), m_others(others) {}

    StringTable table;

    bool HasTwoWays(size_t at) const {
        return m_others != nullptr && m_others[at] != m_indices[at];
    }

    // The longest string starting with `first` at pixel `at`, as its code and the pixel after
    // it. The entry the decoder adds on reading that string's code, `previous` followed by
    // `first`, counts as in the table with code `next`.
    void Longest(int first, size_t at, int previous, int next, int* code, size_t* end) {
        m_pending = previous;
        m_pendingIndex = first;
        m_pendingCode = next;
        m_forks = kForks;
        m_bestEnd = at + 1;
        m_bestCode = first;
        Follow(first, at + 1);
        *code = m_bestCode;
        *end = m_bestEnd;
    }

private:
    int Child(int code, int index) const {
        if (code == m_pending && index == m_pendingIndex) {
            return m_pendingCode;
        }
        return table.Find(code, index);
    }

    void Follow(int code, size_t at) {
        for (;;) {
            if (at > m_bestEnd) {
                m_bestEnd = at;
                m_bestCode = code;
            }
            if (at == m_count) {
                return;
            }
            // The given index first, so that it wins where both go as far.
            const int given = Child(code, m_indices[at]);
            const int other = HasTwoWays(at) ? Child(code, m_others[at]) : -1;
            if (given >= 0 && other >= 0 && m_forks > 0) {
                --m_forks;
                Follow(given, at + 1);
                code = other;
            } else {
                code = given >= 0 ? given : other;
            }
            if (code < 0) {
                return;
            }
            ++at;
        }
    }

    const unsigned char* m_indices;
    size_t m_count;
    const unsigned char* m_others;
    int m_pending = -1;
    int m_pendingIndex = 0;
    int m_pendingCode = 0;
    int m_forks = 0;
    size_t m_bestEnd = 0;
    int m_bestCode = 0;
};

} // namespace

void CodeLzw(const unsigned char* indices, size_t count, int minCodeSize,
             const unsigned char* others, std::vector<unsigned char>& out) {
    out.push_back(static_cast<unsigned char>(minCodeSize));
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    CodeWriter writer(out);
    const std::unique_ptr<StringSearch> search(new StringSearch(indices, count, others));
    search->table.Clear();
    int bits = minCodeSize + 1;
    int next = end + 1;
    writer.Put(clear, bits);
    // The code written last, whose string the next string's first index extends in the table.
    int previous = -1;
    for (size_t at = 0; at < count;) {
        int first = indices[at];
        int code = 0;
        size_t stop = 0;
        search->Longest(first, at, previous, next, &code, &stop);
        if (search->HasTwoWays(at)) {
            int otherCode;
            size_t otherStop;
            search->Longest(others[at], at, previous, next, &otherCode, &otherStop);
            if (otherStop > stop) {
                code = otherCode;
                stop = otherStop;
                first = others[at];
            }
        }
        if (previous >= 0) {
            search->table.Add(previous, first, next++);
        }
        writer.Put(code, bits);
        if (next >= (1 << bits) && bits < kMaxBits) {
            ++bits;
        }
        at = stop;
        previous = code;
        if (at < count && next >= kClearAt) {
            writer.Put(clear, bits);
            search->table.Clear();
            bits = minCodeSize + 1;
            next = end + 1;
            previous = -1;
        }
    }
    writer.Put(end, bits);
    writer.Finish();
}
