#include "gif/gif_lzw.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <system_error>
#include <thread>

namespace {

const int kMaxBits = 12;
// The table is cleared instead of taking code 4095, as other writers do.
const int kClearAt = 4095;
// Pixels with two ways each double the strings to look at; past this many forks in one string
// only the pixel's own index is followed.
const int kForks = 32;
// Lossy coding takes long on large frames, so it codes them as bands of rows, each after a clear
// code, that two threads share: bands of at least this many pixels, at most kBands a frame.
const size_t kBandPixels = 1 << 19;
const size_t kBands = 2;
// A band goes on from what the rows above it leave owing, as found by coding this many of them
// once more: an even number, so that the rows of what is owed line up.
const size_t kWarmRows = 16;

// Each thread's table of children, all 0, kept from one frame to the next rather than allocated
// and zeroed again for each: up to 2 MB a frame.
std::vector<uint16_t>& KeptChildren() {
    thread_local std::vector<uint16_t> kept;
    return kept;
}

// The strings of the code table, each a shorter string's code followed by one index. A code's
// children are found directly, at the code's row and the index's column, and only the entries
// taken are cleared again.
class StringTable {
public:
    // Room for `codes` codes whose children take indices below 2^indexBits.
    StringTable(int codes, int indexBits) : m_indexBits(indexBits) {
        m_children.swap(KeptChildren());
        m_children.resize(std::max(m_children.size(), static_cast<size_t>(codes) << indexBits), 0);
    }

    ~StringTable() {
        Clear();
        KeptChildren().swap(m_children);
    }

    StringTable(const StringTable&) = delete;
    StringTable& operator=(const StringTable&) = delete;

    void Clear() {
        for (uint32_t at : m_taken) {
            m_children[at] = 0;
        }
        m_taken.clear();
    }

    int Find(int prefix, int index) const {
        const int code = m_children[(static_cast<size_t>(prefix) << m_indexBits) | index];
        return code != 0 ? code : -1;
    }

    // A string already in the table keeps its first code; the new code then goes unused.
    void Add(int prefix, int index, int code) {
        const uint32_t at = (static_cast<uint32_t>(prefix) << m_indexBits) | index;
        if (m_children[at] == 0) {
            m_children[at] = static_cast<uint16_t>(code);
            m_taken.push_back(at);
        }
    }

private:
    int m_indexBits;
    // Each string's code, 0 for none: no string of two or more indices takes code 0.
    std::vector<uint16_t> m_children;
    std::vector<uint32_t> m_taken;
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

    // Writes the last byte, and the empty block that ends the image data.
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

// A band's codes kept with their widths, to be written after those of the bands before it.
class CodeRecorder {
public:
    void Put(int code, int bits) { m_codes.push_back(static_cast<uint32_t>(code) | bits << 16); }

    // The width the codes after the band's last would take.
    void Close(int bits) { m_endBits = bits; }

