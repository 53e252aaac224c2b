#include <QApplication>

#include "ostrimwindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    go::OstrimWindow window(go::OstrimOptions{});
    window.show();
    // The first display makes the window the active one (it then connects to
    // its server), also where no window manager hands out the focus.
    window.activateWindow();
    return app.exec();
}
