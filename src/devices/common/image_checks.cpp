#include "devices/common/image_checks.h"

#include "editors/conversions.h"
#include "i18n/catalogue.h"

namespace qvr {

namespace {

constexpr int kMsgSelectFromList = 59;
constexpr int kMsgSecondsRange = 60;
constexpr int kMsgSelectOption = 86;

constexpr int32_t kPowerOnMinMs = 125, kPowerOnMaxMs = 50000;
constexpr int32_t kPulseMinMs = 10, kPulseMaxMs = 5000;

std::string CheckField(const Catalogue& catalogue, const FieldCheck& field) {
  bool inRange = int64_t(field.value) >= field.minimum && int64_t(field.value) <= field.maximum;
  if (inRange) return {};
  switch (field.kind) {
    case FieldCheck::kList:
      return catalogue.Text(kMsgSelectFromList);
    case FieldCheck::kRadioGroup:
      return catalogue.Text(kMsgSelectOption);
    case FieldCheck::kSeconds: {
      std::string low = SecondsText(uint32_t(field.minimum));
      std::string high = SecondsText(uint32_t(field.maximum));
      return catalogue.Format(kMsgSecondsRange, low.c_str(), high.c_str());
    }
  }
  return {};
}

bool EventWithinLists(const EventRecord& record, const EventListSizes& lists) {
  return record.input < lists.input && record.event < lists.event && record.type < lists.type &&
         record.outTypeFreq < lists.outTypeFreq && record.replay < lists.replay;
}

}  // namespace

FieldCheck PowerOnTimeoutCheck(uint16_t stored) {
  return {FieldCheck::kSeconds, uint32_t(stored) + uint32_t(kPowerOnMinMs), kPowerOnMinMs,
          kPowerOnMaxMs};
}

FieldCheck PulseTimeoutCheck(uint16_t milliseconds) {
  return {FieldCheck::kSeconds, milliseconds, kPulseMinMs, kPulseMaxMs};
}

std::string CheckImageFields(const Catalogue& catalogue, std::span<const FieldCheck> fields,
                             const EventTable& events, const EventListSizes& lists) {
  for (const FieldCheck& field : fields) {
    std::string message = CheckField(catalogue, field);
    if (!message.empty()) return message;
  }
  for (int slot = 0; slot < events.count(); ++slot) {
    const EventRecord& record = events.record(slot);
    if (record.used() && !EventWithinLists(record, lists)) {
      return catalogue.Text(kMsgSelectFromList);
    }
  }
  return {};
}

}  // namespace qvr
