#include "replaywindow.h"

#include <QHBoxLayout>

#include "controlname.h"
#include "recordfile.h"
#include "recordtexts.h"

namespace gamecommon {

ReplayWindow::ReplayWindow(QString exFile, QString folder, RecordBoard& board,
                           const RecordNames& names, platform::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      ExFile(std::move(exFile)),
      folder_(std::move(folder)),
      board_(board),
      names_(names),
      dialogs_(dialogs) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(kReplayCaption);
    Command1 =
        platform::named(new QPushButton(QStringLiteral("<<"), this), QStringLiteral("Command1"));
    Command2 =
        platform::named(new QPushButton(QStringLiteral("<"), this), QStringLiteral("Command2"));
    Command3 =
        platform::named(new QPushButton(QStringLiteral(">"), this), QStringLiteral("Command3"));
    Label1 = platform::named(new QLabel(this), QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setMinimumWidth(Label1->fontMetrics().horizontalAdvance(QStringLiteral("00000")));

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(Command1);
    layout->addWidget(Command2);
    layout->addWidget(Label1);
    layout->addWidget(Command3);

    for (QPushButton* button : {Command1, Command2, Command3})
        button->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, [this] {
        cursor_.first();
        DispLay();
    });
    connect(Command2, &QPushButton::clicked, this, [this] {
        cursor_.back();
        DispLay();
    });
    connect(Command3, &QPushButton::clicked, this, [this] {
        cursor_.forward();
        DispLay();
    });
}

bool ReplayWindow::LoadFile() {
    ReplayLoad load = loadReplay(recordFileIn(folder_, ExFile),
                                 [this](QStringView line) { return board_.isPosition(line); });
    if (load.problem != RecordProblem::None) {
        box(problemText(load.problem, ExFile));
        return false;
    }
    const auto first = load.cursor.position();
    if (!first) {
        box(problemText(RecordProblem::Unreadable, ExFile));
        return false;
    }
    cursor_ = std::move(load.cursor);
    setWindowTitle(replayCaption(ExFile));
    board_.showRecordedPosition(*first);
    Label1->setText(QString::number(cursor_.lineNumber()));
    if (!cursor_.skippedLines().isEmpty()) box(skippedLinesText(ExFile, cursor_.skippedLines()));
    return true;
}

void ReplayWindow::DispLay() {
    // The record is read as it is stepped through; one changed since it was
    // loaded may no longer hold the line, and the board then stays as it is.
    const auto position = cursor_.position();
    if (!position) {
        box(problemText(RecordProblem::Unreadable, ExFile));
        return;
    }
    Label1->setText(QString::number(cursor_.lineNumber()));
    if (isVisible() && windowModality() != Qt::NonModal) {
        // From the first step on the main window can be used beside the
        // replay; a window's modality only changes while it is hidden.
        hide();
        setWindowModality(Qt::NonModal);
        board_.showRecordedPosition(*position);
        show();
        return;
    }
    board_.showRecordedPosition(*position);
}

void ReplayWindow::box(const QString& text) {
    // LoadFile runs before the window is shown: its boxes stand over the main
    // window.
    dialogs_.message(isVisible() ? this : parentWidget(), names_.programTitle, text);
}

}  // namespace gamecommon
