// Windows file names are UTF-16: every name is converted with the system's own converter.
#include <windows.h>

#include "platform/file_names.h"
#include "platform/windows_text.h"

namespace qvr {

std::wstring WideFromUtf8(const std::string& text) {
  if (text.empty()) return {};
  const int size = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring wide(size_t(size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), size);
  return wide;
}

std::string Utf8FromWide(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                         nullptr, nullptr);
  std::string utf8(size_t(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), utf8.data(), size, nullptr,
                        nullptr);
  return utf8;
}

std::filesystem::path NativePath(const std::string& path) {
  return std::filesystem::path(WideFromUtf8(path));
}

std::string Utf8Path(const std::filesystem::path& path) {
  return Utf8FromWide(path.wstring());
}

}  // namespace qvr
