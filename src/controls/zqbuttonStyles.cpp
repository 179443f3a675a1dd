// The faces of the button's styles other than 8. Each paints the face for a
// state, lets the caption and picture be drawn over it, then adds its rim,
// focus and default looks.
#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

#include "controls/zqbutton.h"

namespace {

using colour::rgb;
const colour::Value kWhite = rgb(255, 255, 255);
const colour::Value kBlack = rgb(0, 0, 0);
constexpr int kEdgeRaised = 5, kRaisedInner = 4, kEdgeSunken = 10;

int rnd(double x) { return colour::roundHalfEven(x); }
colour::Value sys(int index) { return colour::translate(colour::systemRef(index)); }

}  // namespace

// ---- 0, 1, 11, 12: the system-like raised face

void zqbutton::DrawStyle0(int state) {
    takeDrawingSize();
    const int W = m_w, H = m_h, st = m_buttonStyle;
    const colour::Value B = TranslateColour(m_backColor);
    if (!m_enabled) {
        if (st == 0) drawEdge(m_clientRect, kEdgeRaised);
        if (st == 1) drawEdge(m_clientRect, kRaisedInner);
        DrawCaptionAndPicture();
        return;
    }
    if (m_mode != 0 && m_value) {
        FillButtonRect(ShiftColour(B, 0.02f), m_clientRect);
        DrawCaptionAndPicture();
        if (st == 12) return;
        drawEdge(m_clientRect, kEdgeSunken);
        if (st == 0 && m_showFocusRect && m_hasFocus) FrameButtonRect(4, 4, W - 7, H - 7, sys(12));
        return;
    }
    if (state == 0) SetButtonRegion();
    FillButtonRect(B, m_clientRect);
    DrawCaptionAndPicture();
    if (state == 0) {
        if (st == 0) drawEdge(m_clientRect, kEdgeRaised);
        if (st == 1) drawEdge(m_clientRect, kRaisedInner);
    } else if (state == 1) {
        drawEdge(m_clientRect, (st == 1 || st == 12) ? kRaisedInner : kEdgeRaised);
    } else if (state == 2) {
        if (st == 0) {
            FrameButtonRect(1, 1, W - 2, H - 2, rgb(172, 168, 153));
            FrameButtonRect(0, 0, W, H, kBlack);
        } else if (st == 1 || st == 12) {
            FrameButtonRect(0, 0, W, H, kWhite);
            FrameButtonRect(0, 0, W + 1, H + 1, sys(17));  // shows on the left and top only
        } else if (st == 11) {
            drawEdge(m_clientRect, kEdgeSunken);
        }
    }
    if (state >= 0 && state <= 2) drawStyle0FocusAndDefault(state);
}

void zqbutton::drawStyle0FocusAndDefault(int state) {
    if (!m_hasFocus && !m_displayAsDefault) return;
    const int W = m_w, H = m_h, st = m_buttonStyle;
    if (m_showFocusRect && m_parentActive) {
        const int inset = (st == 0 || st == 11) ? 4 : 3;
        drawFocusRect(QRect(inset, inset, W - 2 * inset, H - 2 * inset));
    }
    if (st == 0 && state != 2) {
        drawEdge(QRect(0, 0, W - 1, H - 1), kEdgeRaised);
        FrameButtonRect(0, 0, W - 1, H - 1, sys(12));
        FrameButtonRect(0, 0, W, H, kBlack);
    }
}

// ---- 2: soft gradient with coloured rims

void zqbutton::drawStyle2Rim(const std::array<colour::Value, 8> &c, bool whiteInner) {
    const int W = m_w, H = m_h;
    DrawButtonLine(1, 2, W - 2, 2, c[0]);
    DrawButtonLine(1, 1, W - 2, 1, c[1]);
    DrawButtonLine(1, 1, 1, H - 2, c[2]);
    DrawButtonLine(W - 2, 2, W - 2, H - 2, c[3]);
    DrawButtonLine(2, 2, 2, H - 3, whiteInner ? kWhite : c[4]);
    DrawButtonLine(W - 3, 3, W - 3, H - 3, whiteInner ? kWhite : c[5]);
    DrawButtonLine(2, H - 3, W - 2, H - 3, c[6]);
    DrawButtonLine(2, H - 2, W - 2, H - 2, c[7]);
}

