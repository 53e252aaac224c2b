#include "gamearchive.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

#include "archivefile.h"
#include "watchedgame.h"

namespace web {

GameArchive::GameArchive(const QString& folder) : folder_(folder) {
    readFolder();
}

GameArchive::~GameArchive() = default;

QString GameArchive::pathOf(quint64 id) const {
    return QDir(folder_).filePath(QString::number(id) + QStringLiteral(".game"));
}

void GameArchive::readFolder() {
    const QDir dir(folder_);
    if (!QDir().mkpath(folder_)) return;
    const QFileInfo info(folder_);
    writable_ = info.isDir() && info.isWritable();
    static const QRegularExpression name(QStringLiteral("^([1-9][0-9]{0,17})\\.game$"));
    // Pipes and devices are listed too, to be counted as passed over.
    const QStringList entries =
        dir.entryList({QStringLiteral("*.game")}, QDir::Files | QDir::System | QDir::Hidden);
    for (const QString& entry : entries) {
        const QRegularExpressionMatch m = name.match(entry);
        if (!m.hasMatch()) {
            ++skipped_;
            continue;
        }
        const quint64 id = m.captured(1).toULongLong();
        // Even a file that does not read keeps its ID from being given again.
        highest_ = std::max(highest_, id);
        const auto game = readFile(id);
        if (!game) {
            ++skipped_;
            continue;
        }
        index_[id] = game->summary;
    }
}

std::optional<GameRecord> GameArchive::readFile(quint64 id) const {
    const QFileInfo info(pathOf(id));
    // Only a plain file of ours: a link may lead anywhere, and a pipe would
    // never end.
    if (info.isSymLink() || !info.isFile() || info.size() > kMaxFileBytes) return std::nullopt;
    QFile file(info.filePath());
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes) return std::nullopt;
    return readGameFile(bytes, id, info.lastModified().toUTC());
}

bool GameArchive::write(Writing& w, const QByteArray& bytes) {
    return w.file->write(bytes) == bytes.size() && w.file->flush();
}

bool GameArchive::record(const WatchedGame& game) {
    const GameSummary& s = game.summary();
    if (!writable_ || s.id == 0) return false;
    auto it = writing_.find(s.id);
    if (it == writing_.end()) {
        // Written to its end already, or an ID that another file holds.
        if (index_.count(s.id)) return game.isOver() && index_.at(s.id).result.has_value();
        Writing w;
        w.file = std::make_unique<QFile>(pathOf(s.id));
        if (!w.file->open(QIODevice::WriteOnly | QIODevice::NewOnly)) return false;
        highest_ = std::max(highest_, s.id);
        if (!write(w, beginLines(s))) return false;
        it = writing_.emplace(s.id, std::move(w)).first;
    }
    Writing& w = it->second;
    // What is new goes out in one write: a game played fast brings many
    // moves at once.
    QByteArray lines;
    if (s.sidesKnown && !w.sidesWritten) {
        lines += sidesLine(s);
        w.sidesWritten = true;
    }
    const std::vector<Position>& positions = game.positions();
    // A shogi move's line is some 300 bytes.
    if (w.positions < positions.size())
        lines.reserve(lines.size() + qsizetype(positions.size() - w.positions) * 320);
    for (; w.positions < positions.size(); ++w.positions)
        lines += moveLine(positions[w.positions]);
    GameSummary& kept = index_[s.id];
    kept = s;
    kept.watchers = 0;
    if (game.isOver()) lines += endLine(s);
    const bool ok = lines.isEmpty() || write(w, lines);
    if (!ok || game.isOver()) writing_.erase(it);
    return ok;
}

GameArchive::Page GameArchive::list(std::optional<quint64> before, int limit) const {
    limit = std::clamp(limit, 1, kMaxPageSize);
    Page page;
    auto it = before ? index_.lower_bound(*before) : index_.end();
    while (it != index_.begin()) {
        --it;
        if (static_cast<int>(page.games.size()) == limit) {
            page.next = page.games.back().id;
            break;
        }
        page.games.push_back(it->second);
    }
    return page;
}

std::optional<GameRecord> GameArchive::game(quint64 id) const {
    const auto kept = index_.find(id);
    if (kept == index_.end()) return std::nullopt;
    auto game = readFile(id);
    if (!game) return std::nullopt;
    // The summary in memory is the truth for a game still going: its file
    // has no end yet.
    game->summary = kept->second;
    game->summary.moves = static_cast<int>(game->positions.size()) - 1;
    return game;
}

}  // namespace web
