#include "cli/prompter.h"

#include "cli/cli_texts.h"
#include "i18n/added_texts.h"
#include "i18n/catalogue.h"

namespace qvr::cli {

bool Prompter::Answered(bool yes) {
  if (!yes) declined_ = true;
  return yes;
}

bool Prompter::AskTerminal(const std::string& question) {
  err_ << question << Text(catalogue_, CliText::kPromptSuffix) << std::flush;
  std::string answer;
  // End of input is a No, like closing the box.
  return Answered(std::getline(in_, answer) && IsYesAnswer(answer));
}

bool Prompter::Ask(const std::string& question) {
  if (assumeYes_) {
    err_ << question << ' ' << Text(catalogue_, CliText::kAnsweredYes) << '\n';
    return Answered(true);
  }
  if (terminal_) return AskTerminal(question);
  err_ << question << '\n' << Text(catalogue_, CliText::kDeclinedNoTerminal) << '\n';
  return Answered(false);
}

bool Prompter::AskOverride(const std::string& question, bool allowed, const std::string& option) {
  if (allowed) {
    err_ << question << " (" << option << ")\n";
    return Answered(true);
  }
  if (terminal_) return AskTerminal(question);
  err_ << question << '\n'
       << catalogue_.FormatText(Text(catalogue_, AddedText::kDeclinedNeedsOption), option.c_str())
       << '\n';
  return Answered(false);
}

}  // namespace qvr::cli
