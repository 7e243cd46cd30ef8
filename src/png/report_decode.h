#pragma once
// The way the report window hands a PNG file to its decoder: drawn at the
// top left of the box, the box sized to the image, transparency and alpha
// blended onto the window behind it.
#include <string>

#include "platform/picture_box.h"
#include "platform/picture_object.h"
#include "png/load_png.h"

namespace zorv::png {

inline void DecodeForReport(LoadPNG& decoder, PictureBox& box, PictureObject& background, const std::string& path) {
  decoder.PicBox(&box);
  decoder.SetToBkgrnd(false, 0, 0);
  decoder.BackgroundPicture(&background);
  decoder.SetAlpha(true);
  decoder.SetTrans(true);
  decoder.OpenPNG(path);
}

}  // namespace zorv::png
