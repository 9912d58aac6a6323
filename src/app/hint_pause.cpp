#include "app/hint_pause.h"

#include <QApplication>
#include <QProxyStyle>

namespace {

class NoHintPauseStyle : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == QStyle::SH_ToolTip_WakeUpDelay)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

void SetHintPauseZero() {
    if (dynamic_cast<NoHintPauseStyle*>(QApplication::style()))
        return;
    QApplication::setStyle(new NoHintPauseStyle(QApplication::style()->name()));
}
