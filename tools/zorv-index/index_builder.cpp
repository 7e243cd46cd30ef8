#include "index_builder.h"

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <utility>

#include "byte_source.h"
#include "collection_input.h"
#include "emulator_listing.h"
#include "field_mapping.h"
#include "game_list_reader.h"
#include "history_xml_reader.h"
#include "ini_reader.h"
#include "platform/file_system.h"
#include "platform/progress_bar.h"
#include "platform/run_time_error.h"
#include "platform/staged_file.h"
#include "record_writer.h"
#include "rom_folder.h"

namespace zorv::index {
namespace {

std::string Describe(int number) {
  switch (number) {
    case static_cast<int>(ErrorCode::FileNotFound):
      return "file not found";
    case static_cast<int>(ErrorCode::PathFileAccess):
      return "cannot be read or written";
    case static_cast<int>(ErrorCode::OutOfMemory):
      return "out of memory";
    default:
      return "run-time error " + std::to_string(number);
  }
}

// Runs one step; a bare run-time error from the file layer gets the file's name.
template <typename Step>
auto ForFile(const std::string& path, Step&& step) {
  try {
    return step();
  } catch (const RunTimeError& failure) {
    if (std::string(failure.what()).starts_with("run-time error")) {
      throw RunTimeError(static_cast<ErrorCode>(failure.Number()), path + ": " + Describe(failure.Number()));
    }
    throw;
  }
}

std::string NameList(const std::vector<std::string>& names) {
  constexpr std::size_t kShown = 8;
  std::string text;
  for (std::size_t i = 0; i < names.size() && i < kShown; ++i) text += (i ? ", " : "") + names[i];
  if (names.size() > kShown) text += ", ...";
  return text;
}

void WarnAboutEntries(const std::string& name, const DataFileIndex& scanned, std::vector<std::string>& warnings) {
  if (!scanned.duplicateNames.empty()) {
    const std::size_t count = scanned.duplicateNames.size();
    warnings.push_back(name + ": " + std::to_string(count) + (count == 1 ? " name has" : " names have") +
                       " more than one entry; the first is used (" + NameList(scanned.duplicateNames) + ")");
  }
  if (!scanned.inexactNames.empty()) {
    const std::size_t count = scanned.inexactNames.size();
    warnings.push_back(name + ": " + std::to_string(count) + (count == 1 ? " entry holds" : " entries hold") +
                       " a \"$bio\", \"$mame\" or \"$end\" inside its text; the viewer will show it cut short (" +
                       NameList(scanned.inexactNames) + ")");
  }
  if (!scanned.unendedEntries.empty()) {
    const std::size_t count = scanned.unendedEntries.size();
    warnings.push_back(name + ": " + std::to_string(count) + (count == 1 ? " entry has" : " entries have") +
                       " no \"$end\" and " + (count == 1 ? "was" : "were") + " passed over (" +
                       NameList(scanned.unendedEntries) + ")");
  }
}

// A plain history file in today's XML form.
bool IsXmlFile(const CollectionInput& input) {
  return !input.FromArchive() && LooksLikeXml(ReadStretch(input.Path(), 1, 256));
}

// Scans a history or mameinfo file for the entries' places. A plain classic
// file is scanned where it lies; anything else (an archive member, today's XML)
// is written out in classic form to `copy`, and the places are those in the copy.
DataFileIndex ReadDataFile(const CollectionInput& input, DataFileKind kind, StagedFile* copy,
                           const IndexOptions& options, std::vector<std::string>& warnings) {
  ProgressBar bar(kind == DataFileKind::History ? "history" : "mameinfo", options.showProgress);
  const auto progress = [&](std::uint64_t done, std::optional<std::uint64_t> total) { bar.Update(done, total); };
  if (!copy) {
    DataFileIndex scanned = ScanDataFile(input.Path(), kind, options.addressLimit, progress);
    WarnAboutEntries(input.Name(), scanned, warnings);
    return scanned;
  }
  ByteSource source = input.Open();
  std::vector<char> buffer(1u << 20);
  std::size_t got = source.Read(buffer);
  const bool fromXml = kind == DataFileKind::History && LooksLikeXml(std::string_view(buffer.data(), got));
  // Places in a converted file are reported against the file written.
  const std::string scannedName = fromXml ? copy->FinalPath().string() : input.Name();
  DatScanner scanner(kind, scannedName, options.addressLimit);
  const auto write = [&](std::string_view bytes) {
    copy->Append(bytes);
    scanner.Feed(bytes);
  };
  std::optional<HistoryXmlConverter> converter;
  if (fromXml) converter.emplace(input.Name(), write);
  for (;;) {
    const std::string_view piece(buffer.data(), got);
    if (converter) {
      converter->Feed(piece, got == 0);
    } else {
      write(piece);
    }
    if (got == 0) break;
    progress(source.BytesRead(), source.TotalSize());
    got = source.Read(buffer);
  }
  DataFileIndex scanned = scanner.Finish();
  if (converter && converter->ArcadeEntries() == 0) warnings.push_back(input.Name() + ": holds no arcade entries");
  WarnAboutEntries(scannedName, scanned, warnings);
  return scanned;
}

// An output must be a regular file or absent, and never one of the inputs (the
// same file under another name or through a link included).
void CheckOutput(const std::filesystem::path& output,
                 const std::vector<std::pair<std::string_view, const std::string*>>& inputs) {
  struct stat target {};
  if (::stat(output.c_str(), &target) != 0) return;  // absent: written new
  if (!S_ISREG(target.st_mode)) {
    throw RunTimeError(ErrorCode::PathFileAccess,
                       output.string() + ": exists and is not a regular file; it is left alone");
  }
  for (const auto& [option, path] : inputs) {
    if (path->empty() || *path == "-") continue;
    struct stat input {};
    if (::stat(ResolvePath(*path).c_str(), &input) == 0 && input.st_dev == target.st_dev &&
        input.st_ino == target.st_ino) {
      throw RunTimeError(ErrorCode::InvalidArgument, output.string() + ": is the file given to " +
                                                         std::string(option) + "; it would be overwritten");
    }
  }
}

bool IsSameFile(const std::string& windowsPath, const std::filesystem::path& other) {
  std::error_code error;
  return std::filesystem::equivalent(ResolvePath(windowsPath), other, error) && !error;
}

// The game list from a file or standard input, or else from the emulator's
// output. An emulator that ends badly is the failure to report, even when what
// it left on the pipe is no list.
void ReadList(const CollectionInput* list, const IndexOptions& options, const std::string& listName,
              const GameListReader::MachineHandler& onMachine) {
  if (list != nullptr) {
    ForFile(listName, [&] {
      ByteSource source = list->Open();
      ProgressBar bar("game list", options.showProgress);
      ReadGameList(source, listName, onMachine, [&](std::uint64_t done) { bar.Update(done, source.TotalSize()); });
    });
    return;
  }
  ByteSource source = ByteSource::FromDescriptor(options.emulator->Descriptor());
  try {
    ForFile(listName, [&] {
      ProgressBar bar("game list", options.showProgress);
      ReadGameList(source, listName, onMachine, [&](std::uint64_t done) { bar.Update(done, std::nullopt); });
    });
  } catch (const RunTimeError& failure) {
    options.emulator->Finish(true);
    if (source.BytesRead() == 0) throw RunTimeError(ErrorCode::InputPastEnd, listName + ": the emulator printed nothing");
    throw;
  }
  options.emulator->Finish(false);
}

}  // namespace

IndexSummary BuildIndex(const IndexOptions& options) {
  IndexSummary summary;
  // Looked at first, so that a list that is not there is told before the long work.
  std::optional<CollectionInput> list;
  if (options.emulator == nullptr) list.emplace(options.listXml, InputKind::GameList);
  const std::string listName = list ? list->Name() : options.emulator->Name();
  const auto locate = [](const std::string& path, InputKind kind) {
    return path.empty() ? std::nullopt : std::optional<CollectionInput>(std::in_place, path, kind);
  };
  const auto historyInput = locate(options.history, InputKind::History);
  const auto mameinfoInput = locate(options.mameinfo, InputKind::Mameinfo);
  const auto catverInput = locate(options.catver, InputKind::Catver);
  const auto nplayersInput = locate(options.nplayers, InputKind::NPlayers);

  // The viewer reads data files by offset, and looks for them beside the index
  // by default: each is written there (a copy, or the classic form of one that
  // came zipped or as XML), unless it is there already in classic form.
  const std::filesystem::path indexPath = ResolvePath(options.output);
  const std::filesystem::path folder = indexPath.has_parent_path() ? indexPath.parent_path() : ".";
  const auto inPlace = [&folder](const CollectionInput& input, std::string_view fileName) {
    return !input.FromArchive() && IsSameFile(input.Path(), folder / fileName);
  };
  const bool writeHistory =
      historyInput && !(inPlace(*historyInput, "history.dat") &&
                        !ForFile(historyInput->Name(), [&] { return IsXmlFile(*historyInput); }));
  const bool writeMameinfo = mameinfoInput && !inPlace(*mameinfoInput, "mameinfo.dat");
  const std::vector<std::pair<std::string_view, const std::string*>> inputs = {
      {"--listxml", &options.listXml}, {"--history", &options.history}, {"--mameinfo", &options.mameinfo},
      {"--catver", &options.catver},   {"--nplayers", &options.nplayers}};
  if (options.makeOutputFolder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);  // a folder that cannot be made is told below
  }
  CheckOutput(indexPath, inputs);
  if (writeHistory) CheckOutput(folder / "history.dat", inputs);
  if (writeMameinfo) CheckOutput(folder / "mameinfo.dat", inputs);
  RemoveStaleTemporaries(folder);
  // Created first, so that a folder that cannot be written is found before the long work.
  StagedFile indexFile(indexPath);
  std::optional<StagedFile> historyCopy;
  std::optional<StagedFile> mameinfoCopy;
  if (writeHistory) historyCopy.emplace(folder / "history.dat");
  if (writeMameinfo) mameinfoCopy.emplace(folder / "mameinfo.dat");

