#include "wizard/WizardPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

QImage WizardPictures::banner() {
    QImage img(BannerWidth, BannerHeight, QImage::Format_RGB32);
    const QColor base = bannerBaseColor();
    img.fill(base);

    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF left(0, 0, BannerPlainFrom, BannerHeight);
    // Everything below is clipped to the left part so the right part stays
    // exactly the base colour.
    p.setClipRect(left);

    QLinearGradient shade(0, 0, BannerPlainFrom, 0);
    shade.setColorAt(0.0, QColor(26, 78, 160));
    shade.setColorAt(0.55, QColor(40, 99, 186));
    shade.setColorAt(1.0, base);
    p.fillRect(left, shade);

    // Soft glow behind the big title.
    QRadialGradient glow(QPointF(150, 40), 150);
    glow.setColorAt(0.0, QColor(255, 255, 255, 46));
    glow.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillRect(left, glow);

    // Three thin arcs sweeping from the lower left.
    p.setBrush(Qt::NoBrush);
    const int alphas[] = {60, 40, 24};
    for (int i = 0; i < 3; ++i) {
        QPainterPath arc;
        arc.moveTo(-20, BannerHeight - 6 - i * 10);
        arc.cubicTo(160, BannerHeight - 40 - i * 14, 360, BannerHeight - 2 - i * 8, BannerPlainFrom + 20, 18 + i * 12);
        p.setPen(QPen(QColor(255, 255, 255, alphas[i]), 1.5));
        p.drawPath(arc);
    }
    // Bottom shadow line under the left part, fading out to the right.
    QLinearGradient line(0, 0, BannerPlainFrom, 0);
    line.setColorAt(0.0, QColor(16, 56, 124));
    line.setColorAt(1.0, base);
    p.fillRect(QRectF(0, BannerHeight - 2, BannerPlainFrom, 2), line);
    return img;
}

QImage WizardPictures::stepHighlight(const QSize &size) {
    if (size.isEmpty()) return {};
    const int w = size.width();
    const int h = size.height();
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);

    QPainter p(&img);
    QLinearGradient face(0, 0, 0, h);
    face.setColorAt(0.0, QColor(120, 178, 240));
    face.setColorAt(0.5, QColor(92, 152, 224));
    face.setColorAt(1.0, QColor(70, 128, 206));
    p.fillRect(QRect(0, 0, w, h), face);
    // Light rim on top, darker rim at the bottom.
    p.fillRect(QRect(0, 0, w, 1), QColor(200, 228, 255));
    p.fillRect(QRect(0, h - 1, w, 1), QColor(40, 92, 168));
    // The amber marker of the current step.
    p.fillRect(QRect(0, 0, qMin(4, w), h), QColor(255, 186, 66));

    // Pointer towards the page, at the right edge.
    const int half = qMax(2, qMin(h / 4, 7));
    if (w > 2 * half + 8) {
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath tip;
        tip.moveTo(w, h / 2.0 - half);
        tip.lineTo(w - half, h / 2.0);
        tip.lineTo(w, h / 2.0 + half);
        tip.closeSubpath();
        p.fillPath(tip, QColor(255, 255, 255));
    }
    return img;
}
