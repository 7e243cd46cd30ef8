#include "picture_plan.h"

namespace zorv::pictures {
namespace {

using enum Category;
using enum PictureFormat;

struct DemoPlan {
  std::string_view rom;
  std::vector<PlannedPicture> pictures;
};

const std::vector<DemoPlan>& DemoPlans() {
  static const std::vector<DemoPlan> plans = {
      {"gng",
       {{Title, PngPaletteTransparent, 320, 240, true},
        {Snapshot, PngInterlacedRgb, 320, 240, false},
        {Marquee, PngRgba, 480, 120, false},
        {Cabinet, Gif, 200, 360, false},
        {ControlPanel, PngRgb16, 360, 140, false},
        {Flyer, Jpeg, 300, 420, false}}},
      {"starfort",
       {{Title, PngGrey, 224, 256, false},
        {Snapshot, PngPalette16, 224, 256, false},
        {Marquee, Jpeg, 400, 100, false},
        {Cabinet, PngRgba, 180, 320, false},
        {ControlPanel, Gif, 320, 120, false},
        {Flyer, PngRgb, 240, 340, false}}},
      {"mazemnch",
       {{Title, PngPalette4, 224, 288, false},
        {Snapshot, Gif, 224, 288, false},
        {Marquee, PngGreyAlpha, 400, 100, false},
        {Cabinet, Jpeg, 200, 360, false},
        {ControlPanel, PngPaletteTransparent, 300, 110, true},
        {Flyer, PngPalette, 240, 340, false}}},
      {"tinyrace",
       {{Title, Gif, 224, 288, true},
        {Snapshot, PngRgb, 224, 288, false},
        {Marquee, PngInterlacedRgb, 400, 100, false},
        {Cabinet, PngPaletteTransparent, 180, 320, false},
        {ControlPanel, Jpeg, 320, 120, false},
        {Flyer, PngRgb16, 200, 280, false}}},
      {"nightclb",
       {{Title, PngRgba, 292, 240, true},
        {Snapshot, PngPalette, 292, 240, false},
        {Marquee, Gif, 400, 100, false},
        {Cabinet, PngGreyAlpha, 180, 320, false},
        {ControlPanel, PngRgb, 320, 120, false},
        {Flyer, Jpeg, 240, 340, false}}},
  };
  return plans;
}

}  // namespace

std::vector<PlannedPicture> PlanFor(std::string_view romName) {
  for (const DemoPlan& plan : DemoPlans())
    if (plan.rom == romName) return plan.pictures;
  return {{Title, PngRgb, 320, 240, false},   {Snapshot, PngRgb, 320, 240, false},
          {Marquee, PngRgba, 480, 120, false}, {Cabinet, PngRgba, 200, 360, false},
          {ControlPanel, PngRgb, 360, 140, false}, {Flyer, Jpeg, 300, 420, false}};
}

}  // namespace zorv::pictures
