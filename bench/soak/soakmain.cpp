// `make soak`: the real lobby server on 127.0.0.1 under a full lobby of
// players, watchers and polling clients, with a tenth of the connections cut
// along the way. Prints one line of figures; the status is 0 when everything
// the users would see held.
//
//   soak [--brellow PATH] [--seconds N] [--seed N] [--users FILE]
//
// --users gives the server this user file instead of the soak's own (users
// u1, u2, ... with passwords pw1, pw2, ...): a file that refuses them shows
// that the soak fails when nobody can log in.

#include <QCoreApplication>
#include <QDateTime>
#include <cstdio>

#include "soakrun.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    soak::SoakOptions options;
    options.brellow = QStringLiteral(QUOR_SOAK_BRELLOW);
    options.seed = static_cast<quint64>(QDateTime::currentMSecsSinceEpoch());
    const QStringList args = app.arguments();
    // Each option is followed by its value.
    for (qsizetype i = 1; i < args.size(); i += 2) {
        const QString value = i + 1 < args.size() ? args[i + 1] : QString();
        if (args[i] == u"--brellow") {
            options.brellow = value;
        } else if (args[i] == u"--seconds") {
            options.seconds = value.toInt();
        } else if (args[i] == u"--seed") {
            options.seed = value.toULongLong();
        } else if (args[i] == u"--users" && !value.isEmpty()) {
            options.usersFile = value;
        } else {
            std::fprintf(stderr,
                         "usage: soak [--brellow PATH] [--seconds N] [--seed N] [--users FILE]\n");
            return 2;
        }
    }
    // A hung client is dropped two minutes after its last poll at most; a
    // shorter run could not see it.
    if (options.seconds < 150) {
        std::fprintf(stderr, "soak: --seconds must be 150 or more\n");
        return 2;
    }
    soak::SoakRun run(options);
    return run.exec();
}
