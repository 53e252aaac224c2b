#pragma once

#include <QString>
#include <QStringView>
#include <optional>

#include "shogirules/position.h"

namespace shogi {

// The move message of shogi: "SYOUGI_MSG2:" board ":" hands moveNo ":" moveNo
// ":END". The board is the position as the receiver will see it (turned
// through 180 degrees with the sides exchanged, two digits per item), so the
// receiver takes it as its own position string unchanged; the hands are the
// receiver's own hand first, then its opponent's, as seven "code, count" pairs
// each; numbers carry one leading blank.
QString BuildMoveMsg(const ShogiPosition& position, qint32 moveNo);

// A received move, checked in full.
struct ReceivedMove {
    QString positionString;  // as received (one- or two-digit items)
    Board board;             // the same, read
    Hand myHand;
    Hand oppHand;
    qint32 moveNo = 0;
};

// Takes a move message apart. Nothing when anything is missing or wrong: too
// few fields or items, a board that is not a position string, a hand entry
// that is not the expected kind with a count from 0 to 40, or a move number
// that is not a number from 0 up.
std::optional<ReceivedMove> parseMoveMsg(QStringView text);

// The move number a move message gives, read without taking the rest apart:
// nothing tells that the message is whole (parseMoveMsg does).
std::optional<qint32> moveNumberOf(QStringView text);

// A number as the messages write it: one leading blank before a value >= 0.
QString numberText(qint32 value);

}  // namespace shogi
