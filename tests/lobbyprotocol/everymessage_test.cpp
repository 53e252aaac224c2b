#include <gtest/gtest.h>

#include <vector>

#include "gameframing.h"
#include "gamemessage.h"
#include "gorules/movemessage.h"
#include "lobbyclassify.h"
#include "lobbyframing.h"
#include "lobbymessages.h"
#include "messageframer.h"
#include "shogirules/moveattempt.h"
#include "shogirules/movemessage.h"
#include "userlist.h"
#include "wirecodec.h"

// Every message the programs send, made by its builder, reaches each program
// that reads it as exactly one message of its own kind: alone, and with
// another message right behind it in the same read.

namespace lobby {
namespace {

using gamecommon::GameMsgType;
using namespace Qt::StringLiterals;

enum class Reader { Server, Client, GameProgram };

struct Reading {
    Reader reader;
    int kind;  // what the reader's classification must say
};

Reading server(ServerRequest kind) {
    return {Reader::Server, static_cast<int>(kind)};
}
Reading client(ClientReply kind) {
    return {Reader::Client, static_cast<int>(kind)};
}
Reading gameProgram(GameMsgType kind) {
    return {Reader::GameProgram, static_cast<int>(kind)};
}

net::FramingRules rulesOf(Reader reader) {
    switch (reader) {
        case Reader::Server:
            return lobbyServerFraming();
        case Reader::Client:
            return lobbyClientFraming();
        case Reader::GameProgram:
            break;
    }
    return gamecommon::gameProgramFraming();
}

int kindOf(Reader reader, QStringView text) {
    switch (reader) {
        case Reader::Server:
            return static_cast<int>(classifyServerMessage(text));
        case Reader::Client:
            return static_cast<int>(classifyClientMessage(text));
        case Reader::GameProgram:
            break;
    }
    return static_cast<int>(gamecommon::classifyGameMsg(text));
}

// A message that often comes next on the same connection: a game message
// after a game message, a lobby message after a lobby message.
QString follower(Reader reader, const QString& text) {
    const bool gameMessage = gamecommon::classifyGameMsg(text) != GameMsgType::Unknown;
    if (reader == Reader::GameProgram || gameMessage) return gamecommon::kAckMsg.toString();
    if (reader == Reader::Server) return userListRequest(u"taro"_s, u"pw"_s, 1);
    return userListReply({});
}

QStringList framed(Reader reader, const QString& text) {
    net::MessageFramer framer(rulesOf(reader));
    QStringList messages = framer.feed(net::encodeMessage(text)).messages;
    messages += framer.flush().messages;
    EXPECT_EQ(framer.pendingBytes(), 0);
    return messages;
}

struct Sent {
    const char* name;
    QString text;
    std::vector<Reading> readers;
};

TEST(EveryMessage, FramesAsOneMessageOfItsKindForEachReader) {
    using R = ServerRequest;
    using C = ClientReply;
    shogi::ShogiPosition shogiPosition;
    shogiPosition.MyHand.find(shogi::Kind::Fu)->count = 2;
    const QString shogiMove = shogi::BuildMoveMsg(shogiPosition, 7);
    go::Ban ban;
    ban.set({3, 3}, go::Stone::Black);
    const QString goMove = go::BuildMoveMsg(ban, {3, 3}, 11, 4);
    const std::vector<UserListEntry> users = {{QStringLiteral("taro"), 0, 1, false, false},
                                              {QStringLiteral("ENDO"), 1, 2, true, false}};

    const Sent sent[] = {
        // A lobby client to the server.
        {"login", loginRequest(u"taro"_s, u"pw"_s, u"t@example.jp"_s, 1), {server(R::Login)}},
        {"poll", userListRequest(u"taro"_s, u"pw"_s, 3), {server(R::GetGameData)}},
        {"challenge", challengeRequest(u"taro"_s, u"pw"_s, 2), {server(R::GameStart)}},
        {"watch", watchRequest(2), {server(R::WatchMsg)}},
        {"lobby chat",
         chatMessage(u"taro"_s, u"よろしく"_s),
         {server(R::GameMsg), client(C::GameMsg)}},
        {"chat acknowledgement", chatAck(), {server(R::Gmok), client(C::Gmok)}},
        {"logout", logoutRequest(u"taro"_s), {server(R::GameEnd)}},
        // A game program to the server, and to its peer through it.
        {"game login", gameLoginRequest(u"taro"_s, u"pw"_s, u"m"_s), {server(R::GameLogin)}},
        {"shogi move", shogiMove, {server(R::Move), gameProgram(GameMsgType::Move)}},
        {"go move", goMove, {server(R::Move), gameProgram(GameMsgType::Move)}},
        {"acknowledgement",
         gamecommon::kAckMsg.toString(),
         {server(R::GameAck), gameProgram(GameMsgType::Ack)}},
        {"game chat",
         gamecommon::chatMsg(u"SYOUGI_MSG2 と打った"_s),
         {server(R::GameChat), gameProgram(GameMsgType::Chat)}},
        {"canned line",
         gamecommon::conversationMsg(u"参りました"_s),
         {server(R::GameTalk), gameProgram(GameMsgType::Conversation)}},
        {"end of game",
         gamecommon::endOfGameMsg(u"あなたの負けです。"_s),
         {server(R::GameOver), gameProgram(GameMsgType::EndOfGame)}},
        // The server to a lobby client.
        {"lobby full", serverFullReply(), {client(C::Login)}},
        {"login accepted", loginOkReply(4), {client(C::Login)}},
        {"logged in already", duplicateLoginReply(), {client(C::NoLogin)}},
        {"empty user list", userListReply({}), {client(C::AddFriends)}},
        {"user list", userListReply(users), {client(C::AddFriends)}},
        {"paired", battleNotice(u"hana"_s, 2), {client(C::GameMsg)}},
        {"shut down", shutDownNotice(), {client(C::GameMsg)}},
        {"not started", notStartNotice(), {client(C::GameMsg)}},
        {"acknowledgement relayed", gmokRelay(u"受信しました。"_s), {client(C::Gmok)}},
        {"opponent gone", opponentGoneNotice(), {client(C::HisNone)}},
        {"opponent's program linked", gameSetOkNotice(u"hana"_s), {client(C::GameSetOk)}},
        {"refused challenge", challengeRefusal(kOpponentPlayingText), {client(C::GameMsg)}},
        // The server to a watcher's game program.
        {"players",
         watchDataMessage(u"taro"_s, u"hana"_s),
         {gameProgram(GameMsgType::WatchPlayers)}},
        {"watched shogi move", watchMoveMessage(shogiMove), {gameProgram(GameMsgType::WatchMove)}},
        {"watched go move", watchMoveMessage(goMove), {gameProgram(GameMsgType::WatchMove)}},
    };
    for (const Sent& s : sent) {
        for (const Reading& r : s.readers) {
            SCOPED_TRACE(testing::Message() << s.name << " read by " << static_cast<int>(r.reader));
            EXPECT_EQ(framed(r.reader, s.text), QStringList{s.text});
            EXPECT_EQ(kindOf(r.reader, s.text), r.kind);
            const QString next = follower(r.reader, s.text);
            EXPECT_EQ(framed(r.reader, s.text + next), (QStringList{s.text, next}));
        }
    }
}

}  // namespace
}  // namespace lobby
