#include <QCoreApplication>

#include <gtest/gtest.h>

#include "testenvironment.h"

// Tests of logic and sockets run inside an application object so that Qt's
// event loop, timers and sockets behave as they do in the programs.
int main(int argc, char** argv) {
    setTestEnvironment();
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
