#include "greetings.h"

#include <QStringView>
#include <array>

#include "conversationlines.h"

namespace bot {

namespace {

constexpr std::array<QStringView, 4> kHellos{u"よろしく", u"宜しく", u"始めます", u"お願いします"};
constexpr std::array<QStringView, 3> kThanks{u"ありがとう", u"有り難う", u"有難う"};

template <std::size_t N>
bool mentions(const QString& text, const std::array<QStringView, N>& words) {
    for (const QStringView word : words)
        if (text.contains(word)) return true;
    return false;
}

}  // namespace

void Greetings::reset() {
    helloAnswered_ = false;
    thanksAnswered_ = false;
}

std::optional<QString> Greetings::answer(const QString& text) {
    // Thanks first: a resignation thanks, and may mention nothing else.
    if (!thanksAnswered_ && mentions(text, kThanks)) {
        thanksAnswered_ = true;
        return gamecommon::kGreetingLines[1].text.toString();
    }
    if (!helloAnswered_ && mentions(text, kHellos)) {
        helloAnswered_ = true;
        return gamecommon::kGreetingLines[0].text.toString();
    }
    return std::nullopt;
}

}  // namespace bot
