// The LZW coding of a frame's table indices, as GIF image data stores them.
#pragma once

#include <cstddef>
#include <vector>

// Appends to `out` the image data of `count` table indices: the minimum code size byte, the codes
// in sub-blocks of at most 255 bytes, and the empty block that ends them. The code table is
// cleared when it reaches 4095 codes, as the toolkit's and giflib's writers do.
// Where `others` is given and others[p] differs from indices[p], pixel p shows the same either
// way (a pixel left transparent over what the canvas already shows, or stored in its colour):
// the coder takes the other index where that continues a longer string.
void CodeLzw(const unsigned char* indices, size_t count, int minCodeSize,
             const unsigned char* others, std::vector<unsigned char>& out);
