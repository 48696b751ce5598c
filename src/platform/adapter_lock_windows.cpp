// Adapter locks on Windows: a byte-range lock on a file per adapter in the machine's shared
// program-data folder; the holder writes its process id into the file.
#include <windows.h>

#include <cstdlib>

#include "platform/adapter_lock.h"
#include "platform/windows_text.h"

namespace qvr {

namespace {

std::string LockFileName(const std::string& adapterPath) {
  std::string name = "qvr-b-";
  // Adapter paths hold characters a file name may not; a hash keeps them apart.
  uint32_t hash = 2166136261u;
  for (unsigned char c : adapterPath) hash = (hash ^ c) * 16777619u;
  return name + std::to_string(hash) + ".lock";
}

HANDLE Handle(intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

std::string AdapterLockFolder() {
  const char* own = std::getenv("QVR_ADAPTER_LOCK_DIR");
  if (own != nullptr && *own != '\0') return own;
  const char* shared = std::getenv("ProgramData");
  if (shared == nullptr || *shared == '\0') shared = std::getenv("TEMP");
  std::string folder = shared != nullptr ? shared : ".";
  folder += "\\qvr-service";
  CreateDirectoryW(WideFromUtf8(folder).c_str(), nullptr);
  return folder;
}

AdapterLock::AdapterLock(std::string adapterPath)
    : file_(AdapterLockFolder() + "\\" + LockFileName(adapterPath)) {}

AdapterLock::~AdapterLock() {
  Release();
  if (handle_ != -1) CloseHandle(Handle(handle_));
}

bool AdapterLock::TryOnce() {
  if (handle_ == -1) {
    HANDLE file = CreateFileW(WideFromUtf8(file_).c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return true;
    handle_ = reinterpret_cast<intptr_t>(file);
  }
  OVERLAPPED at{};
  at.Offset = 16;  // the process id lives before the locked byte, readable by others
  if (!LockFileEx(Handle(handle_), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                  &at))
    return GetLastError() != ERROR_LOCK_VIOLATION;
  char text[16] = {};
  const std::string pid = std::to_string(GetCurrentProcessId());
  pid.copy(text, sizeof text - 1);
  OVERLAPPED start{};
  DWORD written = 0;
  WriteFile(Handle(handle_), text, sizeof text, &written, &start);
  return true;
}

void AdapterLock::Unlock() {
  if (handle_ == -1) return;
  OVERLAPPED at{};
  at.Offset = 16;
  UnlockFileEx(Handle(handle_), 0, 1, 0, &at);
}

AdapterHolder AdapterLock::ReadHolder() const {
  AdapterHolder holder;
  char text[16] = {};
  OVERLAPPED start{};
  DWORD read = 0;
  if (handle_ == -1 || !ReadFile(Handle(handle_), text, sizeof text - 1, &read, &start))
    return holder;
  holder.processId = std::strtoul(text, nullptr, 10);
  return holder;
}

}  // namespace qvr
