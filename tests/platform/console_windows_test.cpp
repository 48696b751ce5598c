// What the Windows console streams hand between the programs' UTF-8 and a console's UTF-16.
#include <gtest/gtest.h>

#include <string>

#include "platform/console_text_windows.h"

namespace qvr {
namespace {

// A write that ends inside a character keeps the cut bytes back, whatever the character's size.
TEST(ConsoleOutput, WritesOnlyWholeCharactersAndKeepsACutOneForTheNextWrite) {
  const std::string text = "Да €𝄞";  // 2-, 3- and 4-byte characters at the end
  EXPECT_EQ(WholeUtf8Length(text), text.size());
  EXPECT_EQ(WholeUtf8Length(text.substr(0, text.size() - 1)), text.size() - 4);
  EXPECT_EQ(WholeUtf8Length(text.substr(0, text.size() - 3)), text.size() - 4);
  EXPECT_EQ(WholeUtf8Length(text.substr(0, text.size() - 5)), text.size() - 7);
  EXPECT_EQ(WholeUtf8Length("\xD0"), 0u);
  EXPECT_EQ(WholeUtf8Length(""), 0u);
  // Bytes that are not UTF-8 are passed on (and shown as U+FFFD), never held back for ever.
  EXPECT_EQ(WholeUtf8Length("a\x80\x80\x80"), 4u);
  EXPECT_EQ(WholeUtf8Length("a\xFF"), 2u);
}

// The Russian answer typed at a console whose input code page is 866 is the UTF-8 "д".
TEST(ConsoleInput, TypedLinesBecomeUtf8AndCtrlZEndsTheInput) {
  std::string line;
  ASSERT_TRUE(ConsoleLineToUtf8(L"\x0434\r\n", line));
  EXPECT_EQ(line, "д\n");
  ASSERT_TRUE(ConsoleLineToUtf8(L"\x0414\x0430\r\n", line));
  EXPECT_EQ(line, "Да\n");
  EXPECT_FALSE(ConsoleLineToUtf8(L"\x1A\r\n", line));
  ASSERT_TRUE(ConsoleLineToUtf8(L"\r\n", line));
  EXPECT_EQ(line, "\n");
}

}  // namespace
}  // namespace qvr
