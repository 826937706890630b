// PNG files in and out of bitmaps (8-bit RGB).
#pragma once

#include <string>

#include "raster/raster.h"

namespace sktch::raster {

// Writes the bitmap as an RGB PNG; false when the file cannot be written.
bool write_png(const Bitmap& bitmap, const std::string& path);
// Reads an RGB or RGBA PNG; false when the file is missing or not a PNG.
bool read_png(const std::string& path, Bitmap& out);

}  // namespace sktch::raster
