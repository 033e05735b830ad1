// The readers that take files from outside, each fed one input given as bytes. The fuzz targets
// call these, and so does the regression test that replays the kept inputs, so both drive the
// readers the same way.
#pragma once

#include <cstddef>
#include <cstdint>

// Reads the bytes as a GIF file and composes every frame, as the import does.
void ReadGifInput(const uint8_t* data, size_t size);
// Reads the bytes as a still picture (PNG, JPEG, BMP, told by their first bytes, or any other
// kind the toolkit reads), as the import does.
void ReadPictureInput(const uint8_t* data, size_t size);
// Reads the bytes as a project file, as opening a project does.
void ReadProjectInput(const uint8_t* data, size_t size);
// Reads the bytes as the installation's options file, as start-up does.
void ReadOptionsInput(const uint8_t* data, size_t size);
