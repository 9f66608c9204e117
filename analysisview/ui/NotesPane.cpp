#include "NotesPane.h"

#include "KeyContext.h"
#include "MusicGlyphs.h"
#include "PaneContext.h"
#include "PaneFrame.h"
#include "StaffLayout.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace corvane {

namespace {

    // The clef's left edge, inside the label column.
    constexpr double kClefLeft = 2.0;

    // The layout gives each sign an 11 x 22 box; the glyphs are placed by the note's line or
    // space, which lies 11 pixels below the box's top for sharps and naturals and 16 for flats.
    double signY(Accidental sign, int top) noexcept
    {
        const bool low = sign == Accidental::Flat || sign == Accidental::DoubleFlat;
        return top + (low ? 16 : 11);
    }

    QString octaveSign(int octavesMoved)
    {
        switch (octavesMoved) {
        case 1:
            return QStringLiteral("8vb");
        case 2:
            return QStringLiteral("15mb");
        case -1:
            return QStringLiteral("8va");
        default:
            return QStringLiteral("15ma");
        }
    }

} // namespace

void NotesPane::render(QPainter &painter, const QRect &rect, const PaneContext &context)
{
    painter.save();
    const int m = rect.top() + rect.height() / 2;
    const StaffLayout staff(context.keys, m);

    painter.fillRect(QRect(QPoint(0, rect.top()), QPoint(context.right, rect.bottom())), Qt::white);
    PaneFrame::drawSelection(painter, rect, context);
    painter.setPen(QPen(Qt::black, 1));
    for (int line = 0; line < 5; ++line)
        painter.drawLine(0, staff.lineY(line), TimeAxis::kLabelWidth, staff.lineY(line));
    painter.drawLine(TimeAxis::kLabelWidth, staff.lineY(0), TimeAxis::kLabelWidth, staff.lineY(4));
    painter.setPen(PaneFrame::kShadow);
    painter.drawLine(0, rect.bottom(), context.right, rect.bottom());

    using widgets::MusicGlyphs;
    constexpr double s = StaffLayout::kLineSpacing;
    MusicGlyphs::drawClef(painter, context.keys.Clef(), kClefLeft, m, s);
    for (const StaffLayout::SignatureGlyph &glyph : staff.keySignature())
        MusicGlyphs::drawAccidental(painter, glyph.sign, glyph.x, signY(glyph.sign, glyph.top), s);

    // A head stays whole within the pane: its line or space at most 8 pixels from the edge.
    const int reach = rect.height() / 2 - 8;
    QFont octaveFont = painter.font();
    octaveFont.setItalic(true);
    octaveFont.setPixelSize(10);
    painter.setPen(QPen(Qt::black, 1));
    // Zoomed out, one column may start the same note many times; its head is drawn once, which
    // looks the same and keeps a long recording's paint short.
    int column = -1;
    std::vector<int> drawn;
    context.forEachVisibleSample([&](std::size_t i, int x) {
        const NoteRun *run = context.runOf(i);
        if (!run || run->firstSample != i || run->rest || run->unstable)
            return;
        if (x != column) {
            column = x;
            drawn.clear();
        }
        if (std::find(drawn.begin(), drawn.end(), run->noteIndex) != drawn.end())
            return;
        drawn.push_back(run->noteIndex);
        const StaffLayout::NoteGlyph glyph = staff.noteWithin(run->noteIndex, x, reach);
        for (int y : glyph.ledgerYs)
            painter.drawLine(x - 8, y, x + 8, y);
        MusicGlyphs::drawNoteHead(painter, QPointF(glyph.headX + 4.5, glyph.headY + 3.5), s);
        MusicGlyphs::drawAccidental(painter, glyph.accidental, glyph.accidentalX,
                                    signY(glyph.accidental, glyph.accidentalTop), s);
        if (glyph.octavesMoved != 0) {
            painter.setFont(octaveFont);
            painter.drawText(QPointF(x + 7, glyph.y + 4), octaveSign(glyph.octavesMoved));
        }
    });

    // The lines again over the glyphs' left parts, so heads near the left edge sit on them.
    painter.setPen(QPen(Qt::black, 1));
    for (int line = 0; line < 5; ++line)
        painter.drawLine(64, staff.lineY(line), context.right, staff.lineY(line));
    painter.restore();
}

} // namespace corvane
