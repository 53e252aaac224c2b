#include <QApplication>

#include "ostrimwindow.h"
#include "programfolder.h"
#include "programtexts.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::installProgramTexts(app, platform::programFolders(platform::programFolder()).assets);
    go::OstrimWindow window(go::OstrimOptions{});
    window.show();
    // The first display makes the window the active one (it then connects to
    // its server), also where no window manager hands out the focus.
    window.activateWindow();
    return app.exec();
}
