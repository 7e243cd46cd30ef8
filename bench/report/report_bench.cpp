// A game's report with six pictures, from start-up to the finished RTF, as
// zorv-report makes it: two snapshot-like 1920 x 1080 PNG pictures, two small
// PNG pictures (one with alpha, one interlaced palette), a JPEG and a GIF.
// Each phase is timed on its own too, to show where the time goes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QImage>
#include <QPainter>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/picture_object.h"
#include "platform/qt/qt_picture_loader.h"
#include "platform/regional_settings.h"
#include "png/png_writer.h"
#include "startup/startup.h"
#include "window/report_form.h"
#include "window/report_pictures.h"

namespace {

namespace fs = std::filesystem;

// A game screen: flat colours in large areas, sprites, a score line; what
// emulator snapshots look like once scaled up.
std::vector<std::uint32_t> ScreenLike(std::uint32_t width, std::uint32_t height, std::uint32_t seed) {
  std::vector<std::uint32_t> pixels(std::size_t{width} * height);
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      const std::uint32_t cellX = x / 24;
      const std::uint32_t cellY = y / 24;
      std::uint32_t colour = (y < height / 3) ? 0x101848 : 0x306020;
      if ((cellX * 7 + cellY * 13 + seed) % 17 == 0) colour = 0xE0C040;
      if ((x / 6 + y / 6 + seed) % 41 == 0) colour = 0xF0F0F0;
      pixels[std::size_t{y} * width + x] = colour;
    }
  }
  return pixels;
}

void WriteBytes(const fs::path& file, const std::vector<std::uint8_t>& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

class Collection {
 public:
  Collection() : folder_(fs::temp_directory_path() / ("zorv-report-bench-" + std::to_string(::getpid()))) {
    using namespace zorv::png;
    const std::string history = "$info=gng\r\n$bio\r\nA knight.\r\n\r\n- TRIVIA -\r\nMore.\r\n$end\r\n";
    Write("datafiles/history.dat", history);
    Write("datafiles/index", "gng;BGhost Knight;S;C1;Q1," + std::to_string(history.size()) +
                                 ";U0,0\r\n[Manufacturer]\r\nMaker\r\n");
    WriteBytes(folder_ / "snap" / "gng.png", EncodeRgbPng(1920, 1080, ScreenLike(1920, 1080, 1)));
    WriteBytes(folder_ / "titles" / "gng.png", EncodeRgbPng(1920, 1080, ScreenLike(1920, 1080, 2)));

    PngImage alpha;
    alpha.width = 240;
    alpha.height = 180;
    alpha.colourType = PngColourType::Rgba;
    for (std::uint32_t i = 0; i < 240 * 180; ++i) {
      alpha.samples.insert(alpha.samples.end(), {static_cast<std::uint8_t>(i), 80, 200, static_cast<std::uint8_t>(i / 7)});
    }
    WriteBytes(folder_ / "marquees" / "gng.png", EncodePng(alpha));

    PngImage palette;
    palette.width = 320;
    palette.height = 240;
    palette.colourType = PngColourType::Palette;
    palette.bitDepth = 8;
    palette.interlaced = true;
    for (int i = 0; i < 16; ++i) palette.palette.insert(palette.palette.end(), {std::uint8_t(i * 16), 40, std::uint8_t(255 - i * 16)});
    palette.transparency = std::vector<std::uint8_t>{0, 128};
    for (std::uint32_t i = 0; i < 320 * 240; ++i) palette.samples.push_back(static_cast<std::uint8_t>((i / 7) % 16));
    WriteBytes(folder_ / "cabinets" / "gng.png", EncodePng(palette));

    QImage photo(480, 640, QImage::Format_RGB32);
    QPainter painter(&photo);
    painter.fillRect(photo.rect(), QColor(30, 30, 90));
    painter.setBrush(QColor(220, 60, 40));
    painter.drawEllipse(60, 80, 360, 360);
    painter.end();
    fs::create_directories(folder_ / "flyers");
    fs::create_directories(folder_ / "cpanel");
    photo.save(QString::fromStdString((folder_ / "flyers" / "gng.jpg").string()), "JPG", 85);
    photo.scaled(400, 160).convertToFormat(QImage::Format_Indexed8).save(
        QString::fromStdString((folder_ / "cpanel" / "gng.gif").string()), "GIF");
    Write("Zorv.inf", "TitlesPath=" + Folder() + "\\titles\r\nSnapPath=" + Folder() + "\\snap\r\nMarqueesPath=" +
                          Folder() + "\\marquees\r\nCabinetsPath=" + Folder() + "\\cabinets\r\nCpanelPath=" + Folder() +
                          "\\cpanel\r\nFlyersPath=" + Folder() + "\\flyers\r\n");
  }
  ~Collection() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  std::string Folder() const { return folder_.string(); }

 private:
  void Write(const std::string& name, const std::string& text) {
    fs::create_directories((folder_ / name).parent_path());
    std::ofstream(folder_ / name, std::ios::binary) << text;
  }
  fs::path folder_;
};

const Collection& TheCollection() {
  static const Collection collection;
  return collection;
}

using Clock = std::chrono::steady_clock;
double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void ReportWithSixPictures(benchmark::State& run) {
  const Collection& collection = TheCollection();
  zorv::QtPictureLoader loader;
  double startup = 0, load = 0, pictures = 0, rtf = 0;
  std::size_t bytes = 0;
  for (auto _ : run) {
    const auto t0 = Clock::now();
    zorv::SharedState state;
    state.ProgramFolder = collection.Folder();
    if (zorv::Main(state, "gng") != zorv::StartupOutcome::GameSheet) run.SkipWithError("no game");
    const auto t1 = Clock::now();
    const zorv::ScreenMetrics screen;
    zorv::ReportForm form(state, screen, zorv::UserRegionalSettings());
    form.Load();
    const auto t2 = Clock::now();
    zorv::PlainColourPicture window(state.BackColor, 28800, 16200);
    zorv::ReportPictures source(state, screen, loader, window);
    form.Activate(source);
    const auto t3 = Clock::now();
    const std::string report = form.Report().TextRTF();
    const auto t4 = Clock::now();
    bytes = report.size();
    startup += Ms(t1 - t0);
    load += Ms(t2 - t1);
    pictures += Ms(t3 - t2);
    rtf += Ms(t4 - t3);
  }
  const auto n = static_cast<double>(run.iterations());
  run.counters["startup_ms"] = startup / n;
  run.counters["load_ms"] = load / n;
  run.counters["pictures_ms"] = pictures / n;
  run.counters["rtf_out_ms"] = rtf / n;
  run.counters["rtf_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(ReportWithSixPictures)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
