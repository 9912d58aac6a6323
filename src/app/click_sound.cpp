#include "app/click_sound.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QSoundEffect>
#include <QUrl>

namespace {

QtMessageHandler previousHandler = nullptr;

// The audio back end reports a missing sound server in the default category; those reports
// are dropped, every other message goes on.
void DropNoAudioWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg && (text.startsWith(QLatin1String("PulseAudioService:")) ||
                                 text == QLatin1String("No audio device detected")))
        return;
    previousHandler(type, context, text);
}

QSoundEffect* ClickEffect() {
    static QSoundEffect* effect = [] {
        // A machine without a sound server is normal; its warnings would only be noise.
        QLoggingCategory::setFilterRules(QStringLiteral("qt.multimedia*=false"));
        previousHandler = qInstallMessageHandler(DropNoAudioWarnings);
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
