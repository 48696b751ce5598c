#pragma once
// --controller all: the command on every adapter at once, every line of each prefixed with its
// adapter, and one exit status for all.
#include <ostream>
#include <string>
#include <vector>

#include "cli/adapters.h"
#include "cli/run_options.h"

namespace qvr::cli {

// `file` with {serial} replaced by the adapter's serial number and {adapter} by its name as a
// file name allows ("sim-2", "hidraw3").
std::string FileForAdapter(const std::string& file, const Adapter& adapter, uint32_t serial);

// Why the command cannot run on `count` adapters at once ("" when it can): one output file
// without a placeholder, or standard input for several.
std::string BatchRefusal(const RunOptions& options, const Catalogue& catalogue, size_t count);

// Runs the command on each adapter in a thread of its own (questions: --yes, or declined), then
// prints, adapter by adapter, every line it printed prefixed with "<path>: " (its error stream
// likewise on ours) and a last line with its result word. Exit status as one run's: diff 2
// when any had trouble, else 1 when any differs; the others 1 when any failed, else 3 when one
// declined, else 0.
int RunBatch(const RunOptions& options, const Catalogue& catalogue,
             const std::vector<Adapter>& adapters, std::ostream& out, std::ostream& err,
             TransferSignals& signals);

}  // namespace qvr::cli
