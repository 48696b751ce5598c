// On Windows nothing is watched beyond the window itself: what ends a program there (closing
// the window, logging off, shutting down) reaches the window as Qt's own close and session-end
// events, which already save the settings and close the controller. Console control events
// never reach a program without a console.
#include "app/termination_signals.h"

namespace qvr {

TerminationSignals::TerminationSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {}

TerminationSignals::~TerminationSignals() = default;

void TerminationSignals::Drain() {}

}  // namespace qvr
