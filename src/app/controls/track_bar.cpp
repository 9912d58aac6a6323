#include "app/controls/track_bar.h"

TrackBar::TrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setRange(0, 4);
    setValue(2);
    setPageStep(1);
    setSingleStep(1);
    setTickInterval(1);
    setTickPosition(QSlider::TicksBelow);
}
