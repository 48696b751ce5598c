#pragma once
// --controller all: the command on every adapter at once, a line of result per adapter.
#include <ostream>
#include <vector>

#include "cli/adapters.h"
#include "cli/run_options.h"

namespace qvr::cli {

// Runs the command on each adapter in a thread of its own (questions: --yes, or declined), then
// prints one line per adapter in adapter order: path, result word, and the command's last
// line; each adapter's full output follows on stderr with --log. Exit status 1 when any
// adapter failed, 3 when none failed but one declined, else 0.
int RunBatch(const RunOptions& options, const Catalogue& catalogue,
             const std::vector<Adapter>& adapters, std::ostream& out, std::ostream& err,
             TransferSignals& signals);

}  // namespace qvr::cli
