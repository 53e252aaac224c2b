#pragma once

#include <QFile>
#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "gamerecord.h"

namespace web {

class WatchedGame;

// The folder that keeps every game the server relays: one file per game
// (archivefile.h), named by the game's ID ("12.game"), written line by line
// as the game goes. Opened, it reads what the folder holds: files it cannot
// read as a game (foreign, damaged, too large) are passed over and counted,
// and new games are numbered after the highest ID any file bears, so no file
// is ever written over. It keeps the summaries in memory and reads a game's
// positions from its file when asked. Not for use from two threads.
class GameArchive {
public:
    // Opens (and makes) the folder and reads it.
    explicit GameArchive(const QString& folder);
    ~GameArchive();

    // Whether the folder exists and can be written; new games are not kept
    // otherwise, and record() says so.
    bool isWritable() const { return writable_; }
    int skippedFiles() const { return skipped_; }

    // The ID of a new game: one above every ID given out or found so far.
    quint64 newGameId() { return ++highest_; }

    // Brings the game's file up to what `game` holds: its beginning, the
    // moves not yet written, who turned out to be black, its end. Each line is
    // flushed as it is written; the file is closed at the end. False when it
    // cannot be written (the game is then left out of the archive).
    bool record(const WatchedGame& game);

    struct Page {
        std::vector<GameSummary> games;  // newest first
        std::optional<quint64> next;     // the `before` of the next page, if there is one
    };
    // The games with an ID below `before` (all of them without it), at most
    // `limit` (1 to kMaxPageSize).
    Page list(std::optional<quint64> before, int limit) const;

    // A game with its positions; nothing for an ID the archive does not hold.
    std::optional<GameRecord> game(quint64 id) const;

    static constexpr int kMaxPageSize = 100;
    // No game file comes near this (a game of kMaxMoves go moves is about
    // 5 MB): a larger file is no game of ours and is not read.
    static constexpr qint64 kMaxFileBytes = 8 * 1024 * 1024;

private:
    struct Writing {
        std::unique_ptr<QFile> file;
        std::size_t positions = 1;  // the start is in the beginning line
        bool sidesWritten = false;
    };

    void readFolder();
    std::optional<GameRecord> readFile(quint64 id) const;
    QString pathOf(quint64 id) const;
    bool write(Writing& w, const QByteArray& bytes);

    QString folder_;
    bool writable_ = false;
    int skipped_ = 0;
    quint64 highest_ = 0;
    std::map<quint64, GameSummary> index_;
    std::map<quint64, Writing> writing_;
};

}  // namespace web
