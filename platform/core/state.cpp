// The platform's process-wide record, its stock objects, and handle look-ups.
#include <memory>

#include "core/core.h"

namespace sktch::platform {
namespace {

constexpr int kDefaultBitmap = 15;  // the 1 by 1 bitmap of a fresh memory context

HGDIOBJ add_stock(Core& c, GdiObject object) {
    object.stock = true;
    return make_handle<HGDIOBJ>(c.objects.add(std::move(object)));
}

void make_stock_objects(Core& c) {
    auto pen = [](raster::Pixel color, bool null) {
        return GdiObject(raster::Pen{color, 1, null});
    };
    auto brush = [](raster::Pixel color, bool hollow) {
        return GdiObject(raster::Brush{color, hollow});
    };
    c.stock[WHITE_BRUSH] = add_stock(c, brush(0xFFFFFF, false));
    c.stock[BLACK_BRUSH] = add_stock(c, brush(0x000000, false));
    c.stock[NULL_BRUSH] = add_stock(c, brush(0x000000, true));
    c.stock[WHITE_PEN] = add_stock(c, pen(0xFFFFFF, false));
    c.stock[BLACK_PEN] = add_stock(c, pen(0x000000, false));
    c.stock[NULL_PEN] = add_stock(c, pen(0x000000, true));
    glyphs::FontRequest fixed;
    fixed.height = 13;
    fixed.monospace = true;
    fixed.face = "monospace";
    c.stock[ANSI_FIXED_FONT] = add_stock(c, GdiObject(fixed));
    glyphs::FontRequest system;
    system.height = 16;
    system.weight = 700;
    system.face = "sans-serif";
    c.stock[SYSTEM_FONT] = add_stock(c, GdiObject(system));
    c.stock[kDefaultBitmap] = add_stock(c, GdiObject(std::make_unique<raster::Bitmap>(1, 1, 0)));
}

}  // namespace

// Never destroyed: the process's windows and objects go with the process.
alignas(Core) unsigned char core_storage[sizeof(Core)];
bool core_built = false;

// Out of line and cold: every platform call checks for it, and inlined it would swell
// every caller that flattens those calls.
[[gnu::noinline, gnu::cold]] Core& build_core() {
    Core* c = new (core_storage) Core();
    core_built = true;
    make_stock_objects(*c);
    return *c;
}

[[gnu::noinline]] void erase_object(Core& c, HGDIOBJ object) {
    c.objects.erase(handle_id(object));
}

void reset_core() {
    if (!core_built) return;
    std::launder(reinterpret_cast<Core*>(core_storage))->~Core();
    core_built = false;
}

HGDIOBJ default_bitmap() {
    return core().stock[kDefaultBitmap];
}

}  // namespace sktch::platform
