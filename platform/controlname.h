#pragma once

#include <QString>
#include <array>
#include <cstddef>

namespace platform {

// Gives a control its member name as object name, by which the tests find it
// as a user finds it by its caption; the controls of an array member are
// named after it and their position, "mnuSrtrong_3".
template <class T>
T* named(T* control, const QString& member) {
    control->setObjectName(member);
    return control;
}

template <class T, std::size_t N>
void named(const std::array<T*, N>& controls, const QString& member) {
    for (std::size_t i = 0; i < N; ++i)
        controls[i]->setObjectName(member + u'_' + QString::number(i));
}

}  // namespace platform
