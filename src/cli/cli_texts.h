#pragma once
// The few texts only the console speaks (answers to questions, notes), in the catalogue's two
// languages. Everything a device operation reports comes from the message catalogue.
#include <string>

namespace qvr {
class Catalogue;
}

namespace qvr::cli {

enum class CliText {
  kPromptSuffix,  // after a question on the terminal
  kAnsweredYes,   // a question answered by --yes
  kDeclinedNoTerminal,
  kDeclinedNote,          // the operation ended because a question was answered No
  kSaveFailed,            // "%s" file, "%s" reason
  kFileSaved,             // "%s" file
  kDeviceReset,           // "%s" device name
  kDefaultsRestored,      // "%s" device name
  kConfigurationWritten,  // "%s" device name
};

// The text in the catalogue's current language.
const char* Text(const Catalogue& catalogue, CliText id);

// True for the answers a user types to mean Yes, in either language.
bool IsYesAnswer(const std::string& answer);

}  // namespace qvr::cli
