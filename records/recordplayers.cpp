#include "recordplayers.h"

namespace records {

QString headerName(const QString& name) {
    QString line = name;
    for (QChar& c : line)
        if (c.category() == QChar::Other_Control) c = u' ';
    return line.trimmed();
}

}  // namespace records
