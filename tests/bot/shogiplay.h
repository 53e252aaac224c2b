#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <optional>

#include "botprocess.h"
#include "shogi/moveattempt.h"
#include "shogimoves.h"

namespace bot::test {

// The same position seen by the other player.
inline shogi::ShogiPosition turnedView(const shogi::ShogiPosition& p) {
    return {p.Ban.rotated(), p.OppHand, p.MyHand};
}

// The move of side 1 that the rules allow and that turns `before` into
// `after`, found by trying every move and drop of the rules library; nothing
// when there is none.
inline std::optional<ShogiMove> legalMoveBetween(const shogi::ShogiPosition& before,
                                                 const shogi::ShogiPosition& after) {
    using shogi::Square;
    const auto leadsThere = [&](const ShogiMove& m) {
        shogi::ShogiPosition trial = before;
        shogi::DragRelease release;
        release.fromHand = m.drop;
        release.piece = m.drop ? shogi::Cell::own(m.kind) : trial.Ban.at(m.from);
        release.from = m.from;
        release.to = m.to;
        shogi::MoveAttemptHooks hooks;
        hooks.askPromotion = [&m] { return m.promote; };
        const auto outcome = shogi::AttemptMove(trial, release, hooks);
        return outcome.accepted() && outcome.promoted == m.promote && trial == after;
    };
    for (int t = 0; t < shogi::kCellCount; ++t) {
        ShogiMove m;
        m.to = Square::fromCellNumber(t);
        for (const shogi::HandEntry& e : before.MyHand.entries) {
            m.drop = true;
            m.kind = e.code;
            if (e.count > 0 && leadsThere(m)) return m;
        }
        m.drop = false;
        for (int f = 0; f < shogi::kCellCount; ++f) {
            m.from = Square::fromCellNumber(f);
            if (!before.Ban.at(m.from).isOwnPiece()) continue;
            for (const bool promote : {false, true}) {
                m.promote = promote;
                if (leadsThere(m)) return m;
            }
        }
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
