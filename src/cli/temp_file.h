#pragma once
// A file in the system's temporary folder, removed when it goes out of scope: where a
// configuration given as "-" or made for a comparison is kept while a command works on it.
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

}  // namespace qvr::cli
