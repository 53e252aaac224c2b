#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

#include "widgetdriver.h"

// The controls every file dialog has (platform::FileOpenDialog), by name.
namespace testsupport {

inline QComboBox* driveList(const QObject& dialog) {
    return child<QComboBox>(dialog, "Drive1");
}
inline QListWidget* folderList(const QObject& dialog) {
    return child<QListWidget>(dialog, "Dir1");
}
inline QListWidget* fileList(const QObject& dialog) {
    return child<QListWidget>(dialog, "File1");
}
inline QLineEdit* nameBox(const QObject& dialog) {
    return child<QLineEdit>(dialog, "Text1");
}

}  // namespace testsupport
