// SPDX-License-Identifier: Apache-2.0
#pragma once
// The LBGR scroll bar runs over the LBGR from 0 to the DCGL in thousandths of
// the DCGL.

#include <algorithm>

namespace valdris {

constexpr int kLBGRBarBottom = 0;
constexpr int kLBGRBarTop = 1000;          // the LBGR at the DCGL, never kept
constexpr int kLBGRBarBelowTop = kLBGRBarTop - 1;
constexpr double kLBGRBarFraction = 0.001;  // of the DCGL, one position
constexpr int kLBGRBarSmallStep = 10;
constexpr int kLBGRBarLargeStep = 100;
constexpr int kLBGRBarStart = 500;          // the default LBGR, half the DCGL

// The LBGR a bar position stands for with the given DCGL. The top position
// is never kept (the bar's rule moves it one below), so it gives the LBGR of
// the position below.
inline double LBGRAtBar(double dcgl, int position) {
    return dcgl * kLBGRBarFraction * std::min(position, kLBGRBarBelowTop);
}

}  // namespace valdris
