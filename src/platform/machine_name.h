#pragma once
// The name of the computer the program runs on, recorded in what it keeps for people to read.
#include <string>

namespace qvr {

// The host's name (UTF-8), or "" when the system gives none.
std::string MachineName();

}  // namespace qvr
