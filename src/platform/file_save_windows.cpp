// The save routine on Windows. The temporary is written and flushed, then ReplaceFileW puts it
// in place of an existing file, which keeps that file's attributes, security and creation time
// (what owner and mode are on Linux); a new file is moved in with MoveFileExW. While its save
// writes it, a temporary is open without delete sharing, so another save's sweep of stale
// temporaries cannot remove it. Every path goes to the system in its extended form, so a target
// near or beyond MAX_PATH characters (whose temporary's name is longer still) saves like any.
// An antivirus, the search indexer or a sync client opens a new file for a moment: a save that
// meets a sharing violation or a denied access tries again for about a second before it says
// that another program holds the file.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <iterator>
#include <string>

#include "platform/file_save.h"
#include "platform/windows_text.h"

namespace qvr {
namespace {

constexpr int kNameAttempts = 100;
// How often, and how long apart, a save that another program is in the way of is tried.
constexpr int kBusyAttempts = 7;  // about a second in all
constexpr DWORD kFirstBusyPauseMs = 15;

struct HandleCloser {
  HANDLE handle;
  ~HandleCloser() { ::CloseHandle(handle); }
};

SaveResult SystemFailure() {
  return {SaveRefusal::kSystem, int(::GetLastError())};
}

size_t LastSeparator(const std::wstring& path) {
  return path.find_last_of(L"/\\");
}

std::wstring FolderOf(const std::wstring& path) {
  const size_t slash = LastSeparator(path);
  if (slash == std::wstring::npos) return L".";
  // The root of a drive keeps its separator: "C:\".
  return path.substr(0, slash == 0 || (slash == 2 && path[1] == L':') ? slash + 1 : slash);
}

std::wstring NameOf(const std::wstring& path) {
  const size_t slash = LastSeparator(path);
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring InFolder(const std::wstring& folder, const std::wstring& name) {
  const wchar_t last = folder.empty() ? L'\\' : folder.back();
  return last == L'\\' || last == L'/' ? folder + name : folder + L"\\" + name;
}

// A symbolic link or junction is saved through: the file it leads to is replaced.
bool ResolveLinks(const std::wstring& path, DWORD attributes, std::wstring& target) {
  target = path;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return true;
  const HANDLE file = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::wstring buffer(32768, L'\0');  // the longest path the system has
  const DWORD n = ::GetFinalPathNameByHandleW(file, buffer.data(), DWORD(buffer.size()), 0);
  ::CloseHandle(file);
  if (n == 0 || n >= buffer.size()) return false;
  target.assign(buffer.data(), n);
  return true;
}

// Devices ("NUL", "COM1") and pipes answer as files by name; only a disk file is saved over.
bool IsDiskFile(const std::wstring& path) {
  const HANDLE file = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return true;  // the save itself then says why
  const bool disk = ::GetFileType(file) == FILE_TYPE_DISK;
  ::CloseHandle(file);
  return disk;
}

// A temporary that can be deleted is not held by a running save: it was left by one that was
// killed and goes.
void RemoveStaleTemporaries(const std::wstring& folder, const std::wstring& prefix) {
  WIN32_FIND_DATAW found;
  const HANDLE search = ::FindFirstFileW(InFolder(folder, prefix + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    (void)::DeleteFileW(InFolder(folder, found.cFileName).c_str());
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

HANDLE CreateTemporary(const std::wstring& stem, std::wstring& name) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const unsigned unique = ::GetCurrentProcessId() * 7919u + ::GetTickCount() + counter++;
    name = stem + std::to_wstring(unique % 1000000u);
    const HANDLE file = ::CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, std::string_view text) {
  while (!text.empty()) {
    const DWORD chunk = DWORD(std::min<size_t>(text.size(), 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(file, text.data(), chunk, &written, nullptr)) return false;
    if (written == 0) {
      ::SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    text.remove_prefix(written);
  }
  return true;
}

bool MoveInPlace(const std::wstring& temp, const std::wstring& target) {
  return ::MoveFileExW(temp.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// Some file systems and network shares do not implement ReplaceFileW; there the temporary is
// renamed over the file, which is as safe for the contents but does not carry the file's
// security and creation time over.
bool Replace(const std::wstring& target, const std::wstring& temp) {
  // A file another program holds without delete sharing cannot be replaced; asked first, so
  // that no ReplaceFileW is tried that could leave a stray file of its own (Wine's does).
  const HANDLE probe =
      ::CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_SHARING_VIOLATION) return false;
  if (probe != INVALID_HANDLE_VALUE) ::CloseHandle(probe);
  if (::ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                     nullptr, nullptr))
    return true;
  const DWORD error = ::GetLastError();
  if (error != ERROR_NOT_SUPPORTED && error != ERROR_INVALID_FUNCTION &&
      error != ERROR_INVALID_PARAMETER && error != ERROR_CALL_NOT_IMPLEMENTED)
    return false;
  return MoveInPlace(temp, target);
}

// Another program has the file (or the new temporary) open for a moment, or for good.
bool HeldByAnotherProgram(int error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
         error == ERROR_USER_MAPPED_FILE || error == ERROR_UNABLE_TO_REMOVE_REPLACED ||
         error == ERROR_UNABLE_TO_MOVE_REPLACEMENT;
}

// `existing`: the replaced file's attributes, or INVALID_FILE_ATTRIBUTES for a new file.
SaveResult WriteTemporaryAndReplace(const std::wstring& target, DWORD existing,
                                    std::string_view contents) {
  const bool exists = existing != INVALID_FILE_ATTRIBUTES;
  std::wstring temp;
  const HANDLE file = CreateTemporary(
      InFolder(FolderOf(target), WideFromUtf8(TemporaryFilePrefix(Utf8FromWide(NameOf(target))))),
      temp);
  if (file == INVALID_HANDLE_VALUE) return SystemFailure();
  SaveResult result;
  if (!(WriteAll(file, contents) && ::FlushFileBuffers(file))) result = SystemFailure();
  ::CloseHandle(file);
  // ReplaceFileW keeps them too, but not every implementation of it does (Wine).
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  if (result.ok() && exists && (existing & kKept) != 0 &&
      !::SetFileAttributesW(temp.c_str(), existing & kKept))
    result = SystemFailure();
  if (result.ok() && !(exists ? Replace(target, temp) : MoveInPlace(temp, target)))
    result = SystemFailure();
  if (!result.ok()) (void)::DeleteFileW(temp.c_str());
  return result;
}

}  // namespace

std::string SystemErrorText(int systemError) {
  wchar_t* text = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, DWORD(systemError), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring words = n != 0 && text != nullptr ? std::wstring(text, n) : std::wstring();
  ::LocalFree(text);
  while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' || words.back() == L'.'))
    words.pop_back();
  if (words.empty()) return "Windows error " + std::to_string(systemError);
  return Utf8FromWide(words);
}

std::string TemporaryFilePrefix(const std::string& fileName) {
  return "." + fileName + ".qvr-save-";
}

SaveResult ErrnoFailure(int errnoValue) {
  switch (errnoValue) {
    case ENOENT:
      return {SaveRefusal::kSystem, ERROR_FILE_NOT_FOUND};
    case EACCES:
    case EPERM:
      return {SaveRefusal::kSystem, ERROR_ACCESS_DENIED};
    case EFBIG:
      return {SaveRefusal::kSystem, ERROR_FILE_TOO_LARGE};
    case ENOSPC:
      return {SaveRefusal::kSystem, ERROR_DISK_FULL};
    case EEXIST:
      return {SaveRefusal::kSystem, ERROR_FILE_EXISTS};
    case ENAMETOOLONG:
      return {SaveRefusal::kSystem, ERROR_FILENAME_EXCED_RANGE};
    case EROFS:
      return {SaveRefusal::kSystem, ERROR_WRITE_PROTECT};
    default:
      return {SaveRefusal::kSystem, ERROR_GEN_FAILURE};
  }
}

SaveResult SaveFile(const std::string& path, std::string_view contents) {
  // The extended form would keep the dot or blank that Windows otherwise drops; neither is what
  // the user asked for.
  if (NameEndsInTrimmedCharacter(path)) return {SaveRefusal::kNameNotAllowed, 0};
  const std::wstring named = ExtendedPath(path);
  if (named.starts_with(L"\\\\.\\") && !IsDiskFile(named)) return {SaveRefusal::kNotRegularFile, 0};
  DWORD attributes = ::GetFileAttributesW(named.c_str());
  bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (!exists && ::GetLastError() != ERROR_FILE_NOT_FOUND) return SystemFailure();
  std::wstring target = named;
  if (exists && !ResolveLinks(named, attributes, target)) return SystemFailure();
  if (target != named) {
    attributes = ::GetFileAttributesW(target.c_str());
    exists = attributes != INVALID_FILE_ATTRIBUTES;
  }
  if (exists && ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || !IsDiskFile(target)))
    return {SaveRefusal::kNotRegularFile, 0};
  if (exists && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return {SaveRefusal::kReadOnly, 0};

  RemoveStaleTemporaries(FolderOf(target),
                         WideFromUtf8(TemporaryFilePrefix(Utf8FromWide(NameOf(target)))));
  const DWORD existing = exists ? attributes : INVALID_FILE_ATTRIBUTES;
  SaveResult result = WriteTemporaryAndReplace(target, existing, contents);
  // Another save's sweep can take a temporary between its close and the replace: once more.
  if (result.refusal == SaveRefusal::kSystem && result.systemError == ERROR_FILE_NOT_FOUND)
    result = WriteTemporaryAndReplace(target, existing, contents);
  DWORD pause = kFirstBusyPauseMs;
  for (int attempt = 1;
       attempt < kBusyAttempts && result.refusal == SaveRefusal::kSystem &&
       (HeldByAnotherProgram(result.systemError) || result.systemError == ERROR_ACCESS_DENIED);
       ++attempt, pause *= 2) {
    ::Sleep(pause);
    result = WriteTemporaryAndReplace(target, existing, contents);
  }
  if (result.refusal == SaveRefusal::kSystem && HeldByAnotherProgram(result.systemError))
    result.refusal = SaveRefusal::kInUse;
  return result;
}

SaveResult AppendLine(const std::string& path, std::string_view text) {
  const std::wstring named = ExtendedPath(path);
  if (named.starts_with(L"\\\\.\\") && !IsDiskFile(named)) return {SaveRefusal::kNotRegularFile, 0};
  // Read access tells whether the file ends with a line break.
  const HANDLE file = ::CreateFileW(named.c_str(), FILE_APPEND_DATA | FILE_READ_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return SystemFailure();
  const HandleCloser closer{file};
  if (::GetFileType(file) != FILE_TYPE_DISK) return {SaveRefusal::kNotRegularFile, 0};
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file, &size)) return SystemFailure();
  char last = '\n';
  if (size.QuadPart > 0) {
    OVERLAPPED at{};
    const uint64_t offset = uint64_t(size.QuadPart - 1);
    at.Offset = DWORD(offset);
    at.OffsetHigh = DWORD(offset >> 32);
    DWORD read = 0;
    if (!::ReadFile(file, &last, 1, &read, &at) || read != 1) return SystemFailure();
  }
  // One write, so that lines of other programs appending at once never come inside it.
  std::string line(last == '\n' ? 0 : 1, '\n');
  line += text;
  if (!WriteAll(file, line)) return SystemFailure();
  return {};
}

}  // namespace qvr
