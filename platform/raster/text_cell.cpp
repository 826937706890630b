#include "raster/text_cell.h"

#include <algorithm>
#include <cmath>

#include "raster/text_painting.h"

namespace sktch::glyphs {
namespace {

// Design units at ppem pixels to the em, rounded out (a hair's tolerance keeps exact
// values from rounding up).
std::int64_t ceil_units(double units, int ppem, int upem) {
    return static_cast<std::int64_t>(std::ceil(units * ppem / upem - 1e-6));
}

}  // namespace

int size_cell(Metrics& m, double ascent_units, double descent_units, int upem, int height) {
    ascent_units = std::max(1.0, ascent_units);
    descent_units = std::max(0.0, descent_units);
    const auto cell = [&](int ppem) {
        return ceil_units(ascent_units, ppem, upem) + ceil_units(descent_units, ppem, upem);
    };
    int em = 0;
    if (height < 0) {
        em = -height;
        m.ascent = int(ceil_units(ascent_units, em, upem));
        m.descent = int(ceil_units(descent_units, em, upem));
        m.height = m.ascent + m.descent;
    } else {
        em = std::max(1, int(double(height) * upem / (ascent_units + descent_units)));
        while (em > 1 && cell(em) > height) --em;
        const int min_ascent = int(ceil_units(ascent_units, em, upem));
        const int min_descent = int(ceil_units(descent_units, em, upem));
        const int share = int(std::lround(height * ascent_units / (ascent_units + descent_units)));
        m.ascent =
            std::clamp(std::max(min_ascent, std::min(height - min_descent, share)), 0, height);
        m.height = height;
        m.descent = height - m.ascent;
    }
    m.internal_leading = std::max(0, m.height - em);
    return em;
}

void Decorations::fit(const Metrics& m) {
    underline_thickness = std::clamp(underline_thickness, 1, std::max(1, m.descent));
    underline_offset =
        std::clamp(underline_offset, 1, std::max(1, m.descent - underline_thickness + 1));
    strike_thickness = std::clamp(strike_thickness, 1, std::max(1, m.ascent / 2));
    strike_offset =
        std::clamp(strike_offset, strike_thickness, std::max(strike_thickness, m.ascent));
}

void Decorations::widen(Reach& r, std::int64_t baseline) const {
    if (underline)
        r.bottom = std::max(r.bottom, baseline + underline_offset - 1 + underline_thickness);
    if (strike_out) {
        r.top = std::min(r.top, baseline - strike_offset);
        r.bottom = std::max(r.bottom, baseline - strike_offset + strike_thickness);
    }
}

void Decorations::paint(const raster::Target& t, std::int64_t x, std::int64_t width,
                        std::int64_t baseline, raster::Pixel color) const {
    if (underline) {
        const std::int64_t row = baseline + underline_offset - 1;
        fill_box(t, x, row, x + width, row + underline_thickness, color);
    }
    if (strike_out) {
        const std::int64_t row = baseline - strike_offset;
        fill_box(t, x, row, x + width, row + strike_thickness, color);
    }
}

}  // namespace sktch::glyphs
