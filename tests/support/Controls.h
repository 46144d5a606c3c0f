#pragma once

#include <QString>
#include <QWidget>

namespace woundwell::test {

// A control of a window by its name; a missing one ends the test run, since every test that
// asks for it would fail anyway.
template <typename T> T *control(QWidget &window, const char *name) {
    T *found = window.findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s in %s", name, qPrintable(window.objectName()));
    return found;
}

} // namespace woundwell::test
