#pragma once

#include <QString>
#include <optional>

namespace gamecommon {

// The four login values a game program keeps in "LOGIN.TXT" next to itself:
// one line "ID,PASS,MAIL,SERVER" in Shift-JIS. The lobby client keeps a file
// of the same name with a fifth field, so a game program in the client's
// folder logs in as the client's user.
struct LoginSettings {
    QString id;
    QString password;
    QString mail;
    QString server;

    friend bool operator==(const LoginSettings&, const LoginSettings&) = default;
};

inline constexpr char kLoginFileName[] = "LOGIN.TXT";

// Reads the first four comma fields of the file (blanks around a field are
// dropped, double quotes may hold a comma); nothing when the file is missing,
// unreadable or holds fewer than four fields.
std::optional<LoginSettings> readLoginSettings(const QString& path);

// Creates or overwrites the file with the one line of the four values.
bool writeLoginSettings(const QString& path, const LoginSettings& settings);

// "LOGIN.TXT" in `folder`, found whatever the case of its name.
QString loginFileIn(const QString& folder);

}  // namespace gamecommon
