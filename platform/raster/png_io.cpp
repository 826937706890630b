// PNG files through libpng's simplified interface.
#include "raster/png_io.h"

#include <png.h>

#include <cstring>
#include <vector>

namespace sktch::raster {

bool write_png(const Bitmap& bitmap, const std::string& path) {
    if (bitmap.width <= 0 || bitmap.height <= 0) return false;
    std::vector<unsigned char> rgb(std::size_t(bitmap.width) * bitmap.height * 3);
    unsigned char* out = rgb.data();
    for (int y = 0; y < bitmap.height; ++y) {
        const Pixel* row = bitmap.row(y);
        for (int x = 0; x < bitmap.width; ++x) {
            *out++ = static_cast<unsigned char>(row[x] >> 16);
            *out++ = static_cast<unsigned char>(row[x] >> 8);
            *out++ = static_cast<unsigned char>(row[x]);
        }
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(bitmap.width);
    image.height = static_cast<png_uint_32>(bitmap.height);
    image.format = PNG_FORMAT_RGB;
    const bool ok = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), bitmap.width * 3,
                                            nullptr) != 0;
    png_image_free(&image);
    return ok;
}

bool read_png(const std::string& path, Bitmap& out) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    // RGBA keeps 8-bit colour values as they are (no compositing); alpha is then dropped.
    image.format = PNG_FORMAT_RGBA;
    const std::size_t w = image.width, h = image.height;
    std::vector<unsigned char> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    out.resize(int(w), int(h), 0);
    const unsigned char* in = rgba.data();
    for (Pixel& p : out.pixels) {
        p = (Pixel(in[0]) << 16) | (Pixel(in[1]) << 8) | Pixel(in[2]);
        in += 4;
    }
    return true;
}

}  // namespace sktch::raster
