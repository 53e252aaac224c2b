#include "engineprogram.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace bot {

QString engineName(GameKind game) {
    return game == GameKind::Shogi ? QStringLiteral("gnushogi") : QStringLiteral("gnugo");
}

QString engineProgram(GameKind game, const QString& chosen) {
    const QString name = chosen.isEmpty() ? engineName(game) : chosen;
    if (name.contains(u'/')) {
        const QFileInfo file(name);
        return file.isFile() && file.isExecutable() ? file.absoluteFilePath() : QString();
    }
    QString found = QStandardPaths::findExecutable(name);
    if (found.isEmpty())
        found = QStandardPaths::findExecutable(name, {QStringLiteral("/usr/games")});
    return found;
}

}  // namespace bot
