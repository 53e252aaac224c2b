#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>

#include "engineprocess.h"

class QTimer;

namespace bot {

// What GNU Shogi said to a question.
struct ShogiEngineReply {
    enum class Kind {
        Move,      // its move, in its notation (not checked yet)
        Refused,   // it refused the move it was given ("Illegal move ...")
        Mated,     // it has no move: it is mated
        Resigned,  // it resigns
        NoMove,    // the game is over for it some other way (a draw by repetition, ...)
    };
    Kind kind = Kind::NoMove;
    QString move;
    QString line;  // the line that decided, for the log
};

// GNU Shogi driven over its standard input and output, one question at a
// time: it takes moves like "7g7f" and answers with a line like "1. ... 3c3d"
// (its own moves always carry the "..."; a move it was given is echoed without
// them). It is set up from a whole position with its "edit" commands. A
// question that gets no answer within the deadline, and an engine that ends,
// make `failed`; nothing else comes after that.
class ShogiEngine : public QObject {
    Q_OBJECT

public:
    using Answer = std::function<void(const ShogiEngineReply&)>;

    ShogiEngine(QString program, QStringList settings, std::chrono::milliseconds deadline,
                QObject* parent = nullptr);

    // Starts a new game with the engine playing the first player's pieces
    // (`engineFirst`) or the second player's.
    void start(bool engineFirst);

    // The engine's first move of the game (it plays first).
    void askFirstMove(Answer answer);
    // The opponent's move, then the engine's answer to it.
    void askAfter(const QString& opponentMove, Answer answer);
    // The whole position, with the engine to move.
    void askFromPosition(const QStringList& edit, Answer answer);

    // Ends the engine at once; no answer and no signal comes after this.
    void shutDown();

signals:
    void failed(bot::EngineTrouble trouble, const QString& why);

private:
    void ask(const QStringList& lines, Answer answer);
    void onLine(const QString& line);
    void onEnded(EngineTrouble trouble, const QString& why);
    void onDeadline();
    void answer(const ShogiEngineReply& reply);

    QString program_;
    QStringList settings_;
    EngineProcess* process_;
    QTimer* deadline_;
    bool engineFirst_ = false;
    Answer pending_;  // the question waiting for its answer, if any
};

}  // namespace bot
