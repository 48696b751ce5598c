#pragma once
// A file in the system's temporary folder, removed when it goes out of scope or a termination
// signal ends the program: where a configuration given as "-" or made for a comparison is kept
// while a command works on it.
#include <istream>
#include <string>

namespace qvr::cli {

class TempFile {
 public:
  // Makes an empty file with `suffix`; path() is empty when that failed.
  explicit TempFile(const std::string& suffix);
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const std::string& path() const { return path_; }
  // The file's bytes, or the bytes to put in it.
  std::string Read() const;
  bool Write(const std::string& bytes) const;

 private:
  std::string path_;
};

// Reads `in` to its end, at most `maxSize` bytes; false (and `bytes` empty) when it holds more.
bool ReadBounded(std::istream& in, size_t maxSize, std::string& bytes);

}  // namespace qvr::cli
