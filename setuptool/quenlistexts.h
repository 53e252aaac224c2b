#pragma once

#include <QCoreApplication>
#include <QString>
#include <array>

#include "gamefilelist.h"

namespace quenlis {

// The texts of the setup tool that tests and the windows share, in the
// user's language (the Japanese are the source; the English translation is
// loaded by the program when English is wanted).

inline QString quenlisText(const char* source) {
    return QCoreApplication::translate("Quenlis", source);
}

// The window caption, and the title of every message box.
inline const QString kProgramName = QStringLiteral("Quenlis");

// The slot labels, in slot order.
inline constexpr std::array<const char*, gamefile::kGameSlotCount> kSlotLabelSources = {
    QT_TRANSLATE_NOOP("Quenlis", "将棋"), QT_TRANSLATE_NOOP("Quenlis", "囲碁"),
    QT_TRANSLATE_NOOP("Quenlis", "チェス"), QT_TRANSLATE_NOOP("Quenlis", "リバ－シ")};
inline QString slotLabel(std::size_t slot) {
    return quenlisText(kSlotLabelSources.at(slot));
}

// The list file named in the name box does not exist.
inline QString missingFileText(const QString& name) {
    return QCoreApplication::translate("Quenlis", "%1が存在しません。").arg(name);
}

// "起動" of a slot whose path cannot be started.
inline QString noProgramText() {
    return QCoreApplication::translate("Quenlis", "起動するファイルが設定されていません。");
}
inline QString noFolderText() {
    return QCoreApplication::translate("Quenlis", "フォルダ名のないファイル名は起動できません。");
}
inline QString commaStartText() {
    return QCoreApplication::translate("Quenlis",
                                       "ファイル名に「,」が含まれているため起動できません。");
}

// "保　存" with a path the list file cannot hold, or a list file that cannot
// be written.
inline QString commaSaveText(const QString& slotLabel) {
    return QCoreApplication::translate("Quenlis",
                                       "%1のファイル名に「,」が含まれているため保存できません。")
        .arg(slotLabel);
}
inline QString unstorableSaveText(const QString& slotLabel) {
    return QCoreApplication::translate("Quenlis",
                                       "%1のファイル名に保存できない文字が含まれています。")
        .arg(slotLabel);
}
inline QString noListNameText() {
    return QCoreApplication::translate("Quenlis", "ファイル名が入力されていません。");
}
inline QString saveFailedText(const QString& name) {
    return QCoreApplication::translate("Quenlis", "%1に保存できません。").arg(name);
}

// The file dialog's drive list could not switch to a mounted file system.
inline QString driveFailedText() {
    return QCoreApplication::translate("Quenlis", "デバイスが使用できません。");
}

}  // namespace quenlis
