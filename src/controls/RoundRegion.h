// Pixel region of a rectangle with rounded corners, as the controls give
// their widgets for a rounded outline.
#pragma once

#include <QRegion>

// The rectangle covers columns left..right-1 and rows top..bottom-1; each
// corner is cut along an ellipse of cornerW x cornerH pixels.
QRegion roundRectRegion(int left, int top, int right, int bottom, int cornerW, int cornerH);
