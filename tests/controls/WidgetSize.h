// Gives a widget that is not shown its new size together with the resize
// event a host's layout would deliver (a hidden widget gets it only at show).
#pragma once

#include <QApplication>
#include <QResizeEvent>
#include <QWidget>

inline void resizeNow(QWidget &w, int width, int height) {
    const QSize old = w.size();
    w.resize(width, height);
    QResizeEvent ev(QSize(width, height), old);
    QApplication::sendEvent(&w, &ev);
}
