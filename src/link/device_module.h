#pragma once
// The three device kinds the program serves; the row index is the page index of the window.
// The rows are constant; which operations a row supports is the application's table
// (src/app/module_table.h), built on these rows.
#include <cstdint>

namespace qvr {

struct DeviceModule {
  const char* name;
  uint8_t typeCode;
  uint8_t deviceAddress;
  const char* firmwareMask;
  int32_t blockSize;
  const char* configMask;  // empty when the row has no configuration files
};

inline constexpr int kModuleCount = 3;
inline constexpr int kPageQvrb = 0;
inline constexpr int kPageMux410 = 1;
inline constexpr int kPageTpx520 = 2;

inline constexpr DeviceModule kDeviceModules[kModuleCount] = {
    {"QVR-B", 1, 0, "*.LDR", 32, ""},
    {"MUX-410", 2, 1, "*.LDR", 32, "*.MUX"},
    {"TPX-520", 3, 2, "*.LDR", 32, "*.MUX"},
};

// The row of page `index`, or nullptr outside 0..2.
inline const DeviceModule* ModuleOfPage(int index) {
  return index >= 0 && index < kModuleCount ? &kDeviceModules[index] : nullptr;
}

}  // namespace qvr
