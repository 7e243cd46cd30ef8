#include "window/report_form.h"

#include <array>
#include <string_view>

#include "platform/file_system.h"
#include "platform/run_time_error.h"
#include "startup/basic_text.h"
#include "startup/configuration.h"
#include "startup/error_log.h"
#include "window/report_filling.h"
#include "window/report_template.h"
#include "window/usage_sheet.h"

namespace zorv {
namespace {

constexpr Colour kWhite = 0xFFFFFF;

// The tag of each picture category, in the order they are put in.
constexpr std::array<std::string_view, 7> kPictureTags = {"",     "#SCRTITLE", "#SNAP", "#MARQUEE",
                                                          "#CABINET", "#CPO",  "#FLYER"};

void ClearHiddenPictures(SharedState& state) {
  for (std::size_t i = 1; i <= 6; ++i) {
    if (PictureHidden(state, i)) state.ImagePath[i].clear();
  }
}

}  // namespace

bool PictureHidden(const SharedState& state, std::size_t category) {
  const bool hidden[] = {false, state.NoTitle, state.NoSnap, state.NoMarquee, state.NoCabinet, state.NoCpanel,
                         state.NoFlyer};
  return state.NoImage || (category < std::size(hidden) && hidden[category]);
}

ReportForm::ReportForm(SharedState& state, const ScreenMetrics& screen, const RegionalSettings& regional)
    : state_(state), screen_(screen), regional_(regional) {}

void ReportForm::Load() {
  layout_ = ReadDisplaySettings(state_, screen_);
  try {
    FillReport();
  } catch (const std::exception& failure) {
    LogError(state_, 'H', ErrorNumberOf(failure));
  }
}

void ReportForm::FillReport() {
  std::string text;
  if (state_.ShowUsage) {
    text = UsageText();
    report_.SetFont("Courier New", 10);
    state_.ForeColor = kWhite;
    report_.SetBackColor(state_.BackColor);
  } else {
    report_.SetBackColor(state_.BackColor);
    text = FillReportText(GetReportTemplate(state_), state_, regional_);
  }
  report_.SetTextRTF(text);
  report_.SetSelStart(0);
  report_.SetSelLength(report_.TextLength());
  report_.SetSelColor(state_.ForeColor);
  report_.SetSelLength(0);
  if (state_.Center) centred_ = CenterForm(screen_, layout_.Width, layout_.Height);
}

void ReportForm::Activate(PictureSource& pictures, const std::function<bool()>& letEventsRun) {
  if (alreadyActivated_ || state_.ShowUsage) return;
  try {
    if (!letEventsRun()) return;
    std::string text = report_.TextRTF();
    ClearHiddenPictures(state_);
    for (std::size_t i = 1; i <= 6; ++i) {
      std::string group;
      if (!state_.ImagePath[i].empty()) {
        pictures.LoadPictureFile(state_.ImagePath[i]);
        group = pictures.PictureToRtf();
      }
      text = ReplaceAll(text, kPictureTags[i], group);
      if (!letEventsRun()) return;
    }
    report_.SetTextRTF(text);
    text.clear();
    if (!letEventsRun()) return;
    alreadyActivated_ = true;
    if (!state_.SavePath.empty() && !state_.WritesOnlyItsOutput) report_.SaveFile(SavedReportPath());
  } catch (const std::exception& failure) {
    LogError(state_, 'G', ErrorNumberOf(failure));
  }
}

void ReportForm::Unload() {
  if (!FileExists(state_.ProgramFolder + "\\Zorv.inf")) SaveConfig(state_, screen_);
}

std::string ReportForm::SavedReportPath() const {
  const std::string_view key = state_.RomKey;
  return state_.SavePath + "ZRV_" + std::string(key.substr(0, key.empty() ? 0 : key.size() - 1)) + ".rtf";
}

}  // namespace zorv
