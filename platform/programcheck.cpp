#include "programcheck.h"

#include "startprogram.h"

namespace gamefile {

StartProblem startProblem(const QString& path) {
    if (path.isEmpty()) return StartProblem::Empty;
    if (path.contains(u',')) return StartProblem::Comma;
    if (platform::programFolderOf(path).isEmpty()) return StartProblem::NoFolder;
    return StartProblem::None;
}

}  // namespace gamefile
