#include "devices/mux410/config_image.h"
#include "devices/mux410/transfer.h"

#include "devices/common/image_checks.h"

namespace qvr::mux410 {

void ConfigImage::Clear() {
  *this = ConfigImage{};
}

// DPAR mirrors block 20 byte for byte (operating mode, return input, flags), so the mode is
// DPAR/IEBUSMODE; bits 6 and 7 of the flags are not in the file.
std::vector<ImageField> ImageFields(ConfigImage& image) {
  uint8_t* dpar = image.dpar.data();
  return {
      ListField("NAVI", "TYPE", image.naviType(), kNaviTypeItems),
      ListField("NAVI", "INPUT", image.naviInput(), kNaviInputItems),
      ListField("NAVI", "MUTE", image.naviMute(), kNaviMuteItems),
      BitsField("NAVI", "FLAGS", image.naviFlags(), kNaviFlagBits),
      ListField("MODE", "ONPOWERON", image.onPowerOn(), kOnPowerOnItems),
      ListField("MODE", "OUTPULSEMODE", image.outPulseMode(), kOutPulseModeItems),
      TimeField("MODE", "ONPOWERTO", &image.mode[2], FieldRule::kPowerOnTimeout),
      TimeField("MODE", "PULSETO", &image.mode[4], FieldRule::kPulseTimeout),
      ListField("DPAR", "IEBUSMODE", dpar[0], kModeItems),
      ListField("DPAR", "RETURN_INPUT", dpar[1], kReturnInputItems),
      FlagField("DPAR", "USECIR", dpar[2], 0),
      FlagField("DPAR", "USETPX", dpar[2], 1),
      FlagField("DPAR", "LX570VER", dpar[2], 2),
      FlagField("DPAR", "GABARBUG", dpar[2], 3),
      FlagField("DPAR", "RESGVIF", dpar[2], 4),
      FlagField("DPAR", "LX570VER2", dpar[2], 5),
      BitsField("INPUT", "MASKED", image.inputMask(), kInputMaskBits),
  };
}

ImageRefusal PrepareForDevice(ConfigImage& image) {
  return PrepareImageForDevice(ImageFields(image), image.events, kEventLists);
}

}  // namespace qvr::mux410
