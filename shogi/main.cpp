#include <QApplication>

#include "varnelwindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    shogi::VarnelWindow window(shogi::VarnelOptions{});
    window.show();
    return app.exec();
}
