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
      BitsField("MODE", "InputMASK", image.inputMask(), kInputMaskBits),
      CheckBoxField("MODE", "SENDTO", image.sendTo()),
      CheckBoxField("MODE", "ONLYEXTOUCH", image.onlyExtTouch()),
  };
}

ImageRefusal PrepareForDevice(ConfigImage& image) {
  return PrepareImageForDevice(ImageFields(image), image.events, kEventLists);
}

}  // namespace qvr::tpx520
