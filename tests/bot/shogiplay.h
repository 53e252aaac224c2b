#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <optional>

#include "botprocess.h"
#include "shogimoves.h"
#include "shogirules/legalmoves.h"

namespace bot::test {

inline shogi::ShogiPosition turnedView(const shogi::ShogiPosition& p) {
    return shogi::TurnedForOpponent(p);
}

// The move of side 1 that the rules allow and that turns `before` into
// `after`; nothing when there is none.
inline std::optional<ShogiMove> legalMoveBetween(const shogi::ShogiPosition& before,
                                                 const shogi::ShogiPosition& after) {
    for (const shogi::LegalMove& legal : shogi::LegalMoves(before)) {
        if (legal.after != after) continue;
        ShogiMove m;
        m.drop = legal.release.fromHand;
        if (m.drop)
            m.kind = legal.release.piece.kind();
        else
            m.from = legal.release.from;
        m.to = *legal.release.to;
        m.promote = legal.outcome.promoted;
        return m;
    }
    return std::nullopt;
}

// GNU Shogi as the test's own player, spoken to line by line and waited for:
// a search of two plies, the engine playing the first player's pieces.
class ShogiBrain {
public:
    ShogiBrain() {
        process_.start(installedEngine(QStringLiteral("gnushogi")), {});
        process_.waitForStarted(5000);
        process_.write("depth\n2\n");
    }
    ~ShogiBrain() {
        process_.kill();
        process_.waitForFinished(5000);
    }

    // Its first move, as the first player.
    std::optional<QString> first() { return ask("go\n"); }
    // Its answer to the second player's move.
    std::optional<QString> answer(const QString& move) { return ask(move.toLatin1() + '\n'); }

private:
    std::optional<QString> ask(const QByteArray& line) {
        static const QRegularExpression own(QStringLiteral("\\d+\\. \\.\\.\\. (\\S+)"));
        process_.write(line);
        for (;;) {
            while (!process_.canReadLine()) {
                if (!process_.waitForReadyRead(10000)) return std::nullopt;
            }
            const QString text = QString::fromLatin1(process_.readLine());
            if (text.contains(u"Illegal") || text.contains(u"mates")) return std::nullopt;
            const auto found = own.match(text);
            if (found.hasMatch()) return found.captured(1);
        }
    }

    QProcess process_;
};

}  // namespace bot::test
