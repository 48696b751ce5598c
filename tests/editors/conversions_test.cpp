#include "editors/conversions.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>

namespace qvr {
namespace {

struct SecondsCase {
  const char* text;
  int32_t milliseconds;
};

TEST(ParseSeconds, RoundsHalfUpAndTakesTheLongestLeadingDecimalNumber) {
  const SecondsCase cases[] = {
      {"1,5", 1500},      {"0,125", 125},  {"0.0005", 1},  {"2.9999", 3000}, {"0.1244", 124},
      {"50.0004", 50000}, {"-0.2", -199},  // +0.5, then truncation toward zero
      {"abc", 0},         {"", 0},         {"  2s", 2000}, {"+.5", 500},     {"1e1", 10000},
      {"1e", 1000},                         // an exponent without digits is not part of the number
      {"0x10", 0},                          // no hexadecimal numbers
      {"inf", 0},         {"1,2,3", 1200},  // "1.2.3": the second point ends the number
  };
  for (const SecondsCase& c : cases) EXPECT_EQ(ParseSeconds(c.text), c.milliseconds) << c.text;
}

TEST(ParseSeconds, AbsurdValuesStayInsideTheIntegerRange) {
  EXPECT_EQ(ParseSeconds("1e300"), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(ParseSeconds("-1e300"), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(ParseSeconds("1e-400"), 0);
  EXPECT_EQ(ParseSeconds("99999999999999999999999999"), std::numeric_limits<int32_t>::max());
}

TEST(SecondsText, ThreeDecimalsWithAPoint) {
  EXPECT_EQ(SecondsText(125), "0.125");
  EXPECT_EQ(SecondsText(50000), "50.000");
  EXPECT_EQ(SecondsText(0), "0.000");
  EXPECT_EQ(SecondsText(10), "0.010");
  EXPECT_EQ(SecondsText(4294967295u), "4294967.295");
  // Every value the editors show reads back as itself.
  for (uint32_t ms : {1u, 125u, 999u, 1001u, 49875u, 50000u, 65535u + 125u}) {
    EXPECT_EQ(ParseSeconds(SecondsText(ms)), int32_t(ms)) << ms;
  }
}

TEST(FixedText, StopsAtTheTerminatorOrTheWidth) {
  const uint8_t terminated[6] = {'a', 'b', 0, 'c', 'd', 'e'};
  EXPECT_EQ(FixedText(terminated, 6), "ab");
  const uint8_t full[4] = {'w', 'x', 'y', 'z'};
  EXPECT_EQ(FixedText(full, 4), "wxyz");
  EXPECT_EQ(FixedText(full, 0), "");
}

TEST(Hex, EncodesUpperCaseAndDecodesPairs) {
  const uint8_t bytes[] = {'a', 'b', 'c', 0x0D, 0x0A, 0xFF};
  EXPECT_EQ(HexEncode(bytes, 6), "6162630D0AFF");
  EXPECT_EQ(HexEncode(bytes, 0), "");

  std::array<uint8_t, 4> out;
  out.fill(0xEE);
  EXPECT_EQ(HexDecode("61626", 4, out.data()), 2u);  // a lone last digit is dropped
  EXPECT_EQ(out, (std::array<uint8_t, 4>{'a', 'b', 0, 0}));
  EXPECT_EQ(HexDecode("6G", 4, out.data()), 1u);  // other characters count as 0
  EXPECT_EQ(out[0], 0x60);
  EXPECT_EQ(HexDecode("ff0a", 4, out.data()), 2u);
  EXPECT_EQ(out[0], 0xFF);
  out.fill(0xEE);
  EXPECT_EQ(HexDecode("0102030405", 3, out.data()), 3u);  // cut at the limit
  EXPECT_EQ(out[2], 3);
  EXPECT_EQ(out[3], 0xEE);  // nothing beyond the limit is touched
}

TEST(ConfigNameFromPath, NameWithoutFolderAndLastExtension) {
  EXPECT_EQ(ConfigNameFromPath("/home/user/garage.MUX"), "garage");
  EXPECT_EQ(ConfigNameFromPath("C:\\configs\\garage.MUX"), "garage");
  EXPECT_EQ(ConfigNameFromPath("C:garage.MUX"), "garage");
  EXPECT_EQ(ConfigNameFromPath("a.b.MUX"), "a.b");
  EXPECT_EQ(ConfigNameFromPath("dir.d/noext"), "noext");
  EXPECT_EQ(ConfigNameFromPath(""), "");
  EXPECT_EQ(ConfigNameFromPath(std::string(31, 'n') + ".MUX"), std::string(31, 'n'));
  EXPECT_EQ(ConfigNameFromPath(std::string(32, 'n') + ".MUX"), "Too long name...");
}

TEST(ConfigNameFromPath, CyrillicNamesBecomeWindows1251AndTheLimitCountsCharacters) {
  EXPECT_EQ(ConfigNameFromPath("/cars/Тойота Камри.MUX"),
            "\xD2\xEE\xE9\xEE\xF2\xE0 \xCA\xE0\xEC\xF0\xE8");
  std::string letters31, letters32;
  for (int i = 0; i < 31; ++i) letters31 += "Ж";
  letters32 = letters31 + "Ж";
  EXPECT_EQ(ConfigNameFromPath(letters31 + ".MUX"), std::string(31, '\xC6'));
  EXPECT_EQ(ConfigNameFromPath(letters32 + ".MUX"), "Too long name...");
  EXPECT_EQ(ConfigNameFromPath("Car ✓ 日本.MUX"), "Car ? ??");  // not in Windows-1251
  // Bytes that are not UTF-8: a name copied from a Windows disk as it stood.
  EXPECT_EQ(ConfigNameFromPath("\xCA\xE0\xEC\xF0\xE8.MUX"), "\xCA\xE0\xEC\xF0\xE8");
}

}  // namespace
}  // namespace qvr
