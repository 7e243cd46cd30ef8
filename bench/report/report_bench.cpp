// A game's report with six pictures, from start-up to the finished RTF, as
// zorv-report makes it: two snapshot-like 1920 x 1080 PNG pictures, two small
// PNG pictures (one with alpha, one interlaced with 16-bit samples), a JPEG and
// a GIF, the PNG files written by libpng. Each phase is timed on its own too, to
// show where the time goes. Beside it, one 1920 x 1080 picture group made on its
// own, against libpng writing the same picture to memory.
#include <benchmark/benchmark.h>
#include <png.h>
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
#include "startup/startup.h"
#include "window/report_form.h"
#include "window/picture_group.h"
#include "window/report_pictures.h"
#include "libpng_file.h"

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

std::vector<std::uint8_t> RgbSamples(const std::vector<std::uint32_t>& pixels) {
  std::vector<std::uint8_t> rgb;
  rgb.reserve(pixels.size() * 3);
  for (const std::uint32_t p : pixels)
    rgb.insert(rgb.end(), {std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p)});
  return rgb;
}

class Collection {
 public:
  Collection() : folder_(fs::temp_directory_path() / ("zorv-report-bench-" + std::to_string(::getpid()))) {
    const std::string history = "$info=gng\r\n$bio\r\nA knight.\r\n\r\n- TRIVIA -\r\nMore.\r\n$end\r\n";
    Write("datafiles/history.dat", history);
    Write("datafiles/index", "gng;BGhost Knight;S;C1;Q1," + std::to_string(history.size()) +
                                 ";U0,0\r\n[Manufacturer]\r\nMaker\r\n");
    zorv::bench::PngFileImage snap{1920, 1080, PNG_COLOR_TYPE_RGB, 8, false, RgbSamples(ScreenLike(1920, 1080, 1))};
    zorv::bench::WritePngFile(folder_ / "snap" / "gng.png", snap);
    snap.samples = RgbSamples(ScreenLike(1920, 1080, 2));
    zorv::bench::WritePngFile(folder_ / "titles" / "gng.png", snap);

    zorv::bench::PngFileImage alpha{240, 180, PNG_COLOR_TYPE_RGBA, 8, false, {}};
    for (std::uint32_t i = 0; i < 240 * 180; ++i)
      alpha.samples.insert(alpha.samples.end(), {std::uint8_t(i), 80, 200, std::uint8_t(i / 7)});
    zorv::bench::WritePngFile(folder_ / "marquees" / "gng.png", alpha);

    zorv::bench::PngFileImage deep{320, 240, PNG_COLOR_TYPE_RGB, 16, true, {}};
    for (std::uint32_t y = 0; y < 240; ++y)
      for (std::uint32_t x = 0; x < 320; ++x)
        deep.samples.insert(deep.samples.end(), {std::uint8_t(x / 2), std::uint8_t(x * 37), 40, std::uint8_t(y * 3),
                                                 std::uint8_t(255 - y), std::uint8_t(x ^ y)});
    zorv::bench::WritePngFile(folder_ / "cabinets" / "gng.png", deep);

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

zorv::Image GameScreen() {
  zorv::Image picture(1920, 1080);
  picture.pixels = ScreenLike(1920, 1080, 1);
  return picture;
}

void PictureGroupOf1920x1080(benchmark::State& run) {
  const zorv::Image picture = GameScreen();
  std::size_t bytes = 0;
  for (auto _ : run) bytes = zorv::PictureGroup(picture, zorv::ScreenMetrics{}).size();
  run.counters["group_KB"] = static_cast<double>(bytes) / 1e3;
}
BENCHMARK(PictureGroupOf1920x1080)->Unit(benchmark::kMillisecond);

// The reference: libpng's simplified writer, default settings, the same pixels to a PNG in memory.
void LibpngWritesTheSamePicture(benchmark::State& run) {
  const std::vector<std::uint8_t> rgb = RgbSamples(GameScreen().pixels);
  std::vector<std::uint8_t> png(rgb.size() + (1 << 20));
  png_alloc_size_t bytes = 0;
  for (auto _ : run) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = 1920;
    image.height = 1080;
    image.format = PNG_FORMAT_RGB;
    bytes = png.size();
    if (!png_image_write_to_memory(&image, png.data(), &bytes, 0, rgb.data(), 0, nullptr)) run.SkipWithError("libpng");
  }
  run.counters["png_KB"] = static_cast<double>(bytes) / 1e3;
}
BENCHMARK(LibpngWritesTheSamePicture)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
