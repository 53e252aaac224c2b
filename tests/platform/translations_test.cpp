// The English translation is whole: every text of the programs that lupdate
// found has its English, and none is left over from texts that are gone.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QXmlStreamReader>

namespace platform {
namespace {

TEST(Translations, EveryEntryIsTranslatedAndNoneIsLeftOver) {
    const QDir folder(QStringLiteral(QUOR_SOURCE_DIR "/translations"));
    const QStringList files = folder.entryList({QStringLiteral("*.ts")}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        int messages = 0;
        QString source;
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement()) continue;
            if (xml.name() == u"source") source = xml.readElementText();
            if (xml.name() == u"message") ++messages;
            if (xml.name() != u"translation") continue;
            const QString type = xml.attributes().value(QStringLiteral("type")).toString();
            EXPECT_TRUE(type.isEmpty()) << type.toStdString() << ": " << source.toStdString();
            EXPECT_FALSE(xml.readElementText().isEmpty()) << source.toStdString();
        }
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        EXPECT_GT(messages, 0);
    }
}

}  // namespace
}  // namespace platform
