#include "app/click_sound.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QSoundEffect>
#include <QUrl>

namespace {

QSoundEffect* ClickEffect() {
    static QSoundEffect* effect = [] {
        // A machine without a sound server is normal; its warnings would only be noise.
        QLoggingCategory::setFilterRules(QStringLiteral("qt.multimedia*=false"));
        auto* sound = new QSoundEffect(QCoreApplication::instance());
        sound->setSource(QUrl(QStringLiteral("qrc:/sounds/click.wav")));
        return sound;
    }();
    return effect;
}

}  // namespace

void PlayClick() {
    ClickEffect()->play();
}
