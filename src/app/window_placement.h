#pragma once

#include <QPoint>

// Where the window goes at its first showing, in screen pixels.
extern int windowX;
extern int windowY;
// 1 until the window has been shown once.
extern int positionPending;

// The top-left corner that centres a 344 × 247 window on the primary screen's free area.
QPoint CentredWindowPosition();
