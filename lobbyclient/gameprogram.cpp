#include "gameprogram.h"

#include <QCoreApplication>

#include "clientsettings.h"
#include "gamefilelist.h"
#include "programfolder.h"
#include "startprogram.h"

namespace lobbyclient {

GameProgram findGameProgram(const QString& clientFolder, int kind) {
    const QString listPath =
        platform::fileInFolder(clientFolder, QString::fromLatin1(gamefile::kGameFileName));
    const gamefile::GameFileRead read = gamefile::readGameFile(listPath);
    if (read.status == gamefile::GameFileStatus::Missing ||
        read.status == gamefile::GameFileStatus::Unreadable) {
        return {{},
                {},
                QCoreApplication::translate("lobbyclient", "%1が存在しません。")
                    .arg(QString::fromLatin1(gamefile::kGameFileName))};
    }
    const QString game =
        kind >= 0 && kind < GameName().size() ? GameName()[kind] : QString::number(kind);
    const QString path = read.list.programFor(kind);
    const QString folder = platform::programFolderOf(path);
    if (path.isEmpty() || folder.isEmpty()) {
        return {
            {},
            {},
            QCoreApplication::translate(
                "lobbyclient", "%1ソフトが設定されていません。「ファイル設定」で設定してください。")
                .arg(game)};
    }
    return {path, folder, {}};
}

}  // namespace lobbyclient
