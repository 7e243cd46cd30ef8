#include "startup/configuration.h"

#include <array>
#include <charconv>
#include <utility>

#include "platform/file_system.h"
#include "platform/run_time_error.h"
#include "startup/basic_text.h"
#include "startup/error_log.h"
#include "startup/key_line.h"
#include "startup/leading_number.h"

namespace zorv {
namespace {

constexpr std::array<std::pair<std::string_view, Colour>, 8> kColours = {{
    {"Black", 0x000000},
    {"Red", 0x0000FF},
    {"Green", 0x00FF00},
    {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},
    {"Cyan", 0xFFFF00},
    {"Magenta", 0xFF00FF},
    {"White", 0xFFFFFF},
}};

// `key` is upper-cased.
int PictureIndexOf(std::string_view key) {
  for (int i = 1; i <= 6; ++i) {
    if (key == UpperCase(kPictureKeys[static_cast<std::size_t>(i)])) return i;
  }
  return 0;
}

// A path key that may name a folder: a final "\" gets the file name appended.
std::string FileOrFolder(std::string_view value, std::string_view fileName) {
  std::string path(value);
  if (!path.empty() && path.back() == '\\') path += fileName;
  return path;
}

void SetDefaults(SharedState& state) {
  state.MameinfoPath = state.ProgramFolder + "\\datafiles\\mameinfo.dat";
  state.HistoryPath = state.ProgramFolder + "\\datafiles\\history.dat";
  state.IndexPath = state.ProgramFolder + "\\datafiles\\index.";
  state.ImagePath[1] = "c:\\mame\\titles\\";
  state.ImagePath[2] = "c:\\mame\\snap\\";
  state.ImagePath[3] = "c:\\mame\\marquees\\";
  state.ImagePath[4] = "c:\\mame\\cabinets\\";
  state.ImagePath[5] = "c:\\mame\\cpanel\\";
  state.ImagePath[6] = "c:\\mame\\flyers\\";
  state.SavePath.clear();
}

// Nine recognised lines end the reading, repeated keys counting each time.
void ReadSiblingConfig(SharedState& state, const std::string& path) {
  TextFileReader file(path);
  int recognised = 0;
  std::string line;
  while (recognised < 9 && file.ReadLine(line)) {
    const auto keyLine = SplitKeyLine(line);
    if (!keyLine) continue;
    const auto& [key, value] = *keyLine;
    if (key == "DATAFILE2") {
      state.HistoryPath = std::string(value);
    } else if (key == "DATAFILE3") {
      state.MameinfoPath = std::string(value);
    } else if (const int picture = PictureIndexOf(key); picture != 0) {
      state.ImagePath[static_cast<std::size_t>(picture)] = std::string(value);
    } else if (key == "LANGUAGE") {
      state.Language = RoundToLong(LeadingNumber(value));
    } else {
      continue;
    }
    ++recognised;
  }
}

// Written with "." whatever the process's locale, so that the file reads back
// as it was written.
std::string WholeText(double value) {
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr;
  return std::string(buffer, end);
}

}  // namespace

void LoadSiblingConfig(SharedState& state) {
  try {
    SetDefaults(state);
    const std::string path = state.ProgramFolder + "\\quorbis.inf";
    if (FileExists(path)) ReadSiblingConfig(state, path);
  } catch (const std::exception& failure) {
    LogError(state, 'A', ErrorNumberOf(failure));
  }
}

void LoadConfig(SharedState& state) {
  const std::string path = state.ProgramFolder + "\\zorv.inf";
  if (!FileExists(path)) return;
  TextFileReader file(path);
  for (std::string line; file.ReadLine(line);) {
    const auto keyLine = SplitKeyLine(line);
    if (!keyLine) continue;
    const auto& [key, value] = *keyLine;
    if (key == "HISTORYPATH") {
      state.HistoryPath = FileOrFolder(value, "history.dat");
    } else if (key == "MAMEINFOPATH") {
      state.MameinfoPath = FileOrFolder(value, "mameinfo.dat");
    } else if (key == "INDEXPATH") {
      state.IndexPath = FileOrFolder(value, "index.");
    } else if (const int picture = PictureIndexOf(key); picture != 0) {
      state.ImagePath[static_cast<std::size_t>(picture)] = AddTrailingBackslash(value);
    } else if (key == "SAVEPATH") {
      state.SavePath = AddTrailingBackslash(value);
    } else if (key == "LANGUAGE") {
      state.Language = RoundToLong(LeadingNumber(value));
      if (UpperCase(TrimBlanks(value)) == "ENGLISH") state.Language = 1;
    }
  }
}

std::string ConfigText(const SharedState& state, const ScreenMetrics& screen) {
  std::string text;
  const auto line = [&text](std::string_view key, std::string_view value) {
    text.append(key).append("=").append(value).append("\r\n");
  };
  line("IndexPath", state.IndexPath);
  line("HistoryPath", state.HistoryPath);
  line("MameinfoPath", state.MameinfoPath);
  for (std::size_t i = 1; i < kPictureKeys.size(); ++i) line(kPictureKeys[i], FolderOf(state.ImagePath[i]));
  if (!state.SavePath.empty()) line("SavePath", state.SavePath);
  line("Language", std::to_string(state.Language));
  line("Width", WholeText(screen.WidthPixels()));
  line("Height", WholeText(screen.HeightPixels()));
  line("Font", state.FontName);
  line("Size", WholeText(state.FontSize / 2.0));  // 21 half-points is 10.5, 20 is 10
  line("Color", ColorName(state.ForeColor));
  line("BackColor", ColorName(state.BackColor));
  return text;
}

void SaveConfig(const SharedState& state, const ScreenMetrics& screen) {
  WriteWholeFile(state.ProgramFolder + "\\Zorv.inf", ConfigText(state, screen));
}

std::string AddTrailingBackslash(std::string_view text) {
  std::string out(text);
  if (out.empty() || out.back() != '\\') out += '\\';
  return out;
}

std::string FolderOf(std::string_view path) {
  const auto last = path.rfind('\\');
  return std::string(last == std::string_view::npos ? path : path.substr(0, last + 1));
}

std::string ColorName(Colour value) {
  for (const auto& [name, colour] : kColours) {
    if (colour == value) return std::string(name);
  }
  return {};
}

Colour ColorFromName(std::string_view name) {
  const std::string upper = UpperCase(TrimBlanks(name));
  for (const auto& [colourName, colour] : kColours) {
    if (UpperCase(colourName) == upper) return colour;
  }
  return 0x000000;
}

}  // namespace zorv
