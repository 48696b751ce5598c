// The bash completion script: one function that finds the command and how many of its
// arguments precede the word, then offers what that place takes.
#include <algorithm>
#include <string>
#include <utility>

#include "cli/completion_words.h"

namespace qvr::cli {

namespace {

constexpr const char* kHead =
    R"script(# bash completion for qvrctl, as `qvrctl completion bash` prints it: commands, devices, options,
# the connected adapters and the file kinds each command takes. Words are never split or
# globbed: "b[c].MUX" stays "b[c].MUX".
_qvrctl_reply() {  # words... : the ones that start with $cur, one a line
  mapfile -t COMPREPLY < <(compgen -W "$*" -- "$cur")
}

# Paths and serial numbers of the adapters connected now, as qvrctl lists them (with the
# simulator options the command line holds so far).
_qvrctl_adapters() {
  local -a simulator=()
  local i
  for ((i = 1; i < COMP_CWORD; i++)); do
    case ${COMP_WORDS[i]} in
      --simulator | --simulator=*) simulator+=("${COMP_WORDS[i]}") ;;
      --simulated-adapters) simulator+=("${COMP_WORDS[i]}" "${COMP_WORDS[i + 1]}") ;;
    esac
  done
  qvrctl "${simulator[@]}" --json list 2>/dev/null |
    sed -n 's/.*"adapter":"\([^"]*\)".*"serial":\([0-9]*\).*/\1\n\2/p'
}

# Folders, the files whose names match the extglob pattern $1, and the words after it.
_qvrctl_files() {
  local pattern=$1
  shift
  compopt -o filenames 2>/dev/null
  mapfile -t COMPREPLY < <(compgen -d -- "$cur"; shopt -s extglob; compgen -f -X "!$pattern" -- "$cur")
  mapfile -t -O "${#COMPREPLY[@]}" COMPREPLY < <(compgen -W "$*" -- "$cur")
}

)script";

// "*.@(MUX|mux)": the suffix in either case.
std::string FilePattern(const std::string& suffix) {
  const std::string lower = Lowercase(suffix);
  return "*.@(" + suffix + (lower == suffix ? "" : "|" + lower) + ")";
}

// The command that fills COMPREPLY with what `offer` offers.
std::string Reply(const ValueOffer& offer) {
  if (!offer.fileSuffix.empty()) {
    std::vector<std::string> call = {"_qvrctl_files", "'" + FilePattern(offer.fileSuffix) + "'"};
    call.insert(call.end(), offer.words.begin(), offer.words.end());
    return Joined(call);
  }
  if (offer.adapters)
    return R"sh(mapfile -t COMPREPLY < <(compgen -W "all $(_qvrctl_adapters | tr '\n' ' ')" -- "$cur"))sh";
  if (offer.folders)
    return R"sh(compopt -o filenames 2>/dev/null; mapfile -t COMPREPLY < <(compgen -d -- "$cur"))sh";
  if (!offer.words.empty()) return "_qvrctl_reply " + Joined(offer.words);
  return "COMPREPLY=()";
}

// A `case $prev in` of the options that take a value, those offering the same in one case;
// "" when none takes one.
std::string ValueCases(const std::vector<OptionWords>& options, const std::string& indent) {
  std::vector<std::pair<std::string, std::vector<std::string>>> namesByReply;
  for (const OptionWords& option : options) {
    if (!option.takesValue || option.valueOptional) continue;
    const std::string reply = Reply(option.offer);
    auto same = std::find_if(namesByReply.begin(), namesByReply.end(),
                             [&reply](const auto& entry) { return entry.first == reply; });
    if (same == namesByReply.end()) same = namesByReply.insert(same, {reply, {}});
    same->second.insert(same->second.end(), option.names.begin(), option.names.end());
  }
  if (namesByReply.empty()) return "";
  std::string text = indent + "case $prev in\n";
  for (const auto& [reply, names] : namesByReply)
    text += indent + "  " + Joined(names, " | ") + ") " + reply + "; return ;;\n";
  return text + indent + "esac\n";
}

// The long names (or the short one) of `options`, for a word that starts with "-".
std::string OptionNames(const std::vector<OptionWords>& options) {
  std::vector<std::string> names;
  for (const OptionWords& option : options) names.push_back(option.longestName());
  return Joined(names);
}

std::string CommandCase(const CommandWords& command) {
  const std::string indent = "      ";
  std::string text = "    " + command.name + ")\n" + ValueCases(command.options, indent);
  text += indent + "if [[ $cur == -* ]]; then _qvrctl_reply " + OptionNames(command.options) +
          "; return; fi\n";
  if (!command.arguments.empty()) {
    text += indent + "case $after in\n";
    for (size_t i = 0; i < command.arguments.size(); ++i)
      text +=
          indent + "  " + std::to_string(i) + ") " + Reply(command.arguments[i].offer) + " ;;\n";
    text += indent + "esac\n";
  }
  return text + indent + ";;\n";
}

}  // namespace

std::string BashCompletion(const CompletionWords& words) {
  std::vector<std::string> commands;
  for (const CommandWords& command : words.commands) commands.push_back(command.name);
  std::string text = kHead;
  text += "_qvrctl() {\n";
  text += "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n";
  text += "  local commands=\"" + Joined(commands) + "\"\n";
  text += "  # The options that take the next word as their value.\n";
  text += "  local valued=\" " + Joined(ValuedOptionNames(words)) + " \"\n";
  text +=
      R"script(  # The command, and how many of its arguments precede the word (an option's value is none;
  # bash splits --option=VALUE into three words).
  local i word command="" after=0
  for ((i = 1; i < COMP_CWORD; i++)); do
    word=${COMP_WORDS[i]}
    if [ "$word" = = ]; then
      i=$((i + 1))
    elif [[ $valued == *" $word "* ]]; then
      [ "${COMP_WORDS[i + 1]}" = = ] || i=$((i + 1))
    elif [ -n "$command" ]; then
      [[ $word == -?* ]] || after=$((after + 1))
    elif [[ " $commands " == *" $word "* ]]; then
      command=$word
    fi
  done
)script";
  text += ValueCases(words.options, "  ");
  text += "  case $command in\n";
  text += "    \"\")\n";
  text += "      if [[ $cur == -* ]]; then _qvrctl_reply " + OptionNames(words.options) +
          "; else _qvrctl_reply $commands; fi\n";
  text += "      ;;\n";
  for (const CommandWords& command : words.commands) text += CommandCase(command);
  text += "  esac\n";
  text += "}\n";
  text += "complete -F _qvrctl qvrctl\n";
  return text;
}

}  // namespace qvr::cli
