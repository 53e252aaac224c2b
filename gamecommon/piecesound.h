#pragma once

#include <QObject>
#include <QString>

class QSoundEffect;

namespace gamecommon {

// The click of a piece (or stone) put on the board. Playing it holds the
// program until the click has ended, as players are used to; where there is
// no sound file or no audio device it is silent and returns at once.
class PieceSound : public QObject {
    Q_OBJECT

public:
    PieceSound(const QString& wavPath, QObject* parent = nullptr);
    ~PieceSound() override;

    // Plays the sound and returns when it has finished (at most a couple of
    // seconds, whatever the device does).
    void playAndWait();

    bool isAvailable() const { return effect_ != nullptr; }

private:
    QSoundEffect* effect_ = nullptr;
};

}  // namespace gamecommon
