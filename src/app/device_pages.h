#pragma once
// The real device pages, for the program (tests may create their own).
#include "app/main_window.h"

namespace qvr {

PageFactory DevicePageFactory();

}  // namespace qvr
