// The shogi program's receiver: a byte stream from its peer (another Varnel,
// or the lobby server with its watch messages) cut by the game program's
// framer, each message handed over as FD_READ on the match flow's connection
// (scripted sockets: no socket is opened).
//
// What must hold: the position kept is always a whole, readable board and
// the board shown is exactly it; hands hold 0 to 40 of each piece; a message
// that is not a readable move leaves the position, hands and move number as
// they were; a readable move is taken as it says (turned for a watcher); a
// program that watched once goes on watching; every message but an
// acknowledgement is acknowledged, once.

#include <QTemporaryDir>

#include "../tests/support/scriptedmatchtransport.h"
#include "fuzzsupport.h"
#include "gameframing.h"
#include "gamekeywords.h"
#include "gamemessage.h"
#include "matchview.h"
#include "messageframer.h"
#include "shogimatch.h"
#include "shogirules/movemessage.h"

namespace {

class View : public gamecommon::MatchView {
public:
    QString title;
    void setStatusText(const QString&) override {}
    void setMessageText(const QString&) override {}
    QString messageText() const override { return {}; }
    void setPlayerBox(std::size_t, const QString&) override {}
    void setTitle(const QString& t) override { title = t; }
    void showMessageBox(const QString&) override {}
    void setSendEnabled(bool) override {}
    void setServerMenuEnabled(bool) override {}
    void setCloseMenuEnabled(bool) override {}
    void setGameMenusEnabled(bool) override {}
    void setStrengthMenuEnabled(bool) override {}
    void showStrengthItems(const std::array<bool, 6>&, const std::array<bool, 6>&) override {}
    void drawClocks(const QString&, const QString&) override {}
    void repaintBoard() override {}
    void alert() override {}
};

struct Snapshot {
    QString positionString;
    shogi::Board board;
    shogi::Hand myHand;
    shogi::Hand oppHand;
    qint32 moveNo = 0;
    bool watching = false;

    explicit Snapshot(shogi::ShogiMatch& match)
        : positionString(match.PositionString()),
          board(match.position().Ban),
          myHand(match.position().MyHand),
          oppHand(match.position().OppHand),
          moveNo(match.state().MoveNo),
          watching(match.state().WatchMode) {}

    bool sameMove(const Snapshot& o) const {
        return positionString == o.positionString && board == o.board && myHand == o.myHand &&
               oppHand == o.oppHand && moveNo == o.moveNo;
    }
};

void checkHand(const shogi::Hand& hand) {
    for (const shogi::HandEntry& e : hand.entries)
        QUORFUZZ_CHECK(e.count >= 0 && e.count <= 40, QStringLiteral("%1 in hand").arg(e.count));
}

// The move a message carries, if it is one.
std::optional<QString> moveText(const QString& message) {
    switch (gamecommon::classifyGameMsg(message)) {
        case gamecommon::GameMsgType::Move:
            return message;
        case gamecommon::GameMsgType::WatchMove:
            return gamecommon::unwrapWatchMove(message);
        default:
            return std::nullopt;
    }
}

void receive(shogi::ShogiMatch& match, View& view, testsupport::ScriptedMatchTransport& sockets,
             const QString& message) {
    const Snapshot before(match);
    sockets.handOver(message);
    const Snapshot after(match);

    const bool isAck = gamecommon::classifyGameMsg(message) == gamecommon::GameMsgType::Ack;
    const QStringList sent = sockets.take();
    QUORFUZZ_CHECK(sent == (isAck ? QStringList{} : QStringList{gamecommon::kAckMsg.toString()}),
                   QStringLiteral("answered with: ") + sent.join(u'/'));

    shogi::Board shown;
    QUORFUZZ_CHECK(!shown.load(after.positionString),
                   QStringLiteral("kept a position that does not read: ") + after.positionString);
    QUORFUZZ_CHECK(shown == after.board, "the board is not the position kept");
    checkHand(after.myHand);
    checkHand(after.oppHand);
    QUORFUZZ_CHECK(after.watching || !before.watching, "stopped watching");

    const auto move = moveText(message);
    const auto read = move ? shogi::parseMoveMsg(*move) : std::nullopt;
    if (!read) {
        QUORFUZZ_CHECK(after.sameMove(before), QStringLiteral("changed by: ") + message);
        return;
    }
    if (after.sameMove(before)) return;  // a watched move of a broken board, refused
    QUORFUZZ_CHECK(after.moveNo == read->moveNo, "took another move number");
    QUORFUZZ_CHECK(view.title.contains(shogi::numberText(read->moveNo)), "a title of another move");
    if (!after.watching) {
        QUORFUZZ_CHECK(after.positionString == read->positionString, "took another position");
        QUORFUZZ_CHECK(after.myHand == read->myHand && after.oppHand == read->oppHand,
                       "took other hands");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    quorfuzz::quietQt();
    quorfuzz::ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quorfuzz::Script script(data, size);
    View view;
    testsupport::ScriptedMatchTransport sockets;
    testsupport::FlowHandClock clock;
    shogi::ShogiMatch match(view, QStringLiteral("/nonexistent/LOGIN.TXT"), sockets, clock);
    match.startUp();
    match.startListening();
    sockets.knock();  // another program connected
    net::MessageFramer framer(gamecommon::gameProgramFraming());
    const auto handle = [&](const net::MessageFramer::Result& result) {
        for (const QString& message : result.messages)
            receive(match, view, sockets, message);
    };
    for (int steps = 0; !script.atEnd() && steps < 100; ++steps) {
        switch (script.choice(6)) {
            case 0:
                handle(framer.flush());
                break;
            case 1:
                match.newGame();
                break;
            default:
                handle(framer.feed(script.run(4000)));
                break;
        }
    }
    handle(framer.flush());
    match.fileExit();
    return 0;
}