    // The band's first code, the clear code, takes the width `bits` that the codes before it
    // ended at, as the decoder reads it; `bits` is then the band's own last width.
    void WriteTo(CodeWriter& writer, int* bits) const {
        for (size_t k = 0; k < m_codes.size(); ++k) {
            writer.Put(static_cast<int>(m_codes[k] & 0xFFFF),
                       k == 0 ? *bits : static_cast<int>(m_codes[k] >> 16));
        }
        *bits = m_endBits;
    }

private:
    std::vector<uint32_t> m_codes;
    int m_endBits = 0;
};

// The codes of one frame, or of a band of its rows, as both coders write them: a clear code
// first, each string's code as wide as the table then needs, the table cleared (Table::Clear)
// instead of taking code 4095, the end code after the last band. Table::Add(prefix, index,
// code) records the entry the decoder makes of each code after the first.
template <typename Table, typename Writer> class CodeStream {
public:
    CodeStream(int minCodeSize, Writer& writer, Table& table)
        : m_minCodeSize(minCodeSize), m_clear(1 << minCodeSize), m_writer(writer), m_table(table),
          m_bits(minCodeSize + 1) {
        Restart();
    }

    // The code written last (-1 after a clear), whose string the next string's first index
    // extends in the table, and the code that entry takes.
    int Previous() const { return m_previous; }
    int Next() const { return m_next; }

    // Writes the code of a string that starts with index `first`; `more` when pixels follow.
    void Put(int code, int first, bool more) {
        if (m_previous >= 0) {
            m_table.Add(m_previous, first, m_next++);
        }
        m_writer.Put(code, m_bits);
        if (m_next >= (1 << m_bits) && m_bits < kMaxBits) {
            ++m_bits;
        }
        m_previous = code;
        if (more && m_next >= kClearAt) {
            Restart();
        }
    }

    void End() { m_writer.Put(m_clear + 1, m_bits); }

    // The width of the next code.
    int Bits() const { return m_bits; }

private:
    void Restart() {
        m_writer.Put(m_clear, m_bits);
        m_table.Clear();
        m_bits = m_minCodeSize + 1;
        m_next = m_clear + 2;
        m_previous = -1;
    }

    int m_minCodeSize;
    int m_clear;
    Writer& m_writer;
    Table& m_table;
    int m_bits;
    int m_next = 0;
    int m_previous = -1;
};

// Finds, from a pixel on, the longest string the table holds, taking either way at pixels that
// have two.
class StringSearch {
public:
    StringSearch(const unsigned char* indices, size_t count, const unsigned char* others, int codes,
                 int indexBits)
        : table(codes, indexBits), m_indices(indices), m_count(count), m_others(others) {}

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

// Lossy coding: from each pixel the strings of the code table are searched for the one that
// codes the pixels cheapest, a pixel taking any entry near enough to its own colour. A colour
// costs what it misses the picture by beyond what the pixel's own colour misses it by, so that
// pixels move where that costs little fidelity; part of what a pixel moves is carried to the
// pixels after and below it (Floyd-Steinberg), so that areas keep their mean colour.
class LossyCoder {
public:
    LossyCoder(const unsigned char* indices, size_t count, const unsigned char* others,
               const LzwLoss& loss)
        : m_indices(indices), m_count(count), m_others(others), m_loss(loss),
          m_width(loss.width > 0 ? static_cast<size_t>(loss.width) : count), m_near(256 * 256, 0),
          m_error(2 * 3 * (m_width + 2), 0) {
        for (int index = 0; index < 256; ++index) {
            m_last[index] = static_cast<unsigned char>(index);
        }
        for (int index = 0; index < loss.count; ++index) {
            for (int c = 0; c < 3; ++c) {
                m_scaled[3 * index + c] = Colour(index)[c] * kUnit;
            }
        }
        m_limit = loss.bound * kUnit;
        // A pixel owes at most the distance between two colours plus what it was owed.
        m_mostOwing = 255 * kUnit + m_limit;
        static const int kSixteenths[kShares] = {7, 3, 5, 1};
        m_shares.resize(kShares * (2 * m_mostOwing + 1));
        m_sharesOf = m_shares.data() + kShares * m_mostOwing;
        for (int owing = -m_mostOwing; owing <= m_mostOwing; ++owing) {
            for (int share = 0; share < kShares; ++share) {
                m_shares[kShares * (owing + m_mostOwing) + share] =
                    static_cast<int16_t>(owing * kCarried / kWhole * kSixteenths[share] / 16);
            }
        }
        for (int own = 0; own < loss.count; ++own) {
            for (int other = 0; other < loss.count; ++other) {
                m_near[own * 256 + other] = own != loss.transparent && other != loss.transparent &&
                                            Within(Colour(own), Colour(other), loss.bound);
            }
        }
        for (int own = 0; own < 256; ++own) {
            for (int other = 0; other < 256; ++other) {
                if (m_near[own * 256 + other]) {
                    m_nearby[own].push_back(static_cast<unsigned char>(other));
                }
            }
        }
        // What a code costs, as the distortion it is worth: a pixel missing by 0.57 of the
        // bound on each of red, green and blue. Low levels thus move only pixels that lose
        // next to nothing, high ones reach small files.
        const double miss = loss.bound * 0.57 * kUnit;
        m_codeCost = 3 * miss * miss;
        // Before any string is coded, a code is taken to cover two pixels.
        m_spent = m_codeCost;
        m_covered = 2;
    }

