// zorv-screen-grab FILE.png [WINDOW-TITLE]: saves what the X screen shows, or
// only the area of the first window with that title, as a PNG file. The
// screenshot script runs it beside the window under a virtual display.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <cstdio>

namespace {

// The window's rectangle on the screen, as xdotool reports it; empty when none.
QRect WindowArea(const QString& title) {
  QProcess search;
  search.start(QStringLiteral("xdotool"),
               {QStringLiteral("search"), QStringLiteral("--name"), title, QStringLiteral("getwindowgeometry"),
                QStringLiteral("--shell")});
  if (!search.waitForFinished(5000)) return {};
  int x = 0, y = 0, width = 0, height = 0;
  for (const QByteArray& line : search.readAllStandardOutput().split('\n')) {
    const auto field = line.split('=');
    if (field.size() != 2) continue;
    const int value = field[1].toInt();
    if (field[0] == "X") x = value;
    if (field[0] == "Y") y = value;
    if (field[0] == "WIDTH") width = value;
    if (field[0] == "HEIGHT") height = value;
  }
  return QRect(x, y, width, height);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: zorv-screen-grab FILE.png [WINDOW-TITLE]\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return 1;
  QPixmap shot = screen->grabWindow(0);
  if (argc > 2) {
    const QRect area = WindowArea(QString::fromLocal8Bit(argv[2]));
    if (area.isEmpty()) {
      std::fprintf(stderr, "no window named %s\n", argv[2]);
      return 1;
    }
    shot = shot.copy(area);
  }
  return shot.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
