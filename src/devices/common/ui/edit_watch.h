#pragma once
// Tells a device page when the user changes one of its controls, so that the page knows it
// holds unsaved changes.
#include <functional>

class QWidget;

namespace qvr {

// Marks a control whose value is a live request to the device, not part of the configuration
// (the current input): its changes are not edits.
void MarkLiveControl(QWidget* control);

// Calls `edited` on every change the user makes to a control below `root` (existing at the
// call): typed text, a chosen list item, a clicked check box or radio button. Check lists and
// multi-line texts report program-made changes too: a page clears its flag after showing an
// image.
void WatchUserEdits(QWidget* root, const std::function<void()>& edited);

}  // namespace qvr
