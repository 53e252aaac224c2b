#include <gtest/gtest.h>

#include <string>

#include "diagram.h"
#include "gnugogames.h"
#include "gorules/capture.h"
#include "gtpclient.h"

// Plays random games on our board and on GNU Go's side by side and compares
// every position and both capture counts after every move. GNU Go forbids
// suicide and ko, so every move it allows is one where our rules (which
// allow both) must give the same board as any go rules.

namespace go {
namespace {

using test::diagramOf;
using test::GtpClient;

TEST(GoCrossCheck, RandomGamesGiveGnuGosPositionsAndCaptures) {
    const QString program = test::gnugoProgram();
    ASSERT_FALSE(program.isEmpty()) << test::gnugoMissing().toStdString();
    GtpClient gnugo;
    ASSERT_TRUE(gnugo.start(program, {"--mode", "gtp"})) << gnugo.error().toStdString();
    int taken = 0;
    const QStringList checks{"list_stones black", "list_stones white", "captures black",
                             "captures white"};
    for (unsigned seed = test::kFirstGnuGoSeed; seed < test::kFirstGnuGoSeed + test::kGnuGoGames;
         ++seed) {
        std::array<qint32, 2> captured{};
        test::playGnuGoGame(gnugo, seed, checks, [&](const test::GnuGoMove& move) {
            const auto theirs = test::banOf(move.answers[0], move.answers[1]);
            ASSERT_TRUE(theirs) << "list_stones: " << move.answers[0].toStdString() << " / "
                                << move.answers[1].toStdString();
            ASSERT_TRUE(*move.ban == *theirs) << "ours:\n"
                                              << diagramOf(*move.ban) << "GNU Go's:\n"
                                              << diagramOf(*theirs);
            ASSERT_EQ(std::to_string(move.captured[0]), move.answers[2].toStdString())
                << "taken by black";
            ASSERT_EQ(std::to_string(move.captured[1]), move.answers[3].toStdString())
                << "taken by white";
            captured = move.captured;
        });
        if (HasFatalFailure()) return;
        taken += captured[0] + captured[1];
    }
    // Random games take a dozen stones or more each; far fewer would mean
    // the captures went unchecked.
    EXPECT_GT(taken, 5 * test::kGnuGoGames);
}

}  // namespace
}  // namespace go