void zqbutton::DrawStyle2(int state) {
    takeDrawingSize();
    const int W = m_w, H = m_h, scheme = m_colorScheme;
    const colour::Value B = TranslateColour(m_backColor);
    if (!m_enabled) {
        SetButtonRegion();
        FillButtonRect(MeanColour(sys(15), ShiftColour(B, 0.1f)), m_clientRect);
        DrawCaptionAndPicture();
        FrameButtonRect(0, 0, W, H, ShiftColour(B, -0.1f));
        SetCornerPixels(ShiftColour(B, -0.1f));
        return;
    }
    auto face = [&] {
        if (scheme == 2) {
            const int h2 = rnd(H / 2.0);
            PaintGradient(0, 0, W, h2, ShiftColour(B, 0.22f), B, 1);
            PaintGradient(0, h2, W, h2, ShiftColour(B, -0.01f), ShiftColour(B, -0.15f), 1);
        } else {
            PaintGradient(0, 0, W, H, ShiftColour(B, 0.07f), B, 1);
            PaintGradient(0, 0, W, 4, ShiftColour(B, 0.1f), ShiftColour(B, 0.08f), 1);
        }
        DrawCaptionAndPicture();
    };
    if (state == 0) {
        SetButtonRegion();
        face();
        if (scheme == 2) {
            DrawButtonLine(W - 2, 2, W - 2, H - 2, kWhite);
            DrawButtonLine(1, 1, 1, H - 2, kWhite);
        } else {
            DrawButtonLine(1, H - 2, W - 2, H - 2, ShiftColour(B, -0.09f));
            DrawButtonLine(1, H - 3, W - 2, H - 3, ShiftColour(B, -0.05f));
            DrawButtonLine(1, H - 4, W - 2, H - 4, ShiftColour(B, -0.01f));
            DrawButtonLine(W - 2, 2, W - 2, H - 2, ShiftColour(B, -0.08f));
            DrawButtonLine(1, 1, 1, H - 2, MeanColour(kWhite, B));
        }
    } else if (state == 1) {
        face();
        drawStyle2Rim({rgb(253, 216, 137), rgb(255, 240, 207), rgb(249, 189, 73), rgb(249, 189, 73), rgb(252, 210, 122),
                       rgb(252, 210, 122), rgb(248, 179, 48), rgb(229, 151, 0)},
                      false);
    } else if (state == 2) {
        if (scheme == 2) {
            PaintGradient(0, 0, W, H - 6, ShiftColour(B, -0.2f), ShiftColour(B, 0.05f), 1);
            PaintGradient(0, H - 6, W, H - 1, ShiftColour(B, 0.08f), kWhite, 1);
            DrawCaptionAndPicture();
            FrameButtonRect(1, 1, W - 2, H - 2, kWhite);
        } else {
            FillButtonRect(ShiftColour(B, -0.05f), m_clientRect);
            DrawCaptionAndPicture();
            DrawButtonLine(1, 1, W - 2, 1, ShiftColour(B, -0.16f));
            DrawButtonLine(1, 2, W - 2, 2, ShiftColour(B, -0.1f));
            DrawButtonLine(1, H - 2, W - 2, H - 2, ShiftColour(B, 0.01f));
            DrawButtonLine(1, 1, 1, H - 2, ShiftColour(B, -0.16f));
            DrawButtonLine(2, 2, 2, H - 2, ShiftColour(B, -0.1f));
            DrawButtonLine(W - 2, 2, W - 2, H - 2, ShiftColour(B, 0.04f));
        }
    }
    const bool focusOrDefault = m_hasFocus || m_displayAsDefault;
    if (m_parentActive && focusOrDefault && state == 0) {
        const colour::Value s0a = rgb(188, 212, 246), s0b = rgb(206, 231, 255), s0c = rgb(142, 175, 230),
                            s0d = rgb(184, 209, 244), s0e = rgb(137, 173, 228), s0f = rgb(105, 130, 238);
        if (scheme == 1)
            drawStyle2Rim({rgb(194, 209, 143), rgb(177, 203, 128), rgb(160, 200, 104), rgb(160, 200, 104),
                           rgb(160, 200, 104), rgb(160, 200, 104), rgb(160, 200, 104), rgb(168, 167, 102)},
                          false);
        else
            drawStyle2Rim({s0a, s0b, s0c, s0c, s0d, s0d, s0e, s0f}, scheme == 2);
    }
    if (m_parentActive && m_showFocusRect && focusOrDefault) drawFocusRect(QRect(2, 2, W - 4, H - 4));
    const colour::Value frame = scheme == 1 ? rgb(55, 98, 6) : rgb(0, 60, 116);
    FrameButtonRect(0, 0, W, H, frame);
    SetCornerPixels(ShiftColour(frame, 0.3f));
}

