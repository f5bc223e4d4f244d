#pragma once
// The windows are laid out in twips (1/1440 inch); the screen has 15 twips
// to the pixel at 96 dots per inch.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace valdris {

constexpr int kTwipsPerPixel = 15;

constexpr int Px(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }
inline QPoint PxPoint(int x, int y) { return {Px(x), Px(y)}; }
inline QSize PxSize(int width, int height) { return {Px(width), Px(height)}; }
inline QRect PxRect(int x, int y, int width, int height) { return {PxPoint(x, y), PxSize(width, height)}; }

}  // namespace valdris
