#pragma once

#include <QString>
#include <QStringList>

namespace lobbytest {

// A shogi move message with move number `n`, its board told apart from the
// other moves' by one piece at cell `n` (for n below 81).
inline QString shogiMove(int n) {
    QStringList board;
    for (int i = 0; i < 81; ++i)
        board << (i == n ? "00" : "0F");
    QString hands;
    for (const char* k : {"Fu", "Ky", "Ke", "Gi", "Ki", "Hi", "Ka"})
        hands += QString(k) + ", 0,";
    hands += hands;
    const QString no = " " + QString::number(n);
    return "SYOUGI_MSG2:" + board.join(',') + ":" + hands + no + ":" + no + ":END";
}

}  // namespace lobbytest