  std::optional<DataFileIndex> history;
  std::optional<DataFileIndex> mameinfo;
  if (historyInput) {
    history = ForFile(historyInput->Name(), [&] {
      return ReadDataFile(*historyInput, DataFileKind::History, historyCopy ? &*historyCopy : nullptr, options,
                          summary.warnings);
    });
  }
  if (mameinfoInput) {
    mameinfo = ForFile(mameinfoInput->Name(), [&] {
      return ReadDataFile(*mameinfoInput, DataFileKind::Mameinfo, mameinfoCopy ? &*mameinfoCopy : nullptr, options,
                          summary.warnings);
    });
  }

  std::vector<IniSection> catver;
  std::vector<IniSection> nplayers;
  if (catverInput) {
    catver = ForFile(catverInput->Name(),
                     [&] { return ParseIniSections(catverInput->ReadWhole(), {"Category", "VerAdded"}); });
  }
  if (nplayersInput) {
    nplayers = ForFile(nplayersInput->Name(), [&] { return ParseIniSections(nplayersInput->ReadWhole(), {"NPlayers"}); });
  }
  std::optional<RomFolder> roms;
  if (!options.romFolders.empty()) roms.emplace(options.romFolders);
  summary.romSets = roms ? roms->Size() : 0;

  const CollectionData collection{
      history ? &*history : nullptr,    mameinfo ? &*mameinfo : nullptr, catver.empty() ? nullptr : &catver[0],
      catver.empty() ? nullptr : &catver[1], nplayers.empty() ? nullptr : &nplayers[0], roms ? &*roms : nullptr};

