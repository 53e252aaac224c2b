#include <gtest/gtest.h>

#include "clocktext.h"
#include "gamemessage.h"

namespace gamecommon {
namespace {

TEST(GameMessage, ClassifiedByTheKeywordItStartsWith) {
    EXPECT_EQ(classifyGameMsg(u"SYOUGI_MSG2:0F,..."), GameMsgType::Move);
    EXPECT_EQ(classifyGameMsg(u"SYOUGI_MSG3:SEND_OK"), GameMsgType::Ack);
    EXPECT_EQ(classifyGameMsg(u"SYOUGI_MSG4:hello"), GameMsgType::Chat);
    EXPECT_EQ(classifyGameMsg(u"SYOUGI_MSG5:あなたの負けです。"), GameMsgType::EndOfGame);
    EXPECT_EQ(classifyGameMsg(u"SYOUGI_MSG6:宜しくお願いします。"), GameMsgType::Conversation);
    EXPECT_EQ(classifyGameMsg(u"SYOUGI_MSG1,x"), GameMsgType::Type1);
    EXPECT_EQ(classifyGameMsg(u"SYOUGI_MSG7:x"), GameMsgType::Notice);
    EXPECT_EQ(classifyGameMsg(u"WatchMsg|SYOUGI_MSG2:..."), GameMsgType::WatchMove);
    EXPECT_EQ(classifyGameMsg(u"WatchData|a|b|END"), GameMsgType::WatchPlayers);
    // A keyword further in never decides: a chat about moves stays a chat.
    EXPECT_EQ(classifyGameMsg(u"SYOUGI_MSG4:see SYOUGI_MSG2 and SEND_OK"), GameMsgType::Chat);
    EXPECT_EQ(classifyGameMsg(u"GameLogin|id|pw|mail|END"), GameMsgType::Unknown);
    EXPECT_EQ(classifyGameMsg(u"SYOUGI_MSG"), GameMsgType::Unknown);
    EXPECT_EQ(classifyGameMsg(u"SYOUGI_MSG9:x"), GameMsgType::Unknown);
    EXPECT_EQ(classifyGameMsg(u""), GameMsgType::Unknown);
}

TEST(GameMessage, TextsKeepTheirColonsAndChatIsCut) {
    EXPECT_EQ(gameMsgText(u"SYOUGI_MSG4:a:b"), u"a:b");
    EXPECT_EQ(gameMsgText(u"SYOUGI_MSG6:"), u"");
    EXPECT_EQ(chatMsg(QString(600, u'x')), QStringLiteral("SYOUGI_MSG4:") + QString(500, u'x'));
    EXPECT_EQ(chatMsg(QStringLiteral("a:b")), u"SYOUGI_MSG4:a:b");
    // A game keyword typed into a chat line cannot become a message of its own.
    EXPECT_EQ(chatMsg(QStringLiteral("x SYOUGI_MSG2:0F: 1: 1:END")),
              u"SYOUGI_MSG4:x SYOUGI＿MSG2:0F: 1: 1:END");
    EXPECT_EQ(conversationMsg(QStringLiteral("強いですね。")), u"SYOUGI_MSG6:強いですね。");
}

TEST(GameMessage, WatchMessages) {
    EXPECT_EQ(unwrapWatchMove(u"WatchMsg|SYOUGI_MSG2:a: 1: 1:END"), u"SYOUGI_MSG2:a: 1: 1:END");
    EXPECT_EQ(watchPlayers(u"WatchData|太郎|花子|END"),
              (QStringList{QStringLiteral("太郎"), QStringLiteral("花子")}));
    EXPECT_EQ(watchPlayers(u"WatchData|only"), (QStringList{QStringLiteral("only"), QString()}));
}

TEST(Jikan, HoursMinutesSeconds) {
    EXPECT_EQ(Jikan(0), u"0h00m00s");
    EXPECT_EQ(Jikan(309), u"0h05m09s");
    EXPECT_EQ(Jikan(3600), u"1h00m00s");
    EXPECT_EQ(Jikan(3661), u"1h01m01s");
    EXPECT_EQ(Jikan(36000 + 59), u"10h00m59s");
}

}  // namespace
}  // namespace gamecommon
