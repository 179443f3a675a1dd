#include "wizard/TitleButtons.h"

#include <cmath>

#include <QPainter>

namespace {

struct Seg {
    int x1, y1, x2, y2;
};

struct Face {
    QColor upper;
    QColor gradient[7];
};

// Indexed [button][state]: close then minimise; normal, hot, pressed.
const Face kFaces[2][3] = {
    {
        {{228, 159, 146},
         {{184, 67, 44}, {186, 73, 50}, {191, 84, 63}, {197, 98, 79}, {197, 98, 79}, {205, 115, 99}, {213, 133, 118}}},
        {{252, 185, 173},
         {{210, 35, 2}, {210, 35, 2}, {213, 51, 13}, {218, 81, 33}, {218, 81, 33}, {224, 116, 57}, {232, 160, 86}}},
        {{191, 143, 118},
         {{131, 24, 0}, {135, 25, 0}, {133, 43, 1}, {145, 67, 18}, {145, 67, 18}, {168, 104, 44}, {193, 147, 74}}},
    },
    {
        {{193, 211, 231},
         {{152, 177, 204},
          {158, 183, 209},
          {164, 190, 216},
          {172, 197, 223},
          {172, 197, 223},
          {178, 203, 229},
          {183, 208, 233}}},
        {{150, 203, 239},
         {{45, 115, 163},
          {44, 123, 175},
          {44, 137, 191},
          {44, 154, 208},
          {44, 154, 208},
          {41, 169, 223},
          {36, 198, 235}}},
        {{110, 136, 156},
         {{32, 59, 82}, {31, 68, 91}, {35, 98, 115}, {39, 135, 145}, {39, 135, 145}, {43, 168, 172}, {39, 201, 200}}},
    },
};

const QColor kFrame(67, 20, 34);
const QColor kInner(244, 211, 204);
const QColor kGlyphOutline(83, 86, 102);
const QColor kWhite(255, 255, 255);

// Frame and inner edge: top, bottom, right, left.
const Seg kCloseFrame[] = {{1035, 75, 630, 75}, {1035, 315, 630, 315}, {1050, 90, 1050, 315}, {630, 90, 630, 315}};
const Seg kMinFrame[] = {{570, 75, 150, 75}, {570, 315, 150, 315}, {585, 90, 585, 315}, {150, 90, 150, 315}};
const Seg kCloseInner[] = {{1020, 90, 645, 90}, {1035, 300, 630, 300}, {1035, 90, 1035, 300}, {645, 90, 645, 300}};
const Seg kMinInner[] = {{570, 90, 170, 90}, {570, 300, 155, 300}, {570, 90, 570, 300}, {170, 90, 170, 300}};

// The close glyph, a cross of horizontal runs: outline runs per row, then
// fill runs with the row's fill colour.
struct GlyphRow {
    int y;
    Seg outline[4];
    int outlineCount;
    Seg fill[2];
    int fillCount;
    QColor fillColor;
};

constexpr Seg H(int x1, int x2, int y) { return Seg{x1, y, x2, y}; }

const GlyphRow kCross[] = {
    {135, {H(900, 855, 135), H(810, 765, 135)}, 2, {}, 0, {}},
    {150,
     {H(915, 900, 150), H(855, 840, 150), H(825, 810, 150), H(765, 750, 150)},
     4,
     {H(900, 855, 150), H(810, 765, 150)},
     2,
     kWhite},
    {165, {H(900, 885, 165), H(840, 825, 165), H(780, 765, 165)}, 3, {H(885, 840, 165), H(825, 780, 165)}, 2, kWhite},
    {180, {H(885, 870, 180), H(795, 780, 180)}, 2, {H(870, 795, 180)}, 1, kWhite},
    {195, {H(870, 855, 195), H(810, 795, 195)}, 2, {H(855, 810, 195)}, 1, QColor(233, 233, 233)},
    {210, {H(885, 870, 210), H(795, 780, 210)}, 2, {H(870, 795, 210)}, 1, QColor(226, 226, 226)},
    {225,
     {H(900, 885, 225), H(840, 825, 225), H(780, 765, 225)},
     3,
     {H(885, 840, 225), H(825, 780, 225)},
     2,
     QColor(220, 220, 220)},
    {240,
     {H(915, 900, 240), H(855, 840, 240), H(825, 810, 240), H(765, 750, 240)},
     4,
     {H(900, 855, 240), H(810, 765, 240)},
     2,
     QColor(215, 215, 215)},
    {255, {H(900, 855, 255), H(810, 765, 255)}, 2, {}, 0, {}},
};

const Seg kBarOutline[] = {{435, 195, 290, 195}, {435, 255, 290, 255}, {450, 210, 450, 255}, {290, 210, 290, 255}};
const Seg kBarFill[] = {{435, 210, 290, 210}, {435, 225, 290, 225}, {435, 240, 290, 240}};
const QColor kBarFillColor[] = {kWhite, QColor(220, 220, 220), QColor(215, 215, 215)};

int toPixel(int twips) { return static_cast<int>(std::lround(twips / double(TitleButtons::TwipsPerPixel))); }

void draw(QPainter &p, const Seg &s, const QColor &c) { TitleButtons::line(p, s.x1, s.y1, s.x2, s.y2, c); }

void drawFrameAndFace(QPainter &p, const Seg (&frame)[4], const Seg (&inner)[4], int faceFrom, int faceTo,
                      const Face &face) {
    for (const Seg &s : frame) draw(p, s, kFrame);
    for (const Seg &s : inner) draw(p, s, kInner);
    for (int i = 0; i < 13; ++i) {
        const int y = 105 + 15 * i;
        TitleButtons::line(p, faceFrom, y, faceTo, y, i < 6 ? face.upper : face.gradient[i - 6]);
    }
}

}  // namespace

