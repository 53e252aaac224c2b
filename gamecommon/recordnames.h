#pragma once

#include <QCoreApplication>
#include <QString>

namespace gamecommon {

// The names by which the two game programs tell their records apart. The
// record windows and files work the same in both programs; only these
// differ, so a go record is never taken for a shogi record in a folder
// holding both programs.
struct RecordNames {
    QString programTitle;    // the title of the program's message and input boxes
    QString runningFile;     // the running record, in the program's folder
    QString extension;       // of saved records, with its dot
    QString filterCaption;   // the record option of the file dialog
    QString filterPattern;   // the files that option lists
    QString memoSavePrompt;  // the memo editor's save-as question (in the user's language)
};

// A text of the record windows in the user's language.
inline QString recordNamesText(const char* source) {
    return QCoreApplication::translate("gamecommon", source);
}

inline RecordNames shogiRecordNames() {
    return {QStringLiteral("Varnel"),
            QStringLiteral("ShougiAll.sho"),
            QStringLiteral(".sho"),
            QStringLiteral(".SHO"),
            QStringLiteral("*.sho"),
            recordNamesText(QT_TRANSLATE_NOOP("gamecommon",
                                              "ファイル名 （拡張子は、略すと.shoになります。）"))};
}

inline RecordNames goRecordNames() {
    return {QStringLiteral("Ostrim"),
            QStringLiteral("ChessAll.chs"),
            QStringLiteral(".chs"),
            QStringLiteral(".CHS"),
            QStringLiteral("*.chs"),
            recordNamesText(QT_TRANSLATE_NOOP("gamecommon",
                                              "ファイル名 （拡張子は、略すと.chsになります。）"))};
}

}  // namespace gamecommon
