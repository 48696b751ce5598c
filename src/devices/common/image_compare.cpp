#include "devices/common/image_compare.h"

#include <algorithm>

#include "i18n/cp1251.h"

namespace qvr {
namespace {

std::string EventText(const EventTable& table, int slot) {
  if (slot >= table.count()) return std::string();
  const EventRecord& r = table.record(slot);
  return std::to_string(r.input) + "/" + std::to_string(r.event) + "/" + std::to_string(r.type) +
         "/" + std::to_string(r.address) + "/" + std::to_string(r.command) + "/" +
         std::to_string(r.replay) + "/" + std::to_string(r.outTypeFreq) + " \"" +
         Cp1251ToUtf8(table.description(slot)) + "\"";
}

}  // namespace

std::vector<ImageChange> CompareImages(const std::vector<ImageField>& deviceFields,
                                       const EventTable& deviceEvents,
                                       const std::vector<ImageField>& pageFields,
                                       const EventTable& pageEvents) {
  std::vector<ImageChange> changes;
  const size_t fields = std::min(deviceFields.size(), pageFields.size());
  for (size_t i = 0; i < fields; ++i) {
    const uint32_t onDevice = deviceFields[i].Value();
    const uint32_t onPage = pageFields[i].Value();
    if (onDevice == onPage) continue;
    changes.push_back({std::string(pageFields[i].section) + " " + pageFields[i].key,
                       std::to_string(onDevice), std::to_string(onPage)});
  }
  const int events = std::max(deviceEvents.count(), pageEvents.count());
  for (int slot = 0; slot < events; ++slot) {
    std::string device = EventText(deviceEvents, slot);
    std::string page = EventText(pageEvents, slot);
    if (device != page)
      changes.push_back({"event " + std::to_string(slot + 1), std::move(device), std::move(page)});
  }
  return changes;
}

std::string ChangeLines(const std::vector<ImageChange>& changes, size_t limit) {
  std::string lines;
  for (size_t i = 0; i < changes.size() && i < limit; ++i) {
    const ImageChange& change = changes[i];
    lines += change.what + ": " + (change.device.empty() ? "-" : change.device) + " -> " +
             (change.page.empty() ? "-" : change.page) + "\n";
  }
  if (changes.size() > limit) lines += "... +" + std::to_string(changes.size() - limit) + "\n";
  if (!lines.empty()) lines.pop_back();
  return lines;
}

}  // namespace qvr
