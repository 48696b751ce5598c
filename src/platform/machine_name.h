#pragma once
// The computer the program runs on: its name, recorded in what it keeps for people to read, and
// its stable id, which names what each computer keeps apart in a data folder several share.
#include <string>

namespace qvr {

// The host's name (UTF-8), or "" when the system gives none.
std::string MachineName();

// The computer's own lasting id (Linux: /etc/machine-id; Windows: the MachineGuid of its
// cryptography settings), else its host name; "" when there is neither. Read once per process.
std::string MachineId();

}  // namespace qvr
