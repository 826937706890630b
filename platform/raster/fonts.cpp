// Fonts matched through fontconfig and sized from their FreeType faces, cached for the life
// of the process: one FT_Library, one FT_Face per font file, one Font (with its own FT_Size)
// per distinct request.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "raster/diagnostics.h"
#include "raster/font.h"
#include "raster/glyphs.h"

namespace sktch::glyphs {
namespace {

constexpr int kDefaultCellHeight = 16;
constexpr int kDefaultFixedCellHeight = 13;  // the stock fixed-pitch font
constexpr int kMaxPixelHeight = 4096;
// Preferred fixed-pitch family; "monospace" lets fontconfig choose when it is missing.
constexpr const char* kFixedFamily = "DejaVu Sans Mono";

// A face loaded once per font file and face index.
struct FaceFile {
    FT_Face face = nullptr;
    std::uint32_t (*to_code)(unsigned char) = nullptr;  // byte to the selected charmap's code
};

int round_px(double value) {
    return static_cast<int>(std::lround(value));
}

std::uint32_t unicode_code(unsigned char c) {
    return c;
}
std::uint32_t symbol_code(unsigned char c) {
    return 0xF000u + c;
}

struct RequestHash {
    std::size_t operator()(const FontRequest& r) const {
        std::size_t h = std::hash<std::string>{}(r.face);
        const auto mix = [&h](std::size_t v) {
            h ^= v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
        };
        mix(std::size_t(r.height));
        mix(std::size_t(r.width));
        mix(std::size_t(r.weight));
        mix(std::size_t(r.italic) | std::size_t(r.underline) << 1 | std::size_t(r.strike_out) << 2 |
            std::size_t(r.monospace) << 3);
        return h;
    }
};

// What fontconfig chose for a family, pitch, weight and slant.
struct Match {
    std::string file;
    int index = 0;
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
};

class Cache {
  public:
    const Font* find(const FontRequest& request) {
        auto it = fonts_.find(request);
        if (it != fonts_.end()) return it->second.get();
        std::unique_ptr<Font> font = make_font(request);
        const Font* result = font.get();
        fonts_.emplace(request, std::move(font));
        return result;
    }

  private:
    std::unique_ptr<Font> make_font(const FontRequest& request);
    const Match* match(const FontRequest& request);
    const FaceFile* open(const std::string& file, int index);
    void size_face(Font& font, const FontRequest& request, int request_weight);
    static void size_builtin(Font& font, const FontRequest& request, int request_weight);

    FT_Library library_ = nullptr;
    bool freetype_failed_ = false;
    bool fontconfig_ready_ = false;
    bool warned_no_face_ = false;
    std::unordered_map<FontRequest, std::unique_ptr<Font>, RequestHash> fonts_;
    std::map<std::tuple<std::string, bool, int, bool>, Match> matches_;
    std::map<std::pair<std::string, int>, FaceFile> faces_;
};

int requested_weight(const FontRequest& request) {
    return request.weight <= 0 ? 400 : std::clamp(request.weight, 1, 1000);
}

// The cell height asked for: positive is a cell height, negative a character (em) height.
int requested_height(const FontRequest& request) {
    if (request.height == 0)
        return request.monospace ? kDefaultFixedCellHeight : kDefaultCellHeight;
    if (request.height < 0) return -std::min(kMaxPixelHeight, -std::max(request.height, -INT_MAX));
    return std::min(kMaxPixelHeight, request.height);
}

const Match* Cache::match(const FontRequest& request) {
    const int weight = requested_weight(request);
    const auto key = std::make_tuple(request.face, request.monospace, weight, request.italic);
    auto it = matches_.find(key);
    if (it != matches_.end()) return it->second.file.empty() ? nullptr : &it->second;

    Match& result = matches_[key];
    if (!fontconfig_ready_) fontconfig_ready_ = FcInit() == FcTrue;
    if (!fontconfig_ready_) return nullptr;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return nullptr;
    if (!request.face.empty()) {
        FcPatternAddString(pattern, FC_FAMILY,
                           reinterpret_cast<const FcChar8*>(request.face.c_str()));
    }
    if (request.monospace) {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(kFixedFamily));
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("monospace"));
        FcPatternAddInteger(pattern, FC_SPACING, FC_MONO);
    }
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult status = FcResultNoMatch;
    FcPattern* found = FcFontMatch(nullptr, pattern, &status);
    FcPatternDestroy(pattern);
    if (!found) return nullptr;
    FcChar8* file = nullptr;
    if (FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch && file) {
        result.file = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(found, FC_INDEX, 0, &result.index);
        FcPatternGetInteger(found, FC_WEIGHT, 0, &result.weight);
        FcPatternGetInteger(found, FC_SLANT, 0, &result.slant);
    }
    FcPatternDestroy(found);
    return result.file.empty() ? nullptr : &result;
}

