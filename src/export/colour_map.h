// A small map from RGB colours to numbers, for frames of at most a few hundred colours: open
// addressing in a fixed table, no allocation.
#pragma once

class ColourMap {
public:
    // Room for 256 colours and more at a low fill; callers put in at most 257, as the table
    // must never fill up.
    static const unsigned kSlots = 1024;

    static unsigned Pack(const unsigned char* rgb) {
        return (rgb[0] << 16) | (rgb[1] << 8) | rgb[2];
    }

    // The slot that holds `colour`, or the free slot where it belongs; `found` tells which.
    unsigned Find(unsigned colour, bool* found) const {
        const unsigned key = colour + 1;
        unsigned slot = (key * 2654435761u) >> 22;
        while (m_keys[slot] != 0 && m_keys[slot] != key) {
            slot = (slot + 1) & (kSlots - 1);
        }
        *found = m_keys[slot] == key;
        return slot;
    }
    void Put(unsigned slot, unsigned colour, int value) {
        m_keys[slot] = colour + 1;
        m_values[slot] = value;
    }
    int Value(unsigned slot) const { return m_values[slot]; }

private:
    // Keys are colour + 1, so that 0 marks a free slot.
    unsigned m_keys[kSlots] = {};
    int m_values[kSlots] = {};
};
