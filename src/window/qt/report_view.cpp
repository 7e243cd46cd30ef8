#include "window/qt/report_view.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtMath>
#include <algorithm>

#include "window/qt/document_renderer.h"

namespace zorv {
namespace {

// The key the report acts on: Right pages down, Left pages up.
int ReportKey(int key) {
  if (key == Qt::Key_Right) return Qt::Key_PageDown;
  if (key == Qt::Key_Left) return Qt::Key_PageUp;
  return key;
}

// Up to this many characters the report is laid out whole when it is shown, as
// a short report always was; a longer one is laid out as far as the window
// shows it and the rest while the window idles.
constexpr int kLaidOutWhole = 65536;

// Lays out the document's paragraphs from the top until one reaches `bottom`.
void LayOutDownTo(QTextDocument& document, qreal bottom) {
  QAbstractTextDocumentLayout& layout = *document.documentLayout();
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    if (layout.blockBoundingRect(block).bottom() > bottom) return;
  }
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
  // A fresh document, so that the view's caret does not ride along to the end
  // of the text as it goes in (and have it all laid out to be shown): the caret
  // stays at the start, where the form left the selection.
  QTextDocument* const previous = document();
  const bool previousIsOurs = previous->parent() == this;
  auto* const content = new QTextDocument(this);
  content->setDefaultFont(previous->defaultFont());
  content->setDefaultTextOption(previous->defaultTextOption());
  RenderDocument(box.Content(), *content, screen);
  setDocument(content);
  if (previousIsOurs) delete previous;
  if (content->characterCount() <= kLaidOutWhole) {
    // The layout tells the view its final height only later: until then the
    // range may be that of a part of the text, too short for the position.
    const int height = qCeil(content->documentLayout()->documentSize().height());
    scroll->setRange(0, std::max(0, height - viewport()->height()));
  } else {
    LayOutDownTo(*content, position + viewport()->height());
  }
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
