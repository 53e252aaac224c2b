#include "recordproblem.h"

namespace gamecommon {

QString problemText(RecordProblem problem, const QString& name) {
    switch (problem) {
        case RecordProblem::None:
            return {};
        case RecordProblem::Missing:
            return name + QStringLiteral("が存在しません。");
        case RecordProblem::Unreadable:
            return name + QStringLiteral("を読み込めません。");
        case RecordProblem::TooLarge:
            return name + QStringLiteral("は大きすぎるため、メモ帳では開けません。");
        case RecordProblem::Empty:
            return name + QStringLiteral("は空のファイルです。");
        case RecordProblem::NoPosition:
            return name + QStringLiteral("には再生できる局面がありません。");
        case RecordProblem::NotWritten:
            return name + QStringLiteral("に書き込めません。");
        case RecordProblem::NoRunningRecord:
            return name + QStringLiteral(
                              "がありません。「全手保存」で棋譜を記録してから保存してください。");
        case RecordProblem::Unstorable:
            return name + QStringLiteral("に保存できない文字が含まれているため、保存しません。");
    }
    return {};
}

}  // namespace gamecommon
