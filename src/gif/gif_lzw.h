// The LZW coding of a frame's table indices, as GIF image data stores them.
#pragma once

#include <cstddef>
#include <vector>

// Appends to `out` the image data of `count` table indices: the minimum code size byte, the codes
// in sub-blocks of at most 255 bytes, and the empty block that ends them. The code table is
// cleared when it reaches 4095 codes, as the toolkit's and giflib's writers do, and where lossy
// coding starts another band of a large frame's rows.
// Where `others` is given and others[p] differs from indices[p], pixel p shows the same either
// way (a pixel left transparent over what the canvas already shows, or stored in its colour):
// the coder takes the other index where that continues a longer string.
// With `loss`, a pixel may also be written as another entry near its own colour where that
// continues a longer string (LzwLoss).
void CodeLzw(const unsigned char* indices, size_t count, int minCodeSize,
             const unsigned char* others, std::vector<unsigned char>& out,
             const struct LzwLoss* loss = nullptr);

// The largest of `count` table indices (0 for none).
unsigned char LargestIndex(const unsigned char* indices, size_t count);

// What lossy coding may change: a pixel may be written as any entry whose red, green and blue
// each differ from those of its own by at most `bound`; part of what the pixels move from their
// colour is carried on to the pixels after and below them, so that areas keep their mean colour.
struct LzwLoss {
    int bound = 0;
    // The colour table, 3 bytes an entry, `count` entries.
    const unsigned char* colours = nullptr;
    int count = 0;
    // The transparent entry (-1 for none): taken only by pixels whose own ways it is.
    int transparent = -1;
    // Pixels a row.
    int width = 0;
    // The picture the indices were reduced from, red, green and blue a pixel, or null: the
    // colours taken then cost what they miss it by, rather than how far they move from the
    // indices' own colours, so that pixels move where the picture hardly minds.
    const unsigned char* picture = nullptr;
    // Threads that may share a large frame: 1 codes it on the calling thread alone. The bytes
    // are the same either way.
    int threads = 2;
};
