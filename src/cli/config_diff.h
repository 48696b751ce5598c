#pragma once
// The keys in which two configuration files, as the program writes them, differ.
#include <string>
#include <vector>

namespace qvr::cli {

struct KeyDifference {
  std::string section;
  std::string key;
  std::string device;  // the value on the device's side ("" when it has no such key)
  std::string file;    // the value on the file's side
};

// Compares two texts in the program's own .MUX layout ("[SECTION]" and "KEY=VALUE" lines):
// every key whose values differ or that only one side holds, in the device's order, then the
// keys only the file holds. Values stay the files' bytes.
std::vector<KeyDifference> CompareConfigTexts(const std::string& device, const std::string& file);

}  // namespace qvr::cli
