// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own images as pixels, made from ui/icons/*.png when the program is built.
#pragma once

#include <cstddef>
#include <cstdint>

// One square image: size by size premultiplied ARGB pixels (0xAARRGGBB), row by row.
struct IconPixels {
    const char* name; // "new", "tabulon", ...
    int size;
    const std::uint32_t* pixels;
};

extern const IconPixels kIconPixels[];
extern const std::size_t kIconPixelsCount;
