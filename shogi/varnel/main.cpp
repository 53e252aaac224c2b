#include <QApplication>

#include "programfolder.h"
#include "programtexts.h"
#include "varnelwindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::installProgramTexts(app, platform::programFolders(platform::programFolder()).assets);
    shogi::VarnelWindow window(shogi::VarnelOptions{});
    window.show();
    // The first display makes the window the active one (it then connects to
    // its server), also where no window manager hands out the focus.
    window.activateWindow();
    return app.exec();
}
