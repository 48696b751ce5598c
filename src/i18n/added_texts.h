#pragma once
// Texts this program speaks beyond the message catalogue (which stays exactly as the product
// has always shipped it), in the catalogue's two languages. Fetched by id in the catalogue's
// current language at the moment of use, like the catalogue's own texts.
#include <string>

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
  // qvrctl: a configuration file value a device write refuses; "%s" file, section, key, the
  // value as the file holds it, then the reason.
  kFileValueRefused,
  // qvrctl: "%s" file, "%s" the device whose configuration it holds, "%s" the target device.
  kFileOfOtherDevice,
  // TPX-520 page: hint of the touch-line panels while they show no values from the device.
  kTouchLinesKeptByDevice,
  // Beside the progress of a long operation: "%u:%02u" minutes and seconds left.
  kTimeLeft,
  // The window's title and qvrctl's identification, on the simulated controller.
  kSimulatedController,
  // The log: where the device's configuration was saved before a change ("%s" file).
  kBackupSaved,
  // A backup before a change failed: "%s" device name, "%s" reason; nothing was sent.
  kBackupFailed,
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
  // qvrctl: standard output could not take what a command printed; "%s" reason.
  kOutputFailed,
  // qvrctl: the configuration read back after a write differs from what was sent; "%s" device name;
  // the differing keys follow.
  kVerifyFailed,
  // qvrctl: the read-back after a write matched; "%s" device name.
  kVerified,
  // qvrctl diff: differences that no write of the file changes on the unit, shown apart; "%d" how
  // many (--all lists them).
  kDiffApart,
  // qvrctl: no backup to list or restore; "%s" where they are kept.
  kNoBackups,
  // qvrctl restore: no backup of this unit; "%s" device name, "%lu" its serial number, "%s" the
  // folder.
  kNoBackupOfUnit,
  // qvrctl backups: "%s" device name, "%lu" serial number, "%s" local time, "%s" sequence,
  // "%s" marks (each after two blanks), "%s" file.
  kBackupLine,
  // qvrctl: one output file for several adapters; "%s" the file name.
  kBatchNeedsPlaceholder,
  // qvrctl: standard input given as the file for several adapters.
  kBatchNoStdin,
  // qvrctl batch diff: result word of an adapter whose device is the same as the file.
  kBatchSame,
  // qvrctl batch diff: result word of an adapter whose device differs from the file.
  kBatchDifferent,
  // qvrctl: a question --yes does not answer, declined; "%s" the option that answers it.
  kDeclinedNeedsOption,
  // qvrctl update: the plain confirmation; "%s" device name, "%s" file.
  kConfirmUpdate,
  // qvrctl: --json and a configuration read to "-" cannot share standard output.
  kJsonWithDataOnStdout,
  // qvrctl: a file value the unit will hold otherwise; "%s" file, section, key, the value as the
  // file holds it, "%u" what the unit holds, "%s" why.
  kValueChanged,
  // Why a value changes: the text is not a number.
  kValueNotANumber,
  // Why a value changes: "%d" the width of its field in bits.
  kValueCut,
  // Why a value changes: bits the unit does not keep.
  kValueMasked,
  // qvrctl --strict: a write refused for values changed on the way; nothing was sent.
  kStrictRefused,
  // qvrctl check: the file reaches the unit as it is; "%s" file, "%s" device name.
  kCheckClean,
  // Why a value changes: a flag keeps only bit 0 of the number.
  kValueBitZero,
  // An update file beyond what the 16-bit block offsets reach: "%s%s" file name and extension,
  // "%lu" its size, "%lu" the largest size that can be transferred.
  kUpdateFileTooLarge,
  // qvrctl history: "%s" UTC time, command, device name, unit serial, adapter serial, program,
  // result, file and its SHA-256.
  kHistoryLine,
  // qvrctl history: nothing recorded yet; "%s" the history file.
  kHistoryEmpty,
  // qvrctl: the command line could not be understood; "%s" the parser's own (English) words.
  kUsageError,
  // Another of our programs uses the adapter; the second, after a failure, names it: "%s" its
  // name and process id (kAdapterHolder...).
  kAdapterBusy,
  kAdapterBusyHolder,
  // Why a save was refused: the name is another user's symbolic link (see kSaveNotRegularFile).
  kSaveForeignLink,
  // qvrctl: how "-" is named in messages about the configuration read from it.
  kStandardInput,
  // qvrctl: standard input held more than a configuration file may ("%u" the limit in bytes).
  kStandardInputTooLarge,
  // Why a backup cannot be saved: the user has no folder for data.
  kNoDataFolder,
  // Why a save was refused on Windows: another program holds the file; a name Windows would
  // have saved without its trailing dot or blank.
  kSaveInUse,
  kSaveNameNotAllowed,
  // qvrctl: a termination signal came during the backup read before a change.
  kStoppedBeforeChange,
  // A configuration write whose every block went, but whose final restart was refused.
  kRestartRefused,
  // Asked before a close, load or read over unsaved changes: "%s" device name, "%s" file (or
  // the device name when the page came from no file).
  kUnsavedChanges,
  // The buttons of that question.
  kSaveButton,
  kDiscardButton,
  kCancelButton,
  // The popup menu's list of the active device's recently opened or saved files.
  kRecentFiles,
  // The title's name of a page's configuration that came from no file.
  kUntitled,
  // F1: the window's keys.
  kKeyboardHelp,
  // Above a field's error: "%s" the field's label; "%u" the event's number.
  kFieldNamed,
  kFieldOfEvent,
  kEventNumbered,
  // A number field holds something else: "%s" the text.
  kNotAnInteger,
  // Save or Write on a page that was neither read nor loaded: "%s" device name.
  kNoConfigurationYet,
  // The event's IR command field, which shares its label with the address.
  kCommandField,
  // Hints of the MUX-410 page's debug buttons.
  kHintCameraOn,
  kHintCameraOff,
  kHintMapButton,
  kHintIebusLog,
  // After a device write: "%s" device name; the second is followed by what differs.
  kWriteVerified,
  kWriteNotVerified,
  // Added to the write question: what the write changes on the unit (then one line each:
  // key: on the unit -> to be written), or that it changes nothing.
  kPreviewChanges,
  kPreviewNoChanges,
  // The popup menu's switch for that preview.
  kPreviewMenuItem,
  // The popup menu's item and its dialog's title.
  kRestoreFromBackup,
  // "%s" device name, "%u" serial number, "%s" backups folder.
  kNoUnitBackupsInFolder,
  // Where a memory transfer stopped: "%d" block (from 1), "%d" blocks, "%04X" device offset.
  kTransferFailedAt,
  // ---- backups: exact images, the unit's own, never pruned away ----
  // A folder below the data folder is a link (or no folder): "%s" the folder.
  kBackupFolderIsLink,
  kBackupFolderNotFolder,
  // Pruning went past: "%s" the unit's folder (another user's), or a backup folder left.
  kPruneFolderNotOwned,
  kPruneBackupLeft,
  // The marks of a backup, in listings.
  kBackupMarkFirst,
  kBackupMarkAfterFailedChange,
  // A backup's number in listings: "%lu" the sequence; and for a backup made before numbers.
  kBackupNumber,
  kBackupNoNumber,
  // qvrctl restore: "%s" the backup file, "%s" device name, "%lu" its unit's serial number,
  // "%lu" the connected unit's; nothing was sent.
  kRestoreOtherUnit,
  // The window's question for the same: "%s" device name, "%lu" backup's serial, "%lu" unit's.
  kRestoreOtherUnitQuestion,
  // restore latest: "%s" local time, "%s" number, "%s" file.
  kRestoreChosen,
  // restore latest: every backup was taken after a failed change; "%s" device, "%lu" serial.
  kNoSoundBackup,
  // A restore from a file without a raw image: "%s" the file, "%s" what it cannot give back.
  kPlainFileCannotGiveBack,
  // What a *.MUX file cannot carry, per device kind.
  kMux410FileLacks,
  kTpx520FileLacks,
  // A raw image beside a backup that cannot be used: "%s" the raw image file.
  kRawImageDamaged,
  // ---- the window's restore: its list of the unit's backups ----
  // The list's title.
  kRestoreDialogTitle,
  // Above the list: "%s" device name, "%lu" serial number.
  kUnitBackupsHeading,
  // The list's columns.
  kBackupColumnTime,
  kBackupColumnNumber,
  kBackupColumnName,
  kBackupColumnMarks,
  // Its buttons: restore the chosen backup; choose a backup file instead (another unit's).
  kRestoreButton,
  kOtherBackupFileButton,
  // A backup of another device kind: "%s" the file, "%s" its device, "%s" the connected one.
  kRestoreOtherDevice,
  // A read-back after a restore differs only where no *.MUX looks.
  kUnitBytesDiffer,
  // qvrctl, stderr: the window's settings file is there but cannot be read; "%s" the file,
  // "%d" the backups kept all the same.
  kSharedSettingsUnread,
  // After an update, the unit's own word on it: "%u.%02u" the version it reports now.
  kUpdateConfirmed,
  // "%u.%02u" the version it had before the update and still reports.
  kUpdateNotTaken,
  // "%u.%02u" the version it reports, "%u.%02u" the update file's.
  kUpdateOtherVersion,
  kUpdateNotConfirmed,
  // A write whose read-back could not be made: "%s" device name, the reason on the next line.
  kWriteNotChecked,
  // That reason when the unit stayed silent after the write's restart.
  kUnitSilentSinceRestart,
  // A backup that is not whole is passed over: "%s" its folder.
  kBackupPassedOver,
  // The history could not take a change's line (the change goes on): "%s" the file, "%s" why.
  kHistoryNotWritten,
  // qvrctl history, stderr: "%lu" lines that are no record (cut short, not fully synchronised).
  kHistorySkippedLines,
  // qvrctl history, stderr: a history file that cannot be read; "%s" the file, "%s" why.
  kHistoryUnreadable,
  // qvrctl history: a change without its result line (killed, or still running elsewhere).
  kHistoryNoResult,
  // qvrctl history: the commands and results as the text output names them.
  kHistoryWrite,
  kHistoryDefault,
  kHistoryRestore,
  kHistoryUpdate,
  kHistoryReset,
  kHistoryOk,
  kHistoryFailed,
  kHistoryCut,
  kHistoryNotConfirmed,
  // qvrctl history --json: the message; "%lu" the changes listed.
  kHistoryCount,
  // qvrctl history --unit/--since: nothing recorded matches; "%s" the history folder.
  kHistoryNoneMatches,
  // qvrctl history/backups: the settings file could not be read; "%s" its path, "%s" the data
  // folder used instead.
  kSharedSettingsUnreadData,
  // After a device write of a page whose edits its file lacks: "%s" the file's name.
  kWrittenNotSaved,
  // Before a load: "%s" the file's name, "%s" the device it is written for, "%s" the page's.
  kLoadOtherDevicesFile,
  // After the unit's own setup started, in the log and the write's preview.
  kNaviKeptOnUnit,
  kTouchKeptOnUnit,
  // Hints (and names for screen readers) of the MUX-410's debug buttons "Raw" and "Set".
  kHintRawButton,
  kHintSetButton,
  // The adapter is in use, by "%s" (kAdapterHolder...): the whole sentence.
  kAdapterBusyBy,
  // Who holds the adapter: "%s" program, "%lu" process id; the process id alone; nothing known.
  kAdapterHolderNamed,
  kAdapterHolderProcess,
  kAdapterHolderUnknown,
  // qvrctl --wait, on a terminal while it waits: "%s" who holds the adapter (kAdapterHolder...).
  kWaitingForAdapter,
  // The adapter lock could not be taken (LinkAdapterNotReserved), and why: "%s" what the lock is
  // taken on; the last also "%s" the system's own words.
  kAdapterNotReserved,
  kAdapterLockNoAccess,
  kAdapterLockNotNode,
  kAdapterLockNotFile,
  kAdapterLockRefused,
  kCount
};

// The text in the catalogue's current language (formats are printf-style, see each id).
const char* Text(const Catalogue& catalogue, AddedText id);
// The text in a given language.
const char* TextIn(Language language, AddedText id);
// "0:36 left" (kTimeLeft) for `seconds`, in the catalogue's current language.
std::string TimeLeftText(const Catalogue& catalogue, unsigned seconds);
// `text` with the added text `id` on a line of its own after it.
std::string WithAddedText(const Catalogue& catalogue, const std::string& text, AddedText id);

}  // namespace qvr
