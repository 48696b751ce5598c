// qvrctl run in-process against the simulated controller: what it prints, what reaches the
// device, and its exit status.
#include "cli/qvrctl.h"

#include <gtest/gtest.h>
#include <hidapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/command_table.h"
#include "cli/qvrctl_fixture.h"
#include "cli/shell_completion.h"
#include "devices/drivers/device_drivers.h"
#include "devices/mux410/config_file.h"
#include "devices/mux410/transfer.h"
#include "devices/tpx520/config_file.h"
#include "i18n/catalogue.h"
#include "platform/file_names.h"
#include "sim/sim_controller.h"
#include "support/ldr_builder.h"
#include "support/third_kind.h"

namespace qvr {
namespace {

TEST_F(Qvrctl, InfoShowsTheControllerByDefaultAndADeviceOnRequest) {
  Outcome o = Run({"info"});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.out,
            "******** Controller \"QVR-B\" is connected *************\n"
            "Controller                \"QVR-B\"\n"
            "The serial number         20230417\n"
            "Boot version              1.03\n"
            "Application version       1.12\n");
  o = Run({"info", "TPX-520"});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.out,
            "******************* Device *******************\n"
            "Controller                \"TPX-520\"\n"
            "The serial number         52000456\n"
            "Boot version              1.05\n"
            "Application version       3.07\n");
  o = Run({"info", "mux-410"}, nullptr, "ru");
  EXPECT_NE(o.out.find("Версия приложения 2.15"), std::string::npos) << o.out;
}

TEST_F(Qvrctl, InfoWithoutAControllerFailsWithTheLinkText) {
  const Outcome o = RunPlain({"qvrctl", "--lang", "en", "info"});
  if (o.status == 0) GTEST_SKIP() << "a real controller is attached";
  EXPECT_EQ(o.status, 1);
  // Where the HID library lacks calls hidapi needs (Wine), that is what the user is told.
  EXPECT_EQ(o.err, hid_init() == 0 ? "Controller \"QVR-B\" is disconnected\n"
                                   : "Error loading driver HID.DLL\n");
  // No adapter is a failure however the adapter was asked for, and says so in JSON too.
  for (const char* wanted : {"all", "20230417", "/dev/hidraw9"}) {
    const Outcome chosen = RunPlain({"qvrctl", "--lang", "en", "--controller", wanted, "info"});
    EXPECT_EQ(chosen.status, 1) << wanted << ": " << chosen.err;
  }
  const Outcome list = RunPlain({"qvrctl", "--lang", "en", "--json", "list"});
  EXPECT_EQ(list.status, 1);
  EXPECT_NE(list.out.find(R"("message":"No adapter is connected")"), std::string::npos) << list.out;
}

TEST_F(Qvrctl, PacketLogShowsTheResetRequestAndItsReply) {
  const Outcome o = Run({"--log", "reset", "mux-410"});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.err.find("> 00->01 CMD:83 OFFSET:0000 LEN:00\n"), std::string::npos) << o.err;
  EXPECT_NE(o.err.find("< 01<-00 CMD:FF OFFSET:0000 LEN:00\n"), std::string::npos) << o.err;
  EXPECT_EQ(o.out, "Device \"MUX-410\" restarted\n");
  EXPECT_FALSE(SentPackets(Run({"reset", "mux-410"}))) << "no packet lines without --log";
}

