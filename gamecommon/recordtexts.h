#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace gamecommon {

// The texts of the record windows that tests and the windows share.

// "名前を付けて保存...": the input box.
inline const QString kSaveRecordPrompt =
    QStringLiteral("棋譜一時保存デ－タを名前を変えて保存します。\n(拡張子は略してください。)");

// "棋譜再生" while a connection is open.
inline const QString kDisconnectFirstText = QStringLiteral("通信を切断しなければ実行できません。");

// The file dialog.
inline const QString kFileDialogCaption = QStringLiteral("開く");
inline const QString kNameLabel = QStringLiteral("ファイル名(&N):");
inline const QString kNameTip = QStringLiteral("ファイル名の手動変更はできません。");
inline const QString kOpenButton = QStringLiteral("開　く");
inline const QString kRunButton = QStringLiteral("実　行");
inline const QString kTextOption = QStringLiteral(".TXT");
inline const QString kTextPattern = QStringLiteral("*.txt");
inline const QString kChooseFileText = QStringLiteral("ファイルを指定してください。");
inline const QString kDriveUnusableText = QStringLiteral("デバイスが使用できません。");

// The replay window.
inline const QString kReplayCaption = QStringLiteral("PLAY");
inline QString replayCaption(const QString& file) {
    return kReplayCaption + u':' + file;
}
// Lines of a record that are no position, told once when it is loaded.
inline QString skippedLinesText(const QString& file, const QList<int>& lines) {
    constexpr qsizetype kShown = 10;
    QStringList numbers;
    for (qsizetype i = 0; i < lines.size() && i < kShown; ++i)
        numbers << QString::number(lines[i]);
    const QString more = lines.size() > kShown ? QStringLiteral("ほか") : QString();
    return file + QStringLiteral("の") + numbers.join(u'、') + QStringLiteral("行目") + more +
           QStringLiteral("は局面ではないため、飛ばします。");
}

// The memo editor.
inline QString memoCaption(const QString& file, int lines) {
    return file + QStringLiteral(":将棋メモ帳：ロ－ドした行数=") + QString::number(lines);
}

}  // namespace gamecommon
