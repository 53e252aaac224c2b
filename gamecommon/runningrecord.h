#pragma once

#include <QString>

#include "recordnames.h"
#include "recordproblem.h"

namespace gamecommon {

// The running record of a game program: once the player switches recording
// on, every position reached by a move, his own or his opponent's, is added
// as one line to "ShougiAll.sho" (or the go program's file) in the program's
// folder. Recording stays on until the program ends; switching it on empties
// the file, so a record of an earlier game is lost then.
class RunningRecord {
public:
    RunningRecord(QString folder, RecordNames names);

    const RecordNames& names() const { return names_; }
    const QString& folder() const { return folder_; }
    // The running record file in the program's folder.
    QString path() const;

    bool isOn() const { return on_; }

    // "全手保存": recording on and the file emptied. When the file cannot be
    // made, recording stays off and the problem is returned.
    RecordProblem switchOn();

    // Adds the position `line` while recording is on; nothing otherwise.
    // A line that cannot be written is reported once: NotWritten comes back
    // for the first failure, None for the failures right after it, so a
    // full disk does not put up a box at every move.
    RecordProblem append(const QString& line);

    // "名前を付けて保存...": the running record copied under the name typed
    // (completed by savedRecordName; a bare name lies in the program's
    // folder). An empty answer saves nothing and is no problem.
    struct SaveAs {
        RecordProblem problem = RecordProblem::None;
        QString name;  // the name saved to, as completed; or the file at fault
    };
    SaveAs saveAs(const QString& answer) const;

private:
    QString folder_;
    RecordNames names_;
    bool on_ = false;
    bool failing_ = false;
};

}  // namespace gamecommon
