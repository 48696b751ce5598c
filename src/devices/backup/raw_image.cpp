#include "devices/backup/raw_image.h"

#include <nlohmann/json.hpp>

#include "devices/backup/json_text.h"
#include "platform/file_read.h"

namespace qvr {

namespace {

constexpr const char* kFormat = "qvr-service raw image 1";
// A raw image is a few kilobytes; anything far larger is not one.
constexpr size_t kLargestRawImage = 1024 * 1024;

std::string Hex(const uint8_t* bytes, size_t count) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (size_t i = 0; i < count; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 0x0F];
  }
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Strict: pairs of hex digits and nothing else, so a damaged file is never sent half-read.
std::optional<std::vector<uint8_t>> Unhex(const nlohmann::json& value) {
  if (!value.is_string()) return std::nullopt;
  const std::string& text = value.get_ref<const std::string&>();
  if (text.size() % 2 != 0) return std::nullopt;
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < text.size(); i += 2) {
    const int high = HexDigit(text[i]), low = HexDigit(text[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(uint8_t(high << 4 | low));
  }
  return bytes;
}

template <typename T>
bool Take(const nlohmann::json& object, const char* key, T& value) {
  if (!object.contains(key)) return false;
  const nlohmann::json& field = object[key];
  if constexpr (std::is_same_v<T, std::string>) {
    if (!field.is_string()) return false;
  } else if constexpr (std::is_same_v<T, bool>) {
    if (!field.is_boolean()) return false;
  } else {
    if (!field.is_number_unsigned() || field.get<uint64_t>() > std::numeric_limits<T>::max())
      return false;
  }
  value = field.get<T>();
  return true;
}

bool TakeBlocks(const nlohmann::json& list, std::vector<RawBlock>& blocks) {
  if (!list.is_array()) return false;
  for (const nlohmann::json& item : list) {
    RawBlock block;
    if (!item.is_object() || !Take(item, "command", block.command) || !item.contains("bytes"))
      return false;
    auto bytes = Unhex(item["bytes"]);
    if (!bytes) return false;
    block.bytes = std::move(*bytes);
    blocks.push_back(std::move(block));
  }
  return true;
}

bool TakeEvents(const nlohmann::json& list, std::vector<EventRecord>& events) {
  if (!list.is_array()) return false;
  for (const nlohmann::json& item : list) {
    auto bytes = Unhex(item);
    if (!bytes || bytes->size() != size_t(kEventRecordSize)) return false;
    events.push_back(EventRecord::Decode(bytes->data()));
  }
  return true;
}

}  // namespace

std::string RawImageText(const RawImage& image) {
  nlohmann::ordered_json blocks = nlohmann::ordered_json::array(),
                         events = nlohmann::ordered_json::array();
  for (const RawBlock& block : image.blocks)
    blocks.push_back(
        {{"command", block.command}, {"bytes", Hex(block.bytes.data(), block.bytes.size())}});
  for (const EventRecord& record : image.events) {
    const auto bytes = record.Encode();
    events.push_back(Hex(bytes.data(), bytes.size()));
  }
  // In this order, so a person reads who and when before the bytes.
  const nlohmann::ordered_json object = {
      {"format", kFormat},
      {"device", image.device},
      {"serial", image.serial},
      {"identification", Hex(image.identification.data(), image.identification.size())},
      {"sequence", image.sequence},
      {"time", image.time},
      {"machine", image.machine},
      {"computer", image.computer},
      {"config_sha256", image.configSha256},
      {"after_failed_change", image.afterFailedChange},
      {"name", image.name},
      {"blocks", blocks},
      {"events", events},
  };
  return JsonText(object, 2) + "\n";
}

std::optional<RawImage> ParseRawImage(const std::string& text) {
  const nlohmann::json object = nlohmann::json::parse(text, nullptr, false);
  if (!object.is_object()) return std::nullopt;
  RawImage image;
  std::string format;
  if (!Take(object, "format", format) || format != kFormat) return std::nullopt;
  const auto identification = object.contains("identification")
                                  ? Unhex(object["identification"])
                                  : std::optional<std::vector<uint8_t>>();
  if (!identification || identification->size() != image.identification.size()) return std::nullopt;
  std::copy(identification->begin(), identification->end(), image.identification.begin());
  const bool complete =
      Take(object, "device", image.device) && Take(object, "serial", image.serial) &&
      Take(object, "sequence", image.sequence) && Take(object, "time", image.time) &&
      Take(object, "after_failed_change", image.afterFailedChange) && object.contains("blocks") &&
      TakeBlocks(object["blocks"], image.blocks) && object.contains("events") &&
      TakeEvents(object["events"], image.events);
  if (!complete) return std::nullopt;
  // For people only: a file without them is still whole.
  (void)Take(object, "machine", image.machine);
  (void)Take(object, "computer", image.computer);
  (void)Take(object, "config_sha256", image.configSha256);
  (void)Take(object, "name", image.name);
  return image;
}

std::optional<RawImage> ReadRawImage(const std::string& path, std::string* bytes) {
  std::string text;
  bool tooLarge = false;
  if (!ReadRegularFile(path, kLargestRawImage, text, tooLarge)) return std::nullopt;
  std::optional<RawImage> image = ParseRawImage(text);
  if (bytes) *bytes = std::move(text);
  return image;
}

}  // namespace qvr
