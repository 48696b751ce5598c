#include "devices/common/ui/page_writes.h"

#include "devices/common/ui/event_editor.h"
#include "devices/common/ui/page_host.h"
#include "i18n/catalogue.h"
#include "i18n/save_failure_text.h"
#include "link/host.h"

namespace qvr {
PageOutcome CheckPageForDevice(PageHost& host, EventEditor& events, const PageWriters& writers) {
  if (writers.controlsToImage() != 0) return PageOutcome::kRefused;
  const ImageRefusal refusal = writers.prepareForDevice();
  if (!refusal) return PageOutcome::kDone;
  if (refusal.eventField) {
    (void)events.PointAtEventValue(refusal.slot, refusal.eventField);
    return PageOutcome::kRefused;
  }
  // The page's own controls refuse such values first; this box is the last guard.
  host.host().ShowMessageBox(BoxKind::kError, RefusalMessage(host.catalogue(), refusal));
  return PageOutcome::kRefused;
}

TransferResult WriteDeviceRow(EventEditor& events, const DeviceModule& module,
                              const PageWriters& writers) {
  events.PruneEvents();
  return writers.writeDevice(module);
}

PageOutcome WriteFileRow(PageHost& host, EventEditor& events, const std::string& path,
                         const PageWriters& writers) {
  // Pruned here so that the tabs follow the packed list; the file writer then finds nothing
  // left to remove.
  events.PruneEvents();
  const SaveResult saved = writers.writeFile(path);
  if (saved.ok()) return PageOutcome::kDone;
  const std::string text = host.catalogue().Format(MessageId::kFileOpenFailed, path.c_str(), "") +
                           "\n" + SaveFailureText(host.catalogue(), saved);
  host.host().ShowMessageBox(BoxKind::kError, text);
  return PageOutcome::kRefused;
}

}  // namespace qvr
