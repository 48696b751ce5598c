// Arbitrary bytes as a file name and as the NAME a configuration on standard input gives: the
// UTF-8 decoding never fails, and the name a device receives keeps the window's rule (at most
// 31 printable bytes, or "Too long name...").
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "devices/common/config_texts.h"
#include "editors/conversions.h"
#include "i18n/cp1251.h"
#include "platform/file_names.h"
#include "update/ldr_file.h"

namespace {

constexpr const char* kTooLong = "Too long name...";

bool KeepsTheWindowsRule(const std::string& name) {
  return name == kTooLong || name.size() <= qvr::kLongestConfigName;
}

bool Printable(const std::string& name) {
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  // A file name: its configuration name, its parts, the system's form of it.
  if (!KeepsTheWindowsRule(qvr::ConfigNameFromPath(bytes))) std::abort();
  std::string name, extension;
  qvr::SplitFileName(bytes, name, extension);
  if (bytes.find('\0') == std::string::npos && qvr::Utf8Path(qvr::NativePath(bytes)) != bytes)
    std::abort();
  // Once in Windows-1251, a name comes back unchanged through UTF-8.
  const std::string cp1251 = qvr::FileNameToCp1251(bytes);
  if (qvr::FileNameToCp1251(qvr::Cp1251ToUtf8(cp1251)) != cp1251) std::abort();

  // The NAME of a configuration on standard input, as the device receives it.
  const std::string sent = qvr::ConfigNameFromText(bytes);
  if (!KeepsTheWindowsRule(sent) || !Printable(sent)) std::abort();
  qvr::ConfigTexts texts;
  texts.setConfigName(sent);
  if (texts.configNameText() != sent || texts.configName[qvr::kConfigNameSize - 1] != 0)
    std::abort();
  return 0;
}
