#pragma once

#include <QtGlobal>

// What every test process needs before Qt starts: no display and no sound
// device of the machine, unless the caller chose otherwise (a virtual
// display, say). Set here rather than by ctest, so a test run by hand behaves
// the same, and the programs a test starts inherit it.
inline void setTestEnvironment() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        qputenv("QT_LOGGING_RULES", "qt.multimedia*=false");
}

// How the sanitizers report in a sanitizer build: leaks count, a string
// function is checked over its whole argument, undefined behaviour stops the
// test with a stack, and the leaks that fontconfig and Qt keep until exit are
// suppressed by their library frames (QUOR_LSAN_SUPPRESSIONS, the file's
// path). The runtime asks for these when the process starts; options given in
// the environment still come on top.
extern "C" {
__attribute__((used, visibility("default"))) const char* __asan_default_options() {
    return "detect_leaks=1:abort_on_error=0:strict_string_checks=1";
}
__attribute__((used, visibility("default"))) const char* __lsan_default_options() {
    return "suppressions=" QUOR_LSAN_SUPPRESSIONS ":print_suppressions=0";
}
__attribute__((used, visibility("default"))) const char* __ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}
}
