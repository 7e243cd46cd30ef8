#include "window/display_settings.h"

#include <string>
#include <utility>

#include "platform/file_system.h"
#include "platform/run_time_error.h"
#include "startup/basic_text.h"
#include "startup/configuration.h"
#include "startup/error_log.h"
#include "startup/key_line.h"
#include "startup/leading_number.h"
#include "window/report_template.h"

namespace zorv {
namespace {

constexpr double kMargin = 100;

void SetFlagWord(SharedState& state, std::string_view line) {
  const std::pair<std::string_view, bool SharedState::*> words[] = {
      {"CENTER", &SharedState::Center},       {"NOIMAGE", &SharedState::NoImage},
      {"NOTITLE", &SharedState::NoTitle},     {"NOFLYER", &SharedState::NoFlyer},
      {"NOMARQUEE", &SharedState::NoMarquee}, {"NOSNAP", &SharedState::NoSnap},
      {"NOCABINET", &SharedState::NoCabinet}, {"NOCPANEL", &SharedState::NoCpanel},
      {"ONTOP", &SharedState::OnTop},
  };
  const std::string word = UpperCase(TrimBlanks(line));
  for (const auto& [text, flag] : words) {
    if (word == text) state.*flag = true;
  }
}

}  // namespace

WindowLayout ReadDisplaySettings(SharedState& state, const ScreenMetrics& screen) {
  WindowLayout layout;
  double pixelWidth = screen.WidthPixels();
  double pixelHeight = screen.HeightPixels();
  try {
    state.FontName = "Arial";
    state.ForeColor = 0x00FF00;
    state.BackColor = 0x000000;
    state.FontSize = 20;
    if (state.DefaultRtf && !state.WritesOnlyItsOutput) WriteDefaultTemplate(state);

    const std::string path = state.ProgramFolder + "\\zorv.inf";
    if (FileExists(path)) {
      TextFileReader file(path);
      for (std::string line; file.ReadLine(line);) {
        const auto keyLine = SplitKeyLine(line);
        if (!keyLine) {
          SetFlagWord(state, line);
          continue;
        }
        const auto& [key, value] = *keyLine;
        if (key == "WIDTH") {
          if (!state.ShowUsage) pixelWidth = LeadingNumber(value);
        } else if (key == "HEIGHT") {
          if (!state.ShowUsage) pixelHeight = LeadingNumber(value);
        } else if (key == "FONT") {
          state.FontName = std::string(value);
        } else if (key == "SIZE") {
          state.FontSize = RoundToLong(LeadingNumber(value) * 2);
        } else if (key == "COLOR") {
          state.ForeColor = ColorFromName(value);
        } else if (key == "BACKCOLOR") {
          state.BackColor = ColorFromName(value);
        }
      }
    }

    layout.Width = pixelWidth * screen.TwipsPerPixelX;
    layout.Height = pixelHeight * screen.TwipsPerPixelY;
    if (layout.Width > 630) {
      layout.ReportWidth = layout.Width - 2 * kMargin;
      layout.ReportLeft = kMargin;
    }
    if (layout.Height > 470) {
      layout.ReportHeight = layout.Height - 2 * kMargin;
      layout.ReportTop = kMargin;
    }
  } catch (const std::exception& failure) {
    LogError(state, 'E', ErrorNumberOf(failure));
    layout = WindowLayout{};
    layout.Width = pixelWidth;
    layout.Height = pixelHeight;
  }
  return layout;
}

}  // namespace zorv
