#include "window/report_template.h"

#include <array>
#include <limits>
#include <utility>

#include "platform/file_system.h"
#include "platform/run_time_error.h"
#include "startup/error_log.h"

namespace zorv {
namespace {

// The pieces after the two sizes, English then French, joined as they stand.
constexpr std::array<std::pair<std::string_view, std::string_view>, 28> kBody = {{
    {"\\par ", "\\par "},
    {"Name of Rom : #ROMNAME\\par ", " Nom de la Rom : #ROMNAME\\par "},
    {"Rom available : #GOTIT\\par \\par ", " Rom disponible : #GOTIT\\par \\par "},
    {"Manufacturer : #MANUFACTURER\\par ", " \\'c9diteur : #MANUFACTURER\\par "},
    {"Year : #YEAR\\par ", " Ann\\'e9e : #YEAR\\par "},
    {"Genre : #GENRE\\par ", " Genre : #GENRE\\par "},
    {"Category : #CATEGORY\\par ", " Cat\\'e9gorie : #CATEGORY\\par "},
    {"Mature : #MATURE\\par ", " Class\\'e9 adulte : #MATURE\\par "},
    {"Number of players : #NPLAYERS\\par \\par ", " Nombre de joueurs : #NPLAYERS\\par \\par "},
    {"Savestate driver : #SAVESTATE\\par ", " Support Savestate : #SAVESTATE\\par "},
    {"Highscore.dat support : #HIGHSCORE\\par ", " Support Highscore.dat : #HIGHSCORE\\par "},
    {"Cheat.dat support : #CHEAT\\par \\par ", " Support Cheat.dat : #CHEAT\\par \\par "},
    {"Driver : #DRIVER\\par \\par ", " Driver : #DRIVER\\par \\par "},
    {"Driver status : #DRIVERSTATUS\\par \\par Clone of : #CLONES\\par \\par ",
     " Statut du driver : #DRIVERSTATUS\\par \\par  Clone de : #CLONES\\par \\par "},
    {"Orientation : #ORIENTATION\\par \\par Controls : #CONTROLS\\par ",
     " Orientation : #ORIENTATION\\par \\par  Contr\\'f4leurs : #CONTROLS\\par "},
    {"Buttons : #BUTTONS\\par \\par ", " Boutons : #BUTTONS\\par \\par "},
    {"Version added : #VERADDED\\par \\par ", " Ajout\\'e9 dans MAME : #VERADDED\\par \\par "},
    {"Notes :\\par ", "Notes personnelles :\\par "},
    {"#MYNOTES\\par \\par ", "#MYNOTES\\par \\par "},
    {"Flyer :\\par ", " Flyer :\\par "},
    {"#FLYER\\par \\par ", " #FLYER\\par \\par "},
    {"Title screen :\\par ", " \\'c9cran titre :\\par "},
    {"#SCRTITLE\\par \\par ", " #SCRTITLE\\par \\par "},
    {"#HISTORY\\par \\par Marquee :\\par ", "#HISTORY\\par \\par  Marquee :\\par "},
    {"#MARQUEE\\par \\par #MAMEINFO\\par \\par ", " #MARQUEE\\par \\par #MAMEINFO\\par \\par "},
    {"Cabinet :\\par ", " Borne :\\par "},
    {"#CABINET\\par \\par ", " #CABINET\\par \\par "},
    {"Snap :\\par #SNAP\\par \\par CPO:\\par #CPO\\par \\par }",
     " Snap :\\par  #SNAP\\par \\par  CPO:\\par  #CPO\\par \\par }"},
}};

}  // namespace

std::string BuildDefaultTemplate(std::int32_t language, const std::string& fontName, std::int32_t fontSize) {
  if (fontSize > std::numeric_limits<std::int32_t>::max() - 8) throw RunTimeError(ErrorCode::Overflow);
  const bool french = language == 0;
  std::string text = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036{\\fonttbl{\\f0\\fswiss\\fcharset0 ";
  text += fontName;
  text += ";}} ";
  text += "{\\*\\generator Msftedit 5.41.15.1507;}\\viewkind4\\uc1\\pard\\b\\f0\\fs";
  text += std::to_string(fontSize + 8);
  text += french ? "  #TITLE\\par \\b0\\fs" : " #TITLE\\par \\b0\\fs";
  text += std::to_string(fontSize);
  for (const auto& [english, french_] : kBody) text += french ? french_ : english;
  return text;
}

std::string GetReportTemplate(SharedState& state) {
  try {
    if (state.Language == -1) state.Language = 1;
    const std::string userTemplate = state.ProgramFolder + "\\Zorv.rtf";
    if (!state.DefaultRtf && FileExists(userTemplate)) return ReadWholeFile(userTemplate);
    return BuildDefaultTemplate(state.Language, state.FontName, state.FontSize);
  } catch (const std::exception& failure) {
    LogError(state, 'J', ErrorNumberOf(failure));
    return {};
  }
}

void WriteDefaultTemplate(SharedState& state) {
  const std::string current = state.ProgramFolder + "\\Zorv.rtf";
  const std::string backup = state.ProgramFolder + "\\Zorv.bak";
  if (FileExists(current)) {
    if (FileExists(backup)) DeleteFile(backup);
    // A user's template that could not be moved aside (something that is not a
    // regular file holds the backup's name) is left as it is, never deleted.
    if (!RenameFile(current, backup)) throw RunTimeError(ErrorCode::PathFileAccess);
  }
  WriteWholeFile(current, GetReportTemplate(state));
}

}  // namespace zorv
