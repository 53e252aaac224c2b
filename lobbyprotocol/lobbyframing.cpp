#include "lobbyframing.h"

#include "gameframing.h"
#include "lobbykeywords.h"

namespace lobby {

namespace {

// A lobby message with `atLeast` to `atMost` fields between its keyword (and
// its fixed fields) and "|END" (atMost < 0: any number).
net::MessageKind counted(std::initializer_list<QStringView> start, int atLeast, int atMost) {
    QString keyword;
    for (const QStringView field : start) {
        keyword += field;
        keyword += u'|';
    }
    return net::countedMessage(keyword, kEnd.toString(), atLeast, atMost);
}

net::MessageKind counted(std::initializer_list<QStringView> start, int fields) {
    return counted(start, fields, fields);
}

// A keyword that is a message by itself, with or without "|END".
net::MessageKind bare(QStringView keyword) {
    return net::bareMessage(keyword.toString(), kEnd.toString());
}

}  // namespace

net::FramingRules lobbyClientFraming() {
    net::FramingRules rules;
    auto& k = rules.kinds;
    k.push_back(counted({kLoginReplyKeyword}, 1, 2));  // "No", or "OK" and the index
    k.push_back(counted({kDuplicateLoginKeyword}, 0));
    k.push_back(counted({kUserListKeyword}, 0, 1));  // an empty list has no field
    // The server's notices have fields of their own; a chat line has the line
    // and its number, a refused challenge only its sentence.
    k.push_back(counted({kChatKeyword, kBattleField}, 2));
    k.push_back(counted({kChatKeyword, kShutDownField}, 0));
    k.push_back(counted({kChatKeyword, kNotStartField}, 0));
    k.push_back(counted({kChatKeyword}, 1, 2));
    k.push_back(counted({kChatAckKeyword}, 1, 2));
    k.push_back(counted({kOpponentGoneKeyword}, 0));
    k.push_back(counted({kGameSetOkKeyword}, 1));
    k.push_back(counted({kGameEndKeyword}, 0, 1));
    k.push_back(bare(kLogOutKeyword));
    k.push_back(bare(kDeadKeyword));
    return rules;
}

net::FramingRules lobbyServerFraming() {
    net::FramingRules rules;
    auto& k = rules.kinds;
    k.push_back(counted({kLoginRequestKeyword}, 1));  // ID,PASS,MAIL,KIND in one field
    k.push_back(counted({kUserListRequestKeyword}, 3));
    k.push_back(counted({kGameEndKeyword}, 1));
    k.push_back(counted({kChallengeKeyword}, 3));
    k.push_back(counted({kWatchRequestKeyword}, 1));
    k.push_back(counted({kChatKeyword}, 2));
    k.push_back(bare(kLogoutKeyword));
    k.push_back(counted({kChatAckKeyword}, 2));
    k.push_back(counted({kGameLoginKeyword}, 3));
    for (net::MessageKind& kind : gamecommon::gameMessageKinds())
        k.push_back(std::move(kind));
    return rules;
}

}  // namespace lobby
