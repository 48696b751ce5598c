#pragma once
// The window's size on the screen at hand: the fixed design size where it fits, and where a
// large scale factor leaves too little room (1920 x 1080 at 2 is 960 x 540), as much of it as
// fits, with the device pages scrolling, so that no part of the window is off the screen.
#include <QSize>

namespace qvr {

struct WindowFit {
  QSize client;       // the client area
  bool fixed = true;  // the design size, not resizable
};

// `design`: the client size the window is laid out for; `available`: the screen's free area;
// `frame`: what the window system adds around the client area (title bar, borders), all in the
// window's pixels.
WindowFit FitWindow(QSize design, QSize available, QSize frame);

}  // namespace qvr
