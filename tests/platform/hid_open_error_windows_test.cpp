// Why an adapter's path did not open, told from what the system answers a second open: a file
// stands in for the device node, which Windows opens the same way.
#include <windows.h>

#include <gtest/gtest.h>

#include "devices/test_files.h"
#include "platform/hid_open_error.h"
#include "platform/windows_text.h"

namespace qvr {
namespace {

TEST(HidOpenFailure, AHeldDeviceIsToldFromAnUnpluggedOne) {
  test::ScratchFolder folder;
  const std::string device = folder.File("hid#vid_03eb&pid_2013");
  test::WriteFile(device, "");
  int error = 0;
  EXPECT_EQ(ClassifyHidOpenFailure(folder.File("unplugged"), error), HidOpenFailure::kGone);
  EXPECT_EQ(error, ERROR_FILE_NOT_FOUND);

  const HANDLE held = ::CreateFileW(WideFromUtf8(device).c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ClassifyHidOpenFailure(device, error), HidOpenFailure::kHeldElsewhere);
  ::CloseHandle(held);
  EXPECT_EQ(ClassifyHidOpenFailure(device, error), HidOpenFailure::kOther);  // free again
}

}  // namespace
}  // namespace qvr
