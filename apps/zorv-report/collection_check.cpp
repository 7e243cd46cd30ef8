#include "collection_check.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cp1252.h"
#include "platform/file_system.h"
#include "platform/run_time_error.h"
#include "startup/basic_text.h"
#include "startup/collection_files.h"
#include "startup/configuration.h"
#include "startup/data_entries.h"
#include "startup/error_log.h"
#include "startup/key_line.h"
#include "startup/picture_census.h"
#include "startup/startup.h"

namespace zorv {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kMakeIndex = "zorv-index --mame-ini";

// One line per thing looked at: "ok", "-" (nothing there, and nothing wrong
// with that) or "wrong", then what it is and what was found.
class CheckLines {
 public:
  explicit CheckLines(std::ostream& out) : out_(out) {}

  void Ok(std::string_view subject, const std::string& text) { Line("ok", subject, text); }
  void Nothing(std::string_view subject, const std::string& text) { Line("-", subject, text); }
  void Wrong(std::string_view subject, const std::string& text) {
    Line("wrong", subject, text);
    anyWrong_ = true;
  }
  bool AnyWrong() const { return anyWrong_; }

 private:
  void Line(std::string_view status, std::string_view subject, const std::string& text) {
    std::string line(status);
    line.resize(7, ' ');
    line.append(subject);
    line.resize(std::max<std::size_t>(line.size() + 1, 23), ' ');
    line += IsValidUtf8(text) ? text : Cp1252ToUtf8(text);
    out_ << line << '\n';
  }

  std::ostream& out_;
  bool anyWrong_ = false;
};

// Where a Windows path of the configuration lands here.
std::string Shown(std::string_view windowsPath) {
  std::error_code ignored;
  return fs::absolute(ResolvePath(windowsPath), ignored).lexically_normal().string();
}

// Where a file was looked for, each place once: "a, b or c".
std::string Places(const std::vector<std::string>& windowsPaths) {
  std::vector<std::string> shown;
  for (const std::string& path : windowsPaths) {
    if (std::find(shown.begin(), shown.end(), Shown(path)) == shown.end()) shown.push_back(Shown(path));
  }
  std::string text;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    text += (i == 0 ? "" : i + 1 == shown.size() ? " or " : ", ") + shown[i];
  }
  return text;
}

