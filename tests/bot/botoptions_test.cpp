#include <gtest/gtest.h>

#include <variant>

#include "botoptions.h"

namespace bot {
namespace {

std::variant<BotOptions, QString> parse(const QString& line) {
    return parseBotOptions(line.split(u' ', Qt::SkipEmptyParts));
}

TEST(BotOptions, TheShortestLineAndEveryDefault) {
    const auto parsed = parse(QStringLiteral("--game go --id bot-go --password pw"));
    ASSERT_TRUE(std::holds_alternative<BotOptions>(parsed))
        << std::get<QString>(parsed).toStdString();
    const BotOptions o = std::get<BotOptions>(parsed);
    EXPECT_EQ(o.game, GameKind::Go);
    EXPECT_EQ(o.id, u"bot-go");
    EXPECT_EQ(o.password, u"pw");
    EXPECT_EQ(o.mail, u"");
    EXPECT_EQ(o.server, u"127.0.0.1");
    EXPECT_EQ(o.seconds, 3);
    EXPECT_EQ(o.challenge, u"");
    EXPECT_EQ(o.engine, u"");
}

TEST(BotOptions, EveryOption) {
    const auto parsed =
        parse(QStringLiteral("--seconds 10 --game shogi --id b --password p --mail b@x.jp "
                             "--server lobby.example --challenge taro --engine /opt/e/gnushogi"));
    ASSERT_TRUE(std::holds_alternative<BotOptions>(parsed))
        << std::get<QString>(parsed).toStdString();
    const BotOptions o = std::get<BotOptions>(parsed);
    EXPECT_EQ(o.game, GameKind::Shogi);
    EXPECT_EQ(o.seconds, 10);
    EXPECT_EQ(o.mail, u"b@x.jp");
    EXPECT_EQ(o.server, u"lobby.example");
    EXPECT_EQ(o.challenge, u"taro");
    EXPECT_EQ(o.engine, u"/opt/e/gnushogi");
}

TEST(BotOptions, LinesThatCannotStartABot) {
    const struct {
        const char* line;
        const char* says;
    } cases[] = {
        {"--id b --password p", "--game is missing"},
        {"--game chess --id b --password p", "--game must be shogi or go"},
        {"--game go --password p", "--id is missing"},
        {"--game go --id b", "--password is missing"},
        {"--game go --id b --password p --seconds 0", "--seconds must be"},
        {"--game go --id b --password p --seconds 601", "--seconds must be"},
        {"--game go --id b --password p --seconds 2s", "--seconds must be"},
        {"--game go --id b --password p --colour white", "unknown option"},
        {"--game go --id b --password", "--password needs a value"},
        {"--game go --id b|c --password p", "--id cannot hold"},
        {"--game go --id b --password p,q", "--password cannot hold"},
        {"--game go --id b --password p --challenge b", "cannot challenge itself"},
    };
    for (const auto& c : cases) {
        const auto parsed = parse(QString::fromLatin1(c.line));
        ASSERT_TRUE(std::holds_alternative<QString>(parsed)) << c.line;
        EXPECT_TRUE(std::get<QString>(parsed).contains(QLatin1String(c.says)))
            << c.line << ": " << std::get<QString>(parsed).toStdString();
    }
}

}  // namespace
}  // namespace bot
