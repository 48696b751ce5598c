#include "cli/value_changes.h"

#include <cctype>
#include <cstdint>

#include "devices/common/ini_file.h"
#include "i18n/added_texts.h"
#include "i18n/catalogue.h"

namespace qvr::cli {

namespace {

// The text without surrounding blanks and quotes.
std::string Trimmed(std::string text) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.back())) text.pop_back();
  size_t start = 0;
  while (start < text.size() && blank(text[start])) ++start;
  text.erase(0, start);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
    text = text.substr(1, text.size() - 2);
  return text;
}

// A whole decimal number (an optional sign and digits), else false.
bool WholeNumber(const std::string& text, long double& value) {
  size_t i = text.empty() || (text[0] != '-' && text[0] != '+') ? 0 : 1;
  if (i == text.size()) return false;
  value = 0;
  for (; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    value = value * 10 + (text[i] - '0');
  }
  if (text[0] == '-') value = -value;
  return true;
}

void Check(const IniFile& ini, const std::string& section, const char* key, uint32_t unit, int bits,
           std::vector<ValueChange>& changes) {
  if (!ini.HasKey(section.c_str(), key)) return;
  const std::string text = Trimmed(ini.GetString(section.c_str(), key));
  long double value = 0;
  ValueChange change{section, key, text, unit, ValueChange::Reason::kCut, bits};
  if (!WholeNumber(text, value)) {
    change.reason = ValueChange::Reason::kNotANumber;
  } else if (value < 0 || value >= (long double)(uint64_t(1) << bits)) {
    change.reason = ValueChange::Reason::kCut;
  } else if (uint32_t(value) != unit) {
    change.reason = ValueChange::Reason::kMasked;
  } else {
    return;
  }
  changes.push_back(change);
}

}  // namespace

std::vector<ValueChange> ValuesChangedOnTheWay(const std::string& path,
                                               std::span<const ImageField> fields,
                                               const EventTable& events,
                                               const std::vector<int>& eventSections) {
  IniFile ini;
  (void)ini.Load(path);
  std::vector<ValueChange> changes;
  for (const ImageField& field : fields) {
    const int bits = field.bit >= 0 ? 1 : field.width * 8;
    Check(ini, field.section, field.key, field.Value(), bits, changes);
  }
  for (int slot = 0; slot < events.count() && size_t(slot) < eventSections.size(); ++slot) {
    const std::string section = "EVENT" + std::to_string(eventSections[size_t(slot)]);
    const EventRecord& record = events.record(slot);
    for (const EventFileKey& key : kEventFileKeys) {
      const uint32_t unit = key.field ? record.*key.field : record.address;
      Check(ini, section, key.key, unit, key.field ? 8 : 16, changes);
    }
  }
  return changes;
}

std::string ValueChangeText(const Catalogue& catalogue, const std::string& path,
                            const ValueChange& change) {
  std::string reason;
  switch (change.reason) {
    case ValueChange::Reason::kNotANumber:
      reason = Text(catalogue, AddedText::kValueNotANumber);
      break;
    case ValueChange::Reason::kCut:
      reason = change.bits == 1
                   ? std::string(Text(catalogue, AddedText::kValueBitZero))
                   : catalogue.FormatText(Text(catalogue, AddedText::kValueCut), change.bits);
      break;
    case ValueChange::Reason::kMasked:
      reason = Text(catalogue, AddedText::kValueMasked);
      break;
  }
  return catalogue.FormatText(Text(catalogue, AddedText::kValueChanged), path.c_str(),
                              change.section.c_str(), change.key.c_str(), change.file.c_str(),
                              unsigned(change.unit), reason.c_str());
}

}  // namespace qvr::cli
