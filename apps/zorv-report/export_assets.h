#pragma once
// The assets of an export's pages: one stylesheet, zorv.css, for all of them;
// every picture a page shows written once into pictures/ (a found file's bytes
// as they are, in a folder per category; a picture of the report itself under
// its content's hash in pictures/report/); and links to the index, to a clone's
// parent and to a parent's clones. Shared by the export's threads.
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "export_names.h"
#include "sheet_page.h"

namespace zorv {

// Where a game of the export stands: its page's file name (empty when it has
// none) and its clones, in the order of the index.
struct GameLinks {
  std::string fileName;
  std::vector<std::string> clones;
};

class ExportAssets final : public PageAssets {
 public:
  // Makes the pictures' folders. Error 75 with a message when it cannot.
  ExportAssets(std::filesystem::path outputDir, std::unordered_map<std::string, GameLinks> games);

  StyleSheet& Styles() override { return styles_; }
  std::string StyleHead(const std::set<std::string>& classes) override;
  std::string FileAddress(const ShownFile& file) override;
  std::string DataAddress(const PictureFile& file) override;
  std::string Navigation(const SharedState& state) override;

  // Writes zorv.css with the rules of every page written. Error 75 with a message.
  void WriteStyleSheet() const;
  // How many picture files could not be written (their pages show them missing).
  std::size_t PicturesNotWritten() const;

 private:
  // The address a picture has, given once; `write` is called for the first
  // asker only, outside the lock.
  template <typename Write>
  std::string AddressOnce(const std::string& key, std::size_t folder, const std::string& wantedName, Write&& write);

  const std::filesystem::path outputDir_;
  const std::unordered_map<std::string, GameLinks> games_;
  StyleSheet styles_;
  mutable std::mutex mutex_;
  std::unordered_map<std::string, std::string> addresses_;  // picture -> address
  std::vector<UniqueNames> names_;                          // per pictures folder
  std::size_t notWritten_ = 0;
};

}  // namespace zorv
