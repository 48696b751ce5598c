#include "devices/common/config_file_io.h"

#include <cstdio>

#include "devices/common/ini_file.h"
#include "editors/conversions.h"

namespace qvr {

namespace {

// Section and key names are ASCII, and an INI file's are matched without regard to case.
bool SameName(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b)
    if (std::tolower(static_cast<unsigned char>(*a)) !=
        std::tolower(static_cast<unsigned char>(*b)))
      return false;
  return *a == *b;
}

constexpr const char* kConfigSection = "CONFIGFILE";

std::string EventSection(int number) {
  char name[24];
  std::snprintf(name, sizeof name, "EVENT%d", number);
  return name;
}

EventRecord ReadEventRecord(const IniFile& ini, const char* section) {
  EventRecord record;
  for (const EventFileKey& key : kEventFileKeys) {
    uint64_t value = uint64_t(ini.GetInt(section, key.key));
    if (key.field) {
      record.*key.field = uint8_t(value);
    } else {
      record.address = uint16_t(value);
    }
  }
  return record;
}

void WriteEventSection(IniFile& ini, int number, const EventTable& events, int slot) {
  std::string section = EventSection(number);
  const EventRecord& record = events.record(slot);
  ini.SetString(section.c_str(), "Description", events.description(slot));
  for (const EventFileKey& key : kEventFileKeys) {
    int64_t value = key.field ? record.*key.field : record.address;
    ini.SetInt(section.c_str(), key.key, value);
  }
}

}  // namespace

void ReadConfigFileInto(const std::string& path, const ConfigFileLayout& layout) {
  IniFile ini;
  (void)ini.Load(path);  // a missing file reads as all defaults
  std::string text = ini.GetString(kConfigSection, "TEXT");
  HexDecode(text, kDescriptionMaxLength, layout.texts.description.data());
  layout.texts.description[kDescriptionMaxLength] = 0;
  layout.texts.setConfigName(ConfigNameFromPath(path));
  for (const ImageField& field : layout.fields)
    field.Store(uint64_t(ini.GetInt(field.section, field.key)));

  EventTable& events = layout.events;
  if (layout.eventSections) layout.eventSections->clear();
  int slot = 0;
  for (int number = 1; number <= events.capacity(); ++number) {
    std::string section = EventSection(number);
    EventRecord record = ReadEventRecord(ini, section.c_str());
    if (!record.used()) continue;
    events.record(slot) = record;
    events.setDescription(slot, ini.GetString(section.c_str(), "Description"));
    if (layout.eventSections) layout.eventSections->push_back(number);
    ++slot;
  }
  events.setCount(slot);
}

bool HoldsOtherDevicesKeys(const std::string& path, std::span<const ImageField> own,
                           std::span<const ImageField> other) {
  IniFile ini;
  (void)ini.Load(path);
  // Whether the file holds a key of `mine` that `theirs` lacks.
  auto holdsOnlyKeysOf = [&ini](std::span<const ImageField> mine,
                                std::span<const ImageField> theirs) {
    for (const ImageField& field : mine) {
      bool shared = false;
      for (const ImageField& their : theirs) {
        shared =
            shared || (SameName(field.section, their.section) && SameName(field.key, their.key));
      }
      if (!shared && ini.HasKey(field.section, field.key)) return true;
    }
    return false;
  };
  return holdsOnlyKeysOf(other, own) && !holdsOnlyKeysOf(own, other);
}

SaveResult WriteConfigFileFrom(const std::string& path, const ConfigFileLayout& layout) {
  // A fresh document: sections of an older, longer file must not survive the save.
  IniFile ini;
  ini.SetString(kConfigSection, "NAME", ConfigNameFromPath(path));
  const ConfigTexts& texts = layout.texts;
  std::string description = texts.descriptionText();
  ini.SetString(
      kConfigSection, "TEXT",
      HexEncode(reinterpret_cast<const uint8_t*>(description.data()), description.size()));
  for (const ImageField& field : layout.fields) ini.SetInt(field.section, field.key, field.Value());
  EventTable& events = layout.events;
  events.currentEvent = events.Prune(events.currentEvent);
  for (int slot = 0; slot < events.count(); ++slot) {
    WriteEventSection(ini, slot + 1, events, slot);
  }
  return ini.SaveAtomically(path);
}

}  // namespace qvr
