// The shogi position readers: a position string as a record line or a move
// carries it, and the whole move message. The input is the text, UTF-8.
//
// What must hold: a string read is written back in two-digit items that read
// to the same board; a refused string leaves the board exactly as it was;
// turning a board twice gives it back; a move read is rebuilt by the sender's
// own builder into a message that reads as the same move seen from the other
// side; and a watcher's turn of a read move is a readable position.

#include "fuzzsupport.h"
#include "shogirules/movemessage.h"
#include "shogirules/position.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    quorfuzz::quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    shogi::Board board = shogi::Board::initial();
    const shogi::Board before = board;
    if (board.load(text)) {
        QUORFUZZ_CHECK(board == before, "a refused position changed the board");
    } else {
        shogi::Board again;
        QUORFUZZ_CHECK(!again.load(board.positionString()) && again == board,
                       "the written position reads otherwise");
        QUORFUZZ_CHECK(board.rotated().rotated() == board, "turned twice is another board");
    }

    const auto move = shogi::parseMoveMsg(text);
    if (!move) return 0;
    shogi::ShogiPosition sender;
    QUORFUZZ_CHECK(!sender.Ban.load(move->positionString), "a move with an unreadable board");
    // The sender's board is the received one turned back; its hands are the
    // receiver's exchanged.
    sender.Ban = sender.Ban.rotated();
    sender.MyHand = move->oppHand;
    sender.OppHand = move->myHand;
    const auto rebuilt = shogi::parseMoveMsg(shogi::BuildMoveMsg(sender, move->moveNo));
    QUORFUZZ_CHECK(rebuilt, "the rebuilt move does not read");
    shogi::Board received;
    (void)received.load(move->positionString);
    shogi::Board rebuiltBoard;
    (void)rebuiltBoard.load(rebuilt->positionString);
    QUORFUZZ_CHECK(rebuiltBoard == received && rebuilt->myHand == move->myHand &&
                       rebuilt->oppHand == move->oppHand && rebuilt->moveNo == move->moveNo,
                   "the rebuilt move is another move");

    QString watched = move->positionString;
    shogi::Hand mine = move->myHand;
    shogi::Hand theirs = move->oppHand;
    QUORFUZZ_CHECK(!shogi::RotatePosition(move->moveNo, watched, mine, theirs),
                   "a read move that a watcher cannot turn");
    shogi::Board turned;
    QUORFUZZ_CHECK(!turned.load(watched), "a watcher's turn that does not read");
    return 0;
}
