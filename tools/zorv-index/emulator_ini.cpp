#include "emulator_ini.h"

#include <cstdlib>

namespace zorv::index {
namespace fs = std::filesystem;
namespace {

// The C locale's white space, as the emulator tests it.
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

bool IsNameCharacter(char c) {
  return c == '_' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string VariableValue(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value != nullptr ? value : "";
}

void ReadOption(std::string_view line, EmulatorOptions& options) {
  const std::size_t start = line.find_first_not_of(" \t\n\v\f\r");
  if (start == std::string_view::npos || line[start] == '#') return;
  line.remove_prefix(start);
  std::size_t nameEnd = 0;
  while (nameEnd < line.size() && !IsSpace(line[nameEnd])) ++nameEnd;
  if (nameEnd == line.size()) return;  // a name without a value
  std::string_view value = line.substr(nameEnd + 1);
  bool quoted = false;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '"') quoted = !quoted;
    if (value[i] == '#' && !quoted) {
      value = value.substr(0, i);
      break;
    }
  }
  value = TrimSpaces(value);
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
  options[std::string(line.substr(0, nameEnd))] = std::string(value);
}

}  // namespace

EmulatorOptions ParseEmulatorIni(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  EmulatorOptions options;
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    ReadOption(text.substr(0, end), options);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + (text.substr(end).starts_with("\r\n") ? 2 : 1));
  }
  return options;
}

std::string SubstituteEnvironment(std::string_view value) {
  std::string result;
  if (value.starts_with('~') && (value.size() == 1 || value[1] == '/')) {
    result = VariableValue("HOME");
    value.remove_prefix(1);
  }
  while (!value.empty()) {
    const std::size_t dollar = value.find('$');
    result.append(value.substr(0, dollar));
    if (dollar == std::string_view::npos) break;
    value.remove_prefix(dollar + 1);
    if (value.starts_with('{')) {
      const std::size_t close = value.find('}');
      if (close == std::string_view::npos) {  // no end: kept as written
        result.append("${").append(value.substr(1));
        break;
      }
      result += VariableValue(std::string(value.substr(1, close - 1)));
      value.remove_prefix(close + 1);
    } else if (!value.empty() && IsNameCharacter(value.front())) {
      std::size_t nameEnd = 1;
      while (nameEnd < value.size() && IsNameCharacter(value[nameEnd])) ++nameEnd;
      result += VariableValue(std::string(value.substr(0, nameEnd)));
      value.remove_prefix(nameEnd);
    } else {
      result += '$';
    }
  }
  return result;
}

std::vector<fs::path> SearchPathFolders(std::string_view value) {
  std::vector<fs::path> folders;
  const std::string substituted = SubstituteEnvironment(value);
  std::string_view rest = substituted;
  while (true) {
    const std::size_t semicolon = rest.find(';');
    if (const std::string_view entry = rest.substr(0, semicolon); !entry.empty()) {
      std::error_code error;
      const fs::path absolute = fs::absolute(fs::path(entry), error);
      fs::path folder = (error ? fs::path(entry) : absolute).lexically_normal();
      if (folder.filename().empty() && folder != folder.root_path()) folder = folder.parent_path();  // "x/." is "x"
      folders.push_back(folder);
    }
    if (semicolon == std::string_view::npos) break;
    rest.remove_prefix(semicolon + 1);
  }
  return folders;
}

}  // namespace zorv::index
