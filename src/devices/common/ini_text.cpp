#include "devices/common/ini_text.h"

#include <algorithm>
#include <set>

namespace qvr {

namespace {

// The blanks the parser trims around names and values.
bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string Folded(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  return folded;
}

// Decides line by line which lines the parser may see.
class FirstOccurrenceFilter {
 public:
  bool Keep(std::string_view line) {
    const std::string_view text = Trimmed(line);
    if (!text.empty() && text.front() == '[') return KeepSection(text);
    if (repeated_) return false;
    if (text.empty() || text.front() == ';' || text.front() == '#') return true;
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) return true;
    const std::string_view key = Trimmed(text.substr(0, equals));
    return key.empty() || keys_.insert(Folded(key)).second;
  }

 private:
  bool KeepSection(std::string_view text) {
    const size_t close = text.find(']');
    if (close == std::string_view::npos) return !repeated_;  // not a header: the parser skips it
    repeated_ = !sections_.insert(Folded(Trimmed(text.substr(1, close - 1)))).second;
    keys_.clear();
    return !repeated_;
  }

  std::set<std::string> sections_{""};  // keys before any header belong to the nameless one
  std::set<std::string> keys_;
  bool repeated_ = false;
};

}  // namespace

std::string FirstOccurrencesOnly(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  FirstOccurrenceFilter filter;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(start, end - start));
    std::replace(line.begin(), line.end(), '\0', ' ');
    if (filter.Keep(line)) {
      out += line;
      out += '\n';
    }
    start = end + 1;  // CR LF leaves an empty line between, which changes nothing
  }
  return out;
}

std::string_view Unquoted(std::string_view value) {
  if (value.size() < 2) return value;
  const char first = value.front();
  if ((first != '"' && first != '\'') || value.back() != first) return value;
  return value.substr(1, value.size() - 2);
}

std::string QuotedWhereNeeded(std::string value) {
  if (value.empty()) return value;
  if (!IsBlank(value.front()) && !IsBlank(value.back()) && Unquoted(value).size() == value.size())
    return value;
  return '"' + value + '"';
}

}  // namespace qvr
