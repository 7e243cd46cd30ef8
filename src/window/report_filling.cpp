#include "window/report_filling.h"

#include <utility>
#include <vector>

#include "startup/basic_text.h"

namespace zorv {
namespace {

// A text's lines become paragraphs; a lone CR or LF stays as it is.
std::string Paragraphs(std::string_view entry) { return ReplaceAll(entry, "\r\n", "\\par "); }

constexpr std::string_view kSectionMarkers[] = {
    "- TECHNICAL -", "- TRIVIA -", "- SERIES -", "- SOURCES -", "- TIPS AND TRICKS -",
    "- STAFF -",     "- PORTS -",  "- SCORING -", "- UPDATES -",
};

}  // namespace

std::string FillReportText(std::string_view reportTemplate, const SharedState& s, const RegionalSettings& regional) {
  const auto yesNo = [&regional](bool value) { return BooleanText(value, regional); };
  const std::vector<std::pair<std::string_view, std::string>> replacements = {
      {"#MAMEINFO", "\\b MAMEINFO \\b0 \\par " + Paragraphs(s.MameinfoText)},
      {"#HISTORY", "\\b HISTORY \\b0 \\par " + Paragraphs(s.HistoryText)},
      // The notes' lines stay lines, as the entries' do: a bare line end is
      // nothing to a reader of RTF.
      {"#MYNOTES", Paragraphs(s.NotesText)},
      {"#VERADDED", s.VersionAdded},
      {"#BUTTONS", s.Buttons},
      {"#CONTROLS", s.Controls},
      {"#ORIENTATION", s.Orientation},
      {"#CLONES", s.CloneOf},
      {"#DRIVERSTATUS", s.DriverStatus},
      {"#DRIVER", s.Driver},
      {"#CHEAT", yesNo(s.HasCheat)},
      {"#HIGHSCORE", yesNo(s.HasHighscore)},
      {"#SAVESTATE", s.SaveState},
      {"#NPLAYERS", s.Players},
      {"#MATURE", yesNo(s.IsMature)},
      {"#CATEGORY", s.Category},
      {"#GENRE", s.Genre},
      {"#YEAR", s.Year},
      {"#MANUFACTURER", s.Manufacturer},
      {"#GOTIT", yesNo(s.RomAvailable)},
      {"#ROMNAME", s.RomName},
      {"#TITLE", s.GameTitle},
  };
  std::string text(reportTemplate);
  for (const auto& [tag, value] : replacements) text = ReplaceAll(text, tag, value);
  for (const std::string_view marker : kSectionMarkers) {
    text = ReplaceAll(text, marker, "\\b " + std::string(marker) + "\\b0 ");
  }
  return text;
}

}  // namespace zorv