TEST_F(Qvrctl, WrittenConfigurationReadsBackFromTheDevice) {
  mux410::ConfigImage written;
  written.naviType() = 3;
  written.naviFlags() = 2;
  written.setPowerOnTimeout(1875);
  written.setPulseTimeout(500);
  written.iebusMode() = 1;
  written.inputMask() = 48;
  EventRecord event{
      .input = 2, .event = 11, .outTypeFreq = 8, .type = 1, .address = 4, .command = 17};
  for (int i = 0; i < 3; ++i) {
    written.events.record(i) = event;
    ++event.command;
  }
  written.events.setCount(3);
  ASSERT_TRUE(mux410::WriteConfigFile(files.File("in.MUX"), written).ok());

  Outcome o = Run({"write", "mux-410", files.File("in.MUX"), "--yes"});
  ASSERT_EQ(o.status, 0) << o.err;
  o = Run({"read", "MUX-410", files.File("out.MUX")});
  ASSERT_EQ(o.status, 0) << o.err;

  mux410::ConfigImage read;
  mux410::ReadConfigFile(files.File("out.MUX"), read);
  EXPECT_EQ(read.navi, written.navi);
  EXPECT_EQ(read.mode, written.mode);
  EXPECT_EQ(read.input, written.input);
  EXPECT_EQ(read.dpar, written.dpar);
  ASSERT_EQ(read.events.count(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(read.events.record(i), written.events.record(i)) << i;
}

TEST_F(Qvrctl, WriteRefusesAnInvalidOrMissingFileBeforeSendingAnythingAndSaysWhere) {
  mux410::ConfigImage image;
  image.naviType() = mux410::kNaviTypeItems;  // one beyond its list
  ASSERT_TRUE(mux410::WriteConfigFile(files.File("bad.MUX"), image).ok());
  Outcome o = Run({"--log", "write", "mux-410", files.File("bad.MUX"), "--yes"});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, "File \"" + files.File("bad.MUX") +
                       "\", section [NAVI], key TYPE=6: The value must be in the range from 0 "
                       "to 5\n");

  // An event code from a newer file: the section as the file numbers it, the value as written.
  WriteText(files.File("event.MUX"),
            "[MODE]\r\nPULSETO=500\r\n[EVENT3]\r\nInput=1\r\nEvent=\"40\"\r\ntype=1\r\n");
  o = Run({"--log", "write", "mux-410", files.File("event.MUX"), "--yes"});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, "File \"" + files.File("event.MUX") +
                       "\", section [EVENT3], key Event=40: The value must be in the range from 0 "
                       "to 35\n");
  o = Run({"write", "mux-410", files.File("event.MUX"), "--yes"}, nullptr, "ru");
  EXPECT_NE(o.err.find("\", секция [EVENT3], ключ Event=40: "), std::string::npos) << o.err;

  o = Run({"--log", "write", "tpx-520", files.File("missing.MUX"), "--yes"});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, "Error opening file \"missing.MUX\"\n");

  // Not refused by some unrelated range check: named as what they are.
  const std::string junk = files.File("junk.MUX");
  for (std::string bytes : {"", "\x01\x02garbage\xFF", "[MainSettings]\r\nTop=1\r\n"}) {
    test::WriteBytes(junk, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    o = Run({"--log", "write", "mux-410", junk, "--yes"});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err,
              "The file \"" + junk + "\" is not a configuration file of the device \"MUX-410\"\n");
  }

  o = Run({"write", "qvr-b", files.File("bad.MUX")});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, "Writing configurations\nin the device of this type\nis not supported\n");
}

TEST_F(Qvrctl, FileOfTheOtherDeviceIsRefusedAsItsConfiguration) {
  tpx520::ConfigImage tpx;
  tpx.setPulseTimeout(500);
  mux410::ConfigImage mux;
  mux.setPulseTimeout(500);
  ASSERT_TRUE(tpx520::WriteConfigFile(files.File("tpx.MUX"), tpx).ok());
  ASSERT_TRUE(mux410::WriteConfigFile(files.File("mux.MUX"), mux).ok());

  Outcome o = Run({"--log", "write", "mux-410", files.File("tpx.MUX"), "--yes"});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, "The file \"" + files.File("tpx.MUX") +
                       "\" is a TPX-520 configuration, not a MUX-410 one: it is not written to "
                       "this device\n");
  o = Run({"write", "tpx-520", files.File("mux.MUX"), "--yes"}, nullptr, "ru");
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, "Файл \"" + files.File("mux.MUX") +
                       "\" содержит конфигурацию MUX-410, а не TPX-520: в это устройство он не "
                       "записывается\n");

  // Keys both devices' files have say nothing of the device: the file is checked as this one's.
  WriteText(files.File("shared.MUX"), "[NAVI]\r\nType=1\r\n[MODE]\r\nOnPowerOn=1\r\n");
  o = Run({"write", "tpx-520", files.File("shared.MUX"), "--yes"});
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.err.find("section [MODE], key PulseTOmS=0: "), std::string::npos) << o.err;
}

