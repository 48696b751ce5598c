#include "devices/tpx520/config_image.h"
#include "devices/tpx520/transfer.h"

#include "devices/common/image_checks.h"

namespace qvr::tpx520 {

// Everything zero, and the touch block counts as not read from the device.
void ConfigImage::Clear() {
  *this = ConfigImage{};
}

// The mode block's twelve bytes all live in MODE, under keys of mixed letter case.
std::vector<ImageField> ImageFields(ConfigImage& image) {
  return {
      ListField("NAVI", "Type", image.naviType(), kNaviTypeItems),
      ListField("NAVI", "Input", image.naviInput(), kNaviInputItems),
      ListField("MODE", "OnPowerOn", image.onPowerOn(), kOnPowerOnItems),
      ListField("MODE", "OutPulseMode", image.outPulseMode(), kOutPulseModeItems),
      TimeField("MODE", "OnPowerTOmS", &image.mode[2], FieldRule::kPowerOnTimeout),
      TimeField("MODE", "PulseTOmS", &image.mode[4], FieldRule::kPulseTimeout),
      RadioField("MODE", "InpCtrType", image.inpCtrType(), kInpCtrTypeItems),
      RadioField("MODE", "OutCtrType", image.outCtrType(), kOutCtrTypeItems),
      RadioField("MODE", "MuteType", image.muteType(), kMuteTypeItems),
      ByteField("MODE", "InputMASK", image.inputMask()),
      ByteField("MODE", "SENDTO", image.sendTo()),
      ByteField("MODE", "ONLYEXTOUCH", image.onlyExtTouch()),
  };
}

std::string CheckImage(const Catalogue& catalogue, ConfigImage& image) {
  return CheckImageFields(catalogue, ImageFields(image), image.events, kEventLists);
}

}  // namespace qvr::tpx520
