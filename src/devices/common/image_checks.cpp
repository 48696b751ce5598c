#include "devices/common/image_checks.h"

#include "editors/conversions.h"
#include "i18n/catalogue.h"

namespace qvr {

namespace {

void Normalise(const ImageField& field) {
  if (field.rule == FieldRule::kBits) field.data[0] &= uint8_t(field.items);
  if (field.rule == FieldRule::kCheckBox) field.data[0] = field.data[0] != 0 ? 1 : 0;
}

// The stored values a field's control accepts; false for fields that take every value.
bool AcceptedRange(const ImageField& field, uint32_t& low, uint32_t& high) {
  switch (field.rule) {
    case FieldRule::kList:
    case FieldRule::kRadioGroup:
      low = 0;
      high = uint32_t(field.items - 1);
      return true;
    case FieldRule::kPowerOnTimeout:
      low = uint32_t(kPowerOnMinMs - kPowerOnOffsetMs);
      high = uint32_t(kPowerOnMaxMs - kPowerOnOffsetMs);
      return true;
    case FieldRule::kPulseTimeout:
      low = uint32_t(kPulseMinMs);
      high = uint32_t(kPulseMaxMs);
      return true;
    default:
      return false;
  }
}

ImageRefusal CheckField(const ImageField& field) {
  ImageRefusal refusal;
  if (!AcceptedRange(field, refusal.low, refusal.high)) return refusal;
  refusal.value = field.Value();
  if (refusal.value >= refusal.low && refusal.value <= refusal.high) return refusal;
  refusal.section = field.section;
  refusal.key = field.key;
  refusal.rule = field.rule;
  return refusal;
}

ImageRefusal CheckEvent(const EventTable& events, int slot, const EventListSizes& lists) {
  const EventRecord& record = events.record(slot);
  ImageRefusal refusal;
  for (const EventFileKey& key : kEventFileKeys) {
    if (key.items == nullptr) continue;
    const uint32_t value = record.*key.field;
    const int items = lists.*key.items;
    if (value < uint32_t(items)) continue;
    refusal.key = key.key;
    refusal.slot = slot;
    refusal.eventField = key.field;
    refusal.value = value;
    refusal.high = uint32_t(items - 1);
    return refusal;
  }
  return refusal;
}

}  // namespace

ImageRefusal PrepareImageForDevice(std::span<const ImageField> fields, const EventTable& events,
                                   const EventListSizes& lists) {
  for (const ImageField& field : fields) Normalise(field);
  for (const ImageField& field : fields) {
    if (ImageRefusal refusal = CheckField(field)) return refusal;
  }
  for (int slot = 0; slot < events.count(); ++slot) {
    if (!events.record(slot).used()) continue;
    if (ImageRefusal refusal = CheckEvent(events, slot, lists)) return refusal;
  }
  return {};
}

std::string RefusalMessage(const Catalogue& catalogue, const ImageRefusal& refusal) {
  switch (refusal.rule) {
    case FieldRule::kRadioGroup:
      return catalogue.Text(MessageId::kSelectOption);
    case FieldRule::kPowerOnTimeout:
    case FieldRule::kPulseTimeout: {
      const uint32_t offset = refusal.rule == FieldRule::kPowerOnTimeout ? kPowerOnOffsetMs : 0;
      const std::string low = SecondsText(refusal.low + offset);
      const std::string high = SecondsText(refusal.high + offset);
      return catalogue.Format(MessageId::kSecondsRange, low.c_str(), high.c_str());
    }
    default:
      return catalogue.Text(MessageId::kSelectFromList);
  }
}

std::string RefusalRange(const Catalogue& catalogue, const ImageRefusal& refusal) {
  return catalogue.Format(MessageId::kNumberRange, unsigned(refusal.low), unsigned(refusal.high));
}

}  // namespace qvr