// ---- 3: glassy blue

void zqbutton::DrawStyle3(int state) {
    takeDrawingSize();
    const int W = m_w, H = m_h;
    const colour::Value B = TranslateColour(m_backColor);
    const colour::Value E = ShiftColour(B, 0.05f);
    if (!m_enabled) {
        SetButtonRegion();
        FillButtonRect(ShiftColour(B, 0.03f), m_clientRect);
        DrawCaptionAndPicture();
        FrameButtonRect(0, 0, W, H, ShiftColour(B, -0.25f));
        FrameButtonRect(1, 1, W - 2, H - 2, ShiftColour(B, 0.25f));
        SetCornerPixels(ShiftColour(B, -0.03f));
        return;
    }
    const int h2 = rnd(H / 2.0);
    auto glows = [&](colour::Value up1, colour::Value up2, colour::Value lo1, colour::Value lo2) {
        const int upH = rnd(H / 2.0 - 2), loH = rnd(H - H / 2.0 - 1);
        PaintGradient(1, 3, 5, upH, up1, up2, 0);
        PaintGradient(1, h2, 5, loH, lo1, lo2, 0);
        PaintGradient(W - 6, 3, 5, upH, up2, up1, 0);
        PaintGradient(W - 6, h2, 5, loH, lo2, lo1, 0);
    };
    if (state == 0) {
        SetButtonRegion();
        PaintGradient(1, 1, W - 1, H, E, B, 1);
        PaintGradient(1, h2, W - 2, H - 2, ShiftColour(B, -0.02f), ShiftColour(B, -0.15f), 1);
        DrawCaptionAndPicture();
        FrameButtonRect(0, 0, W, H, rgb(112, 112, 112));
        FrameButtonRect(1, 1, W - 2, H - 2, kWhite);
    } else if (state == 1) {
        PaintGradient(1, 1, W - 2, h2, rgb(228, 247, 255), rgb(218, 243, 255), 1);
        PaintGradient(1, h2, W - 2, H - 2, rgb(193, 233, 255), rgb(174, 225, 253), 1);
        glows(rgb(205, 238, 255), rgb(228, 247, 255), rgb(143, 214, 250), ShiftColour(rgb(172, 225, 253), 0.01f));
        DrawCaptionAndPicture();
        FrameButtonRect(0, 0, W, H, rgb(50, 117, 167));
        FrameButtonRect(1, 1, W - 2, H - 2, kWhite);
    } else if (state == 2) {
        PaintGradient(1, 1, W - 1, H, rgb(194, 228, 246), rgb(194, 228, 246), 1);
        PaintGradient(1, h2, W - 2, H - 2, rgb(154, 210, 240), rgb(154, 210, 240), 1);
        FrameButtonRect(0, 0, W, H, rgb(29, 65, 92));
        DrawButtonLine(1, 1, W - 1, 1, rgb(113, 156, 179));
        DrawButtonLine(1, 2, W - 1, 2, rgb(169, 198, 214));
        DrawButtonLine(1, 3, W - 1, 3, rgb(185, 217, 236));
        DrawButtonLine(1, 1, 1, rnd(H / 2.0 - 1), rgb(115, 176, 207));
        DrawButtonLine(1, h2, 1, rnd(H - H / 2.0 - 1), rgb(43, 145, 197));
        glows(ShiftColour(rgb(145, 200, 230), 0.02f), ShiftColour(rgb(194, 228, 246), -0.01f),
              ShiftColour(rgb(78, 171, 220), 0.02f), ShiftColour(rgb(154, 210, 240), -0.01f));
        DrawCaptionAndPicture();
    }
    if (m_parentActive) {
        if (state == 0 && (m_hasFocus || m_displayAsDefault)) {
            FrameButtonRect(0, 0, W, H, rgb(50, 117, 167));
            FrameButtonRect(1, 1, W - 2, H - 2, rgb(251, 216, 72));
        }
        if (m_showFocusRect && m_hasFocus) drawFocusRect(QRect(2, 2, W - 4, H - 4));
    }
    SetCornerPixels(rgb(95, 150, 190));
}

