#include "devices/common/config_file_io.h"

#include <cstdio>

#include "devices/common/ini_file.h"
#include "editors/conversions.h"

namespace qvr {

namespace {

constexpr const char* kConfigSection = "CONFIGFILE";

struct EventKey {
  const char* key;
  uint8_t EventRecord::*field;  // null for the 16-bit address
};

// The integer keys of an event section in file order; "Description" is written before them.
constexpr EventKey kEventKeys[] = {
    {"Input", &EventRecord::input},
    {"Event", &EventRecord::event},
    {"OutTypeFreq", &EventRecord::outTypeFreq},
    {"type", &EventRecord::type},
    {"replay", &EventRecord::replay},
    {"address", nullptr},
    {"command", &EventRecord::command},
};

std::string EventSection(int number) {
  char name[24];
  std::snprintf(name, sizeof name, "EVENT%d", number);
  return name;
}

EventRecord ReadEventRecord(const IniFile& ini, const char* section) {
  EventRecord record;
  for (const EventKey& key : kEventKeys) {
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
  for (const EventKey& key : kEventKeys) {
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
  int slot = 0;
  for (int number = 1; number <= events.capacity(); ++number) {
    std::string section = EventSection(number);
    EventRecord record = ReadEventRecord(ini, section.c_str());
    if (!record.used()) continue;
    events.record(slot) = record;
    events.setDescription(slot, ini.GetString(section.c_str(), "Description"));
    ++slot;
  }
  events.setCount(slot);
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
