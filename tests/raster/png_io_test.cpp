// PNG files in and out.
#include "raster/png_io.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

namespace sktch::raster {
namespace {

std::filesystem::path scratch(const std::string& name) {
    const auto dir = std::filesystem::temp_directory_path() / "sktch_raster_png_test";
    std::filesystem::create_directories(dir);
    return dir / name;
}

// Writes a file with libpng directly, in a format write_png never produces.
void write_with_libpng(const std::filesystem::path& path, png_uint_32 format, int w, int h,
                       const std::vector<unsigned char>& data, const unsigned char* colormap,
                       int colors) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(w);
    image.height = png_uint_32(h);
    image.format = format;
    image.colormap_entries = png_uint_32(colors);
    ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, data.data(), 0, colormap));
}

TEST(Png, WritesAndReadsBackEveryPixel) {
    Bitmap b(37, 23);
    std::mt19937 rng(5);
    for (Pixel& p : b.pixels) p = rng() & 0xFFFFFF;
    const auto path = scratch("round_trip.png");
    ASSERT_TRUE(write_png(b, path.string()));
    Bitmap back;
    ASSERT_TRUE(read_png(path.string(), back));
    EXPECT_EQ(back.width, 37);
    EXPECT_EQ(back.height, 23);
    EXPECT_EQ(back.pixels, b.pixels);
}

TEST(Png, ReadsGreyAlphaAndPalettePictures) {
    const auto grey = scratch("grey.png");
    write_with_libpng(grey, PNG_FORMAT_GRAY, 3, 1, {0, 128, 255}, nullptr, 0);
    Bitmap b;
    ASSERT_TRUE(read_png(grey.string(), b));
    EXPECT_EQ(b.pixels, (std::vector<Pixel>{0x000000, 0x808080, 0xFFFFFF}));

    // Colour values are kept whatever the alpha.
    const auto rgba = scratch("rgba.png");
    write_with_libpng(rgba, PNG_FORMAT_RGBA, 2, 1, {10, 20, 30, 255, 200, 100, 50, 255}, nullptr,
                      0);
    ASSERT_TRUE(read_png(rgba.string(), b));
    EXPECT_EQ(b.pixels, (std::vector<Pixel>{0x0A141E, 0xC86432}));

    const auto palette = scratch("palette.png");
    const unsigned char colors[] = {255, 0, 0, 0, 0, 255, 12, 34, 56};
    write_with_libpng(palette, PNG_FORMAT_RGB_COLORMAP, 4, 1, {2, 0, 1, 2}, colors, 3);
    ASSERT_TRUE(read_png(palette.string(), b));
    EXPECT_EQ(b.pixels, (std::vector<Pixel>{0x0C2238, 0xFF0000, 0x0000FF, 0x0C2238}));
}

TEST(Png, MissingOrBrokenFilesAreRefused) {
    Bitmap b(2, 2, 0x123456);
    EXPECT_FALSE(read_png(scratch("does_not_exist.png").string(), b));
    const auto junk = scratch("junk.png");
    std::ofstream(junk) << "this is not a picture";
    EXPECT_FALSE(read_png(junk.string(), b));
    EXPECT_FALSE(write_png(b, (scratch("no_such_dir") / "x" / "y.png").string()));
    EXPECT_FALSE(write_png(Bitmap(), scratch("empty.png").string()));
}

}  // namespace
}  // namespace sktch::raster
