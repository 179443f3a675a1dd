// Caption, picture and drop-down symbol of the button, drawn over the face a
// style has painted. Pictures are blended pixel by pixel with what the face
// left in the image.
#include <algorithm>

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include "controls/zqbutton.h"

namespace {

using colour::rgb;

int rnd(double x) { return colour::roundHalfEven(x); }
int half(int v) { return v / 2; }  // whole-number half, truncating toward zero

const colour::Value kSilhouette = rgb(192, 192, 192);

}  // namespace

int zqbutton::textFlags() const { return Qt::TextWordWrap | Qt::TextShowMnemonic; }

void zqbutton::DrawCaptionAndPicture() {
    takeDrawingSize();
    const int W = m_w, H = m_h;
    const bool down = m_buttonState == 2 || (m_mode != 0 && m_value);
    if (down)
        m_currentPicture = !m_pictureDown.isNull()  ? m_pictureDown
                           : !m_pictureHot.isNull() ? m_pictureHot
                                                    : m_pictureNormal;
    else if (m_buttonState == 1)
        m_currentPicture = !m_pictureHot.isNull() ? m_pictureHot : m_pictureNormal;
    else
        m_currentPicture = m_pictureNormal;
    const int PW = m_currentPicture.width(), PH = m_currentPicture.height();
    const bool dropDown = m_dropDownSymbol != 0 || m_dropDownSeparator;
    const bool hasPicture = !m_pictureNormal.isNull();

    // Measure the caption within the width left beside the drop-down symbol.
    const int k = !dropDown ? 8 : (m_pictureAlign == 2 || m_pictureAlign == 3) ? 24 : 16;
    const QFontMetrics fm(m_font, &m_image);
    const QRect measured =
        fm.boundingRect(QRect(0, 0, std::max(W - k, 0), H), Qt::AlignLeft | Qt::AlignTop | textFlags(), m_caption);
    int l = 0, t = 0, r = measured.width(), b = measured.height();
    auto move = [&](int dx, int dy) {
        l += dx;
        r += dx;
        t += dy;
        b += dy;
    };

    switch (m_captionAlign) {
    case 0: move(2, half(H - b)); break;
    case 1:
        move(half(W - r + PW), half(H - b));
        if (dropDown) move(-8, 0);
        if (m_pictureAlign >= 5 && m_pictureAlign <= 8) move(-half(PW), 0);
        break;
    case 2: move(W - r - 4, half(H - b)); break;
    default: break;
    }
    const bool centred = m_captionAlign == 1;
    if (hasPicture) {
        switch (m_pictureAlign) {
        case 0:
        case 1:
            if (!centred && l < PW + 4) {
                l = PW + 4;
                r += PW + 4;
            }
            break;
        case 2:
        case 3:
            if (r > W - PW - 4) {
                r = W - PW - 4;
                l -= PW + 4;
            }
            if (centred) move(-12, 0);
            break;
        case 4:
            if (centred) move(-16, 0);
            break;
        case 5:
        case 6: move(0, half(PH)); break;
        case 7:
        case 8: move(0, -half(PH)); break;
        default: break;
        }
    }
    if (m_captionAlign == 2 && dropDown) move(-16, 0);
    if (m_buttonStyle == 13) {
        l = std::max(l, 4);
        t = std::max(t, 4);
        r = std::min(r, width() - 4);
        b = std::min(b, height() - 4);
    }
    m_captionRect = QRect(l, t, r - l, b - t);
    ComputePictureRect();

    if (m_dropDownSymbol != 0) {
        const int top = rnd(H / 2.0 - 7), bottom = rnd(H / 2.0 + 8);
        m_symbolRect = QRect(W - 15, top, 15, bottom - top);
    }
    if (m_dropDownSeparator && width() - 8 > m_captionRect.left() + m_captionRect.width()) {
        // A two-pixel groove that follows the face colour.
        const colour::Value c = pixelAt(7, 7);
        DrawButtonLine(W - 16, 3, W - 16, H - 3, ShiftColour(c, -0.1f));
        DrawButtonLine(W - 15, 3, W - 15, H - 3, ShiftColour(c, 0.1f));
    }
    const int st = m_buttonStyle;
    if (m_buttonState == 2 &&
        (st == 0 || st == 1 || st == 5 || st == 6 || st == 7 || st == 10 || st == 11 || st == 12)) {
        m_captionRect.translate(1, 1);
        m_pictureRect.translate(1, 1);
        m_symbolRect.translate(1, 1);
    }

    const bool lifted = m_picturePushOnHover && m_buttonState == 1;
    if (lifted) {
        DrawButtonPicture(m_pictureRect, kSilhouette);
        DrawButtonPicture(m_pictureRect.translated(-2, -2), -1);
    } else {
        DrawButtonPicture(m_pictureRect, -1);
    }
    if (m_pictureShadow && !lifted) DrawPictureShadow();
    if (m_captionEffects != 0) DrawCaptionEffects();

    const colour::Value greyText = TranslateColour(colour::systemRef(17));
    if (!m_enabled)
        DrawCaptionText(m_captionRect, greyText, 0, 0);
    else
        DrawCaptionText(m_captionRect, TranslateColour(m_buttonState == 1 ? m_foreColorHover : m_foreColor), 0, 0);

    if (m_dropDownSymbol != 0) {
        if (m_buttonState == 2 && (st == 0 || st == 1 || st == 6 || st == 7 || st == 11 || st == 12))
            m_symbolRect.translate(1, 1);
        DrawDropDownSymbol(m_dropDownSymbol);
    }
}

