#include <gtest/gtest.h>

#include "framingsamples.h"
#include "gameframing.h"
#include "lobbyframing.h"
#include "messageframer.h"
#include "wirecodec.h"

namespace net {
namespace {

using gamecommon::gameProgramFraming;
using lobby::lobbyClientFraming;
using lobby::lobbyServerFraming;

using test::goMove;
using test::kAck;
using test::shogiMove;

QByteArray wire(const QStringList& messages) {
    QByteArray bytes;
    for (const QString& m : messages)
        bytes += encodeMessage(m);
    return bytes;
}

// Feeds the pieces one after another and collects what comes out, then lets
// the data fall quiet, as the socket layer does when nothing more arrives.
QStringList frame(const FramingRules& rules, const QList<QByteArray>& pieces,
                  bool* refused = nullptr) {
    MessageFramer framer(rules);
    QStringList out;
    for (const QByteArray& piece : pieces) {
        const MessageFramer::Result result = framer.feed(piece);
        out += result.messages;
        if (refused) *refused = *refused || result.refused;
    }
    out += framer.flush().messages;
    return out;
}

// Every way of cutting the stream in two, and byte by byte, must give the
// same messages as the stream in one piece.
void expectSameForEveryCut(const FramingRules& rules, const QStringList& messages) {
    const QByteArray bytes = wire(messages);
    ASSERT_EQ(frame(rules, {bytes}), messages);
    for (qsizetype cut = 1; cut < bytes.size(); ++cut) {
        ASSERT_EQ(frame(rules, {bytes.first(cut), bytes.sliced(cut)}), messages)
            << "cut at byte " << cut;
    }
    QList<QByteArray> single;
    for (const char b : bytes)
        single << QByteArray(1, b);
    EXPECT_EQ(frame(rules, single), messages);
}

TEST(GameProgramFraming, MessagesReadAsOneAreHandledOneByOneInOrder) {
    const QString lost = QStringLiteral("SYOUGI_MSG5:あなたの負けです。");
    EXPECT_EQ(frame(gameProgramFraming(), {wire({shogiMove(31), lost})}),
              QStringList({shogiMove(31), lost}));

    const QString watchData = QStringLiteral("WatchData|taro|hana|END");
    const QString watchMove = QStringLiteral("WatchMsg|") + shogiMove(7);
    EXPECT_EQ(frame(gameProgramFraming(), {wire({watchData, watchMove})}),
              QStringList({watchData, watchMove}));

    EXPECT_EQ(frame(gameProgramFraming(), {wire({kAck, QStringLiteral("SYOUGI_MSG4:はい"), kAck})}),
              QStringList({kAck, QStringLiteral("SYOUGI_MSG4:はい"), kAck}));
}

TEST(GameProgramFraming, AMoveCutByTcpWaitsForItsRest) {
    const QByteArray move = encodeMessage(shogiMove(12));
    const qsizetype third = move.size() / 3;
    EXPECT_EQ(frame(gameProgramFraming(),
                    {move.first(third), move.sliced(third, third), move.sliced(2 * third)}),
              QStringList({shogiMove(12)}));
    // Cut inside a character: the odd byte waits for its partner.
    EXPECT_EQ(
        frame(gameProgramFraming(), {move.first(301), move.sliced(301, 200), move.sliced(501)}),
        QStringList({shogiMove(12)}));
}

TEST(GameProgramFraming, SelfEndingMessagesComeOutTheSameWhereverTcpCutsThem) {
    expectSameForEveryCut(gameProgramFraming(),
                          {QStringLiteral("GameLogin|taro|pass|taro@example.jp|END"), shogiMove(1),
                           kAck, QStringLiteral("WatchData|先手の人|後手の人|END"),
                           QStringLiteral("WatchMsg|") + shogiMove(2)});
    expectSameForEveryCut(gameProgramFraming(), {goMove(3, 0), kAck, goMove(4, 7)});
    // A watcher of a go game gets the go move wrapped.
    expectSameForEveryCut(gameProgramFraming(), {QStringLiteral("WatchData|黒の人|白の人|END"),
                                                 QStringLiteral("WatchMsg|") + goMove(1, 0), kAck,
                                                 QStringLiteral("WatchMsg|") + goMove(2, 5)});
}

TEST(GameProgramFraming, AGoMoveEndsAfterItsCaptureCount) {
    const QString chat = QStringLiteral("SYOUGI_MSG4:よろしく");
    EXPECT_EQ(frame(gameProgramFraming(), {wire({goMove(10, 12), chat})}),
              QStringList({goMove(10, 12), chat}));

    // Until the capture count has come, the move waits.
    const QByteArray bytes = encodeMessage(goMove(10, 12));
    MessageFramer framer(gameProgramFraming());
    EXPECT_TRUE(framer.feed(bytes.first(bytes.size() - 4)).messages.isEmpty());
    EXPECT_EQ(framer.feed(bytes.sliced(bytes.size() - 4)).messages, QStringList({goMove(10, 12)}));
}

TEST(GameProgramFraming, MessagesWithoutAnEndRunToTheNextGameMessage) {
    const QString chat = QStringLiteral("SYOUGI_MSG4:a:b");
    const QString talk =
        QStringLiteral("SYOUGI_MSG6:投了です。あなたの勝ちです。有り難うございました。");
    EXPECT_EQ(frame(gameProgramFraming(), {wire({chat, talk, shogiMove(3)})}),
              QStringList({chat, talk, shogiMove(3)}));
    // Alone it is held while more may come, and ends with the data once none
    // does; a piece that follows in time is part of it.
    MessageFramer framer(gameProgramFraming());
    const MessageFramer::Result held = framer.feed(encodeMessage(u"SYOUGI_MSG4:a"));
    EXPECT_TRUE(held.messages.isEmpty());
    EXPECT_TRUE(held.holding);
    EXPECT_TRUE(framer.feed(encodeMessage(u":b")).holding);
    EXPECT_EQ(framer.flush().messages, QStringList({chat}));
    EXPECT_EQ(framer.pendingBytes(), 0);
    expectSameForEveryCut(gameProgramFraming(), {chat, talk});
    // The acknowledgement is complete as it stands, whatever follows it.
    EXPECT_EQ(frame(gameProgramFraming(), {wire({kAck + QStringLiteral("SYOUGI_MSG4:x")})}),
              QStringList({kAck, QStringLiteral("SYOUGI_MSG4:x")}));
}

TEST(GameProgramFraming, WordsTypedIntoAChatLineDoNotBecomeMessages) {
    const QString chat =
        QStringLiteral("SYOUGI_MSG4:WatchMsg|x:END WatchData|a|b|END GameLogin|a|b|c|END");
    EXPECT_EQ(frame(gameProgramFraming(), {wire({chat, kAck})}), QStringList({chat, kAck}));
}

TEST(GameProgramFraming, TextWithoutAKeywordIsOneMessageUpToTheNextKeyword) {
    const QString junk = QStringLiteral("GET / HTTP/1.0\r\n\r\n");
    EXPECT_EQ(frame(gameProgramFraming(), {wire({junk, kAck})}), QStringList({junk, kAck}));
    EXPECT_EQ(frame(gameProgramFraming(), {wire({junk})}), QStringList({junk}));
    // A move that never got its end does not swallow the messages after it.
    const QString broken = QStringLiteral("SYOUGI_MSG2:0F,0F,05");
    EXPECT_EQ(frame(gameProgramFraming(), {wire({broken, kAck})}), QStringList({broken, kAck}));
}

TEST(GameProgramFraming, HalfACharacterOrHalfAKeywordWaitsForTheRest) {
    const QByteArray chat = encodeMessage(u"SYOUGI_MSG4:あ");
    MessageFramer framer(gameProgramFraming());
    EXPECT_TRUE(framer.feed(chat.first(chat.size() - 1)).messages.isEmpty());
    EXPECT_EQ(framer.pendingBytes(), chat.size() - 1);
    EXPECT_TRUE(framer.feed(chat.last(1)).holding);
    EXPECT_EQ(framer.flush().messages, QStringList({QStringLiteral("SYOUGI_MSG4:あ")}));
    EXPECT_EQ(framer.pendingBytes(), 0);

    const QByteArray ack = encodeMessage(kAck);
    EXPECT_EQ(frame(gameProgramFraming(), {ack.first(20), ack.sliced(20)}), QStringList({kAck}));
}

TEST(LobbyServerFraming, RequestsReadAsOneAreHandledOneByOne) {
    expectSameForEveryCut(
        lobbyServerFraming(),
        {QStringLiteral("SVMSG_LOGIN|taro,pass,taro@example.jp, 0|END"),
         QStringLiteral("GetGameData|taro|pass|1|END"), QStringLiteral("GameStart|taro|pass|2|END"),
         QStringLiteral("GameMsg|taro>こんにちは| 0|END"),
         QStringLiteral("GMOK|受信しました。| 0|END"), QStringLiteral("WatchMsg|3|END"),
         QStringLiteral("GameEnd|taro|END")});
}

TEST(LobbyServerFraming, TakesTheGameProgramsTrafficToo) {
    expectSameForEveryCut(lobbyServerFraming(),
                          {QStringLiteral("GameLogin|taro|pass|taro@example.jp|END"), shogiMove(1),
                           kAck, QStringLiteral("GetGameData|x|y|1|END")});
    const QString chat = QStringLiteral("SYOUGI_MSG4:hello");
    EXPECT_EQ(frame(lobbyServerFraming(), {wire({chat, shogiMove(2), chat, kAck})}),
              QStringList({chat, shogiMove(2), chat, kAck}));
}

TEST(LobbyServerFraming, RequestsTypedIntoChatStayInsideIt) {
    // Only the end marker ends a lobby message, so a chat line that contains
    // a request is still one chat line.
    const QString lobbyChat = QStringLiteral("GameMsg|taro>GameStart|a|b|3| 0|END");
    EXPECT_EQ(frame(lobbyServerFraming(), {wire({lobbyChat})}), QStringList({lobbyChat}));
    // Nor does a game program's chat line break at a lobby keyword.
    const QString gameChat = QStringLiteral("SYOUGI_MSG4:GetGameData|a|b|1|END LOGOUT");
    EXPECT_EQ(frame(lobbyServerFraming(), {wire({gameChat, kAck})}), QStringList({gameChat, kAck}));
}

TEST(LobbyClientFraming, RepliesReadAsOneAreHandledOneByOne) {
    expectSameForEveryCut(
        lobbyClientFraming(),
        {QStringLiteral("LOGIN|OK| 3|END"), QStringLiteral("AddFriends|END"),
         QStringLiteral("AddFriends|taro,0, 1,False,False,hana,1, 2,True,False|END"),
         QStringLiteral("GameMsg|Battle|hana| 2|END"), QStringLiteral("GAMESETOK|hana|END"),
         QStringLiteral("HisNone|END"), QStringLiteral("GMOK|受信しました。|END"),
         QStringLiteral("NoLogin|END"), QStringLiteral("LOGIN|No|END")});
}

// IDs, passwords and chat lines may begin with or contain "END", even "END"
// and a keyword; wherever TCP cuts the stream, every message comes out whole.
TEST(LobbyFraming, FieldsThatContainEndDoNotCutTheMessage) {
    for (const char* word : {"END", "ENDO", "xEND", "ENDDead", "ENDLogOut", "ENDHisNone",
                             "ENDLOGOUT", "ENDGameLogin"}) {
        SCOPED_TRACE(word);
        const QString w = QString::fromLatin1(word);
        expectSameForEveryCut(lobbyServerFraming(),
                              {QStringLiteral("SVMSG_LOGIN|%1,%1,%1@example.jp, 0|END").arg(w),
                               QStringLiteral("GetGameData|%1|%1|3|END").arg(w),
                               QStringLiteral("GameStart|%1|%1|2|END").arg(w),
                               QStringLiteral("GameLogin|%1|%1|m|END").arg(w),
                               QStringLiteral("GameEnd|%1|END").arg(w)});
        expectSameForEveryCut(
            lobbyClientFraming(),
            {QStringLiteral("AddFriends|%1,0, 1,False,False,hana,0, 2,True,False|END").arg(w),
             QStringLiteral("GameMsg|Battle|%1| 1|END").arg(w),
             QStringLiteral("GAMESETOK|%1|END").arg(w),
             QStringLiteral("GameMsg|%1>hi| 0|END").arg(w)});
        expectSameForEveryCut(gameProgramFraming(),
                              {QStringLiteral("WatchData|%1|%1|END").arg(w), kAck});
    }
    // A chat line as a peer that does not replace "|" may send it.
    const QString chat = QStringLiteral("GameMsg|taro>see |END of it|| 0|END");
    expectSameForEveryCut(lobbyServerFraming(),
                          {chat, QStringLiteral("GetGameData|taro|pw|1|END")});
    expectSameForEveryCut(lobbyClientFraming(), {chat, QStringLiteral("AddFriends|END")});
}

// "LOGOUT", "LogOut" and "Dead" are whole messages with or without "|END",
// and never swallow the message after them.
TEST(LobbyFraming, BareKeywordsAreMessagesOfTheirOwn) {
    const QString poll = QStringLiteral("GetGameData|taro|pw|1|END");
    const QString list = QStringLiteral("AddFriends|END");
    struct Case {
        FramingRules rules;
        QStringList messages;
    };
    for (const Case& c :
         {Case{lobbyServerFraming(), {QStringLiteral("LOGOUT"), poll}},
          Case{lobbyServerFraming(), {QStringLiteral("LOGOUT|END"), poll}},
          Case{lobbyServerFraming(), {poll, QStringLiteral("LOGOUT")}},
          Case{lobbyClientFraming(), {QStringLiteral("Dead"), list}},
          Case{lobbyClientFraming(), {QStringLiteral("LogOut"), list, QStringLiteral("Dead")}},
          Case{lobbyClientFraming(), {QStringLiteral("LogOut|END"), QStringLiteral("Dead|END")}}}) {
        SCOPED_TRACE(c.messages.join(u' ').toStdString());
        expectSameForEveryCut(c.rules, c.messages);
    }
    // Text that is no message after a whole one is unknown text of its own.
    expectSameForEveryCut(lobbyServerFraming(),
                          {QStringLiteral("WatchMsg|9|END"), QStringLiteral("GameStart"), poll});
    // A word that only begins like one is unknown text.
    EXPECT_EQ(frame(lobbyClientFraming(), {wire({QStringLiteral("Deadline"), list})}),
              QStringList({QStringLiteral("Deadline"), list}));
}

// Found by fuzzing: a message with all its fields, followed by unknown text
// holding a marker of its own, took that text in as more fields when both
// came in one read, and came out alone when TCP cut between them.
TEST(LobbyFraming, AMessageWithAllItsFieldsEndsAtItsMarkerWhateverFollows) {
    struct Case {
        FramingRules rules;
        QStringList messages;
    };
    for (const Case& c :
         {Case{
              lobbyClientFraming(),
              {QStringLiteral("GameMsg|Battle|hana| 2|END"), QStringLiteral("GAMESETxK|hana|END")}},
          Case{
              lobbyServerFraming(),
              {QStringLiteral("SVMSG_LOGIN|taro,pw,m, 0|END"), QStringLiteral("GetGameDat|x|END")}},
          Case{gameProgramFraming(),
               {QStringLiteral("GameLogin|taro|pw|m|END"), QStringLiteral("SYO|END"), kAck}}}) {
        SCOPED_TRACE(c.messages.join(u' ').toStdString());
        expectSameForEveryCut(c.rules, c.messages);
    }
    // Half a character of what follows does not hold it back either, not
    // even when the peer closes right after.
    const QString battle = QStringLiteral("GameMsg|Battle|hana| 2|END");
    EXPECT_EQ(frame(lobbyClientFraming(), {wire({battle}) + 'G'}), QStringList{battle});
}

// Found by fuzzing: after a marker inside a field ("|ENDO"), a message whose
// keyword reaches over the next marker ("NoLogin|" + "END") ended the text
// before it only when TCP cut the stream there.
TEST(LobbyFraming, AKeywordRunningIntoTheNextMarkerStillStartsAMessage) {
    expectSameForEveryCut(lobbyClientFraming(),
                          {QStringLiteral("AddFriends|END"), QStringLiteral("O,0, 1,True,False,"),
                           QStringLiteral("NoLogin|END")});
}

TEST(MessageFramer, RefusesAMessageThatGrowsPast64KiB) {
    // 70 KiB of a chat line whose end never comes, in pieces as TCP brings them.
    QByteArray endless = encodeMessage(u"GameMsg|taro>");
    endless += encodeMessage(QString(36 * 1024, u'あ'));
    MessageFramer framer(lobbyServerFraming());
    bool refused = false;
    qsizetype fed = 0;
    for (qsizetype at = 0; at < endless.size() && !refused; at += 1000) {
        refused = framer
                      .feed(QByteArrayView(endless).sliced(
                          at, std::min<qsizetype>(1000, endless.size() - at)))
                      .refused;
        fed = at + 1000;
    }
    EXPECT_TRUE(refused);
    EXPECT_GT(fed, MessageFramer::kMaxMessageBytes);
    EXPECT_TRUE(framer.refused());
    EXPECT_EQ(framer.pendingBytes(), 0);
    // Once refused, nothing more is taken.
    EXPECT_TRUE(framer.feed(encodeMessage(u"HisNone|END")).refused);

    // The same for a move without its end, and for a single large read.
    QString move = QStringLiteral("SYOUGI_MSG2:");
    move += QString(36 * 1024, u'F');
    EXPECT_TRUE(MessageFramer(gameProgramFraming()).feed(encodeMessage(move)).refused);
}

TEST(MessageFramer, TakesAMessageOfExactly64KiB) {
    const QString head = QStringLiteral("GameMsg|taro>");
    const QString tail = QStringLiteral("| 0|END");
    const qsizetype fill = MessageFramer::kMaxMessageBytes / 2 - head.size() - tail.size();
    const QString largest = head + QString(fill, u'x') + tail;
    const MessageFramer::Result ok =
        MessageFramer(lobbyServerFraming()).feed(encodeMessage(largest));
    EXPECT_FALSE(ok.refused);
    EXPECT_EQ(ok.messages, QStringList({largest}));

    const QString tooLarge = head + QString(fill + 1, u'x') + tail;
    const MessageFramer::Result no =
        MessageFramer(lobbyServerFraming()).feed(encodeMessage(tooLarge));
    EXPECT_TRUE(no.refused);
    EXPECT_TRUE(no.messages.isEmpty());
}

TEST(MessageFramer, ManySmallMessagesInOneReadAllComeOut) {
    QStringList many;
    for (int i = 0; i < 5000; ++i)
        many << QStringLiteral("GetGameData|u%1|p|%1|END").arg(i);
    EXPECT_EQ(frame(lobbyServerFraming(), {wire(many)}), many);
}

}  // namespace
}  // namespace net
