#pragma once
// The sheet's pictures as zorv-report puts them in. Every file goes through the
// window's own loading, so a file that fails leaves the box as it was and the
// tag gets what the window would show. For the RTF format the box's picture is
// the group, as the window saves it. For a page or a text, a picture the box got
// from a file is not copied into the report: its group holds the box's size and
// a reference to the file, which a page links and a text names.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/screen_metrics.h"
#include "richtext/document.h"
#include "startup/shared_state.h"
#include "window/picture_source.h"
#include "window/report_pictures.h"

namespace zorv {

// A picture file the sheet shows.
struct ShownFile {
  std::size_t category = 0;  // 1 title, 2 snapshot, 3 marquee, 4 cabinet, 5 control panel, 6 flyer
  std::string path;          // as ImagePath holds it: a file, or a picture in an archive
};

// What a reader calls a picture of the category (1 to 6; 0 for a picture of the
// report itself), in the sheet's language (0 French), Windows-1252.
std::string_view PictureWord(std::size_t category, std::int32_t language);

// The file's own name, Windows-1252: "gng.png" for "pictures\snap\gng.png" and
// for "snap\|snap/gng.png".
std::string FileNameOf(const ShownFile& file);

class SheetPictures final : public PictureSource {
 public:
  // `pictures` must outlive this object; `state` is the game's.
  SheetPictures(const SharedState& state, ReportPictures& pictures, const ScreenMetrics& screen, bool linked);

  void LoadPictureFile(const std::string& path) override;
  std::string PictureToRtf() override;

  // The file behind a group made here by reference; null for any other picture.
  const ShownFile* FileOf(const richtext::Picture& picture) const;

 private:
  const SharedState& state_;
  ReportPictures& pictures_;
  ScreenMetrics screen_;
  const bool linked_;
  std::size_t category_ = 0;  // of the last file loaded
  std::optional<ShownFile> inBox_;
  std::vector<ShownFile> referenced_;
};

}  // namespace zorv
