// Where the window lays out a game's sheet, for the browser tests to hold the
// exported page against: the window of the collection in the program folder
// given is opened on Qt's off-screen platform, its pictures are put in, and one
// JSON object is printed with the report control's place and, for each block
// of its text, the top, height and line count in pixels from the text's top and
// the look of its first character, and each picture's rectangle.
// Usage: sheet_layout PROGRAM_FOLDER COMMAND_TEXT [PICTURE.png]
// With a picture file, the window as it shows is saved there too.
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFontInfo>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QTextLayout>
#include <QTimer>
#include <cstdio>
#include <string>

#include "platform/qt/qt_screen_metrics.h"
#include "platform/regional_settings.h"
#include "startup/startup.h"
#include "window/qt/report_view.h"
#include "window/qt/report_window.h"

namespace {

// How the block's first visible character is drawn: [pixel size, bold, italic,
// "#rrggbb"], null when the block shows no text.
std::string LookOfFirstText(const QTextBlock& block) {
  for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
    const QTextCharFormat format = fragment.fragment().charFormat();
    if (format.isImageFormat() || fragment.fragment().text().trimmed().isEmpty()) continue;
    const QFontInfo font(format.font());
    return "[" + std::to_string(font.pixelSize()) + "," + (font.bold() ? "true" : "false") + "," +
           (font.italic() ? "true" : "false") + ",\"" + format.foreground().color().name().toStdString() + "\"]";
  }
  return "null";
}

void PrintLayout(zorv::ReportView& view) {
  QTextDocument& document = *view.document();
  QAbstractTextDocumentLayout& layout = *document.documentLayout();
  std::printf("{\"view\":[%d,%d,%d,%d],\"blocks\":[", view.x(), view.y(), view.width(), view.height());
  std::string pictures;
  const char* separator = "";
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    const QRectF box = layout.blockBoundingRect(block);
    std::printf("%s[%.2f,%.2f,%d,%s]", separator, box.top(), box.height(), block.layout()->lineCount(),
                LookOfFirstText(block).c_str());
    separator = ",";
    for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
      if (!fragment.fragment().charFormat().isImageFormat()) continue;
      const QTextLine line = block.layout()->lineForTextPosition(fragment.fragment().position() - block.position());
      const QTextImageFormat image = fragment.fragment().charFormat().toImageFormat();
      const double x = line.cursorToX(fragment.fragment().position() - block.position());
      pictures += std::string(pictures.empty() ? "[" : ",[") + std::to_string(x) + "," + std::to_string(box.top() + line.y()) + "," +
                  std::to_string(image.width()) + "," + std::to_string(image.height()) + "]";
    }
  }
  std::printf("],\"pictures\":[%s]}\n", pictures.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: sheet_layout PROGRAM_FOLDER COMMAND_TEXT [PICTURE.png]\n");
    return 2;
  }
  zorv::SharedState state;
  state.ProgramFolder = argv[1];
  if (zorv::Main(state, argv[2]) == zorv::StartupOutcome::SilentStop) return 1;
  zorv::ReportWindow window(state, zorv::PrimaryScreenMetrics(), zorv::UserRegionalSettings());
  window.Load();
  QObject::connect(&window, &zorv::ReportWindow::Activated, &application, [&] {
    PrintLayout(window.Report());
    if (argc == 4) window.grab().save(QString::fromLocal8Bit(argv[3]));
    application.quit();
  });
  window.show();
  QTimer::singleShot(20000, &application, [&] { application.exit(1); });
  return application.exec();
}
