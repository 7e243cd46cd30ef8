#pragma once
// The platform's picture loader for JPEG and GIF files, through Qt's image
// readers. PNG files never come here: the program decodes them itself.
#include "platform/picture_loader.h"

namespace zorv {

class QtPictureLoader final : public PictureLoader {
 public:
  // The first frame at its own size; transparent pixels show white, the
  // picture box's background. Error 53 for a missing file, 481 for one that
  // is not a picture Qt reads or is larger than a picture box can hold.
  Image Load(const std::string& windowsPath) override;
  Image LoadBytes(const std::string& file) override;
};

}  // namespace zorv
