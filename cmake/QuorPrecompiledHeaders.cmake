# Every source of Quor begins with much the same Qt headers, and every test
# with GoogleTest's; parsing them again for each file was most of what a build
# did. They are parsed once per build instead, into two precompiled headers:
# one for the programs and libraries, one for the tests, which every target
# reuses. The compiler checks each use against the options the header was
# made with; a header that does not fit a target is reported (-Winvalid-pch,
# an error under -Werror), so it cannot slow the build down unnoticed.
#
# The compiler takes a precompiled header only where every macro it was made
# with is defined alike, so the two are made with the fewest definitions any
# user has: QtCore's (and GoogleTest's, for the tests'); the other Qt modules
# give only their include folders. QtTest is left out: its headers depend on
# a per-folder definition (QT_TESTCASE_BUILDDIR).

option(QUOR_PCH "Precompile the common Qt and GoogleTest headers once per build" ON)

set(QUOR_PCH_APP_HEADERS
    <algorithm> <array> <functional> <memory> <optional> <utility> <vector>
    <QByteArray> <QDateTime> <QDir> <QFile> <QFileInfo> <QList> <QObject> <QPointer>
    <QString> <QStringList> <QStringView> <QTimer> <QHostAddress> <QTcpSocket> <QTcpServer>
    <QApplication> <QDialog> <QHBoxLayout> <QVBoxLayout> <QGridLayout> <QLabel> <QLineEdit>
    <QPainter> <QPushButton> <QWidget>)
set(QUOR_PCH_TEST_HEADERS ${QUOR_PCH_APP_HEADERS}
    <QProcess> <QTemporaryDir> <QPlainTextEdit> <QAction> <gtest/gtest.h>)

# All targets defined in `dir` and the folders below it.
function(quor_targets_below dir out)
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(sub IN LISTS subdirs)
        quor_targets_below(${sub} below)
        list(APPEND targets ${below})
    endforeach()
    set(${out} ${targets} PARENT_SCOPE)
endfunction()

# The tests' own code (every target that links GoogleTest) is compiled
# without optimization in every build: what the tests test, the programs and
# libraries, is compiled as shipped, and a test's source compiles in a third
# of the time. The tests' precompiled header is made so too.
set(QUOR_TEST_CODE_OPTIONS $<$<NOT:$<CONFIG:Debug>>:-O0>)

# Gives every compiled target of the project one of the two shared headers:
# the tests' to targets that link GoogleTest, the other to the rest. Called
# once all targets exist.
function(quor_share_precompiled_headers)
    if(QUOR_PCH)
        set(empty ${CMAKE_BINARY_DIR}/pch/empty.cpp)
        file(WRITE ${empty} "")
        add_library(quor_pch_app STATIC ${empty})
        target_precompile_headers(quor_pch_app PRIVATE ${QUOR_PCH_APP_HEADERS})
        add_library(quor_pch_test STATIC ${empty})
        target_link_libraries(quor_pch_test PRIVATE GTest::gtest)
        target_compile_options(quor_pch_test PRIVATE ${QUOR_TEST_CODE_OPTIONS})
        target_precompile_headers(quor_pch_test PRIVATE ${QUOR_PCH_TEST_HEADERS})
        foreach(pch quor_pch_app quor_pch_test)
            target_link_libraries(${pch} PRIVATE Qt6::Core)
            foreach(module Gui Widgets Network)
                target_include_directories(${pch} SYSTEM
                    PRIVATE $<TARGET_PROPERTY:Qt6::${module},INTERFACE_INCLUDE_DIRECTORIES>)
            endforeach()
            set_target_properties(${pch} PROPERTIES AUTOMOC OFF EXCLUDE_FROM_ALL ON)
        endforeach()
    endif()

    quor_targets_below(${CMAKE_SOURCE_DIR} targets)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|OBJECT_LIBRARY)$"
           OR target MATCHES "^quor_pch_")
            continue()
        endif()
        get_target_property(links ${target} LINK_LIBRARIES)
        set(test_code OFF)
        if(links MATCHES "GTest::|quor_test_main_")
            set(test_code ON)
            target_compile_options(${target} PRIVATE ${QUOR_TEST_CODE_OPTIONS})
        endif()
        get_target_property(skip ${target} QUOR_NO_PCH)
        if(NOT QUOR_PCH OR skip)
            continue()
        endif()
        if(test_code)
            target_precompile_headers(${target} REUSE_FROM quor_pch_test)
        else()
            target_precompile_headers(${target} REUSE_FROM quor_pch_app)
        endif()
    endforeach()
endfunction()
