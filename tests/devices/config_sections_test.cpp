// Which files are configurations of a device at all, checked before anything is loaded.
#include "devices/common/config_sections.h"

#include <gtest/gtest.h>

#include <memory>

#include "devices/mux410/config_file.h"
#include "devices/test_files.h"
#include "devices/tpx520/config_file.h"
#include "i18n/catalogue.h"

namespace qvr {
namespace {

using test::ScratchFolder;
using test::WriteFile;

struct Device {
  const char* name;
  std::vector<ImageField> fields;
  int capacity;
};

// Only the sections of the images' fields are looked at.
const std::vector<Device>& Devices() {
  static mux410::ConfigImage mux;
  static tpx520::ConfigImage tpx;
  static const std::vector<Device> devices = {
      {"MUX-410", mux410::ImageFields(mux), mux410::kEventCapacity},
      {"TPX-520", tpx520::ImageFields(tpx), tpx520::kEventCapacity},
  };
  return devices;
}

ConfigSectionCheck Check(const Device& device, const std::string& path) {
  Catalogue catalogue;
  catalogue.setLanguage(kEnglish);
  return CheckConfigSections(catalogue, path, device.name, device.fields, device.capacity);
}

TEST(ConfigSections, EmptyGarbageAndForeignFilesAreNoConfigurationOfEitherDevice) {
  ScratchFolder folder;
  const std::pair<const char*, std::string> files[] = {
      {"empty.MUX", ""},
      {"garbage.MUX", std::string("\x7F"
                                  "ELF\x02\x01\0\0 binary",
                                  16)},
      {"settings.MUX", "[MainSettings]\r\nTop=10\r\n[DirectoryConfig]\r\nMUX-410=/a.MUX\r\n"},
      {"sectionless.MUX", "NAME=car\r\nTYPE=1\r\n"},
      {"beyond.MUX", "[EVENT97]\r\nEvent=1\r\ntype=1\r\n"},  // past both tables
  };
  for (const Device& device : Devices()) {
    for (const auto& [name, bytes] : files) {
      SCOPED_TRACE(std::string(device.name) + " " + name);
      WriteFile(folder.File(name), bytes);
      const ConfigSectionCheck check = Check(device, folder.File(name));
      EXPECT_EQ(check.verdict, SectionVerdict::kNotOfDevice);
      EXPECT_EQ(check.message, "The file \"" + folder.File(name) +
                                   "\" is not a configuration file of the device \"" + device.name +
                                   "\"");
    }
    EXPECT_EQ(Check(device, folder.File("absent.MUX")).verdict, SectionVerdict::kUnreadable);
  }
}

TEST(ConfigSections, SavedFilesAreCompleteAndCutOnesNameWhatTheyLack) {
  ScratchFolder folder;
  auto mux = std::make_unique<mux410::ConfigImage>();
  ASSERT_TRUE(mux410::WriteConfigFile(folder.File("mux.MUX"), *mux).ok());
  auto tpx = std::make_unique<tpx520::ConfigImage>();
  ASSERT_TRUE(tpx520::WriteConfigFile(folder.File("tpx.MUX"), *tpx).ok());
  EXPECT_EQ(Check(Devices()[0], folder.File("mux.MUX")).verdict, SectionVerdict::kComplete);
  EXPECT_EQ(Check(Devices()[1], folder.File("tpx.MUX")).verdict, SectionVerdict::kComplete);
  EXPECT_TRUE(Check(Devices()[1], folder.File("tpx.MUX")).message.empty());

  // A TPX-520 file has no DPAR or INPUT; a file cut after its NAVI section lacks the rest.
  ConfigSectionCheck other = Check(Devices()[0], folder.File("tpx.MUX"));
  EXPECT_EQ(other.verdict, SectionVerdict::kMissingSome);
  EXPECT_NE(other.message.find("lacks the sections DPAR, INPUT:"), std::string::npos);
  WriteFile(folder.File("cut.MUX"), "[CONFIGFILE]\r\nNAME=cut\r\n\r\n[NAVI]\r\nType=1\r\n[MO");
  other = Check(Devices()[1], folder.File("cut.MUX"));
  EXPECT_EQ(other.verdict, SectionVerdict::kMissingSome);
  EXPECT_NE(other.message.find("lacks the sections MODE:"), std::string::npos);
  // Events alone still make it a configuration of the device (lower-case names as well).
  WriteFile(folder.File("events.MUX"), "[event64]\r\nEvent=1\r\ntype=1\r\n");
  other = Check(Devices()[1], folder.File("events.MUX"));
  EXPECT_EQ(other.verdict, SectionVerdict::kMissingSome);
  EXPECT_NE(other.message.find("CONFIGFILE, NAVI, MODE"), std::string::npos);
}

}  // namespace
}  // namespace qvr
