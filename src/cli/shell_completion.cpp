#include "cli/shell_completion.h"

#include <nlohmann/json.hpp>
#include <optional>

#include "cli/command_line.h"
#include "cli/command_table.h"
#include "cli/completion_words.h"
#include "cli/json_objects.h"
#include "cli/session.h"

namespace qvr::cli {

namespace {

struct ShellScript {
  const char* shell;
  std::string (*write)(const CompletionWords& words);
};

constexpr ShellScript kScripts[] = {
    {.shell = "bash", .write = BashCompletion},
    {.shell = "zsh", .write = ZshCompletion},
    {.shell = "fish", .write = FishCompletion},
};

}  // namespace

std::vector<std::string> CompletionShells() {
  std::vector<std::string> shells;
  for (const ShellScript& script : kScripts) shells.push_back(script.shell);
  return shells;
}

std::string CompletionScript(std::string_view shell, std::span<const DeviceDriver> drivers) {
  for (const ShellScript& script : kScripts) {
    if (shell != script.shell) continue;
    const CommandLine line(drivers);
    return script.write(WordsOf(line));
  }
  return {};
}

int RunCompletion(const RunOptions& options, const Catalogue&, std::ostream& out, std::ostream&) {
  const std::string script = CompletionScript(options.shell);
  if (!options.json) {
    out << script;
    return kExitOk;
  }
  out << Dump(ResultObject(options.command->jsonName(), {}, std::nullopt, "ok", script,
                           {{"shell", options.shell}}))
      << '\n';
  return kExitOk;
}

}  // namespace qvr::cli
