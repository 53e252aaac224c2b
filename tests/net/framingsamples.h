#pragma once

#include <QString>
#include <QStringList>

// Messages as the programs build them, for the framing tests.
namespace net::test {

// A shogi move: the whole board, both hands and the move number.
inline QString shogiMove(int moveNo) {
    QStringList items;
    for (int i = 0; i < 81; ++i)
        items << (i % 9 == 4 ? QStringLiteral("05") : QStringLiteral("0F"));
    QString hands;
    for (int side = 0; side < 2; ++side)
        for (const char* kind : {"Fu", "Ky", "Ke", "Gi", "Ki", "Hi", "Ka"})
            hands += QString::fromLatin1(kind) + QStringLiteral(", 0,");
    const QString number = u' ' + QString::number(moveNo);
    return QStringLiteral("SYOUGI_MSG2:") + items.join(u',') + u':' + hands + number + u':' +
           number + QStringLiteral(":END");
}

// A go move: 361 points from the sender's last point down, the move number and
// the capture count.
inline QString goMove(int moveNo, int captured) {
    QString points;
    for (int i = 0; i < 361; ++i)
        points += QChar(u'0' + (i % 3));
    points[180] = u'9';
    return QStringLiteral("SYOUGI_MSG2:") + points + QStringLiteral(": ") +
           QString::number(moveNo) + u':' + QString::number(captured);
}

inline const QString kAck = QStringLiteral("SYOUGI_MSG3:SEND_OK");

}  // namespace net::test
