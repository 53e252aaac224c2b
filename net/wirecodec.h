#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace net {

// On the wire a message is its UTF-16 code units, low byte first, with no
// byte-order mark, no length and no terminator. The byte order is written out
// by hand so the result does not depend on the machine.
QByteArray encodeMessage(QStringView text);

// What encodeMessage gives, without a copy where the machine allows: on a
// little-endian machine a view of the text's own storage, else the bytes
// encoded into `scratch`. Valid while the text (and `scratch`) are.
QByteArrayView wireBytes(QStringView text, QByteArray& scratch);

// The reverse of encodeMessage. An odd trailing byte is half a character and
// is not decoded; the framer keeps it until its partner arrives.
QString decodeMessage(QByteArrayView bytes);

// Decodes `bytes` (an even count) onto the end of `text`, without a text of
// its own in between.
void appendDecoded(QString& text, QByteArrayView bytes);

}  // namespace net
