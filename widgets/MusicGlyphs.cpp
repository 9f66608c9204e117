#include "MusicGlyphs.h"

#include <QFont>
#include <QFontInfo>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

#include <algorithm>
#include <array>
#include <optional>

namespace corvane::widgets {

namespace {

    enum Glyph { GClef, CClef, FClef, Sharp, Flat, Natural, DoubleSharp, DoubleFlat, GlyphCount };

    constexpr std::array<char32_t, GlyphCount> kCodePoints {
        0x1D11E, 0x1D121, 0x1D122, 0x266F, 0x266D, 0x266E, 0x1D12A, 0x1D12B,
    };
    // What stands in for each glyph when the music font is missing.
    constexpr std::array<const char *, GlyphCount> kStandIns {
        "G", "C", "F", "#", "b", "n", "x", "bb",
    };

    struct Outlines
    {
        bool musicFont = false;
        std::array<QPainterPath, GlyphCount> paths;
        // The outlines' own extent. A path made from text also holds an empty subpath down at
        // the font's descent, which its plain bounding box would take in and so shrink and shift
        // every glyph that stays above it (the C and F clefs most of all).
        std::array<QRectF, GlyphCount> bounds;
    };

    // Made once: a glyph's outline does not change, and making it is the costly part.
    const Outlines &outlines()
    {
        static const Outlines made = [] {
            Outlines o;
            QFont font(QStringLiteral("Symbola"));
            font.setPixelSize(200);
            o.musicFont =
                    QFontInfo(font).family().compare(QStringLiteral("Symbola"), Qt::CaseInsensitive)
                    == 0;
            QFont plain;
            plain.setPixelSize(200);
            for (int g = 0; g < GlyphCount; ++g) {
                if (o.musicFont)
                    o.paths[g].addText(0, 0, font, QString::fromUcs4(&kCodePoints[g], 1));
                else
                    o.paths[g].addText(0, 0, plain, QString::fromLatin1(kStandIns[g]));
                o.bounds[g] = o.paths[g].simplified().boundingRect();
            }
            return o;
        }();
        return made;
    }

    // Fits the outline's own bounds (not the font's metrics, which differ from font to font)
    // to a box of the given height whose top-left corner is at `topLeft`. Returns the x of the
    // glyph's right edge.
    double fill(QPainter &painter, Glyph glyph, const QPointF &topLeft, double height,
                const QColor &ink)
    {
        const QPainterPath &outline = outlines().paths[glyph];
        const QRectF bounds = outlines().bounds[glyph];
        if (bounds.isEmpty())
            return topLeft.x();
        const double scale = height / bounds.height();
        QTransform fit;
        fit.translate(topLeft.x() - bounds.left() * scale, topLeft.y() - bounds.top() * scale);
        fit.scale(scale, scale);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(fit.map(outline), ink);
        painter.restore();
        return topLeft.x() + bounds.width() * scale;
    }

    // Where a sign sits on its note's line or space, in line spacings: how far its top lies above
    // it and how tall it is. Sharps and naturals are centered on it; a flat's belly sits on it,
    // its stem rising above.
    struct SignPlace
    {
        Glyph glyph;
        double above;
        double height;
    };

    std::optional<SignPlace> placeOf(Accidental sign) noexcept
    {
        switch (sign) {
        case Accidental::Sharp:
            return SignPlace { Sharp, 1.35, 2.7 };
        case Accidental::Natural:
            return SignPlace { Natural, 1.35, 2.7 };
        case Accidental::Flat:
            return SignPlace { Flat, 1.75, 2.3 };
        case Accidental::DoubleFlat:
            return SignPlace { DoubleFlat, 1.75, 2.3 };
        case Accidental::DoubleSharp:
            return SignPlace { DoubleSharp, 0.5, 1.0 };
        case Accidental::None:
            break;
        }
        return std::nullopt;
    }

} // namespace

double MusicGlyphs::drawClef(QPainter &painter, int clef, double left, double middleY,
                             double lineSpacing, const QColor &ink)
{
    const double s = lineSpacing;
    const double topLine = middleY - 2.0 * s;
    double right = left;
    switch (clef) {
    case 1: // alto: the C clef centered on the middle line
        right = fill(painter, CClef, { left, middleY - 2.0 * s }, 4.0 * s, ink);
        break;
    case 2: // tenor: centered on the fourth line
        right = fill(painter, CClef, { left, middleY - 3.0 * s }, 4.0 * s, ink);
        break;
    case 3: // bass: the dots either side of the fourth line
        right = fill(painter, FClef, { left, topLine - 0.1 * s }, 3.3 * s, ink);
        break;
    default: // treble: the curl around the second line
        right = fill(painter, GClef, { left, topLine - 1.7 * s }, 7.2 * s, ink);
        break;
    }
    // A little air after the clef, however wide the font draws it.
    return std::max(left + 3.3 * s, right + 0.5 * s);
}

void MusicGlyphs::drawAccidental(QPainter &painter, Accidental sign, double left, double y,
                                 double lineSpacing, const QColor &ink)
{
    if (const std::optional<SignPlace> place = placeOf(sign))
        fill(painter, place->glyph, { left, y - place->above * lineSpacing },
             place->height * lineSpacing, ink);
}

double MusicGlyphs::accidentalOffset(Accidental sign, double lineSpacing)
{
    const std::optional<SignPlace> place = placeOf(sign);
    if (!place)
        return 0.0;
    const QRectF &bounds = outlines().bounds[place->glyph];
    const double width =
            bounds.height() > 0 ? bounds.width() * place->height / bounds.height() : 1.0;
    // Half a head, and a little air between sign and head.
    return (width + 0.62 + 0.3) * lineSpacing;
}

void MusicGlyphs::drawNoteHead(QPainter &painter, const QPointF &center, double lineSpacing,
                               const QColor &ink)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(center);
    painter.rotate(-20);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawEllipse(QPointF(0, 0), 0.62 * lineSpacing, 0.45 * lineSpacing);
    painter.restore();
}

bool MusicGlyphs::hasMusicFont()
{
    return outlines().musicFont;
}

} // namespace corvane::widgets
