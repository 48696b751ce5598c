#include "devices/mux410/ui/iebus_log.h"

#include <algorithm>
#include <cstdio>

#include "link/bytes.h"

namespace qvr::mux410 {

std::string FormatIebusLine(const uint8_t (&entry)[kIebusEntrySize]) {
  const unsigned long stamp = GetU16(&entry[1]);
  const unsigned count = entry[8];
  char head[64];
  std::snprintf(head, sizeof head, "%2lu.%03lu: %s %03X->%03X (%2u)", stamp / 1000, stamp % 1000,
                entry[3] != 0 ? "B" : "N", unsigned(GetU16(&entry[4])), unsigned(GetU16(&entry[6])),
                count);
  std::string line = head;
  for (unsigned i = 0; i < std::min(count, kIebusMaxData); ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, " %02X", unsigned(entry[9 + i]));
    line += byte;
  }
  return line;
}

}  // namespace qvr::mux410
