#include "inflate/zlib_streams.h"

#include <zlib.h>

#include <array>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace zorv::png::testing {

Bytes ZlibCompress(const Bytes& data, int level, int strategy, int windowBits, int memLevel) {
  z_stream z{};
  if (deflateInit2(&z, level, Z_DEFLATED, windowBits, memLevel, strategy) != Z_OK) {
    throw std::runtime_error("deflateInit2");
  }
  Bytes out(deflateBound(&z, static_cast<uLong>(data.size())) + 16);
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  const int status = deflate(&z, Z_FINISH);
  deflateEnd(&z);
  if (status != Z_STREAM_END) throw std::runtime_error("deflate");
  out.resize(z.total_out);
  return out;
}

std::optional<Bytes> ZlibInflate(const Bytes& stream) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) throw std::runtime_error("inflateInit");
  Bytes out;
  std::array<std::uint8_t, 65536> chunk{};
  z.next_in = const_cast<Bytef*>(stream.data());
  z.avail_in = static_cast<uInt>(stream.size());
  int status = Z_OK;
  while (status == Z_OK) {
    z.next_out = chunk.data();
    z.avail_out = static_cast<uInt>(chunk.size());
    status = inflate(&z, Z_NO_FLUSH);
    out.insert(out.end(), chunk.data(), chunk.data() + (chunk.size() - z.avail_out));
    if (status == Z_BUF_ERROR && z.avail_in == 0) break;
  }
  inflateEnd(&z);
  if (status != Z_STREAM_END) return std::nullopt;
  return out;
}

Bytes ReadIdatStream(const std::filesystem::path& pngFile) {
  std::ifstream file(pngFile, std::ios::binary);
  const Bytes bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  Bytes idat;
  std::size_t at = 8;
  while (at + 8 <= bytes.size()) {
    const std::size_t length = std::size_t{bytes[at]} << 24 | std::size_t{bytes[at + 1]} << 16 |
                               std::size_t{bytes[at + 2]} << 8 | bytes[at + 3];
    const std::string type(bytes.begin() + static_cast<std::ptrdiff_t>(at) + 4,
                           bytes.begin() + static_cast<std::ptrdiff_t>(at) + 8);
    if (at + 12 + length > bytes.size()) break;
    if (type == "IDAT") idat.insert(idat.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at + 8),
                                    bytes.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
    if (type == "IEND") break;
    at += 12 + length;
  }
  return idat;
}

Bytes SampleText(std::mt19937& random, std::size_t size) {
  static const char* const kWords[] = {
      "the",    "game",  "arcade", "cabinet", "player", "score",    "stage",  "boss",   "credit", "insert",
      "coin",   "joystick", "button", "sprite", "board", "romset", "driver", "sound",  "year",   "maker",
      "Ghosts", "Goblins", "knight", "armour", "lance", "graveyard", "demon", "castle", "princess", "1985"};
  Bytes text;
  text.reserve(size);
  while (text.size() < size) {
    const std::string word = kWords[random() % std::size(kWords)];
    text.insert(text.end(), word.begin(), word.end());
    const unsigned pick = random() % 16;
    text.push_back(pick == 0 ? '\n' : pick == 1 ? ',' : ' ');
  }
  text.resize(size);
  return text;
}

Bytes SampleBinary(std::mt19937& random, std::size_t size) {
  // Records of small counters and flags, as in a table of numbers.
  Bytes data(size);
  std::uint32_t counter = random();
  for (std::size_t i = 0; i < size; i += 8) {
    counter += random() % 64;
    for (std::size_t k = 0; k < 8 && i + k < size; ++k) {
      data[i + k] = k < 4 ? static_cast<std::uint8_t>(counter >> (8 * k)) : static_cast<std::uint8_t>(random() % 3);
    }
  }
  return data;
}

Bytes SampleNoise(std::mt19937& random, std::size_t size) {
  Bytes data(size);
  for (auto& b : data) b = static_cast<std::uint8_t>(random());
  return data;
}

Bytes SampleRuns(std::mt19937& random, std::size_t size) {
  Bytes data;
  data.reserve(size);
  while (data.size() < size) {
    const std::size_t run = 1 + random() % 700;
    data.insert(data.end(), run, static_cast<std::uint8_t>(random() % 4));
  }
  data.resize(size);
  return data;
}

}  // namespace zorv::png::testing
