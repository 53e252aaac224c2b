#include "recordview.h"

namespace records {

QString viewName(Player p) {
    return p == Player::First ? QStringLiteral("first") : QStringLiteral("second");
}

std::optional<Player> viewFromName(QStringView name) {
    const QStringView word = name.trimmed();
    if (word == u"first") return Player::First;
    if (word == u"second") return Player::Second;
    return std::nullopt;
}

}  // namespace records
