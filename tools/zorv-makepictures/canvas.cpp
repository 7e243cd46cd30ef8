#include "canvas.h"

#include <algorithm>
#include <cmath>

#include "platform/run_time_error.h"

namespace zorv::pictures {
namespace {

std::uint8_t Lerp(std::uint8_t a, std::uint8_t b, double t) {
  return static_cast<std::uint8_t>(std::lround(a + (b - a) * std::clamp(t, 0.0, 1.0)));
}

}  // namespace

Rgba Mix(Rgba from, Rgba to, double t) {
  return {Lerp(from.r, to.r, t), Lerp(from.g, to.g, t), Lerp(from.b, to.b, t), Lerp(from.a, to.a, t)};
}

Rgba WithAlpha(Rgba colour, std::uint8_t alpha) {
  colour.a = alpha;
  return colour;
}

Canvas::Canvas(int width, int height, Rgba fill) : width_(width), height_(height) {
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384) throw RunTimeError(ErrorCode::InvalidArgument);
  pixels_.assign(static_cast<std::size_t>(width) * height, fill);
}

void Canvas::Set(int x, int y, Rgba colour) {
  if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[Index(x, y)] = colour;
}

// Porter-Duff "over" with straight (not premultiplied) alpha.
void Canvas::Blend(int x, int y, Rgba colour, double coverage) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || coverage <= 0) return;
  Rgba& under = pixels_[Index(x, y)];
  const double top = colour.a / 255.0 * std::min(coverage, 1.0);
  const double bottom = under.a / 255.0;
  const double out = top + bottom * (1 - top);
  if (out <= 0) return;
  auto channel = [&](std::uint8_t c, std::uint8_t u) {
    return static_cast<std::uint8_t>(std::lround((c * top + u * bottom * (1 - top)) / out));
  };
  under = {channel(colour.r, under.r), channel(colour.g, under.g), channel(colour.b, under.b),
           static_cast<std::uint8_t>(std::lround(out * 255))};
}

void Canvas::FillRect(int x, int y, int width, int height, Rgba colour) {
  for (int row = std::max(0, y); row < std::min(height_, y + height); ++row)
    for (int col = std::max(0, x); col < std::min(width_, x + width); ++col) Blend(col, row, colour);
}

void Canvas::VerticalGradient(int x, int y, int width, int height, Rgba top, Rgba bottom) {
  for (int row = 0; row < height; ++row)
    FillRect(x, y + row, width, 1, Mix(top, bottom, height > 1 ? row / double(height - 1) : 0));
}

void Canvas::HorizontalGradient(int x, int y, int width, int height, Rgba left, Rgba right) {
  for (int col = 0; col < width; ++col)
    FillRect(x + col, y, 1, height, Mix(left, right, width > 1 ? col / double(width - 1) : 0));
}

void Canvas::Checkerboard(int x, int y, int width, int height, int cell, Rgba first, Rgba second) {
  for (int row = 0; row < height; ++row)
    for (int col = 0; col < width; ++col)
      Blend(x + col, y + row, ((col / cell + row / cell) % 2 == 0) ? first : second);
}

void Canvas::FillCircle(double cx, double cy, double radius, Rgba colour) {
  const int top = static_cast<int>(std::floor(cy - radius - 1)), bottom = static_cast<int>(std::ceil(cy + radius + 1));
  const int left = static_cast<int>(std::floor(cx - radius - 1)), right = static_cast<int>(std::ceil(cx + radius + 1));
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) {
      const double distance = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
      Blend(x, y, colour, radius + 0.5 - distance);
    }
}

void Canvas::Ring(double cx, double cy, double radius, double thickness, Rgba colour) {
  const int top = static_cast<int>(std::floor(cy - radius - 1)), bottom = static_cast<int>(std::ceil(cy + radius + 1));
  const int left = static_cast<int>(std::floor(cx - radius - 1)), right = static_cast<int>(std::ceil(cx + radius + 1));
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) {
      const double distance = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
      const double outside = radius + 0.5 - distance;
      const double inside = distance - (radius - thickness) + 0.5;
      Blend(x, y, colour, std::min(outside, inside));
    }
}

void Canvas::RadialGradient(double cx, double cy, double radius, Rgba inner, Rgba outer) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) Blend(x, y, Mix(inner, outer, std::hypot(x + 0.5 - cx, y + 0.5 - cy) / radius));
}

void Canvas::FillPolygon(std::span<const Point> points, Rgba colour) {
  if (points.size() < 3) return;
  std::vector<double> crossings;
  for (int y = 0; y < height_; ++y) {
    const double sy = y + 0.5;
    crossings.clear();
    for (std::size_t i = 0; i < points.size(); ++i) {
      const Point& a = points[i];
      const Point& b = points[(i + 1) % points.size()];
      if ((a.y <= sy) != (b.y <= sy)) crossings.push_back(a.x + (sy - a.y) / (b.y - a.y) * (b.x - a.x));
    }
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t i = 0; i + 1 < crossings.size(); i += 2)
      for (int x = static_cast<int>(std::ceil(crossings[i] - 0.5)); x + 0.5 < crossings[i + 1]; ++x) Blend(x, y, colour);
  }
}

void Canvas::Line(Point from, Point to, double thickness, Rgba colour) {
  const double dx = to.x - from.x, dy = to.y - from.y;
  const double length = std::hypot(dx, dy);
  if (length == 0) return;
  const double nx = -dy / length * thickness / 2, ny = dx / length * thickness / 2;
  const Point quad[] = {{from.x + nx, from.y + ny}, {to.x + nx, to.y + ny}, {to.x - nx, to.y - ny}, {from.x - nx, from.y - ny}};
  FillPolygon(quad, colour);
}

void Canvas::RoundCorners(double radius) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      const double cx = std::clamp(x + 0.5, radius, width_ - radius);
      const double cy = std::clamp(y + 0.5, radius, height_ - radius);
      const double inside = std::clamp(radius + 0.5 - std::hypot(x + 0.5 - cx, y + 0.5 - cy), 0.0, 1.0);
      Rgba& p = pixels_[Index(x, y)];
      p.a = static_cast<std::uint8_t>(std::lround(p.a * inside));
    }
}

}  // namespace zorv::pictures
