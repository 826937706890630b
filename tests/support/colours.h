// The library's colours as windows and bitmaps show them, 0x00RRGGBB.
#pragma once

#include <cstdint>

namespace sktch::test_support {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kYellow = 0xFFFF00;
constexpr std::uint32_t kIceBlue = 0x99FFFF;
constexpr std::uint32_t kBrown = 0x996633;
constexpr std::uint32_t kForestGreen = 0x006633;
constexpr std::uint32_t kOlive = 0x999933;
constexpr std::uint32_t kGray50 = 0x808080;
constexpr std::uint32_t kGray20 = 0xCCCCCC;

}  // namespace sktch::test_support
