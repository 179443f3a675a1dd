// Drawing of the progress bar: theme colours, background and fill, the
// rounded outline and the two texts, all into the bar's own image.
#include <algorithm>

#include <QFontMetrics>
#include <QPainter>

#include "controls/ProgressBar.h"
#include "controls/RoundRegion.h"

namespace {

using colour::rgb;
using Table = std::array<colour::Value, 9>;

const Table kThemes[9] = {
    {rgb(248, 246, 242), rgb(233, 227, 211), rgb(226, 215, 182), rgb(239, 233, 215), rgb(251, 244, 223),
     rgb(239, 213, 133), rgb(203, 166, 57), rgb(237, 224, 187), rgb(204, 168, 62)},
    {rgb(247, 248, 242), rgb(231, 233, 211), rgb(222, 226, 182), rgb(237, 239, 215), rgb(249, 251, 223),
     rgb(230, 239, 133), rgb(190, 203, 57), rgb(233, 237, 187), rgb(192, 204, 62)},
    {rgb(242, 248, 243), rgb(211, 233, 213), rgb(182, 226, 186), rgb(215, 239, 217), rgb(223, 251, 225),
     rgb(133, 239, 142), rgb(57, 203, 70), rgb(187, 237, 191), rgb(62, 204, 74)},
    {rgb(242, 248, 247), rgb(211, 233, 231), rgb(182, 226, 222), rgb(215, 239, 237), rgb(223, 251, 249),
     rgb(133, 239, 230), rgb(57, 203, 190), rgb(187, 237, 233), rgb(62, 204, 192)},
    {rgb(243, 242, 248), rgb(213, 211, 233), rgb(186, 182, 226), rgb(217, 215, 239), rgb(225, 223, 251),
     rgb(142, 133, 239), rgb(70, 57, 203), rgb(191, 187, 237), rgb(74, 62, 204)},
    {rgb(248, 242, 247), rgb(233, 211, 231), rgb(226, 182, 222), rgb(239, 215, 237), rgb(251, 223, 249),
     rgb(239, 133, 230), rgb(203, 57, 190), rgb(237, 187, 233), rgb(204, 62, 192)},
    {rgb(248, 242, 242), rgb(233, 211, 211), rgb(226, 182, 182), rgb(239, 215, 215), rgb(251, 223, 223),
     rgb(239, 133, 133), rgb(203, 57, 57), rgb(237, 187, 187), rgb(204, 62, 62)},
    {rgb(250, 253, 254), rgb(228, 243, 252), rgb(148, 182, 222), rgb(237, 247, 253), rgb(49, 113, 206),
     rgb(148, 182, 222), rgb(49, 113, 206), rgb(148, 182, 222), rgb(23, 139, 211)},
    {rgb(231, 243, 232), rgb(225, 219, 225), rgb(179, 189, 179), rgb(226, 238, 226), rgb(223, 251, 223),
     rgb(108, 255, 108), rgb(26, 228, 26), rgb(217, 244, 217), rgb(188, 184, 188)},
};

int rnd(double x) { return colour::roundHalfEven(x); }

// One channel of a two-vertex gradient at step i of n, in the 16-bit vertex
// precision of the platform's rectangle gradient.
int ramp(int c1, int c2, int i, int n) {
    const int v1 = c1 << 8, v2 = c2 << 8;
    return (v1 + int((qint64(v2) - v1) * i / n)) >> 8;
}

}  // namespace

void ProgressBar::GradientTwoColour(QImage &image, int Direction, colour::Value StartColor, colour::Value EndColor,
                                    int Left, int Top, int Width, int Height) {
    const int right = Width, bottom = Height;  // edges, not sizes
    if (right <= Left || bottom <= Top) return;
    const int x0 = std::max(Left, 0), x1 = std::min(right, image.width());
    const int y0 = std::max(Top, 0), y1 = std::min(bottom, image.height());
    const int n = Direction == 1 ? bottom - Top : right - Left;
    for (int y = y0; y < y1; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = x0; x < x1; ++x) {
            const int i = Direction == 1 ? y - Top : x - Left;
            line[x] = qRgb(ramp(colour::red(StartColor), colour::red(EndColor), i, n),
                           ramp(colour::green(StartColor), colour::green(EndColor), i, n),
                           ramp(colour::blue(StartColor), colour::blue(EndColor), i, n));
        }
    }
}

void ProgressBar::DrawGradientFourColour(QImage &image, int Left, int Top, int Width, int Height,
                                         colour::Value TopLeftColour, colour::Value TopRightColour,
                                         colour::Value BottomLeftColour, colour::Value BottomRightColour) {
    if (Width <= 0 || Height <= 0) return;
    for (int r = 0; r < Height; ++r) {
        auto edge = [&](colour::Value a, colour::Value b) {
            return rgb(ramp(colour::red(a), colour::red(b), r, Height),
                       ramp(colour::green(a), colour::green(b), r, Height),
                       ramp(colour::blue(a), colour::blue(b), r, Height));
        };
        GradientTwoColour(image, 0, edge(TopLeftColour, BottomLeftColour), edge(TopRightColour, BottomRightColour),
                          Left, Top + r, Left + Width, Top + r + 1);
    }
}

void ProgressBar::loadThemeColours() {
    if (m_theme >= 1 && m_theme <= 9) {
        m_colours = kThemes[m_theme - 1];
    } else if (m_theme == 10) {
        const colour::Value b = m_custom2, f = m_custom1;
        m_colours = {colour::lighten(b, 180),
                     colour::lighten(b, 50),
                     b,
                     colour::lighten(b, 80),
                     colour::lighten(f, 180),
                     colour::lighten(f, 50),
                     f,
                     colour::lighten(f, 80),
                     f};
    }
    // Any other theme keeps the colours of the last redraw.
}

