#pragma once

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>

#include "dialogs.h"
#include "recordnames.h"

namespace gamecommon {

// The memo editor (`Form4`): a text file, a record among them, opened as
// plain text in `Text1`, which fills the window. Its menu "ファイル" saves
// under another name ("名前を変えて保存(&S)", the record extension added as
// the save-as rule says), saves over the file ("上書保存") and closes without
// asking ("終了(&Q)").
class MemoEditor : public QDialog {
    Q_OBJECT

public:
    // `FileN` is the file to edit; a bare name (as typed into save-as) lies
    // in `folder`.
    MemoEditor(QString fileN, QString folder, const RecordNames& names, platform::Dialogs& dialogs,
               QWidget* parent = nullptr);

    // The file being edited; after a save under another name, that one.
    const QString& fileN() const { return FileN; }

    // Reads `FileN` into the text box and names it and its line count in the
    // caption. A file that cannot be read is told (false; nothing to edit);
    // an empty one is told and opens empty.
    bool LoadFile();

private:
    bool saveTo(const QString& name);
    void rewrite();
    void nameChangeSave();
    void box(const QString& text);

    QString FileN;
    const QString folder_;
    const RecordNames names_;
    platform::Dialogs& dialogs_;

    // Controls, each with its member name as object name.
    QPlainTextEdit* Text1 = nullptr;
    QMenuBar* menu = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* nmuNameChangeSave = nullptr;
    QAction* mnuRewrite = nullptr;
    QAction* mnuQuit = nullptr;
};

}  // namespace gamecommon
