#pragma once
// A message box that shows nothing, for tests that read what went wrong from the
// decoder's state rather than from its messages.
#include <string_view>

#include "platform/message_box.h"

namespace zorv::testing {

class SilentMessages final : public MessageBox {
 public:
  void Show(std::string_view) override {}
};

}  // namespace zorv::testing
