// The one save routine on Windows, against what can stand at a path there.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "devices/test_files.h"
#include "platform/file_read.h"
#include "platform/file_save.h"
#include "platform/windows_text.h"

namespace qvr {
namespace {

using test::ReadFile;
using test::ScratchFolder;
using test::WriteFile;

DWORD AttributesOf(const std::string& path) {
  return ::GetFileAttributesW(WideFromUtf8(path).c_str());
}

TEST(SaveFile, ReplacesAFileKeepingItsAttributesAndCreatesNewOnes) {
  ScratchFolder folder;
  const std::string path = folder.File("garage.MUX");
  WriteFile(path, "old");
  ASSERT_TRUE(::SetFileAttributesW(WideFromUtf8(path).c_str(), FILE_ATTRIBUTE_HIDDEN));

  ASSERT_TRUE(SaveFile(path, "new").ok());
  EXPECT_EQ(ReadFile(path), "new");
  EXPECT_NE(AttributesOf(path) & FILE_ATTRIBUTE_HIDDEN, 0u);
  ASSERT_TRUE(SaveFile(folder.File("fresh.MUX"), "x").ok());
  EXPECT_EQ(ReadFile(folder.File("fresh.MUX")), "x");
  EXPECT_EQ(folder.EntryCount(), 2);  // no temporary left beside them
}

TEST(SaveFile, RefusesFoldersDevicesAndReadOnlyFilesLeavingThemAsTheyWere) {
  ScratchFolder folder;
  ASSERT_TRUE(std::filesystem::create_directory(folder.File("taken.MUX")));
  EXPECT_EQ(SaveFile(folder.File("taken.MUX"), "x").refusal, SaveRefusal::kNotRegularFile);
  EXPECT_EQ(SaveFile("NUL", "x").refusal, SaveRefusal::kNotRegularFile);

  const std::string locked = folder.File("locked.MUX");
  WriteFile(locked, "old");
  ASSERT_TRUE(::SetFileAttributesW(WideFromUtf8(locked).c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(SaveFile(locked, "new").refusal, SaveRefusal::kReadOnly);
  EXPECT_EQ(ReadFile(locked), "old");
  ::SetFileAttributesW(WideFromUtf8(locked).c_str(), FILE_ATTRIBUTE_NORMAL);

  const SaveResult missing = SaveFile(folder.File("no/such/folder.MUX"), "x");
  EXPECT_EQ(missing.refusal, SaveRefusal::kSystem);
  EXPECT_EQ(missing.systemError, ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(SystemErrorText(missing.systemError).empty());
  EXPECT_EQ(folder.EntryCount(), 2);
}

// A temporary held open is another save's, still running; one that can be removed was left by
// a save that was killed.
TEST(SaveFile, TheNextSaveRemovesAStaleTemporaryButNotOneInUse) {
  ScratchFolder folder;
  const std::string path = folder.File("garage.MUX");
  WriteFile(path, "old");
  const std::string stale = folder.File(TemporaryFilePrefix("garage.MUX") + "111111");
  const std::string running = folder.File(TemporaryFilePrefix("garage.MUX") + "222222");
  WriteFile(stale, "half");
  const HANDLE held = ::CreateFileW(WideFromUtf8(running).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                    nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  ASSERT_TRUE(SaveFile(path, "new").ok());
  EXPECT_EQ(ReadFile(path), "new");
  EXPECT_FALSE(std::filesystem::exists(stale));
  EXPECT_TRUE(std::filesystem::exists(running));
  ::CloseHandle(held);
}

// Near MAX_PATH the temporary's longer name used to fail the save of a file that opened; beyond
// it nothing opened at all.
TEST(SaveFile, SavesAndReadsBackTargetsNearAndBeyondTheOldPathLimit) {
  ScratchFolder folder;
  for (const size_t length : {size_t(250), size_t(259), size_t(400)}) {
    std::string path = folder.path();
    while (path.size() + 1 + 100 < length) {  // folders of 100 characters, then the file
      path.append("/").append(99, 'f').append(std::to_string(length % 10));
      ASSERT_TRUE(::CreateDirectoryW(ExtendedPath(path).c_str(), nullptr) ||
                  ::GetLastError() == ERROR_ALREADY_EXISTS);
    }
    const size_t stem = length - path.size() - 1 - 4;
    path.append("/").append(stem, 'g').append(".MUX");
    ASSERT_EQ(path.size(), length);
    ASSERT_TRUE(SaveFile(path, "first").ok()) << length;
    const SaveResult again = SaveFile(path, "second");
    ASSERT_TRUE(again.ok()) << length << ": " << SystemErrorText(again.systemError);
    std::string data;
    bool tooLarge = false;
    ASSERT_TRUE(ReadRegularFile(path, 100, data, tooLarge)) << length;
    EXPECT_EQ(data, "second");
  }
}

// Windows would save "garage.MUX." as "garage.MUX": the save is refused instead, in words.
TEST(SaveFile, RefusesNamesWindowsWouldTrimAndFilesAnotherProgramHolds) {
  ScratchFolder folder;
  for (const char* name : {"garage.MUX.", "garage.MUX ", "garage.MUX.. "}) {
    EXPECT_EQ(SaveFile(folder.File(name), "x").refusal, SaveRefusal::kNameNotAllowed) << name;
  }
  EXPECT_EQ(folder.EntryCount(), 0);

  const std::string path = folder.File("garage.MUX");
  WriteFile(path, "old");
  const HANDLE held = ::CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const SaveResult refused = SaveFile(path, "new");
  ::CloseHandle(held);
  EXPECT_EQ(refused.refusal, SaveRefusal::kInUse) << SystemErrorText(refused.systemError);
  EXPECT_EQ(ReadFile(path), "old");
  EXPECT_EQ(folder.EntryCount(), 1);
  ASSERT_TRUE(SaveFile(path, "new").ok());
  EXPECT_EQ(ReadFile(path), "new");
}

}  // namespace
}  // namespace qvr
