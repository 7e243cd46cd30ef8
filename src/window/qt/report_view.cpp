#include "window/qt/report_view.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTextCursor>

#include "window/qt/document_renderer.h"

namespace zorv {
namespace {

// The key the report acts on: Right pages down, Left pages up.
int ReportKey(int key) {
  if (key == Qt::Key_Right) return Qt::Key_PageDown;
  if (key == Qt::Key_Left) return Qt::Key_PageUp;
  return key;
}

}  // namespace

ReportView::ReportView(QWidget* parent) : QTextEdit(parent) {
  setObjectName(QStringLiteral("RT"));
  setReadOnly(true);
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // The keys and the wheel scroll; no bar breaks the sheet's colours.
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setLineWrapMode(QTextEdit::WidgetWidth);
  setUndoRedoEnabled(false);
  setFocusPolicy(Qt::StrongFocus);
}

void ReportView::ShowReport(const richtext::RichTextBox& box, const ScreenMetrics& screen) {
  const Colour back = box.BackColor();
  QPalette colours = palette();
  colours.setColor(QPalette::Base, QColor(RedOf(back), GreenOf(back), BlueOf(back)));
  setPalette(colours);
  viewport()->setAutoFillBackground(true);
  if (shown_ && shownRevision_ == box.Revision()) return;

  QScrollBar* scroll = verticalScrollBar();
  const int position = scroll->value();
  RenderDocument(box.Content(), *document(), screen);
  // The caret stays at the start, where the form left the selection.
  setTextCursor(QTextCursor(document()));
  scroll->setValue(position);
  shown_ = true;
  shownRevision_ = box.Revision();
}

void ReportView::keyPressEvent(QKeyEvent* event) {
  QScrollBar* scroll = verticalScrollBar();
  switch (ReportKey(event->key())) {
    case Qt::Key_PageDown:
      scroll->triggerAction(QAbstractSlider::SliderPageStepAdd);
      break;
    case Qt::Key_PageUp:
      scroll->triggerAction(QAbstractSlider::SliderPageStepSub);
      break;
    case Qt::Key_Down:
      scroll->triggerAction(QAbstractSlider::SliderSingleStepAdd);
      break;
    case Qt::Key_Up:
      scroll->triggerAction(QAbstractSlider::SliderSingleStepSub);
      break;
    default:
      QTextEdit::keyPressEvent(event);
      return;
  }
  event->accept();
}

void ReportView::paintEvent(QPaintEvent* event) {
  QTextEdit::paintEvent(event);
  if (shown_) emit Painted(shownRevision_);
}

}  // namespace zorv
