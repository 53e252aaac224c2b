#include "enginestrength.h"

namespace bot {

QStringList gnushogiSettings(int seconds) {
    if (seconds <= 1) return {QStringLiteral("depth"), QStringLiteral("2")};
    const int budget = seconds / 2;
    // One move per period of `budget`, so each move gets the same time anew.
    return {
        QStringLiteral("level 1 %1:%2").arg(budget / 60).arg(budget % 60, 2, 10, QLatin1Char('0'))};
}

int gnugoLevel(int seconds) {
    if (seconds <= 1) return 0;
    if (seconds == 2) return 3;
    if (seconds == 3) return 5;
    if (seconds < 20) return 8;
    return 10;
}

std::chrono::milliseconds engineDeadline(int seconds) {
    return std::chrono::seconds(2 * seconds + 5);
}

}  // namespace bot
