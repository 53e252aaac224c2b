#pragma once

#include <QString>
#include <optional>

namespace bot {

// The bot answers a greeting with a greeting: a hello ("宜しくお願いします。",
// "よろしく", "それでは、始めます。") with the hello of the game programs'
// greeting menu, a thanks ("ありがとうございました。", "有り難う") with their
// thanks. Each kind is answered once per game, so two bots greeting each other
// stop after one exchange.
class Greetings {
public:
    // A new game: both kinds may be answered again.
    void reset();

    // The canned line that answers `text` (a chat or conversation line of the
    // opponent), or nothing.
    std::optional<QString> answer(const QString& text);

private:
    bool helloAnswered_ = false;
    bool thanksAnswered_ = false;
};

}  // namespace bot
