// Where an installed window keeps its settings: the program folder only when it is the user's.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>

#include "devices/test_files.h"
#include "platform/file_names.h"
#include "platform/program_folder.h"

namespace qvr {
namespace {

// Under Program Files a write can seem to work (an administrator, Wine, the VirtualStore) and
// still is no place for one user's settings.
TEST(ProgramFolder, OnlyAFolderOutsideTheProgramFoldersThatTakesAFileIsTheUsers) {
  test::ScratchFolder portable;
  EXPECT_TRUE(FolderIsUsers(portable.path()));
  EXPECT_EQ(portable.EntryCount(), 0);  // the check leaves nothing behind
  EXPECT_FALSE(FolderIsUsers(portable.File("gone")));

  const char* programFiles = ::getenv("ProgramFiles");
  ASSERT_NE(programFiles, nullptr);
  EXPECT_FALSE(FolderIsUsers(std::string(programFiles) + "\\qvr-service"));
  EXPECT_FALSE(FolderIsUsers(std::string(programFiles) + "/QVR-SERVICE/"));

  // Where qvrctl looks for a portable window's settings: its own folder.
  EXPECT_TRUE(
      std::filesystem::is_regular_file(NativePath(ExecutableFolder() + "/test_platform.exe")))
      << ExecutableFolder();
}

}  // namespace
}  // namespace qvr
