// Fonts and text through device contexts; the glyph work is the raster core's.
#include <algorithm>
#include <cstring>

#include "core/backend.h"
#include "core/core.h"

namespace sktch::platform {

const glyphs::Font* object_font(GdiObject* object) {
    if (!object || object->kind != GdiKind::font) return nullptr;
    FontData& data = *object->font;
    if (!data.font) data.font = glyphs::find_font(data.request);
    return data.font;
}

namespace {

const glyphs::Font* context_font(DeviceContext& dc) {
    return object_font(find_object(dc.font));
}

}  // namespace
}  // namespace sktch::platform

using namespace sktch::platform;
namespace glyphs = sktch::glyphs;

HFONT CreateFontA(int height, int width, int, int, int weight, DWORD italic, DWORD underline,
                  DWORD strike_out, DWORD, DWORD, DWORD, DWORD, DWORD pitch_and_family,
                  LPCSTR face) {
    glyphs::FontRequest request;
    request.height = height;
    request.width = width;
    request.weight = weight == 0 ? FW_NORMAL : weight;
    request.italic = italic != 0;
    request.underline = underline != 0;
    request.strike_out = strike_out != 0;
    request.monospace = (pitch_and_family & 3) == FIXED_PITCH;
    request.face = face ? std::string(face, strnlen(face, 31)) : "";
    return make_handle<HFONT>(core().objects.add(std::move(request)));
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    DeviceContext* d = find_context(dc);
    if (!d) return CLR_INVALID;
    COLORREF previous = d->text_color;
    d->text_color = color;
    return previous;
}

COLORREF GetTextColor(HDC dc) {
    DeviceContext* d = find_context(dc);
    return d ? d->text_color : CLR_INVALID;
}

int GetBkMode(HDC dc) {
    DeviceContext* d = find_context(dc);
    return d ? d->background_mode : 0;
}

int SetBkMode(HDC dc, int mode) {
    DeviceContext* d = find_context(dc);
    if (!d || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    int previous = d->background_mode;
    d->background_mode = mode;
    return previous;
}

COLORREF GetBkColor(HDC dc) {
    DeviceContext* d = find_context(dc);
    return d ? d->background_color : CLR_INVALID;
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
    DeviceContext* d = find_context(dc);
    if (!d) return CLR_INVALID;
    COLORREF previous = d->background_color;
    d->background_color = color;
    return previous;
}

BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* tm) {
    DeviceContext* d = find_context(dc);
    const sktch::glyphs::Font* font = d ? context_font(*d) : nullptr;
    if (!font || !tm) return FALSE;
    const sktch::glyphs::Metrics& m = sktch::glyphs::metrics(*font);
    *tm = TEXTMETRICA{};
    tm->tmHeight = m.height;
    tm->tmAscent = m.ascent;
    tm->tmDescent = m.descent;
    tm->tmInternalLeading = m.internal_leading;
    tm->tmExternalLeading = m.external_leading;
    tm->tmAveCharWidth = m.average_char_width;
    tm->tmMaxCharWidth = m.max_char_width;
    tm->tmWeight = m.weight;
    tm->tmFirstChar = 32;
    tm->tmLastChar = 255;
    tm->tmDefaultChar = '?';
    tm->tmBreakChar = ' ';
    // As in Win32, the low bit is set for a variable-pitch font.
    tm->tmPitchAndFamily = m.fixed_pitch ? BYTE(FF_MODERN) : BYTE(FF_DONTCARE | 1);
    return TRUE;
}

BOOL GetTextExtentPointA(HDC dc, LPCSTR text, int length, SIZE* size) {
    DeviceContext* d = find_context(dc);
    const sktch::glyphs::Font* font = d ? context_font(*d) : nullptr;
    if (!font || !size || length < 0 || (length > 0 && !text)) return FALSE;
    size->cx = length > 0 ? sktch::glyphs::text_width(*font, text, length) : 0;
    size->cy = sktch::glyphs::metrics(*font).height;
    return TRUE;
}

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length) {
    DeviceContext* d = find_context(dc);
    if (!d || length < 0 || (length > 0 && !text)) return FALSE;
    // On a window, what the text may cover is marked, and the rest of its rows stay known.
    Window* window = d->memory ? nullptr : find_window(d->window);
    sktch::raster::Bitmap* bitmap = window ? &backing_to_read(*window) : context_bitmap(*d);
    const sktch::glyphs::Font* font = context_font(*d);
    if (!bitmap || !font) return FALSE;
    if (window) {
        int width = length > 0 ? sktch::glyphs::text_width(*font, text, length) : 0;
        RECT cell{x, y, LONG(std::min<long long>((long long)x + width, INT32_MAX)),
                  LONG(std::min<long long>((long long)y + sktch::glyphs::metrics(*font).height,
                                           INT32_MAX))};
        text_drawn(*window, cell, std::string_view(text ? text : "", std::size_t(length)));
    }
    if (length == 0) return TRUE;
    sktch::glyphs::draw_text(sktch::raster::whole(*bitmap), *font, x, y, text, length,
                             to_pixel(d->text_color), d->background_mode == OPAQUE,
                             to_pixel(d->background_color));
    if (window) {
        const sktch::glyphs::Reach r = sktch::glyphs::text_reach(*font, x, y, text, length);
        mark_drawn_rows(*window, r.left, r.top, r.right, r.bottom);
        window_pixels_changed(d->window);
    }
    return TRUE;
}
