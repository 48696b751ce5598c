// `qvrctl history` over long histories (two lines a change, as they are written), in text and
// as JSON: the memory the listing adds at its peak, which must not grow with the file (aim:
// within 50 MB for 300,000 lines), and its time beside one plain read of the same file, the
// floor, measured in the same run.
//   bench_cli_history [lines]
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "bench_cli_support.h"
#include "cli/qvrctl.h"
#include "devices/backup/backup_store.h"
#include "devices/backup/change_history.h"
#include "platform/file_names.h"
#include "platform/file_reader.h"

namespace {

// Takes what qvrctl prints and keeps none of it.
class Discard : public std::streambuf {
 protected:
  int_type overflow(int_type c) override { return c; }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

void SetVariable(const char* name, const std::string& value) {
#ifdef _WIN32
  _putenv_s(name, value.c_str());
#else
  setenv(name, value.c_str(), 1);
#endif
}

// A field of /proc/self/status in kB ("VmHWM", "VmRSS"); -1 where the system has none.
long StatusKb(const char* field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind(std::string(field) + ":", 0) == 0) return std::atol(line.c_str() + 6);
  return -1;
}

// Starts the peak over again at the memory in use now (Linux 4.0 on).
void ResetPeak() {
  std::ofstream("/proc/self/clear_refs") << "5";
}

void WriteHistory(const std::string& path, long lines) {
  std::filesystem::create_directories(qvr::NativePath(path).parent_path());
  std::ofstream out(qvr::NativePath(path), std::ios::binary | std::ios::trunc);
  const std::time_t start = 1577836800;  // 2020-01-01
  for (long change = 0; change < lines / 2; ++change) {
    const std::string number = std::to_string(change);
    qvr::HistoryEntry entry{
        .id = std::string("c").append(number),
        .time = qvr::UtcTimeText(start + change * 60, false),
        .program = "qvrctl",
        .machine = "bench",
        .adapterSerial = 20230417,
        .device = "MUX-410",
        .unitSerial = uint32_t(41000000 + change % 500),
        .command = "write",
        .file = std::string("/home/installer/cars/car-").append(number) + ".MUX",
        .sha256 = std::string(64, 'a'),
        .result = "ok"};
    out << qvr::FirstLineObject(entry).dump() << '\n'
        << qvr::ResultLineObject(entry, entry.time).dump() << '\n';
  }
}

double PlainReadMs(const std::string& path) {
  const auto start = std::chrono::steady_clock::now();
  qvr::FileReader file(path);
  std::vector<char> buffer(64 * 1024);
  size_t total = 0;
  for (long n; (n = file.Read(buffer.data(), buffer.size())) > 0;) total += size_t(n);
  if (total == 0) std::fprintf(stderr, "nothing read from %s\n", path.c_str());
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

struct Listing {
  double ms = 0;
  long addedKb = -1;  // above what the process held when it began
  long peakKb = -1;   // the whole process at its peak
};

std::string Megabytes(long kb) {
  if (kb < 0) return "n/a";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f MB", double(kb) / 1024);
  return text;
}

Listing ListHistory(bool json) {
  std::vector<std::string> args = {"qvrctl", "--lang", "en", "history"};
  if (json) args.insert(args.begin() + 1, "--json");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  Discard discard;
  std::ostream out(&discard), err(&discard);
  std::istringstream in;
  ResetPeak();
  const long before = StatusKb("VmRSS");
  const auto start = std::chrono::steady_clock::now();
  const int status = qvr::cli::RunQvrctl(int(argv.size()), argv.data(), out, err,
                                         qvr::cli::Terminal{&in, false, false});
  Listing listing;
  listing.ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  const long peak = StatusKb("VmHWM");
  if (before >= 0 && peak >= 0) listing.addedKb = std::max(0L, peak - before);
  listing.peakKb = peak;
  if (status != 0) std::fprintf(stderr, "history failed (%d)\n", status);
  return listing;
}

}  // namespace

int main(int argc, char** argv) {
  const long most = argc >= 2 ? std::max(2L, std::atol(argv[1])) : 300000;
  const qvr::bench::BenchFolder folder;
  if (!folder.ok()) return 1;
  SetVariable("XDG_DATA_HOME", folder.path());
  const std::string file = qvr::HistoryLocationIn(folder.path() + "/qvr-service").machineFile();

  std::printf("%-16s %7s %9s %11s %11s %9s %12s\n", "qvrctl history", "lines", "file", "peak added",
              "peak total", "time", "vs one read");
  for (const long lines : {most / 10, most}) {
    WriteHistory(file, lines);
    std::error_code ec;
    const long fileKb = long(std::filesystem::file_size(qvr::NativePath(file), ec) / 1024);
    const double floor = PlainReadMs(file);
    for (const bool json : {false, true}) {
      const Listing listing = ListHistory(json);
      std::printf("%-16s %7ld %9s %11s %11s %6.0f ms %11.1fx\n", json ? "  --json" : "  text",
                  lines, Megabytes(fileKb).c_str(), Megabytes(listing.addedKb).c_str(),
                  Megabytes(listing.peakKb).c_str(), listing.ms, listing.ms / floor);
    }
    std::printf("%-16s %7ld %9s %11s %11s %6.1f ms\n", "  one plain read", lines,
                Megabytes(fileKb).c_str(), "", "", floor);
  }
  std::printf("(aim: peak added within 50 MB, and no larger for ten times the lines)\n");
  return 0;
}