// ---- 4: flat until the cursor comes

void zqbutton::DrawStyle4(int state) {
    takeDrawingSize();
    const int W = m_w, H = m_h;
    const colour::Value B = TranslateColour(m_backColor);
    colour::Value F = B, K = ShiftColour(B, -0.12f);
    switch (m_colorScheme) {
    case 0:
        F = rgb(193, 210, 238);
        K = rgb(49, 106, 197);
        break;
    case 1:
        F = rgb(212, 214, 186);
        K = rgb(147, 160, 112);
        break;
    case 2:
        F = rgb(224, 223, 227);
        K = rgb(178, 180, 191);
        break;
    default: break;
    }
    if (m_mode != 0 && m_value) {
        FillButtonRect(ShiftColour(F, -0.05f), m_clientRect);
        FrameButtonRect(0, 0, W, H, K);
        if (m_mouseIsOver) {
            FillButtonRect(ShiftColour(F, -0.01f), m_clientRect);
            FrameButtonRect(0, 0, W, H, K);
        }
        DrawCaptionAndPicture();
        return;
    }
    if (state == 0) {
        FillButtonRect(B, m_clientRect);
        DrawCaptionAndPicture();
    } else if (state == 1 || state == 2) {
        FillButtonRect(ShiftColour(F, state == 1 ? 0.03f : -0.08f), m_clientRect);
        DrawCaptionAndPicture();
        FrameButtonRect(0, 0, W, H, K);
    }
}

// ---- 5: gradient face with an orange hot and down look

void zqbutton::DrawStyle5(int state) {
    takeDrawingSize();
    const int W = m_w, H = m_h;
    const colour::Value B = TranslateColour(m_backColor);
    const colour::Value navy = rgb(0, 0, 128);
    if (m_mode != 0 && m_value) {
        if (m_mouseIsOver)
            PaintGradient(0, 0, W, H, rgb(254, 145, 78), rgb(255, 211, 142), 1);
        else
            PaintGradient(0, 0, W, H, rgb(255, 213, 140), rgb(255, 173, 85), 1);
        DrawCaptionAndPicture();
        FrameButtonRect(0, 0, W, H, navy);
        return;
    }
    if (state == 0) {
        SetButtonRegion();
        const int h2 = rnd(H / 2.0);
        PaintGradient(0, 0, W, h2, MeanColour(kWhite, ShiftColour(B, 0.08f)), B, 1);
        PaintGradient(0, h2, W, rnd(H / 2.0 + 1), B, ShiftColour(B, -0.15f), 1);
        DrawCaptionAndPicture();
    } else if (state == 1 || state == 2) {
        if (state == 1)
            PaintGradient(0, 0, W, H, rgb(255, 244, 204), rgb(255, 208, 145), 1);
        else
            PaintGradient(0, 0, W, H, rgb(254, 145, 78), rgb(255, 211, 142), 1);
        DrawCaptionAndPicture();
        FrameButtonRect(0, 0, W, H, navy);
    }
}

// ---- 6: flat face, light rims; its caption colour follows the state

