#include "index_builder.h"

#include <unistd.h>

#include <filesystem>
#include <functional>

#include "byte_source.h"
#include "field_mapping.h"
#include "game_list_reader.h"
#include "ini_reader.h"
#include "platform/file_system.h"
#include "platform/run_time_error.h"
#include "platform/progress_bar.h"
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

void RequireFile(const std::string& path) {
  if (!path.empty() && path != "-" && !FileExists(path)) {
    throw RunTimeError(ErrorCode::FileNotFound, path + ": file not found");
  }
}

std::string NameList(const std::vector<std::string>& names) {
  constexpr std::size_t kShown = 8;
  std::string text;
  for (std::size_t i = 0; i < names.size() && i < kShown; ++i) text += (i ? ", " : "") + names[i];
  if (names.size() > kShown) text += ", ...";
  return text;
}

std::optional<DataFileIndex> ScanIfGiven(const std::string& path, DataFileKind kind, const IndexOptions& options,
                                         std::vector<std::string>& warnings) {
  if (path.empty()) return std::nullopt;
  ProgressBar bar(kind == DataFileKind::History ? "history" : "mameinfo", options.showProgress);
  DataFileIndex scanned = ForFile(path, [&] {
    return ScanDataFile(path, kind, options.addressLimit,
                        [&](std::uint64_t done, std::uint64_t total) { bar.Update(done, total); });
  });
  if (!scanned.duplicateNames.empty()) {
    const std::size_t count = scanned.duplicateNames.size();
    warnings.push_back(path + ": " + std::to_string(count) + (count == 1 ? " name has" : " names have") +
                       " more than one entry; the first is used (" + NameList(scanned.duplicateNames) + ")");
  }
  if (!scanned.inexactNames.empty()) {
    const std::size_t count = scanned.inexactNames.size();
    warnings.push_back(path + ": " + std::to_string(count) + (count == 1 ? " entry holds" : " entries hold") +
                       " a \"$bio\", \"$mame\" or \"$end\" inside its text; the viewer will show it cut short (" +
                       NameList(scanned.inexactNames) + ")");
  }
  return scanned;
}

void WriteAtomically(const std::string& output, const std::string& bytes) {
  const std::string temporary = output + "." + std::to_string(::getpid()) + ".tmp";
  try {
    WriteWholeFile(temporary, bytes);
    std::error_code error;
    std::filesystem::rename(ResolvePath(temporary), ResolvePath(output), error);
    if (error) throw RunTimeError(ErrorCode::PathFileAccess, output + ": cannot be replaced (" + error.message() + ")");
  } catch (...) {
    DeleteFile(temporary);
    throw;
  }
}

}  // namespace

IndexSummary BuildIndex(const IndexOptions& options) {
  for (const std::string* path :
       {&options.listXml, &options.history, &options.mameinfo, &options.catver, &options.nplayers}) {
    RequireFile(*path);
  }
  IndexSummary summary;
  const auto history = ScanIfGiven(options.history, DataFileKind::History, options, summary.warnings);
  const auto mameinfo = ScanIfGiven(options.mameinfo, DataFileKind::Mameinfo, options, summary.warnings);

  std::vector<IniSection> catver;
  std::vector<IniSection> nplayers;
  if (!options.catver.empty()) {
    catver = ForFile(options.catver, [&] { return ReadIniSections(options.catver, {"Category", "VerAdded"}); });
  }
  if (!options.nplayers.empty()) {
    nplayers = ForFile(options.nplayers, [&] { return ReadIniSections(options.nplayers, {"NPlayers"}); });
  }
  std::optional<RomFolder> roms;
  if (!options.romFolder.empty()) roms.emplace(options.romFolder);

  const CollectionData collection{
      history ? &*history : nullptr,    mameinfo ? &*mameinfo : nullptr, catver.empty() ? nullptr : &catver[0],
      catver.empty() ? nullptr : &catver[1], nplayers.empty() ? nullptr : &nplayers[0], roms ? &*roms : nullptr};

  IndexWriter writer;
  const std::string listName = options.listXml == "-" ? "standard input" : options.listXml;
  ForFile(listName, [&] {
    ByteSource source(options.listXml);
    ProgressBar bar("game list", options.showProgress);
    ReadGameList(source, listName, [&](Machine&& machine) {
      if (!IsGame(machine)) {
        ++summary.machinesPassedOver;
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
    }, [&](std::uint64_t done) { bar.Update(done, source.TotalSize()); });
  });
  summary.games = writer.GameCount();
  if (summary.games == 0) throw RunTimeError(ErrorCode::InputPastEnd, listName + ": holds no games");

  WriteAtomically(options.output, writer.Finish());
  return summary;
}

}  // namespace zorv::index
