#include "devices/common/ui/page_writes.h"

#include "devices/common/ui/event_editor.h"
#include "devices/common/ui/page_host.h"
#include "i18n/catalogue.h"
#include "i18n/save_failure_text.h"
#include "link/host.h"

namespace qvr {
int CheckPageForDevice(PageHost& host, EventEditor& events, const PageWriters& writers) {
  if (writers.controlsToImage() != 0) return 1;
  const ImageRefusal refusal = writers.prepareForDevice();
  if (!refusal) return 0;
  if (refusal.eventField) return events.PointAtEventValue(refusal.slot, refusal.eventField);
  // The page's own controls refuse such values first; this box is the last guard.
  host.host().ShowMessageBox(BoxKind::kError, RefusalMessage(host.catalogue(), refusal));
  return 1;
}

int WriteDeviceRow(EventEditor& events, const DeviceModule& module, const PageWriters& writers) {
  events.PruneEvents();
  return writers.writeDevice(module);
}

int WriteFileRow(PageHost& host, EventEditor& events, const std::string& path,
                 const PageWriters& writers) {
  // Pruned here so that the tabs follow the packed list; the file writer then finds nothing
  // left to remove.
  events.PruneEvents();
  const SaveResult saved = writers.writeFile(path);
  if (saved.ok()) return 0;
  const std::string text = host.catalogue().Format(MessageId::kFileOpenFailed, path.c_str(), "") +
                           "\n" + SaveFailureText(host.catalogue(), saved);
  host.host().ShowMessageBox(BoxKind::kError, text);
  return 1;
}

}  // namespace qvr
