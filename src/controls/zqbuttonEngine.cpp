// The drawing engine of the button: the repaint dispatcher, window regions,
// the colours a style and a colour scheme imply, the pixel primitives every
// style paints with, and the two-band face of style 8.
#include <algorithm>
#include <cstdlib>

#include <QApplication>
#include <QPainter>
#include <QStyle>

#include "controls/RoundRegion.h"
#include "controls/zqbutton.h"

namespace {

using colour::rgb;
const colour::Value kWhite = rgb(255, 255, 255);

int rnd(double x) { return colour::roundHalfEven(x); }

QRgb toRgb(colour::Value c) { return qRgb(colour::red(c), colour::green(c), colour::blue(c)); }

// Whether a widget style is there to draw the themed face (style 13).
bool appIsThemed() { return QApplication::style() != nullptr; }

}  // namespace

void zqbutton::takeDrawingSize() {
    m_h = height();
    m_w = width();
}

void zqbutton::RedrawButton() {
    ++m_redraws;
    takeDrawingSize();
    m_clientRect = QRect(0, 0, m_w, m_h);
    QImage image(std::max(m_w, 1), std::max(m_h, 1), QImage::Format_RGB32);
    const int dpm = rnd(logicalDpiX() / 0.0254);
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    image.fill(toRgb(colour::translate(colour::systemRef(15))));
    m_image = image;

    // A set check or option button is drawn pressed.
    if (m_mode != 0 && m_buttonStyle != 0 && m_buttonStyle != 6 && m_value) m_buttonState = 2;

    switch (m_buttonStyle) {
    case 0:
    case 1:
    case 11:
    case 12: DrawStyle0(m_buttonState); break;
    case 2: DrawStyle2(m_buttonState); break;
    case 3: DrawStyle3(m_buttonState); break;
    case 4: DrawStyle4(m_buttonState); break;
    case 5: DrawStyle5(m_buttonState); break;
    case 6: DrawStyle6(m_buttonState); break;
    case 7: DrawStyle7(m_buttonState); break;
    case 8: DrawStyle8(m_buttonState); break;
    case 9: DrawStyle9(m_buttonState); break;
    case 10: DrawStyle10(m_buttonState); break;
    case 13:
        if (appIsThemed()) {
            DrawStyle13(m_buttonState);
        } else {
            // Without a visual style the button becomes style 2 for good.
            m_buttonStyle = 2;
            m_colorScheme = 0;
            SetDefaultColours();
            DrawStyle2(m_buttonState);
        }
        break;
    default: break;  // an unknown style leaves the surface cleared
    }
    update();
}

void zqbutton::SetButtonRegion() {
    switch (m_buttonStyle) {
    case 2:
    case 3:
    case 7:
    case 9: setMask(roundRectRegion(0, 0, m_w + 1, m_h + 1, 3, 3)); break;
    case 6:
    case 10: setMask(roundRectRegion(0, 0, m_w + 1, m_h + 1, 4, 4)); break;
    default: clearMask(); break;
    }
}

void zqbutton::ResetColorScheme() {
    switch (m_buttonStyle) {
    case 3:
    case 9: m_colorScheme = 2; break;
    case 0:
    case 1:
    case 2:
    case 4:
    case 6:
    case 7:
    case 8:
    case 10: m_colorScheme = 0; break;
    default: break;  // 5, 11, 12, 13 keep theirs
    }
}

