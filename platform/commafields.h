#pragma once

#include <QStringList>
#include <QStringView>

namespace platform {

// Splits one line of a settings file into its fields, the way the files have
// always been read: fields are separated by ",", blanks (spaces and tabs)
// around a field are dropped, and a field in double quotes keeps what is
// inside them, commas and blanks included. Text after a closing quote up to
// the next comma is ignored. An empty line is one empty field.
QStringList splitCommaFields(QStringView line);

}  // namespace platform
