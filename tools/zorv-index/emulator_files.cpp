#include "emulator_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string_view>

#include "emulator_ini.h"
#include "platform/file_system.h"
#include "platform/run_time_error.h"

namespace zorv::index {
namespace fs = std::filesystem;
namespace {

// The emulator's own defaults for what a set-up reads, when its files do not say.
constexpr const char* kDefaultIniPath = ".;ini;ini/presets";
constexpr const char* kDefaultRomPath = "roms";
constexpr const char* kDefaultSnapshots = "snap";
constexpr const char* kDefaultHistoryPath = "history;dats;.";
constexpr const char* kDefaultCategoryPath = "folders";

struct PictureOption {
  const char* name;
  const char* fallback;
};
// By the viewer's category: 1 title screens ... 6 flyers.
constexpr std::array<PictureOption, 7> kPictureOptions = {{
    {"", ""},
    {"titles_directory", "titles"},
    {"snapshot_directory", kDefaultSnapshots},
    {"marquees_directory", "marquees"},
    {"cabinets_directory", "cabinets;cabdevs"},
    {"cpanels_directory", "cpanel"},
    {"flyers_directory", "flyers"},
}};

// Settings files are small, regular files; anything else (a FIFO included) is
// refused rather than waited for.
std::string ReadSettings(const fs::path& path, std::string_view whatToDo) {
  const auto refuse = [&](ErrorCode code, const std::string& what) {
    throw RunTimeError(code, path.string() + ": " + what + "; " + std::string(whatToDo));
  };
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (descriptor < 0) {
    refuse(errno == ENOENT ? ErrorCode::FileNotFound : ErrorCode::PathFileAccess,
           errno == ENOENT ? "no such file" : "cannot be read (" + std::string(std::strerror(errno)) + ")");
  }
  std::string text;
  struct stat status {};
  const bool regular = ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
  int failure = 0;
  for (char buffer[65536]; regular;) {
    const ssize_t got = ::read(descriptor, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) failure = errno;
    if (got <= 0) break;
    text.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(descriptor);
  if (!regular) refuse(ErrorCode::PathFileAccess, S_ISDIR(status.st_mode) ? "is a folder, not a settings file" : "is not a file");
  if (failure != 0) refuse(ErrorCode::PathFileAccess, "cannot be read (" + std::string(std::strerror(failure)) + ")");
  return text;
}

std::string Option(const EmulatorOptions& options, const std::string& name, const char* fallback) {
  const auto found = options.find(name);
  return found != options.end() ? found->second : fallback;
}

std::string Listed(const std::vector<fs::path>& folders) {
  std::string text;
  for (const fs::path& folder : folders) text += (text.empty() ? "" : ", ") + folder.string();
  return text.empty() ? "no folder" : text;
}

bool IsFolder(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

// The first of `names` in the first folder that holds one of them, as it is
// spelled on disk (names are found without regard to case).
std::string FindFile(const std::vector<fs::path>& folders, std::initializer_list<std::string_view> names,
                     std::string_view subject, std::vector<std::string>& notFound) {
  for (const fs::path& folder : folders) {
    for (const std::string_view name : names) {
      const std::string candidate = (folder / name).string();
      if (FileExists(candidate)) return ResolvePath(candidate).string();
    }
  }
  std::string wanted;
  std::size_t i = 0;
  for (const std::string_view name : names) {
    wanted += std::string(i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + std::string(name);
    ++i;
  }
  notFound.push_back(std::string(subject) + ": " + wanted + " in " + Listed(folders));
  return {};
}

// The first folder whose pictures the viewer finds, else the first that is
// there at all.
PictureChoice ChoosePictures(const std::vector<fs::path>& folders, std::string_view kind,
                             std::vector<std::string>& notFound) {
  std::optional<PictureChoice> firstThere;
  for (const fs::path& folder : folders) {
    PictureChoice choice{folder.string(), PicturePlacesOf(folder.string())};
    if (choice.places.empty()) continue;
    for (const PicturePlace& place : choice.places) {
      if (place.Pictures > 0) return choice;
    }
    if (!firstThere) firstThere = std::move(choice);
  }
  if (firstThere) return *firstThere;
  notFound.push_back(std::string(kind) + ": a folder, .zip or .7z at " + Listed(folders));
  return {};
}

}  // namespace

std::string DefaultMameIni() {
  const char* home = std::getenv("HOME");
  const std::vector<std::string> candidates = {std::string(home != nullptr ? home : "") + "/.mame/mame.ini",
                                               "/etc/mame/mame.ini"};
  for (const std::string& candidate : candidates) {
    std::error_code error;
    if (fs::exists(candidate, error)) return candidate;
  }
  throw RunTimeError(ErrorCode::FileNotFound,
                     "no mame.ini at " + candidates[0] + " or " + candidates[1] +
                         "; install the emulator (apt install mame), or give its settings: --mame-ini FILE, or give "
                         "its game list: --listxml FILE");
}

EmulatorFiles FindEmulatorFiles(const std::string& mameIni) {
  EmulatorFiles found;
  found.mameIni = mameIni;
  const EmulatorOptions core = ParseEmulatorIni(
      ReadSettings(mameIni, "give the emulator's settings file, e.g. --mame-ini /etc/mame/mame.ini"));

  const std::vector<fs::path> iniFolders = SearchPathFolders(Option(core, "inipath", kDefaultIniPath));
  EmulatorOptions ui;
  for (const fs::path& folder : iniFolders) {
    const fs::path candidate = folder / "ui.ini";
    std::error_code error;
    if (!fs::exists(candidate, error)) continue;
    ui = ParseEmulatorIni(ReadSettings(candidate, "make it readable, or move it away for the emulator's defaults"));
    found.uiIni = candidate.string();
    break;
  }
  if (found.uiIni.empty()) found.notFound.push_back("ui.ini: in " + Listed(iniFolders) + " (the emulator's defaults apply)");

  for (const fs::path& folder : SearchPathFolders(Option(core, "rompath", kDefaultRomPath))) {
    if (IsFolder(folder)) {
      found.romFolders.push_back(folder.string());
    } else {
      found.notFound.push_back("ROM folder: " + folder.string());
    }
  }

  // The data files lie in the history folders or the category folders; each
  // is looked for first where the emulator keeps its kind.
  std::vector<fs::path> historyFolders = SearchPathFolders(Option(ui, "historypath", kDefaultHistoryPath));
  std::vector<fs::path> categoryFolders = SearchPathFolders(Option(ui, "categorypath", kDefaultCategoryPath));
  std::vector<fs::path> historyFirst = historyFolders;
  historyFirst.insert(historyFirst.end(), categoryFolders.begin(), categoryFolders.end());
  std::vector<fs::path> categoryFirst = categoryFolders;
  categoryFirst.insert(categoryFirst.end(), historyFolders.begin(), historyFolders.end());
  found.history = FindFile(historyFirst, {"history.xml", "history.dat", "history.zip", "history.7z"}, "history",
                           found.notFound);
  found.mameinfo = FindFile(historyFirst, {"mameinfo.dat", "mameinfo.zip", "mameinfo.7z"}, "mameinfo", found.notFound);
  found.catver = FindFile(categoryFirst, {"catver.ini", "catver.zip", "catver.7z"}, "categories", found.notFound);
  found.nplayers = FindFile(categoryFirst, {"nplayers.ini", "nplayers.zip", "nplayers.7z"}, "players", found.notFound);

  for (std::size_t kind = 1; kind < kPictureOptions.size(); ++kind) {
    const PictureOption& option = kPictureOptions[kind];
    // The snapshots are the emulator's own setting; the other pictures its interface's.
    const EmulatorOptions& source = kind == 2 ? core : ui;
    found.pictures[kind] =
        ChoosePictures(SearchPathFolders(Option(source, option.name, option.fallback)), kPictureKinds[kind], found.notFound);
  }
  return found;
}

}  // namespace zorv::index
