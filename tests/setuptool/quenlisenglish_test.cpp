// The setup tool in English: its window and its file dialog show no Japanese
// once the English texts are installed, and the files it writes are the same.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "fropen.h"
#include "programtexts.h"
#include "quenliswindow.h"
#include "scripteddialogs.h"
#include "widgetdriver.h"
#include "widgettexts.h"

namespace quenlis {
namespace {

TEST(QuenlisInEnglish, ItsWindowAndFileDialogShowNoJapanese) {
    const testsupport::EnglishTexts english(platform::translationsFolder(QUOR_BIN_DIR));
    ASSERT_TRUE(english.loaded());
    QTemporaryDir dir;
    testsupport::ScriptedDialogs dialogs;
    QuenlisWindow window({dir.path(), &dialogs});
    window.show();
    EXPECT_EQ(testsupport::japaneseIn(testsupport::shownTexts(window)), QStringList());
    EXPECT_EQ(testsupport::child<QPushButton>(window, "SaveBTN")->text(), u"Save");
    frOpen dialog(dir.path(), dialogs);
    EXPECT_EQ(testsupport::japaneseIn(testsupport::shownTexts(dialog)), QStringList());
    // A message box's text too.
    EXPECT_EQ(noProgramText(), u"No program to start has been set.");
}

TEST(ProgramTexts, EnglishIsChosenByTheFirstLanguageOnly) {
    struct Case {
        QStringList languages;
        bool english;
    };
    const Case cases[] = {
        {{"en-US", "en-Latn-US", "en"}, true},
        {{"en"}, true},
        {{"en-GB"}, true},
        {{"ja-JP", "ja"}, false},
        {{"C"}, false},
        {{}, false},
        {{"de-DE", "en"}, false},
        {{"eo"}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::englishWanted(c.languages), c.english)
            << c.languages.join(u',').toStdString();
}

}  // namespace
}  // namespace quenlis
