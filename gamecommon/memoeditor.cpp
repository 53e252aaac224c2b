#include "memoeditor.h"

#include <QVBoxLayout>

#include "controlname.h"
#include "memofile.h"
#include "recordfile.h"
#include "recordnamerules.h"
#include "recordtexts.h"

namespace gamecommon {

MemoEditor::MemoEditor(QString fileN, QString folder, const RecordNames& names,
                       platform::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      FileN(std::move(fileN)),
      folder_(std::move(folder)),
      names_(names),
      dialogs_(dialogs) {
    setObjectName(QStringLiteral("Form4"));
    Text1 = platform::named(new QPlainTextEdit(this), QStringLiteral("Text1"));
    // Records are one long line per position: they are read as they are.
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);

    menu = platform::named(new QMenuBar(this), QStringLiteral("menu"));
    mnuFile = platform::named(menu->addMenu(tr("ファイル")), QStringLiteral("mnuFile"));
    nmuNameChangeSave = platform::named(mnuFile->addAction(tr("名前を変えて保存(&S)")),
                                        QStringLiteral("nmuNameChangeSave"));
    mnuRewrite = platform::named(mnuFile->addAction(tr("上書保存")), QStringLiteral("mnuRewrite"));
    mnuQuit = platform::named(mnuFile->addAction(tr("終了(&Q)")), QStringLiteral("mnuQuit"));

    // The text box takes the whole window, whatever its size.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menu);
    layout->addWidget(Text1);
    resize(560, 400);

    connect(nmuNameChangeSave, &QAction::triggered, this, &MemoEditor::nameChangeSave);
    connect(mnuRewrite, &QAction::triggered, this, &MemoEditor::rewrite);
    connect(mnuQuit, &QAction::triggered, this, &QDialog::close);
}

bool MemoEditor::LoadFile() {
    const MemoRead read = readMemo(recordFileIn(folder_, FileN));
    if (read.problem != RecordProblem::None && read.problem != RecordProblem::Empty) {
        box(problemText(read.problem, FileN));
        return false;
    }
    Text1->setPlainText(read.text);
    setWindowTitle(memoCaption(FileN, read.lines));
    if (read.problem == RecordProblem::Empty) box(problemText(read.problem, FileN));
    return true;
}

bool MemoEditor::saveTo(const QString& name) {
    const RecordProblem problem = writeMemo(recordFileIn(folder_, name), Text1->toPlainText());
    if (problem != RecordProblem::None) box(problemText(problem, name));
    return problem == RecordProblem::None;
}

void MemoEditor::rewrite() {
    saveTo(FileN);
}

void MemoEditor::nameChangeSave() {
    const auto answer = dialogs_.askText(this, names_.programTitle, names_.memoSavePrompt, {});
    if (!answer || answer->isEmpty()) return;
    const QString name = memoSaveName(*answer, names_);
    // The editor goes on with the new name only once the text is there, so
    // "上書保存" never aims at a file that could not be written.
    if (saveTo(name)) FileN = name;
}

void MemoEditor::box(const QString& text) {
    // Before the editor is shown its boxes stand over the main window.
    dialogs_.message(isVisible() ? this : parentWidget(), names_.programTitle, text);
}

}  // namespace gamecommon
