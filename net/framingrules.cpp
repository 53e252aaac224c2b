#include "framingrules.h"

namespace net {

MessageKind countedMessage(const QString& keyword, const QString& endText, int atLeast,
                           int atMost) {
    MessageKind kind;
    kind.keyword = keyword;
    kind.end = MessageEnd::Marker;
    kind.endText = endText;
    kind.fieldsAtLeast = atLeast;
    kind.fieldsAtMost = atMost;
    return kind;
}

MessageKind bareMessage(const QString& keyword, const QString& endText) {
    MessageKind kind = countedMessage(keyword, endText, 0, -1);
    kind.mayStandAlone = true;
    return kind;
}

}  // namespace net
