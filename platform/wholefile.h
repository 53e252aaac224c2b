#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Writes the whole file or, when that fails, leaves what was there before:
// the bytes go beside the old file and are renamed over it, so a failed write
// never leaves half a file behind.
bool writeWholeFile(const QString& path, const QByteArray& bytes);

}  // namespace platform
