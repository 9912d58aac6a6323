#include <QSystemTrayIcon>

#include "app/click_sound.h"
#include "app/form1.h"
#include "app/pictures.h"
#include "app/title.h"

void TForm1::SetUpTrayIcon() {
    TrayIcon = new QSystemTrayIcon(AppIcon(), this);
    TrayIcon->setToolTip(kTitle);
    // Trigger is Qt's report of a primary-button activation: the nearest there is to the left
    // press. Context-menu, double and middle clicks are ignored.
    connect(TrayIcon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger) {
                    PlayClick();
                    RestoreFromTray();
                }
            });
}

void TForm1::HideToTray() {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        showMinimized();
        return;
    }
    TrayIcon->show();
    hide();
}

void TForm1::RestoreFromTray() {
    TrayIcon->hide();
    showNormal();
    raise();
    activateWindow();
}
