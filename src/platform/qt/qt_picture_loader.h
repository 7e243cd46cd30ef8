#pragma once
// JPEG and GIF pictures through Qt's image reader.
#include "platform/picture_loader.h"

namespace zorv {

class QtPictureLoader final : public PictureLoader {
 public:
  // Error 53 for a missing file, 481 for a file the reader cannot decode (an
  // empty or cut file, another format, a picture too large to hold).
  Image Load(const std::string& windowsPath) override;
};

}  // namespace zorv
