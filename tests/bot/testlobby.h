#pragma once

#include <gtest/gtest.h>

#include <QStringList>

#include "botprocess.h"
#include "brellowprocess.h"

namespace bot::test {

// The real lobby server on a port the system picked, for people and bots; every
// password is "pw" and every mail address ID@example.jp. The test process
// reaches it through QUOR_PORT as every program does.
class TestLobby {
public:
    TestLobby() : server_(userLines()) {
        started_ = server_.start();
        qputenv("QUOR_PORT", QByteArray::number(server_.port));
    }

    bool started() const { return started_; }
    quint16 port() const { return server_.port; }

    // A bot of this lobby, thinking `seconds` per move.
    QStringList botArguments(const char* game, const QString& id, int seconds) const {
        return {QStringLiteral("--game"),     QString::fromLatin1(game),
                QStringLiteral("--id"),       id,
                QStringLiteral("--password"), QStringLiteral("pw"),
                QStringLiteral("--mail"),     id + QStringLiteral("@example.jp"),
                QStringLiteral("--seconds"),  QString::number(seconds)};
    }

private:
    static QStringList userLines() {
        QStringList lines;
        int n = 0;
        for (const char* id : {"taro", "hana", "jiro", "bot-shogi", "bot-go", "bot-a", "bot-b"})
            lines << QStringLiteral("%1,%2,pw,%2@example.jp,").arg(++n).arg(QLatin1String(id));
        return lines;
    }

    testsupport::BrellowProcess server_;
    bool started_ = false;
};

}  // namespace bot::test
