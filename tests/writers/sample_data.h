#pragma once
// Inputs for the encoder tests, made from fixed seeds so every run sees the same bytes.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace zorv::testing {

inline std::vector<std::uint8_t> RandomBytes(std::size_t size, std::uint32_t seed) {
  std::mt19937 generator(seed);
  std::vector<std::uint8_t> bytes(size);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(generator() >> 24);
  return bytes;
}

// Words drawn from a small vocabulary, as English-like text repeats itself.
inline std::vector<std::uint8_t> TextBytes(std::size_t size, std::uint32_t seed) {
  static const char* const kWords[] = {"the",    "knight", "runs",   "through", "a",      "graveyard", "of",
                                       "ghosts", "and",    "demons", "to",      "save",   "princess",  "level",
                                       "boss",   "score",  "bonus",  "armour",  "lance",  "torch",     "\r\n"};
  std::mt19937 generator(seed);
  std::string text;
  while (text.size() < size) {
    text += kWords[generator() % (sizeof kWords / sizeof kWords[0])];
    text += ' ';
  }
  text.resize(size);
  return {text.begin(), text.end()};
}

// Runs of one byte, of random lengths up to `longestRun`.
inline std::vector<std::uint8_t> RunBytes(std::size_t size, std::size_t longestRun, std::uint32_t seed) {
  std::mt19937 generator(seed);
  std::vector<std::uint8_t> bytes;
  while (bytes.size() < size) {
    const std::size_t run = 1 + generator() % longestRun;
    bytes.insert(bytes.end(), run, static_cast<std::uint8_t>(generator() % 4));
  }
  bytes.resize(size);
  return bytes;
}

inline std::vector<std::uint8_t> PeriodicBytes(std::size_t size, std::size_t period) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>((i % period) * 37 + 11);
  return bytes;
}

// Alternating stretches of noise and of zeros: blocks of both kinds in one stream.
inline std::vector<std::uint8_t> MixedBytes(std::size_t size, std::uint32_t seed) {
  std::vector<std::uint8_t> bytes = RandomBytes(size, seed);
  for (std::size_t i = 0; i < size; ++i)
    if ((i / 50000) % 2 == 1) bytes[i] = 0;
  return bytes;
}

}  // namespace zorv::testing
