#pragma once

struct GraphLayout;

// How smooth a layout's bands are, in value units, as published work on stacked graphs judges
// layouts. Over every layer and every two neighbouring months in which it has a point (bottom b, top
// t, thickness f = t - b, centre c = (b + t) / 2):
struct LayoutMetrics {
    // the mean squared slope of the band edges, the mean of (b' - b)^2 + (t' - t)^2;
    double wiggle = 0.0;
    // the thickness-weighted mean squared slope of the band centres, the sum of w (c' - c)^2 over the
    // sum of w, with w = (f + f') / 2.
    double weightedWiggle = 0.0;

    // 0 where there are no such months, or no thickness to weigh by.
    static LayoutMetrics of(const GraphLayout& layout);
};