    // Codes the pixels as a band after a clear code, ending the image data where `last`.
    void Code(int minCodeSize, bool last, CodeRecorder& codes) {
        CodeStream<LossyCoder, CodeRecorder> stream(minCodeSize, codes, *this);
        std::vector<unsigned char> string;
        for (size_t at = 0; at < m_count;) {
            m_pendingPrefix = stream.Previous();
            m_pendingCode = stream.Next();
            // The entry the decoder adds next is searched as one of the table's.
            Raise(m_pendingPrefix);
            const int first = Cheapest(at);
            StartWith(first);
            string.clear();
            for (int code = m_bestCode; code >= 0; code = m_prefix[code]) {
                string.push_back(m_last[code]);
            }
            for (size_t k = 0; k < string.size(); ++k) {
                Commit(at + k, string[string.size() - 1 - k]);
            }
            at += string.size();
            m_spent += m_codeCost + m_bestCost;
            m_covered += string.size();
            stream.Put(m_bestCode, first, at < m_count);
        }
        if (last) {
            stream.End();
        }
        codes.Close(stream.Bits());
    }

    // Goes on from where `above`, which coded the rows just above these, left off: what its
    // pixels owe the rows below, and what a pixel has cost on the mean.
    void Continue(const LossyCoder& above) {
        m_error = above.m_error;
        m_spent = above.m_spent;
        m_covered = above.m_covered;
    }

    // The code table as the code stream keeps it.
    void Clear() {
        std::fill(m_first.begin(), m_first.end(), -1);
        std::fill(m_height.begin(), m_height.end(), 0);
    }

    void Add(int prefix, int index, int code) {
        m_last[code] = static_cast<unsigned char>(index);
        m_prefix[code] = static_cast<int16_t>(prefix);
        m_sibling[code] = m_first[prefix];
        m_first[prefix] = static_cast<int16_t>(code);
        Raise(prefix);
    }

private:
    static const int kCodes = 1 << kMaxBits;
    // Differences are carried in sixteenths.
    static const int kUnit = 16;
    // The share of what a pixel's colour moves that its neighbours make up: three eighths keeps
    // the mean colour of 8 x 8 areas within a few steps; more adds noise of its own, which
    // costs both bytes and fidelity.
    static const int kCarried = 3;
    static const int kWhole = 8;
    // The shares of what a pixel owes that go to the pixel after it and to the three below it,
    // in sixteenths of kCarried / kWhole of it: looked up rather than divided out again at every
    // step of the search.
    enum { kAfter, kBelowBefore, kBelow, kBelowAfter, kShares };
    // Strings looked at from one pixel, past which only each string's nearest way is followed.
    static const int kSearched = 256;
    // Colours other than its own that a string may start with.
    static const int kFirsts = 24;

    const unsigned char* Colour(int index) const { return m_loss.colours + 3 * index; }

    // The shares of what a pixel owes, kShares of them.
    const int16_t* SharesOf(int owing) const { return m_sharesOf + kShares * owing; }

    // `code` (-1 for none) has a child: it and the strings it extends reach further.
    void Raise(int code) {
        for (int16_t height = 1; code >= 0 && m_height[code] < height; ++height) {
            m_height[code] = height;
            code = m_prefix[code];
        }
    }

    static bool Within(const unsigned char* a, const unsigned char* b, int bound) {
        return std::abs(a[0] - b[0]) <= bound && std::abs(a[1] - b[1]) <= bound &&
               std::abs(a[2] - b[2]) <= bound;
    }

    // The pixel's colour as shown: a pixel that may stay transparent shows its other index.
    int Own(size_t p) const {
        if (m_others != nullptr && m_indices[p] == m_loss.transparent) {
            return m_others[p];
        }
        return m_indices[p];
    }

