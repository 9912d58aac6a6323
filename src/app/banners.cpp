#include "app/banners.h"

#include <QDesktopServices>
#include <QUrl>

#include "app/click_sound.h"
#include "app/controls/image_button.h"
#include "app/form1.h"

namespace {

// The result is not looked at: a desktop without a browser simply opens nothing.
void OpenHint(const ImageButton* banner) {
    QDesktopServices::openUrl(QUrl(banner->toolTip()));
}

}  // namespace

void TForm1::Banner1Click() {
    PlayClick();
    OpenHint(Banner1);
}

void TForm1::Banner2Click() {
    PlayClick();
    OpenHint(Banner2);
}
