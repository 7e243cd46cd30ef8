#pragma once
// Large pictures written with libpng at start-up (default filters and level,
// as most encoders write them): a 1920 x 1080 fractal as RGB, RGBA and palette
// (and RGB interlaced), a 480 x 270 game screen scaled up four times; and the
// 768 x 512 photographs of the test data as they are.
#include <filesystem>
#include <string>
#include <vector>

namespace zorv::bench {

struct LargeImage {
  std::string name;
  std::string path;
};

std::vector<LargeImage> WriteLargeImages(const std::filesystem::path& folder);

}  // namespace zorv::bench
