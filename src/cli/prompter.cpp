#include "cli/prompter.h"

#include "cli/cli_texts.h"

namespace qvr::cli {

bool Prompter::Ask(const std::string& question) {
  bool yes = false;
  switch (mode_) {
    case Mode::kAssumeYes:
      err_ << question << ' ' << Text(catalogue_, CliText::kAnsweredYes) << '\n';
      yes = true;
      break;
    case Mode::kDecline:
      err_ << question << '\n' << Text(catalogue_, CliText::kDeclinedNoTerminal) << '\n';
      break;
    case Mode::kAsk: {
      err_ << question << Text(catalogue_, CliText::kPromptSuffix) << std::flush;
      std::string answer;
      // End of input is a No, like closing the box.
      yes = std::getline(in_, answer) && IsYesAnswer(answer);
      break;
    }
  }
  if (!yes) declined_ = true;
  return yes;
}

}  // namespace qvr::cli
