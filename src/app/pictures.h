#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

// The program's pictures, painted at run time so that their source is this code.

// 340 × 22: check mark, title, and the minimise and close buttons inside x 289–309 and 314–334.
QPixmap TitleBarPicture(const QString& title);

// A button face with its caption painted on it, in the colour of its role.
QPixmap ButtonPicture(const QString& caption, QColor tint, int width = 62, int height = 24);

// 88 × 31 link banners: two lines of text beside the program's mark.
QPixmap BannerPicture(const QString& line1, const QString& line2, QColor tint);

// 142 × 160 picture of the information page.
QPixmap AboutPicture(const QString& version);

// The application and tray icon.
QIcon AppIcon();
