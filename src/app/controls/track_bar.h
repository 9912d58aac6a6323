#pragma once

#include <QSlider>

// A horizontal scale 0 to 4 with a tick per value below it, moved one step per page. Its
// valueChanged fires once whenever the position changes: moved by the user, set by code, or
// clamped by a lower maximum.
class TrackBar : public QSlider {
    Q_OBJECT
  public:
    explicit TrackBar(QWidget* parent = nullptr);
};
