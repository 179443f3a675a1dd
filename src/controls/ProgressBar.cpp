#include "controls/ProgressBar.h"

#include <QPainter>

ProgressBar::ProgressBar(QWidget *parent) : QWidget(parent) {}

void ProgressBar::setValue(int v) {
    if (v > m_max) v = m_max;
    if (v < m_min) v = m_min;
    m_value = v;
    changed(QStringLiteral("Value"));
}

void ProgressBar::setMax(int m) {
    if (m < 1) m = 1;
    if (m <= m_min) m = m_min + 1;
    m_max = m;
    if (m_value > m) setValue(m);
    changed(QStringLiteral("Max"));
}

void ProgressBar::setMin(int n) {
    if (n >= m_max) n = m_max - 1;
    if (n < 0) n = 0;
    m_min = n;
    if (m_value < n) setValue(n);
    changed(QStringLiteral("Min"));
}

void ProgressBar::setText(const QString &text) {
    m_text = text;
    changed(QStringLiteral("Text"));
}

void ProgressBar::setCaption(const QString &text) {
    // Caption stores into Text and is announced under that name.
    setText(text);
}

void ProgressBar::setText2(const QString &text) {
    m_text2 = text;
    changed(QStringLiteral("Text2"));
}

void ProgressBar::changed(const QString &name) {
    emit propertyChanged(name);
    redraw();
}

void ProgressBar::redraw() {
    ++m_redraws;
    update();
}

void ProgressBar::resizeEvent(QResizeEvent *) { redraw(); }

void ProgressBar::paintEvent(QPaintEvent *) {
    // Plain rendering until the themed drawing exists.
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    const int span = m_max - m_min;
    const int filled = span > 0 ? width() * (m_value - m_min) / span : 0;
    p.fillRect(QRect(0, 0, filled, height()), palette().highlight());
    p.setPen(palette().text().color());
    p.drawText(rect().adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, m_text);
    p.drawText(rect().adjusted(4, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter, m_text2);
}
