#include "controls/ProgressBar.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

ProgressBar::ProgressBar(QWidget *parent) : QWidget(parent) {
    InitProperties(parent ? parent->font() : QApplication::font());
}

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

#define PB_SETTER(Name, member, Type)                                                                                  \
    void ProgressBar::set##Name(Type v) {                                                                              \
        member = v;                                                                                                    \
        changed(QStringLiteral(#Name));                                                                                \
    }
PB_SETTER(BarType, m_barType, int)
PB_SETTER(RoundedValue, m_roundedValue, int)
PB_SETTER(Theme, m_theme, int)
PB_SETTER(TextStyle, m_textStyle, int)
PB_SETTER(Orientations, m_orientations, int)
PB_SETTER(TextAlignment, m_textAlignment, int)
PB_SETTER(TextEffectColor, m_textEffectColor, colour::Value)
PB_SETTER(TextEffect, m_textEffect, int)
PB_SETTER(TextForeColor, m_textForeColor, colour::Value)
PB_SETTER(PBSCustomeColor1, m_custom1, colour::Value)
PB_SETTER(PBSCustomeColor2, m_custom2, colour::Value)
#undef PB_SETTER

void ProgressBar::setEnabled(bool v) {
    m_enabled = v;
    if (QWidget::isEnabled() != v) QWidget::setEnabled(v);
    changed(QStringLiteral("Enabled"));
}

void ProgressBar::setTextFont(const QFont &f) {
    m_textFont = f;
    QWidget::setFont(f);
    changed(QStringLiteral("TextFont"));
}

void ProgressBar::changeEvent(QEvent *event) {
    // A host that switches the widget itself reaches the property too.
    if (event->type() == QEvent::EnabledChange && isEnabled() != m_enabled) setEnabled(isEnabled());
    QWidget::changeEvent(event);
}

void ProgressBar::changed(const QString &name) {
    emit propertyChanged(name);
    redraw();
}

void ProgressBar::resizeEvent(QResizeEvent *) { redraw(); }

void ProgressBar::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.drawImage(0, 0, m_image);
}
