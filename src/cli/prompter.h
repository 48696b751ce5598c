#pragma once
// Answers the questions a device operation asks: --yes answers the plain confirmations, a
// terminal asks the user, and without a terminal the question is declined. Questions that
// risk more (an older firmware, a file lacking sections) are answered only by their own
// option or by the user. Questions and notes go to the error stream so that standard output
// keeps only the operation's own lines.
#include <istream>
#include <ostream>
#include <string>

namespace qvr {
class Catalogue;
}

namespace qvr::cli {

class Prompter {
 public:
  Prompter(bool assumeYes, bool terminal, std::istream& in, std::ostream& err,
           const Catalogue& catalogue)
      : assumeYes_(assumeYes), terminal_(terminal), in_(in), err_(err), catalogue_(catalogue) {}

  // A plain confirmation: --yes, else the user, else No.
  bool Ask(const std::string& question);
  // A question only `option` answers for a script (`allowed`: it was given), else the user on
  // a terminal; --yes does not answer it.
  bool AskOverride(const std::string& question, bool allowed, const std::string& option);
  // True once any question of this run was answered No.
  bool declined() const { return declined_; }

 private:
  bool AskTerminal(const std::string& question);
  bool Answered(bool yes);

  bool assumeYes_;
  bool terminal_;
  std::istream& in_;
  std::ostream& err_;
  const Catalogue& catalogue_;
  bool declined_ = false;
};

}  // namespace qvr::cli
