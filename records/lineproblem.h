#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace records {

// Something the user must be told about one line of a file being converted:
// why it cannot be read, or why the conversion stopped or went on differently
// there. Line 0 stands for the file as a whole (it cannot be opened, it is
// too large).
struct LineProblem {
    int line = 0;
    QString text;

    friend bool operator==(const LineProblem&, const LineProblem&) = default;
};

using LineProblems = std::vector<LineProblem>;

// "file:12: text", or "file: text" for the whole file, as compilers report.
inline QString problemText(const QString& file, const LineProblem& problem) {
    if (problem.line <= 0) return file + QStringLiteral(": ") + problem.text;
    return file + u':' + QString::number(problem.line) + QStringLiteral(": ") + problem.text;
}

}  // namespace records
