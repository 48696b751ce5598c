// The zsh completion script: _arguments rules of the global options and the command,
// then of the command's own options and arguments.
#include <string>

#include "cli/completion_words.h"

namespace qvr::cli {

namespace {

constexpr const char* kHead = R"script(#compdef qvrctl
# zsh completion for qvrctl, as `qvrctl completion zsh` prints it: commands, devices, options,
# the connected adapters (paths and serial numbers, as qvrctl lists them) and the file kinds
# each command takes.

_qvrctl_adapters() {
  local -a simulator adapters
  simulator=(${(M)words:#--simulator*})
  local i=${words[(i)--simulated-adapters]}
  (( i < ${#words} )) && simulator+=(--simulated-adapters "${words[i+1]}")
  adapters=(all ${(f)"$(qvrctl $simulator --json list 2>/dev/null |
    sed -n 's/.*"adapter":"\([^"]*\)".*"serial":\([0-9]*\).*/\1\n\2/p')"})
  _wanted adapters expl 'adapter' compadd -a adapters
}

)script";

// `text` inside single quotes.
std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// `text` with the characters that end a part of a rule escaped.
std::string Escaped(const std::string& text, const std::string& special) {
  std::string escaped;
  for (char c : text) {
    if (special.find(c) != std::string::npos || c == '\\') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

// The action that completes what `offer` offers (" ": nothing, the message alone).
std::string Action(const ValueOffer& offer) {
  if (!offer.fileSuffix.empty()) {
    const std::string lower = Lowercase(offer.fileSuffix);
    const std::string files = "_files -g \"*.(" + offer.fileSuffix +
                              (lower == offer.fileSuffix ? "" : "|" + lower) + ")\"";
    if (offer.words.empty()) return files;
    return "{" + files + "; compadd " + Joined(offer.words) + "}";
  }
  if (offer.adapters) return "_qvrctl_adapters";
  if (offer.folders) return "_files -/";
  if (!offer.words.empty()) return "(" + Joined(offer.words) + ")";
  return " ";
}

// One rule per name of the option; --option=VALUE is taken as well as two words.
std::vector<std::string> OptionRules(const OptionWords& option, bool endsTheLine) {
  std::string exclusions;
  if (endsTheLine)
    exclusions = "(- *)";
  else if (option.names.size() > 1)
    exclusions = "(" + Joined(option.names) + ")";
  std::vector<std::string> rules;
  for (const std::string& name : option.names) {
    std::string rule = exclusions + name;
    const bool isLong = name.starts_with("--");
    if (option.takesValue && isLong) rule += option.valueOptional ? "=-" : "=";
    rule += "[" + Escaped(option.help, "[]") + "]";
    if (option.takesValue) {
      rule += option.valueOptional ? "::" : ":";
      rule += Escaped(option.longestName().substr(2), ":") + ":" + Action(option.offer);
    }
    rules.push_back(Quoted(rule));
  }
  return rules;
}

std::vector<std::string> OptionsRules(const std::vector<OptionWords>& options) {
  std::vector<std::string> rules;
  for (const OptionWords& option : options) {
    const bool endsTheLine = option.asksForHelp || option.longestName() == "--version";
    for (std::string& rule : OptionRules(option, endsTheLine)) rules.push_back(std::move(rule));
  }
  return rules;
}

std::string ArgumentRule(size_t position, const ArgumentWords& argument) {
  return Quoted(std::to_string(position) + (argument.required ? ":" : "::") +
                Escaped(Lowercase(argument.name), ":") + ":" + Action(argument.offer));
}

// `_arguments` with `rules`, a rule a line.
std::string Arguments(const std::string& flags, const std::vector<std::string>& rules,
                      const std::string& indent) {
  std::string text = "_arguments" + flags;
  for (const std::string& rule : rules) text += " \\\n" + indent + rule;
  return text;
}

std::string CommandsFunction(const CompletionWords& words) {
  std::string text = "_qvrctl_commands() {\n  local -a commands=(\n";
  for (const CommandWords& command : words.commands)
    text += "    " + Quoted(Escaped(command.name, ":") + ":" + command.help) + "\n";
  return text + "  )\n  _describe -t commands 'command' commands\n}\n\n";
}

std::string CommandCase(const CommandWords& command) {
  std::vector<std::string> rules = OptionsRules(command.options);
  for (size_t i = 0; i < command.arguments.size(); ++i)
    rules.push_back(ArgumentRule(i + 1, command.arguments[i]));
  return "    " + command.name + ")\n      " + Arguments("", rules, "        ") + "\n      ;;\n";
}

}  // namespace

std::string ZshCompletion(const CompletionWords& words) {
  std::vector<std::string> rules = OptionsRules(words.options);
  rules.push_back(Quoted("1:command:_qvrctl_commands"));
  rules.push_back(Quoted("*::argument:->argument"));
  std::string text = kHead + CommandsFunction(words);
  text += "_qvrctl() {\n";
  text += "  local curcontext=$curcontext state line\n";
  text += "  " + Arguments(" -C", rules, "    ") + " && return\n";
  text += "  case $words[1] in\n";
  for (const CommandWords& command : words.commands) text += CommandCase(command);
  text += "  esac\n";
  text += "}\n\n";
  text += "_qvrctl \"$@\"\n";
  return text;
}

}  // namespace qvr::cli
