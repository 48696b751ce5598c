// Reads arbitrary bytes as a MUX-410 configuration file; it must neither crash nor hang, and
// whatever was read must survive a save and a second read unchanged.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "devices/mux410/config_file.h"

namespace {

// A file value cannot keep trailing blanks (the reader trims them).
std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
  return text;
}

bool SameConfiguration(const qvr::mux410::ConfigImage& a, const qvr::mux410::ConfigImage& b) {
  if (a.navi != b.navi || a.mode != b.mode || a.input != b.input || a.dpar != b.dpar) return false;
  if (a.descriptionText() != b.descriptionText()) return false;
  if (a.events.count() != b.events.count()) return false;
  for (int slot = 0; slot < a.events.count(); ++slot) {
    if (!(a.events.record(slot) == b.events.record(slot))) return false;
    if (Trimmed(a.events.description(slot)) != b.events.description(slot)) return false;
  }
  return true;
}

// The input and the saved file, removed when the run ends.
struct ScratchFiles {
  std::string input = Make("fuzz-mux410-in-XXXXXX");
  std::string saved = Make("fuzz-mux410-out-XXXXXX");
  ~ScratchFiles() {
    ::unlink(input.c_str());
    ::unlink(saved.c_str());
  }
  // In memory where possible: a disk would be flushed on every save and slow the run down.
  static std::string Make(const char* name) {
    std::string path =
        (::access("/dev/shm", W_OK) == 0 ? "/dev/shm/" : "/tmp/") + std::string(name);
    int fd = ::mkstemp(path.data());
    if (fd < 0) std::abort();
    ::close(fd);
    return path;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const ScratchFiles files;
  const std::string& input = files.input;
  const std::string& saved = files.saved;
  FILE* file = std::fopen(input.c_str(), "wb");
  if (file == nullptr) std::abort();
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  qvr::mux410::ConfigImage image;
  qvr::mux410::ReadConfigFile(input, image);
  if (image.events.count() > qvr::mux410::kEventCapacity) std::abort();
  if (!qvr::mux410::WriteConfigFile(saved, image).ok()) std::abort();
  qvr::mux410::ConfigImage back;
  qvr::mux410::ReadConfigFile(saved, back);
  if (!SameConfiguration(image, back)) std::abort();
  return 0;
}
