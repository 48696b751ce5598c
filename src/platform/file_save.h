#pragma once
// One way to save every file the programs write (configurations, settings, simulator state):
// a hidden temporary file beside the target is written, flushed and renamed over it, so a
// crash or a full disk never leaves a half-written or missing file. A symbolic link is saved
// through (its target is replaced, the link kept) when it is the user's own or its folder
// owner's, and refused otherwise (as the kernel guards shared folders), a folder's link on the
// path as much as the file's; what is not a regular file and what is read-only is refused; an
// existing file keeps its owner and mode. Temporary files left by a save that was killed are
// removed by the next save of the same target.
#include <cstdint>
#include <string>
#include <string_view>

namespace qvr {

enum class SaveRefusal : uint8_t {
  kNone,
  kNotRegularFile,  // a folder, device, pipe or socket is at the path
  kReadOnly,        // the file allows no writing
  kOwnerNotKept,    // replacing it would change its owner, group or mode
  kSystem,          // the system refused a step; `systemError` says why
  kForeignLink,     // a link on the way belongs to another user than this one or the folder's
  kInUse,           // another program holds the file open (Windows), still after retries
  kNameNotAllowed,  // the system would save it under another name (Windows: a trailing dot)
};

struct SaveResult {
  SaveRefusal refusal = SaveRefusal::kNone;
  int systemError = 0;  // errno (Windows: GetLastError) of the failed step (kSystem, kInUse)

  bool ok() const { return refusal == SaveRefusal::kNone; }
};

// Saves `contents` as the file at `path`; the folder must exist. On failure the previous file
// is untouched and no temporary file is left.
[[nodiscard]] SaveResult SaveFile(const std::string& path, std::string_view contents);

// Appends the line `text` (ending in a line break) to the file at `path`, made when missing;
// the folder must exist. A file that does not end with a line break (a line cut short by a
// program that was killed) gets one first, so that the cut line never swallows this one. Links
// on the way are followed only as saves follow them; what is not a regular file (a pipe, folder
// or device) is refused at once, without waiting for a reader.
[[nodiscard]] SaveResult AppendLine(const std::string& path, std::string_view text);

// The system's own words for `systemError`.
std::string SystemErrorText(int systemError);

// A step that failed with an errno value (the C library, Qt): on Windows the value becomes the
// system's error code of the same meaning, so that SystemErrorText names the right reason.
#ifdef _WIN32
SaveResult ErrnoFailure(int errnoValue);
#else
inline SaveResult ErrnoFailure(int errnoValue) {
  return {SaveRefusal::kSystem, errnoValue};
}
#endif

// The hidden name a save of `fileName` gives its temporary files ("." name ".qvr-save-").
std::string TemporaryFilePrefix(const std::string& fileName);

}  // namespace qvr