TEST_F(Qvrctl, ReadKeepsTheDeviceNameAsTheDescriptionAndACyrillicFileNameReachesTheDevice) {
  ASSERT_EQ(Run({"read", "mux-410", files.File("read.MUX")}).status, 0);
  mux410::ConfigImage read;
  mux410::ReadConfigFile(files.File("read.MUX"), read);
  EXPECT_EQ(read.descriptionText(), "Demo");  // the name the device holds

  // "Тойота Камри" in Windows-1251, as the window's memo shows it and the device keeps it.
  const std::string name = "\xD2\xEE\xE9\xEE\xF2\xE0 \xCA\xE0\xEC\xF0\xE8";
  const std::string cyrillic = files.File("Тойота Камри.MUX");
  std::filesystem::copy_file(NativePath(files.File("read.MUX")), NativePath(cyrillic));
  Outcome o = Run({"write", "mux-410", cyrillic, "--yes"});
  ASSERT_EQ(o.status, 0) << o.err;
  std::vector<uint8_t> block(name.begin(), name.end());
  block.resize(32);
  EXPECT_EQ(sim::SimController(state.path()).Block(1, mux410::kCmdName), block);

  ASSERT_EQ(Run({"read", "mux-410", files.File("again.MUX")}).status, 0);
  mux410::ReadConfigFile(files.File("again.MUX"), read);
  EXPECT_EQ(read.descriptionText(), name);
}

TEST_F(Qvrctl, WriteQuestionIsAskedOnATerminalAndDeclinedWithoutOne) {
  tpx520::ConfigImage image;
  image.naviType() = 2;
  image.setPulseTimeout(500);
  ASSERT_TRUE(tpx520::WriteConfigFile(files.File("t.MUX"), image).ok());
  const std::string question = "Are you sure you want to write\ndata to the controller?";

  Outcome o = Run({"--log", "write", "tpx-520", files.File("t.MUX")});
  EXPECT_EQ(o.status, 3) << "declined: a script must not count the unit as written";
  EXPECT_NE(o.err.find(question), std::string::npos);
  EXPECT_FALSE(SentPackets(o)) << o.err;

  // Yes in either language and any case, a blank or two around it; anything else is No.
  for (const char* answer : {"n\n", "нет\n", "yes please\n", "\n"}) {
    o = Run({"--log", "write", "tpx-520", files.File("t.MUX")}, answer);
    EXPECT_EQ(o.status, 3) << answer;
    EXPECT_FALSE(SentPackets(o)) << answer;
  }
  for (const char* answer : {"Y\n", " yes \n", "д\n", "Д\n", "да\n", "Да\n", "ДА\n"}) {
    o = Run({"write", "tpx-520", files.File("t.MUX")}, answer, "ru");
    EXPECT_EQ(o.status, 0) << answer << o.err;
  }

  o = Run({"--log", "write", "tpx-520", files.File("t.MUX")}, "y\n");
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_TRUE(SentPackets(o));
  EXPECT_EQ(sim::SimController(state.path()).Block(2, tpx520::kCmdNavi)[0], 2);

  // A file without its NAVI section would send that block as defaults: asked first.
  std::string cut = ReadText(files.File("t.MUX"));
  cut.erase(cut.find("[NAVI]"), cut.find("[MODE]") - cut.find("[NAVI]"));
  test::WriteBytes(files.File("cut.MUX"), {cut.begin(), cut.end()});
  const std::string warning =
      "lacks the sections NAVI: their parameters take their default "
      "values\nWrite this configuration to the device all the same?";
  for (const char* yes : {"--no-backup", "--yes"}) {
    o = Run({"--log", "write", "tpx-520", files.File("cut.MUX"), yes});
    EXPECT_EQ(o.status, 3) << yes << ": only --allow-missing-sections answers for a script";
    EXPECT_FALSE(SentPackets(o));
  }
  o = Run({"write", "tpx-520", files.File("cut.MUX"), "--yes", "--allow-missing-sections"});
  EXPECT_EQ(o.status, 0) << o.err;
  o = Run({"--log", "write", "tpx-520", files.File("cut.MUX")});
  EXPECT_EQ(o.status, 3);
  EXPECT_NE(o.err.find(warning), std::string::npos) << o.err;
  EXPECT_EQ(o.err.find(question), std::string::npos) << "declined before the usual question";
  EXPECT_FALSE(SentPackets(o));
  o = Run({"--log", "write", "tpx-520", files.File("cut.MUX")}, "y\ny\n");
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_TRUE(SentPackets(o));
}

