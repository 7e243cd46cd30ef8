#pragma once
// Where the report's pictures come from: a file is loaded into the scratch
// picture box, then the box's picture becomes an RTF picture group.
#include <string>

namespace zorv {

class PictureSource {
 public:
  virtual ~PictureSource() = default;
  // Loads the file into the scratch box. Failures are logged as
  // "ERROR F - n" and leave the box as it was.
  virtual void LoadPictureFile(const std::string& path) = 0;
  // The box's picture as a group that begins with "{\pict" and holds no "}"
  // before its own closing brace; empty when it cannot be made ("ERROR I - n").
  virtual std::string PictureToRtf() = 0;
};

}  // namespace zorv
