#pragma once
// The write operations of a device page's module row, the same for both pages over each page's
// own image: the check before a device write, then the writes, which prune the event list (so
// the tabs follow) and write.
#include <functional>
#include <string>

#include "devices/common/image_checks.h"
#include "devices/common/ui/device_page.h"
#include "link/device_module.h"
#include "link/link_result.h"
#include "platform/file_save.h"

namespace qvr {

class EventEditor;
class PageHost;

struct PageWriters {
  std::function<int()> controlsToImage;            // 0 stored, 1 refused (message shown)
  std::function<ImageRefusal()> prepareForDevice;  // the core's preparation of the image
  std::function<TransferResult(const DeviceModule&)> writeDevice;
  std::function<SaveResult(const std::string& path)> writeFile;
};

// The controls, then the core's preparation of the image for the device (the same as qvrctl's);
// a refused event value is pointed at in its list, any other refusal shown in a box. Done when
// the image may be sent.
PageOutcome CheckPageForDevice(PageHost& host, EventEditor& events, const PageWriters& writers);
// Prunes, then answers the device write's result.
TransferResult WriteDeviceRow(EventEditor& events, const DeviceModule& module,
                              const PageWriters& writers);
// Prunes and saves; a failed save shows one error box naming the file and is refused.
PageOutcome WriteFileRow(PageHost& host, EventEditor& events, const std::string& path,
                         const PageWriters& writers);

// Runs a device read into `image`; when it fails, the image goes back to what it was, so that
// the image and the controls that still show it stay one configuration (a half-read event table
// under the old tabs would be written back mixed).
template <typename Image, typename Read>
TransferResult ReadKeepingShownImage(Image& image, Read&& read) {
  Image previous = image;
  const TransferResult result = read(image);
  if (!result.ok()) image = previous;
  return result;
}

}  // namespace qvr