void zqbutton::ComputePictureRect() {
    if (m_pictureNormal.isNull()) return;
    const int W = m_w, H = m_h;
    const int PW = m_currentPicture.width(), PH = m_currentPicture.height();
    const QRect &C = m_captionRect;
    const int cLeft = C.left(), cTop = C.top();
    const int cRight = C.left() + C.width(), cBottom = C.top() + C.height();
    const bool dropDown = m_dropDownSymbol != 0 || m_dropDownSeparator;
    const int dd = dropDown ? 1 : 0;
    int x = half(W - PW) - 8 * dd, y = half(H - PH);
    if (!m_caption.trimmed().isEmpty() && m_pictureAlign != 4) {
        switch (m_pictureAlign) {
        case 0:
            x = 3;
            y = half(H - PH);
            break;
        case 1:
            x = cLeft - PW - 4;
            y = half(H - PH);
            break;
        case 2:
            x = std::max(W - PW - 3 - 16 * dd, cRight + 2);
            y = half(H - PH);
            break;
        case 3:
            x = std::max(cRight + 4 - 16 * dd, cRight + 2);
            y = half(H - PH);
            break;
        case 5:
            x = half(W - PW) - 8 * dd;
            y = 4;
            break;
        case 6:
            x = half(W - PW) - 8 * dd;
            y = cTop - PH - 2;
            break;
        case 7:
            x = half(W - PW) - 8 * dd;
            y = H - PH - 4;
            break;
        case 8:
            x = half(W - PW) - 8 * dd;
            y = cBottom + 2;
            break;
        default: break;
        }
    }
    m_pictureRect = QRect(x, y, PW, PH);
}

void zqbutton::DrawButtonPicture(const QRect &rect, qint64 shadow) {
    if (m_currentPicture.isNull()) return;
    const colour::Value mask = m_currentPicture.type == ButtonPicture::Icon ? kSilhouette : m_maskColor;
    blendPicture(rect.left(), rect.top(), m_currentPicture, mask, shadow);
}

void zqbutton::blendPicture(int x, int y, const ButtonPicture &picture, colour::Value mask, qint64 shadow) {
    const int w = picture.width(), h = picture.height();
    if (w == 0 || h == 0) return;
    const bool own32 = picture.is32Bit();

    const int state = m_buttonState;
    const int effect = state == 1 ? m_pictureEffectOnOver : state == 2 ? m_pictureEffectOnDown : 0;
    int alpha = 0;
    bool grey = false;
    if (state == 1) {
        alpha = m_pictureOpacityOnOver;
    } else if (m_enabled) {
        alpha = m_pictureOpacity;
    } else if (m_disabledPictureMode == 0) {
        alpha = 52;
    } else if (m_disabledPictureMode == 1) {
        alpha = rnd(m_pictureOpacity * 0.75);
        grey = true;
    }

    QImage src;
    if (own32) {
        src = picture.image.convertToFormat(QImage::Format_ARGB32);
    } else if (picture.type == ButtonPicture::Icon) {
        // An icon is drawn onto a square of the mask colour first.
        src = QImage(w, h, QImage::Format_RGB32);
        src.fill(colour::toQColor(mask));
        QPainter p(&src);
        p.drawImage(QRect(0, 0, w, h), picture.image);
    } else {
        src = picture.image.convertToFormat(QImage::Format_RGB32);
    }

    const auto *table = effect == 1 ? &m_lightenTable : effect == 2 ? &m_darkenTable : nullptr;
    for (int py = 0; py < h; ++py) {
        const int dy = y + py;
        if (dy < 0 || dy >= m_image.height()) continue;
        auto *dst = reinterpret_cast<QRgb *>(m_image.scanLine(dy));
        const auto *s = reinterpret_cast<const QRgb *>(src.constScanLine(py));
        for (int px = 0; px < w; ++px) {
            const int dx = x + px;
            if (dx < 0 || dx >= m_image.width()) continue;
            const int R = qRed(s[px]), G = qGreen(s[px]), Bl = qBlue(s[px]);
            int a = alpha;
            if (own32) {
                a = qAlpha(s[px]) * alpha / 255;
            } else if (m_useMaskColor && rgb(R, G, Bl) == mask) {
                continue;
            }
            if (a == 0) continue;
            int sr = R, sg = G, sb = Bl;
            if (shadow >= 0) {
                const auto sh = colour::Value(shadow);
                sr = colour::red(sh), sg = colour::green(sh), sb = colour::blue(sh);
            } else if (grey) {
                sr = sg = sb = rnd(rnd(R * 0.3) + G * 0.59 + Bl * 0.11);
            } else if (table) {
                sr = (*table)[size_t(R)], sg = (*table)[size_t(G)], sb = (*table)[size_t(Bl)];
            }
            if (a == 255) {
                dst[dx] = qRgb(sr, sg, sb);
            } else {
                const int i = 255 - a;
                const QRgb d = dst[dx];
                dst[dx] =
                    qRgb((a * sr + i * qRed(d)) / 256, (a * sg + i * qGreen(d)) / 256, (a * sb + i * qBlue(d)) / 256);
            }
        }
    }
}