TEST_F(Qvrctl, UpdateTransfersTheFileAndTheDeviceKeepsItsNewVersion) {
  test::LdrBuilder file{.version = 216,
                        .deviceVersion = sim::kMux410Identity.deviceVersion,
                        .deviceType = sim::kMux410Identity.deviceType,
                        .payloadSize = 200};
  test::WriteBytes(files.File("mux.LDR"), file.Build());

  // Without a terminal every update needs --yes, also a newer version that asks nothing.
  Outcome o = Run({"--log", "update", "mux-410", files.File("mux.LDR")});
  EXPECT_EQ(o.status, 3);
  EXPECT_FALSE(SentPackets(o));
  o = Run({"update", "mux-410", files.File("mux.LDR"), "--yes"});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find("The update file           \"mux.LDR\"\n"), std::string::npos) << o.out;
  // The unit's own answer after its restart follows the success text, which stays as it was.
  EXPECT_NE(o.out.find("The device is successfully updated to version 2.16\n"
                       "confirmed: the unit reports 2.16\n"),
            std::string::npos)
      << o.out;
  EXPECT_NE(Run({"info", "mux-410"}).out.find("Application version       2.16"), std::string::npos);

  // --yes does not answer for the same or an older version: their own options do.
  o = Run({"update", "mux-410", files.File("mux.LDR"), "--yes"});
  EXPECT_EQ(o.status, 3) << "the same version needs --allow-reinstall";
  EXPECT_NE(o.err.find("only --allow-reinstall or a user at a terminal"), std::string::npos)
      << o.err;
  o = Run({"update", "mux-410", files.File("mux.LDR")}, "y\ny\n");
  EXPECT_EQ(o.status, 0) << "a user at a terminal answers it: " << o.err;
  o = Run({"update", "mux-410", files.File("mux.LDR"), "--yes", "--allow-reinstall"});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find("successfully updated"), std::string::npos);
  // An image of whole blocks ends without a short one: the device still takes it at once.
  file.version = 217;
  file.payloadSize = 224;
  test::WriteBytes(files.File("whole.LDR"), file.Build());
  ASSERT_EQ(Run({"update", "mux-410", files.File("whole.LDR"), "--yes"}).status, 0);
  EXPECT_NE(Run({"info", "mux-410"}).out.find("Application version       2.17"), std::string::npos);
  file.version = 216;
  file.payloadSize = 200;
  EXPECT_EQ(Run({"update", "mux-410", files.File("mux.LDR"), "--yes"}).status, 3);
  EXPECT_EQ(Run({"update", "mux-410", files.File("mux.LDR"), "--yes", "--allow-older"}).status, 0);

  // Every block acknowledged is not an update: a unit that keeps its old firmware, or that
  // has not answered since, fails it (a silent one after about ten seconds of the link's time).
  file.version = 218;
  test::WriteBytes(files.File("next.LDR"), file.Build());
  WriteText(state.File("faults"), "keeps-firmware\n");
  o = Run({"update", "mux-410", files.File("next.LDR"), "--yes"});
  EXPECT_EQ(o.status, 1);
  EXPECT_TRUE(o.err.ends_with("\nthe unit still reports 2.16: it did not take the update\n"))
      << o.err;
  EXPECT_EQ(o.out.find("successfully updated"), std::string::npos) << o.out;
  WriteText(state.File("faults"), "restart-silent -1\n");
  const uint32_t start = clock.NowMs();
  o = Run({"update", "mux-410", files.File("next.LDR"), "--yes"});
  EXPECT_EQ(o.status, 1);
  EXPECT_GE(clock.NowMs() - start, 10000u);
  EXPECT_TRUE(o.err.ends_with("\nsent, not confirmed: the unit has not answered since\n")) << o.err;
  EXPECT_EQ(o.out.find("successfully updated"), std::string::npos) << o.out;
  std::filesystem::remove(state.File("faults"));
  EXPECT_NE(Run({"info", "mux-410"}).out.find("Application version       2.18"), std::string::npos)
      << "it took the update all the same, and said nothing";

  file.crcHighByteFirst = true;
  test::WriteBytes(files.File("bad.LDR"), file.Build());
  o = Run({"update", "mux-410", files.File("bad.LDR"), "--yes"});
  EXPECT_EQ(o.status, 1);
  EXPECT_TRUE(o.err.ends_with("? (--yes: yes)\nCRC error file \"bad.LDR\"\n")) << o.err;
}

