#include "collection_setup.h"

#include <filesystem>
#include <optional>

#include "emulator_listing.h"
#include "platform/file_system.h"
#include "platform/run_time_error.h"
#include "platform/staged_file.h"
#include "startup/configuration.h"

namespace zorv::index {
namespace fs = std::filesystem;
namespace {

// What the command line gives wins over what the settings say.
void FillIn(std::string& given, const std::string& found) {
  if (given.empty()) given = found;
}

// The picture folders found, one key line each, CR LF after each as the viewer
// reads them. A folder whose name holds "=" cannot be a value and is left out.
std::string ZorvInfText(const EmulatorFiles& found) {
  std::string text;
  for (std::size_t kind = 1; kind < kPictureKeys.size(); ++kind) {
    const std::string& folder = found.pictures[kind].folder;
    if (folder.empty() || folder.find('=') != std::string::npos) continue;
    text.append(kPictureKeys[kind]).append("=").append(folder).append("\r\n");
  }
  return text;
}

std::string Line(std::string_view label, const std::string& value) {
  std::string line(label);
  line += ':';
  line.resize(std::max<std::size_t>(line.size() + 1, 18), ' ');
  return line + value + "\n";
}

std::string Counted(std::size_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string FoundOrNot(std::size_t games, const std::string& file) {
  return std::to_string(games) + (file.empty() ? " (no file found)" : ", from " + file);
}

}  // namespace

SetupResult SetUpCollection(const CommandLine& command, const std::string& collectionFolder) {
  SetupResult result;
  result.collectionFolder = collectionFolder;
  result.found = FindEmulatorFiles(command.mameIni->empty() ? DefaultMameIni() : *command.mameIni);
  const EmulatorFiles& found = result.found;

  IndexOptions& options = result.used;
  options = command.options;
  FillIn(options.history, found.history);
  FillIn(options.mameinfo, found.mameinfo);
  FillIn(options.catver, found.catver);
  FillIn(options.nplayers, found.nplayers);
  if (options.romFolders.empty()) options.romFolders = found.romFolders;

  options.output = (fs::path(collectionFolder) / "datafiles" / "index").string();
  options.makeOutputFolder = true;

  std::optional<EmulatorListing> emulator;
  if (options.listXml.empty()) {
    const std::string program = FindEmulator();
    if (program.empty()) {
      throw RunTimeError(ErrorCode::FileNotFound,
                         "no mame on PATH nor at /usr/games/mame; install the emulator (apt install mame), or give "
                         "its game list: --listxml FILE");
    }
    emulator.emplace(program);
    options.emulator = &*emulator;
    result.listSource = program + " -listxml";
  } else {
    result.listSource = options.listXml;
  }
  result.summary = BuildIndex(options);
  options.emulator = nullptr;

  // Written only when the collection has none: the user's own stays as it is.
  const std::string existing = collectionFolder + "\\zorv.inf";  // found as the viewer reads it
  if (FileExists(existing)) {
    result.zorvInf = ResolvePath(existing).string();
    result.zorvInfKept = true;
  } else if (const std::string settings = ZorvInfText(found); !settings.empty()) {
    result.zorvInf = collectionFolder + "/Zorv.inf";
    WriteWholeFile(fs::path(result.zorvInf), settings);
  }
  return result;
}

std::string SetupSummary(const SetupResult& result) {
  const EmulatorFiles& found = result.found;
  const IndexOptions& used = result.used;
  const IndexSummary& summary = result.summary;
  std::string text;
  text += Line("Settings", found.mameIni + (found.uiIni.empty() ? "; no ui.ini" : ", " + found.uiIni));
  text += Line("Game list", result.listSource);
  text += Line("Collection", result.collectionFolder);
  text += Line("Index", used.output);
  text += Line("Games", std::to_string(summary.games) + " (" + std::to_string(summary.machinesPassedOver) +
                            " other machines passed over)");
  text += Line("With history", FoundOrNot(summary.withHistory, used.history));
  text += Line("With mameinfo", FoundOrNot(summary.withMameinfo, used.mameinfo));
  std::string romFolders;
  for (const std::string& folder : used.romFolders) romFolders += (romFolders.empty() ? "" : ", ") + folder;
  text += Line("ROM sets present", std::to_string(summary.withRomSet) +
                                       (romFolders.empty() ? " (no ROM folder found)"
                                                           : " (" + Counted(summary.romSets, "set", "sets") + " in " +
                                                                 romFolders + ")"));
  text += Line("Categories", used.catver.empty() ? "no file found" : used.catver);
  text += Line("Players", used.nplayers.empty() ? "no file found" : used.nplayers);
  for (std::size_t kind = 1; kind < kPictureKinds.size(); ++kind) {
    std::string where;
    for (const PicturePlace& place : found.pictures[kind].places) {
      where += (where.empty() ? "" : "; ") + place.Path + (place.IsArchive ? " (archive): " : ": ") +
               (place.Problem.empty() ? Counted(place.Pictures, "picture", "pictures") : "cannot be read: " + place.Problem);
    }
    std::string label(kPictureKinds[kind]);
    label[0] = static_cast<char>(label[0] - 'a' + 'A');
    text += Line(label, where.empty() ? "not found" : where);
  }
  text += Line("Zorv.inf", result.zorvInfKept      ? result.zorvInf + ", the collection's own, left as it was"
                           : result.zorvInf.empty() ? "none written: no picture folder was found"
                                                    : result.zorvInf + ", written with the picture folders found");
  for (const std::string& data : summary.dataFilesWritten) text += Line("Written", data);
  if (!found.notFound.empty()) {
    text += "Looked for and not found:\n";
    for (const std::string& missing : found.notFound) text += "  " + missing + "\n";
  }
  return text;
}

}  // namespace zorv::index
