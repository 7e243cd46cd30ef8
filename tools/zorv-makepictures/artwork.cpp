#include "artwork.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>
#include <vector>

#include "pixel_font.h"

namespace zorv::pictures {
namespace {

// A small generator of our own so that the pictures do not depend on a
// library's random-number implementation.
class Dice {
 public:
  explicit Dice(std::uint32_t seed) : state_(seed * 2654435761u + 0x9E3779B9u) {}
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  int Below(int limit) { return static_cast<int>(Next() % static_cast<std::uint32_t>(limit)); }

 private:
  std::uint32_t state_;
};

Rgba FromHue(double hue, double saturation, double value) {
  const double h = std::fmod(hue, 360.0) / 60.0;
  const double c = value * saturation;
  const double x = c * (1 - std::fabs(std::fmod(h, 2.0) - 1));
  double r = 0, g = 0, b = 0;
  switch (static_cast<int>(h)) {
    case 0: r = c, g = x; break;
    case 1: r = x, g = c; break;
    case 2: g = c, b = x; break;
    case 3: g = x, b = c; break;
    case 4: r = x, b = c; break;
    default: r = c, b = x; break;
  }
  const double m = value - c;
  auto byte = [&](double v) { return static_cast<std::uint8_t>(std::lround((v + m) * 255)); };
  return {byte(r), byte(g), byte(b), 255};
}

// The colours of one game: a main hue and two companions around the wheel.
struct Theme {
  Rgba deep, main, light, accent, contrast;
};

Theme MakeTheme(std::uint32_t seed) {
  const double hue = seed % 360;
  return {FromHue(hue, 0.8, 0.18), FromHue(hue, 0.75, 0.7), FromHue(hue, 0.35, 0.95),
          FromHue(hue + 150, 0.85, 0.95), FromHue(hue + 60, 0.9, 1.0)};
}

constexpr Rgba kBlack{0, 0, 0, 255};
constexpr Rgba kWhite{255, 255, 255, 255};
constexpr Rgba kTransparent{0, 0, 0, 0};

// The title on one line or split in two, whichever lets it be drawn larger
// within `width` × `height`, centred on `centreY`.
void DrawTitle(Canvas& canvas, const std::string& title, int width, int height, int centreY, int largest,
               const TextStyle& base) {
  auto scaleFor = [&](const std::vector<std::string>& lines) {
    std::size_t longest = 0;
    for (const auto& line : lines) longest = std::max(longest, line.size());
    int scale = FittingScale(std::string(longest, 'W'), width, largest);
    while (scale > 1 && static_cast<int>(lines.size()) * 10 * scale - 3 * scale > height) --scale;
    return scale;
  };
  std::vector<std::string> lines = {title};
  int scale = scaleFor(lines);
  if (const auto space = title.find(' '); space != std::string::npos) {
    const std::vector<std::string> split = {title.substr(0, space), title.substr(space + 1)};
    if (const int splitScale = scaleFor(split); splitScale > scale) {
      lines = split;
      scale = splitScale;
    }
  }
  TextStyle style = base;
  style.scale = scale;
  const int lineHeight = TextHeight(scale) + scale * 3;
  int y = centreY - (lineHeight * static_cast<int>(lines.size()) - scale * 3) / 2;
  for (const auto& line : lines) {
    DrawTextCentred(canvas, canvas.Width() / 2, y, line, style);
    y += lineHeight;
  }
}

void Stars(Canvas& canvas, Dice& dice, int count, int maxY) {
  for (int i = 0; i < count; ++i) {
    const int x = dice.Below(canvas.Width()), y = dice.Below(std::max(1, maxY));
    canvas.Set(x, y, dice.Below(4) == 0 ? Rgba{255, 255, 160, 255} : kWhite);
  }
}

// A little knight-like figure of blocks, `unit` pixels per block.
void Hero(Canvas& canvas, int x, int y, int unit, const Theme& theme) {
  canvas.FillRect(x + unit, y, 2 * unit, 2 * unit, theme.light);                    // helmet
  canvas.FillRect(x + 2 * unit, y + unit / 2, unit, unit / 2 + 1, kBlack);          // visor
  canvas.FillRect(x, y + 2 * unit, 4 * unit, 3 * unit, theme.main);                 // body
  canvas.FillRect(x + 4 * unit, y + 2 * unit, 2 * unit, unit / 2 + 1, theme.light); // lance
  canvas.FillRect(x, y + 5 * unit, unit + unit / 2, 2 * unit, theme.deep);          // legs
  canvas.FillRect(x + 2 * unit + unit / 2, y + 5 * unit, unit + unit / 2, 2 * unit, theme.deep);
}

// A wisp: a round head trailing off to one side in a point, with hollow eyes.
void Wisp(Canvas& canvas, double cx, double cy, double r, Rgba body) {
  canvas.FillCircle(cx, cy, r, body);
  const Point tail[] = {{cx - r, cy}, {cx + r, cy + r * 0.2}, {cx + r * 1.4, cy + r * 2.6}};
  canvas.FillPolygon(tail, body);
  canvas.FillCircle(cx - r * 0.35, cy - r * 0.1, r * 0.2, kBlack);
  canvas.FillCircle(cx + r * 0.3, cy - r * 0.1, r * 0.2, kBlack);
  canvas.Ring(cx, cy + r * 0.45, r * 0.22, r * 0.1, kBlack);
}

void Sunburst(Canvas& canvas, double cx, double cy, int rays, Rgba colour) {
  const double reach = std::hypot(canvas.Width(), canvas.Height());
  for (int i = 0; i < rays; ++i) {
    const double a0 = 2 * std::numbers::pi * i / rays;
    const double a1 = a0 + std::numbers::pi / rays;
    const Point ray[] = {{cx, cy}, {cx + reach * std::cos(a0), cy + reach * std::sin(a0)},
                         {cx + reach * std::cos(a1), cy + reach * std::sin(a1)}};
    canvas.FillPolygon(ray, colour);
  }
}

Canvas TitleScreen(const GameArt& art, const Theme& theme, int w, int h) {
  Dice dice(art.seed);
  Canvas canvas(w, h, kBlack);
  canvas.VerticalGradient(0, 0, w, h, kBlack, theme.deep);
  Stars(canvas, dice, w * h / 400, h * 2 / 3);
  canvas.FillCircle(w * 0.78, h * 0.22, h * 0.09, theme.light);
  canvas.FillCircle(w * 0.75, h * 0.2, h * 0.08, WithAlpha(theme.deep, 230));
  // Hills along the bottom.
  for (int i = 0; i < 4; ++i) canvas.FillCircle(w * (0.1 + 0.3 * i), h * 1.05, h * 0.22, theme.deep);
  const int titleWidth = w * 9 / 10;
  DrawTitle(canvas, art.title, titleWidth, h / 2, h * 7 / 20, std::max(2, h / 36),
            TextStyle{1, theme.contrast, WithAlpha(theme.main, 255), kBlack});
  const TextStyle small{std::max(1, h / 160), kWhite, kTransparent, kTransparent};
  DrawTextCentred(canvas, w / 2, h * 7 / 10, "PUSH START BUTTON", small);
  DrawTextCentred(canvas, w / 2, h * 7 / 10 + 14 * small.scale, "1 PLAYER - 2 PLAYERS", TextStyle{small.scale, theme.accent});
  DrawText(canvas, 4, h - 10 * small.scale, "CREDIT 0", small);
  return canvas;
}

Canvas Snapshot(const GameArt& art, const Theme& theme, int w, int h) {
  Dice dice(art.seed + 1);
  Canvas canvas(w, h, kBlack);
  canvas.VerticalGradient(0, 0, w, h * 3 / 4, theme.deep, theme.main);
  const int ground = h * 3 / 4;
  canvas.Checkerboard(0, ground, w, h - ground, std::max(4, h / 24), Mix(theme.deep, kBlack, 0.3), theme.deep);
  // Platforms and tombstone-like blocks.
  const int unit = std::max(2, h / 45);
  for (int i = 0; i < 4; ++i) {
    const int px = dice.Below(std::max(1, w - w / 4)), py = h / 3 + dice.Below(std::max(1, h / 3));
    canvas.FillRect(px, py, w / 4, unit * 2, theme.light);
    canvas.FillRect(px, py + unit * 2, w / 4, unit, Mix(theme.light, kBlack, 0.5));
  }
  for (int i = 0; i < 5; ++i) {
    const int bx = dice.Below(w - 3 * unit);
    canvas.FillRect(bx, ground - 5 * unit, 3 * unit, 5 * unit, Rgba{150, 150, 160, 255});
    canvas.FillCircle(bx + 1.5 * unit, ground - 5 * unit, 1.5 * unit, Rgba{150, 150, 160, 255});
  }
  Hero(canvas, w / 6, ground - 7 * unit, unit, theme);
  for (int i = 0; i < 3; ++i)
    Wisp(canvas, w * (0.5 + 0.15 * i), h * (0.35 + 0.1 * dice.Below(3)), 3.5 * unit, i % 2 ? theme.accent : theme.contrast);
  const TextStyle score{std::max(1, h / 200), kWhite};
  DrawText(canvas, 4, 4, "1UP", TextStyle{score.scale, theme.contrast});
  DrawText(canvas, 4, 4 + 9 * score.scale, "004200", score);
  DrawTextCentred(canvas, w / 2, 4, "HI SCORE", TextStyle{score.scale, theme.accent});
  DrawTextCentred(canvas, w / 2, 4 + 9 * score.scale, "050000", score);
  return canvas;
}

Canvas Marquee(const GameArt& art, const Theme& theme, int w, int h) {
  Canvas canvas(w, h, kBlack);
  canvas.HorizontalGradient(0, 0, w, h, theme.deep, theme.main);
  Sunburst(canvas, w / 2.0, h * 1.2, 24, WithAlpha(theme.light, 60));
  canvas.FillRect(0, 0, w, h / 12, theme.accent);
  canvas.FillRect(0, h - h / 12, w, h / 12, theme.accent);
  DrawTitle(canvas, art.title, w * 9 / 10, h * 3 / 4, h / 2, std::max(2, h / 9), TextStyle{1, theme.contrast, kBlack, kBlack});
  // Rounded corners with smoothed, half-transparent edges, as a backlit sign is cut.
  canvas.RoundCorners(h / 5.0);
  return canvas;
}

Canvas Cabinet(const GameArt& art, const Theme& theme, int w, int h) {
  Canvas canvas(w, h, kTransparent);
  const double W = w, H = h;
  const Point side[] = {{W * 0.15, H * 0.02}, {W * 0.85, H * 0.02}, {W * 0.85, H * 0.98}, {W * 0.15, H * 0.98}};
  canvas.FillPolygon(side, theme.deep);
  // Side art: diagonal stripes inside the body.
  for (int i = 0; i < 6; ++i)
    canvas.Line({W * 0.15, H * (0.55 + i * 0.07)}, {W * 0.85, H * (0.35 + i * 0.07)}, H * 0.015, theme.main);
  canvas.FillRect(static_cast<int>(W * 0.18), static_cast<int>(H * 0.04), static_cast<int>(W * 0.64), static_cast<int>(H * 0.1), theme.accent);
  DrawTextCentred(canvas, w / 2, static_cast<int>(H * 0.065), art.title.substr(0, art.title.find(' ')),
                  TextStyle{std::max(1, w / 120), kBlack});
  canvas.FillRect(static_cast<int>(W * 0.22), static_cast<int>(H * 0.18), static_cast<int>(W * 0.56), static_cast<int>(H * 0.3), Rgba{20, 20, 24, 255});
  canvas.VerticalGradient(static_cast<int>(W * 0.26), static_cast<int>(H * 0.2), static_cast<int>(W * 0.48), static_cast<int>(H * 0.26), theme.main, theme.deep);
  const Point panel[] = {{W * 0.1, H * 0.52}, {W * 0.9, H * 0.52}, {W * 0.95, H * 0.6}, {W * 0.05, H * 0.6}};
  canvas.FillPolygon(panel, theme.light);
  canvas.FillCircle(W * 0.3, H * 0.55, W * 0.03, kBlack);
  canvas.FillCircle(W * 0.6, H * 0.555, W * 0.025, theme.accent);
  canvas.FillCircle(W * 0.7, H * 0.555, W * 0.025, theme.contrast);
  // Coin door.
  canvas.FillRect(static_cast<int>(W * 0.38), static_cast<int>(H * 0.7), static_cast<int>(W * 0.24), static_cast<int>(H * 0.14), Rgba{60, 60, 66, 255});
  canvas.FillRect(static_cast<int>(W * 0.43), static_cast<int>(H * 0.74), static_cast<int>(W * 0.03), static_cast<int>(H * 0.04), theme.contrast);
  canvas.FillRect(static_cast<int>(W * 0.54), static_cast<int>(H * 0.74), static_cast<int>(W * 0.03), static_cast<int>(H * 0.04), theme.contrast);
  return canvas;
}

Canvas ControlPanel(const GameArt& art, const Theme& theme, int w, int h) {
  Canvas canvas(w, h, kBlack);
  canvas.VerticalGradient(0, 0, w, h, theme.light, theme.main);
  canvas.FillRect(0, 0, w, h / 10, theme.deep);
  canvas.FillRect(0, h - h / 10, w, h / 10, theme.deep);
  const double r = h * 0.12;
  for (int player = 0; player < 2; ++player) {
    const double x0 = w * (player == 0 ? 0.08 : 0.55);
    canvas.FillCircle(x0 + r * 1.5, h * 0.55, r * 1.2, Rgba{30, 30, 30, 255});  // joystick base
    canvas.Line({x0 + r * 1.5, h * 0.55}, {x0 + r * 1.5, h * 0.35}, r * 0.3, Rgba{200, 200, 200, 255});
    canvas.FillCircle(x0 + r * 1.5, h * 0.33, r * 0.7, player == 0 ? theme.accent : theme.contrast);
    for (int b = 0; b < 3; ++b) {
      const double bx = x0 + r * (4.2 + b * 2.2), by = h * 0.55;
      canvas.FillCircle(bx, by, r * 0.85, kBlack);
      canvas.FillCircle(bx, by, r * 0.7, b == 0 ? theme.accent : theme.contrast);
      canvas.Ring(bx, by, r * 0.7, r * 0.15, WithAlpha(kWhite, 120));
    }
    DrawText(canvas, static_cast<int>(x0), static_cast<int>(h * 0.8), player == 0 ? "1P" : "2P",
             TextStyle{std::max(1, h / 60), kWhite});
  }
  DrawTextCentred(canvas, w / 2, h / 40, art.title, TextStyle{std::max(1, h / 70), theme.contrast});
  return canvas;
}

Canvas Flyer(const GameArt& art, const Theme& theme, int w, int h) {
  Dice dice(art.seed + 2);
  Canvas canvas(w, h, kBlack);
  canvas.RadialGradient(w / 2.0, h * 0.45, h * 0.7, theme.main, theme.deep);
  Sunburst(canvas, w / 2.0, h * 0.45, 16, WithAlpha(theme.light, 50));
  canvas.FillCircle(w / 2.0, h * 0.45, w * 0.28, theme.contrast);
  canvas.Ring(w / 2.0, h * 0.45, w * 0.33, w * 0.02, theme.accent);
  Wisp(canvas, w * 0.47, h * 0.4, w * 0.13, theme.deep);
  for (int i = 0; i < 6; ++i)
    canvas.FillCircle(dice.Below(w), h * 0.6 + dice.Below(h / 5), w * 0.02 + dice.Below(4), theme.light);
  DrawTitle(canvas, art.title, w * 9 / 10, h / 5, h / 8, std::max(2, w / 40), TextStyle{1, kWhite, kBlack, theme.deep});
  const TextStyle small{std::max(1, w / 150), theme.light};
  DrawTextCentred(canvas, w / 2, h * 8 / 10, "INSERT COIN", TextStyle{small.scale + 1, theme.accent, kBlack});
  DrawTextCentred(canvas, w / 2, h * 8 / 10 + 14 * (small.scale + 1), "1 OR 2 PLAYERS", small);
  // Frame.
  canvas.FillRect(0, 0, w, 4, theme.accent);
  canvas.FillRect(0, h - 4, w, 4, theme.accent);
  canvas.FillRect(0, 0, 4, h, theme.accent);
  canvas.FillRect(w - 4, 0, 4, h, theme.accent);
  return canvas;
}

struct DemoTitle {
  const char* rom;
  const char* title;
};

// Invented titles for the demo collection's games.
constexpr DemoTitle kDemoTitles[] = {
    {"gng", "GRAVES N GARGOYLES"},
    {"starfort", "STAR FORTRESS"},
    {"mazemnch", "MAZE MUNCHER"},
    {"tinyrace", "TINY RACERS"},
    {"nightclb", "NEON NIGHT CLUB"},
};

}  // namespace

std::string_view FolderName(Category category) {
  switch (category) {
    case Category::Title: return "titles";
    case Category::Snapshot: return "snap";
    case Category::Marquee: return "marquees";
    case Category::Cabinet: return "cabinets";
    case Category::ControlPanel: return "cpanel";
    case Category::Flyer: return "flyers";
  }
  return {};
}

GameArt ArtFor(std::string_view romName, std::string_view title) {
  GameArt art;
  std::uint32_t hash = 2166136261u;  // FNV-1a over the name
  for (char c : romName) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  art.seed = hash;
  if (!title.empty()) {
    art.title = std::string(title);
  } else {
    for (const DemoTitle& demo : kDemoTitles)
      if (romName == demo.rom) art.title = demo.title;
    if (art.title.empty()) art.title = std::string(romName);
  }
  for (char& c : art.title) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return art;
}

Canvas DrawPicture(const GameArt& art, Category category, int width, int height) {
  const Theme theme = MakeTheme(art.seed);
  switch (category) {
    case Category::Title: return TitleScreen(art, theme, width, height);
    case Category::Snapshot: return Snapshot(art, theme, width, height);
    case Category::Marquee: return Marquee(art, theme, width, height);
    case Category::Cabinet: return Cabinet(art, theme, width, height);
    case Category::ControlPanel: return ControlPanel(art, theme, width, height);
    case Category::Flyer: return Flyer(art, theme, width, height);
  }
  return Canvas(width, height);
}

}  // namespace zorv::pictures
