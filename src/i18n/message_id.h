#pragma once
// The ids of the catalogue's texts, one name for each, saying what the text is. The numbers are
// the catalogue's own and never change; formats name their arguments ("%s" device name ...).
#include <cstdint>

namespace qvr {

enum class MessageId : int32_t {
  // Box captions.
  kCaptionError = 0,
  kCaptionInformation = 1,
  kCaptionQuestion = 2,
  kCaptionWarning = 3,
  // The log's banners when the controller goes and comes.
  kDisconnectedBanner = 4,
  kConnectedBanner = 5,
  // Status bar: "%s" controller name; the second adds "%s" the liveness dots.
  kConnectedStatus = 6,
  kConnectedStatusDots = 7,
  // The window's title: "%s" program version.
  kWindowTitle = 8,
  // A device kind without the command.
  kUpdateNotSupported = 9,
  kLoadNotSupported = 10,
  kSaveNotSupported = 11,
  // File dialog titles.
  kUpdateFileTitle = 12,
  kOpenConfigurationTitle = 13,
  kSaveConfigurationTitle = 14,
  // "%s" device name, "%s" link result: the device's configuration could not be read.
  kDeviceConfigurationReadFailed = 15,
  // The log's banner above a device's identification.
  kDeviceBanner = 16,
  // A file's trouble: "%s%s" file name and extension.
  kFileOpenFailed = 17,
  kFileSizeWrong = 18,
  kFileReadFailed = 19,
  kFileCrcWrong = 20,
  // The log's lines about an update: banner, "%s%s" file, "%u.%02u" version, "%u" device type,
  // "%u" device version.
  kUpdateBanner = 21,
  kUpdateFileLine = 22,
  kUpdateVersionLine = 23,
  kUpdateDeviceTypeLine = 24,
  kUpdateDeviceVersionLine = 25,
  // Why an update file is refused.
  kUpdateNotForDevice = 26,
  kUpdateNotForType = 27,
  // Questions before an update of the same or an older version.
  kUpdateSameVersion = 28,
  kUpdateOlderVersion = 29,
  // Progress: "%s" device name; failure: "%s" link result; success: "%u.%02u" version.
  kUpdateProgress = 30,
  kUpdateFailed = 31,
  kUpdateDone = 32,
  // What a link result says.
  kResultOk = 33,
  kResultDriverNotLoaded = 34,
  kResultDriverFunctionMissing = 35,
  kResultDisconnected = 36,
  kResultExchangeFailed = 37,
  kResultTimeout = 38,
  kResultParameterError = 39,
  kResultResultError = 40,
  kResultMemoryError = 41,
  kResultUnknown = 42,  // "%d" the result
  // A device's identification in the log: "%s" name, "%lu" serial number, "%u.%02u" versions.
  kInfoName = 43,
  kInfoSerialNumber = 44,
  kInfoBootVersion = 45,
  kInfoApplicationVersion = 46,
  kInfoNoApplication = 47,
  // "%s" device name, "%s" link result.
  kDeviceReadFailed = 48,
  // The event table.
  kDeleteAllEventsQuestion = 49,
  kInsertTab = 50,
  kGetEventHint = 51,   // followed by the event's number
  kEventDataHint = 52,  // followed by the event's number
  kEnterValue = 53,
  kNumberRange = 54,  // "%u" lowest, "%u" highest
  kNoRoomForEvent = 55,
  // A device kind without the command.
  kReadDeviceNotSupported = 56,
  kWriteDeviceNotSupported = 57,
  kDefaultNotSupported = 58,
  kSelectFromList = 59,
  kSecondsRange = 60,  // "%s" lowest, "%s" highest, in seconds
  kTotalEvents = 61,   // "%u" events, "%u" capacity
  // A link result: the device refused the update file.
  kResultUpdateFileError = 62,
  kDialogNotCreated = 63,
  kSettingsUnreadable = 64,
  // "%s" device name (and "%s" link result for the failures).
  kDefaultFailed = 65,
  kDefaultQuestion = 66,
  kConfigurationReadFailed = 67,
  kConfigurationWriteFailed = 68,
  kReadingConfiguration = 69,
  kWritingConfiguration = 70,
  kDeviceWriteFailed = 71,
  kWriteQuestion = 72,
  // The kinds of PA, in the order the device numbers them.
  kPaTypeUnknown = 73,
  kPaTypeActive = 74,
  kPaTypePassive = 75,
  kNaviSetupQuestion = 76,
  kResetNotSupported = 77,
  kResetFailed = 78,  // "%s" device name, "%s" link result
  kNoEvent = 79,
  kAwaitingIrCode = 80,
  kGetIrCodeHint = 81,  // followed by the event's number
  kNaviAutoSetupQuestion = 82,
  kIebusStatus = 83,  // "%lu" packets, "%s" liveness dots
  kTouchSetupQuestion = 84,
  kPowerIrHint = 85,
  kSelectOption = 86,
};

}  // namespace qvr
