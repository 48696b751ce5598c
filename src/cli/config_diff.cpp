#include "cli/config_diff.h"

#include <algorithm>

#include "i18n/cp1251.h"

namespace qvr::cli {

namespace {

std::string EventKeyValue(const EventTable& events, int slot, const EventFileKey& key) {
  if (slot >= events.count()) return {};
  const EventRecord& record = events.record(slot);
  return std::to_string(key.field ? record.*key.field : record.address);
}

void CompareEvents(const EventTable& device, const EventTable& file,
                   std::vector<KeyDifference>& differences) {
  const int slots = std::max(device.count(), file.count());
  for (int slot = 0; slot < slots; ++slot) {
    const std::string section = "EVENT" + std::to_string(slot + 1);
    auto description = [slot](const EventTable& events) {
      return slot < events.count() ? Cp1251ToUtf8(events.description(slot)) : std::string();
    };
    if (description(device) != description(file))
      differences.push_back({section, "Description", description(device), description(file),
                             DifferenceKind::kDescription});
    for (const EventFileKey& key : kEventFileKeys) {
      std::string onDevice = EventKeyValue(device, slot, key);
      std::string inFile = EventKeyValue(file, slot, key);
      if (onDevice != inFile) differences.push_back({section, key.key, onDevice, inFile});
    }
  }
}

}  // namespace

std::vector<KeyDifference> CompareImages(const ImageView& device, const ImageView& file) {
  std::vector<KeyDifference> differences;
  const std::string deviceName = Cp1251ToUtf8(device.texts.configNameText());
  const std::string fileName = Cp1251ToUtf8(file.texts.configNameText());
  if (deviceName != fileName)
    differences.push_back({"CONFIGFILE", "NAME", deviceName, fileName, DifferenceKind::kName});
  const std::string deviceText = Cp1251ToUtf8(device.texts.descriptionText());
  const std::string fileText = Cp1251ToUtf8(file.texts.descriptionText());
  if (deviceText != fileText)
    differences.push_back(
        {"CONFIGFILE", "TEXT", deviceText, fileText, DifferenceKind::kDescription});
  const size_t fields = std::min(device.fields.size(), file.fields.size());
  for (size_t i = 0; i < fields; ++i) {
    const uint32_t onDevice = device.fields[i].Value(), inFile = file.fields[i].Value();
    if (onDevice != inFile)
      differences.push_back({file.fields[i].section, file.fields[i].key, std::to_string(onDevice),
                             std::to_string(inFile)});
  }
  CompareEvents(device.events, file.events, differences);
  return differences;
}

}  // namespace qvr::cli
