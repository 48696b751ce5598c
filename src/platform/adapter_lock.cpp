// What both platforms share of the adapter lock.
#include "platform/adapter_lock.h"

namespace qvr {

std::string SimulatedAdapterLockFile(const std::string& stateDir) {
  return stateDir + "/adapter.lock";
}

}  // namespace qvr