    bool OwnWay(size_t p, int index) const {
        return index == m_indices[p] || (m_others != nullptr && index == m_others[p]);
    }

    // The colour writing `index` shows; the pixel's own ways show its colour.
    const unsigned char* Shown(size_t p, int index) const {
        return Colour(OwnWay(p, index) ? Own(p) : index);
    }

    // A pixel's column, and which of the two rows of errors holds its row: followed from one
    // pixel to the next rather than divided out again for each.
    struct Place {
        size_t column = 0;
        size_t row = 0;
    };

    void Advance(Place& place) const {
        if (++place.column == m_width) {
            place.column = 0;
            place.row ^= 1;
        }
    }

    // What is carried to the pixel at `place`, or (row 1) to the one below it.
    int* Error(const Place& place, int row) {
        return &m_error[3 * (((place.row + row) % 2) * (m_width + 2) + place.column + 1)];
    }

    // The colour pixel p, the next to be written, should show: the picture's (its own colour's
    // without one), plus what the pixels before it moved and `carried` from a pixel not yet
    // written, which it owes back.
    struct Wish {
        int rgb[3];
        int owed[3];
    };

    Wish Wanted(size_t p, const int* carried) {
        const unsigned char* aim =
            m_loss.picture != nullptr ? m_loss.picture + 3 * p : Colour(Own(p));
        const int* error = Error(m_next, 0);
        Wish wish;
        for (int c = 0; c < 3; ++c) {
            wish.owed[c] = std::max(-m_limit, std::min(m_limit, error[c] + carried[c]));
            wish.rgb[c] = aim[c] * kUnit + wish.owed[c];
        }
        return wish;
    }

    // How far `colour` misses the wanted one, squared.
    static int Miss(const Wish& wish, const unsigned char* colour) {
        int sum = 0;
        for (int c = 0; c < 3; ++c) {
            const int miss = wish.rgb[c] - colour[c] * kUnit;
            sum += miss * miss;
        }
        return sum;
    }

    // What writing `index` costs beyond the pixel's own colour, which misses by `ownMiss`.
    int Cost(size_t p, const Wish& wish, int ownMiss, int index) const {
        return OwnWay(p, index) ? 0 : Miss(wish, Colour(index)) - ownMiss;
    }

    // What writing `index` leaves owing: how far it moves from the own colour plus what the
    // pixel owed.
    void Owing(size_t p, const Wish& wish, int index, int* owing) const {
        const unsigned char* shown = Shown(p, index);
        const unsigned char* mine = Colour(Own(p));
        for (int c = 0; c < 3; ++c) {
            owing[c] = (mine[c] - shown[c]) * kUnit + wish.owed[c];
        }
    }

    void Commit(size_t p, int index) {
        static const int kNone[3] = {0, 0, 0};
        const Wish wish = Wanted(p, kNone);
        int owing[3];
        Owing(p, wish, index, owing);
        // Each pixel's share is cleared once taken, so a row is clear again when the row
        // after the next one reuses it.
        int* here = Error(m_next, 0);
        int* below = Error(m_next, 1);
        const size_t x = m_next.column;
        Advance(m_next);
        here[0] = here[1] = here[2] = 0;
        if (Own(p) == m_loss.transparent) {
            return;
        }
        const bool right = x + 1 != m_width && p + 1 < m_count;
        const bool left = x != 0;
        for (int c = 0; c < 3; ++c) {
            const int16_t* shares = SharesOf(owing[c]);
            if (right) {
                here[c + 3] += shares[kAfter];
            }
            if (left) {
                below[c - 3] += shares[kBelowBefore];
            }
            below[c] += shares[kBelow];
            if (right) {
                below[c + 3] += shares[kBelowAfter];
            }
        }
    }

    // What a pixel of a string passes on to the next: its own colour plus what it owed, less the
    // colour it shows (in sixteenths), where it passes anything on. Found only for the pixels
    // whose strings are followed further.
    struct Move {
        int base[3];
        const int* shown;
        bool carries;
    };

