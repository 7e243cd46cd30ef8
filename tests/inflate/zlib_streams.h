#pragma once
// Streams made by the reference compressor, and the image data streams of PNG
// files, for cross-checks of the inflater (test code only).
#include <cstdint>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace zorv::png::testing {

using Bytes = std::vector<std::uint8_t>;

// A zlib stream (with its two header bytes and the Adler-32 after the data).
Bytes ZlibCompress(const Bytes& data, int level, int strategy, int windowBits = 15, int memLevel = 8);
// The whole content of a zlib stream, or nothing when it is not valid and complete.
std::optional<Bytes> ZlibInflate(const Bytes& stream);

// The IDAT chunks of a PNG file, back to back (the file's zlib stream).
Bytes ReadIdatStream(const std::filesystem::path& pngFile);

// Sample contents of different kinds, `size` bytes each.
Bytes SampleText(std::mt19937& random, std::size_t size);
Bytes SampleBinary(std::mt19937& random, std::size_t size);
Bytes SampleNoise(std::mt19937& random, std::size_t size);
Bytes SampleRuns(std::mt19937& random, std::size_t size);

}  // namespace zorv::png::testing
