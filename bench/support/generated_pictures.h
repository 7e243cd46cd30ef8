#pragma once
// Pictures made from code for the benchmarks: game screens (a few colours,
// tiles, sprites), screens scaled up by whole pixels as emulators show them,
// a noisy photograph-like picture and a fractal.
#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace zorv::bench {

struct Picture {
  int width = 0;
  int height = 0;
  int bytesPerPixel = 0;
  std::vector<std::uint8_t> pixels;  // rows back to back, no filter bytes
};

// A game screen of width x height RGB pixels: a palette of 32 colours, textured
// tiles, a sky, sprites.
inline Picture GameScreen(int width, int height) {
  // A palette of 32 colours, 24 textured 16 x 16 tiles drawn from it, a map of
  // those tiles with a few plain areas, sprites over them and a score line.
  std::mt19937 random(1986);
  std::vector<std::array<std::uint8_t, 3>> colours(32);
  for (auto& c : colours) c = {static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
                               static_cast<std::uint8_t>(random())};
  std::vector<std::array<std::uint8_t, 256>> tiles(24);
  for (std::size_t t = 0; t < tiles.size(); ++t) {
    const unsigned base = random() % 28;
    for (int i = 0; i < 256; ++i) {
      // Bricks, stripes and speckles: a few colours per tile, some structure.
      const int x = i % 16, y = i / 16;
      const unsigned kind = t % 3;
      const unsigned pick = kind == 0 ? ((y % 8 == 0 || (x + (y / 8) * 8) % 16 == 0) ? 0 : 1 + (random() % 5 == 0))
                            : kind == 1 ? ((x + y) / 3) % 3
                                        : random() % 4;
      tiles[t][i] = static_cast<std::uint8_t>(base + pick);
    }
  }
  const int across = (width + 15) / 16, down = (height + 15) / 16;
  std::vector<int> map(static_cast<std::size_t>(across) * down);
  for (int ty = 0; ty < down; ++ty) {
    for (int tx = 0; tx < across; ++tx) {
      const bool sky = ty < down / 3 && random() % 5 != 0;
      map[static_cast<std::size_t>(ty) * across + tx] = sky ? -1 : static_cast<int>(random() % tiles.size());
    }
  }
  Picture out{width, height, 3, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 3)};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int tile = map[static_cast<std::size_t>(y / 16) * across + x / 16];
      const std::size_t c = tile < 0 ? 30 + (y * 2 / height) : tiles[static_cast<std::size_t>(tile)][(y % 16) * 16 + x % 16];
      std::copy_n(colours[c].data(), 3, &out.pixels[(static_cast<std::size_t>(y) * width + x) * 3]);
    }
  }
  for (int i = 0; i < 40; ++i) {
    const int sx = static_cast<int>(random() % width), sy = static_cast<int>(random() % height);
    const int size = 8 + static_cast<int>(random() % 24);
    const std::size_t c = random() % colours.size();
    for (int dy = 0; dy < size && sy + dy < height; ++dy) {
      for (int dx = 0; dx < size && sx + dx < width; ++dx) {
        if ((dx * 7 + dy * 3) % 11 < 8) {
          std::copy_n(colours[(c + (dx / 4 + dy / 4) % 3) % colours.size()].data(), 3,
                      &out.pixels[(static_cast<std::size_t>(sy + dy) * width + sx + dx) * 3]);
        }
      }
    }
  }
  return out;
}

inline Picture ScaleUp(const Picture& picture, int factor) {
  Picture out{picture.width * factor, picture.height * factor, picture.bytesPerPixel, {}};
  const std::size_t pixel = static_cast<std::size_t>(picture.bytesPerPixel);
  out.pixels.resize(static_cast<std::size_t>(out.width) * out.height * pixel);
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      std::copy_n(&picture.pixels[(static_cast<std::size_t>(y / factor) * picture.width + x / factor) * pixel], pixel,
                  &out.pixels[(static_cast<std::size_t>(y) * out.width + x) * pixel]);
    }
  }
  return out;
}

inline Picture NoisyPicture(int width, int height) {
  Picture out{width, height, 3, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 3)};
  std::mt19937 random(1987);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < 3; ++c) {
        const int smooth = (x * (c + 1) / 9 + y * (3 - c) / 7) % 200;
        out.pixels[(static_cast<std::size_t>(y) * width + x) * 3 + c] =
            static_cast<std::uint8_t>(smooth + static_cast<int>(random() % 48));
      }
    }
  }
  return out;
}

// A 1920 x 1080-style fractal: the escape time of the Mandelbrot set, smoothly
// coloured, with `bytesPerPixel` 3 (RGB) or 4 (RGBA, alpha from the depth).
inline Picture Fractal(int width, int height, int bytesPerPixel) {
  Picture out{width, height, bytesPerPixel, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * bytesPerPixel)};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double cr = -2.2 + 3.2 * x / width, ci = -1.2 + 2.4 * y / height;
      double zr = 0, zi = 0;
      int n = 0;
      for (; n < 200 && zr * zr + zi * zi < 16; ++n) {
        const double t = zr * zr - zi * zi + cr;
        zi = 2 * zr * zi + ci;
        zr = t;
      }
      std::uint8_t* p = &out.pixels[(static_cast<std::size_t>(y) * width + x) * bytesPerPixel];
      p[0] = static_cast<std::uint8_t>(n * 9);
      p[1] = static_cast<std::uint8_t>(n * n / 3);
      p[2] = static_cast<std::uint8_t>(255 - n * 5);
      if (bytesPerPixel == 4) p[3] = static_cast<std::uint8_t>(n >= 200 ? 255 : 40 + n * 4);
    }
  }
  return out;
}

}  // namespace zorv::bench