TEST_F(Qvrctl, UnsupportedOperationsFailWithTheirMessage) {
  Outcome o = Run({"default", "qvr-b", "--yes"});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err,
            "Resetting the device configuration\nto the default state for this type of device\n"
            "is not supported\n");
  o = Run({"read", "qvr-b", files.File("x.MUX")});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, "Reading configuration\nfrom a device of this type\nis not supported\n");
}

TEST_F(Qvrctl, DefaultAsksAndRestoresTheSampleOnYes) {
  const Outcome declined = Run({"--log", "default", "tpx-520"});
  EXPECT_EQ(declined.status, 3);
  EXPECT_FALSE(SentPackets(declined)) << declined.err;
  const Outcome o = Run({"--log", "default", "tpx-520", "--yes"});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.err.find("> 00->02 CMD:84"), std::string::npos) << o.err;
}

TEST_F(Qvrctl, EveryCommandFailsWithOneWhenTheControllerIsGone) {
  ASSERT_EQ(Run({"read", "mux-410", files.File("unit.MUX")}).status, 0);
  test::WriteBytes(files.File("mux.LDR"),
                   test::LdrBuilder{.version = 216,
                                    .deviceVersion = sim::kMux410Identity.deviceVersion,
                                    .deviceType = sim::kMux410Identity.deviceType}
                       .Build());
  WriteText(state.File("faults"), "absent\n");
  const std::vector<std::vector<std::string>> commands = {
      {"info"},
      {"info", "tpx-520"},
      {"reset", "qvr-b"},
      {"reset", "mux-410"},
      {"default", "mux-410", "--yes"},
      {"default", "mux-410", "--yes", "--no-backup"},
      {"read", "mux-410", files.File("again.MUX")},
      {"write", "mux-410", files.File("unit.MUX"), "--yes"},
      {"write", "mux-410", files.File("unit.MUX"), "--yes", "--no-backup"},
      {"update", "mux-410", files.File("mux.LDR"), "--yes"},
  };
  for (const std::vector<std::string>& command : commands) {
    const Outcome o = Run(command);
    EXPECT_EQ(o.status, 1) << command[0] << " " << command.back() << "\n" << o.err;
    EXPECT_NE(o.err.find("Controller \"QVR-B\" is disconnected"), std::string::npos) << o.err;
  }
  EXPECT_EQ(Run({"diff", "mux-410", files.File("unit.MUX")}).status, 2);
  EXPECT_FALSE(std::filesystem::exists(files.File("again.MUX")));
}