void zqbutton::DrawPictureShadow() {
    const colour::Value base = MeanColour(rgb(128, 128, 128), TranslateColour(m_backColor));
    DrawButtonPicture(m_pictureRect.translated(2, 2), ShiftColour(base, 0.05f));
    DrawButtonPicture(m_pictureRect.translated(1, 1), ShiftColour(base, -0.1f));
    DrawButtonPicture(m_pictureRect, -1);
}

void zqbutton::DrawCaptionEffects() {
    const colour::Value B = TranslateColour(m_backColor);
    const QRect &R = m_captionRect;
    switch (m_captionEffects) {
    case 1: DrawCaptionText(R, ShiftColour(B, 0.14f), -1, -1); break;
    case 2: DrawCaptionText(R, ShiftColour(B, 0.14f), 1, 1); break;
    case 3: DrawCaptionText(R, kSilhouette, 1, 1); break;
    case 4:
    case 5: {
        const colour::Value c = ShiftColour(B, m_captionEffects == 4 ? 0.1f : -0.1f);
        DrawCaptionText(R, c, 1, 1);
        DrawCaptionText(R, c, 1, -1);
        DrawCaptionText(R, c, -1, 1);
        DrawCaptionText(R, c, -1, -1);
        break;
    }
    default: break;
    }
    DrawCaptionText(R, m_enabled ? TranslateColour(m_foreColor) : TranslateColour(colour::systemRef(17)), 0, 0);
}

void zqbutton::DrawCaptionText(const QRect &rect, colour::Value c, int dx, int dy) {
    if (m_caption.isEmpty()) return;
    QPainter p(&m_image);
    p.setFont(m_font);
    p.setPen(colour::toQColor(c));
    if (m_rightToLeft) p.setLayoutDirection(Qt::RightToLeft);
    // Every line is centred within the rectangle, wherever the alignment put it.
    p.drawText(rect.translated(dx, dy), Qt::AlignHCenter | Qt::AlignTop | textFlags(), m_caption);
}

void zqbutton::DrawDropDownSymbol(int symbol) {
    const colour::Value c = m_enabled ? TranslateColour(m_foreColor) : TranslateColour(colour::systemRef(17));
    const QChar ch = QString::number(symbol).at(0);
    QPainter p(&m_image);
    p.setPen(Qt::NoPen);
    p.setBrush(colour::toQColor(c));
    // The symbol glyphs fill a 14-pixel cell at the rectangle's top-left corner.
    const int cx = m_symbolRect.left() + 7, cy = m_symbolRect.top() + 7;
    QPolygon tri;
    switch (ch.unicode()) {
    case '6': tri << QPoint(cx - 3, cy - 2) << QPoint(cx + 3, cy - 2) << QPoint(cx, cy + 1); break;
    case '5': tri << QPoint(cx - 3, cy + 1) << QPoint(cx + 3, cy + 1) << QPoint(cx, cy - 2); break;
    case '4': tri << QPoint(cx - 2, cy - 3) << QPoint(cx - 2, cy + 3) << QPoint(cx + 1, cy); break;
    case '3': tri << QPoint(cx + 1, cy - 3) << QPoint(cx + 1, cy + 3) << QPoint(cx - 2, cy); break;
    default: {
        QFont f = m_font;
        f.setPixelSize(14);
        p.setFont(f);
        p.setPen(colour::toQColor(c));
        p.drawText(m_symbolRect, Qt::AlignLeft | Qt::AlignTop, QString(ch));
        return;
    }
    }
    p.drawPolygon(tri);
}
