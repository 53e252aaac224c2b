// Qt's own words in the programs' windows.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "dialogs.h"
#include "qttexts.h"

namespace {

// The buttons of a message box read as on every Japanese desktop, in the
// boxes the programs open themselves (the promotion question) as in any other.
TEST(QtTexts, MessageBoxButtonsAreJapanese) {
    ASSERT_TRUE(platform::installQtTexts(*qApp));

    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel |
                           QMessageBox::Ok);
    const std::pair<QMessageBox::StandardButton, const char*> words[] = {
        {QMessageBox::Yes, "はい"},
        {QMessageBox::No, "いいえ"},
        {QMessageBox::Cancel, "キャンセル"},
        {QMessageBox::Ok, "OK"}};
    for (const auto& [button, word] : words)
        EXPECT_TRUE(box.button(button)->text().startsWith(QString::fromUtf8(word)))
            << word << " / " << box.button(button)->text().toStdString();

    QStringList asked;
    QTimer::singleShot(0, [&] {
        auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(question, nullptr);
        for (QAbstractButton* b : question->buttons())
            asked << b->text();
        question->button(QMessageBox::No)->click();
    });
    platform::WidgetDialogs dialogs;
    EXPECT_FALSE(dialogs.askYesNo(nullptr, "Varnel", QStringLiteral("成りますか？")));
    ASSERT_EQ(asked.size(), 2);
    EXPECT_TRUE(asked.filter(QStringLiteral("はい")).size() == 1 &&
                asked.filter(QStringLiteral("いいえ")).size() == 1)
        << asked.join(',').toStdString();
}

}  // namespace
