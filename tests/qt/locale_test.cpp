// The window under a French locale. The toolkit sets the C library's locale
// from the user's environment, where the decimal separator is ",": numbers
// read afterwards must still take "." as theirs.
#include <clocale>
#include <string>

#include "window_fixture.h"

namespace zorv::testing {
namespace {

// The process's locale for one test; the former one comes back at the end.
class ProcessLocale {
 public:
  explicit ProcessLocale(const char* name) : former_(std::setlocale(LC_ALL, nullptr)) {
    set_ = std::setlocale(LC_ALL, name) != nullptr;
  }
  ~ProcessLocale() { std::setlocale(LC_ALL, former_.c_str()); }
  bool Set() const { return set_; }

 private:
  std::string former_;
  bool set_ = false;
};

TEST_F(WindowTest, FrenchLocaleReadsSizesWithADecimalPoint) {
  const ProcessLocale french("fr_FR.UTF-8");
  if (!french.Set()) GTEST_SKIP() << "no fr_FR.UTF-8 locale on this machine (scripts/setup.sh makes one)";
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  collection.Write("Zorv.inf", "Size=10.5\r\nSavePath=" + collection.Str() + "/\r\n");
  ReportWindow& form = Open("gng");
  EXPECT_EQ(state.FontSize, 21);
  ShowAndActivate();
  const std::string saved = collection.Read("ZRV_gng.rtf");
  EXPECT_NE(saved.find("\\fs21"), std::string::npos) << saved.substr(0, 300);
  PressKey(form.Report(), Qt::Key_Escape, QStringLiteral("\x1b"));
  EXPECT_EQ(collection.Read("Zorv.Log.txt"), "");
}

}  // namespace
}  // namespace zorv::testing