TitleButtons::State TitleButtons::stateOf(bool hot, bool pressed) {
    if (!hot) return State::Normal;
    return pressed ? State::Pressed : State::Hot;
}

QColor TitleButtons::upperColor(Button button, State state) { return kFaces[int(button)][int(state)].upper; }

QColor TitleButtons::gradientColor(Button button, State state, int line) {
    if (line < 0 || line > 6) return {};
    return kFaces[int(button)][int(state)].gradient[line];
}

void TitleButtons::line(QPainter &p, int x1, int y1, int x2, int y2, const QColor &color) {
    const int px1 = toPixel(x1), py1 = toPixel(y1);
    const int px2 = toPixel(x2), py2 = toPixel(y2);
    if (py1 == py2) {
        if (px1 == px2) return;
        // From the first pixel towards the second, the second left out.
        const int step = px2 > px1 ? 1 : -1;
        const int last = px2 - step;
        p.fillRect(QRect(QPoint(qMin(px1, last), py1), QPoint(qMax(px1, last), py1)), color);
    } else if (px1 == px2) {
        const int step = py2 > py1 ? 1 : -1;
        const int last = py2 - step;
        p.fillRect(QRect(QPoint(px1, qMin(py1, last)), QPoint(px1, qMax(py1, last))), color);
    }
}

void TitleButtons::paint(QPainter &p, State close, State minimize) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);

    drawFrameAndFace(p, kCloseFrame, kCloseInner, 1020, 645, kFaces[0][int(close)]);
    for (const GlyphRow &row : kCross)
        for (int i = 0; i < row.outlineCount; ++i) draw(p, row.outline[i], kGlyphOutline);
    for (const GlyphRow &row : kCross)
        for (int i = 0; i < row.fillCount; ++i) draw(p, row.fill[i], row.fillColor);

    drawFrameAndFace(p, kMinFrame, kMinInner, 555, 170, kFaces[1][int(minimize)]);
    for (const Seg &s : kBarOutline) draw(p, s, kGlyphOutline);
    for (int i = 0; i < 3; ++i) draw(p, kBarFill[i], kBarFillColor[i]);

    p.restore();
}
