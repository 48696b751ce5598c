// The fish completion script: a `complete` line per command, option and argument, the
// arguments told apart by their place after the command.
#include <string>

#include "cli/completion_words.h"

namespace qvr::cli {

namespace {

constexpr const char* kHead =
    R"script(# fish completion for qvrctl, as `qvrctl completion fish` prints it: commands, devices, options,
# the connected adapters (paths and serial numbers, as qvrctl lists them) and the file kinds
# each command takes.

function __qvrctl_adapters
    set -l simulator
    set -l words (commandline -opc)
    for i in (seq (count $words))
        switch $words[$i]
            case '--simulator*'
                set simulator $simulator $words[$i]
            case --simulated-adapters
                set simulator $simulator $words[$i] $words[(math $i + 1)]
        end
    end
    echo all
    qvrctl $simulator --json list 2>/dev/null | sed -n 's/.*"adapter":"\([^"]*\)".*"serial":\([0-9]*\).*/\1\n\2/p'
end

)script";

// `text` inside single quotes.
std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "'";
}

// True when the word being completed is argument $argv[2] (1 the first) of command $argv[1];
// options and the values of those that take one are no arguments.
std::string ArgumentFunction(const CompletionWords& words, const std::string& commands) {
  return "function __qvrctl_argument\n"
         "    set -l valued " +
         Joined(ValuedOptionNames(words)) +
         "\n"
         "    set -l command\n"
         "    set -l count 0\n"
         "    set -l skip 0\n"
         "    for word in (commandline -opc)[2..-1]\n"
         "        if test $skip = 1\n"
         "            set skip 0\n"
         "        else if contains -- $word $valued\n"
         "            set skip 1\n"
         "        else if test -z \"$command\"\n"
         "            contains -- $word " +
         commands +
         "; and set command $word\n"
         "        else if not string match -q -- '-?*' $word\n"
         "            set count (math $count + 1)\n"
         "        end\n"
         "    end\n"
         "    test \"$command\" = \"$argv[1]\"; and test $count -eq (math $argv[2] - 1)\n"
         "end\n\n";
}

// The `complete` arguments that offer `offer` as a value.
std::string Values(const ValueOffer& offer) {
  // __fish_complete_suffix lists the files with the suffix and the folders before the other
  // files: -k keeps that order.
  if (!offer.fileSuffix.empty()) {
    std::vector<std::string> values = {"(__fish_complete_suffix ." + offer.fileSuffix + ")"};
    values.insert(values.end(), offer.words.begin(), offer.words.end());
    return " -k -a " + Quoted(Joined(values));
  }
  if (offer.adapters) return " -x -a '(__qvrctl_adapters)'";
  if (offer.folders) return " -x -a '(__fish_complete_directories)'";
  if (!offer.words.empty()) return " -x -a " + Quoted(Joined(offer.words));
  return " -x";
}

std::string OptionLine(const std::string& condition, const OptionWords& option) {
  std::string line = "complete -c qvrctl" + condition;
  for (const std::string& name : option.names)
    line += (name.starts_with("--") ? " -l " + name.substr(2) : " -s " + name.substr(1));
  // --option=VALUE alone is no value fish offers apart.
  if (option.takesValue && !option.valueOptional) line += Values(option.offer);
  return line + " -d " + Quoted(option.help) + "\n";
}

std::string CommandLines(const CommandWords& command) {
  std::string text;
  const std::string seen = " -n '__fish_seen_subcommand_from " + command.name + "'";
  for (const OptionWords& option : command.options)
    if (!option.asksForHelp) text += OptionLine(seen, option);  // the global -h,--help is there
  for (size_t i = 0; i < command.arguments.size(); ++i) {
    const ArgumentWords& argument = command.arguments[i];
    text += "complete -c qvrctl -n " +
            Quoted("__qvrctl_argument " + command.name + " " + std::to_string(i + 1)) +
            Values(argument.offer) + " -d " + Quoted(argument.help) + "\n";
  }
  return text;
}

}  // namespace

std::string FishCompletion(const CompletionWords& words) {
  std::vector<std::string> names;
  for (const CommandWords& command : words.commands) names.push_back(command.name);
  const std::string commands = Joined(names);
  std::string text = kHead + ArgumentFunction(words, commands);
  text += "complete -c qvrctl -f\n";
  for (const CommandWords& command : words.commands)
    text += "complete -c qvrctl -n 'not __fish_seen_subcommand_from " + commands + "' -a " +
            command.name + " -d " + Quoted(command.help) + "\n";
  for (const OptionWords& option : words.options) text += OptionLine("", option);
  for (const CommandWords& command : words.commands) text += CommandLines(command);
  return text;
}

}  // namespace qvr::cli
