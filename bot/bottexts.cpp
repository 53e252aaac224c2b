#include "bottexts.h"

#include "gamemessage.h"

namespace bot {

QString shogiResignation() {
    return gamecommon::conversationMsg(kResignText.toString());
}

QString goResignation() {
    return gamecommon::endOfGameMsg(kResignText.toString());
}

QString passLine(const QString& score) {
    return gamecommon::chatMsg(QStringLiteral("パスします。（形勢 %1）").arg(score));
}

QString troubleLine(EngineTrouble trouble) {
    switch (trouble) {
        case EngineTrouble::Stopped:
            return gamecommon::chatMsg(QStringLiteral("思考エンジンが止まりました。投了します。"));
        case EngineTrouble::Silent:
            return gamecommon::chatMsg(
                QStringLiteral("思考エンジンが時間内に答えませんでした。投了します。"));
        case EngineTrouble::Nonsense:
            return gamecommon::chatMsg(
                QStringLiteral("思考エンジンの手が規則に合いませんでした。投了します。"));
        case EngineTrouble::Position:
            return gamecommon::chatMsg(
                QStringLiteral("思考エンジンがこの局面で指せません。投了します。"));
    }
    return {};
}

}  // namespace bot
