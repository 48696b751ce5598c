#include "i18n/cp1251.h"

#include <gtest/gtest.h>

#include <string>

namespace qvr {
namespace {

TEST(Cp1251, CyrillicTextRoundTrips) {
  const std::string text = "Привет, Ёжик! ёЖ №5 «тест»";
  const std::string bytes = Utf8ToCp1251(text);
  EXPECT_EQ(bytes.substr(0, 6), "\xCF\xF0\xE8\xE2\xE5\xF2");
  EXPECT_EQ(bytes.find('?'), std::string::npos);
  EXPECT_EQ(bytes.size(), 26u);  // one byte per character
  EXPECT_EQ(Cp1251ToUtf8(bytes), text);
}

TEST(Cp1251, EveryByteSurvivesARoundTripThroughUtf8) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
  EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
  EXPECT_EQ(Cp1251ToUtf8("\xC0\xFF\xA8\xB8\x88"), "АяЁё€");
}

TEST(Cp1251, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1251("日本 ok"), "?? ok");
  EXPECT_EQ(Utf8ToCp1251("ß😀"), "??");
  // Broken UTF-8: a stray continuation byte and a sequence cut short.
  EXPECT_EQ(Utf8ToCp1251("a\x80z"), "a?z");
  EXPECT_EQ(Utf8ToCp1251("a\xD0"), "a?");
}

}  // namespace
}  // namespace qvr
