#pragma once
#include "link/host.h"

namespace qvr {

template <typename F>
int GuardConversion(FieldContext ctx, F&& operation) {
  try {
    return operation();
  } catch (const ConversionError& error) {
    ctx.host.ShowMessageBox(kBoxError, error.what());
    return 1;
  }
}

}  // namespace qvr
