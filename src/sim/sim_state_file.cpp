#include "sim/sim_state_file.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>

#include "platform/file_names.h"
#include "platform/file_read.h"
#include "platform/file_save.h"

namespace qvr::sim {
namespace {

constexpr const char* kHeader = "qvr-sim-state 1";
// A device's memory areas as hex are some tens of kilobytes; a larger file is not a state file.
constexpr size_t kMaxStateFileSize = 1024 * 1024;

std::string Hex(const std::vector<uint8_t>& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (uint8_t b : bytes) {
    text += digits[b >> 4];
    text += digits[b & 15];
  }
  return text;
}

bool FromHex(const std::string& text, std::vector<uint8_t>& bytes) {
  if (text.size() % 2 != 0) return false;
  bytes.clear();
  for (size_t i = 0; i < text.size(); i += 2) {
    if (!std::isxdigit(uint8_t(text[i])) || !std::isxdigit(uint8_t(text[i + 1]))) return false;
    bytes.push_back(uint8_t(std::stoul(text.substr(i, 2), nullptr, 16)));
  }
  return true;
}

bool ParseNumber(std::istringstream& in, unsigned long maximum, unsigned long& value) {
  std::string word;
  if (!(in >> word) || word.empty() || word.size() > 10) return false;
  for (char c : word) {
    if (!std::isdigit(uint8_t(c))) return false;
  }
  value = std::stoul(word);
  return value <= maximum;
}

struct Parsed {
  unsigned long version = 0;
  unsigned long input = 0;
  std::map<uint8_t, std::vector<uint8_t>> blocks;
  bool hasVersion = false;
};

bool ParseLine(const std::string& line, const SimDevice& device, Parsed& parsed) {
  std::istringstream in(line);
  std::string key;
  in >> key;
  if (key == "version") {
    parsed.hasVersion = true;
    return ParseNumber(in, 0xFFFF, parsed.version);
  }
  if (key == "input") return ParseNumber(in, device.profile().maxInput, parsed.input);
  if (key != "block") return false;
  unsigned long command = 0;
  std::string hex;
  std::vector<uint8_t> bytes;
  if (!ParseNumber(in, 255, command) || !(in >> hex) || !FromHex(hex, bytes)) return false;
  auto area = device.memory().find(uint8_t(command));
  if (area == device.memory().end() || area->second.size() != bytes.size()) return false;
  parsed.blocks[uint8_t(command)] = std::move(bytes);
  return true;
}

}  // namespace

std::string StateFilePath(const std::string& directory, const Profile& profile) {
  std::string name = profile.identity.name;
  for (char& c : name) c = char(std::tolower(uint8_t(c)));
  return Utf8Path(NativePath(directory) / NativePath(name + ".state"));
}

bool LoadDeviceState(const std::string& path, SimDevice& device) {
  std::string data;
  bool tooLarge = false;
  if (!ReadRegularFile(path, kMaxStateFileSize, data, tooLarge) || tooLarge) return false;
  std::istringstream file(data);
  std::string line;
  if (!std::getline(file, line) || line != kHeader) return false;
  Parsed parsed;
  while (std::getline(file, line)) {
    if (line.empty()) continue;
    if (!ParseLine(line, device, parsed)) return false;
  }
  if (!parsed.hasVersion) return false;
  device.SetApplicationVersion(uint16_t(parsed.version));
  device.SetCurrentInput(uint8_t(parsed.input));
  for (const auto& [command, bytes] : parsed.blocks) device.SetMemory(command, bytes);
  return true;
}

bool SaveDeviceState(const std::string& path, const SimDevice& device) {
  std::error_code error;
  const std::filesystem::path target = NativePath(path);
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), error);
  std::ostringstream text;
  text << kHeader << '\n';
  text << "version " << device.applicationVersion() << '\n';
  text << "input " << unsigned(device.currentInput()) << '\n';
  for (const auto& [command, bytes] : device.memory()) {
    text << "block " << unsigned(command) << ' ' << Hex(bytes) << '\n';
  }
  return SaveFile(path, text.str()).ok();
}

}  // namespace qvr::sim
