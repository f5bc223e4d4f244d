// SPDX-License-Identifier: Apache-2.0
#pragma once
// The windows and the chart are laid out in twips (1/1440 inch); the screen
// and the chart files have 15 twips to the pixel at 96 dots per inch.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <cmath>

namespace valdris {

constexpr int kTwipsPerPixel = 15;

// To the nearest pixel, halves away from zero on either side of it.
inline int Px(int twips) { return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel)); }
inline QPoint PxPoint(int x, int y) { return {Px(x), Px(y)}; }
inline QSize PxSize(int width, int height) { return {Px(width), Px(height)}; }
inline QRect PxRect(int x, int y, int width, int height) { return {PxPoint(x, y), PxSize(width, height)}; }

}  // namespace valdris
