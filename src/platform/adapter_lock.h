#pragma once
// The lock that keeps an adapter to one of our programs at a time: while one program holds it,
// no other program sends reports to that adapter. Released by the system when the holder ends in
// any way, so a killed program never leaves an adapter locked.
//
// On Linux it is the adapter's own: a flock on its device node (/dev/hidrawN), which only a user
// allowed to use the adapter can open, so no other user can hold it, plant anything in its way or
// pose as its holder; the holder is read from the kernel's record of the lock (/proc/locks). A
// simulated adapter's lock is a file in its own state folder. On Windows every user may open a
// HID device, and the lock is a file per adapter in the machine's program-data folder.
//
// An attempt never waits: whoever waits decides how long, by its own clock, outside any report.
#include <cstdint>
#include <string>

namespace qvr {

// Who holds an adapter, where the system tells: the process id (0: unknown) and its name ("":
// unknown; only printable characters).
struct AdapterHolder {
  unsigned long processId = 0;
  std::string program;
};

// Why a lock could not be taken, when it is not that another program holds it.
enum class AdapterLockFailure {
  kNone,
  kNoAccess,     // this user may not open what the lock is taken on
  kGone,         // the adapter's node is not there (the adapter was pulled)
  kNotLockable,  // what is at the path is not the adapter's node (a lock file: not a file)
  kSystem,       // the system refused (no descriptors or locks left, ...): `systemError` says
};

struct AdapterLockProblem {
  AdapterLockFailure failure = AdapterLockFailure::kNone;
  int systemError = 0;     // errno on Linux, GetLastError() on Windows; 0 when none applies
  std::string path;        // what the lock is taken on
  bool deviceNode = true;  // an adapter's node (false: a lock file)
};

struct AdapterLockAttempt {
  enum class Outcome { kTaken, kInUse, kFailed };
  Outcome outcome = Outcome::kFailed;
  AdapterHolder holder;        // kInUse: who has the adapter, as far as the system tells
  AdapterLockProblem problem;  // kFailed: why
};

class AdapterLock {
 public:
  enum class Kind {
    kDeviceNode,  // the adapter's device node (its hidapi path)
    kLockFile,    // a lock file of the program's own folder (a simulated adapter's)
  };
  // A lock on `path`; nothing is opened or taken yet.
  AdapterLock(std::string path, Kind kind);
  ~AdapterLock();
  AdapterLock(const AdapterLock&) = delete;
  AdapterLock& operator=(const AdapterLock&) = delete;

  // One attempt, never waiting; already held: kTaken at once. Not thread-safe: the owner
  // serialises its calls.
  AdapterLockAttempt TryTake();
  void Release();
  bool held() const { return held_; }
  const std::string& path() const { return path_; }
  Kind kind() const { return kind_; }
  // True while what `path` names now is still what the lock was taken on: an adapter that was
  // pulled and plugged in again may come back under the same name as a new node.
  bool StillAtPath() const;

 private:
  AdapterLockAttempt TakeOnce();
  void Close();

  std::string path_;
  Kind kind_;
  intptr_t handle_ = -1;  // a descriptor on Linux, a HANDLE on Windows
  bool held_ = false;
};

// The lock file of a simulated adapter whose devices keep their state in `stateDir`.
std::string SimulatedAdapterLockFile(const std::string& stateDir);

}  // namespace qvr
