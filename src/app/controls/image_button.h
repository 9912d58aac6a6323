#pragma once

#include <QPixmap>
#include <QWidget>

// A picture that acts as a button: hand cursor, its hint as tooltip, and the raw mouse events in
// its own coordinates for controls such as the title bar that give parts of the picture a meaning.
class ImageButton : public QWidget {
    Q_OBJECT
  public:
    explicit ImageButton(QWidget* parent = nullptr);

    void SetPicture(const QPixmap& picture);
    const QPixmap& Picture() const { return picture; }

  signals:
    void mousePressed(Qt::MouseButton button, int x, int y);
    void mouseMoved(int x, int y);
    void mouseReleased(Qt::MouseButton button, int x, int y);
    // A left press and release both inside the picture.
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QPixmap picture;
    bool leftPressed = false;
};
