#pragma once

#include <QString>

// The addresses behind the information page's banners, shown as their hints.
inline const QString kArchiversAddress = QStringLiteral("https://pyxidane.example/archivers");
inline const QString kHomeAddress = QStringLiteral("https://pyxidane.example/");
