#include "app/window_fit.h"

#include <algorithm>

namespace qvr {

WindowFit FitWindow(QSize design, QSize available, QSize frame) {
  const QSize room = available - frame;
  if (available.isEmpty() || (design.width() <= room.width() && design.height() <= room.height())) {
    return {design, true};
  }
  // Below this the pages would show little more than their scroll bars.
  const QSize floor(std::min(design.width(), 400), std::min(design.height(), 300));
  return {design.boundedTo(room).expandedTo(floor), false};
}

}  // namespace qvr
