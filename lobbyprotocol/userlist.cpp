#include "userlist.h"

#include <QStringList>

#include "lobbyclassify.h"
#include "lobbynumbers.h"

using namespace Qt::StringLiterals;

namespace lobby {

namespace {

constexpr int kFieldsPerUser = 5;

QString truthText(bool value) {
    return value ? u"True"_s : u"False"_s;
}

}  // namespace

QString userListReply(const std::vector<UserListEntry>& users) {
    QStringList fields;
    for (const UserListEntry& u : users)
        fields << u.id << plainNumber(u.kind) << signedNumber(u.index) << truthText(u.playing)
               << truthText(u.watching);
    if (fields.isEmpty()) return u"AddFriends|END"_s;
    return u"AddFriends|"_s + fields.join(u',') + u"|END"_s;
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