    // What the search needs of a pixel ahead, found once for each string searched: its aim, what
    // it owes the pixels already written, its own colour (in sixteenths) and ways, and whether
    // it passes part of its move on to the pixel after it.
    struct Ahead {
        int aim[3];
        int error[3];
        int own[3];
        const unsigned char* nearby;
        int given;
        int other;
        bool carries;
    };

    // Pixel p of the string being searched; p is at most one past the last pixel found.
    const Ahead& At(size_t p) {
        const size_t k = p - m_at;
        Ahead& ahead = m_ahead[k];
        if (k == m_ready) {
            ++m_ready;
            const int own = Own(p);
            const unsigned char* aim =
                m_loss.picture != nullptr ? m_loss.picture + 3 * p : Colour(own);
            const int* error = Error(m_aheadPlace, 0);
            for (int c = 0; c < 3; ++c) {
                ahead.aim[c] = aim[c] * kUnit;
                ahead.error[c] = error[c];
                ahead.own[c] = m_scaled[3 * own + c];
            }
            ahead.nearby = &m_near[own * 256];
            ahead.given = m_indices[p];
            ahead.other = m_others != nullptr ? m_others[p] : ahead.given;
            ahead.carries = m_aheadPlace.column + 1 != m_width && own != m_loss.transparent;
            Advance(m_aheadPlace);
        }
        return ahead;
    }

    // What a string of `length` pixels at `cost` scores: its code and distortion less what its
    // pixels would cost coded as the frame's strings so far were, on the mean. Pixels a string
    // takes on are pixels the strings after it need not code; the cost per pixel of each string
    // alone would favour short strings where long ones go on cheaply.
    double Score(int length, double cost) const { return m_codeCost + cost - m_perPixel * length; }

    // Whether no string that `code` (`length` pixels at `cost`) is or begins, from pixel p on,
    // can beat the cheapest found. A pixel seldom costs less than in its own colour (only where
    // what it owes moves the colour wanted nearer another), so these strings are taken to cost
    // no more than the code and the pixels so far, and to reach as far as the longest of them.
    bool Hopeless(int code, size_t p, int length, double cost) const {
        const size_t reach = std::min<size_t>(m_height[code], m_count - p);
        return Score(length + static_cast<int>(reach), cost) >= m_bestScore;
    }

    // Pixel p continues the string of `code`, `length` pixels long so far at `cost`, after the
    // pixel before it made `move`; the string is not Hopeless. Of the children the pixel may
    // take, the nearest is followed and, while the search lasts, the others too; the cheapest
    // string found so far is m_bestCode.
    void Search(int code, size_t p, int length, double cost, const Move& move) {
        // A child, what it costs, and the colour it shows.
        struct Way {
            int child;
            int cost;
            const int* shown;
        };
        static const int kWays = 8;
        Move last = move;
        for (;;) {
            const double score = Score(length, cost);
            if (score < m_bestScore) {
                m_bestScore = score;
                m_bestCost = cost;
                m_bestCode = code;
            }
            if (p == m_count || m_height[code] == 0) {
                return;
            }
            // This is where the coder spends its time: what depends only on the pixel is found
            // once a string (At), and what the pixel wants here once a step.
            const Ahead& ahead = At(p);
            int owed[3], wish[3];
            int ownMiss = 0;
            for (int c = 0; c < 3; ++c) {
                const int from = last.carries ? SharesOf(last.base[c] - last.shown[c])[kAfter] : 0;
                owed[c] = std::max(-m_limit, std::min(m_limit, ahead.error[c] + from));
                wish[c] = ahead.aim[c] + owed[c];
                const int miss = wish[c] - ahead.own[c];
                ownMiss += miss * miss;
            }
            // The cheapest ways, cheapest first: the pixel's own ways, or colours near its own.
            Way ways[kWays];
            int found = 0;
            auto consider = [&](int child) {
                Way way;
                way.child = child;
                const int index = m_last[child];
                if (index == ahead.given || index == ahead.other) {
                    way.cost = 0;
                    way.shown = ahead.own;
                } else if (ahead.nearby[index]) {
                    const int* colour = &m_scaled[3 * index];
                    int miss = -ownMiss;
                    for (int c = 0; c < 3; ++c) {
                        miss += (wish[c] - colour[c]) * (wish[c] - colour[c]);
                    }
                    way.cost = miss;
                    way.shown = colour;
                } else {
                    return;
                }
                if (found == kWays && way.cost >= ways[kWays - 1].cost) {
                    return;
                }
                int at = found < kWays ? found++ : kWays - 1;
                for (; at > 0 && ways[at - 1].cost > way.cost; --at) {
                    ways[at] = ways[at - 1];
                }
                ways[at] = way;
            };
            for (int child = m_first[code]; child >= 0; child = m_sibling[child]) {
                consider(child);
            }
            if (code == m_pendingPrefix) {
                consider(m_pendingCode);
            }
            if (found == 0) {
                return;
            }
            Move next;
            for (int c = 0; c < 3; ++c) {
                next.base[c] = ahead.own[c] + owed[c];
            }
            next.carries = ahead.carries;
            for (int k = 1; k < found && m_searched < kSearched; ++k) {
                ++m_searched;
                if (!Hopeless(ways[k].child, p + 1, length + 1, cost + ways[k].cost)) {
                    next.shown = ways[k].shown;
                    Search(ways[k].child, p + 1, length + 1, cost + ways[k].cost, next);
                }
            }
            // The strings found meanwhile may leave the nearest no hope.
            if (Hopeless(ways[0].child, p + 1, length + 1, cost + ways[0].cost)) {
                return;
            }
            code = ways[0].child;
            cost += ways[0].cost;
            last = next;
            last.shown = ways[0].shown;
            ++length;
            ++p;
        }
    }

