#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

namespace platform {

// The language the programs speak: English when the user's language is
// English, their own Japanese otherwise. `uiLanguages` is the user's list, the
// first preferred, as Qt takes it from LANGUAGE, LC_ALL, LC_MESSAGES and LANG
// (QLocale::system().uiLanguages()).
bool englishWanted(const QStringList& uiLanguages);

// The program's texts in the user's language: with English wanted, the
// English translation from <assetsFolder>/translations and Qt's own texts as
// Qt has them (English); otherwise nothing of ours and Qt's own texts in
// Japanese (installQtTexts), as every program always showed them. What goes
// on the wire and into files is never translated. Call once, after the
// application object exists. Returns whether the English texts were loaded.
bool installProgramTexts(QCoreApplication& app, const QString& assetsFolder);

// The folder of the translations below the assets folder.
QString translationsFolder(const QString& assetsFolder);

}  // namespace platform
