#include "qt_font_metrics.h"

#include <QAbstractTextDocumentLayout>
#include <QFontInfo>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <cmath>

#include "platform/screen_metrics.h"
#include "window/qt/document_renderer.h"

namespace zorv {
namespace {

// Qt's notes (a missing runtime folder, fonts it substitutes) are not the
// tool's to report.
void QuietQt(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

QtFontMetrics::QtFontMetrics(int& argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietQt);
  application_ = std::make_unique<QGuiApplication>(argc, argv);
}

QtFontMetrics::~QtFontMetrics() = default;

FontSize QtFontMetrics::Of(const richtext::Font& font, int halfPoints, bool bold, bool italic) {
  const auto key = std::make_tuple(font.name, font.family, halfPoints, bold, italic);
  std::lock_guard lock(mutex_);
  if (const auto found = known_.find(key); found != known_.end()) return found->second;
  // An empty paragraph of the look, as the window renders it: its one line.
  richtext::Document document;
  document.fonts = {font};
  document.paragraphs[0].markFormat = {0, halfPoints, bold, italic, false, std::nullopt};
  QTextDocument laidOut;
  RenderDocument(document, laidOut, ScreenMetrics{});
  const QTextBlock line = laidOut.begin();
  const FontSize size{QFontInfo(line.charFormat().font()).pixelSize(),
                      static_cast<int>(std::lround(laidOut.documentLayout()->blockBoundingRect(line).height()))};
  known_.emplace(key, size);
  return size;
}

}  // namespace zorv
