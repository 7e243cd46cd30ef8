#pragma once
// An RGBA drawing surface with the few shapes the artwork is made of. Shapes
// are blended over what is there; edges of circles are smoothed.
#include <cstdint>
#include <span>
#include <vector>

namespace zorv::pictures {

struct Rgba {
  std::uint8_t r = 0, g = 0, b = 0, a = 255;
  friend bool operator==(const Rgba&, const Rgba&) = default;
};

// Mixes two colours, `t` from 0 (all `from`) to 1 (all `to`), alpha included.
Rgba Mix(Rgba from, Rgba to, double t);
Rgba WithAlpha(Rgba colour, std::uint8_t alpha);

struct Point {
  double x, y;
};

class Canvas {
 public:
  Canvas(int width, int height, Rgba fill = {0, 0, 0, 0});

  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgba At(int x, int y) const { return pixels_[Index(x, y)]; }
  const std::vector<Rgba>& Pixels() const { return pixels_; }

  // Replaces a pixel, alpha included; outside the canvas nothing happens.
  void Set(int x, int y, Rgba colour);
  // Blends `colour` over a pixel with `coverage` (0..1) scaling its alpha.
  void Blend(int x, int y, Rgba colour, double coverage = 1.0);

  void FillRect(int x, int y, int width, int height, Rgba colour);
  void VerticalGradient(int x, int y, int width, int height, Rgba top, Rgba bottom);
  void HorizontalGradient(int x, int y, int width, int height, Rgba left, Rgba right);
  void Checkerboard(int x, int y, int width, int height, int cell, Rgba first, Rgba second);
  void FillCircle(double cx, double cy, double radius, Rgba colour);
  void Ring(double cx, double cy, double radius, double thickness, Rgba colour);
  // Concentric bands from `inner` at the centre to `outer` at `radius`.
  void RadialGradient(double cx, double cy, double radius, Rgba inner, Rgba outer);
  // Even-odd filled polygon, sampled at pixel centres.
  void FillPolygon(std::span<const Point> points, Rgba colour);
  void Line(Point from, Point to, double thickness, Rgba colour);
  // Makes the area outside a rounded rectangle of the whole canvas transparent.
  void RoundCorners(double radius);

 private:
  std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }
  int width_;
  int height_;
  std::vector<Rgba> pixels_;
};

}  // namespace zorv::pictures
