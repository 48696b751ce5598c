#pragma once
// Keyboard order of a window's controls: Tab walks them as their layouts place them (a box
// layout in its order, a grid row by row), group by group, rather than in the order they were
// created.
#include <vector>

class QWidget;

namespace qvr {

// The controls that take focus by Tab under `root`, in the order of its layouts; a tab widget
// and a scroll area are entered page by page.
std::vector<QWidget*> ControlsInLayoutOrder(QWidget* root);

// Makes Tab go from each control of `chain` to the next.
void SetTabChain(const std::vector<QWidget*>& chain);

}  // namespace qvr
