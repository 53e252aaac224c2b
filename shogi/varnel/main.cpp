#include <QApplication>

#include "qttexts.h"
#include "varnelwindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::installQtTexts(app);
    shogi::VarnelWindow window(shogi::VarnelOptions{});
    window.show();
    // The first display makes the window the active one (it then connects to
    // its server), also where no window manager hands out the focus.
    window.activateWindow();
    return app.exec();
}
