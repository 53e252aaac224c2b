#pragma once

#include <QString>

namespace gamefile {

// An installed lobby client knows its game programs without set-up: they
// were installed beside it. When the per-user data folder `dataFolder` holds
// no "GameFile.txt", one is written that names "Varnel" and "Ostrim" in
// `programFolder` (each only where it is there to run). A list the user wrote
// (even an empty or broken one) stays as it is, and so does a copy run where
// it was built, which does not call this. Returns whether a list was written.
bool provideInstalledGameFile(const QString& dataFolder, const QString& programFolder);

}  // namespace gamefile
