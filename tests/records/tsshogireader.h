#pragma once

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

// The KIF and CSA reader nobody here wrote: the npm package tsshogi under
// Node (installed into QUOR_NODE_DIR by make test's set-up).

namespace records::test {

struct ProcessRun {
    int status = -1;
    QString out;
    QString err;
};

inline ProcessRun runProgram(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    ProcessRun r;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        r.err = QStringLiteral("did not finish: ") + process.errorString();
        return r;
    }
    r.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = QString::fromUtf8(process.readAllStandardOutput());
    r.err = QString::fromUtf8(process.readAllStandardError());
    return r;
}

inline QString nodeProgram() {
    return QStandardPaths::findExecutable(QStringLiteral("node"));
}

// Why the reader cannot run here, or nothing when it can.
inline QString whyNoTsshogi(const QString& node) {
    if (node.isEmpty()) return QStringLiteral("node is not installed: run scripts/setup-deps");
    if (!QFileInfo::exists(QStringLiteral(QUOR_NODE_DIR "/node_modules/tsshogi")))
        return QStringLiteral("tsshogi is not installed in " QUOR_NODE_DIR
                              ": make test installs it (npm, from the lock file in "
                              "tests/records/node), the ordinary build does not");
    return {};
}

using Positions = std::map<QString, std::vector<QString>>;

// The positions tsshogi reads from each file, as SFEN without the move
// count, which the reader does not keep.
inline void readWithTsshogi(const QString& node, const QStringList& files, Positions& theirs) {
    const QString script = QStringLiteral(QUOR_NODE_DIR "/readrecords.mjs");
    const ProcessRun r = runProgram(node, QStringList{script} + files);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    for (const QString& line : r.out.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(u'\t');
        ASSERT_EQ(fields.size(), 3) << line.toStdString();
        ASSERT_NE(fields[1], u"ERROR") << line.toStdString();
        theirs[fields[0]].push_back(fields[2].section(u' ', 0, 2));
    }
}

}  // namespace records::test
