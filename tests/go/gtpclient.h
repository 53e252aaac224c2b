#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace go::test {

// A go engine that speaks GTP, run as a child process: each command is one
// line on its standard input, each answer "= text" or "? text" ended by a
// blank line on its standard output. Commands may be sent several at once;
// the engine answers them in order, so one round trip serves a whole batch.
class GtpClient {
public:
    GtpClient() = default;
    GtpClient(const GtpClient&) = delete;
    GtpClient& operator=(const GtpClient&) = delete;
    ~GtpClient() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.write("quit\n");
        if (!process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }

    // Starts the engine; false, with error() saying why, when it does not run.
    bool start(const QString& program, const QStringList& arguments) {
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.start(program, arguments);
        if (process_.waitForStarted(5000)) return true;
        error_ = QStringLiteral("%1 did not start: %2").arg(program, process_.errorString());
        return false;
    }

    // Sends the commands and returns their answer texts (without the "= "),
    // in order. Nothing, with error() naming the command, when the engine
    // refuses one ("?"), stops or stays silent.
    std::optional<std::vector<QString>> ask(const QStringList& commands) {
        process_.write((commands.join(u'\n') + u'\n').toUtf8());
        std::vector<QString> answers;
        for (const QString& command : commands) {
            const std::optional<QByteArray> answer = readAnswer();
            if (!answer) {
                error_ = QStringLiteral("no answer to \"%1\": %2%3")
                             .arg(command, process_.errorString(),
                                  QString::fromUtf8(process_.readAllStandardError()));
                return std::nullopt;
            }
            const QString text = QString::fromUtf8(answer->mid(1)).trimmed();
            if (!answer->startsWith('=')) {
                error_ = QStringLiteral("refused \"%1\": %2").arg(command, text);
                return std::nullopt;
            }
            answers.push_back(text);
        }
        return answers;
    }

    QString error() const { return error_; }

private:
    // One answer block up to its blank line, carriage returns dropped.
    std::optional<QByteArray> readAnswer() {
        for (;;) {
            const qsizetype end = buffer_.indexOf("\n\n");
            if (end >= 0) {
                const QByteArray answer = buffer_.left(end);
                buffer_.remove(0, end + 2);
                return answer;
            }
            if (!process_.waitForReadyRead(10000)) return std::nullopt;
            buffer_ += process_.readAllStandardOutput();
            buffer_.replace('\r', QByteArray());
        }
    }

    QProcess process_;
    QByteArray buffer_;
    QString error_;
};

}  // namespace go::test
