#include "piecesound.h"

#include <QAudioDevice>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

namespace gamecommon {

namespace {

// The longest the program waits for the sound, in case the device never
// says that it has stopped.
constexpr int kMaxWaitMs = 2000;

}  // namespace

PieceSound::PieceSound(const QString& wavPath, QObject* parent) : QObject(parent) {
    if (!QFileInfo::exists(wavPath) || QMediaDevices::audioOutputs().isEmpty()) return;
    effect_ = new QSoundEffect(this);
    effect_->setSource(QUrl::fromLocalFile(wavPath));
}

PieceSound::~PieceSound() = default;

void PieceSound::playAndWait() {
    if (!effect_ || effect_->status() == QSoundEffect::Error) return;
    QEventLoop loop;
    connect(effect_, &QSoundEffect::playingChanged, &loop, [this, &loop] {
        if (!effect_->isPlaying()) loop.quit();
    });
    connect(effect_, &QSoundEffect::statusChanged, &loop, [this, &loop] {
        if (effect_->status() == QSoundEffect::Error) loop.quit();
    });
    QTimer::singleShot(kMaxWaitMs, &loop, &QEventLoop::quit);
    effect_->play();
    if (!effect_->isPlaying() && effect_->status() != QSoundEffect::Loading) return;
    // Input and network events wait until the click has ended; timers go on.
    loop.exec(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
}

}  // namespace gamecommon
