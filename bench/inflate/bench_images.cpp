#include "bench_images.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace zorv::bench {
namespace {

std::uint32_t BigEndian32(const Bytes& b, std::size_t at) {
  return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 | std::uint32_t{b[at + 2]} << 8 | b[at + 3];
}

int Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// The predictor of filter `type` for byte i of a row.
int Predict(int type, const std::uint8_t* row, const std::uint8_t* above, std::size_t i, int bpp) {
  const int a = i >= static_cast<std::size_t>(bpp) ? row[i - bpp] : 0;
  const int b = above ? above[i] : 0;
  const int c = above && i >= static_cast<std::size_t>(bpp) ? above[i - bpp] : 0;
  switch (type) {
    case 1: return a;
    case 2: return b;
    case 3: return (a + b) / 2;
    case 4: return Paeth(a, b, c);
    default: return 0;
  }
}

}  // namespace

Bytes ReadIdatStream(const std::string& pngFile) {
  std::ifstream file(pngFile, std::ios::binary);
  const Bytes bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (bytes.size() < 8) throw std::runtime_error("cannot read " + pngFile);
  Bytes idat;
  for (std::size_t at = 8; at + 12 <= bytes.size();) {
    const std::size_t length = BigEndian32(bytes, at);
    const std::string type(bytes.begin() + static_cast<std::ptrdiff_t>(at + 4),
                           bytes.begin() + static_cast<std::ptrdiff_t>(at + 8));
    if (type == "IDAT") {
      idat.insert(idat.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at + 8),
                  bytes.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
    }
    if (type == "IEND") break;
    at += 12 + length;
  }
  return idat;
}

Picture ReadPicture(const std::string& pngFile) {
  std::ifstream file(pngFile, std::ios::binary);
  const Bytes header((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  Picture picture;
  picture.width = static_cast<int>(BigEndian32(header, 16));
  picture.height = static_cast<int>(BigEndian32(header, 20));
  const int colourType = header[25];
  picture.bytesPerPixel = colourType == 0 ? 1 : colourType == 2 ? 3 : colourType == 4 ? 2 : 4;
  if (header[24] != 8 || colourType == 3 || header[28] != 0) throw std::runtime_error("unsupported " + pngFile);
  const std::size_t stride = static_cast<std::size_t>(picture.width) * picture.bytesPerPixel;
  const Bytes filtered = ZlibInflate(ReadIdatStream(pngFile), (stride + 1) * picture.height);
  picture.pixels.resize(stride * picture.height);
  for (int y = 0; y < picture.height; ++y) {
    const std::uint8_t* in = &filtered[y * (stride + 1)];
    std::uint8_t* row = &picture.pixels[y * stride];
    const std::uint8_t* above = y > 0 ? row - stride : nullptr;
    for (std::size_t i = 0; i < stride; ++i) {
      row[i] = static_cast<std::uint8_t>(in[1 + i] + Predict(in[0], row, above, i, picture.bytesPerPixel));
    }
  }
  return picture;
}

Picture Tile(const std::vector<Picture>& tiles, int width, int height) {
  const Picture& first = tiles.front();
  const int across = (width + first.width - 1) / first.width;
  const int down = (height + first.height - 1) / first.height;
  Picture out{across * first.width, down * first.height, first.bytesPerPixel, {}};
  const std::size_t tileStride = static_cast<std::size_t>(first.width) * first.bytesPerPixel;
  const std::size_t stride = tileStride * across;
  out.pixels.resize(stride * out.height);
  for (int ty = 0; ty < down; ++ty) {
    for (int tx = 0; tx < across; ++tx) {
      const Picture& tile = tiles[(ty * across + tx) % tiles.size()];
      for (int y = 0; y < first.height; ++y) {
        std::copy_n(&tile.pixels[y * tileStride], tileStride,
                    &out.pixels[(ty * first.height + y) * stride + tx * tileStride]);
      }
    }
  }
  return out;
}

Bytes FilterRows(const Picture& picture) {
  const std::size_t stride = static_cast<std::size_t>(picture.width) * picture.bytesPerPixel;
  Bytes out;
  out.reserve((stride + 1) * picture.height);
  Bytes candidate(stride), best(stride);
  for (int y = 0; y < picture.height; ++y) {
    const std::uint8_t* row = &picture.pixels[y * stride];
    const std::uint8_t* above = y > 0 ? row - stride : nullptr;
    long bestCost = -1;
    int bestType = 0;
    for (int type = 0; type <= 4; ++type) {
      long cost = 0;
      for (std::size_t i = 0; i < stride; ++i) {
        candidate[i] = static_cast<std::uint8_t>(row[i] - Predict(type, row, above, i, picture.bytesPerPixel));
        cost += std::abs(static_cast<std::int8_t>(candidate[i]));
      }
      if (bestCost < 0 || cost < bestCost) {
        bestCost = cost;
        bestType = type;
        best.swap(candidate);
      }
    }
    out.push_back(static_cast<std::uint8_t>(bestType));
    out.insert(out.end(), best.begin(), best.end());
  }
  return out;
}

Bytes ZlibCompress(const Bytes& data, int level, int strategy) {
  z_stream z{};
  deflateInit2(&z, level, Z_DEFLATED, 15, 8, strategy);
  Bytes out(deflateBound(&z, static_cast<uLong>(data.size())));
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  if (deflate(&z, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate");
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

Bytes ZlibInflate(const Bytes& zlibStream, std::size_t size) {
  Bytes out(size);
  uLongf length = static_cast<uLongf>(size);
  if (uncompress(out.data(), &length, zlibStream.data(), static_cast<uLong>(zlibStream.size())) != Z_OK) {
    throw std::runtime_error("uncompress");
  }
  out.resize(length);
  return out;
}

Bytes GenerateText(std::size_t size) {
  // Words of a made-up language with a skewed frequency, in lines and paragraphs.
  std::mt19937 random(1985);
  std::vector<std::string> words;
  const char* syllables[] = {"ka", "ro", "mi", "zu", "ten", "gal", "or", "vi", "sha", "el", "dun", "po", "rei", "qua"};
  for (int i = 0; i < 3000; ++i) {
    std::string word;
    for (int s = 1 + static_cast<int>(random() % 4); s > 0; --s) word += syllables[random() % std::size(syllables)];
    words.push_back(word);
  }
  std::geometric_distribution<int> pick(0.004);
  Bytes text;
  text.reserve(size);
  int column = 0;
  while (text.size() < size) {
    const std::string& word = words[static_cast<std::size_t>(pick(random)) % words.size()];
    text.insert(text.end(), word.begin(), word.end());
    column += static_cast<int>(word.size()) + 1;
    if (column > 72) {
      text.push_back('\n');
      if (random() % 12 == 0) text.push_back('\n');
      column = 0;
    } else {
      text.push_back(random() % 15 == 0 ? ',' : ' ');
    }
  }
  text.resize(size);
  return text;
}

}  // namespace zorv::bench
