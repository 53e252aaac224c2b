#pragma once

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <functional>

// Drives the lists and modal dialogs of the file dialogs as a user would.
namespace testsupport {

// The line of a list showing `name` (the folder lists indent their lines).
inline QListWidgetItem* itemNamed(QListWidget* list, const QString& name) {
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->text().trimmed() == name) return list->item(row);
    return nullptr;
}

inline bool clickItem(QListWidget* list, const QString& name) {
    QListWidgetItem* item = itemNamed(list, name);
    if (!item) return false;
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    return true;
}

inline bool doubleClickItem(QListWidget* list, const QString& name) {
    QListWidgetItem* item = itemNamed(list, name);
    if (!item) return false;
    list->scrollToItem(item);
    // What a window system delivers: press and release, then the double
    // click and its release.
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
    return true;
}

// Runs `act` on the dialog of type `D` as soon as one is open: a modal dialog
// blocks whoever opened it, so what the user does in it is queued before the
// menu item or button that opens it is pressed. If the dialog is still open
// afterwards it is cancelled, so a failing test does not hang.
template <typename D>
void whenDialogOpens(std::function<void(D&)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act)] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<D*>(widget);
            if (!dialog || !dialog->isVisible()) continue;
            timer->stop();
            timer->deleteLater();
            act(*dialog);
            if (dialog->isVisible()) dialog->reject();
            return;
        }
    });
    timer->start();
}

}  // namespace testsupport
