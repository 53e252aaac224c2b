#include "userlist.h"

#include <QStringList>
#include <charconv>

#include "lobbyclassify.h"
#include "lobbykeywords.h"
#include "lobbynumbers.h"

using namespace Qt::StringLiterals;

namespace lobby {

namespace {

constexpr int kFieldsPerUser = 5;

QString truthText(bool value) {
    return value ? u"True"_s : u"False"_s;
}

// plainNumber and signedNumber, written straight onto the end of `text`.
void appendNumber(QString& text, int value, bool signedForm) {
    char digits[16];
    char* end = digits;
    if (signedForm && value >= 0) *end++ = ' ';
    end = std::to_chars(end, digits + sizeof digits, value).ptr;
    text += QLatin1StringView(digits, end - digits);
}

}  // namespace

QString userListReply(const std::vector<UserListEntry>& users) {
    if (users.empty()) return kUserListKeyword.toString() + kEnd.toString();
    // Built in one text: the server builds it for every poll of every user.
    QString text = kUserListKeyword.toString() + u'|';
    constexpr qsizetype kFixedPerUser = 24;  // the four other fields and five commas at most
    qsizetype size = text.size() + 4;
    for (const UserListEntry& u : users)
        size += u.id.size() + kFixedPerUser;
    text.reserve(size);
    for (const UserListEntry& u : users) {
        if (&u != &users.front()) text += u',';
        text += u.id;
        text += u',';
        appendNumber(text, u.kind, false);
        text += u',';
        appendNumber(text, u.index, true);
        text += u',';
        text += truthText(u.playing);
        text += u',';
        text += truthText(u.watching);
    }
    text += kEnd;
    return text;
}

std::optional<std::vector<UserListEntry>> parseUserList(QStringView message) {
    if (classifyClientMessage(message) != ClientReply::AddFriends) return std::nullopt;
    const QStringList fields = splitFields(message);
    std::vector<UserListEntry> users;
    if (fields.size() < 2) return std::nullopt;
    if (fields.size() == 2 && fields[1] == u"END") return users;
    const QStringList items = fields[1].split(u',');
    // Records are read in whole fives from the start, as every client always
    // has; an ID holding "," shifts the fields after it, and a last group cut
    // short is dropped, but the list goes on being shown and refreshed.
    for (qsizetype i = 0; i + kFieldsPerUser <= items.size(); i += kFieldsPerUser) {
        users.push_back({items[i], lenientNumber(items[i + 1]), lenientNumber(items[i + 2]),
                         items[i + 3] == u"True", items[i + 4] == u"True"});
    }
    return users;
}

}  // namespace lobby
