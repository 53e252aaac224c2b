// The lobby client in English: its window, its menu and its login dialog
// show no Japanese once the English texts are installed; what it sends is
// the same.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "clientlogindialog.h"
#include "lobbywindow.h"
#include "programtexts.h"
#include "scripteddialogs.h"
#include "widgettexts.h"

namespace lobbyclient {
namespace {

TEST(ClientInEnglish, ItsWindowMenuAndLoginDialogShowNoJapanese) {
    const testsupport::EnglishTexts english(platform::translationsFolder(QUOR_BIN_DIR));
    ASSERT_TRUE(english.loaded());
    QTemporaryDir dir;
    testsupport::ScriptedDialogs dialogs;
    LobbyWindow window(LobbyWindowOptions{dir.path(), &dialogs,
                                          [](const QString&, const QString&) { return true; }});
    window.show();
    window.showLoginDialog();
    EXPECT_EQ(testsupport::japaneseIn(testsupport::shownTexts(window)), QStringList());
    ASSERT_NE(window.loginDialog(), nullptr);
    EXPECT_EQ(testsupport::japaneseIn(testsupport::shownTexts(*window.loginDialog())),
              QStringList());
    EXPECT_EQ(GameName(), (QStringList{QStringLiteral("Shogi"), QStringLiteral("Go")}));
}

}  // namespace
}  // namespace lobbyclient
