#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

namespace gamecommon {

// The texts of the record windows that tests and the windows share, in the
// user's language (the Japanese are the source).
inline QString recordText(const char* source) {
    return QCoreApplication::translate("gamecommon", source);
}

// "名前を付けて保存...": the input box.
inline QString saveRecordPrompt() {
    return recordText(QT_TRANSLATE_NOOP(
        "gamecommon", "棋譜一時保存デ－タを名前を変えて保存します。\n(拡張子は略してください。)"));
}

// "棋譜再生" while a connection is open.
inline QString disconnectFirstText() {
    return recordText(QT_TRANSLATE_NOOP("gamecommon", "通信を切断しなければ実行できません。"));
}

// The file dialog.
inline QString fileDialogCaption() {
    return recordText(QT_TRANSLATE_NOOP("gamecommon", "開く"));
}
inline QString nameLabelText() {
    return recordText(QT_TRANSLATE_NOOP("gamecommon", "ファイル名(&N):"));
}
inline QString nameTipText() {
    return recordText(QT_TRANSLATE_NOOP("gamecommon", "ファイル名の手動変更はできません。"));
}
inline QString openButtonText() {
    return recordText(QT_TRANSLATE_NOOP("gamecommon", "開　く"));
}
inline QString runButtonText() {
    return recordText(QT_TRANSLATE_NOOP("gamecommon", "実　行"));
}
inline const QString kTextOption = QStringLiteral(".TXT");
inline const QString kTextPattern = QStringLiteral("*.txt");
inline QString chooseFileText() {
    return recordText(QT_TRANSLATE_NOOP("gamecommon", "ファイルを指定してください。"));
}
inline QString driveUnusableText() {
    return recordText(QT_TRANSLATE_NOOP("gamecommon", "デバイスが使用できません。"));
}

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
    const QString more =
        lines.size() > kShown ? recordText(QT_TRANSLATE_NOOP("gamecommon", "ほか")) : QString();
    // The numbers' separator is a text of the language too.
    const QString separator = recordText(QT_TRANSLATE_NOOP("gamecommon", "、"));
    return recordText(
               QT_TRANSLATE_NOOP("gamecommon", "%1の%2行目%3は局面ではないため、飛ばします。"))
        .arg(file, numbers.join(separator), more);
}

// The memo editor.
inline QString memoCaption(const QString& file, int lines) {
    return recordText(QT_TRANSLATE_NOOP("gamecommon", "%1:将棋メモ帳：ロ－ドした行数=%2"))
        .arg(file, QString::number(lines));
}

}  // namespace gamecommon