// A unit that refuses one record of its event table: the command fails with the catalogue's
// text and, on the line after it, the block and offset where the transfer stopped; nothing
// from that record on reaches the unit or the file. A write whose backup read fails sends
// nothing at all.
enum class RefusedBy { kRead, kWrite, kBackupBeforeWrite };

struct RefusedRecord {
  RefusedBy step;
  const char* language;
  int slot;
  std::string error;
};

class QvrctlRefusedRecord : public Qvrctl, public ::testing::WithParamInterface<RefusedRecord> {};

TEST_P(QvrctlRefusedRecord, TheFailureSaysTheBlockAndOffsetWhereTheTransferStopped) {
  const RefusedRecord& c = GetParam();
  mux410::ConfigImage first;
  first.setPowerOnTimeout(1875);
  first.setPulseTimeout(500);
  EventRecord event{
      .input = 2, .event = 11, .outTypeFreq = 8, .type = 1, .address = 4, .command = 17};
  for (int i = 0; i < 10; ++i, ++event.command) first.events.record(i) = event;
  first.events.setCount(10);
  mux410::ConfigImage second = first;
  for (int i = 0; i < 10; ++i) second.events.record(i).input = 3;
  ASSERT_TRUE(mux410::WriteConfigFile(files.File("first.MUX"), first).ok());
  ASSERT_TRUE(mux410::WriteConfigFile(files.File("second.MUX"), second).ok());
  const Outcome old = Run({"write", "mux-410", files.File("first.MUX"), "--yes", "--no-backup"});
  ASSERT_EQ(old.status, 0) << old.err;

  WriteText(state.File("faults"), "refuse 27 " + std::to_string(8 * c.slot) + "\n");
  std::vector<std::string> command = {"write", "mux-410", files.File("second.MUX"), "--yes"};
  if (c.step == RefusedBy::kWrite) command.push_back("--no-backup");
  if (c.step == RefusedBy::kRead) command = {"read", "mux-410", files.File("out.MUX")};
  const Outcome o = Run(command, nullptr, c.language);
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, c.error);
  EXPECT_FALSE(std::filesystem::exists(files.File("out.MUX")));
  const std::vector<uint8_t> unit = sim::SimController(state.path()).Block(1, 27);
  for (int i = 0; i < 10; ++i) {
    const bool written = c.step == RefusedBy::kWrite && i < c.slot;
    const auto kept = (written ? second : first).events.record(i).Encode();
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), unit.begin() + 8 * i)) << "record " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    ReadAndWrite, QvrctlRefusedRecord,
    ::testing::Values(
        RefusedRecord{RefusedBy::kRead, "en", 5,
                      "Error reading the configuration of the device \"MUX-410\"\n"
                      "Memory allocation error\n"
                      "failed at block 6 of 96 (offset 0x0028)\n"},
        RefusedRecord{RefusedBy::kWrite, "ru", 7,
                      "Вы действительно хотите\nзаписать данные в контроллер? (--yes: да)\n"
                      "Ошибка записи конфигурации в устройство \"MUX-410\"\n"
                      "Ошибка выделения памяти\n"
                      "сбой на блоке 8 из 96 (смещение 0x0038)\n"
                      "Устройство уже приняло часть данных: в нём может быть смесь старой и новой "
                      "конфигурации.\nЗапишите конфигурацию ещё раз.\n"},
        RefusedRecord{RefusedBy::kBackupBeforeWrite, "en", 3,
                      "Are you sure you want to write\ndata to the controller? (--yes: yes)\n"
                      "Could not back up the configuration of the device \"MUX-410\", nothing "
                      "was sent to it (--no-backup: go on without a backup)\n"
                      "Memory allocation error\n"
                      "failed at block 4 of 96 (offset 0x0018)\n"}),
    [](const ::testing::TestParamInfo<RefusedRecord>& info) {
      if (info.param.step == RefusedBy::kRead) return std::string("Read");
      return std::string(info.param.step == RefusedBy::kWrite ? "Write" : "BackupBeforeWrite");
    });

