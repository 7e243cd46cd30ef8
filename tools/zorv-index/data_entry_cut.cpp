#include "data_entry_cut.h"

#include <algorithm>

namespace zorv::index {
namespace {

// The marker and the CR LF after it are dropped without looking at what the two
// bytes are; a stretch shorter than that leaves nothing.
std::string_view After(std::string_view text, std::size_t markerAt, std::size_t skipped) {
  return text.substr(std::min(text.size(), markerAt + skipped));
}

std::optional<std::string> CutBefore(std::string_view text, std::size_t endAt) {
  if (endAt == std::string_view::npos) return std::string(text);
  if (endAt < 2) return std::nullopt;
  return std::string(text.substr(0, endAt - 2));
}

}  // namespace

std::optional<std::string> CutHistoryText(std::string_view stretch) {
  std::string_view text = stretch;
  if (const auto bio = text.find("$bio"); bio != std::string_view::npos) text = After(text, bio, 6);
  return CutBefore(text, text.find("$end"));
}

std::optional<std::string> CutMameinfoText(std::string_view stretch) {
  std::string text(stretch);
  if (const auto mame = text.find("$mame"); mame != std::string::npos) {
    text = "MAME v" + std::string(After(text, mame, 7));
  }
  return CutBefore(text, text.rfind("$end"));
}

}  // namespace zorv::index
