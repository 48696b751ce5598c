// Loading and checking update files: checksum vectors, the size limits, and files that are
// not files at all.
#include "update/ldr_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <cstring>
#include <filesystem>

#include "i18n/catalogue.h"
#include "support/ldr_builder.h"

namespace qvr {
namespace {

using test::LdrBuilder;
using test::TempDir;
using test::WriteBytes;

TEST(UpdateFileChecksum, MatchesTheKnownXmodemVectors) {
  const char* digits = "123456789";
  EXPECT_EQ(Crc16Xmodem(reinterpret_cast<const uint8_t*>(digits), 9), 0x31C3);
  EXPECT_EQ(Crc16Xmodem(reinterpret_cast<const uint8_t*>("abc"), 3), 0x9DD6);
  EXPECT_EQ(Crc16Xmodem(nullptr, 0), 0);
}

class UpdateFileLoad : public ::testing::Test {
 protected:
  UpdateFileLoad() { catalogue.setLanguage(kEnglish); }

  UpdateFileCheck LoadBytes(const std::vector<uint8_t>& bytes, const std::string& name = "fw.LDR") {
    WriteBytes(dir.File(name), bytes);
    return LoadUpdateFile(dir.File(name), catalogue, file);
  }

  Catalogue catalogue;
  TempDir dir;
  UpdateFile file;
};

TEST_F(UpdateFileLoad, ValidFileGivesItsHeaderAndBytes) {
  LdrBuilder builder{.version = 1234, .deviceVersion = 33, .deviceType = 2, .payloadSize = 100};
  const auto bytes = builder.Build();
  const UpdateFileCheck check = LoadBytes(bytes);
  ASSERT_TRUE(check.ok()) << check.message;
  EXPECT_EQ(file.header.applicationVersion, 1234);
  EXPECT_EQ(file.header.deviceVersion, 33);
  EXPECT_EQ(file.header.deviceType, 2);
  EXPECT_EQ(file.payloadSize(), 100u);
  EXPECT_EQ(file.bytes, bytes);
}

TEST_F(UpdateFileLoad, SizeLimitsAreInclusiveAtBothEnds) {
  LdrBuilder largest{.payloadSize = kUpdateFileMaxSize - 6};
  EXPECT_TRUE(LoadBytes(largest.Build()).ok());

  LdrBuilder tooLarge{.payloadSize = kUpdateFileMaxSize - 5};
  UpdateFileCheck check = LoadBytes(tooLarge.Build(), "big.LDR");
  EXPECT_EQ(check.messageId, MessageId::kFileSizeWrong);
  EXPECT_EQ(check.message, "Error file size \"big.LDR\"");

  LdrBuilder empty{.payloadSize = 0, .withMagic = false};
  EXPECT_TRUE(LoadBytes(empty.Build()).ok()) << "a header and a checksum alone is a file";
  for (size_t size : {0, 1, 5}) {
    EXPECT_EQ(LoadBytes(std::vector<uint8_t>(size, 0)).messageId, MessageId::kFileSizeWrong)
        << size << " bytes";
  }
}

TEST_F(UpdateFileLoad, CallerLimitRefusesBeforeReading) {
  LdrBuilder builder{.payloadSize = 100};
  WriteBytes(dir.File("fw.LDR"), builder.Build());
  EXPECT_EQ(LoadUpdateFile(dir.File("fw.LDR"), catalogue, file, 105).messageId,
            MessageId::kFileSizeWrong);
  EXPECT_TRUE(LoadUpdateFile(dir.File("fw.LDR"), catalogue, file, 106).ok());
}

TEST_F(UpdateFileLoad, ChecksumMustBeStoredLowByteFirst) {
  LdrBuilder builder{.version = 300, .payloadSize = 40, .crcHighByteFirst = true};
  auto bytes = builder.Build();
  ASSERT_NE(bytes[bytes.size() - 1], bytes[bytes.size() - 2]);
  const UpdateFileCheck check = LoadBytes(bytes, "swap.bin");
  EXPECT_EQ(check.messageId, MessageId::kFileCrcWrong);
  EXPECT_EQ(check.message, "CRC error file \"swap.bin\"");

  builder.crcHighByteFirst = false;
  bytes = builder.Build();
  bytes[10] ^= 0x01;  // one flipped bit in the payload
  EXPECT_EQ(LoadBytes(bytes).messageId, MessageId::kFileCrcWrong);
  bytes = builder.Build();
  bytes.pop_back();  // a truncated download
  EXPECT_EQ(LoadBytes(bytes).messageId, MessageId::kFileCrcWrong);
}

TEST_F(UpdateFileLoad, ThingsThatAreNotReadableFilesGiveTheOpenError) {
  EXPECT_EQ(LoadUpdateFile(dir.File("missing.LDR"), catalogue, file).message,
            "Error opening file \"missing.LDR\"");
  std::filesystem::create_directory(dir.File("folder.LDR"));
  EXPECT_EQ(LoadUpdateFile(dir.File("folder.LDR"), catalogue, file).messageId,
            MessageId::kFileOpenFailed);
#ifdef _WIN32
  EXPECT_EQ(LoadUpdateFile("NUL", catalogue, file).messageId, MessageId::kFileOpenFailed);
#else
  EXPECT_EQ(LoadUpdateFile("/dev/zero", catalogue, file).messageId, MessageId::kFileOpenFailed);
  if (geteuid() != 0) {  // root reads whatever the mode says
    LdrBuilder builder;
    WriteBytes(dir.File("locked.LDR"), builder.Build());
    std::filesystem::permissions(dir.File("locked.LDR"), std::filesystem::perms::none);
    EXPECT_EQ(LoadUpdateFile(dir.File("locked.LDR"), catalogue, file).messageId,
              MessageId::kFileOpenFailed);
  }
#endif
}

TEST_F(UpdateFileLoad, HugeSparseFileIsRefusedBySizeWithoutReading) {
  const std::string path = dir.File("huge.LDR");
  WriteBytes(path, {});
  std::error_code ec;
  std::filesystem::resize_file(path, uintmax_t(2) << 30, ec);
  if (ec) GTEST_SKIP() << "no sparse files here: " << ec.message();
  EXPECT_EQ(LoadUpdateFile(path, catalogue, file).messageId, MessageId::kFileSizeWrong);
  EXPECT_TRUE(file.bytes.empty());
}

TEST(UpdateFileName, SplitsNameAndExtensionFromAnyDirectoryStyle) {
  std::string name, extension;
  SplitFileName("/home/u/fw/MUX410_v2.16.LDR", name, extension);
  EXPECT_EQ(name + "|" + extension, "MUX410_v2.16|.LDR");
  SplitFileName("C:\\upd\\qvrb.ldr", name, extension);
  EXPECT_EQ(name + "|" + extension, "qvrb|.ldr");
  SplitFileName("firmware", name, extension);
  EXPECT_EQ(name + "|" + extension, "firmware|");
}

TEST(UpdateFileName, TransferLimitKeepsTheLastBlockBelowOffset65536) {
  // payload + one block <= 65536: a 65504-byte payload is the largest with 32-byte blocks.
  EXPECT_EQ(MaxTransferableFileSize(32), 65504u + 6u);
  EXPECT_EQ(MaxTransferableFileSize(64), 65472u + 6u);
}

}  // namespace
}  // namespace qvr
