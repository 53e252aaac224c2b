#pragma once

#include <QObject>
#include <QString>

class QSoundEffect;

namespace gamecommon {

// The click of a piece (or stone) put on the board. Playing it holds the
// program until the click has ended, as players are used to; where there is
// no sound file or no audio device it is silent and returns at once. The
// audio back end (and the sound with it) is loaded at the first click, not
// when the window opens: a program that never plays a move does not carry it.
class PieceSound : public QObject {
    Q_OBJECT

public:
    explicit PieceSound(QString wavPath, QObject* parent = nullptr);
    ~PieceSound() override;

    // Plays the sound and returns when it has finished (at most a couple of
    // seconds, whatever the device does).
    void playAndWait();

private:
    // The effect, made at the first call; null without a file or a device.
    QSoundEffect* effect();

    QString wavPath_;
    bool looked_ = false;  // the file and the devices were looked at
    QSoundEffect* effect_ = nullptr;
};

}  // namespace gamecommon
