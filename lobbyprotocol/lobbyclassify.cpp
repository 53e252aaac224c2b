#include "lobbyclassify.h"

#include <array>
#include <utility>

#include "lobbykeywords.h"

namespace lobby {

namespace {

// True when `text` starts with `keyword` as a whole first field: the keyword
// is followed by `separator` or ends the text. "GameEndless|" is not a logout.
bool startsWithKeyword(QStringView text, QStringView keyword, QChar separator) {
    if (!text.startsWith(keyword)) return false;
    return text.size() == keyword.size() || text[keyword.size()] == separator;
}

template <typename Kind, std::size_t N>
Kind classify(QStringView text, const std::array<std::pair<QStringView, Kind>, N>& table,
              Kind unknown) {
    for (const auto& [keyword, kind] : table)
        if (startsWithKeyword(text, keyword, u'|')) return kind;
    return unknown;
}

}  // namespace

ServerRequest classifyServerMessage(QStringView text) {
    using R = ServerRequest;
    static constexpr std::array<std::pair<QStringView, R>, 11> kLobby = {{
        {kLoginRequestKeyword, R::Login},
        {kUserListRequestKeyword, R::GetGameData},
        {kGameEndKeyword, R::GameEnd},
        {kChallengeKeyword, R::GameStart},
        {kWatchRequestKeyword, R::WatchMsg},
        {kChatKeyword, R::GameMsg},
        {kLogoutKeyword, R::Logout},
        {kGameLoginKeyword, R::GameLogin},
        {kChatAckKeyword, R::Gmok},
        {kGameLeaveKeyword, R::GameLeave},
        {kGameRejoinKeyword, R::GameRejoin},
    }};
    static constexpr std::array<std::pair<QStringView, R>, 5> kGame = {{
        {gamecommon::kMoveKeyword, R::Move},
        {gamecommon::kAckKeyword, R::GameAck},
        {gamecommon::kChatKeyword, R::GameChat},
        {gamecommon::kEndOfGameKeyword, R::GameOver},
        {gamecommon::kConversationKeyword, R::GameTalk},
    }};
    for (const auto& [keyword, kind] : kGame)
        if (startsWithKeyword(text, keyword, u':')) return kind;
    return classify(text, kLobby, R::Unknown);
}

namespace {

using R = ClientReply;
// The client's keywords in the order a client tests them.
constexpr std::array<std::pair<QStringView, R>, 10> kClientKeywords = {{
    {kLoginReplyKeyword, R::Login},
    {kUserListKeyword, R::AddFriends},
    {kChatKeyword, R::GameMsg},
    {kOpponentGoneKeyword, R::HisNone},
    {kLogOutKeyword, R::LogOut},
    {kDeadKeyword, R::Dead},
    {kDuplicateLoginKeyword, R::NoLogin},
    {kGameEndKeyword, R::GameEnd},
    {kGameSetOkKeyword, R::GameSetOk},
    {kChatAckKeyword, R::Gmok},
}};

}  // namespace

ClientReply classifyClientMessage(QStringView text) {
    return classify(text, kClientKeywords, R::Unknown);
}

ClientReply classifyClientMessageAnywhere(QStringView text) {
    for (const auto& [keyword, kind] : kClientKeywords) {
        // Such a client has no branch for an acknowledgement: it ignores one.
        if (kind != R::Gmok && text.contains(keyword)) return kind;
    }
    return R::Unknown;
}

QStringList splitFields(QStringView text) {
    QStringList fields;
    for (const QStringView field : text.split(u'|'))
        fields << field.toString();
    return fields;
}

}  // namespace lobby