// A stream that takes nothing, as standard output on a full disk.
class FullStream : public std::streambuf {
 protected:
  int overflow(int) override { return traits_type::eof(); }
  std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

TEST_F(Qvrctl, OutputThatCannotBeWrittenFailsWithTheReason) {
  for (const char* file : {"-", ""}) {
    std::vector<std::string> args = {"qvrctl", "--simulator=" + state.path(), "--lang", "en"};
    if (*file) {
      args.insert(args.end(), {"read", "mux-410", file});
    } else {
      args.insert(args.end(), {"info"});
    }
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    FullStream full;
    std::ostream out(&full);
    std::ostringstream err;
    std::istringstream in;
    const int status =
        cli::RunQvrctl(int(argv.size()), argv.data(), out, err, cli::Terminal{&in, false, false});
    EXPECT_EQ(status, 1) << args.back();
    EXPECT_NE(err.str().find("Could not write to standard output"), std::string::npos) << err.str();
  }
}

// The language of the messages: --lang, else the first of LC_ALL, LC_MESSAGES and LANG that
// is set; usage errors speak it too.
TEST_F(Qvrctl, LanguageFollowsTheLocaleVariablesInTheirOrder) {
  struct Case {
    const char* all;
    const char* messages;
    const char* lang;
    const char* option;  // --lang, or null
    bool russian;
  };
  const Case cases[] = {
      {"ru_RU.UTF-8", "en_US.UTF-8", "en_US.UTF-8", nullptr, true},
      {"", "ru_RU.UTF-8", "en_US.UTF-8", nullptr, true},
      {"", "", "ru_RU.UTF-8", nullptr, true},
      {"C", "ru_RU.UTF-8", "ru_RU.UTF-8", nullptr, false},
      {"ru_RU.UTF-8", "", "", "en", false},
      {"", "", "", "ru", true},
  };
  const std::string saved[3] = {std::getenv("LC_ALL") ? std::getenv("LC_ALL") : "",
                                std::getenv("LC_MESSAGES") ? std::getenv("LC_MESSAGES") : "",
                                std::getenv("LANG") ? std::getenv("LANG") : ""};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.all) + "|" + c.messages + "|" + c.lang);
    test::SetEnvironment("LC_ALL", c.all);
    test::SetEnvironment("LC_MESSAGES", c.messages);
    test::SetEnvironment("LANG", c.lang);
    std::vector<std::string> info = {"qvrctl", "--simulator=" + state.path()};
    std::vector<std::string> wrong = {"qvrctl", "frobnicate"};
    if (c.option) {
      info.insert(info.end(), {"--lang", c.option});
      wrong.insert(wrong.end(), {"--lang", c.option});
    }
    info.push_back("info");
    const Outcome o = RunPlain(info);
    EXPECT_EQ(o.out.find("Версия приложения") != std::string::npos, c.russian) << o.out;
    const Outcome usage = RunPlain(wrong);
    EXPECT_EQ(usage.status, 2);
    EXPECT_NE(usage.err.find(c.russian ? "Ошибка в командной строке" : "Command line error"),
              std::string::npos)
        << usage.err;
  }
  test::SetEnvironment("LC_ALL", saved[0]);
  test::SetEnvironment("LC_MESSAGES", saved[1]);
  test::SetEnvironment("LANG", saved[2]);
}

#ifndef _WIN32
// The lines `command` prints, sorted.
std::vector<std::string> LinesPrinted(const std::string& command) {
  std::vector<std::string> lines;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return lines;
  std::string text;
  for (int c; (c = std::fgetc(pipe)) != EOF;) text += char(c);
  pclose(pipe);
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::sort(lines.begin(), lines.end());
  return lines;
}

// What the completion in `script` of `shell` (bash or fish) offers after the words of `line`.
std::vector<std::string> Offers(const std::string& shell, const std::string& script,
                                const std::string& line) {
  if (shell == "fish")
    return LinesPrinted("fish -c 'source \"" + script + "\"; complete -C \"" + line +
                        " \"' | cut -f1");
  return LinesPrinted("bash -c 'source \"" + script + "\"; COMP_WORDS=(" + line +
                      " \"\"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _qvrctl; "
                      "printf \"%s\\n\" \"${COMPREPLY[@]}\"'");
}

