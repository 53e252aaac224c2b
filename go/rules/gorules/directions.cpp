#include "gorules/directions.h"

#include <algorithm>

namespace go {

std::optional<Dir> dirFromDigit(QChar digit) {
    for (Dir d : kDirOrder)
        if (digit == QLatin1Char(static_cast<char>(d))) return d;
    return std::nullopt;
}

void DirDigits::add(Dir d) {
    if (quit_ || count_ == static_cast<int>(dirs_.size())) return;
    dirs_[static_cast<std::size_t>(count_++)] = d;
}

bool DirDigits::contains(Dir d) const {
    return std::find(dirs_.begin(), dirs_.begin() + count_, d) != dirs_.begin() + count_;
}

QString DirDigits::text() const {
    if (quit_) return QStringLiteral("QUIT");
    QString digits;
    for (int i = 0; i < count_; ++i)
        digits += QLatin1Char(static_cast<char>(dirs_[static_cast<std::size_t>(i)]));
    return digits;
}

}  // namespace go
