#include "cli/completion_words.h"

#include <algorithm>
#include <cctype>

#include "cli/command_table.h"

namespace qvr::cli {

namespace {

ValueOffer OfferOf(const CommandLine& line, const CLI::Option& option) {
  const ValueOffer* offer = line.OfferFor(option);
  return offer ? *offer : ValueOffer{};
}

OptionWords OptionOf(const CommandLine& line, const CLI::App& app, const CLI::Option& option) {
  OptionWords words{.help = option.get_description(),
                    .takesValue = option.get_expected_max() > 0,
                    .valueOptional = option.get_expected_min() == 0,
                    .offer = OfferOf(line, option),
                    .asksForHelp = &option == app.get_help_ptr()};
  for (const std::string& name : option.get_snames()) words.names.push_back("-" + name);
  for (const std::string& name : option.get_lnames()) words.names.push_back("--" + name);
  return words;
}

ArgumentWords ArgumentOf(const CommandLine& line, const CLI::Option& option) {
  const std::string help = option.get_description();
  return {.name = option.get_name(),
          .help = help.empty() ? Lowercase(option.get_name()) : help,
          .required = option.get_required(),
          .offer = OfferOf(line, option)};
}

// The options of `app` in the order they were declared, and its arguments.
void Collect(const CommandLine& line, const CLI::App& app, std::vector<OptionWords>& options,
             std::vector<ArgumentWords>* arguments) {
  for (const CLI::Option* option : app.get_options()) {
    if (option->nonpositional()) {
      options.push_back(OptionOf(line, app, *option));
      continue;
    }
    if (arguments) arguments->push_back(ArgumentOf(line, *option));
  }
}

}  // namespace

CompletionWords WordsOf(const CommandLine& line) {
  CompletionWords words;
  Collect(line, line.app, words.options, nullptr);
  for (const Command& command : Commands()) {
    const CLI::App& sub = *line.app.get_subcommand(command.name);
    CommandWords& added =
        words.commands.emplace_back(CommandWords{.name = command.name, .help = command.help});
    Collect(line, sub, added.options, &added.arguments);
  }
  return words;
}

std::string Joined(const std::vector<std::string>& words, const char* separator) {
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "" : separator) + word;
  return text;
}

std::string Lowercase(std::string text) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::vector<std::string> ValuedOptionNames(const CompletionWords& words) {
  std::vector<std::string> names;
  auto add = [&names](const std::vector<OptionWords>& options) {
    for (const OptionWords& option : options)
      for (const std::string& name : option.names)
        if (option.takesValue && !option.valueOptional &&
            std::find(names.begin(), names.end(), name) == names.end())
          names.push_back(name);
  };
  add(words.options);
  for (const CommandWords& command : words.commands) add(command.options);
  return names;
}

}  // namespace qvr::cli
