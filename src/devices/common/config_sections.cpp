#include "devices/common/config_sections.h"

#include <algorithm>
#include <vector>

#include "devices/common/ini_file.h"
#include "i18n/added_texts.h"

namespace qvr {

namespace {

// CONFIGFILE, then the parameters' sections in the order the file is written.
std::vector<std::string> SavedSections(std::span<const ImageField> fields) {
  std::vector<std::string> sections = {"CONFIGFILE"};
  for (const ImageField& field : fields) {
    if (std::find(sections.begin(), sections.end(), field.section) == sections.end())
      sections.push_back(field.section);
  }
  return sections;
}

bool HasEventSection(const IniFile& ini, int capacity) {
  for (int number = 1; number <= capacity; ++number) {
    if (ini.HasSection(("EVENT" + std::to_string(number)).c_str())) return true;
  }
  return false;
}

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

}  // namespace

ConfigSectionCheck CheckConfigSections(const Catalogue& catalogue, const std::string& path,
                                       const char* deviceName, std::span<const ImageField> fields,
                                       int eventCapacity, const std::string& shownName) {
  const std::string& shown = shownName.empty() ? path : shownName;
  IniFile ini;
  if (!ini.Load(path))
    return {SectionVerdict::kUnreadable,
            catalogue.Format(MessageId::kFileOpenFailed, shown.c_str(), "")};
  const std::vector<std::string> saved = SavedSections(fields);
  std::vector<std::string> missing;
  for (const std::string& section : saved) {
    if (!ini.HasSection(section.c_str())) missing.push_back(section);
  }
  if (missing.empty()) return {};
  if (missing.size() == saved.size() && !HasEventSection(ini, eventCapacity)) {
    return {SectionVerdict::kNotOfDevice,
            Catalogue::FormatText(Text(catalogue, AddedText::kNotDeviceConfiguration),
                                  shown.c_str(), deviceName)};
  }
  const std::string names = Joined(missing);
  return {SectionVerdict::kMissingSome,
          Catalogue::FormatText(Text(catalogue, AddedText::kMissingSections), shown.c_str(),
                                names.c_str())};
}

}  // namespace qvr
