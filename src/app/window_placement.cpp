#include "app/window_placement.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/form1.h"

int windowX = 0;
int windowY = 0;
int positionPending = 1;

QPoint CentredWindowPosition() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {0, 0};
    const QRect area = screen->availableGeometry();
    return {area.x() + (area.width() - 344) / 2, area.y() + (area.height() - 247) / 2};
}

// Placed once; later showings, such as the restore from the tray, leave the window where it is.
// The position is not clamped to the screen.
void TForm1::FormShow() {
    if (positionPending == 1)
        move(windowX, windowY);
    positionPending = 0;
}
