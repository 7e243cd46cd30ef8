#pragma once
// The program-wide values of a run: filled by start-up before the window exists,
// completed by the window's display settings. Names are the ones users of the
// configuration and the report know them by.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/colour.h"

namespace zorv {

class CollectionFiles;

struct SharedState {
  // The folder of the program file, without a final separator. Every relative
  // file name ("\datafiles\index.", "\Zorv.inf") is appended to it.
  std::string ProgramFolder;

  std::string RomName;
  std::string RomKey;
  bool ShowUsage = false;

  bool NoImage = false;
  bool NoTitle = false;
  bool NoSnap = false;
  bool NoMarquee = false;
  bool NoCabinet = false;
  bool NoCpanel = false;
  bool NoFlyer = false;
  bool Center = false;
  bool OnTop = false;
  bool DefaultRtf = false;

  // 0 French, any other value English; -1 while the configuration is read.
  std::int32_t Language = 0;

  std::string IndexPath;
  std::string HistoryPath;
  std::string MameinfoPath;
  std::string SavePath;
  // 1 title, 2 snapshot, 3 marquee, 4 cabinet, 5 control panel, 6 flyer; 0 unused.
  // A folder after configuration, the found picture file (or empty) after start-up.
  std::array<std::string, 7> ImagePath;

  std::string FontName;
  std::int32_t FontSize = 0;  // RTF half-points
  Colour ForeColor = 0;
  Colour BackColor = 0;

  bool LogStarted = false;

  std::string GameRecord;
  std::string GameTitle;
  std::string CloneOf;
  std::string Manufacturer;
  std::string Year;
  std::string Orientation;
  std::string Buttons;
  std::string Controls;
  std::string DriverStatus;
  std::string Genre;
  std::string Category;
  std::string VersionAdded;
  std::string Driver;
  std::string Players;
  std::string SaveState;
  bool HasCheat = false;
  bool HasHighscore = false;
  bool IsMature = false;
  bool RomAvailable = false;

  // Lines separated by CR LF, as they stand in the files.
  std::string HistoryText;
  std::string MameinfoText;
  std::string NotesText;

  // Beyond the viewer's own values, for one game of a run over the whole
  // collection: the index and data files already read (null: read the files),
  // and the game's log lines held back, CR LF after each, to be written
  // together under the run's one header (empty: straight to the log).
  const CollectionFiles* Files = nullptr;
  std::optional<std::string> HeldLog;
  // Such a run writes nothing but its own output and the log: the switches and
  // keys are read for what they show, so DefaultRtf's template is used but not
  // written over Zorv.rtf, and no report is saved to SavePath.
  bool WritesOnlyItsOutput = false;
};

}  // namespace zorv
