#include "userlines.h"

#include "clientsettings.h"
#include "lobbynumbers.h"

namespace lobbyclient {

QString userLine(const lobby::UserListEntry& user, int myIndex) {
    const QString game =
        user.kind >= 0 && user.kind < GameName().size() ? GameName()[user.kind] : QString();
    QString tag = user.index == myIndex ? QStringLiteral("Me") : QString();
    if (user.playing) tag += QStringLiteral(" Battle!");
    if (user.watching) tag += QStringLiteral(" Watch");
    return lobby::signedNumber(user.index) + u' ' + user.id + u' ' + game + u' ' + tag;
}

QStringList userLines(const std::vector<lobby::UserListEntry>& users, int myIndex) {
    QStringList lines;
    for (const auto& user : users)
        lines << userLine(user, myIndex);
    return lines;
}

QStringList linePieces(const QString& line) {
    return line.split(u' ');
}

}  // namespace lobbyclient
