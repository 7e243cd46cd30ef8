#pragma once
// The one modal message the program can show (a broken code table in a
// compressed picture). The window shows it as a message box; programs without a
// window print it; tests record it.
#include <string_view>

namespace zorv {

class MessageBox {
 public:
  virtual ~MessageBox() = default;
  virtual void Show(std::string_view message) = 0;
};

// Writes the message as one line to standard error.
MessageBox& StandardErrorMessageBox();

}  // namespace zorv
