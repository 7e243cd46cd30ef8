#pragma once
// The report control as the user sees it: a read-only view of the rich-text
// box, without a frame, on the box's background colour. Left and Right page
// through the report, Up and Down scroll it.
#include <QTextEdit>
#include <cstdint>

#include "platform/screen_metrics.h"
#include "richtext/rich_text_box.h"

namespace zorv {

class ReportView final : public QTextEdit {
  Q_OBJECT

 public:
  explicit ReportView(QWidget* parent = nullptr);

  // Shows the box's content and background; the content is laid out again
  // only when it has changed since it was last shown. The scroll position stays.
  void ShowReport(const richtext::RichTextBox& box, const ScreenMetrics& screen);

  // Which content of the box the view shows (its revision).
  std::uint64_t ShownRevision() const { return shownRevision_; }

 signals:
  // The view has been painted on the screen with this revision of the content.
  void Painted(std::uint64_t revision);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool shown_ = false;
  std::uint64_t shownRevision_ = 0;
};

}  // namespace zorv
