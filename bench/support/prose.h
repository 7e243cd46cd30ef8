#pragma once
// Filler text for generated data files: words from a small vocabulary, some
// sentences ending in CR LF, until the text reaches `bytes`.
#include <cstddef>
#include <iterator>
#include <random>
#include <string>

namespace zorv::bench {

inline std::string Prose(std::mt19937& random, std::size_t bytes) {
  static const char* const words[] = {"the", "player", "guides", "a", "knight", "through", "graveyard",
                                      "level", "boss", "arcade", "cabinet", "released", "sequel", "score"};
  std::string text;
  while (text.size() < bytes) {
    text += words[random() % std::size(words)];
    text += (random() % 12 == 0) ? ".\r\n" : " ";
  }
  return text;
}

}  // namespace zorv::bench
