#pragma once
// A regular file read piece by piece, for files that may grow far larger than what a program
// should hold at once (the change history): opened without ever blocking, so that a pipe,
// folder or device at the name is refused at once instead of holding the program.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/file_save.h"

namespace qvr {

class FileReader {
 public:
  explicit FileReader(const std::string& path);
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  // Why the file could not be opened, told as a save's refusal is (kNotRegularFile, kSystem);
  // ok() when it is open.
  const SaveResult& opened() const { return opened_; }
  // Up to `capacity` bytes into `buffer`: their count, 0 at the end of the file, -1 when the
  // read failed (or the file is not open).
  long Read(char* buffer, size_t capacity);

 private:
  intptr_t handle_ = -1;  // the file descriptor (Windows: the HANDLE)
  SaveResult opened_;
};

}  // namespace qvr
