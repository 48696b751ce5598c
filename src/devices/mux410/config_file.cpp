#include "devices/mux410/config_file.h"

#include <vector>

#include "devices/common/config_file_io.h"

namespace qvr::mux410 {

namespace {

// The keys of the file in write order; each names the block byte it carries. Bits 6 and 7
// of the DPAR flags are not in the file.
std::vector<IniField> Fields(ConfigImage& image) {
  uint8_t* flags = &image.dparFlags();
  return {
      {"NAVI", "TYPE", &image.naviType()},       {"NAVI", "INPUT", &image.naviInput()},
      {"NAVI", "MUTE", &image.naviMute()},       {"NAVI", "FLAGS", &image.naviFlags()},
      {"MODE", "ONPOWERON", &image.onPowerOn()}, {"MODE", "OUTPULSEMODE", &image.outPulseMode()},
      {"MODE", "ONPOWERTO", &image.mode[2], 2},  {"MODE", "PULSETO", &image.mode[4], 2},
      {"DPAR", "IEBUSMODE", &image.iebusMode()}, {"DPAR", "RETURN_INPUT", &image.returnInput()},
      {"DPAR", "USECIR", flags, 1, 0},           {"DPAR", "USETPX", flags, 1, 1},
      {"DPAR", "LX570VER", flags, 1, 2},         {"DPAR", "GABARBUG", flags, 1, 3},
      {"DPAR", "RESGVIF", flags, 1, 4},          {"DPAR", "LX570VER2", flags, 1, 5},
      {"INPUT", "MASKED", &image.inputMask()},
  };
}

}  // namespace

void ReadConfigFile(const std::string& path, ConfigImage& image) {
  ReadImageFile(path, image, Fields);
}

bool WriteConfigFile(const std::string& path, ConfigImage& image, std::string* error) {
  return WriteImageFile(path, image, Fields, error);
}

}  // namespace qvr::mux410
