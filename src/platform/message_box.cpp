#include "platform/message_box.h"

#include <iostream>

namespace zorv {
namespace {

class StandardErrorBox final : public MessageBox {
 public:
  void Show(std::string_view message) override { std::cerr << message << '\n'; }
};

}  // namespace

MessageBox& StandardErrorMessageBox() {
  static StandardErrorBox box;
  return box;
}

}  // namespace zorv