bool Installed(const std::string& shell) {
  return std::system(("command -v " + shell + " >/dev/null 2>&1").c_str()) == 0;
}
#endif

// Help, version and the completion scripts exit 0; every command of the table and every
// device name is completed, by scripts their shells accept.
TEST_F(Qvrctl, UsageErrorsHelpAndCompletions) {
  for (std::vector<std::string> args : {std::vector<std::string>{"qvrctl"},
                                        {"qvrctl", "info", "mux-999"},
                                        {"qvrctl", "read", "mux-410"},
                                        {"qvrctl", "--lang", "de", "info"},
                                        {"qvrctl", "frobnicate"},
                                        {"qvrctl", "completion", "tcsh"},
                                        {"qvrctl", "info",
                                         "\x1B]0;PWN\x07\xC2\x9B"
                                         "2J"}}) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    std::ostringstream out, err;
    EXPECT_EQ(RunQvrctl(int(argv.size()), argv.data(), out, err), 2) << args.back();
    EXPECT_FALSE(err.str().empty());
    // The words repeat the arguments, never as commands to the terminal.
    EXPECT_EQ(err.str().find_first_of("\x1B\x07"), std::string::npos) << err.str();
    EXPECT_EQ(err.str().find("\xC2\x9B"), std::string::npos) << err.str();
  }
  EXPECT_EQ(RunPlain({"qvrctl", "--help"}).status, 0);
  const Outcome version = RunPlain({"qvrctl", "--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "qvrctl 1.14\n");

  std::vector<std::string> commands;
  for (const cli::Command& command : cli::Commands()) commands.push_back(command.name);
  std::vector<std::string> devices = CommandNames(false);
  for (const std::string& shell : cli::CompletionShells()) {
    const Outcome o = RunPlain({"qvrctl", "completion", shell});
    EXPECT_EQ(o.status, 0) << shell;
    for (const std::vector<std::string>* names : {&commands, &devices})
      for (const std::string& name : *names)
        EXPECT_NE(o.out.find(name), std::string::npos) << shell << " lacks " << name;
#ifndef _WIN32
    const std::string script = files.File("qvrctl." + shell);
    WriteText(script, o.out);
    if (shell == "bash" || Installed(shell)) {
      EXPECT_EQ(std::system((shell + " -n " + script).c_str()), 0) << o.out;
    }
#endif
  }
#ifndef _WIN32
  std::sort(commands.begin(), commands.end());
  std::sort(devices.begin(), devices.end());
  for (const std::string shell : {"bash", "fish"}) {
    if (!Installed(shell)) continue;
    const std::string script = files.File("qvrctl." + shell);
    EXPECT_EQ(Offers(shell, script, "qvrctl"), commands) << shell;
    EXPECT_EQ(Offers(shell, script, "qvrctl --lang ru info"), devices) << shell;
  }
#endif

  // A kind registered once is taken by the command line and offered by every shell.
  cli::CommandLine line(test::kDriversWithThirdKind);
  EXPECT_NO_THROW(line.app.parse("read PRB-900 f.MUX", false));
  EXPECT_EQ(line.options.device, "PRB-900");
  for (const std::string& shell : cli::CompletionShells()) {
    const std::string text = cli::CompletionScript(shell, test::kDriversWithThirdKind);
    EXPECT_NE(text.find("prb-900"), std::string::npos) << shell;
#ifndef _WIN32
    if (shell == "zsh" || !Installed(shell)) continue;
    const std::string script = files.File("third." + shell);
    WriteText(script, text);
    // A command on configurations offers the third kind, which has one, beside the others.
    const std::vector<std::string> offered = Offers(shell, script, "qvrctl read");
    EXPECT_NE(std::find(offered.begin(), offered.end(), "prb-900"), offered.end()) << shell;
#endif
  }
}

}  // namespace
}  // namespace qvr
