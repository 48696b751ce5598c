#pragma once
// Texts this program speaks beyond the message catalogue (which stays exactly as the product
// has always shipped it), in the catalogue's two languages. Fetched by id in the catalogue's
// current language at the moment of use, like the catalogue's own texts.
#include "i18n/catalogue.h"

namespace qvr {

enum class AddedText {
  // The controller is present but its device node cannot be opened (Linux permissions).
  kNoPermission,
  // Added to a failed configuration write once the device had acknowledged a block.
  kConfigurationHalfWritten,
  // Added to a failed firmware transfer once the device had acknowledged a block.
  kFirmwareMayBeMissing,
  // Status bar: a close was asked for while an operation runs.
  kClosingAfterOperation,
  // qvrctl, stderr: a termination signal arrived during a transfer.
  kStoppingAfterTransfer,
  // Why a save was refused (the system's own reasons come from the system).
  kSaveNotRegularFile,
  kSaveReadOnly,
  kSaveOwnerNotKept,
  // Status bar and log, once: "%s" settings file, "%s" reason.
  kSettingsNotSaved,
  // A configuration file without any section of the device: "%s" file, "%s" device name.
  kNotDeviceConfiguration,
  // "%s" file, "%s" the missing sections; the file was loaded with their defaults.
  kMissingSections,
  // qvrctl: asked after kMissingSections before such a file is sent.
  kWriteWithMissingSections,
  kCount
};

// The text in the catalogue's current language (formats are printf-style, see each id).
const char* Text(const Catalogue& catalogue, AddedText id);
// The text in a given language.
const char* TextIn(Language language, AddedText id);

}  // namespace qvr
