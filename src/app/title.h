#pragma once

#include <QString>

// The application title: window caption, tray tip and the title bar's picture.
inline const QString kTitle = QStringLiteral("Pyxidane Version 0.40");
