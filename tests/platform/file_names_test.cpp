// Cyrillic folder and file names, as installers name their customers' cars, through every way
// the core reaches a file: saves, configuration and update files, the simulator's state folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "devices/mux410/config_file.h"
#include "devices/test_files.h"
#include "i18n/catalogue.h"
#include "platform/file_names.h"
#include "platform/file_save.h"
#include "platform/folder_lock.h"
#include "sim/sim_controller.h"
#include "support/ldr_builder.h"
#include "update/ldr_file.h"

namespace qvr {
namespace {

using test::ReadFile;
using test::ScratchFolder;

std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(NativePath(folder)))
    names.push_back(Utf8Path(entry.path().filename()));
  std::sort(names.begin(), names.end());
  return names;
}

TEST(CyrillicFileNames, ConfigurationUpdateAndSimulatorFilesKeepTheirNames) {
  ScratchFolder scratch;
  const std::string folder = scratch.File("Гараж Иванова");
  ASSERT_TRUE(std::filesystem::create_directory(NativePath(folder)));
  EXPECT_EQ(NamesIn(scratch.path()), std::vector<std::string>{"Гараж Иванова"});

  const std::string config = folder + "/Лада Веста.MUX";
  mux410::ConfigImage image;
  image.setDescription("Description");
  const SaveResult saved = mux410::WriteConfigFile(config, image);
  ASSERT_TRUE(saved.ok()) << SystemErrorText(saved.systemError);
  ASSERT_TRUE(SaveFile(folder + "/заметка.txt", "старое").ok());
  ASSERT_TRUE(SaveFile(folder + "/заметка.txt", "новое").ok());
  EXPECT_EQ(ReadFile(folder + "/заметка.txt"), "новое");
  mux410::ConfigImage back;
  mux410::ReadConfigFile(config, back);
  EXPECT_EQ(back.descriptionText(), "Description");

  test::WriteBytes(folder + "/прошивка.LDR", test::LdrBuilder().Build());
  Catalogue catalogue;
  UpdateFile update;
  EXPECT_TRUE(LoadUpdateFile(folder + "/прошивка.LDR", catalogue, update).ok());

  const std::string state = folder + "/симулятор";
  {
    sim::SimController controller(state);
    ASSERT_TRUE(controller.SetBlock(sim::kAddressMux410, 19, {0x04}));
  }
  EXPECT_EQ(sim::SimController(state).Block(sim::kAddressMux410, 19), std::vector<uint8_t>{0x04});
  EXPECT_TRUE(FolderLock(state).held());
  EXPECT_EQ(NamesIn(folder), (std::vector<std::string>{"Лада Веста.MUX", "заметка.txt",
                                                       "прошивка.LDR", "симулятор"}));
}

}  // namespace
}  // namespace qvr
