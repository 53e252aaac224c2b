#include "piecesound.h"

#include <QAudioDevice>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <utility>

namespace gamecommon {

namespace {

// The longest the program waits for the sound, in case the device never
// says that it has stopped.
constexpr int kMaxWaitMs = 2000;

}  // namespace

PieceSound::PieceSound(QString wavPath, QObject* parent)
    : QObject(parent), wavPath_(std::move(wavPath)) {}

PieceSound::~PieceSound() = default;

QSoundEffect* PieceSound::effect() {
    if (looked_) return effect_;
    looked_ = true;
    if (!QFileInfo::exists(wavPath_) || QMediaDevices::audioOutputs().isEmpty()) return nullptr;
    effect_ = new QSoundEffect(this);
    effect_->setSource(QUrl::fromLocalFile(wavPath_));
    return effect_;
}

void PieceSound::playAndWait() {
    if (!effect() || effect_->status() == QSoundEffect::Error) return;
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