void ProgressBar::redraw() {
    ++m_redraws;
    const int W = width(), H = height();
    const double percent = double(m_value) * 100.0 / double(m_max);
    const int fill = rnd((m_orientations == 2 ? H : W) * percent / 100.0);

    loadThemeColours();
    std::array<colour::Value, 9> c = m_colours;
    if (!m_enabled)
        for (auto &v : c) v = colour::grey(v);

    QImage image(std::max(W, 1), std::max(H, 1), QImage::Format_RGB32);
    const int dpm = rnd(logicalDpiX() / 0.0254);
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    image.fill(palette().color(QPalette::Window));

    if (m_barType == 0) {
        if (m_orientations == 1) {
            GradientTwoColour(image, 1, c[1], c[1], 0, 0, W, H);
            if (m_value >= 1) GradientTwoColour(image, 1, c[6], c[7], 0, 0, fill, H);
        } else if (m_orientations == 2) {
            GradientTwoColour(image, 0, c[1], c[1], 0, 0, W, H);
            if (m_value >= 1) GradientTwoColour(image, 0, c[5], c[5], 0, 0, W, fill);
        }
    } else {
        setMask(roundRectRegion(0, 0, W, H, m_roundedValue, m_roundedValue));
        if (m_orientations == 1) {
            const int h = rnd(H / 2.0);
            GradientTwoColour(image, 1, c[2], c[3], 0, 0, W, h);
            GradientTwoColour(image, 1, c[3], c[2], 0, h, W, H);
            if (m_value >= 1) {
                GradientTwoColour(image, 1, c[4], c[5], 0, 0, fill, h);
                GradientTwoColour(image, 1, c[5], c[4], 0, h, fill, H);
            }
        } else if (m_orientations == 2) {
            const int w = rnd(W / 2.0);
            GradientTwoColour(image, 0, c[0], c[1], 0, 0, w, H);
            GradientTwoColour(image, 0, c[2], c[3], w, 0, W, H);
            if (m_value >= 1) {
                GradientTwoColour(image, 0, c[4], c[5], 0, 0, w, fill);
                GradientTwoColour(image, 0, c[6], c[7], w, 0, W, fill);
            }
        }
        QPainter p(&image);
        p.setPen(colour::toQColor(c[8]));
        p.setBrush(Qt::NoBrush);
        // A one-pixel outline over columns 0..W-2 and rows 0..H-2.
        const qreal r = m_roundedValue / 2.0;
        if (r > 0)
            p.drawRoundedRect(QRect(0, 0, W - 2, H - 2), r, r, Qt::AbsoluteSize);
        else
            p.drawRect(QRect(0, 0, W - 2, H - 2));
    }

    if (m_textStyle >= 1 && m_textStyle <= 3) printBarText(image, mainText(), m_textAlignment);
    printBarText(image, m_text2, 8);

    m_image = image;
    update();
}

QString ProgressBar::mainText() const {
    switch (m_textStyle) {
    case 1: return QString::number(m_value);
    case 2: {
        // The whole floating-point percentage, to fifteen significant digits.
        const double percent = double(m_value) * 100.0 / double(m_max);
        return QString::number(percent, 'g', 15) + QLatin1Char('%');
    }
    case 3: return m_text;
    default: return QString();
    }
}

QPoint ProgressBar::textOrigin(const QString &text, int alignment) const {
    const QFontMetrics fm(m_textFont, this);
    const int W = width(), H = height();
    const double tw = fm.horizontalAdvance(text), th = fm.height();
    if (alignment < 1 || alignment > 9) return QPoint(0, 0);
    // Columns left, centre, right; within each, rows top, middle, bottom.
    const int col = (alignment - 1) / 3, row = (alignment - 1) % 3;
    const int x = col == 0 ? 1 : col == 1 ? rnd(W / 2.0 - tw / 2.0 - 1) : rnd(W - tw - 3);
    const int y = row == 0 ? 0 : row == 1 ? rnd(H / 2.0 - th / 2.0 - 1) : rnd(H - th - 1);
    return QPoint(x, y);
}

void ProgressBar::printBarText(QImage &image, const QString &text, int alignment) const {
    if (text.isEmpty()) return;
    colour::Value fore = m_textForeColor, effect = m_textEffectColor;
    if (!m_enabled) {
        fore = colour::grey(fore);
        effect = colour::grey(effect);
    }
    QPainter p(&image);
    p.setFont(m_textFont);
    const QFontMetrics fm(m_textFont, &image);
    const QPoint origin = textOrigin(text, alignment);
    const int x = origin.x(), y = origin.y();
    auto print = [&](colour::Value c, int dx, int dy) {
        p.setPen(colour::toQColor(c));
        p.drawText(x + dx, y + dy + fm.ascent(), text);
    };
    const colour::Value grey128 = rgb(128, 128, 128);
    switch (m_textEffect) {
    case 1: print(fore, 0, 0); break;
    case 2:
        print(effect, -1, -1);
        print(grey128, 1, 1);
        print(fore, 0, 0);
        break;
    case 3:
        print(effect, 1, 1);
        print(grey128, -1, 0);
        print(fore, 0, 0);
        break;
    case 4:
        print(effect, 1, 0);
        print(effect, -1, 0);
        print(effect, 0, -1);
        print(effect, 0, 1);
        print(fore, 0, 0);
        break;
    case 5:
        print(effect, 1, 1);
        print(fore, 0, 0);
        break;
    default: break;
    }
}