    // The index the string from pixel `at` starts with; m_bestCode then holds the string.
    int Cheapest(size_t at) {
        static const int kNone[3] = {0, 0, 0};
        const Wish wish = Wanted(at, kNone);
        m_bestScore = 1e300;
        m_bestCost = 0;
        m_bestCode = m_indices[at];
        m_perPixel = m_spent / m_covered;
        m_searched = 0;
        m_at = at + 1;
        m_ready = 0;
        m_aheadPlace = m_next;
        Advance(m_aheadPlace);
        int best = m_indices[at];
        const int own = Own(at);
        const int ownMiss = Miss(wish, Colour(own));
        Move move;
        for (int c = 0; c < 3; ++c) {
            move.base[c] = m_scaled[3 * own + c] + wish.owed[c];
        }
        move.carries = m_next.column + 1 != m_width && own != m_loss.transparent;
        auto consider = [&](int index, int cost) {
            if (Hopeless(index, at + 1, 1, cost)) {
                return;
            }
            move.shown = &m_scaled[3 * (OwnWay(at, index) ? own : index)];
            StartWith(index);
            const int before = m_bestCode;
            Search(index, at + 1, 1, cost, move);
            if (m_bestCode != before) {
                best = index;
            }
        };
        consider(m_indices[at], 0);
        if (m_others != nullptr && m_others[at] != m_indices[at]) {
            consider(m_others[at], 0);
        }
        // The nearby colours cheapest for this pixel first, and no more than kFirsts of them:
        // at high levels there are many, and dearer ones seldom start the cheapest string.
        // Each is its cost and index in one number, which sorts as the two would.
        // The pixel's own ways are among them, and already searched; a colour that cannot
        // start a cheaper string now will not later either. Where there are no more than
        // kFirsts, these are left out as they come.
        long long firsts[256];
        int count = 0;
        const std::vector<unsigned char>& nearby = m_nearby[own];
        const bool all = nearby.size() <= static_cast<size_t>(kFirsts);
        for (unsigned char index : nearby) {
            if (!all || !OwnWay(at, index)) {
                const int cost = Cost(at, wish, ownMiss, index);
                if (!all || !Hopeless(index, at + 1, 1, cost)) {
                    firsts[count++] = cost * 256LL + index;
                }
            }
        }
        if (count > kFirsts) {
            std::nth_element(firsts, firsts + kFirsts, firsts + count);
            count = kFirsts;
        }
        int kept = 0;
        const auto indexOf = [](long long first) { return static_cast<int>(first & 255); };
        const auto costOf = [](long long first) {
            return static_cast<int>((first - (first & 255)) / 256);
        };
        for (int k = 0; k < count; ++k) {
            if (all || (!OwnWay(at, indexOf(firsts[k])) &&
                        !Hopeless(indexOf(firsts[k]), at + 1, 1, costOf(firsts[k])))) {
                firsts[kept++] = firsts[k];
            }
        }
        // Each index comes once, so the order is the same however it is found.
        std::sort(firsts, firsts + kept);
        for (int k = 0; k < kept; ++k) {
            consider(indexOf(firsts[k]), costOf(firsts[k]));
        }
        return best;
    }

