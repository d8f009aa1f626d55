#pragma once
// Runs the Qt event loop until a condition holds or a time in real milliseconds has passed;
// true when the condition held.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

inline bool PumpUntil(const std::function<bool()>& fnDone, int nMs) {
    QElapsedTimer t;
    t.start();
    while (!fnDone()) {
        if (t.elapsed() > nMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}
