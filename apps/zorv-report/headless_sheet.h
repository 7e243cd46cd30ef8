#pragma once
// The one way zorv-report makes a sheet, for one game and for every game of
// --all alike: the window's load and first activation on the state start-up
// filled, without a window. What lies behind transparent pixels is the report's
// background colour over the window's area.
#include <memory>
#include <optional>

#include "memory_budget.h"
#include "platform/picture_loader.h"
#include "platform/picture_object.h"
#include "platform/regional_settings.h"
#include "platform/screen_metrics.h"
#include "sheet_pictures.h"
#include "startup/shared_state.h"
#include "window/report_form.h"
#include "window/report_pictures.h"

namespace zorv {

class HeadlessSheet {
 public:
  // `linkedPictures`: pictures from files are referenced, not copied (a page, a
  // text). With a budget, the memory the largest picture takes is reserved
  // before any is loaded and held as long as the sheet.
  HeadlessSheet(SharedState& state, const RegionalSettings& regional, PictureLoader& loader, bool linkedPictures,
                MemoryBudget* memory = nullptr);
  HeadlessSheet(const HeadlessSheet&) = delete;
  HeadlessSheet& operator=(const HeadlessSheet&) = delete;

  const SharedState& State() const { return state_; }
  const ReportForm& Form() const { return form_; }
  const richtext::RichTextBox& Report() const { return form_.Report(); }
  const SheetPictures& Pictures() const { return *sheetPictures_; }
  const ScreenMetrics& Screen() const { return screen_; }

 private:
  SharedState& state_;
  const ScreenMetrics screen_;
  MemoryBudget::Reservation memory_;  // given back last
  ReportForm form_;
  std::optional<PlainColourPicture> window_;
  std::optional<ReportPictures> pictures_;
  std::optional<SheetPictures> sheetPictures_;
};

// What loading the game's largest shown picture takes, from the files' headers.
std::uint64_t PictureMemory(const SharedState& state, bool linkedPictures);

}  // namespace zorv
