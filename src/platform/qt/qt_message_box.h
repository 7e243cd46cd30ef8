#pragma once
// The one message the program can show, as a modal box with an OK button.
#include "platform/message_box.h"

class QWidget;

namespace zorv {

class QtMessageBox final : public MessageBox {
 public:
  explicit QtMessageBox(QWidget* parent = nullptr) : parent_(parent) {}
  // The message is Windows-1252 text, as every text of the program.
  void Show(std::string_view message) override;

 private:
  QWidget* parent_;
};

}  // namespace zorv
