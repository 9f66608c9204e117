#pragma once

#include "PixelRect.h"

#include <array>

namespace corvane::tuner {

// The shapes of one wheel in its own window, w x h pixels with the origin at its top-left
// corner: the bevelled rim, the face, the four blades as pies of the face, and where the texts
// go. Angles are in degrees, counter-clockwise from 3 o'clock, and are the ellipse's own
// (parametric) angles, which is what a painter's arc of a box takes; the blades' edges are the
// rays through their defining points, so a tall face keeps the blades' shape as drawn.
struct PinwheelGeometry
{
    struct Arc
    {
        double start = 0.0;
        double span = 0.0; // counter-clockwise, 0 < span < 360
    };
    struct Point
    {
        int x = 0;
        int y = 0;
    };

    PixelRect rim;  // the light ring's box: the window less 3 pixels a side
    Arc bevel;      // the darker half of the rim: top-right corner to bottom-left corner
    PixelRect face; // the face's box: 3 pixels more inside the rim
    std::array<Arc, 4> blades;

    int smallFontHeight = 12; // "b<" and ">#"
    int nameFontHeight = 25;  // the degree's name
    Point flatMark;           // top-left corner of "b<"
    Point sharpMark;          // top-right corner of ">#"
    // Whether "b<" and ">#" have room side by side (a small preview leaves them out rather than
    // let them run into each other).
    bool marks = true;
    Point nameShadow;         // center of the shadow's baseline
    Point name;               // center of the name's baseline

    // The geometry of a wheel window `width` x `height` turned by `phase` steps (2.5 degrees a
    // step, counter-clockwise on the screen). `fontWidth` is the width the font sizes follow
    // (all wheels use wheel 0's, so their names match).
    static PinwheelGeometry For(int width, int height, int phase, int fontWidth) noexcept;
};

} // namespace corvane::tuner
