#pragma once
// A window's control found the way the window names it: by its objectName ("Picture2",
// "Command8", "Option1_5" for index 5 of an option array). A test that asks for a control
// that is missing, or of another kind, stops there and says which.

#include <QObject>
#include <QWidget>

#include <stdexcept>
#include <string>

namespace orvena::test {

template <class T>
T& control(const QWidget& window, const char* name) {
    for (QObject* found : window.findChildren<QObject*>(QString::fromUtf8(name)))
        if (auto* wanted = dynamic_cast<T*>(found)) return *wanted;
    throw std::logic_error(std::string("the window has no control named ") + name +
                           " of the kind asked for");
}

}  // namespace orvena::test
