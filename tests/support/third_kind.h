#pragma once
// A third device kind that only the tests know, registered in one place: its bus row, its entry
// in the driver registry (it borrows the MUX-410's configuration driver) and in the window's page
// registry. Whatever is built from the registries must show it without another line of code.
#include <array>

#include "app/device_pages.h"
#include "devices/drivers/device_drivers.h"

namespace qvr::test {

inline constexpr DeviceModule kThirdKindModule = {
    .name = "PRB-900",
    .typeCode = 9,
    .deviceAddress = 3,
    .firmwareMask = "*.LDR",
    .blockSize = 32,
    .configMask = "*.MUX",
};

inline const DeviceDriver kThirdKindDriver = {
    .commandName = "prb-900",
    .module = &kThirdKindModule,
    .configuration = &mux410::kConfigDriver,
};

// The built-in drivers with the third kind after them.
inline const std::array<DeviceDriver, 4> kDriversWithThirdKind = {
    DeviceDrivers()[0], DeviceDrivers()[1], DeviceDrivers()[2], kThirdKindDriver};

// The window's page entries with the third kind's after them (its page is the test's own).
inline std::array<PageKind, 4> PageKindsWithThirdKind() {
  return {PageKinds()[0], PageKinds()[1], PageKinds()[2],
          PageKind{.kind = "prb-900", .sheetName = "TabSheetPRB900x"}};
}

}  // namespace qvr::test
