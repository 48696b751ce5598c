#pragma once
// Firmware update files (*.LDR): a 4-byte header (application version u16, device version,
// device type), the payload, and a CRC-16/XMODEM of everything before it, low byte first.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "i18n/message_id.h"

namespace qvr {

class Catalogue;

inline constexpr size_t kUpdateFileMaxSize = 131072;
inline constexpr size_t kUpdateHeaderSize = 4;
inline constexpr size_t kUpdateChecksumSize = 2;
// A header and a checksum; anything shorter holds no file at all.
inline constexpr size_t kUpdateFileMinSize = kUpdateHeaderSize + kUpdateChecksumSize;

// CRC-16 with polynomial 0x1021, initial value 0, no reflection, no final XOR.
uint16_t Crc16Xmodem(const uint8_t* bytes, size_t count);

struct UpdateHeader {
  uint16_t applicationVersion = 0;
  uint8_t deviceVersion = 0;
  uint8_t deviceType = 0;
};

// A file that passed the checks. `bytes` holds exactly the file.
struct UpdateFile {
  std::vector<uint8_t> bytes;
  UpdateHeader header;

  size_t size() const { return bytes.size(); }
  size_t payloadSize() const { return bytes.size() - kUpdateFileMinSize; }
  const uint8_t* payload() const { return bytes.data() + kUpdateHeaderSize; }
};

// The outcome of a load: no message id when the file passed, otherwise the catalogue id of the
// failure (kFileOpenFailed, kFileSizeWrong, kFileReadFailed, kFileCrcWrong) and its text naming
// the file.
struct UpdateFileCheck {
  std::optional<MessageId> messageId;
  std::string message;
  bool ok() const { return !messageId; }
};

// The largest file whose transfer keeps every block offset below the 16-bit limit: the payload
// plus one block (the leading block is sent twice) must stay within 65536 bytes.
size_t MaxTransferableFileSize(int blockSize);

// The file name with its extension and without its directory, as two strings ("FW", ".LDR").
// Separators are '/', '\\' and the drive colon; the extension starts at the last point.
void SplitFileName(const std::string& path, std::string& name, std::string& extension);

// Opens, sizes (refusing files above `maxSize` or below 6 bytes before reading anything),
// reads and checksums the file. Never allocates more than `maxSize` bytes.
UpdateFileCheck LoadUpdateFile(const std::string& path, const Catalogue& catalogue,
                               UpdateFile& file, size_t maxSize = kUpdateFileMaxSize);

}  // namespace qvr
