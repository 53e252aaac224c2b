#include "recordmenus.h"

#include <QAction>

#include "memoeditor.h"
#include "recordtexts.h"

namespace gamecommon {

RecordMenus::RecordMenus(RecordNames names, QString folder, platform::Dialogs& dialogs,
                         RecordBoard& board, std::function<bool()> isConnected, QWidget* window)
    : QObject(window),
      record_(std::move(folder), std::move(names)),
      dialogs_(dialogs),
      board_(board),
      isConnected_(std::move(isConnected)),
      window_(window) {}

void RecordMenus::attach(QAction* nmuFileOpen, QAction* mnuSave, QAction* mnuVSave,
                         QAction* mnuPlay) {
    mnuVSave_ = mnuVSave;
    mnuVSave->setCheckable(true);
    for (QAction* item : {nmuFileOpen, mnuSave, mnuVSave, mnuPlay})
        item->setEnabled(true);
    connect(nmuFileOpen, &QAction::triggered, this, &RecordMenus::openMemo);
    connect(mnuSave, &QAction::triggered, this, &RecordMenus::saveRecordAs);
    connect(mnuVSave, &QAction::triggered, this, &RecordMenus::switchRecordingOn);
    connect(mnuPlay, &QAction::triggered, this, &RecordMenus::playRecord);
}

void RecordMenus::switchRecordingOn() {
    const RecordProblem problem = record_.switchOn();
    if (mnuVSave_) {
        // A click on a checkable item ticks it; only a record that could be
        // started keeps the tick.
        mnuVSave_->setChecked(record_.isOn());
        mnuVSave_->setEnabled(!record_.isOn());
    }
    if (problem != RecordProblem::None) box(problemText(problem, record_.names().runningFile));
}

void RecordMenus::saveRecordAs() {
    const auto answer =
        dialogs_.askText(window_, record_.names().programTitle, saveRecordPrompt(), {});
    if (!answer) return;
    const RunningRecord::SaveAs saved = record_.saveAs(*answer);
    if (saved.problem != RecordProblem::None) box(problemText(saved.problem, saved.name));
}

void RecordMenus::playRecord() {
    if (isConnected_()) {
        box(disconnectFirstText());
        return;
    }
    MnuFlag = kMnuFlagReplay;
    RecordFileDialog dialog(MnuFlag, record_.folder(), record_.names(), dialogs_, window_);
    dialog.exec();
    if (dialog.exFile().isEmpty()) return;

    // One replay at a time: a new one takes the board from the old.
    if (replay_) replay_->close();
    auto* replay = new ReplayWindow(dialog.exFile(), record_.folder(), board_, record_.names(),
                                    dialogs_, window_);
    replay->setAttribute(Qt::WA_DeleteOnClose);
    if (!replay->LoadFile()) {
        delete replay;
        return;
    }
    replay_ = replay;
    replay->setWindowModality(Qt::ApplicationModal);
    replay->show();
}

void RecordMenus::openMemo() {
    MnuFlag = kMnuFlagMemo;
    RecordFileDialog dialog(MnuFlag, record_.folder(), record_.names(), dialogs_, window_);
    dialog.exec();
    if (!dialog.openPath().isEmpty()) FileOpen(dialog.openPath());
}

void RecordMenus::FileOpen(const QString& path) {
    MemoEditor editor(path, record_.folder(), record_.names(), dialogs_, window_);
    if (editor.LoadFile()) editor.exec();
}

void RecordMenus::box(const QString& text) {
    dialogs_.message(window_, record_.names().programTitle, text);
}

}  // namespace gamecommon
