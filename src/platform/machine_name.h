#pragma once
// The computer the program runs on: its name, recorded in what it keeps for people to read, and
// its stable id, which names what each computer keeps apart in a data folder several share.
#include <string>

namespace qvr {

// The host's name (UTF-8), or "" when the system gives none.
std::string MachineName();

// The computer's own lasting id: QVR_MACHINE_ID when set (computers cloned from one disk image
// share the system's id), else the system's (see SystemMachineId), else its host name; "" when
// there is none of them. Read once per process.
std::string MachineId();

// The platform's part: the system's id (Linux: /etc/machine-id; Windows: the MachineGuid of its
// cryptography settings), "" when it has none.
std::string SystemMachineId();

}  // namespace qvr
