// Ellipses.
#include "raster/raster.h"
#include "raster/raster_internal.h"

namespace sktch::raster {

void ellipse(const Target&, const Pen&, const Brush&, int, int, int, int) {}

}  // namespace sktch::raster
