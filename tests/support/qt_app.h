#pragma once
// Tests that print text or build widgets need a Qt application (font database, styles):
// ensure_qt_app() creates one offscreen application for the whole run.

#include <QApplication>

namespace orvena::test {

inline void ensure_qt_app() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "orvena-test";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives until the process ends; tests share it
}

// 0xRRGGBB as Surface::pixel reports colours (no alpha).
constexpr unsigned rgb(unsigned r, unsigned g, unsigned b) {
    return (r << 16) | (g << 8) | b;
}

}  // namespace orvena::test