void zqbutton::SetDefaultColours() {
    const int s = m_colorScheme;
    auto pick = [&](colour::Value c0, colour::Value c1, colour::Value c2) {
        if (s == 0) m_backColor = colour::translate(c0);
        if (s == 1) m_backColor = colour::translate(c1);
        if (s == 2) m_backColor = colour::translate(c2);
    };
    switch (m_buttonStyle) {
    case 0:
    case 1:
    case 4:
    case 6:
    case 7:
    case 11:
    case 12: m_backColor = colour::translate(colour::systemRef(15)); break;
    case 2: pick(rgb(236, 235, 231), rgb(243, 238, 219), rgb(240, 241, 252)); break;
    case 3: pick(rgb(224, 236, 253), rgb(232, 237, 222), ShiftColour(rgb(212, 212, 212), 0.06f)); break;
    case 5: pick(rgb(202, 225, 252), rgb(212, 214, 186), ShiftColour(rgb(160, 158, 186), 0.15f)); break;
    case 8:
    case 10: pick(rgb(173, 209, 255), rgb(212, 214, 186), rgb(224, 223, 227)); break;
    case 9: pick(rgb(173, 209, 255), rgb(212, 214, 186), rgb(213, 214, 225)); break;
    default: break;
    }
    m_foreColor = colour::translate(colour::systemRef(18));
    const int st = m_buttonStyle;
    m_showFocusRect = st == 0 || st == 1 || st == 9;
    if (st == 4) m_picturePushOnHover = true;
}

// ---- pixel primitives on the face image

colour::Value zqbutton::pixelAt(int x, int y) const {
    if (!m_image.valid(x, y)) return colour::kInvalid;
    return colour::fromQColor(QColor(m_image.pixel(x, y)));
}

void zqbutton::FillButtonRect(colour::Value c, const QRect &r) {
    const QRect clip = r.intersected(m_image.rect());
    if (clip.isEmpty()) return;
    const QRgb px = toRgb(c);
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(m_image.scanLine(y));
        std::fill(line + clip.left(), line + clip.right() + 1, px);
    }
}

void zqbutton::FrameButtonRect(int x, int y, int w, int h, colour::Value c) {
    if (w <= 0 || h <= 0) return;
    FillButtonRect(c, QRect(x, y, w, 1));
    FillButtonRect(c, QRect(x, y + h - 1, w, 1));
    FillButtonRect(c, QRect(x, y, 1, h));
    FillButtonRect(c, QRect(x + w - 1, y, 1, h));
}

