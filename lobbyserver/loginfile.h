#pragma once

#include <QString>

namespace lobby {

// The server's user file, "BrellowLogIn.txt": Shift-JIS, one user per line,
// five comma fields: a number (not used), user ID, password, mail address and
// a text (not used). The server only reads it, at every login, so users added
// while it runs can log in at once.
inline constexpr const char* kLoginFileName = "BrellowLogIn.txt";

enum class LoginCheck {
    Allowed,      // a record holds exactly this ID, password and mail address
    Refused,      // no record does
    InvalidData,  // the file is missing, unreadable or holds no record
};

// Looks the login up in the user file at `path`. Comparisons are exact (case
// and blanks count); blanks around unquoted fields in the file are dropped by
// the field reader. Blank lines and lines too short to hold the three fields
// are passed over.
LoginCheck checkLoginFile(const QString& path, const QString& id, const QString& pass,
                          const QString& mail);

}  // namespace lobby
