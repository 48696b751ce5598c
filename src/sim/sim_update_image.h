#pragma once
// How the simulated devices recognise a firmware image. An update file is
//   u16 application version, u8 device version, u8 device type   (the 4-byte header)
//   payload                                                         (sent to the device)
//   u16 CRC-16/XMODEM of everything before it, low byte first
// and the simulated devices expect the payload to start with the magic "QVRI" followed by the
// new application version as u16 little-endian. A first update block without the magic is
// answered with status 0xFB (update file error). The device reports the new version once the
// transfer has ended (a block shorter than 32 bytes arrived, or any other command reached it)
// and the image is whole; an image cut short leaves the device without an application
// (version 0) until an update runs through to the end.
#include <cstdint>
#include <vector>

namespace qvr::sim {

inline constexpr uint8_t kUpdateMagic[4] = {'Q', 'V', 'R', 'I'};
inline constexpr unsigned kUpdateMagicSize = 6;  // magic + version

// A complete update file in the layout above. The payload holds the magic and `version` (when
// `withMagic`) followed by filler bytes up to `payloadSize` (at least 6 with the magic).
std::vector<uint8_t> BuildUpdateFile(uint16_t version, uint8_t deviceVersion, uint8_t deviceType,
                                     unsigned payloadSize, bool withMagic = true);

// True when `received` (the bytes a device got, from offset 0) holds a whole image: the payload,
// then the file's CRC over the header the device rebuilds from the version in the magic and
// its own device version and type, then nothing but zeros. The boot loader starts the
// application only from such an image.
bool UpdateImageComplete(const std::vector<uint8_t>& received, uint8_t deviceVersion,
                         uint8_t deviceType);

// CRC-16/XMODEM (polynomial 0x1021, initial 0, no reflection, no final XOR).
uint16_t UpdateFileCrc(const uint8_t* bytes, unsigned count);

}  // namespace qvr::sim
