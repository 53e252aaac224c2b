#pragma once

class QCoreApplication;

namespace platform {

// Qt's own texts in a window (the buttons of a message box: はい, いいえ,
// キャンセル; the standard dialogs) in Japanese, as everything else the
// programs show. Qt's translations come with the system's Qt; where they are
// missing the programs keep Qt's English words. Call once, after the
// application object exists; what it loads lives as long as `app`.
// Returns whether the translation was loaded.
bool installQtTexts(QCoreApplication& app);

}  // namespace platform
