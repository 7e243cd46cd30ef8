#pragma once
// The platform's picture loader for the formats the program does not decode
// itself (JPEG and GIF).
#include <string>

#include "platform/image.h"
#include "platform/run_time_error.h"

namespace zorv {

class PictureLoader {
 public:
  virtual ~PictureLoader() = default;
  // The picture of the file at its own size. Error 53 when the file does not
  // exist, 481 when it is not a picture the loader knows.
  virtual Image Load(const std::string& windowsPath) = 0;
  // The same for a picture file already in memory (taken out of an archive).
  // A loader that reads only files knows no picture here: error 481.
  virtual Image LoadBytes(const std::string& /*file*/) { throw RunTimeError(ErrorCode::InvalidPicture); }
};

}  // namespace zorv
