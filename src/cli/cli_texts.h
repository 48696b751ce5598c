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
  kAdapterLine,           // "%s" path, "%lu" serial, "%u.%02u" boot, "%s" application
  kApplicationNotLoaded,  // in place of the application version
  kSeveralAdapters,       // followed by the adapters, a line each
  kNoSuchAdapter,         // "%s" what --controller named; followed by the adapters
  kNoAdapter,
  kBatchDone,  // the batch's result words, one per adapter line
  kBatchFailed,
  kBatchDeclined,
  kBackupFailed,  // "%s" device name, "%s" reason
  kDiffSame,      // "%s" device name, "%s" file
  kAdapterInUse,  // list: "%s" who holds the adapter (AdapterHolderText)
};

// The text in the catalogue's current language.
const char* Text(const Catalogue& catalogue, CliText id);

// True for the answers a user types to mean Yes, in either language.
bool IsYesAnswer(const std::string& answer);

}  // namespace qvr::cli
