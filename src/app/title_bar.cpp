#include "app/title_bar.h"

#include <QGuiApplication>
#include <QWindow>

#include "app/click_sound.h"
#include "app/form1.h"
#include "app/stop_and_quit.h"

int titleDragging = 0;
int dragX = 0;
int dragY = 0;

namespace {

// Wayland does not let a program place its own window; the compositor moves it instead.
bool WindowSystemMoves() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace

void TForm1::TitleBarMouseDown(Qt::MouseButton button, int x, int y) {
    if (button == Qt::LeftButton && x < 290) {
        titleDragging = 1;
        if (WindowSystemMoves() && windowHandle() && windowHandle()->startSystemMove())
            titleDragging = 0;  // the compositor owns the drag and reports no moves to us
    }
    dragX = x;
    dragY = y;
}

void TForm1::TitleBarMouseMove(int x, int y) {
    if (titleDragging == 1)
        move(pos().x() + (x - dragX), pos().y() + (y - dragY));
}

void TForm1::TitleBarMouseUp(Qt::MouseButton button, int x, int) {
    titleDragging = 0;
    if (button != Qt::LeftButton)
        return;
    if (x > 288 && x < 310) {
        PlayClick();
        HideToTray();
    }
    if (x > 313 && x < 335) {
        PlayClick();
        StopOrQuit();
    }
}
