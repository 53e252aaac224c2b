#include <gtest/gtest.h>

#include "greetings.h"

namespace bot {
namespace {

// What the opponent says in one game, and what the bot answers to each line.
TEST(Greetings, EachKindOnceAGame) {
    const struct {
        const char* said;
        const char* answer;  // empty: none
    } game[] = {
        {"宜しくお願いします。", "宜しくお願いします。"},
        {"よろしくお願いします。お先にどうぞ。", ""},  // hello was answered
        {"それはいい手ですね。", ""},
        {"投了です。あなたの勝ちです。有り難うございました。", "ありがとうございました。"},
        {"ありがとうございました。", ""},
    };
    Greetings greetings;
    for (const auto& line : game) {
        const auto answer = greetings.answer(QString::fromUtf8(line.said));
        EXPECT_EQ(answer.value_or(QString()), QString::fromUtf8(line.answer)) << line.said;
    }
    greetings.reset();
    EXPECT_EQ(greetings.answer(QStringLiteral("それでは、始めます。")), u"宜しくお願いします。");
    EXPECT_EQ(greetings.answer(QStringLiteral("ありがとう")), u"ありがとうございました。");
}

}  // namespace
}  // namespace bot
