#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "devices/mux410/config_file.h"
#include "devices/test_files.h"

namespace qvr::mux410 {
namespace {

using test::ReadFile;
using test::ScratchFolder;
using test::WriteFile;

// The configuration of the garage sample: description abc, navigation type 1 with all touches
// intercepted, 2 s power-on time-out, 0.5 s pulse, "Active PA" with "+ SWIM", inputs 5 and 6
// skipped, and button 0 on input 2 sending NEC address 4 command 17 on the 38 kHz carrier.
ConfigImage Garage() {
  ConfigImage image;
  image.setDescription("abc");
  image.naviType() = 1;
  image.naviFlags() = 2;
  image.setPowerOnTimeout(2000 - kPowerOnOffsetMs);
  image.setPulseTimeout(500);
  image.iebusMode() = 1;
  image.dparFlags() = 0xC1;  // bits 6 and 7 are not carried by the file
  image.inputMask() = 48;
  image.events.setCount(1);
  image.events.record(0) = EventRecord{2, 11, 8, 1, 0, 4, 17};
  return image;
}

constexpr const char* kGarageFile =
    "[CONFIGFILE]\r\nNAME=garage\r\nTEXT=616263\r\n\r\n"
    "[NAVI]\r\nTYPE=1\r\nINPUT=0\r\nMUTE=0\r\nFLAGS=2\r\n\r\n"
    "[MODE]\r\nONPOWERON=0\r\nOUTPULSEMODE=0\r\nONPOWERTO=1875\r\nPULSETO=500\r\n\r\n"
    "[DPAR]\r\nIEBUSMODE=1\r\nRETURN_INPUT=0\r\nUSECIR=1\r\nUSETPX=0\r\nLX570VER=0\r\n"
    "GABARBUG=0\r\nRESGVIF=0\r\nLX570VER2=0\r\n\r\n"
    "[INPUT]\r\nMASKED=48\r\n\r\n"
    "[EVENT1]\r\nDescription=\r\nInput=2\r\nEvent=11\r\nOutTypeFreq=8\r\ntype=1\r\nreplay=0\r\n"
    "address=4\r\ncommand=17\r\n";

TEST(Mux410File, GarageSampleIsWrittenWithExactlyTheseKeysAndReadsBack) {
  ScratchFolder folder;
  std::string path = folder.File("garage.MUX");
  ConfigImage image = Garage();
  ASSERT_TRUE(WriteConfigFile(path, image).ok());
  EXPECT_EQ(ReadFile(path), kGarageFile);

  ConfigImage back;
  back.naviMute() = 9;  // reading starts from zero
  ReadConfigFile(path, back);
  EXPECT_EQ(back.configNameText(), "garage");
  EXPECT_EQ(back.descriptionText(), "abc");
  EXPECT_EQ(back.navi, image.navi);
  EXPECT_EQ(back.mode, image.mode);
  EXPECT_EQ(back.input, image.input);
  EXPECT_EQ(back.dparFlags(), 0x01);
  ASSERT_EQ(back.events.count(), 1);
  EXPECT_EQ(back.events.record(0), image.events.record(0));

  ASSERT_TRUE(WriteConfigFile(path, back).ok());
  EXPECT_EQ(ReadFile(path), kGarageFile);  // saving again gives the same bytes
}

TEST(Mux410File, WindowsWrittenFileWithOtherCaseCp1251TextAndGappedEvents) {
  ScratchFolder folder;
  std::string path = folder.File("Cyr.mux");
  // "Привет" / "Мир" in Windows-1251 with CR LF between them, as hex in TEXT.
  std::string file =
      "[configfile]\r\nname=whatever\r\ntext=CFF0E8E2E5F20D0ACCE8F0\r\n"
      "[Navi]\r\nType=3\r\n[mode]\r\nOnPowerTO=65661\r\nPulseTo=10\r\n"
      "[dpar]\r\nusecir=2\r\nUSETPX=3\r\nIEBUSMODE=258\r\n"
      "[event1]\r\ndescription=\xCA\xED\xEE\xEF\xEA\xE0 1\r\ninput=1\r\nevent=2\r\nTYPE=1\r\n"
      "address=70000\r\n"
      "[EVENT2]\r\nDescription=unused\r\nInput=1\r\nEvent=3\r\ntype=0\r\n"
      "[EVENT3]\r\nDescription=three\r\nEvent=256\r\ntype=2\r\n"
      "[EVENT7]\r\nDescription=seven\r\nEvent=7\r\ntype=10\r\ncommand=300\r\n"
      "[EVENT97]\r\nEvent=1\r\ntype=1\r\n";
  WriteFile(path, file);
  ConfigImage image;
  ReadConfigFile(path, image);
  EXPECT_EQ(image.configNameText(), "Cyr");  // from the file name, not the NAME key
  EXPECT_EQ(image.descriptionText(), "\xCF\xF0\xE8\xE2\xE5\xF2\r\n\xCC\xE8\xF0");
  EXPECT_EQ(image.naviType(), 3);
  EXPECT_EQ(image.powerOnTimeout(), 125);  // 65661 cut to 16 bits
  EXPECT_EQ(image.pulseTimeout(), 10);
  EXPECT_EQ(image.dparFlags(), 0x02);  // USECIR=2 is off, USETPX=3 is on
  EXPECT_EQ(image.iebusMode(), 2);
  ASSERT_EQ(image.events.count(), 2);  // EVENT3 has Event=256, which counts as 0
  EXPECT_EQ(image.events.record(0), (EventRecord{1, 2, 0, 1, 0, uint16_t(70000), 0}));
  EXPECT_EQ(image.events.description(0), "\xCA\xED\xEE\xEF\xEA\xE0 1");
  EXPECT_EQ(image.events.record(1).event, 7);
  EXPECT_EQ(image.events.record(1).command, 300 & 0xFF);
  EXPECT_EQ(image.events.description(1), "seven");

  std::string saved = folder.File("saved.MUX");
  ASSERT_TRUE(WriteConfigFile(saved, image).ok());
  ConfigImage back;
  ReadConfigFile(saved, back);
  EXPECT_EQ(back.descriptionText(), image.descriptionText());  // line breaks survive
  EXPECT_EQ(back.events.description(0), image.events.description(0));
  EXPECT_NE(ReadFile(saved).find("[EVENT2]\r\nDescription=seven\r\n"), std::string::npos);
}

TEST(Mux410File, HandEditedFileWithNulDuplicatesAndQuotesLosesNothing) {
  ScratchFolder folder;
  // Named as Russian-speaking installers name their files.
  std::string path = folder.File("Тойота Камри.MUX");
  std::string file = "[NAVI]\r\nTYPE=\"2\"\r\n[EVENT1]\r\nDescription=\"Кнопка 1\"\r\nInput=1\r\n";
  file += std::string(1, '\0');  // a stray NUL in the middle of the file
  file +=
      "\r\nEvent=2\r\ntype=1\r\n[EVENT2]\r\nInput=2\r\nEvent=3\r\nEvent=0\r\ntype=1\r\n"
      "[NAVI]\r\nTYPE=5\r\n[EVENT2]\r\nEvent=0\r\n";  // pasted duplicates come after
  WriteFile(path, file);
  ConfigImage image;
  ReadConfigFile(path, image);
  EXPECT_EQ(image.configNameText(), "\xD2\xEE\xE9\xEE\xF2\xE0 \xCA\xE0\xEC\xF0\xE8");
  EXPECT_EQ(image.naviType(), 2);
  ASSERT_EQ(image.events.count(), 2);
  EXPECT_EQ(image.events.description(0), "Кнопка 1");  // as the file holds it, without quotes
  EXPECT_EQ(image.events.record(1), (EventRecord{2, 3, 0, 1, 0, 0, 0}));

  ASSERT_TRUE(WriteConfigFile(path, image).ok());
  EXPECT_EQ(ReadFile(path).rfind("[CONFIGFILE]\r\nNAME=\xD2\xEE\xE9\xEE\xF2\xE0 \xCA", 0), 0u);

  // Only a value quoted as a whole loses its quotes: one that merely begins or ends with a
  // quote reads as written, and whatever a description holds, quotes included, is saved so
  // that it reads back unchanged.
  const std::string quoted = folder.File("quoted.MUX");
  for (const char* text : {"\"Sport\" mode", "\"12", "12\"", "'Sport' mode", "\"", "\"a'"}) {
    SCOPED_TRACE(text);
    WriteFile(quoted, std::string("[EVENT1]\r\nDescription=") + text +
                          "\r\nInput=1\r\n"
                          "Event=2\r\ntype=1\r\n");
    ConfigImage hand;
    ReadConfigFile(quoted, hand);
    ASSERT_EQ(hand.events.count(), 1);
    EXPECT_EQ(hand.events.description(0), text);
  }
  for (const char* text : {"\"Sport\" mode", "\"12", "12\"", "\"Sport\"", "'12'", " 12 ", "\""}) {
    SCOPED_TRACE(text);
    image.events.setDescription(0, text);
    ASSERT_TRUE(WriteConfigFile(quoted, image).ok());
    ConfigImage back;
    ReadConfigFile(quoted, back);
    EXPECT_EQ(back.events.description(0), text);
  }
}

TEST(Mux410File, EachOperatingFlagOfTheFileIsItsOwnBitOfTheDparBlock) {
  ScratchFolder folder;
  const std::string path = folder.File("flags.MUX");
  const std::pair<const char*, uint8_t> flags[] = {{"USECIR", 0x01},   {"USETPX", 0x02},
                                                   {"LX570VER", 0x04}, {"GABARBUG", 0x08},
                                                   {"RESGVIF", 0x10},  {"LX570VER2", 0x20}};
  for (const auto& [key, bit] : flags) {
    WriteFile(path, std::string("[DPAR]\r\n") + key + "=1\r\n");
    ConfigImage image;
    ReadConfigFile(path, image);
    EXPECT_EQ(image.dpar[2], bit) << key;
  }
}

TEST(Mux410File, DescriptionCutAtItsLimitNeverEndsInHalfALineBreak) {
  ConfigImage image;
  image.setDescription(std::string(998, 'a') + "\r\nb");
  EXPECT_EQ(image.descriptionText(), std::string(998, 'a'));
  image.setDescription(std::string(997, 'a') + "\r\nb");
  EXPECT_EQ(image.descriptionText(), std::string(997, 'a') + "\r\n");
}

TEST(Mux410File, SavingFewerEventsOverALongerFileLeavesNoSurplusSections) {
  ScratchFolder folder;
  std::string path = folder.File("shrink.MUX");
  ConfigImage image = Garage();
  for (int i = 1; i < 5; ++i) image.events.record(*image.events.AddAtEnd()) = {1, 12, 0, 1};
  image.events.record(2).type = 0;  // unused: pruned on save
  image.events.currentEvent = 4;
  ASSERT_TRUE(WriteConfigFile(path, image).ok());
  EXPECT_EQ(image.events.count(), 4);
  EXPECT_EQ(image.events.currentEvent, 0);  // the selection left the table

  image.events.setCount(1);
  ASSERT_TRUE(WriteConfigFile(path, image).ok());
  ConfigImage back;
  ReadConfigFile(path, back);
  EXPECT_EQ(back.events.count(), 1);
  EXPECT_EQ(ReadFile(path).find("EVENT2"), std::string::npos);
}

TEST(Mux410File, MissingJunkAndHugeFilesReadAsAnEmptyNamedConfiguration) {
  ScratchFolder folder;
  ConfigImage image = Garage();
  ReadConfigFile(folder.File("absent.MUX"), image);
  EXPECT_EQ(image.configNameText(), "absent");
  EXPECT_EQ(image.events.count(), 0);
  EXPECT_EQ(image.naviType(), 0);
  EXPECT_EQ(image.descriptionText(), "");

  WriteFile(folder.File("junk.MUX"), std::string("\x7F"
                                                 "ELF\0\0\x01[\xFF",
                                                 9) +
                                         "=\n\n]");
  ReadConfigFile(folder.File("junk.MUX"), image);
  EXPECT_EQ(image.configNameText(), "junk");
  EXPECT_EQ(image.events.count(), 0);

  WriteFile(folder.File("huge.MUX"),
            "[NAVI]\r\nTYPE=4\r\n[EVENT1]\r\nEvent=1\r\ntype=1\r\n" + std::string(10 << 20, ';'));
  ReadConfigFile(folder.File("huge.MUX"), image);
  EXPECT_EQ(image.naviType(), 0);
  EXPECT_EQ(image.events.count(), 0);

  std::string longText = "[CONFIGFILE]\r\nTEXT=" + std::string(2400, '4') + "\r\n";
  WriteFile(folder.File("long.MUX"), longText);
  ReadConfigFile(folder.File("long.MUX"), image);
  EXPECT_EQ(image.descriptionText(), std::string(999, 'D'));  // stays a terminated text
  EXPECT_EQ(image.description[999], 0);
}

TEST(Mux410File, UnwritableFolderFailsAndKeepsTheOldFile) {
  ScratchFolder folder;
  ConfigImage image = Garage();
  EXPECT_FALSE(WriteConfigFile(folder.File("missing/garage.MUX"), image).ok());

#ifdef _WIN32
  // A read-only file is kept as it is.
  const std::string path = folder.File("garage.MUX");
  WriteFile(path, "old");
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  EXPECT_FALSE(WriteConfigFile(path, image).ok());
  EXPECT_EQ(ReadFile(path), "old");
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
#else
  // Permissions do not stop root; a folder of the kernel's own files stops everyone.
  bool root = ::geteuid() == 0;
  std::string path = root ? "/proc/version" : folder.File("garage.MUX");
  if (!root) {
    WriteFile(path, "old");
    ASSERT_EQ(::chmod(folder.path().c_str(), 0500), 0);
  }
  std::string old = ReadFile(path);
  EXPECT_FALSE(WriteConfigFile(path, image).ok());
  if (!root) ::chmod(folder.path().c_str(), 0700);
  EXPECT_EQ(ReadFile(path), old);
  EXPECT_FALSE(old.empty());
#endif
}

}  // namespace
}  // namespace qvr::mux410