void zqbutton::DrawButtonLine(int x1, int y1, int x2, int y2, colour::Value c) {
    // Bresenham from the start point up to, not including, the end point.
    const QRgb px = toRgb(c);
    const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    int err = dx + dy, x = x1, y = y1;
    while (x != x2 || y != y2) {
        if (m_image.valid(x, y)) m_image.setPixel(x, y, px);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void zqbutton::SetCornerPixels(colour::Value c) {
    takeDrawingSize();
    const QRgb px = toRgb(c);
    for (const QPoint p : {QPoint(1, 1), QPoint(1, m_h - 2), QPoint(m_w - 2, 1), QPoint(m_w - 2, m_h - 2)})
        if (m_image.valid(p)) m_image.setPixel(p, px);
}

void zqbutton::PaintGradient(int x, int y, int w, int h, colour::Value c1, colour::Value c2, int direction) {
    if (w <= 0 || h <= 0) return;
    const int n = direction == 0 ? w - 1 : direction == 1 ? h - 1 : w + h - 2;
    auto channel = [n](int a, int b, int i) { return n > 0 ? a + (b - a) * i / n : a / 2 + b / 2; };
    std::vector<QRgb> ramp(size_t(n) + 1);
    for (int i = 0; i <= n; ++i)
        ramp[size_t(i)] =
            qRgb(channel(colour::red(c1), colour::red(c2), i), channel(colour::green(c1), colour::green(c2), i),
                 channel(colour::blue(c1), colour::blue(c2), i));
    for (int r = 0; r < h; ++r) {
        const int py = y + r;
        if (py < 0 || py >= m_image.height()) continue;
        auto *line = reinterpret_cast<QRgb *>(m_image.scanLine(py));
        for (int j = 0; j < w; ++j) {
            const int px = x + j;
            if (px < 0 || px >= m_image.width()) continue;
            int i = 0;
            switch (direction) {
            case 0: i = j; break;
            case 1: i = r; break;
            case 2: i = r + j; break;
            default: i = (h - 1 - r) + j; break;
            }
            line[px] = ramp[size_t(std::clamp(i, 0, n))];
        }
    }
}

void zqbutton::drawEdge(const QRect &r, int edge) {
    // Raised: light above and left, shadow below and right; sunken the reverse.
    const colour::Value light3d = colour::translate(colour::systemRef(22));
    const colour::Value dark3d = colour::translate(colour::systemRef(21));
    const colour::Value highlight = colour::translate(colour::systemRef(20));
    const colour::Value shadow = colour::translate(colour::systemRef(16));
    auto border = [this](const QRect &b, colour::Value tl, colour::Value br) {
        if (b.width() <= 0 || b.height() <= 0) return;
        FillButtonRect(tl, QRect(b.left(), b.top(), b.width(), 1));
        FillButtonRect(tl, QRect(b.left(), b.top(), 1, b.height()));
        FillButtonRect(br, QRect(b.left(), b.bottom(), b.width(), 1));
        FillButtonRect(br, QRect(b.right(), b.top(), 1, b.height()));
    };
    if (edge & 1) border(r, light3d, dark3d);    // raised outer
    if (edge & 2) border(r, shadow, highlight);  // sunken outer
    const QRect inner = r.adjusted(1, 1, -1, -1);
    if (edge & 4) border(inner, highlight, shadow);  // raised inner
    if (edge & 8) border(inner, dark3d, light3d);    // sunken inner
}

void zqbutton::drawFocusRect(const QRect &r) {
    // Dotted, inverting every other pixel of the outline.
    auto flip = [this](int x, int y) {
        if (m_image.valid(x, y)) m_image.setPixel(x, y, m_image.pixel(x, y) ^ 0x00FFFFFFu);
    };
    for (int x = r.left(); x <= r.right(); ++x) {
        if ((x + r.top()) % 2 == 0) flip(x, r.top());
        if ((x + r.bottom()) % 2 == 0 && r.bottom() != r.top()) flip(x, r.bottom());
    }
    for (int y = r.top() + 1; y < r.bottom(); ++y) {
        if ((r.left() + y) % 2 == 0) flip(r.left(), y);
        if ((r.right() + y) % 2 == 0 && r.right() != r.left()) flip(r.right(), y);
    }
}

// ---- style 8, the face of every window of the wizard

void zqbutton::DrawStyle8(int state) {
    takeDrawingSize();
    const int W = m_w, H = m_h;
    const colour::Value B = TranslateColour(m_backColor);
    const int S = rnd(H / 2.7);
    const int L = rnd(H - H / 2.7);
    const colour::Value frame = ShiftColour(B, -0.34f);
    auto bands = [&](colour::Value t1, colour::Value t2, colour::Value b1, colour::Value b2) {
        PaintGradient(0, 0, W, S, t1, t2, 1);
        PaintGradient(0, S, W, L, b1, b2, 1);
    };
    if (m_mode != 0 && m_value) {
        bands(rgb(255, 217, 169), rgb(255, 192, 111), rgb(255, 171, 63), rgb(255, 225, 117));
        FrameButtonRect(0, 0, W, H, frame);
        if (m_mouseIsOver) {
            bands(rgb(255, 193, 88), rgb(255, 175, 81), rgb(255, 143, 70), rgb(255, 211, 95));
            FrameButtonRect(0, 0, W, H, frame);
        }
        DrawCaptionAndPicture();
        drawStyle8Focus();
        return;
    }
    switch (state) {
    case 1: bands(rgb(255, 255, 225), rgb(255, 234, 172), rgb(255, 215, 103), rgb(255, 228, 153)); break;
    case 2: bands(rgb(255, 193, 88), rgb(255, 175, 81), rgb(255, 143, 70), rgb(255, 211, 95)); break;
    default:
        FillButtonRect(B, m_clientRect);
        bands(MeanColour(ShiftColour(B, 0.09f), kWhite), MeanColour(ShiftColour(B, 0.07f), B), B,
              ShiftColour(B, 0.03f));
        break;
    }
    DrawCaptionAndPicture();
    FrameButtonRect(0, 0, W, H, frame);
    drawStyle8Focus();
}

void zqbutton::drawStyle8Focus() {
    // The keyboard's button (or the window's default one) in an active window.
    if (m_parentActive && m_showFocusRect && (m_hasFocus || m_displayAsDefault))
        drawFocusRect(QRect(2, 2, m_w - 4, m_h - 4));
}
