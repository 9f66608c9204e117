#include "PinwheelGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace corvane::tuner {

namespace {

    constexpr double kDegreesPerPhaseStep = 2.5;

    double Degrees(double radians) noexcept
    {
        return radians * 180.0 / std::numbers::pi;
    }

    // The ellipse's own angle (degrees) at which a ray from its center, at screen direction
    // (dx, dy) with y pointing down, meets it.
    double EllipseAngle(const PixelRect &box, double dx, double dy) noexcept
    {
        const double a = std::max(box.width(), 1) / 2.0;
        const double b = std::max(box.height(), 1) / 2.0;
        const double theta = std::atan2(-dy, dx); // y up
        return Degrees(std::atan2(a * std::sin(theta), b * std::cos(theta)));
    }

    double CounterClockwiseSpan(double from, double to) noexcept
    {
        double span = std::fmod(to - from, 360.0);
        if (span <= 0.0)
            span += 360.0;
        return span;
    }

} // namespace

PinwheelGeometry PinwheelGeometry::For(int width, int height, int phase, int fontWidth) noexcept
{
    PinwheelGeometry g;
    const PixelRect window { 0, 0, width, height };
    g.rim = window.shrunk(3);
    g.face = window.shrunk(6);
    // From the top-right corner's ray round the top to the bottom-left corner's: always the
    // ellipse's own 45 and 225 degrees, whatever the box's proportions.
    g.bevel = { 45.0, 180.0 };

    // Each blade runs from a point at radius R above the hub, turned by the phase and a quarter
    // turn per blade, to the point a further 45 degrees on. The hub sits w/2 down, the face's
    // center h/2; the pie is cut along the rays from the face's center through those points.
    const double m = width / 2.0;
    const double radius = width / 2.0 - 5.0;
    const double cx = (g.face.left + g.face.right) / 2.0;
    const double cy = (g.face.top + g.face.bottom) / 2.0;
    const double turn = phase * kDegreesPerPhaseStep * std::numbers::pi / 180.0;
    for (int k = 0; k < 4; ++k) {
        const auto rayAngle = [&](double alpha) {
            const double px = m - radius * std::sin(alpha);
            const double py = m - radius * std::cos(alpha);
            return EllipseAngle(g.face, px - cx, py - cy);
        };
        const double alpha = turn + k * std::numbers::pi / 2.0;
        const double from = rayAngle(alpha);
        const double to = rayAngle(alpha + std::numbers::pi / 4.0);
        g.blades[std::size_t(k)] = { from, CounterClockwiseSpan(from, to) };
    }

    g.smallFontHeight = std::max(12, fontWidth / 10);
    // Each mark is about one and a half line heights wide and sits a rim's width in; the face
    // between them needs as much again.
    g.marks = width >= 6 * g.smallFontHeight;
    g.nameFontHeight = std::max(25, fontWidth / 4);
    g.flatMark = { 6, 1 };
    g.sharpMark = { width - 6, 1 };
    g.nameShadow = { width / 2 + 2, width / 2 + 10 };
    g.name = { width / 2, width / 2 + 8 };
    return g;
}

} // namespace corvane::tuner
