#include <gtest/gtest.h>

#include "recordfiles.h"
#include "recordtext.h"

namespace records {
namespace {

using test::RecordFolder;

QByteArray sjis(const QString& text) {
    return platform::toShiftJis(text);
}

const QString kKifHead = QStringLiteral("手合割：平手\r\n手数----指手---------消費時間--\r\n");

// The usual start as a board diagram and as CSA's rows, the way other
// programs write them (the second player's king is "v玉" there).
const QStringList kDiagram{"|v香v桂v銀v金v玉v金v銀v桂v香|一", "| ・v飛 ・ ・ ・ ・ ・v角 ・|二",
                           "|v歩v歩v歩v歩v歩v歩v歩v歩v歩|三", "| ・ ・ ・ ・ ・ ・ ・ ・ ・|四",
                           "| ・ ・ ・ ・ ・ ・ ・ ・ ・|五", "| ・ ・ ・ ・ ・ ・ ・ ・ ・|六",
                           "| 歩 歩 歩 歩 歩 歩 歩 歩 歩|七", "| ・ 角 ・ ・ ・ ・ ・ 飛 ・|八",
                           "| 香 桂 銀 金 玉 金 銀 桂 香|九"};
const QStringList kCsaRows{"P1-KY-KE-GI-KI-OU-KI-GI-KE-KY", "P2 * -HI *  *  *  *  * -KA * ",
                           "P3-FU-FU-FU-FU-FU-FU-FU-FU-FU", "P4 *  *  *  *  *  *  *  *  * ",
                           "P5 *  *  *  *  *  *  *  *  * ", "P6 *  *  *  *  *  *  *  *  * ",
                           "P7+FU+FU+FU+FU+FU+FU+FU+FU+FU", "P8 * +KA *  *  *  *  * +HI * ",
                           "P9+KY+KE+GI+KI+OU+KI+GI+KE+KY"};

QByteArray sjisLines(const QStringList& lines) {
    return sjis(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

TEST(RecordImport, AFileThatCannotBeReadWholeIsRefusedWithItsLineAndNothingIsWritten) {
    const QByteArray kif = sjis(kKifHead + "   1 ７六歩(77)\r\n   2 ３四歩(33)\r\n");
    struct Case {
        const char* name;
        QString file;
        QByteArray bytes;
        QString message;  // after the file name
    };
    const std::vector<Case> cases{
        {"KIF cut off in a move", "in.kif", kif + sjis("   3 ２二"),
         ":5: not a move (no piece name): ２二"},
        {"KIF cut off inside a character", "in.kif", kif + sjis("   3 ２二").chopped(1),
         ":5: not Shift-JIS text"},
        {"KIF with an illegal move", "in.kif", kif + sjis("   3 ７四歩(76)\r\n"),
         ":5: move 3 is not allowed: a move the piece cannot make"},
        {"KIF with a piece that is not there", "in.kif", kif + sjis("   3 ７五銀(76)\r\n"),
         ":5: move 3 is not allowed: another piece stands on the square moved from"},
        {"KIF with a second pawn in a file", "in.kif",
         sjis(kKifHead +
              "1 ７六歩(77)\r\n2 ３四歩(33)\r\n3 ２二角成(88)\r\n4 同　銀(31)\r\n"
              "5 ７五歩(76)\r\n6 ７四歩(73)\r\n7 同　歩(75)\r\n8 ５二金(61)\r\n9 ２六歩打\r\n"),
         ":11: move 9 is not allowed: 二歩です。"},
        {"KIF of a handicap game", "in.kif", sjis("手合割：香落ち\r\n1 ３四歩(33)\r\n"),
         ":1: a handicap game (香落ち)"},
        {"KIF with a move out of order", "in.kif", kif + sjis("   4 ２六歩(27)\r\n"),
         ":5: move number 4 where 3 was due"},
        {"KIF without a move", "in.kif", sjis(kKifHead), ": the file holds no move"},
        {"CSA cut off in a move", "in.csa", "V2.2\r\nPI\r\n+\r\n+7776FU\r\n-33",
         ":5: move 2 is not a move: -33"},
        {"CSA with an illegal move", "in.csa", "V2.2\r\nPI\r\n+\r\n+7775FU\r\n",
         ":4: move 1 is not allowed: a move the piece cannot make"},
        {"CSA naming the wrong piece", "in.csa", "V2.2\r\nPI\r\n+\r\n+7776KY\r\n",
         ":4: move 1 names a piece that is not on the square moved from"},
        {"CSA moving out of turn", "in.csa", "V2.2\r\nPI\r\n+\r\n+7776FU,T3\r\n+2726FU\r\n",
         ":5: move 2 is not allowed: it is the other player's turn"},
        {"CSA of a handicap game", "in.csa", "V2.2\r\nPI82HI\r\n-\r\n-3334FU\r\n",
         ":2: a handicap or pieces in hand at the start"},
        {"CSA with binary noise", "in.csa", QByteArray("V2.2\r\n\x85\xFF\x01\r\n"),
         ":2: not Shift-JIS text"},
        {"KIF with a board diagram cut off", "in.kif",
         sjisLines(kDiagram.mid(0, 8) + QStringList{"   1 ７六歩(77)"}),
         ":9: a board diagram of 8 rows: one has nine"},
        {"KIF with a diagram row cut off", "in.kif", sjisLines({"| ・ ・ ・|四"}),
         ":1: not a row of a board diagram"},
        {"KIF with a hand no game holds", "in.kif", sjisLines({"先手の持駒：歩十九"}),
         ":1: not a hand of pieces"},
        {"KIF with a diagram of three rooks", "in.kif",
         sjisLines(kDiagram.mid(0, 3) + QStringList{"| ・ ・ ・ ・ 飛 ・ ・ ・ ・|四"} +
                   kDiagram.mid(4) + QStringList{"後手番", "   1 ３四歩(33)"}),
         ":11: a board diagram that is no position of a game: 3 飛"},
        {"CSA set-up placing pieces one by one", "in.csa",
         sjisLines(QStringList{"V2.2"} + kCsaRows + QStringList{"P+55FU", "+"}),
         ":11: pieces placed one by one"},
        {"CSA set-up without the second king", "in.csa",
         sjisLines(QStringList{"V2.2", "P1-KY-KE-GI-KI *  * -GI-KE-KY"} + kCsaRows.mid(1) +
                   QStringList{"+"}),
         ":11: a start that is no position of a game: no king of the second player"},
        {"SGF cut off in a value", "in.sgf", "(;FF[4]GM[1]SZ[19]\n;B[pd];W[d",
         ":2: the file ends inside a property value"},
        {"SGF cut off after a node", "in.sgf", "(;FF[4]GM[1]SZ[19]\n;B[pd];W[dp]\n",
         ":3: the file ends before the game is closed"},
        {"SGF with a stone on a stone", "in.sgf", "(;FF[4]SZ[19]\n;B[pd]\n;W[pd])",
         ":3: W[pd] is on a point that holds a stone"},
        {"SGF on a small board", "in.sgf", "(;FF[4]GM[1]SZ[9];B[ee])", ":1: a board of size 9"},
        {"SGF of another game", "in.sgf", "(;FF[4]GM[2];B[ee])", ":1: not a go game (GM[2])"},
        {"SGF passing in mid-game", "in.sgf", "(;FF[4]\n;B[pd]\n;W[]\n;B[dp])",
         ":3: a pass before further play"},
        {"SGF that is no SGF", "in.sgf", "hello", ":1: not SGF"},
        {"SGF saved as UTF-16", "in.sgf", QByteArray("\xFF\xFE(\0;\0B\0[\0p\0d\0]\0)\0", 18),
         ":1: not SGF text: UTF-16"},
        {"SGF not in the encoding it names", "in.sgf",
         "(;FF[4]GM[1]SZ[19]CA[UTF-8]\n;B[pd]\n;W[dp]C[" + sjis("よろしく") + "])",
         ":3: not UTF-8 text, which its CA[UTF-8] says it is"},
        {"SGF with binary noise", "in.sgf", "(;FF[4]\x85;B[pd])", ":1: not SGF: the byte 0x85"},
        {"SGF longer than any game", "in.sgf", "(;FF[4]" + QByteArray(";B[aa]").repeated(20001),
         ":1: more than 20000 moves"},
    };
    const QByteArray before("what was there before\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordFolder folder;
        folder.write(c.file, c.bytes);
        const QString out = c.file.endsWith(".sgf") ? "out.chs" : "out.sho";
        folder.write(out, before);
        const ConversionResult result = folder.convert(c.file, out);
        EXPECT_EQ(result.outcome, ConversionResult::Outcome::Failed);
        ASSERT_EQ(result.messages.size(), 1);
        EXPECT_TRUE(result.messages[0].startsWith(folder.path(c.file) + c.message))
            << result.messages[0].toStdString();
        EXPECT_EQ(folder.read(out), before);
    }
}

TEST(RecordImport, AFileTooLargeForAnyGameIsNotRead) {
    for (const QString& name :
         {QStringLiteral("big.kif"), QStringLiteral("big.csa"), QStringLiteral("big.sgf"),
          QStringLiteral("big.sho"), QStringLiteral("big.chs")}) {
        SCOPED_TRACE(name.toStdString());
        RecordFolder folder;
        folder.write(name, QByteArray(10 * 1024 * 1024, '1'));
        const QString out = name == u"big.sho"   ? QStringLiteral("out.kif")
                            : name == u"big.chs" ? QStringLiteral("out.sgf")
                            : name == u"big.sgf" ? QStringLiteral("out.chs")
                                                 : QStringLiteral("out.sho");
        const ConversionResult result = folder.convert(name, out);
        EXPECT_EQ(result.outcome, ConversionResult::Outcome::Failed);
        ASSERT_EQ(result.messages.size(), 1);
        EXPECT_EQ(
            result.messages[0],
            folder.path(name) + ": too large for a game record (10485760 bytes; at most 4194304)");
        EXPECT_FALSE(folder.exists(out));
    }
}

TEST(RecordImport, AKifSavedAsUtf8IsReadUnderTheNameForIt) {
    RecordFolder folder;
    const QByteArray utf8 = (kKifHead + "   1 ７六歩(77)\r\n").toUtf8();
    folder.write(QStringLiteral("game.kifu"), utf8);
    EXPECT_EQ(folder.convert(QStringLiteral("game.kifu"), QStringLiteral("game.sho")).outcome,
              ConversionResult::Outcome::Converted);
    EXPECT_EQ(folder.lines(QStringLiteral("game.sho")).size(), 1);
    // Read as Shift-JIS, the error says what the file seems to be.
    folder.write(QStringLiteral("game.kif"), utf8);
    const ConversionResult wrong =
        folder.convert(QStringLiteral("game.kif"), QStringLiteral("x.sho"));
    ASSERT_EQ(wrong.messages.size(), 1);
    EXPECT_TRUE(wrong.messages[0].contains(QStringLiteral("looks like UTF-8")))
        << wrong.messages[0].toStdString();
    // Bytes that are neither are not said to be UTF-8.
    folder.write(QStringLiteral("noise.kif"), "\xE6\x89\x8B\x85\xFF\r\n");
    const ConversionResult noise =
        folder.convert(QStringLiteral("noise.kif"), QStringLiteral("x.sho"));
    ASSERT_EQ(noise.messages.size(), 1);
    EXPECT_EQ(noise.messages[0],
              folder.path(QStringLiteral("noise.kif")) + ":1: not Shift-JIS text");
}

TEST(RecordImport, ASetUpFromElsewhereIsReadWithItsKingsByTheirOwners) {
    shogi::Board pawnPushed = shogi::Board::initial();
    pawnPushed.set({6, 2}, shogi::Cell::empty());
    pawnPushed.set({6, 3}, shogi::Cell::opp(shogi::Kind::Fu));
    shogi::Board opened = shogi::Board::initial();
    opened.set({2, 6}, shogi::Cell::empty());
    opened.set({2, 5}, shogi::Cell::own(shogi::Kind::Fu));
    const QString start = shogi::Board::initial().positionString();
    struct Case {
        QString file;
        QStringList text;
        QStringList sho;
    };
    // With the second player to move it is a set-up; drawn with the first
    // player to move and no hands, it is the usual start.
    const std::vector<Case> cases{
        {"in.kif",
         QStringList{"後手の持駒：なし"} + kDiagram +
             QStringList{"先手の持駒：なし", "後手番", "手数＝0", "   1 ３四歩(33)"},
         {start, pawnPushed.positionString()}},
        {"in.kif", kDiagram + QStringList{"先手番", "   1 ７六歩(77)"}, {opened.positionString()}},
        {"in.csa",
         QStringList{"V2.2"} + kCsaRows + QStringList{"P+", "P-", "-", "-3334FU"},
         {start, pawnPushed.positionString()}},
        {"in.csa",
         QStringList{"V2.2"} + kCsaRows + QStringList{"+", "+7776FU"},
         {opened.positionString()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.join(u'\n').toStdString());
        RecordFolder folder;
        folder.write(c.file, sjisLines(c.text));
        EXPECT_EQ(folder.convert(c.file, QStringLiteral("out.sho")).outcome,
                  ConversionResult::Outcome::Converted);
        EXPECT_EQ(folder.lines(QStringLiteral("out.sho")), c.sho);
    }
}

}  // namespace
}  // namespace records
