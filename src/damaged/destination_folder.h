#pragma once

#include <QString>

class QWidget;

// Shows the folder chooser owned by `owner` (folders only, opening at its own default place) and
// returns the chosen folder's path, or "" when nothing was chosen.
QString ChooseFolder(QWidget* owner);
