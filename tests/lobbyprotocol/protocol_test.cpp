#include <gtest/gtest.h>

#include <climits>

#include "lobbyclassify.h"
#include "lobbymessages.h"
#include "lobbynumbers.h"
#include "userlist.h"

namespace lobby {
namespace {

TEST(LobbyNumbers, TwoFormsOut) {
    EXPECT_EQ(plainNumber(3), u"3");
    EXPECT_EQ(plainNumber(-1), u"-1");
    EXPECT_EQ(signedNumber(3), u" 3");
    EXPECT_EQ(signedNumber(0), u" 0");
    EXPECT_EQ(signedNumber(50), u" 50");
    EXPECT_EQ(signedNumber(-1), u"-1");
}

TEST(LobbyNumbers, LenientReadSkipsBlanksAndTakesTheNumericPrefix) {
    EXPECT_EQ(lenientNumber(u" 3"), 3);
    EXPECT_EQ(lenientNumber(u"3"), 3);
    EXPECT_EQ(lenientNumber(u"  \t12abc"), 12);
    EXPECT_EQ(lenientNumber(u"-1"), -1);
    EXPECT_EQ(lenientNumber(u"+7"), 7);
    EXPECT_EQ(lenientNumber(u""), 0);
    EXPECT_EQ(lenientNumber(u"abc"), 0);
    EXPECT_EQ(lenientNumber(u"-"), 0);
    EXPECT_EQ(lenientNumber(u"x3"), 0);
    // Absurd values saturate instead of wrapping round into a valid index.
    EXPECT_EQ(lenientNumber(u"4294967297"), INT_MAX);
    EXPECT_EQ(lenientNumber(u"99999999999999999999999"), INT_MAX);
    EXPECT_EQ(lenientNumber(u"-99999999999999999999999"), INT_MIN);
    EXPECT_EQ(lenientNumber(u"-2147483648"), INT_MIN);
}

TEST(ServerClassification, EachRequestByItsLeadingKeyword) {
    using R = ServerRequest;
    EXPECT_EQ(classifyServerMessage(u"SVMSG_LOGIN|taro,pw,m, 0|END"), R::Login);
    EXPECT_EQ(classifyServerMessage(u"GetGameData|taro|pw|1|END"), R::GetGameData);
    EXPECT_EQ(classifyServerMessage(u"GameEnd|taro|END"), R::GameEnd);
    EXPECT_EQ(classifyServerMessage(u"GameStart|taro|pw|2|END"), R::GameStart);
    EXPECT_EQ(classifyServerMessage(u"WatchMsg|2|END"), R::WatchMsg);
    EXPECT_EQ(classifyServerMessage(u"GameMsg|taro>hi| 0|END"), R::GameMsg);
    EXPECT_EQ(classifyServerMessage(u"LOGOUT|END"), R::Logout);
    EXPECT_EQ(classifyServerMessage(u"LOGOUT"), R::Logout);
    EXPECT_EQ(classifyServerMessage(u"SYOUGI_MSG2:0F:x:1:END"), R::Move);
    EXPECT_EQ(classifyServerMessage(u"SYOUGI_MSG3:SEND_OK"), R::GameAck);
    EXPECT_EQ(classifyServerMessage(u"SYOUGI_MSG4:hello"), R::GameChat);
    EXPECT_EQ(classifyServerMessage(u"SYOUGI_MSG5:あなたの負けです。"), R::GameOver);
    EXPECT_EQ(classifyServerMessage(u"SYOUGI_MSG6:よろしく"), R::GameTalk);
    EXPECT_EQ(classifyServerMessage(u"GameLogin|taro|pw|m|END"), R::GameLogin);
    EXPECT_EQ(classifyServerMessage(u"GMOK|受信しました。| 0|END"), R::Gmok);
}

TEST(ServerClassification, KeywordsInsideTypedTextDoNothing) {
    using R = ServerRequest;
    // A chat line mentioning requests stays a chat line.
    EXPECT_EQ(classifyServerMessage(u"GameMsg|taro>GameStart|1|2|3| 0|END"), R::GameMsg);
    EXPECT_EQ(classifyServerMessage(u"GameMsg|taro>GetGameData GameEnd LOGOUT| 0|END"), R::GameMsg);
    EXPECT_EQ(classifyServerMessage(u"SYOUGI_MSG4:GameEnd|taro|END"), R::GameChat);
    // Text that merely contains a keyword, or a longer word, is nothing.
    EXPECT_EQ(classifyServerMessage(u"xGameEnd|taro|END"), R::Unknown);
    EXPECT_EQ(classifyServerMessage(u" GameEnd|taro|END"), R::Unknown);
    EXPECT_EQ(classifyServerMessage(u"GameEndless|taro|END"), R::Unknown);
    EXPECT_EQ(classifyServerMessage(u"SYOUGI_MSG1:x"), R::Unknown);
    EXPECT_EQ(classifyServerMessage(u"SYOUGI_MSG7:x"), R::Unknown);
    EXPECT_EQ(classifyServerMessage(u"SYOUGI_MSG"), R::Unknown);
    EXPECT_EQ(classifyServerMessage(u"gameend|taro|END"), R::Unknown);
    EXPECT_EQ(classifyServerMessage(u""), R::Unknown);
}

TEST(ClientClassification, EachReplyByItsLeadingKeyword) {
    using R = ClientReply;
    EXPECT_EQ(classifyClientMessage(u"LOGIN|OK| 3|END"), R::Login);
    EXPECT_EQ(classifyClientMessage(u"LOGIN|No|END"), R::Login);
    EXPECT_EQ(classifyClientMessage(u"AddFriends|END"), R::AddFriends);
    EXPECT_EQ(classifyClientMessage(u"GameMsg|Battle|hana| 2|END"), R::GameMsg);
    EXPECT_EQ(classifyClientMessage(u"HisNone|END"), R::HisNone);
    EXPECT_EQ(classifyClientMessage(u"LogOut|END"), R::LogOut);
    EXPECT_EQ(classifyClientMessage(u"Dead|END"), R::Dead);
    EXPECT_EQ(classifyClientMessage(u"NoLogin|END"), R::NoLogin);
    EXPECT_EQ(classifyClientMessage(u"GameEnd|hana|END"), R::GameEnd);
    EXPECT_EQ(classifyClientMessage(u"GAMESETOK|hana|END"), R::GameSetOk);
    EXPECT_EQ(classifyClientMessage(u"GMOK|受信しました。|END"), R::Gmok);
    // A chat line naming other replies is still a chat line.
    EXPECT_EQ(classifyClientMessage(u"GameMsg|hana>LOGIN Dead NoLogin| 0|END"), R::GameMsg);
    EXPECT_EQ(classifyClientMessage(u"Deadline|END"), R::Unknown);
    EXPECT_EQ(classifyClientMessage(u"SYOUGI_MSG3:SEND_OK"), R::Unknown);
}

TEST(LobbyMessages, BuiltExactlyAsOnTheWire) {
    EXPECT_EQ(loginRequest("taro", "pw", "t@x.jp", 0), u"SVMSG_LOGIN|taro,pw,t@x.jp, 0|END");
    EXPECT_EQ(loginRequest("taro", "pw", "t@x.jp", 1), u"SVMSG_LOGIN|taro,pw,t@x.jp, 1|END");
    EXPECT_EQ(userListRequest("taro", "pw", 3), u"GetGameData|taro|pw|3|END");
    EXPECT_EQ(challengeRequest("taro", "pw", 12), u"GameStart|taro|pw|12|END");
    EXPECT_EQ(watchRequest(5), u"WatchMsg|5|END");
    EXPECT_EQ(chatMessage("taro", "こんにちは"), u"GameMsg|taro>こんにちは| 0|END");
    EXPECT_EQ(chatAck(), u"GMOK|受信しました。| 0|END");
    EXPECT_EQ(logoutRequest("taro"), u"GameEnd|taro|END");
    EXPECT_EQ(gameLoginRequest("taro", "pw", "t@x.jp"), u"GameLogin|taro|pw|t@x.jp|END");
    EXPECT_EQ(serverFullReply(), u"LOGIN|No|END");
    EXPECT_EQ(loginOkReply(3), u"LOGIN|OK| 3|END");
    EXPECT_EQ(duplicateLoginReply(), u"NoLogin|END");
    EXPECT_EQ(battleNotice("hana", 2), u"GameMsg|Battle|hana| 2|END");
    EXPECT_EQ(shutDownNotice(), u"GameMsg|ShutDown|END");
    EXPECT_EQ(notStartNotice(), u"GameMsg|NotStart|END");
    EXPECT_EQ(gmokRelay("受信しました。"), u"GMOK|受信しました。|END");
    EXPECT_EQ(opponentGoneNotice(), u"HisNone|END");
    EXPECT_EQ(gameSetOkNotice("hana"), u"GAMESETOK|hana|END");
    EXPECT_EQ(challengeRefusal(kAlreadyPlayingText), u"GameMsg|あなたは既に対戦中です。|END");
    EXPECT_EQ(challengeRefusal(kOpponentLoggedOutText),
              u"GameMsg|相手はログアウトしてしまいました。対戦できません。|END");
    EXPECT_EQ(challengeRefusal(kOpponentPlayingText), u"GameMsg|相手は既に対戦中です。|END");
    EXPECT_EQ(watchDataMessage("taro", "hana"), u"WatchData|taro|hana|END");
    EXPECT_EQ(watchMoveMessage("SYOUGI_MSG2:a:b:1:END"), u"WatchMsg|SYOUGI_MSG2:a:b:1:END");
}

TEST(LobbyMessages, RequestsReadBack) {
    const auto login = parseLoginRequest(loginRequest("taro", "pw", "t@x.jp", 1));
    ASSERT_TRUE(login);
    EXPECT_EQ(login->id, u"taro");
    EXPECT_EQ(login->pass, u"pw");
    EXPECT_EQ(login->mail, u"t@x.jp");
    EXPECT_EQ(login->kind, 1);
    EXPECT_FALSE(parseLoginRequest(u"SVMSG_LOGIN"));
    EXPECT_FALSE(parseLoginRequest(u"SVMSG_LOGIN|taro,pw,mail|END"));
    // A kind that is no number reads as 0, as every reader always did.
    EXPECT_EQ(parseLoginRequest(u"SVMSG_LOGIN|a,b,c,x|END")->kind, 0);

    const auto game = parseGameLoginRequest(gameLoginRequest("taro", "pw", "m"));
    ASSERT_TRUE(game);
    EXPECT_EQ(game->id, u"taro");
    EXPECT_EQ(game->pass, u"pw");
    EXPECT_FALSE(parseGameLoginRequest(u"GameLogin|taro"));

    EXPECT_EQ(lobbyField(u"GameStart|taro|pw|7|END", 3), u"7");
    EXPECT_FALSE(lobbyField(u"GameStart|taro|pw", 3));
    EXPECT_FALSE(lobbyField(u"GameStart", -1));
}

TEST(LobbyMessages, LoginRepliesReadBack) {
    const auto ok = parseLoginReply(loginOkReply(7));
    ASSERT_TRUE(ok);
    EXPECT_TRUE(ok->accepted);
    EXPECT_EQ(ok->index, 7);
    const auto full = parseLoginReply(serverFullReply());
    ASSERT_TRUE(full);
    EXPECT_FALSE(full->accepted);
    EXPECT_FALSE(parseLoginReply(u"NoLogin|END"));
    EXPECT_FALSE(parseLoginReply(u"LOGIN"));
}

// A program back in a waiting game is given its own last move without the
// move's keyword; it reads the move back from it, and nothing from a text
// that only looks like one.
TEST(LobbyMessages, AnOwnMoveCarriesTheMoveWithoutItsKeyword) {
    const QString move = QStringLiteral("SYOUGI_MSG2:0F,00: 1: 1:END");
    EXPECT_EQ(lobby::ownMoveMessage(move), u"OwnMove|0F,00: 1: 1:END|END");
    EXPECT_EQ(lobby::moveOfOwnMoveMessage(lobby::ownMoveMessage(move)), move);
    for (const char* notOne :
         {"OwnMove|END", "OwnMove|", "OwnMove", "OwnMov|x|END", "OwnMove|x|EN", ""})
        EXPECT_FALSE(lobby::moveOfOwnMoveMessage(QString::fromLatin1(notOne))) << notOne;
    EXPECT_EQ(lobby::moveOfOwnMoveMessage(u"OwnMove||END"), u"SYOUGI_MSG2:");
}

TEST(UserList, TheTwoUserExampleAndTheEmptyList) {
    const std::vector<UserListEntry> users = {{"taro", 0, 1, false, false},
                                              {"hana", 0, 2, false, false}};
    EXPECT_EQ(userListReply(users), u"AddFriends|taro,0, 1,False,False,hana,0, 2,False,False|END");
    EXPECT_EQ(userListReply({}), u"AddFriends|END");
    EXPECT_EQ(userListReply({{"ken", 1, 12, true, false}, {"saki", 0, 50, false, true}}),
              u"AddFriends|ken,1, 12,True,False,saki,0, 50,False,True|END");
}

TEST(UserList, ReadsBackWhatWasBuilt) {
    const std::vector<UserListEntry> users = {
        {"taro", 0, 1, true, false}, {"花子", 1, 2, false, true}, {"ken", 0, 50, false, false}};
    EXPECT_EQ(parseUserList(userListReply(users)), users);
    EXPECT_EQ(parseUserList(u"AddFriends|END"), std::vector<UserListEntry>{});
    // An ID holding a comma shifts the fields; whole fives are still read and
    // the cut-off rest is dropped, so the list keeps being refreshed.
    const auto shifted = parseUserList(userListReply({{"ta,ro", 0, 1, false, false}}));
    ASSERT_TRUE(shifted);
    ASSERT_EQ(shifted->size(), 1u);
    EXPECT_EQ(shifted->front().id, u"ta");
    EXPECT_FALSE(parseUserList(u"AddFriends"));
    EXPECT_FALSE(parseUserList(u"GameMsg|taro,0, 1,False,False|END"));
}

TEST(UserList, FiftyLongIdsAreNeverCut) {
    std::vector<UserListEntry> users;
    for (int i = 1; i <= 50; ++i)
        users.push_back({QString(40, QChar(u'a' + i % 26)), 0, i, false, false});
    const QString list = userListReply(users);
    EXPECT_GT(list.size(), 2500);
    EXPECT_TRUE(list.endsWith(u" 50,False,False|END"));
    EXPECT_EQ(parseUserList(list), users);
}

}  // namespace
}  // namespace lobby
