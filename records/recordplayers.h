#pragma once

#include <QString>

namespace records {

// Who played a game, for the header of a record shared with others: the
// first player (先手, black) and the second (後手, white). A program's own
// record knows no names and leaves them empty; a name left empty is not
// written.
struct RecordPlayers {
    QString first;
    QString second;
};

// A name as a header line can hold it: line breaks and other control
// characters become blanks, blanks around it go.
QString headerName(const QString& name);

}  // namespace records
