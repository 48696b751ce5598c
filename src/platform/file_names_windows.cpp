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

std::wstring ExtendedPath(const std::string& path) {
  const std::wstring given = WideFromUtf8(path);
  if (given.starts_with(L"\\\\?\\") || given.starts_with(L"\\\\.\\")) return given;
  std::wstring full(MAX_PATH, L'\0');
  DWORD n = ::GetFullPathNameW(given.c_str(), DWORD(full.size()), full.data(), nullptr);
  if (n >= full.size()) {
    full.resize(n);
    n = ::GetFullPathNameW(given.c_str(), DWORD(full.size()), full.data(), nullptr);
  }
  if (n == 0 || n >= full.size()) return given;
  full.resize(n);
  if (full.starts_with(L"\\\\.\\") || full.starts_with(L"\\\\?\\")) return full;  // a device
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

bool NameEndsInTrimmedCharacter(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty() || name == "." || name == "..") return false;
  return name.back() == '.' || name.back() == ' ';
}

std::filesystem::path NativePath(const std::string& path) {
  return std::filesystem::path(WideFromUtf8(path));
}

std::string Utf8Path(const std::filesystem::path& path) {
  return Utf8FromWide(path.wstring());
}

bool SameDevicePath(const std::string& a, const std::string& b) {
  return SameFileName(a, b);
}

bool SameFileName(const std::string& a, const std::string& b) {
  return ::CompareStringOrdinal(WideFromUtf8(a).c_str(), -1, WideFromUtf8(b).c_str(), -1, TRUE) ==
         CSTR_EQUAL;
}

}  // namespace qvr
