#include <QApplication>
#include <QDir>

#include "dialogs.h"
#include "programfolder.h"
#include "programtexts.h"
#include "quenliswindow.h"

// The lobby client starts the tool in its own folder, so the list file named
// by a bare name is read and written there. An installed copy keeps the list
// in the per-user data folder, where the installed lobby client reads it.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const platform::ProgramFolders folders = platform::programFolders(QDir::currentPath());
    platform::installProgramTexts(app, folders.assets);
    platform::WidgetDialogs dialogs;
    quenlis::QuenlisWindow window({folders.data, &dialogs});
    window.show();
    return app.exec();
}
