#include "devices/common/image_checks.h"

#include "editors/conversions.h"
#include "i18n/catalogue.h"

namespace qvr {

namespace {

// Catalogue texts: "Select an option from the drop down list", "The value must be in the
// range from %s to %s", "Select an option".
constexpr int kMsgSelectFromList = 59, kMsgSecondsRange = 60, kMsgSelectOption = 86;

std::string SecondsRange(const Catalogue& catalogue, uint32_t low, uint32_t high) {
  std::string lowText = SecondsText(low);
  std::string highText = SecondsText(high);
  return catalogue.Format(kMsgSecondsRange, lowText.c_str(), highText.c_str());
}

std::string CheckField(const Catalogue& catalogue, const ImageField& field) {
  uint32_t value = field.Value();
  switch (field.rule) {
    case FieldRule::kAny:
      return {};
    case FieldRule::kList:
      return value < uint32_t(field.items) ? "" : catalogue.Text(kMsgSelectFromList);
    case FieldRule::kRadioGroup:
      return value < uint32_t(field.items) ? "" : catalogue.Text(kMsgSelectOption);
    case FieldRule::kPowerOnTimeout:
      value += uint32_t(kPowerOnOffsetMs);
      if (value >= uint32_t(kPowerOnMinMs) && value <= uint32_t(kPowerOnMaxMs)) return {};
      return SecondsRange(catalogue, kPowerOnMinMs, kPowerOnMaxMs);
    case FieldRule::kPulseTimeout:
      if (value >= uint32_t(kPulseMinMs) && value <= uint32_t(kPulseMaxMs)) return {};
      return SecondsRange(catalogue, kPulseMinMs, kPulseMaxMs);
  }
  return {};
}

bool EventWithinLists(const EventRecord& record, const EventListSizes& lists) {
  return record.input < lists.input && record.event < lists.event && record.type < lists.type &&
         record.outTypeFreq < lists.outTypeFreq && record.replay < lists.replay;
}

}  // namespace

std::string CheckImageFields(const Catalogue& catalogue, std::span<const ImageField> fields,
                             const EventTable& events, const EventListSizes& lists) {
  for (const ImageField& field : fields) {
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
