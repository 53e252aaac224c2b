#pragma once

#include <QString>
#include <array>

#include "gamefilelist.h"

namespace quenlis {

// The texts of the setup tool that tests and the windows share.

// The window caption, and the title of every message box.
inline const QString kProgramName = QStringLiteral("Quenlis");

// The slot labels, in slot order.
inline const std::array<QString, gamefile::kGameSlotCount> kSlotLabels = {
    QStringLiteral("将棋"), QStringLiteral("囲碁"), QStringLiteral("チェス"),
    QStringLiteral("リバ－シ")};

// The list file named in the name box does not exist.
inline QString missingFileText(const QString& name) {
    return name + QStringLiteral("が存在しません。");
}

// "起動" of a slot whose path cannot be started.
inline const QString kNoProgramText = QStringLiteral("起動するファイルが設定されていません。");
inline const QString kNoFolderText = QStringLiteral("フォルダ名のないファイル名は起動できません。");
inline const QString kCommaStartText =
    QStringLiteral("ファイル名に「,」が含まれているため起動できません。");

// "保　存" with a path the list file cannot hold, or a list file that cannot
// be written.
inline QString commaSaveText(const QString& slotLabel) {
    return slotLabel + QStringLiteral("のファイル名に「,」が含まれているため保存できません。");
}
inline QString unstorableSaveText(const QString& slotLabel) {
    return slotLabel + QStringLiteral("のファイル名に保存できない文字が含まれています。");
}
inline const QString kNoListNameText = QStringLiteral("ファイル名が入力されていません。");
inline QString saveFailedText(const QString& name) {
    return name + QStringLiteral("に保存できません。");
}

// The file dialog's drive list could not switch to a mounted file system.
inline const QString kDriveFailedText = QStringLiteral("デバイスが使用できません。");

}  // namespace quenlis
