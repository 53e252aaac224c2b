#include "recordproblem.h"

#include <QCoreApplication>

namespace gamecommon {

QString problemText(RecordProblem problem, const QString& name) {
    const auto told = [&name](const char* source) {
        return QCoreApplication::translate("gamecommon", source).arg(name);
    };
    switch (problem) {
        case RecordProblem::None:
            return {};
        case RecordProblem::Missing:
            return told(QT_TRANSLATE_NOOP("gamecommon", "%1が存在しません。"));
        case RecordProblem::Unreadable:
            return told(QT_TRANSLATE_NOOP("gamecommon", "%1を読み込めません。"));
        case RecordProblem::TooLarge:
            return told(
                QT_TRANSLATE_NOOP("gamecommon", "%1は大きすぎるため、メモ帳では開けません。"));
        case RecordProblem::Empty:
            return told(QT_TRANSLATE_NOOP("gamecommon", "%1は空のファイルです。"));
        case RecordProblem::NoPosition:
            return told(QT_TRANSLATE_NOOP("gamecommon", "%1には再生できる局面がありません。"));
        case RecordProblem::NotWritten:
            return told(QT_TRANSLATE_NOOP("gamecommon", "%1に書き込めません。"));
        case RecordProblem::NoRunningRecord:
            return told(QT_TRANSLATE_NOOP(
                "gamecommon",
                "%1がありません。「全手保存」で棋譜を記録してから保存してください。"));
        case RecordProblem::Unstorable:
            return told(QT_TRANSLATE_NOOP(
                "gamecommon", "%1に保存できない文字が含まれているため、保存しません。"));
    }
    return {};
}

}  // namespace gamecommon
