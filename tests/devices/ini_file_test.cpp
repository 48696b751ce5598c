#include "devices/common/ini_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "devices/test_files.h"

namespace qvr {
namespace {

using test::ReadFile;
using test::ScratchFolder;
using test::WriteFile;

TEST(IniFileRead, NamesMatchInAnyLetterCaseAndIntegersReadLikeThePlatform) {
  ScratchFolder folder;
  std::string path = folder.File("a.ini");
  WriteFile(path,
            "[Mode]\r\nonpowerto=65661\r\nNeg=-3\r\nLead=  12abc\r\nWord=abc\r\nEmpty=\r\n"
            "Plus=+7\r\nHuge=99999999999999999999999\r\n");
  IniFile ini;
  ASSERT_TRUE(ini.Load(path));
  EXPECT_EQ(ini.GetInt("MODE", "ONPOWERTO"), 65661);
  EXPECT_EQ(ini.GetInt("mode", "neg"), -3);
  EXPECT_EQ(ini.GetInt("MODE", "LEAD"), 12);
  EXPECT_EQ(ini.GetInt("MODE", "WORD", 5), 0);  // present but not a number
  EXPECT_EQ(ini.GetInt("MODE", "EMPTY", 5), 0);
  EXPECT_EQ(ini.GetInt("MODE", "PLUS"), 7);
  EXPECT_EQ(ini.GetInt("MODE", "MISSING", 5), 5);
  EXPECT_EQ(ini.GetInt("NOSECTION", "X", 9), 9);
  (void)ini.GetInt("MODE", "HUGE");  // wraps without undefined behaviour (checked by UBSan)
  EXPECT_TRUE(ini.HasSection("mode"));
  EXPECT_FALSE(ini.HasSection("NAVI"));
}

TEST(IniFileRead, HandEditedFileReadsAsThePlatformReadsIt) {
  ScratchFolder folder;
  std::string path = folder.File("hand.ini");
  const std::string nul(1, '\0');
  WriteFile(path,
            "[A]\r\nx=1\r\nX=2\r\n" + nul + "\r\n[b]\ry=\"3\"\rz='quoted'\r\n" +
                "[a]\nx=4\nw=5\n[B]\r\n y = \"half\r\n[D]\r\nq=\"\"inner\"\"\r\nblank=\" x \"\r\n" +
                "[C]\r\nnul=7" + nul + "8\r\n");
  IniFile ini;
  ASSERT_TRUE(ini.Load(path));
  EXPECT_EQ(ini.GetInt("A", "x"), 1);  // the first of repeated keys
  EXPECT_FALSE(ini.HasKey("A", "w"));  // a repeated section is not read at all
  EXPECT_EQ(ini.GetInt("B", "y"), 3);  // CR-only lines, quotes stripped
  EXPECT_EQ(ini.GetString("B", "z"), "quoted");
  EXPECT_EQ(ini.GetString("D", "q"), "\"inner\"");  // only the outer pair
  EXPECT_EQ(ini.GetString("D", "blank"), " x ");
  EXPECT_EQ(ini.GetString("C", "nul"), "7 8");  // the NUL read as a blank

  IniFile written;
  for (const char* value : {"\"inner\"", " x ", "'", "plain"}) {
    written.SetString("S", "k", value);
    ASSERT_TRUE(written.SaveAtomically(path).ok());
    ASSERT_TRUE(ini.Load(path));
    EXPECT_EQ(ini.GetString("S", "k"), value) << "written so that it reads back whole";
  }
}

TEST(IniFileRead, MissingJunkAndOversizedFilesGiveAnEmptyDocument) {
  ScratchFolder folder;
  IniFile ini;
  EXPECT_FALSE(ini.Load(folder.File("missing.ini")));
  EXPECT_EQ(ini.GetInt("A", "b", 3), 3);
  EXPECT_FALSE(ini.Load(folder.path()));  // a folder is not a file

  std::string junk = "[A]\nb=1\n";
  junk += std::string("\0\xFF\x01[[[===\n", 10);
  junk += "c=2\n";
  WriteFile(folder.File("junk.ini"), junk);
  ASSERT_TRUE(ini.Load(folder.File("junk.ini")));
  EXPECT_EQ(ini.GetInt("A", "b"), 1);
  EXPECT_EQ(ini.GetInt("A", "c"), 2);  // a NUL byte does not end the file
  EXPECT_FALSE(ini.loadedWhole());     // but a settings file with it is kept aside as found

  std::string big = "[A]\r\nb=1\r\n" + std::string(10 * 1024 * 1024, 'x');
  WriteFile(folder.File("big.ini"), big);
  EXPECT_TRUE(ini.Load(folder.File("big.ini")));
  EXPECT_EQ(ini.GetInt("A", "b", 4), 4);
  EXPECT_FALSE(ini.loadedWhole());
  WriteFile(folder.File("text.ini"), "[A]\r\nb=\tCyrillic \xC0\xE1\r\n");
  ASSERT_TRUE(ini.Load(folder.File("text.ini")));
  EXPECT_TRUE(ini.loadedWhole());

#ifdef _WIN32
  EXPECT_FALSE(ini.Load("NUL"));  // a device, not a file
#else
  ASSERT_EQ(::mkfifo(folder.File("fifo").c_str(), 0600), 0);
  EXPECT_FALSE(ini.Load(folder.File("fifo")));  // returns at once instead of blocking
#endif
}

TEST(IniFileSave, WritesCrLfInInsertionOrderAndReplacesAtomically) {
  ScratchFolder folder;
  std::string path = folder.File("out.MUX");
  WriteFile(path, "old contents");
  IniFile ini;
  ini.SetString("B", "k", "v");
  ini.SetInt("A", "n", -5);
  ini.SetString("B", "multi", "line\r\nbreak");
  ASSERT_TRUE(ini.SaveAtomically(path).ok());
  EXPECT_EQ(ReadFile(path), "[B]\r\nk=v\r\nmulti=line  break\r\n\r\n[A]\r\nn=-5\r\n");
  EXPECT_EQ(folder.EntryCount(), 1);  // no temporary file left behind

  IniFile back;
  ASSERT_TRUE(back.Load(path));
  EXPECT_EQ(back.GetString("b", "K"), "v");
  back.RemoveSection("B");
  EXPECT_FALSE(back.HasSection("B"));
}

TEST(IniFileSave, FailedReplaceRemovesTheTemporaryFile) {
  ScratchFolder folder;
  std::string path = folder.File("taken.MUX");
  ASSERT_TRUE(std::filesystem::create_directory(path));  // the target cannot be replaced
  WriteFile(path + "/inside", "x");
  IniFile ini;
  ini.SetInt("A", "b", 2);
  EXPECT_EQ(ini.SaveAtomically(path).refusal, SaveRefusal::kNotRegularFile);
  EXPECT_EQ(folder.EntryCount(), 1);
  EXPECT_EQ(ReadFile(path + "/inside"), "x");
  const SaveResult missing = ini.SaveAtomically(folder.File("no/such/folder.MUX"));
  EXPECT_EQ(missing.refusal, SaveRefusal::kSystem);
  EXPECT_EQ(missing.systemError, test::kNoSuchFolderError);
}

}  // namespace
}  // namespace qvr
