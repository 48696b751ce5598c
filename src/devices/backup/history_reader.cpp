#include "devices/backup/history_reader.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <unordered_map>

#include "platform/file_names.h"
#include "platform/file_reader.h"

namespace qvr {

namespace {

// Far above any record; a longer "line" is something else and is passed over in pieces.
constexpr size_t kMaxLineBytes = 64 * 1024;
constexpr size_t kReadChunk = 64 * 1024;

// A file's lines, one at a time, none longer than kMaxLineBytes.
class LineSource {
 public:
  explicit LineSource(const std::string& path) : file_(path) {}
  const SaveResult& opened() const { return file_.opened(); }

  // The next line without its line break; false at the end. `tooLong` marks a line passed over.
  bool Next(std::string& line, bool& tooLong) {
    tooLong = false;
    for (;;) {
      const size_t end = buffer_.find('\n', at_);
      if (end != std::string::npos) return Take(end, end + 1, line, tooLong);
      if (buffer_.size() - at_ > kMaxLineBytes) {
        overlong_ = true;  // the rest of it is dropped up to its line break
        buffer_.clear();
        at_ = 0;
      }
      if (ended_) {
        if (at_ == buffer_.size() && !overlong_) return false;
        return Take(buffer_.size(), buffer_.size(), line, tooLong);
      }
      Fill();
    }
  }

 private:
  bool Take(size_t end, size_t next, std::string& line, bool& tooLong) {
    line.assign(buffer_, at_, end - at_);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    at_ = next;
    tooLong = std::exchange(overlong_, false);
    return true;
  }

  void Fill() {
    buffer_.erase(0, at_);
    at_ = 0;
    const size_t had = buffer_.size();
    buffer_.resize(had + kReadChunk);
    const long n = file_.Read(buffer_.data() + had, kReadChunk);
    buffer_.resize(had + size_t(std::max(n, 0L)));
    ended_ = n <= 0;
  }

  FileReader file_;
  std::string buffer_;
  size_t at_ = 0;
  bool ended_ = false;
  bool overlong_ = false;
};

// The id of a line without parsing it: ids are written without escapes.
std::string_view IdIn(std::string_view line) {
  constexpr std::string_view key = "\"id\":\"";
  const size_t at = line.find(key);
  if (at == std::string_view::npos) return {};
  const size_t from = at + key.size();
  const size_t end = line.find('"', from);
  return end == std::string_view::npos ? std::string_view() : line.substr(from, end - from);
}

// One file's changes in the order they began, each with its result once its second line came.
class ChangeSource {
 public:
  ChangeSource(const std::string& path, const HistoryLineFilter& mayMatter, size_t& skipped)
      : lines_(path), mayMatter_(mayMatter), skipped_(skipped) {}
  const SaveResult& opened() const { return lines_.opened(); }

  // The next change, or none at the end of the file.
  std::optional<HistoryEntry> Next() {
    while (!Ready() && !ended_) ReadLine();
    if (open_.empty()) return std::nullopt;
    HistoryEntry entry = std::move(open_.front().entry);
    if (!entry.id.empty()) byId_.erase(entry.id);
    open_.pop_front();
    ++nextNumber_;
    return entry;
  }

 private:
  struct Open {
    HistoryEntry entry;
    bool ended = false;
  };

  // The oldest change can go: its result is in, or it waited too long, or the file is read.
  bool Ready() const {
    return !open_.empty() && (open_.front().ended || open_.size() > kMaxOpenChanges);
  }

  void ReadLine() {
    std::string line;
    bool tooLong = false;
    if (!lines_.Next(line, tooLong)) {
      ended_ = true;
      return;
    }
    if (tooLong) {
      ++skipped_;
      return;
    }
    if (line.empty()) return;
    if (mayMatter_ && !mayMatter_(line) && !OfOpenChange(line)) return;
    bool isResult = false;
    std::optional<HistoryEntry> entry = ParseHistoryLine(line, isResult);
    if (!entry) {
      ++skipped_;
      return;
    }
    isResult ? End(*entry) : Begin(std::move(*entry));
  }

  bool OfOpenChange(std::string_view line) const {
    const std::string_view id = IdIn(line);
    return !id.empty() && byId_.contains(std::string(id));
  }

  void Begin(HistoryEntry entry) {
    // A record of an earlier version is whole in its one line.
    const bool whole = entry.id.empty();
    if (!whole) byId_[entry.id] = nextNumber_ + open_.size();
    open_.push_back({std::move(entry), whole});
  }

  // A second line whose first was passed over (too far back, or filtered) is left alone.
  void End(const HistoryEntry& result) {
    const auto found = byId_.find(result.id);
    if (found == byId_.end()) return;
    Open& open = open_[found->second - nextNumber_];
    open.entry.result = result.result;
    open.entry.unitChanged = result.unitChanged;
    open.ended = true;
  }

  LineSource lines_;
  const HistoryLineFilter& mayMatter_;
  size_t& skipped_;
  std::deque<Open> open_;
  std::unordered_map<std::string, size_t> byId_;  // the open changes' numbers
  size_t nextNumber_ = 0;                         // the number of open_.front()
  bool ended_ = false;
};

// The history's files: every computer's, then the older single file.
std::vector<std::string> HistoryFiles(const HistoryLocation& history) {
  std::vector<std::string> files;
  std::error_code ec;
  if (!history.folder.empty()) {
    for (const auto& entry : std::filesystem::directory_iterator(NativePath(history.folder), ec))
      if (entry.path().extension() == ".jsonl")
        files.push_back(history.folder + "/" + Utf8Path(entry.path().filename()));
  }
  std::sort(files.begin(), files.end());
  if (!history.olderFile.empty() && std::filesystem::exists(NativePath(history.olderFile), ec))
    files.push_back(history.olderFile);
  return files;
}

}  // namespace

HistoryReading ForEachChange(const HistoryLocation& history,
                             const std::function<void(const HistoryEntry&)>& each,
                             const HistoryLineFilter& mayMatter) {
  HistoryReading reading;
  std::vector<std::unique_ptr<ChangeSource>> sources;
  std::vector<std::optional<HistoryEntry>> heads;
  for (const std::string& file : HistoryFiles(history)) {
    auto source = std::make_unique<ChangeSource>(file, mayMatter, reading.skippedLines);
    if (!source->opened().ok()) {
      reading.unreadable.emplace_back(file, source->opened());
      continue;
    }
    heads.push_back(source->Next());
    sources.push_back(std::move(source));
  }
  // Each file is in time order already: the oldest of their heads goes next.
  for (;;) {
    size_t oldest = heads.size();
    for (size_t i = 0; i < heads.size(); ++i)
      if (heads[i] && (oldest == heads.size() || heads[i]->time < heads[oldest]->time)) oldest = i;
    if (oldest == heads.size()) break;
    each(*heads[oldest]);
    heads[oldest] = sources[oldest]->Next();
  }
  return reading;
}

std::vector<HistoryEntry> ReadHistory(const HistoryLocation& history, HistoryReading* reading) {
  std::vector<HistoryEntry> entries;
  const HistoryReading read =
      ForEachChange(history, [&](const HistoryEntry& entry) { entries.push_back(entry); });
  if (reading) *reading = read;
  return entries;
}

}  // namespace qvr
