#pragma once
// What a restore takes from the file it is given: the raw image beside a backup's *.MUX, and
// whether that image can go to the connected unit as it is. qvrctl and the window share it, so
// both restore the same bytes from the same file.
#include <string>

#include "devices/backup/raw_image.h"
#include "link/device_module.h"

namespace qvr {

// The raw image that goes with `path`: the file itself, or the one beside a backup's *.MUX;
// "" when there is none.
std::string RawImageBeside(const std::string& path);

// True when `image` is of `module`'s kind and its blocks and events fit that kind, so that a
// write can send it as it is.
bool ExactImageFits(const DeviceModule& module, const RawImage& image);

}  // namespace qvr
