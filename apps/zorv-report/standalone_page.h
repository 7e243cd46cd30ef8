#pragma once
// The assets of a page written on its own (zorv-report --format html ROMNAME):
// its rules in its head and its pictures inside it as data addresses, the found
// file's bytes as they are, so the one page shows everything by itself.
#include "sheet_page.h"

namespace zorv {

class StandalonePage final : public PageAssets {
 public:
  StyleSheet& Styles() override { return styles_; }
  std::string StyleHead(const std::set<std::string>& classes) override;
  std::string FileAddress(const ShownFile& file) override;
  std::string DataAddress(const PictureFile& file) override;
  std::string Navigation(const SharedState&) override { return {}; }

 private:
  StyleSheet styles_;
};

}  // namespace zorv
