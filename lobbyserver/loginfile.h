#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <optional>
#include <utility>

namespace lobby {

// The server's user file, "BrellowLogIn.txt": Shift-JIS, one user per line,
// five comma fields: a number (not used), user ID, password, mail address and
// a text (not used). CR, LF and CR LF all end a line.
inline constexpr const char* kLoginFileName = "BrellowLogIn.txt";

enum class LoginCheck {
    Allowed,      // a record holds exactly this ID, password and mail address
    Refused,      // no record does
    InvalidData,  // the file is missing, unreadable or holds no record
};

// The user file as the server consults it at every login. The server only
// reads it, and reads it again only when it has changed (another file, size
// or time), so users added while the server runs can log in at once while a
// large file is not read anew for every login.
//
// A line without an ID or without a password is no user (an account with an
// empty ID and no password would let anybody in): it is skipped, and the
// lines skipped are told once for each reading of the file.
class UserFile {
public:
    // The file is looked up in `folder` without regard to the case of its name.
    explicit UserFile(QString folder);

    // Looks the login up. Comparisons are exact (case and blanks count);
    // blanks around unquoted fields in the file are dropped by the field
    // reader, and blank lines are passed over.
    LoginCheck check(const QString& id, const QString& pass, const QString& mail);

    // The lines (1 for the first) the last reading skipped and that were not
    // taken yet; empty when there are none or they were taken already.
    QList<int> takeSkippedLines();

private:
    // What tells one state of the file from another.
    struct Stamp {
        quint64 device = 0;
        quint64 inode = 0;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        qint64 changedNs = 0;
        bool operator==(const Stamp&) const = default;
    };

    bool read(const QString& path);

    QString folder_;
    std::optional<Stamp> stamp_;  // of the file as read; none when not read
    bool anyRecord_ = false;
    QMultiHash<QString, std::pair<QString, QString>> users_;  // ID -> password, mail
    QList<int> skipped_;
};

}  // namespace lobby
