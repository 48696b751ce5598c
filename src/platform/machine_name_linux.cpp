#include <unistd.h>

#include "platform/machine_name.h"

namespace qvr {

std::string MachineName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

}  // namespace qvr
