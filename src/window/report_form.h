#pragma once
// The report window's behaviour without a window: what happens when it is
// loaded, first activated and closed. A window class wires its events here;
// the headless report tool calls the same steps.
#include <functional>
#include <optional>

#include "platform/regional_settings.h"
#include "platform/screen_metrics.h"
#include "richtext/rich_text_box.h"
#include "startup/center_form.h"
#include "startup/shared_state.h"
#include "window/display_settings.h"
#include "window/picture_source.h"

namespace zorv {

// Whether the first activation leaves out the picture of this category (1 title
// to 6 flyer): NoImage, or the category's own switch.
bool PictureHidden(const SharedState& state, std::size_t category);

class ReportForm {
 public:
  ReportForm(SharedState& state, const ScreenMetrics& screen, const RegionalSettings& regional);

  // Sizes the window, fills the report (or the usage sheet) into the report
  // control and colours its text. A failure is logged as "ERROR H - n" and
  // skips the rest.
  void Load();

  // The first activation replaces the picture tags by the game's pictures and
  // saves the report when a save folder is set; later ones do nothing. Pending
  // window events run between pictures through `letEventsRun`, which answers
  // false once the window is gone. A failure is logged as "ERROR G - n".
  void Activate(PictureSource& pictures, const std::function<bool()>& letEventsRun = [] { return true; });

  // Writes Zorv.inf when the program folder has none.
  void Unload();

  richtext::RichTextBox& Report() { return report_; }
  const richtext::RichTextBox& Report() const { return report_; }
  const WindowLayout& Layout() const { return layout_; }
  // Where the window goes when it is to be centred; empty otherwise.
  std::optional<WindowPosition> CentredPosition() const { return centred_; }
  bool StaysOnTop() const { return state_.OnTop; }
  bool AlreadyActivated() const { return alreadyActivated_; }

  // The file a finished report is saved to: SavePath + "ZRV_" + ROM name + ".rtf".
  std::string SavedReportPath() const;

 private:
  void FillReport();

  SharedState& state_;
  ScreenMetrics screen_;
  RegionalSettings regional_;
  WindowLayout layout_;
  std::optional<WindowPosition> centred_;
  richtext::RichTextBox report_;
  bool alreadyActivated_ = false;
};

}  // namespace zorv
