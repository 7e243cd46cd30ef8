#pragma once
// The platform's picture loader for the formats the program does not decode
// itself (JPEG and GIF).
#include <string>

#include "platform/image.h"

namespace zorv {

class PictureLoader {
 public:
  virtual ~PictureLoader() = default;
  // The picture of the file at its own size. Error 53 when the file does not
  // exist, 481 when it is not a picture the loader knows.
  virtual Image Load(const std::string& windowsPath) = 0;
};

}  // namespace zorv
