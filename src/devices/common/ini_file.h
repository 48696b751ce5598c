#pragma once
// INI mechanics of the configuration and settings files: case-insensitive names like the
// platform INI functions that wrote the users' files, integers read the way those functions
// read them (the whole file, first of repeated sections and keys, quotes stripped), CR LF
// line ends, and saves that never leave a truncated or half-written file.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/file_save.h"

namespace qvr {

// Configuration and settings files are a few kilobytes; anything larger is not one.
inline constexpr size_t kMaxIniFileSize = 4 * 1024 * 1024;

class IniFile {
 public:
  IniFile();
  ~IniFile();
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  // Loads `path`. A missing, unreadable, binary or oversized file leaves an empty document;
  // the result says whether the file could be opened for reading at all.
  bool Load(const std::string& path);
  // False when the loaded file was dropped for its size or held bytes (NUL, other control
  // bytes) that a parser may stop at: the document may then lack part of the file.
  bool loadedWhole() const;

  // Missing keys give the default; text that is not a number gives 0 (leading digits count).
  // A value in matching quotes is read without them.
  int64_t GetInt(const char* section, const char* key, int64_t defaultValue = 0) const;
  std::string GetString(const char* section, const char* key, const char* defaultValue = "") const;

  void SetInt(const char* section, const char* key, int64_t value);
  // Line breaks become blanks; a value that is quoted or has outer blanks is written in quotes
  // so that it reads back whole.
  void SetString(const char* section, const char* key, const std::string& value);
  void RemoveSection(const char* section);
  bool HasSection(const char* section) const;
  bool HasKey(const char* section, const char* key) const;

  // Saves through the one save routine (SaveFile): on failure the previous file is untouched.
  [[nodiscard]] SaveResult SaveAtomically(const std::string& path) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qvr
