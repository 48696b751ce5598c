#pragma once
// Answers the questions a device operation asks: --yes answers Yes, a terminal asks the user,
// and without a terminal the question is declined. Questions and notes go to the error stream
// so that standard output keeps only the operation's own lines.
#include <istream>
#include <ostream>
#include <string>

namespace qvr {
class Catalogue;
}

namespace qvr::cli {

class Prompter {
 public:
  enum class Mode { kAssumeYes, kAsk, kDecline };

  Prompter(Mode mode, std::istream& in, std::ostream& err, const Catalogue& catalogue)
      : mode_(mode), in_(in), err_(err), catalogue_(catalogue) {}

  // Shows the question and returns the answer.
  bool Ask(const std::string& question);
  // True once any question of this run was answered No.
  bool declined() const { return declined_; }

 private:
  Mode mode_;
  std::istream& in_;
  std::ostream& err_;
  const Catalogue& catalogue_;
  bool declined_ = false;
};

}  // namespace qvr::cli
