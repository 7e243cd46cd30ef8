#include "export_names.h"

#include "platform/ascii_case.h"
#include "platform/cp1252.h"

namespace zorv {
namespace {

constexpr std::size_t kLongestName = 255;

bool CanBeFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

// The name as UTF-8, a control character (which would trouble any list of
// names, and the index's data) as "_".
std::string FileNameText(std::string_view cp1252) {
  std::string name = Cp1252ToUtf8(cp1252);
  for (char& c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '_';
  }
  return name;
}

// At most `bytes` bytes of UTF-8 text, never half a character.
std::string_view Shortened(std::string_view text, std::size_t bytes) {
  if (text.size() <= bytes) return text;
  std::size_t end = bytes;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

// The name with the number before its extension, shortened to fit.
std::string Numbered(std::string_view base, std::string_view extension, int number) {
  const std::string suffix = number > 1 ? "~" + std::to_string(number) : "";
  const std::size_t room = kLongestName - extension.size() - suffix.size();
  return std::string(Shortened(base, room)) + suffix + std::string(extension);
}

}  // namespace

std::vector<std::string> PageFileNames(const std::vector<std::string>& romNames, std::string_view extension,
                                       std::span<const std::string_view> reserved) {
  std::unordered_set<std::string> taken;
  for (const std::string_view name : reserved) taken.insert(LowerCase(std::string(name) + std::string(extension)));
  std::vector<std::string> names(romNames.size());
  std::vector<std::size_t> later;
  // Every name that can stay as it is first, so that a numbered one never takes
  // the name of a game further down the index.
  for (std::size_t i = 0; i < romNames.size(); ++i) {
    const std::string base = FileNameText(romNames[i]);
    if (!CanBeFileName(base)) continue;
    const std::string name = base + std::string(extension);
    if (name.size() <= kLongestName && taken.insert(LowerCase(name)).second) {
      names[i] = name;
    } else {
      later.push_back(i);
    }
  }
  for (const std::size_t i : later) {
    const std::string base = FileNameText(romNames[i]);
    for (int number = 2; names[i].empty(); ++number) {
      std::string name = Numbered(base, extension, number);
      if (taken.insert(LowerCase(name)).second) names[i] = std::move(name);
    }
  }
  return names;
}

std::string UniqueNames::Take(const std::string& wanted) {
  const std::size_t dot = wanted.find_last_of('.');
  const std::string_view base = std::string_view(wanted).substr(0, dot);
  const std::string_view extension = dot == std::string::npos ? "" : std::string_view(wanted).substr(dot);
  for (int number = 1;; ++number) {
    std::string name = number == 1 && wanted.size() <= kLongestName ? wanted : Numbered(base, extension, number);
    if (taken_.insert(LowerCase(name)).second) return name;
  }
}

}  // namespace zorv
