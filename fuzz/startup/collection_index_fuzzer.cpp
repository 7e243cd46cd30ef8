// The index and data files read once into memory, as a run over the whole
// collection reads them, against the same files read as a single run reads
// them: any bytes, same game values. The input is every file at once.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <tuple>

#include "fuzz_folder.h"
#include "startup/collection_files.h"
#include "startup/startup.h"

namespace {

auto Values(const zorv::SharedState& s) {
  return std::tie(s.GameRecord, s.GameTitle, s.CloneOf, s.Manufacturer, s.Year, s.Orientation, s.Buttons, s.Controls,
                  s.DriverStatus, s.Genre, s.Category, s.VersionAdded, s.Driver, s.Players, s.SaveState, s.HasCheat,
                  s.HasHighscore, s.IsMature, s.RomAvailable, s.HistoryText, s.MameinfoText, s.NotesText);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto collection = zorv::fuzz::CollectionOfInput(data, size);
  const auto& folder = collection.folder;
  const std::string& rom = collection.rom;

  zorv::SharedState single;
  single.ProgramFolder = folder.string();
  const auto singleOutcome = zorv::Main(single, rom);

  zorv::SharedState configured;
  configured.ProgramFolder = folder.string();
  zorv::LoadConfiguration(configured);
  const zorv::CollectionFiles files(configured);
  zorv::SharedState game = configured;
  game.Files = &files;
  game.HeldLog.emplace();
  // A run over the collection takes the ROM name as it stands: compare it with
  // the name the single run's command text gave.
  if (singleOutcome == zorv::StartupOutcome::UsageSheet || single.RomName.empty()) return 0;
  const auto gameOutcome = zorv::MainForGame(game, single.RomName);
  if (singleOutcome != gameOutcome || (gameOutcome == zorv::StartupOutcome::GameSheet && Values(single) != Values(game))) {
    std::abort();
  }
  return 0;
}