const FaceFile* Cache::open(const std::string& file, int index) {
    const auto key = std::make_pair(file, index);
    auto it = faces_.find(key);
    if (it != faces_.end()) return it->second.face ? &it->second : nullptr;

    FaceFile& entry = faces_[key];
    if (!library_ && !freetype_failed_) freetype_failed_ = FT_Init_FreeType(&library_) != 0;
    if (!library_) return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Face(library_, file.c_str(), index, &face) != 0) return nullptr;
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0) {
        entry.to_code = unicode_code;
    } else if (FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) == 0) {
        entry.to_code = symbol_code;
    } else {
        if (face->num_charmaps > 0) FT_Set_Charmap(face, face->charmaps[0]);
        entry.to_code = unicode_code;
    }
    entry.face = face;
    return &entry;
}

std::unique_ptr<Font> Cache::make_font(const FontRequest& request) {
    auto font = std::make_unique<Font>();
    font->decorations.underline = request.underline;
    font->decorations.strike_out = request.strike_out;
    const int weight = requested_weight(request);

    const FaceFile* file = nullptr;
    const Match* found = match(request);
    if (found) file = open(found->file, found->index);
    if (!file && (!request.face.empty() || request.monospace)) {
        FontRequest plain;  // fontconfig's default face
        plain.weight = request.weight;
        plain.italic = request.italic;
        if ((found = match(plain))) file = open(found->file, found->index);
    }
    if (file && FT_New_Size(file->face, &font->size) == 0) {
        font->face = file->face;
        font->to_code = file->to_code;
        font->embolden = weight >= 600 && found->weight < FC_WEIGHT_DEMIBOLD;
        font->oblique = request.italic && found->slant == FC_SLANT_ROMAN;
        size_face(*font, request, weight);
    } else {
        // Without any face text still measures and draws, as boxes; say so once, or a
        // system without fonts shows only empty boxes and no reason.
        if (!warned_no_face_) {
            diagnostic(
                "no font face could be loaded; text is drawn as empty boxes (install a "
                "TrueType font such as fonts-dejavu-core)");
            warned_no_face_ = true;
        }
        size_builtin(*font, request, weight);
    }
    font->decorations.fit(font->metrics);
    if (font->metrics.fixed_pitch) {
        font->fixed_advance = font->glyph('M').advance;
        font->metrics.average_char_width = font->fixed_advance;
        font->metrics.max_char_width = font->fixed_advance;
    }
    return font;
}

