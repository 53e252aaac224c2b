#include "botplayer.h"

#include <QTimer>

namespace bot {

void BotPlayer::resign(const QString& chatLine, const QString& log) {
    BotAnswer answer;
    if (!chatLine.isEmpty()) answer.messages << chatLine;
    answer.messages << resignation();
    answer.gameOver = true;
    answer.logLine = QStringLiteral("resigns: ") + log;
    finish(answer);
}

void BotPlayer::finish(const BotAnswer& answer) {
    if (answer.gameOver) stopGame();
    // Answers always come from the event loop, never from inside a call.
    QTimer::singleShot(0, this, [this, answer] { emit answered(answer); });
}

}  // namespace bot
