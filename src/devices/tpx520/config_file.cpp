#include "devices/tpx520/config_file.h"

#include <vector>

#include "devices/common/config_file_io.h"

namespace qvr::tpx520 {

namespace {

// The keys of the file in write order. The touch block is not in the file.
std::vector<IniField> Fields(ConfigImage& image) {
  return {
      {"NAVI", "Type", &image.naviType()},         {"NAVI", "Input", &image.naviInput()},
      {"MODE", "OnPowerOn", &image.onPowerOn()},   {"MODE", "OutPulseMode", &image.outPulseMode()},
      {"MODE", "OnPowerTOmS", &image.mode[2], 2},  {"MODE", "PulseTOmS", &image.mode[4], 2},
      {"MODE", "InpCtrType", &image.inpCtrType()}, {"MODE", "OutCtrType", &image.outCtrType()},
      {"MODE", "MuteType", &image.muteType()},     {"MODE", "InputMASK", &image.inputMask()},
      {"MODE", "SENDTO", &image.sendTo()},         {"MODE", "ONLYEXTOUCH", &image.onlyExtTouch()},
  };
}

}  // namespace

// The image's touch block stays zero and marked as not read from the device.
void ReadConfigFile(const std::string& path, ConfigImage& image) {
  ReadImageFile(path, image, Fields);
}

bool WriteConfigFile(const std::string& path, ConfigImage& image, std::string* error) {
  return WriteImageFile(path, image, Fields, error);
}

}  // namespace qvr::tpx520
