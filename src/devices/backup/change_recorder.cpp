#include "devices/backup/change_recorder.h"

#include <ctime>
#include <filesystem>
#include <random>

#include "devices/backup/backup_store.h"
#include "devices/backup/sha256.h"
#include "i18n/added_texts.h"
#include "i18n/save_failure_text.h"
#include "link/device_info.h"
#include "platform/file_names.h"
#include "platform/machine_name.h"

namespace qvr {

namespace {

std::optional<uint32_t> SerialOf(Link& link, uint8_t address) {
  DeviceInfo info;
  if (ReadInfoBlock(link, address, info) != LinkOk) return std::nullopt;
  return info.serialNumber();
}

// 128 random bits in hex: unique among the changes of every computer sharing the history.
std::string NewChangeId() {
  static std::mutex mutex;
  static std::random_device device;
  const std::lock_guard lock(mutex);
  static const char* const kDigits = "0123456789abcdef";
  std::string id;
  for (int word = 0; word < 4; ++word) {
    uint32_t bits = device();
    for (int digit = 0; digit < 8; ++digit, bits >>= 4) id += kDigits[bits & 0xF];
  }
  return id;
}

std::string AbsolutePath(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(NativePath(path), ec);
  return ec ? path : Utf8Path(absolute.lexically_normal());
}

const char* ResultWord(ChangeResult result) {
  switch (result) {
    case ChangeResult::kOk:
      return kResultOk;
    case ChangeResult::kCut:
      return kResultCut;
    case ChangeResult::kNotConfirmed:
      return kResultNotConfirmed;
    default:
      return kResultFailed;
  }
}

}  // namespace

ChangeResult ResultOf(bool succeeded, bool stopRequested) {
  if (succeeded) return ChangeResult::kOk;
  return stopRequested ? ChangeResult::kCut : ChangeResult::kFailed;
}

ChangeRecorder::ChangeRecorder(Link& link, const DeviceModule& module, ChangeSetting setting)
    : link_(link),
      module_(module),
      setting_(std::move(setting)),
      acknowledgedAtStart_(link.acknowledgedWrites()) {
  entry_.program = setting_.program;
  entry_.command = setting_.command;
  entry_.device = module.name;
  entry_.simulated = setting_.simulated;
  link_.CallBeforeNextWrite([this] { Begin(); });
}

ChangeRecorder::~ChangeRecorder() {
  if (!begun_) link_.CallBeforeNextWrite(nullptr);
}

void ChangeRecorder::SetFile(const std::string& path, std::string_view bytes) {
  entry_.file = path == "-" ? path : AbsolutePath(path);
  entry_.sha256 = Sha256Hex(bytes);
}

void ChangeRecorder::Identify(std::optional<uint32_t> unitSerial) {
  if (identified_) return;
  identified_ = true;
  entry_.adapterSerial = SerialOf(link_, kControllerAddress);
  if (module_.IsController())
    entry_.unitSerial = entry_.adapterSerial;
  else
    entry_.unitSerial = unitSerial ? unitSerial : SerialOf(link_, module_.deviceAddress);
}

void ChangeRecorder::Begin() {
  Identify();
  begun_ = true;
  entry_.id = NewChangeId();
  entry_.time = UtcTimeText(std::time(nullptr), false);
  entry_.machine = MachineName();
  Append(FirstLineObject(entry_));
}

void ChangeRecorder::Finish(ChangeResult result) {
  if (!begun_ || finished_) return;
  finished_ = true;
  entry_.result = ResultWord(result);
  entry_.unitChanged = link_.acknowledgedWrites() != acknowledgedAtStart_;
  Append(ResultLineObject(entry_, UtcTimeText(std::time(nullptr), false)));
}

void ChangeRecorder::Append(const nlohmann::json& line) {
  const std::string file = setting_.history.machineFile();
  const SaveResult saved = AppendHistoryLine(file, line);
  if (saved.ok() || !setting_.say || !setting_.catalogue) return;
  const Catalogue& catalogue = *setting_.catalogue;
  setting_.say(catalogue.FormatText(Text(catalogue, AddedText::kHistoryNotWritten), file.c_str(),
                                    SaveFailureText(catalogue, saved).c_str()));
}

}  // namespace qvr
