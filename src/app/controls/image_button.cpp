#include "app/controls/image_button.h"

#include <QMouseEvent>
#include <QPainter>

ImageButton::ImageButton(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::PointingHandCursor);
}

void ImageButton::SetPicture(const QPixmap& newPicture) {
    picture = newPicture;
    update();
}

void ImageButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!isEnabled())
        painter.setOpacity(0.45);
    painter.drawPixmap(0, 0, picture);
}

void ImageButton::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        leftPressed = true;
    emit mousePressed(event->button(), p.x(), p.y());
}

void ImageButton::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit mouseMoved(p.x(), p.y());
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    const bool click = event->button() == Qt::LeftButton && leftPressed && rect().contains(p);
    if (event->button() == Qt::LeftButton)
        leftPressed = false;
    emit mouseReleased(event->button(), p.x(), p.y());
    if (click)
        emit clicked();
}
