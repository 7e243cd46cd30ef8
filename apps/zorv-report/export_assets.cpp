#include "export_assets.h"

#include <array>
#include <cstdio>

#include "html_text.h"
#include "platform/cp1252.h"
#include "platform/file_system.h"
#include "platform/run_time_error.h"
#include "platform/staged_file.h"
#include "startup/picture_archives.h"

namespace zorv {
namespace fs = std::filesystem;
namespace {

// The folders of pictures/: one per category, as the configuration names the
// picture folders, then the report's own pictures.
constexpr std::array<std::string_view, 8> kFolders = {"", "titles", "snap", "marquees", "cabinets",
                                                       "cpanel", "flyers", "report"};
constexpr std::size_t kReportFolder = 7;

// The file a picture is read from, whatever spelling found it.
std::string SourceKey(const std::string& path) {
  const std::size_t mark = path.find('|');
  if (mark == std::string::npos) return ResolvePath(path).native();
  return ResolvePath(path.substr(0, mark)).native() + "|" + path.substr(mark + 1);
}

}  // namespace

ExportAssets::ExportAssets(fs::path outputDir, std::unordered_map<std::string, GameLinks> games)
    : outputDir_(std::move(outputDir)), games_(std::move(games)), names_(kFolders.size()) {
  for (std::size_t i = 1; i < kFolders.size(); ++i) {
    std::error_code error;
    const fs::path folder = outputDir_ / "pictures" / kFolders[i];
    fs::create_directories(folder, error);
    if (error) throw RunTimeError(ErrorCode::PathFileAccess, folder.string() + ": " + error.message());
    RemoveStaleTemporaries(folder);
  }
}

std::string ExportAssets::StyleHead(const std::set<std::string>&) {
  return "<link rel=\"stylesheet\" href=\"zorv.css\">\n";
}

template <typename Write>
std::string ExportAssets::AddressOnce(const std::string& key, std::size_t folder, const std::string& wantedName,
                                      Write&& write) {
  std::string name;
  {
    std::lock_guard lock(mutex_);
    if (const auto known = addresses_.find(key); known != addresses_.end()) return known->second;
    name = names_[folder].Take(wantedName);
    addresses_.emplace(key, "pictures/" + std::string(kFolders[folder]) + "/" + AddressSegment(name));
  }
  try {
    write(outputDir_ / "pictures" / kFolders[folder] / name);
  } catch (const std::exception&) {
    std::lock_guard lock(mutex_);
    ++notWritten_;
  }
  return "pictures/" + std::string(kFolders[folder]) + "/" + AddressSegment(name);
}

std::string ExportAssets::FileAddress(const ShownFile& file) {
  if (file.category == 0 || file.category >= kReportFolder) return {};
  return AddressOnce(SourceKey(file.path), file.category, Cp1252ToUtf8(FileNameOf(file)), [&](const fs::path& to) {
    WriteWholeFile(to, IsArchivePicture(file.path) ? ReadArchivePicture(file.path) : ReadWholeFile(file.path));
  });
}

std::string ExportAssets::DataAddress(const PictureFile& file) {
  char name[24];
  const std::string_view bytes(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
  std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(ContentHash(bytes)));
  const std::string fileName = name + std::string(file.extension);
  return AddressOnce("|report|" + fileName, kReportFolder, fileName, [&](const fs::path& to) { WriteWholeFile(to, bytes); });
}

std::string ExportAssets::Navigation(const SharedState& state) {
  const bool french = state.Language == 0;
  const auto link = [&](const std::string& rom) {
    const auto game = games_.find(rom);
    const std::string name = HtmlTextOfCp1252(rom);
    if (game == games_.end() || game->second.fileName.empty()) return name;
    return "<a href=\"" + AddressSegment(game->second.fileName) + "\">" + name + "</a>";
  };
  std::string nav = "<nav><a href=\"index.html\">" + std::string(french ? "Tous les jeux" : "All games") + "</a>";
  if (!state.CloneOf.empty() && state.CloneOf != state.RomName) {
    nav += std::string(french ? " \xc2\xb7 Clone de " : " \xc2\xb7 Clone of ") + link(state.CloneOf);
  }
  if (const auto game = games_.find(state.RomName); game != games_.end() && !game->second.clones.empty()) {
    nav += french ? " \xc2\xb7 Clones :" : " \xc2\xb7 Clones:";
    for (const std::string& clone : game->second.clones) nav += " " + link(clone);
  }
  return nav + "</nav>\n";
}

void ExportAssets::WriteStyleSheet() const { WriteWholeFile(outputDir_ / "zorv.css", styles_.Text()); }

std::size_t ExportAssets::PicturesNotWritten() const {
  std::lock_guard lock(mutex_);
  return notWritten_;
}

}  // namespace zorv
