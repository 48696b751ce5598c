#pragma once
// The workshop bench for qvrctl's scenarios: the simulated adapters of Qvrctl, a data folder for
// backups and history, and the helpers that read what the commands left.
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/qvrctl_fixture.h"
#include "devices/mux410/config_file.h"

namespace qvr {

inline std::vector<nlohmann::json> JsonLines(const std::string& text) {
  std::vector<nlohmann::json> objects;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) objects.push_back(nlohmann::json::parse(line));
  return objects;
}

inline std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
    names.push_back(entry.path().filename().string());
  return names;
}

class Workshop : public Qvrctl {
 protected:
  // The device's configuration as a file, with another navigation type (the sample has 2).
  std::string MuxFile(uint8_t naviType) {
    EXPECT_EQ(Run({"read", "mux-410", files.File("sample.MUX")}).status, 0);
    mux410::ConfigImage image;
    mux410::ReadConfigFile(files.File("sample.MUX"), image);
    image.navi[0] = naviType;
    const std::string path = files.File("navi" + std::to_string(naviType) + ".MUX");
    EXPECT_TRUE(mux410::WriteConfigFile(path, image).ok());
    return path;
  }
  std::string BackupFolder() const { return data.path() + "/qvr-service/backups"; }
};

}  // namespace qvr
