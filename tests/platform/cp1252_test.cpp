#include "platform/cp1252.h"

#include <gtest/gtest.h>

namespace zorv {
namespace {

TEST(Cp1252, ConvertsBothWaysIncludingTheHighControlRange) {
  const std::string all = [] {
    std::string s;
    for (int b = 1; b < 256; ++b) s += static_cast<char>(b);
    return s;
  }();
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Cp1252ToUtf8("\x80\xe9"), "\xe2\x82\xac\xc3\xa9");
}

TEST(Cp1252, UnmappableBecomesQuestionMarkAndInvalidUtf8StaysAsBytes) {
  EXPECT_EQ(Utf8ToCp1252("\xe6\x97\xa5"), "?");               // a CJK character
  EXPECT_EQ(Utf8ToCp1252("caf\xe9 ok"), "caf\xe9 ok");         // already Windows-1252
  EXPECT_EQ(Utf8ToCp1252("\xc0\xaf"), "\xc0\xaf");             // overlong form is not UTF-8
  EXPECT_TRUE(IsValidUtf8("\xc3\xa9"));
  EXPECT_FALSE(IsValidUtf8("\xed\xa0\x80"));                   // a surrogate
}

}  // namespace
}  // namespace zorv
