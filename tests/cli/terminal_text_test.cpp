// What a terminal receives of a text from a file or an adapter.
#include "cli/terminal_text.h"

#include <gtest/gtest.h>

#include "cli/adapters.h"
#include "i18n/catalogue.h"

namespace qvr::cli {
namespace {

using namespace std::string_literals;

TEST(TerminalSafe, KeepsTextAndLineBreaksAndReplacesEveryControlAndStrayByte) {
  const struct {
    std::string given;
    std::string shown;
  } cases[] = {
      {"Controller \"QVR-B\"\tok\nnext\r\n", "Controller \"QVR-B\"\tok\nnext\r\n"},
      {"\xD0\x9A\xD0\xBE \xE2\x80\xBA \xF0\x9F\x94\x8C",
       "\xD0\x9A\xD0\xBE \xE2\x80\xBA \xF0\x9F\x94\x8C"},
      {"\x1B]0;title\x07", "?]0;title?"},         // retitles the window
      {"x\rNo differences", "x?No differences"},  // overwrites the line
      {"\x7F\x01\x00"
       "end"s,
       "???end"},
      {"\xC2\x9B"
       "2J \xC2\x85",
       "?2J ?"},  // 8-bit controls as UTF-8 (CSI, NEL)
      {"\x9B"
       "2J \xC0\xAF \xED\xA0\x80 \xF4\x90\x80\x80 \xE2\x82",
       "?2J ?? ??? ???? ??"},
  };
  for (const auto& c : cases) EXPECT_EQ(TerminalSafe(c.given), c.shown) << c.given;
}

// A Windows device path holds "&" and "#", at which cmd.exe and PowerShell would cut a pasted
// --controller: the adapter's line shows such a path in quotes, and a plain one as it is.
TEST(TerminalSafe, AnAdapterPathIsShownAsAShellTakesItBack) {
  Catalogue catalogue;
  catalogue.setLanguage(kEnglish);
  AdapterReport unreachable;
  unreachable.result = LinkTimeout;
  Adapter adapter;
  adapter.path = R"(\\?\hid#vid_03eb&pid_2013#7&2c3a&0&0000#{4d1e55b2-f16f})";
  EXPECT_EQ(AdapterLine(catalogue, adapter, unreachable).rfind('"' + adapter.path + "\"  ", 0), 0u);
  adapter.path = "/dev/hidraw3";
  EXPECT_EQ(AdapterLine(catalogue, adapter, unreachable).rfind("/dev/hidraw3  ", 0), 0u);
}

}  // namespace
}  // namespace qvr::cli
