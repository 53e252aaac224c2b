#include "programtexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QTranslator>

#include "qttexts.h"

namespace platform {

bool englishWanted(const QStringList& uiLanguages) {
    if (uiLanguages.isEmpty()) return false;
    const QString& first = uiLanguages.first();
    return first == u"en" || first.startsWith(u"en-") || first.startsWith(u"en_");
}

QString translationsFolder(const QString& assetsFolder) {
    return QDir(assetsFolder).filePath(QStringLiteral("translations"));
}

bool installProgramTexts(QCoreApplication& app, const QString& assetsFolder) {
    if (!englishWanted(QLocale::system().uiLanguages())) {
        installQtTexts(app);
        return false;
    }
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("quor_en"), translationsFolder(assetsFolder))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

}  // namespace platform