  IndexWriter writer;
  std::vector<std::string> unwritableNames;
  ReadList(list ? &*list : nullptr, options, listName, [&](Machine&& machine) {
    if (!IsGame(machine)) {
      ++summary.machinesPassedOver;
      return;
    }
    if (!IsWritableRomName(machine.name)) {
      unwritableNames.push_back(machine.name + " (line " + std::to_string(machine.lineNumber) + ")");
      return;
    }
    const GameValues game = MapGame(machine, collection);
    try {
      writer.AddGame(game);
    } catch (const RunTimeError& failure) {
      throw RunTimeError(static_cast<ErrorCode>(failure.Number()),
                         listName + ", line " + std::to_string(machine.lineNumber) + ": " + failure.what());
    }
    summary.withHistory += game.history ? 1 : 0;
    summary.withMameinfo += game.mameinfo ? 1 : 0;
    summary.withRomSet += game.romAvailable ? 1 : 0;
  });
  if (!unwritableNames.empty()) {
    summary.warnings.push_back(listName + ": " + std::to_string(unwritableNames.size()) +
                               (unwritableNames.size() == 1 ? " game was" : " games were") +
                               " left out, their ROM names cannot be written to an index (\";\", \"\\\", \"/\", \":\" "
                               "or \"..\"): " + NameList(unwritableNames));
  }
  summary.games = writer.GameCount();
  if (summary.games == 0) throw RunTimeError(ErrorCode::InputPastEnd, listName + ": holds no games");

  indexFile.Append(writer.Finish());
  // The data files first: an index must never point into a file that is not there yet.
  for (std::optional<StagedFile>* copy : {&historyCopy, &mameinfoCopy}) {
    if (*copy) {
      (*copy)->Commit();
      summary.dataFilesWritten.push_back((*copy)->FinalPath().string());
    }
  }
  indexFile.Commit();
  return summary;
}

}  // namespace zorv::index