void Cache::size_face(Font& font, const FontRequest& request, int request_weight) {
    FT_Face face = font.face;
    FT_Activate_Size(font.size);
    Metrics& m = font.metrics;
    const int height = requested_height(request);
    const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const TT_HoriHeader* hhea =
        static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    if (os2 && os2->version == 0xFFFF) os2 = nullptr;

    if (!FT_IS_SCALABLE(face)) {
        // Bitmap strikes: the one nearest the asked cell height.
        int best = 0;
        for (int i = 1; i < face->num_fixed_sizes; ++i) {
            if (std::abs(face->available_sizes[i].height - std::abs(height)) <
                std::abs(face->available_sizes[best].height - std::abs(height))) {
                best = i;
            }
        }
        if (face->num_fixed_sizes > 0) FT_Select_Size(face, best);
        const FT_Size_Metrics& s = face->size->metrics;
        m.ascent = int((s.ascender + 63) >> 6);
        m.descent = std::max(0, int((-s.descender + 63) >> 6));
        m.height = m.ascent + m.descent;
        m.internal_leading = std::max(0, m.height - int(s.y_ppem));
        m.max_char_width = int((s.max_advance + 32) >> 6);
        m.average_char_width = std::max(1, m.max_char_width / 2);
        font.reach_above = m.ascent + 2;
        font.reach_below = m.descent + 2;
        font.reach_left = m.max_char_width + 2;
        font.reach_right = 2 * m.max_char_width + 2;
    } else {
        const int upem = std::max<int>(1, face->units_per_EM);
        double ascent_units = face->ascender;
        double descent_units = -face->descender;
        if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
            ascent_units = os2->usWinAscent;
            descent_units = os2->usWinDescent;
        }
        if (ascent_units + descent_units <= 0) {
            ascent_units = face->bbox.yMax;
            descent_units = -face->bbox.yMin;
        }
        const int em = size_cell(m, ascent_units, descent_units, upem, height);

        int x_ppem = em;
        if (request.width > 0 && os2 && os2->xAvgCharWidth > 0) {
            x_ppem = std::clamp(round_px(double(request.width) * upem / os2->xAvgCharWidth), 1,
                                kMaxPixelHeight);
        }
        FT_Set_Pixel_Sizes(face, FT_UInt(x_ppem), FT_UInt(em));
        const double sx = double(x_ppem) / upem;
        const double sy = double(em) / upem;

        if (hhea) {
            const int gap = hhea->Line_Gap - ((int(ascent_units) + int(descent_units)) -
                                              (hhea->Ascender - hhea->Descender));
            m.external_leading = std::max(0, round_px(gap * sy));
        }
        m.max_char_width = std::max(1, int((face->size->metrics.max_advance + 32) >> 6));
        m.average_char_width = os2 && os2->xAvgCharWidth > 0
                                   ? std::max(1, round_px(os2->xAvgCharWidth * sx))
                                   : std::max(1, font.glyph('x').advance);

        const int bold = font.embolden ? em / 12 + 2 : 0;
        const int slack = 2 + bold;
        font.reach_above = std::max(m.ascent, int(std::ceil(face->bbox.yMax * sy))) + slack;
        font.reach_below = std::max(m.descent, int(std::ceil(-face->bbox.yMin * sy))) + slack;
        const int lean = font.oblique ? (font.reach_above + font.reach_below) / 4 + 1 : 0;
        font.reach_left = std::max(0, int(std::ceil(-face->bbox.xMin * sx))) + slack + lean;
        font.reach_right = std::max(0, int(std::ceil(face->bbox.xMax * sx))) + slack + lean;

        Decorations& d = font.decorations;
        d.underline_offset = std::max(1, round_px(-face->underline_position * sy));
        d.underline_thickness = std::max(1, round_px(face->underline_thickness * sy));
        if (os2 && os2->yStrikeoutSize > 0) {
            d.strike_offset = round_px(os2->yStrikeoutPosition * sy);
            d.strike_thickness = std::max(1, round_px(os2->yStrikeoutSize * sy));
        } else {
            d.strike_offset = std::max(1, (m.ascent - m.internal_leading) / 3);
            d.strike_thickness = d.underline_thickness;
        }
    }
    m.fixed_pitch = FT_IS_FIXED_WIDTH(face);
    m.weight = font.embolden ? std::max(700, request_weight)
               : os2         ? int(os2->usWeightClass)
                             : request_weight;
}

void Cache::size_builtin(Font& font, const FontRequest& request, int request_weight) {
    Metrics& m = font.metrics;
    const int height = requested_height(request);
    const int em = height < 0 ? -height : std::max(1, height * 4 / 5);
    m.height = height < 0 ? std::max(1, em * 5 / 4) : height;
    m.ascent = std::max(1, m.height * 4 / 5);
    m.descent = m.height - m.ascent;
    m.internal_leading = std::max(0, m.height - em);
    m.average_char_width = std::max(2, (em + 1) / 2);
    m.max_char_width = m.average_char_width;
    m.weight = request_weight;
    m.fixed_pitch = true;
    font.reach_above = m.height;
    font.reach_below = m.height;
    font.reach_left = 1;
    font.reach_right = m.max_char_width + 1;
}

Cache& cache() {
    static Cache* instance = new Cache;  // lives as long as the process, with its fonts
    return *instance;
}

}  // namespace

const Font* find_font(const FontRequest& request) {
    return cache().find(request);
}

const Metrics& metrics(const Font& font) {
    return font.metrics;
}

}  // namespace sktch::glyphs
