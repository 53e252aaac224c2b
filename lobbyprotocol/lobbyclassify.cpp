#include "lobbyclassify.h"

#include <array>
#include <utility>

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
    static constexpr std::array<std::pair<QStringView, R>, 9> kLobby = {{
        {u"SVMSG_LOGIN", R::Login},
        {u"GetGameData", R::GetGameData},
        {u"GameEnd", R::GameEnd},
        {u"GameStart", R::GameStart},
        {u"WatchMsg", R::WatchMsg},
        {u"GameMsg", R::GameMsg},
        {u"LOGOUT", R::Logout},
        {u"GameLogin", R::GameLogin},
        {u"GMOK", R::Gmok},
    }};
    static constexpr std::array<std::pair<QStringView, R>, 5> kGame = {{
        {u"SYOUGI_MSG2", R::Move},
        {u"SYOUGI_MSG3", R::GameAck},
        {u"SYOUGI_MSG4", R::GameChat},
        {u"SYOUGI_MSG5", R::GameOver},
        {u"SYOUGI_MSG6", R::GameTalk},
    }};
    for (const auto& [keyword, kind] : kGame)
        if (startsWithKeyword(text, keyword, u':')) return kind;
    return classify(text, kLobby, R::Unknown);
}

namespace {

using R = ClientReply;
// The client's keywords in the order a client tests them.
constexpr std::array<std::pair<QStringView, R>, 10> kClientKeywords = {{
    {u"LOGIN", R::Login},
    {u"AddFriends", R::AddFriends},
    {u"GameMsg", R::GameMsg},
    {u"HisNone", R::HisNone},
    {u"LogOut", R::LogOut},
    {u"Dead", R::Dead},
    {u"NoLogin", R::NoLogin},
    {u"GameEnd", R::GameEnd},
    {u"GAMESETOK", R::GameSetOk},
    {u"GMOK", R::Gmok},
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
