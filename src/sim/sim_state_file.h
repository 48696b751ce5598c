#pragma once
// A simulated device's lasting state in a text file of its own, so that separate program runs
// meet the same device:
//   qvr-sim-state 1
//   version <application version>
//   input <current input>
//   block <command> <hex bytes>      (one line per memory area)
#include <string>

#include "sim/sim_device.h"

namespace qvr::sim {

// "<directory>/<device name in lower case>.state".
std::string StateFilePath(const std::string& directory, const Profile& profile);

// Applies the file to `device`. A missing, unreadable or damaged file (unknown line, wrong area
// size, bad hex, out-of-range value) changes nothing and gives false.
bool LoadDeviceState(const std::string& path, SimDevice& device);

// Saves through the one save routine, so a reader never sees half a file and concurrent saves
// never share a temporary. Creates the directory when needed. False when anything fails.
// Processes sharing a directory serialise their load-change-save steps with a FolderLock.
bool SaveDeviceState(const std::string& path, const SimDevice& device);

}  // namespace qvr::sim
