#include "ini_reader.h"

#include <algorithm>

#include "line_splitter.h"
#include "platform/ascii_case.h"
#include "platform/cp1252.h"
#include "platform/file_system.h"
#include "startup/basic_text.h"

namespace zorv::index {

std::vector<IniSection> ParseIniSections(std::string_view bytes, const std::vector<std::string>& wantedSections) {
  std::vector<IniSection> sections(wantedSections.size());
  IniSection* current = nullptr;
  LineSplitter splitter([&](const SplitLine& line) {
    std::string_view text = TrimBlanksAndTabs(line.text);
    if (line.number == 1 && text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    if (text.empty() || text.front() == ';') return;
    if (text.front() == '[' && text.back() == ']') {
      const std::string_view name = text.substr(1, text.size() - 2);
      const auto wanted = std::find_if(wantedSections.begin(), wantedSections.end(),
                                       [&](const std::string& w) { return EqualIgnoringCase(w, name); });
      current = wanted == wantedSections.end() ? nullptr : &sections[wanted - wantedSections.begin()];
      return;
    }
    const std::size_t equals = text.find('=');
    if (!current || equals == std::string_view::npos) return;
    const std::string_view name = TrimBlanksAndTabs(text.substr(0, equals));
    if (!name.empty()) {
      current->try_emplace(std::string(name), Utf8ToCp1252(TrimBlanksAndTabs(text.substr(equals + 1))));
    }
  });
  splitter.Feed(bytes);
  splitter.Finish();
  return sections;
}

std::vector<IniSection> ReadIniSections(std::string_view windowsPath, const std::vector<std::string>& wantedSections) {
  return ParseIniSections(ReadWholeFile(windowsPath), wantedSections);
}

}  // namespace zorv::index
