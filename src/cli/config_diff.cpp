#include "cli/config_diff.h"

#include <algorithm>
#include <sstream>

namespace qvr::cli {

namespace {

struct Entry {
  std::string section;
  std::string key;
  std::string value;
};

std::vector<Entry> Entries(const std::string& text) {
  std::vector<Entry> entries;
  std::istringstream lines(text);
  std::string line, section;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      section = line.substr(1, line.size() - 2);
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    entries.push_back({section, line.substr(0, equals), line.substr(equals + 1)});
  }
  return entries;
}

const Entry* Find(const std::vector<Entry>& entries, const Entry& wanted) {
  auto same = [&](const Entry& e) { return e.section == wanted.section && e.key == wanted.key; };
  auto found = std::find_if(entries.begin(), entries.end(), same);
  return found == entries.end() ? nullptr : &*found;
}

}  // namespace

std::vector<KeyDifference> CompareConfigTexts(const std::string& device, const std::string& file) {
  const std::vector<Entry> deviceEntries = Entries(device);
  const std::vector<Entry> fileEntries = Entries(file);
  std::vector<KeyDifference> differences;
  for (const Entry& entry : deviceEntries) {
    const Entry* other = Find(fileEntries, entry);
    if (other && other->value == entry.value) continue;
    differences.push_back({entry.section, entry.key, entry.value, other ? other->value : ""});
  }
  for (const Entry& entry : fileEntries) {
    if (!Find(deviceEntries, entry))
      differences.push_back({entry.section, entry.key, "", entry.value});
  }
  return differences;
}

}  // namespace qvr::cli
