#pragma once
// Why a save failed, in the catalogue's current language.
#include <string>

#include "platform/file_save.h"

namespace qvr {

class Catalogue;

// The reason of a failed save: the program's own refusals in its language, the system's
// reasons in the system's words. Empty for a save that succeeded.
std::string SaveFailureText(const Catalogue& catalogue, const SaveResult& result);

}  // namespace qvr
