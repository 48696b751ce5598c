#pragma once
// A lock on one adapter shared by all our programs on the machine, for every user: while one
// program holds it, no other program sends reports to that adapter. Released by the system
// when the holder ends in any way, so a killed program never leaves an adapter locked.
#include <cstdint>
#include <mutex>
#include <string>

namespace qvr {

// Who holds an adapter, where the system tells: the process id (0: unknown) and its name.
struct AdapterHolder {
  unsigned long processId = 0;
  std::string program;
};

class AdapterLock {
 public:
  // A lock for the adapter at `adapterPath`; nothing is taken yet.
  explicit AdapterLock(std::string adapterPath);
  ~AdapterLock();
  AdapterLock(const AdapterLock&) = delete;
  AdapterLock& operator=(const AdapterLock&) = delete;

  // Takes the lock, waiting up to `waitMs` for another program to let go. True when held
  // (also when the lock file cannot be made at all: the lock must never keep a user from
  // their adapter). Safe from any thread.
  bool Acquire(uint32_t waitMs);
  void Release();
  bool held() const;
  // The program that held the adapter when Acquire last gave up.
  AdapterHolder holder() const;

 private:
  // The platform's part: one attempt to take the lock (true also when there is no lock file to
  // be had), letting it go, and the holder its file names.
  bool TryOnce();
  void Unlock();
  AdapterHolder ReadHolder() const;

  mutable std::mutex mutex_;
  std::string file_;
  intptr_t handle_ = -1;  // a descriptor on Linux, a HANDLE on Windows
  bool held_ = false;
  AdapterHolder holder_;
};

// The folder the adapter locks live in: QVR_ADAPTER_LOCK_DIR when set (a test bed of its own),
// else one every user of the machine shares.
std::string AdapterLockFolder();

}  // namespace qvr
