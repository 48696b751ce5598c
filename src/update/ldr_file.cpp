#include "update/ldr_file.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "i18n/added_texts.h"
#include "i18n/catalogue.h"
#include "link/bytes.h"
#include "platform/file_names.h"

namespace qvr {

namespace {

constexpr size_t kOffsetLimit = 65536;  // the packet's offset field is 16 bits wide

UpdateFileCheck Refuse(const Catalogue& catalogue, MessageId id, const std::string& path) {
  std::string name, extension;
  SplitFileName(path, name, extension);
  return {id, catalogue.Format(id, name.c_str(), extension.c_str())};
}

}  // namespace

uint16_t Crc16Xmodem(const uint8_t* bytes, size_t count) {
  uint16_t crc = 0;
  for (size_t i = 0; i < count; ++i) {
    uint8_t x = uint8_t((crc >> 8) ^ bytes[i]);
    x ^= uint8_t(x >> 4);
    crc = uint16_t((crc << 8) ^ (uint16_t(x) << 12) ^ (uint16_t(x) << 5) ^ x);
  }
  return crc;
}

size_t MaxTransferableFileSize(int blockSize) {
  size_t block = blockSize > 0 ? size_t(blockSize) : 1;
  if (block >= kOffsetLimit) return 0;
  return kOffsetLimit - block + kUpdateFileMinSize;
}

void SplitFileName(const std::string& path, std::string& name, std::string& extension) {
  size_t start = path.find_last_of("/\\:");
  std::string last = start == std::string::npos ? path : path.substr(start + 1);
  size_t dot = last.rfind('.');
  if (dot == std::string::npos) {
    name = last;
    extension.clear();
    return;
  }
  name = last.substr(0, dot);
  extension = last.substr(dot);
}

UpdateFileCheck LoadUpdateFile(const std::string& path, const Catalogue& catalogue,
                               UpdateFile& file, size_t maxSize) {
  file = UpdateFile{};
  std::error_code ec;
  // Directories, devices and pipes are not files we can open for reading.
  const std::filesystem::path name = NativePath(path);
  if (!std::filesystem::is_regular_file(name, ec))
    return Refuse(catalogue, MessageId::kFileOpenFailed, path);
  std::ifstream in(name, std::ios::binary);
  if (!in) return Refuse(catalogue, MessageId::kFileOpenFailed, path);

  // Sized before reading, so a huge file costs nothing.
  const uintmax_t size = std::filesystem::file_size(name, ec);
  if (ec) return Refuse(catalogue, MessageId::kFileReadFailed, path);
  // Within the format's limit but beyond what the transfer can address: not a damaged file,
  // and the user is told so.
  if (size > maxSize && size <= kUpdateFileMaxSize) {
    std::string base, extension;
    SplitFileName(path, base, extension);
    return {MessageId::kFileSizeWrong,
            catalogue.FormatText(Text(catalogue, AddedText::kUpdateFileTooLarge), base.c_str(),
                                 extension.c_str(), static_cast<unsigned long>(size),
                                 static_cast<unsigned long>(maxSize))};
  }
  if (size > maxSize || size < kUpdateFileMinSize)
    return Refuse(catalogue, MessageId::kFileSizeWrong, path);

  std::vector<uint8_t> bytes(size_t(size), 0);
  in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(size));
  if (size_t(in.gcount()) != bytes.size())
    return Refuse(catalogue, MessageId::kFileReadFailed, path);
  in.close();

  const size_t covered = bytes.size() - kUpdateChecksumSize;
  if (Crc16Xmodem(bytes.data(), covered) != GetU16(&bytes[covered]))
    return Refuse(catalogue, MessageId::kFileCrcWrong, path);

  file.header.applicationVersion = GetU16(&bytes[0]);
  file.header.deviceVersion = bytes[2];
  file.header.deviceType = bytes[3];
  file.bytes = std::move(bytes);
  return {};
}

}  // namespace qvr
