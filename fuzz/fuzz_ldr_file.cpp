// Arbitrary bytes as an update file: the loader answers with a verdict and a message, never a
// crash, and a file it accepts really has a matching checksum and a size within the limits.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_scratch.h"
#include "i18n/catalogue.h"
#include "link/bytes.h"
#include "update/ldr_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = qvr::fuzz::Scratch().Write("input.LDR", data, size);
  qvr::Catalogue catalogue;
  catalogue.setLanguage(qvr::kEnglish);
  qvr::UpdateFile file;
  const qvr::UpdateFileCheck check = qvr::LoadUpdateFile(path, catalogue, file);
  if (!check.ok()) {
    const qvr::MessageId id = *check.messageId;
    if (check.message.empty() || id < qvr::MessageId::kFileOpenFailed ||
        id > qvr::MessageId::kFileCrcWrong)
      __builtin_trap();
    return 0;
  }
  if (file.size() != size || size < qvr::kUpdateFileMinSize || size > qvr::kUpdateFileMaxSize)
    __builtin_trap();
  if (qvr::Crc16Xmodem(data, size - 2) != qvr::GetU16(data + size - 2)) __builtin_trap();
  return 0;
}
