#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <optional>

namespace lobbyclient {

// The game names of the lobby, by game kind, in the user's language.
inline QStringList GameName() {
    return {QCoreApplication::translate("lobbyclient", "将棋"),
            QCoreApplication::translate("lobbyclient", "囲碁")};
}

// The lobby client's login: what "LOGIN.TXT" holds, one Shift-JIS line
// "ID,PASS,MAIL,SERVER,KIND". A game program in the same folder reads the
// first four fields of the same file and logs in as this user.
struct LoginRecord {
    QString ID;
    QString PASS;
    QString MAIL;
    QString Server;
    int Kind = -1;  // the chosen game, -1 when none

    friend bool operator==(const LoginRecord&, const LoginRecord&) = default;
};

enum class SettingsRead { Ok, Missing, Unreadable };

// Reads the five fields; a missing file and a file of fewer than five fields
// (a game program's own four-field file, say) are told apart.
SettingsRead readClientSettings(const QString& path, LoginRecord& record);

// Creates or overwrites the file with the one line of the five values.
bool writeClientSettings(const QString& path, const LoginRecord& record);

}  // namespace lobbyclient
