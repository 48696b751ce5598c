#include "devices/common/ini_file.h"

#include <algorithm>

// Values are the files' 8-bit bytes as they stand; no character set conversion.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include "devices/common/ini_text.h"
#include "platform/file_read.h"

namespace qvr {

namespace {

// Text a parser may stop at or run together with the next line: NUL and other control bytes.
bool HoldsBinaryBytes(const std::string& data) {
  return std::any_of(data.begin(), data.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t' && c != '\r' && c != '\n') || byte == 0x7F;
  });
}

// A value is one line of the file; line breaks inside it would start new lines.
std::string OneLine(const std::string& value) {
  std::string line = value;
  std::replace_if(
      line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; }, ' ');
  return line;
}

// Sections and keys in the order they were loaded or added, CR LF line ends, no spaces
// around "=", one blank line between sections.
std::string Serialise(const CSimpleIniA& ini) {
  CSimpleIniA::TNamesDepend sections;
  ini.GetAllSections(sections);
  sections.sort(CSimpleIniA::Entry::LoadOrder());
  std::string text;
  for (const auto& section : sections) {
    if (!text.empty()) text += "\r\n";
    text += "[";
    text += section.pItem;
    text += "]\r\n";
    CSimpleIniA::TNamesDepend keys;
    ini.GetAllKeys(section.pItem, keys);
    keys.sort(CSimpleIniA::Entry::LoadOrder());
    for (const auto& key : keys) {
      text += key.pItem;
      text += "=";
      text += ini.GetValue(section.pItem, key.pItem, "");
      text += "\r\n";
    }
  }
  return text;
}

}  // namespace

struct IniFile::Impl {
  CSimpleIniA ini{false, false, false};  // case-insensitive names, 8-bit, one value per key
  bool whole = true;
};

IniFile::IniFile() : impl_(std::make_unique<Impl>()) {}
IniFile::~IniFile() = default;

bool IniFile::Load(const std::string& path) {
  impl_->ini.Reset();
  std::string data;
  bool tooLarge = false;
  if (!ReadRegularFile(path, kMaxIniFileSize, data, tooLarge)) return false;
  impl_->whole = !tooLarge && !HoldsBinaryBytes(data);
  // What the parser sees is what the platform's profile functions read: the whole file, and
  // the first of repeated sections and keys.
  const std::string text = FirstOccurrencesOnly(data);
  if (!text.empty() && impl_->ini.LoadData(text.data(), text.size()) < 0) impl_->whole = false;
  return true;
}

bool IniFile::loadedWhole() const {
  return impl_->whole;
}

int64_t IniFile::GetInt(const char* section, const char* key, int64_t defaultValue) const {
  const char* stored = impl_->ini.GetValue(section, key, nullptr);
  if (stored == nullptr) return defaultValue;
  const std::string unquoted(Unquoted(stored));
  const char* text = unquoted.c_str();
  while (*text == ' ' || *text == '\t') ++text;
  bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  // Unsigned arithmetic wraps like the platform's 32-bit conversion did; callers keep only
  // the low bits of their field's width.
  uint64_t value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) value = value * 10 + uint64_t(*text - '0');
  if (negative) value = ~value + 1;
  return static_cast<int64_t>(value);
}

std::string IniFile::GetString(const char* section, const char* key,
                               const char* defaultValue) const {
  const char* text = impl_->ini.GetValue(section, key, nullptr);
  if (text == nullptr) return defaultValue ? std::string(defaultValue) : std::string();
  return std::string(Unquoted(text));
}

void IniFile::SetInt(const char* section, const char* key, int64_t value) {
  SetString(section, key, std::to_string(value));
}

void IniFile::SetString(const char* section, const char* key, const std::string& value) {
  (void)impl_->ini.SetValue(section, key, QuotedWhereNeeded(OneLine(value)).c_str());
}

void IniFile::RemoveSection(const char* section) {
  (void)impl_->ini.Delete(section, nullptr);
}

bool IniFile::HasSection(const char* section) const {
  return impl_->ini.GetSectionSize(section) >= 0;
}

bool IniFile::HasKey(const char* section, const char* key) const {
  return impl_->ini.GetValue(section, key, nullptr) != nullptr;
}

SaveResult IniFile::SaveAtomically(const std::string& path) const {
  return SaveFile(path, Serialise(impl_->ini));
}

}  // namespace qvr