std::string Plural(std::size_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// The meaning of a failure's number, as a log line would be explained.
std::string Described(const std::exception& failure) {
  const int number = ErrorNumberOf(failure);
  const std::string_view meaning = ErrorDescription(number);
  return "error " + std::to_string(number) + (meaning.empty() ? "" : " (" + std::string(meaning) + ")");
}

// A file's bytes, or nothing when it does not exist or cannot be read.
std::optional<std::string> ReadIfThere(const std::string& windowsPath) {
  if (!FileExists(windowsPath)) return std::nullopt;
  try {
    return ReadWholeFile(windowsPath);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::size_t LoneLineFeeds(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1)) {
    if (at == 0 || text[at - 1] != '\r') ++count;
  }
  return count;
}

// The key lines of a configuration file (keys as read: upper case), and its
// other lines that hold anything.
struct ConfigurationLines {
  std::vector<std::string> Keys;
  std::vector<std::string> Words;
};

ConfigurationLines ReadConfigurationLines(std::string_view text) {
  ConfigurationLines lines;
  for (const std::string_view line : SplitTextLines(text)) {
    if (const auto keyLine = SplitKeyLine(line)) {
      lines.Keys.push_back(keyLine->Key);
    } else if (const std::string word = UpperCase(TrimBlanks(line)); !word.empty()) {
      lines.Words.push_back(word);
    }
  }
  return lines;
}

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

class CollectionCheck {
 public:
  CollectionCheck(const CollectionFolder& folder, std::ostream& out) : folder_(folder), lines_(out) {}

  int Run() {
    if (!CheckFolder()) return 1;
    LoadConfiguration();
    CheckConfigurationFile("Zorv.inf", folder_.Path + "\\zorv.inf", zorvInf_);
    CheckConfigurationFile("quorbis.inf", folder_.Path + "\\quorbis.inf", quorbisInf_);
    ReadCollection();
    CheckIndex();
    if (files_ && !files_->IndexFile().empty()) {
      CheckDataFile("history", configured_.HistoryPath, "history.dat", HistoryReference);
      CheckDataFile("mameinfo", configured_.MameinfoPath, "mameinfo.dat", MameinfoReference);
    }
    for (std::size_t i = 1; i < kPictureKinds.size(); ++i) CheckPictures(i);
    CheckLineEnds();
    CheckSavePath();
    CheckLog();
    return lines_.AnyWrong() ? 1 : 0;
  }

 private:
  bool CheckFolder() {
    std::error_code error;
    const fs::file_status status = fs::status(folder_.Path, error);
    if (fs::is_directory(status)) {
      lines_.Ok("folder", folder_.Path + " (" + folder_.Reason + ")");
      return true;
    }
    if (fs::exists(status)) {
      lines_.Wrong("folder", folder_.Path + " (" + folder_.Reason + ") is not a folder; set ZORV_HOME to a folder");
      return false;
    }
    lines_.Wrong("folder", folder_.Path + " (" + folder_.Reason + ") does not exist yet; " + std::string(kMakeIndex) +
                               " makes it, with a collection");
    return false;
  }

  // As a run loads it, with what a run would log held back.
  void LoadConfiguration() {
    configured_.ProgramFolder = folder_.Path;
    configured_.HeldLog.emplace();
    try {
      zorv::LoadConfiguration(configured_);
    } catch (const std::exception& failure) {
      LogError(configured_, 'B', ErrorNumberOf(failure));
    }
    for (const std::string_view line : SplitTextLines(*configured_.HeldLog)) {
      if (!line.empty()) lines_.Wrong("configuration", "a run logs \"" + std::string(line) + "\" reading it");
    }
    configured_.HeldLog.reset();
  }

  void CheckConfigurationFile(std::string_view name, const std::string& path, std::optional<std::string>& text) {
    text = ReadIfThere(path);
    if (!text) {
      lines_.Nothing(name, FileExists(path) ? Shown(path) + " cannot be read" : "none: the built-in settings apply");
      return;
    }
    const ConfigurationLines read = ReadConfigurationLines(*text);
    std::string found = read.Keys.empty() ? "no keys" : "keys " + Joined(read.Keys);
    if (!read.Words.empty()) found += "; other lines " + Joined(read.Words);
    lines_.Ok(name, Shown(path) + ": " + found);
    for (const std::string& key : read.Keys) configuredKeys_.push_back(key);
  }

  void ReadCollection() {
    try {
      files_.emplace(configured_);
    } catch (const std::exception& failure) {
      lines_.Wrong("index", "the index or a data file cannot be read: " + Described(failure));
    }
  }

  void CheckIndex() {
    if (!files_) return;
    if (files_->IndexFile().empty()) {
      lines_.Wrong("index", "none at " +
                                Places({configured_.IndexPath, folder_.Path + "\\datafiles\\index.", folder_.Path + "\\index."}) +
                                "; make one: " + std::string(kMakeIndex));
      return;
    }
    const std::string shown = Shown(files_->IndexFile());
    if (files_->RomNames().empty()) {
      lines_.Wrong("index", shown + " holds no game; make it again: " + std::string(kMakeIndex));
    } else {
      lines_.Ok("index", shown + ": " + Plural(files_->RomNames().size(), "game", "games"));
    }
  }

  // Every place the index points at must lie within the file, or the sheets
  // show another game's text or nothing.
  void CheckDataFile(std::string_view subject, const std::string& configured, std::string_view fileName,
                     const std::function<std::optional<DataReference>(std::string_view)>& referenceOf) {
    std::size_t pointing = 0, unreadable = 0, pastEnd = 0;
    const std::string path = FindDataFile(configured_, configured, fileName);
    const std::string* data = path.empty() ? nullptr : files_->DataFile(path);
    for (const std::string& name : files_->RomNames()) {
      std::optional<DataReference> reference;
      try {
        reference = referenceOf(files_->FindRecord(name + ";"));
      } catch (const std::exception&) {
        ++unreadable;
        continue;
      }
      if (!reference || reference->Length <= 0) continue;
      ++pointing;
      if (data == nullptr) continue;
      const auto end = static_cast<std::int64_t>(reference->Offset) + reference->Length - 1;
      if (reference->Offset < 1 || end > static_cast<std::int64_t>(data->size())) ++pastEnd;
    }
    const std::string name(fileName);
    if (unreadable > 0) {
      lines_.Wrong(subject, Plural(unreadable, "record's", "records'") + " reference to " + name +
                                " is no number: those games stop with ERROR B; make the index again: " +
                                std::string(kMakeIndex));
    }
    if (pointing == 0) {
      lines_.Nothing(subject, "the index points into no " + name);
    } else if (data == nullptr) {
      lines_.Wrong(subject, Plural(pointing, "game points", "games point") + " into " + name + ", but there is none at " +
                                Places({configured, folder_.Path + "\\datafiles\\" + name}) +
                                "; put the file the index was made from there, or make the index again: " +
                                std::string(kMakeIndex));
    } else if (pastEnd > 0) {
      lines_.Wrong(subject, Shown(path) + ": the index points at " + Plural(pointing, "entry", "entries") + ", " +
                                std::to_string(pastEnd) + " of them past its end (" + std::to_string(data->size()) +
                                " bytes): the index was made from another " + name + "; make it again: " +
                                std::string(kMakeIndex));
    } else {
      lines_.Ok(subject, Shown(path) + ": the index points at " + Plural(pointing, "entry", "entries") +
                             ", each within its " + std::to_string(data->size()) + " bytes");
    }
  }

  void CheckPictures(std::size_t kind) {
    const std::string& folder = configured_.ImagePath[kind];
    const std::string key = UpperCase(kPictureKeys[kind]);
    const bool configured = std::find(configuredKeys_.begin(), configuredKeys_.end(), key) != configuredKeys_.end();
    const std::vector<PicturePlace> places = PicturePlacesOf(folder);
    if (places.empty()) {
      const std::string text = Shown(folder) + ": no such folder, nor a .zip or .7z of that name";
      if (configured) {
        lines_.Wrong(kPictureKinds[kind], text + "; correct " + std::string(kPictureKeys[kind]) + " in Zorv.inf");
      } else {
        lines_.Nothing(kPictureKinds[kind], text + " (" + std::string(kPictureKeys[kind]) + " is not set)");
      }
      return;
    }
    std::string text;
    bool unreadable = false;
    for (const PicturePlace& place : places) {
      if (!text.empty()) text += "; ";
      text += place.Path + (place.IsArchive ? " (archive): " : ": ");
      text += place.Problem.empty() ? Plural(place.Pictures, "picture", "pictures") : "cannot be read: " + place.Problem;
      unreadable = unreadable || !place.Problem.empty();
    }
    if (unreadable) {
      lines_.Wrong(kPictureKinds[kind], text);
    } else {
      lines_.Ok(kPictureKinds[kind], text);
    }
  }

  // The files read line by line: the design reads a lone LF as part of a line,
  // never as its end. (The data files are read by offset, their line ends as
  // they stand.)
  void CheckLineEnds() {
    std::vector<std::pair<std::string, const std::string*>> texts;
    if (zorvInf_) texts.emplace_back(folder_.Path + "\\zorv.inf", &*zorvInf_);
    if (quorbisInf_) texts.emplace_back(folder_.Path + "\\quorbis.inf", &*quorbisInf_);
    if (files_) {
      if (!files_->IndexFile().empty()) {
        index_ = ReadIfThere(files_->IndexFile());
        if (index_) texts.emplace_back(files_->IndexFile(), &*index_);
      }
      for (const char* notes : {"\\notes.txt", "\\Datafiles\\notes.txt"}) {
        if (const std::string* text = files_->DataFile(folder_.Path + notes)) {
          texts.emplace_back(folder_.Path + notes, text);
          break;
        }
      }
    }
    bool any = false;
    for (const auto& [path, text] : texts) {
      if (const std::size_t count = LoneLineFeeds(*text); count > 0) {
        lines_.Wrong("line ends", Shown(path) + ": " + Plural(count, "line ends", "lines end") +
                                      " with a lone LF, which is read as part of the line, never as its end; "
                                      "give it CR LF line ends (unix2dos, or :set ff=dos in vim)");
        any = true;
      }
    }
    if (!any) lines_.Ok("line ends", "every file read line by line ends its lines with CR LF");
  }

  void CheckSavePath() {
    if (configured_.SavePath.empty()) {
      lines_.Nothing("saved reports", "SavePath is not set: reports are not saved");
      return;
    }
    const std::string shown = Shown(configured_.SavePath);
    std::error_code error;
    if (!fs::is_directory(shown, error)) {
      lines_.Wrong("saved reports", "SavePath " + shown + " is no folder: the window cannot save its report there");
    } else if (::access(shown.c_str(), W_OK) != 0) {
      lines_.Wrong("saved reports", "SavePath " + shown + " cannot be written");
    } else {
      lines_.Ok("saved reports", "SavePath " + shown + " can be written");
    }
  }

  void CheckLog() {
    const std::string shown = Shown(folder_.Path + "\\Zorv.Log.txt");
    std::error_code error;
    const fs::file_status status = fs::status(shown, error);
    const bool writable = fs::exists(status) ? fs::is_regular_file(status) && ::access(shown.c_str(), W_OK) == 0
                                             : ::access(folder_.Path.c_str(), W_OK) == 0;
    if (writable) {
      lines_.Ok("log", shown + " can be written");
    } else {
      lines_.Wrong("log", shown + " cannot be written: a run that stops leaves no word why");
    }
  }

  const CollectionFolder& folder_;
  CheckLines lines_;
  SharedState configured_;
  std::optional<std::string> zorvInf_;
  std::optional<std::string> quorbisInf_;
  std::optional<std::string> index_;
  std::vector<std::string> configuredKeys_;
  std::optional<CollectionFiles> files_;
};

}  // namespace

int CheckCollection(const CollectionFolder& folder, std::ostream& out) { return CollectionCheck(folder, out).Run(); }

}  // namespace zorv
