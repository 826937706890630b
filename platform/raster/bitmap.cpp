// Bitmaps, whole-bitmap targets, single pixels and solid blocks.
#include "raster/raster.h"
#include "raster/raster_internal.h"

namespace sktch::raster {

void Bitmap::resize(int w, int h, Pixel fill) {
    width = w < 0 ? 0 : w;
    height = h < 0 ? 0 : h;
    pixels.assign(std::size_t(width) * std::size_t(height), fill);
}

void set_pixel(const Target& t, int x, int y, Pixel color) {
    detail::Painter(t, color).pixel(x, y);
}

void fill_rect(const Target& t, int left, int top, int right, int bottom, Pixel color) {
    detail::Painter(t, color).box(left, top, right, bottom);
}

}  // namespace sktch::raster
