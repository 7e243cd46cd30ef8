#pragma once
// The one way the report window sets its PNG decoder up, which the tests,
// tools and benchmarks take as well: drawn at the top left of the box, the box
// sized to the image, transparency and alpha blended onto the window behind it.
#include "platform/picture_box.h"
#include "platform/picture_object.h"
#include "png/load_png.h"

namespace zorv::png {

// Returns the decoder, ready for OpenPNG or OpenPNGBytes.
inline LoadPNG& SetUpForReport(LoadPNG& decoder, PictureBox& box, PictureObject& window) {
  decoder.PicBox(&box);
  decoder.SetToBkgrnd(false, 0, 0);
  decoder.BackgroundPicture(&window);
  decoder.SetAlpha(true);
  decoder.SetTrans(true);
  return decoder;
}

}  // namespace zorv::png
