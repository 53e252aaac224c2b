#include <QApplication>

#include <gtest/gtest.h>

#include "testenvironment.h"

// Widget tests run real widgets on Qt's offscreen platform unless the caller
// chose another one (a virtual display, say).
int main(int argc, char** argv) {
    setTestEnvironment();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
