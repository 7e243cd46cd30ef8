#pragma once
// The screen's metrics that pictures need: how many twips (1/1440 inch) one
// pixel covers across and down.
namespace zorv {

struct Screen {
  float twipsPerPixelX = 15.0F;
  float twipsPerPixelY = 15.0F;
};

}  // namespace zorv
