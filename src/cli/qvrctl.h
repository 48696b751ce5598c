#pragma once
// The qvrctl entry: parses the command line, builds the console, the link (hidapi or the
// simulated controller) and runs one command. Exit status 0 success, 1 failure (the reason on
// the error stream), 2 usage error.
#include <istream>
#include <ostream>

namespace qvr {
class Clock;
}

namespace qvr::cli {

// Where questions are answered and whether the streams are terminals.
struct Terminal {
  std::istream* in = nullptr;    // answers to questions
  bool inputIsTerminal = false;  // without one, questions are declined
  bool errorIsTerminal = false;  // the progress bar is drawn only on a terminal
  // The time the link's time-outs and waits run by (null: the steady clock); a test's own
  // clock makes a silent unit cost no real time. One adapter's run only: a batch keeps its own.
  Clock* clock = nullptr;
};

// The process's own standard input, and whether standard input and error are terminals.
Terminal ProcessTerminal();

int RunQvrctl(int argc, char** argv, std::ostream& out, std::ostream& err,
              const Terminal& terminal);

}  // namespace qvr::cli

namespace qvr {
// As above, with the process's own terminal.
int RunQvrctl(int argc, char** argv, std::ostream& out, std::ostream& err);
}  // namespace qvr
