#pragma once
// Builds firmware update files for tests: the 4-byte header, a payload the simulated devices
// accept (magic "QVRI" and the new version, then filler), and the CRC-16/XMODEM of it all,
// low byte first unless asked otherwise. The CRC here is the plain bitwise form, so it checks
// the program's own implementation rather than repeating it.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/file_names.h"
#include "support/portable.h"

namespace qvr::test {

inline uint16_t BitwiseCrc16Xmodem(const uint8_t* bytes, size_t count) {
  uint16_t crc = 0;
  for (size_t i = 0; i < count; ++i) {
    crc ^= uint16_t(bytes[i] << 8);
    for (int bit = 0; bit < 8; ++bit)
      crc = (crc & 0x8000) ? uint16_t((crc << 1) ^ 0x1021) : uint16_t(crc << 1);
  }
  return crc;
}

struct LdrBuilder {
  uint16_t version = 100;
  uint8_t deviceVersion = 0;
  uint8_t deviceType = 0;
  size_t payloadSize = 64;
  bool withMagic = true;
  bool crcHighByteFirst = false;

  std::vector<uint8_t> Build() const {
    std::vector<uint8_t> bytes{uint8_t(version), uint8_t(version >> 8), deviceVersion, deviceType};
    for (size_t i = 0; i < payloadSize; ++i) bytes.push_back(uint8_t(i * 7 + 3));
    const uint8_t magic[6] = {'Q', 'V', 'R', 'I', uint8_t(version), uint8_t(version >> 8)};
    for (size_t i = 0; withMagic && i < 6 && i < payloadSize; ++i) bytes[4 + i] = magic[i];
    const uint16_t crc = BitwiseCrc16Xmodem(bytes.data(), bytes.size());
    const uint8_t low = uint8_t(crc), high = uint8_t(crc >> 8);
    bytes.push_back(crcHighByteFirst ? high : low);
    bytes.push_back(crcHighByteFirst ? low : high);
    return bytes;
  }
};

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(NativePath(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A fresh directory under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir() { path_ = MakeScratchFolder("qvr-test"); }
  ~TempDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

}  // namespace qvr::test
