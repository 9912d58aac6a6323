#pragma once

// 1 while a left-button drag of the title bar moves the window.
extern int titleDragging;
// Title-bar coordinates of the last press on the title bar.
extern int dragX;
extern int dragY;
