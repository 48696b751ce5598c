// Names and values with arbitrary bytes on their way out of qvrctl: the terminal gets no control
// character but tab and line breaks and only UTF-8, JSON never throws and always parses back,
// whatever an adapter or a file held.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "cli/console_host.h"
#include "cli/json_objects.h"
#include "cli/prompter.h"
#include "cli/terminal_text.h"
#include "devices/backup/json_text.h"
#include "i18n/catalogue.h"
#include "i18n/cp1251.h"
#include "link/device_info.h"
#include "link/host.h"

namespace {

// What a terminal may receive: UTF-8 without controls, a carriage return only before a line feed.
bool IsTerminalSafe(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return false;
    if ((byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') || byte == 0x7F) return false;
    if (byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0)
      return false;
  }
  // JSON's strict serialiser throws on anything that is not UTF-8.
  try {
    (void)nlohmann::json(text).dump();
  } catch (const nlohmann::json::exception&) {
    return false;
  }
  return true;
}

bool ParsesBack(const std::string& line) {
  return nlohmann::json::accept(line);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string name = input.ConsumeRandomLengthString(80);
  const std::string value = input.ConsumeRandomLengthString(200);
  const std::string rest = input.ConsumeRemainingBytesAsString();

  // The function itself: safe, stable, and the identity on text that was safe already.
  const std::string safe = qvr::cli::TerminalSafe(value);
  if (!IsTerminalSafe(safe) || qvr::cli::TerminalSafe(safe) != safe) std::abort();
  if (IsTerminalSafe(value) && safe != value) std::abort();

  // An adapter's name (Windows-1251 bytes) as info shows it and as JSON carries it.
  qvr::DeviceInfo info;
  for (size_t i = 0; i < name.size() && 10 + i < 65; ++i) info.bytes[10 + i] = uint8_t(name[i]);
  qvr::Catalogue catalogue;
  std::ostringstream out, err, json;
  std::istringstream noAnswers;
  qvr::cli::Prompter prompter(false, false, noAnswers, err, catalogue);
  qvr::cli::ConsoleHost host(out, err, prompter, false, false);
  qvr::ShowControllerInfo(host, catalogue, info);
  // A refused value, a name in diff, an event's description: every way text reaches a stream.
  host.Error(value);
  host.Note("[" + name + "] " + value + ": " + qvr::Cp1251ToUtf8(rest));
  host.Remark(rest);
  (void)host.ShowMessageBox(qvr::BoxKind::kError, value);
  (void)host.ShowMessageBox(qvr::BoxKind::kQuestion, name);
  if (!IsTerminalSafe(out.str()) || !IsTerminalSafe(err.str())) std::abort();

  nlohmann::json object = qvr::cli::InfoObject(info);
  object["device"] = name;
  object["message"] = value;
  if (!ParsesBack(qvr::JsonText(object))) std::abort();
  const nlohmann::json difference = {
      {"section", name}, {"key", value}, {"device", qvr::Cp1251ToUtf8(rest)}, {"file", rest}};
  if (!ParsesBack(qvr::JsonText(difference))) std::abort();
  qvr::cli::ConsoleHost jsonHost(json, err, prompter, false, false, true);
  jsonHost.Error(rest);
  jsonHost.fields()["file"] = rest;
  const std::string failure = qvr::cli::Dump(qvr::cli::ResultObject(
      "write", name, 7u, "failed", jsonHost.Message(false), jsonHost.fields()));
  if (!ParsesBack(failure)) std::abort();
  return 0;
}
