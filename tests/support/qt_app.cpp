#include "support/qt_app.h"

#include <QApplication>

namespace orvena::test {

void ensure_qt_app() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "orvena-test";
    static char* argv[] = {name, nullptr};
    // Lives until the process ends; tests share it.
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

}  // namespace orvena::test
