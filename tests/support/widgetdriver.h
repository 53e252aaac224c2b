#pragma once

#include <gtest/gtest.h>
#include <QObject>
#include <QString>
#include <cstddef>
#include <stdexcept>
#include <string>

// Finds the controls of a window as a user finds them by their caption: by
// object name. Every control a test reaches is named after the member the
// window keeps it in; the controls of an array member are named after it and
// their position, "mnuSrtrong_3".
namespace testsupport {

inline QString itemName(const QString& member, std::size_t index) {
    return member + u'_' + QString::number(index);
}

// The one control of type T named `name` within `window`. A missing or
// doubled control fails the test, naming what was looked for, and ends it.
template <class T>
T* child(const QObject& window, const QString& name) {
    const QList<T*> found = window.findChildren<T*>(name);
    if (found.size() == 1) return found.front();
    const std::string what = (found.isEmpty() ? "no " : "more than one ") +
                             std::string(T::staticMetaObject.className()) + " named \"" +
                             name.toStdString() + "\" in " + window.metaObject()->className();
    ADD_FAILURE() << what;
    throw std::runtime_error(what);
}

template <class T>
T* child(const QObject& window, const QString& member, std::size_t index) {
    return child<T>(window, itemName(member, index));
}

// Whether the window has a control named `name` at all (an item only one of
// the programs has).
inline bool hasChild(const QObject& window, const QString& name) {
    return window.findChild<QObject*>(name) != nullptr;
}

}  // namespace testsupport
