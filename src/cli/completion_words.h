#pragma once
// What the completion scripts complete, read from the declared command line: the global
// options, and each command with its options and its arguments in order. Each shell's script
// is written from it.
#include <string>
#include <vector>

#include "cli/command_line.h"

namespace qvr::cli {

struct OptionWords {
  std::vector<std::string> names = {};  // "-y", "--yes"
  std::string help;
  bool takesValue = false;
  bool valueOptional = false;  // given as --option=VALUE only
  ValueOffer offer;
  bool asksForHelp = false;  // -h,--help: every command has it

  // The long name ("--yes"), else the short one.
  const std::string& longestName() const { return names.back(); }
};

struct ArgumentWords {
  std::string name;  // "DEVICE"
  std::string help;  // the name in lower case when it has none of its own
  bool required = false;
  ValueOffer offer;
};

struct CommandWords {
  std::string name;
  std::string help;
  std::vector<OptionWords> options = {};
  std::vector<ArgumentWords> arguments = {};
};

struct CompletionWords {
  std::vector<OptionWords> options;
  std::vector<CommandWords> commands;
};

// The words of `line`, commands in the table's order.
CompletionWords WordsOf(const CommandLine& line);

// The options of every command and the global ones that take the next word as their value,
// each name once: an option's name means the same in every command.
std::vector<std::string> ValuedOptionNames(const CompletionWords& words);

// `words` with `separator` between them.
std::string Joined(const std::vector<std::string>& words, const char* separator = " ");

// `text` with its ASCII letters in lower case.
std::string Lowercase(std::string text);

// The scripts, as each shell loads them from its completions folder.
std::string BashCompletion(const CompletionWords& words);
std::string ZshCompletion(const CompletionWords& words);
std::string FishCompletion(const CompletionWords& words);

}  // namespace qvr::cli