void zqbutton::DrawStyle6(int state) {
    takeDrawingSize();
    const int W = m_w, H = m_h;
    const colour::Value B = TranslateColour(m_backColor);
    m_foreColor = state == 2 ? kWhite : sys(18);
    if (m_mode != 0 && m_value && m_mouseIsDown) state = 2;
    if (m_mode != 0 && m_value && state != 2) {
        FillButtonRect(rgb(254, 254, 254), m_clientRect);
        m_foreColor = sys(18);
        DrawCaptionAndPicture();
        FrameButtonRect(0, 0, W, H, rgb(122, 152, 175));
        SetCornerPixels(ShiftColour(rgb(160, 179, 193), -0.2f));
        if (state == 1) {
            DrawButtonLine(W - 2, 2, W - 2, H - 2, rgb(242, 240, 237));
            DrawButtonLine(2, H - 2, W - 2, H - 2, rgb(228, 222, 216));
            DrawButtonLine(1, H - 3, W - 1, H - 3, rgb(239, 236, 232));
            DrawButtonLine(1, H - 4, W - 1, H - 4, rgb(250, 249, 248));
        }
        return;
    }
    if (state == 0) {
        SetButtonRegion();
        FillButtonRect(B, m_clientRect);
        DrawCaptionAndPicture();
    } else if (state == 1) {
        const int h2 = rnd(H / 2.0);
        PaintGradient(0, 0, W, h2, rgb(254, 254, 253), rgb(244, 244, 238), 1);
        PaintGradient(0, h2, W, h2, rgb(244, 244, 238), rgb(241, 241, 234), 1);
        DrawCaptionAndPicture();
        DrawButtonLine(W - 2, 2, W - 2, H - 2, rgb(234, 231, 224));
        DrawButtonLine(W - 3, 2, W - 3, H - 2, rgb(240, 240, 234));
        DrawButtonLine(0, H - 4, W, H - 4, rgb(238, 237, 229));
        DrawButtonLine(0, H - 3, W, H - 3, rgb(228, 225, 214));
        DrawButtonLine(0, H - 2, W, H - 2, rgb(215, 210, 198));
        FrameButtonRect(0, 0, W, H, rgb(206, 206, 195));
        SetCornerPixels(ShiftColour(rgb(212, 212, 201), -0.05f));
    } else if (state == 2) {
        FillButtonRect(rgb(229, 228, 221), m_clientRect);
        DrawCaptionAndPicture();
        DrawButtonLine(1, 1, W - 2, 1, ShiftColour(rgb(220, 218, 209), -0.02f));
        DrawButtonLine(1, 2, W - 2, 2, ShiftColour(rgb(227, 225, 218), -0.02f));
        DrawButtonLine(1, H - 3, W - 2, H - 3, ShiftColour(rgb(230, 229, 222), 0.02f));
        DrawButtonLine(1, H - 2, W - 2, H - 2, ShiftColour(rgb(235, 234, 229), 0.02f));
        FrameButtonRect(0, 0, W, H, rgb(157, 157, 146));
        SetCornerPixels(ShiftColour(rgb(181, 180, 171), -0.2f));
    }
}

// ---- 7: flat with a framed hot and down look

void zqbutton::DrawStyle7(int state) {
    takeDrawingSize();
    const int W = m_w, H = m_h;
    const colour::Value B = TranslateColour(m_backColor);
    const colour::Value frame = rgb(97, 158, 202);
    if (!m_enabled) {
        FillButtonRect(B, m_clientRect);
        DrawCaptionAndPicture();
        SetCornerPixels(B);
        return;
    }
    if (state == 0) {
        SetButtonRegion();
        FillButtonRect(B, m_clientRect);
        DrawCaptionAndPicture();
        return;
    }
    if (state == 1) {
        PaintGradient(1, 1, W - 2, H - 2, rgb(241, 249, 253), rgb(208, 236, 248), 1);
        const int y = rnd(H / 1.7);
        PaintGradient(1, y, W - 2, H - 2, rgb(208, 236, 248), rgb(208, 236, 248), 1);
    } else if (state == 2) {
        PaintGradient(1, 1, W - 2, H - 2, rgb(176, 222, 241), rgb(219, 241, 249), 1);
    } else {
        return;
    }
    DrawCaptionAndPicture();
    FrameButtonRect(0, 0, W, H, frame);
    FrameButtonRect(1, 1, W - 2, H - 2, kWhite);
    SetCornerPixels(ShiftColour(frame, 0.3f));
}

// ---- 9: the pattern the other gradient styles follow

