#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

namespace lobby {

// One logged-in user as the user list ("AddFriends") carries him.
struct UserListEntry {
    QString id;
    int kind = 0;   // game kind: 0 shogi, 1 go
    int index = 0;  // the user's slot index on the server
    bool playing = false;
    bool watching = false;

    friend bool operator==(const UserListEntry&, const UserListEntry&) = default;
};

// "AddFriends|" LIST "|END": per user ID "," KIND (plain) "," IDX (signed) ","
// PLAYING "," WATCHING ("True"/"False"), users and their fields all joined by
// ",". An empty list is "AddFriends|END". The list is built whole, however
// long it gets; nothing is cut.
QString userListReply(const std::vector<UserListEntry>& users);

// Reads a user list reply back, in whole groups of five from the start (an ID
// holding "," shifts every field after it; a last group cut short is
// dropped). Nothing when the message is no user list.
std::optional<std::vector<UserListEntry>> parseUserList(QStringView message);

}  // namespace lobby
