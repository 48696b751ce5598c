// Reads arbitrary bytes as the program's settings file: it must neither crash nor hang, the
// window's values stay in their ranges, they survive a save and a second read, and a file that
// could be read only in part is kept whole beside the new one before it is replaced.
#include <QSize>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "app/settings.h"
#include "devices/common/ini_file.h"
#include "fuzz_scratch.h"

namespace {

constexpr int kPageCount = 3;
const QSize kScreen(1920, 1080);
const QSize kWindow(784, 550);

bool Same(const qvr::WindowSettings& a, const qvr::WindowSettings& b) {
  return a.top == b.top && a.left == b.left && a.activePage == b.activePage &&
         a.language == b.language && a.packetLog == b.packetLog && a.debug == b.debug &&
         a.backup == b.backup;
}

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = qvr::fuzz::Scratch().Write("qvr-service.ini", data, size);
  const std::string copy = path + ".bak";
  std::remove(copy.c_str());
  const qvr::SettingsStore store(QString::fromStdString(path), [] { std::abort(); });

  qvr::IniFile ini;
  if (!store.Open(ini)) std::abort();
  const qvr::WindowSettings read = qvr::ReadWindowSettings(ini, kScreen, kWindow, kPageCount);
  if (read.activePage < 0 || read.activePage >= kPageCount || read.top < 0 ||
      read.top > kScreen.height() || (read.language != 0 && read.language != 1))
    std::abort();

  const bool whole = ini.loadedWhole();
  qvr::WriteWindowSettings(ini, read);
  if (!qvr::SaveSettingsFile(path, ini).ok()) std::abort();
  // What the document lacked is not lost: the file as found is kept.
  if (!whole && Contents(copy) != std::string(reinterpret_cast<const char*>(data), size))
    std::abort();

  qvr::IniFile again;
  if (!store.Open(again)) std::abort();
  if (!Same(qvr::ReadWindowSettings(again, kScreen, kWindow, kPageCount), read)) std::abort();
  return 0;
}
