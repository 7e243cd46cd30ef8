#include "platform/qt/qt_message_box.h"

#include <QMessageBox>
#include <string>

#include "platform/cp1252.h"

namespace zorv {

void QtMessageBox::Show(std::string_view message) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Zorvane"), QString::fromStdString(Cp1252ToUtf8(message)),
                  QMessageBox::Ok, parent_);
  box.exec();
}

}  // namespace zorv
