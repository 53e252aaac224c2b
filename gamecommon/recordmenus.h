#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

#include "dialogs.h"
#include "recordboard.h"
#include "recordfiledialog.h"
#include "recordnames.h"
#include "replaywindow.h"
#include "runningrecord.h"

class QAction;
class QWidget;

namespace gamecommon {

// The record items of a game program's menus, and the running record they
// work on: "全手保存" switches recording on, "名前を付けて保存..." copies the
// running record, "棋譜再生" → "起動" replays a record on the main board and
// "開く...(&F)" opens a text file in the memo editor. Owned by the main
// window, which hands the running record to its match flow.
class RecordMenus : public QObject {
    Q_OBJECT

public:
    // `folder` is the program's folder; `isConnected` tells whether a
    // connection is open (a replay would fight the game for the board).
    RecordMenus(RecordNames names, QString folder, platform::Dialogs& dialogs, RecordBoard& board,
                std::function<bool()> isConnected, QWidget* window);

    RunningRecord& record() { return record_; }

    // What the file dialog was last opened for (kMnuFlagMemo, kMnuFlagReplay).
    int MnuFlag = kMnuFlagMemo;

    // Connects the four menu items and makes them usable.
    void attach(QAction* nmuFileOpen, QAction* mnuSave, QAction* mnuVSave, QAction* mnuPlay);

    // "全手保存": ticks and disables its item once recording is on.
    void switchRecordingOn();
    // "名前を付けて保存...".
    void saveRecordAs();
    // "起動": the file dialog, then the replay window.
    void playRecord();
    // "開く...(&F)": the file dialog, then the memo editor.
    void openMemo();
    // Opens `path` in the memo editor, modally.
    void FileOpen(const QString& path);

    // The replay window while it is open.
    ReplayWindow* replayWindow() const { return replay_; }

private:
    void box(const QString& text);

    RunningRecord record_;
    platform::Dialogs& dialogs_;
    RecordBoard& board_;
    std::function<bool()> isConnected_;
    QWidget* window_;
    QAction* mnuVSave_ = nullptr;
    QPointer<ReplayWindow> replay_;
};

}  // namespace gamecommon
