#pragma once
// The write operations of a device page's module row, the same for both pages over each page's
// own image: called without a module they only store the controls, with the module they prune
// the event list (so the tabs follow) and write.
#include <functional>
#include <string>

#include "link/device_module.h"
#include "link/link_result.h"
#include "platform/file_save.h"

namespace qvr {

class EventEditor;
class PageHost;

struct PageWriters {
  std::function<int()> controlsToImage;  // 0 stored, 1 refused (message shown)
  std::function<LinkResult(const DeviceModule&)> writeDevice;
  std::function<SaveResult(const std::string& path)> writeFile;
};

// Without a module: the controls, then the check that no used event lacks its input (such an
// event would end the device's table early). With it: prune, then the device write's result.
int WriteDeviceRow(EventEditor& events, const DeviceModule* module, const PageWriters& writers);
// Without a module: the controls. With it: prune and save; a failed save shows one error box
// naming the file and answers 1.
int WriteFileRow(PageHost& host, EventEditor& events, const DeviceModule* module,
                 const std::string& path, const PageWriters& writers);

// Runs a device read into `image`; when it fails, the image goes back to what it was, so that
// the image and the controls that still show it stay one configuration (a half-read event table
// under the old tabs would be written back mixed).
template <typename Image, typename Read>
LinkResult ReadKeepingShownImage(Image& image, Read&& read) {
  Image previous = image;
  const LinkResult result = read(image);
  if (result != LinkOk) image = previous;
  return result;
}

}  // namespace qvr