    // The string being coded starts with `index`: the entry the decoder adds on reading its
    // code, the previous string followed by `index`, may already be taken.
    void StartWith(int index) {
        m_last[m_pendingCode] = static_cast<unsigned char>(index);
        m_prefix[m_pendingCode] = static_cast<int16_t>(m_pendingPrefix);
    }

    const unsigned char* m_indices;
    size_t m_count;
    const unsigned char* m_others;
    const LzwLoss& m_loss;
    size_t m_width;
    std::vector<unsigned char> m_near;
    std::vector<unsigned char> m_nearby[256];
    std::vector<int> m_error;
    // The colour table in sixteenths.
    std::vector<int> m_scaled = std::vector<int>(3 * 256, 0);
    int m_limit = 0;
    int m_mostOwing = 0;
    std::vector<int16_t> m_shares;
    const int16_t* m_sharesOf = nullptr;
    std::vector<Ahead> m_ahead = std::vector<Ahead>(kCodes + 1);
    size_t m_at = 0;
    size_t m_ready = 0;
    // The next pixel to be written, and the next to be found ahead of it.
    Place m_next;
    Place m_aheadPlace;
    // How many more pixels the longest string extending each code takes.
    std::vector<int16_t> m_height = std::vector<int16_t>(kCodes, 0);
    std::vector<int16_t> m_first = std::vector<int16_t>(kCodes, -1);
    std::vector<int16_t> m_sibling = std::vector<int16_t>(kCodes, -1);
    std::vector<int16_t> m_prefix = std::vector<int16_t>(kCodes, -1);
    std::vector<unsigned char> m_last = std::vector<unsigned char>(kCodes, 0);
    int m_pendingPrefix = -1;
    int m_pendingCode = 0;
    // The cheapest string found: its score and distortion.
    double m_bestScore = 0;
    double m_bestCost = 0;
    int m_bestCode = 0;
    int m_searched = 0;
    double m_codeCost = 0;
    // What the strings coded so far cost, code and distortion, and their pixels; the mean a
    // pixel, as the search from one pixel takes it.
    double m_spent = 0;
    double m_covered = 0;
    double m_perPixel = 0;
};

// Codes pixels `start` to `end` of a frame `width` pixels wide lossily, as a band: after a clear
// code, as a frame of its own would be, but going on from the rows above it.
void CodeBand(const unsigned char* indices, const unsigned char* others, const LzwLoss& loss,
              size_t width, size_t start, size_t end, int minCodeSize, bool last,
              CodeRecorder& codes) {
    const auto from = [&](size_t first) {
        LzwLoss part = loss;
        if (loss.picture != nullptr) {
            part.picture = loss.picture + 3 * first;
        }
        return part;
    };
    const LzwLoss own = from(start);
    LossyCoder coder(indices + start, end - start, others != nullptr ? others + start : nullptr,
                     own);
    const size_t warm = start - std::min(start / width, kWarmRows) / 2 * 2 * width;
    if (warm < start) {
        const LzwLoss rows = from(warm);
        LossyCoder above(indices + warm, start - warm, others != nullptr ? others + warm : nullptr,
                         rows);
        CodeRecorder unused;
        above.Code(minCodeSize, false, unused);
        coder.Continue(above);
    }
    coder.Code(minCodeSize, last, codes);
}

// Codes the pixels lossily, as bands shared between this thread and a helper.
void CodeLossy(const unsigned char* indices, size_t count, int minCodeSize,
               const unsigned char* others, std::vector<unsigned char>& out, const LzwLoss& loss) {
    const size_t width =
        loss.width > 0 ? static_cast<size_t>(loss.width) : std::max<size_t>(count, 1);
    const size_t rows = std::max<size_t>(count / width, 1);
    const size_t bands = std::max<size_t>(std::min({kBands, rows, count / kBandPixels}), 1);
    std::vector<CodeRecorder> codes(bands);
    std::atomic<size_t> claimed(0);
    const auto codeBands = [&] {
        for (size_t band; (band = claimed++) < bands;) {
            const size_t start = band * rows / bands * width;
            const size_t end = band + 1 == bands ? count : (band + 1) * rows / bands * width;
            CodeBand(indices, others, loss, width, start, end, minCodeSize, band + 1 == bands,
                     codes[band]);
        }
    };
    // A thread that fails leaves the bands not yet claimed; the other finishes its own.
    std::exception_ptr failures[2];
    const auto share = [&](std::exception_ptr* failure) {
        try {
            codeBands();
        } catch (...) {
            claimed = bands;
            *failure = std::current_exception();
        }
    };
    std::thread helper;
    if (bands > 1 && loss.threads > 1) {
        try {
            helper = std::thread(share, &failures[1]);
        } catch (const std::system_error&) {
        }
    }
    share(&failures[0]);
    if (helper.joinable()) {
        helper.join();
    }
    for (const std::exception_ptr& failure : failures) {
        if (failure) {
            std::rethrow_exception(failure);
        }
    }
    out.push_back(static_cast<unsigned char>(minCodeSize));
    CodeWriter writer(out);
    int bits = minCodeSize + 1;
    for (const CodeRecorder& band : codes) {
        band.WriteTo(writer, &bits);
    }
    writer.Finish();
}

} // namespace

unsigned char LargestIndex(const unsigned char* indices, size_t count) {
    // Written so that the compiler compares many at once.
    unsigned char largest = 0;
    for (size_t i = 0; i < count; ++i) {
        largest = std::max(largest, indices[i]);
    }
    return largest;
}

void CodeLzw(const unsigned char* indices, size_t count, int minCodeSize,
             const unsigned char* others, std::vector<unsigned char>& out, const LzwLoss* loss) {
    if (loss != nullptr && loss->bound > 0) {
        CodeLossy(indices, count, minCodeSize, others, out, *loss);
        return;
    }
    // Indices are below the first code, unless the frame is malformed; it is coded all the same.
    int largest = LargestIndex(indices, count);
    if (others != nullptr) {
        largest = std::max<int>(largest, LargestIndex(others, count));
    }
    const int indexBits = largest < (1 << minCodeSize) ? minCodeSize : 8;
    // Each code takes at least one pixel: a short frame needs few.
    const int codes =
        static_cast<int>(std::min<size_t>(1 << kMaxBits, (1u << minCodeSize) + 2 + count));
    const std::unique_ptr<StringSearch> search(
        new StringSearch(indices, count, others, codes, indexBits));
    out.push_back(static_cast<unsigned char>(minCodeSize));
    CodeWriter writer(out);
    CodeStream<StringTable, CodeWriter> stream(minCodeSize, writer, search->table);
    for (size_t at = 0; at < count;) {
        int first = indices[at];
        int code = 0;
        size_t stop = 0;
        search->Longest(first, at, stream.Previous(), stream.Next(), &code, &stop);
        if (search->HasTwoWays(at)) {
            int otherCode;
            size_t otherStop;
            search->Longest(others[at], at, stream.Previous(), stream.Next(), &otherCode,
                            &otherStop);
            if (otherStop > stop) {
                code = otherCode;
                stop = otherStop;
                first = others[at];
            }
        }
        stream.Put(code, first, stop < count);
        at = stop;
    }
    stream.End();
    writer.Finish();
}
