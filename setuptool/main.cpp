#include <QApplication>
#include <QDir>

#include "dialogs.h"
#include "quenliswindow.h"

// The lobby client starts the tool in its own folder, so the list file named
// by a bare name is read and written there.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::WidgetDialogs dialogs;
    quenlis::QuenlisWindow window({QDir::currentPath(), &dialogs});
    window.show();
    return app.exec();
}