void zqbutton::DrawStyle9(int state) {
    takeDrawingSize();
    const int W = m_w, H = m_h;
    const colour::Value B = TranslateColour(m_backColor);
    if (!m_enabled) state = 0;
    if (state == 0) SetButtonRegion();
    const int h2 = rnd(H / 2.0);
    if (state == 2) {
        PaintGradient(0, 0, W, h2, kWhite, ShiftColour(B, -0.1f), 1);
        PaintGradient(0, h2, W, H, ShiftColour(B, -0.1f), ShiftColour(B, -0.05f), 1);
    } else {
        PaintGradient(0, 0, W, h2, kWhite, B, 1);
        PaintGradient(0, h2, W, H, B, B, 1);
    }
    DrawCaptionAndPicture();
    FrameButtonRect(1, 1, W - 2, H, kWhite);
    FrameButtonRect(0, 0, W, H, ShiftColour(B, state == 2 ? -0.23f : -0.2f));
    DrawButtonLine(2, H - 1, W - 2, H - 1, ShiftColour(B, state == 2 ? -0.4f : -0.25f));
    SetCornerPixels(ShiftColour(B, 0.05f));
    if (m_parentActive && m_showFocusRect && (m_hasFocus || m_displayAsDefault))
        drawFocusRect(QRect(3, 3, W - 6, H - 6));
}

// ---- 10: a five-pixel top band over a lower gradient

void zqbutton::DrawStyle10(int state) {
    takeDrawingSize();
    const int W = m_w, H = m_h;
    const colour::Value B = TranslateColour(m_backColor);
    const colour::Value lightB = MeanColour(B, kWhite);
    colour::Value fill, top1, low1, low2, frame, corners;
    if (!m_enabled) {
        fill = B;
        top1 = ShiftColour(lightB, 0.05f);
        low1 = ShiftColour(B, -0.02f);
        low2 = MeanColour(kWhite, ShiftColour(B, 0.08f));
        frame = ShiftColour(B, -0.2f);
        corners = ShiftColour(B, -0.23f);
    } else if (state == 1) {
        fill = ShiftColour(B, -0.03f);
        top1 = ShiftColour(lightB, 0.15f);
        low1 = ShiftColour(B, -0.05f);
        low2 = MeanColour(kWhite, ShiftColour(B, 0.2f));
        frame = ShiftColour(B, -0.28f);
        corners = ShiftColour(B, -0.36f);
    } else if (state == 2) {
        fill = ShiftColour(B, -0.03f);
        top1 = ShiftColour(lightB, 0.1f);
        low1 = ShiftColour(B, -0.08f);
        low2 = MeanColour(kWhite, ShiftColour(B, 0.05f));
        frame = ShiftColour(B, -0.36f);
        corners = ShiftColour(B, -0.36f);
    } else if (state == 0) {
        SetButtonRegion();
        fill = ShiftColour(B, -0.03f);
        top1 = ShiftColour(lightB, 0.1f);
        low1 = ShiftColour(B, -0.05f);
        low2 = MeanColour(kWhite, ShiftColour(B, 0.1f));
        frame = ShiftColour(B, -0.33f);
        corners = ShiftColour(B, -0.36f);
    } else {
        return;
    }
    FillButtonRect(fill, m_clientRect);
    PaintGradient(0, 0, W, 5, top1, B, 1);
    PaintGradient(0, 6, W, H - 1, low1, low2, 1);
    DrawCaptionAndPicture();
    FrameButtonRect(0, 0, W, H, frame);
    SetCornerPixels(corners);
}

// ---- 13: the widget style's own push button

void zqbutton::DrawStyle13(int state) {
    takeDrawingSize();
    QStyleOptionButton opt;
    opt.initFrom(this);
    opt.rect = m_clientRect;
    opt.state = QStyle::State_None;
    if (m_enabled) opt.state |= QStyle::State_Enabled;
    if (m_enabled && state == 1) opt.state |= QStyle::State_MouseOver;
    if (m_enabled && state == 2)
        opt.state |= QStyle::State_Sunken;
    else
        opt.state |= QStyle::State_Raised;
    if (m_enabled && state == 0 && m_parentActive && (m_hasFocus || m_displayAsDefault))
        opt.features |= QStyleOptionButton::DefaultButton;
    {
        QPainter p(&m_image);
        style()->drawControl(QStyle::CE_PushButtonBevel, &opt, &p, this);
    }
    DrawCaptionAndPicture();
}
