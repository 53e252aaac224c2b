#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QWidget>
#include <array>

#include "dialogs.h"
#include "gamefilelist.h"

namespace quenlis {

struct QuenlisOptions {
    // The folder a list-file name without a folder is looked up in: the
    // program's working directory, which the lobby client sets to its own
    // folder so the list lands where the client reads it. Relative program
    // paths are taken from here too.
    QString workingFolder;
    // Where message boxes go; not null, and it must outlive the window.
    platform::Dialogs* dialogs = nullptr;
};

// The setup tool's window "Quenlis": one row per game slot with its label,
// the program path `Text1`(slot), "設定" (`Option1`, pick a program) and
// "起動" (`Option2`, start it in its folder); under them the list-file name
// `Text2` ("GameFile.txt"), "保　存" (`SaveBTN`) and "終　了" (`SetBTN`).
// The list is read once when the window is made; "保　存" becomes usable
// after a program has been picked, and nothing is saved unless it is pressed.
class QuenlisWindow : public QWidget {
    Q_OBJECT
public:
    explicit QuenlisWindow(QuenlisOptions options, QWidget* parent = nullptr);

    // The path the file dialog handed back: empty when it was cancelled.
    const QString& thisPath() const { return ThisPath; }

    // Reads the list file into the path boxes (done at start-up). A slot whose
    // line names no program cannot be started until the tool runs again.
    void FileLoad();
    // Writes the path boxes to the list file; false (and a message box) when
    // a path cannot be stored or the file cannot be written.
    bool FileSave();

    // The list file the name box names.
    QString listFilePath() const;

private:
    // "設定": shows the file dialog and takes the path it hands back.
    void choose(int slot);
    // "起動": starts the slot's program in its folder.
    void start(int slot);
    void message(const QString& text);

    QString workingFolder_;
    platform::Dialogs& dialogs_;
    QString ThisPath;

    // Controls, each with its member name as object name (a slot's,
    // "Text1_0" for the first).
    std::array<QLabel*, gamefile::kGameSlotCount> slotLabel{};
    std::array<QLineEdit*, gamefile::kGameSlotCount> Text1{};
    std::array<QPushButton*, gamefile::kGameSlotCount> Option1{};
    std::array<QPushButton*, gamefile::kGameSlotCount> Option2{};
    QLabel* nameLabel = nullptr;
    QLineEdit* Text2 = nullptr;
    QPushButton* SaveBTN = nullptr;
    QPushButton* SetBTN = nullptr;
};

}  // namespace quenlis
