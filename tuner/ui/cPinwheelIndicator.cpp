#include "cPinwheelIndicator.h"

#include "CTCDefs.h"
#include "WheelTexts.h"
#include "KeyContext.h"
#include "PinwheelWidget.h"
#include "ToneIconEngine.h"

#include <QAction>
#include <QPushButton>
#include <QRegion>
#include <QToolButton>

#include <algorithm>

namespace corvane::tuner {

namespace {

    PixelRect ToPixelRect(const QRect &r)
    {
        return { r.left(), r.top(), r.left() + r.width(), r.top() + r.height() };
    }

    QRect ToQRect(const PixelRect &r)
    {
        return QRect(r.left, r.top, r.width(), r.height());
    }

    bool IsDegree(int degree)
    {
        return degree >= 0 && degree < kDegreeCount;
    }

} // namespace

cPinwheelIndicator::cPinwheelIndicator(const CPitch &pitch, const KeyContext &keys,
                                       const CTCDefs &settings, QObject *parent)
    : QObject(parent)
    , m_pitch(pitch)
    , m_keys(keys)
    , m_settings(settings)
{
    m_board.Relabel(m_keys);
}

void cPinwheelIndicator::SetClassic(bool classic)
{
    m_board.SetHoldBesideNewNote(classic);
}

void cPinwheelIndicator::Update(QWidget &, double f, double, std::chrono::microseconds elapsed,
                                bool fresh)
{
    const PinwheelBoard::WheelMask changed =
            m_board.Update(f, m_pitch, m_keys, m_settings.GetPitchAdjustCents(),
                           m_settings.GetPinwheelThresholds(), elapsed, fresh);
    if (!m_visible)
        return;
    for (int d = 0; d < kDegreeCount; ++d)
        if (changed[std::size_t(d)])
            ShowWheel(d);
}

void cPinwheelIndicator::Draw(QWidget &, const QRegion &region)
{
    if (!m_visible)
        return;
    for (int d = 0; d < kDegreeCount; ++d) {
        PinwheelWidget *w = m_wheels[std::size_t(d)];
        if (region.intersects(w->geometry())) {
            ShowWheel(d);
            w->update();
        }
    }
}

void cPinwheelIndicator::Refresh(QWidget &)
{
    if (!m_visible)
        return;
    for (int d = 0; d < kDegreeCount; ++d) {
        ShowWheel(d);
        m_wheels[std::size_t(d)]->update();
    }
}

void cPinwheelIndicator::Relabel()
{
    m_board.Relabel(m_keys);
}

void cPinwheelIndicator::Layout(QWidget &, QRect &area)
{
    const PinwheelPlacement placement = PinwheelPlacement::Layout(ToPixelRect(area));
    area.setHeight(placement.bottom - area.top());
    if (m_visible)
        Place(placement);
}

void cPinwheelIndicator::ShowWheels(bool shown)
{
    if (!m_visible)
        return;
    for (std::size_t i = 0; i < m_wheels.size(); ++i) {
        m_wheels[i]->setVisible(shown);
        m_nameButtons[i]->setVisible(shown);
        m_toneButtons[i]->setVisible(shown);
    }
}

void cPinwheelIndicator::Create(QWidget &parent, QRect &area)
{
    if (!m_visible) {
        for (int d = 0; d < kDegreeCount; ++d) {
            const std::size_t i = std::size_t(d);
            // All three are children of the tuner window, which deletes them.
            m_wheels[i] = new PinwheelWidget(&parent);
            m_wheels[i]->setObjectName(QStringLiteral("wheel%1").arg(d));
            // Parented to the wheel, which deletes it.
            auto *reset = new QAction(QStringLiteral("Reset the intonation figures"), m_wheels[i]);
            connect(reset, &QAction::triggered, this, &cPinwheelIndicator::ResetIntonation);
            m_wheels[i]->addAction(reset);
            m_wheels[i]->setContextMenuPolicy(Qt::ActionsContextMenu);

            m_nameButtons[i] = new QPushButton(QStringLiteral("More..."), &parent);
            m_nameButtons[i]->setObjectName(QStringLiteral("more%1").arg(d));
            connect(m_nameButtons[i], &QPushButton::clicked, this,
                    [this, d] { emit pitchConfigRequested(d); });

            m_toneButtons[i] = new QToolButton(&parent);
            m_toneButtons[i]->setObjectName(QStringLiteral("tone%1").arg(d));
            m_toneButtons[i]->setToolTip(QStringLiteral("Reference tone on or off"));
            connect(m_toneButtons[i], &QToolButton::clicked, this,
                    [this, d] { emit toneToggleRequested(d); });
        }
        m_visible = true;
    }
    m_board.Relabel(m_keys);
    const PinwheelPlacement placement = PinwheelPlacement::Create(ToPixelRect(area));
    area.setHeight(placement.bottom - area.top());
    Place(placement);
    for (int d = 0; d < kDegreeCount; ++d) {
        ShowWheel(d);
        m_wheels[std::size_t(d)]->show();
        m_nameButtons[std::size_t(d)]->show();
        m_toneButtons[std::size_t(d)]->show();
    }
}

void cPinwheelIndicator::SetTone(int degree, bool on)
{
    if (!IsDegree(degree))
        return;
    m_toneOn[std::size_t(degree)] = on;
    if (m_visible)
        ShowToneIcon(degree);
}

void cPinwheelIndicator::Place(const PinwheelPlacement &placement)
{
    m_iconSize = placement.iconSize;
    const int fontWidth = placement.wheels[0].width();
    for (int d = 0; d < kDegreeCount; ++d) {
        const std::size_t i = std::size_t(d);
        m_wheels[i]->setGeometry(ToQRect(placement.wheels[i]));
        m_wheels[i]->setFontWidth(fontWidth);
        m_nameButtons[i]->setGeometry(ToQRect(placement.nameButtons[i]));
        m_toneButtons[i]->setGeometry(ToQRect(placement.toneButtons[i]));
        // The buttons overlap their wheel's lower edge; keep them above it.
        m_nameButtons[i]->raise();
        m_toneButtons[i]->raise();
        ShowToneIcon(d);
    }
}

void cPinwheelIndicator::ShowWheel(int degree)
{
    const WheelState &w = m_board.wheel(degree);
    WheelPicture picture = w.picture(m_settings.GetPinwheelColors(), m_keys.IsChromatic(degree));
    const IntonationFigures &figures = m_board.intonation(degree);
    if (figures.count > 0)
        picture.meanCents = figures.meanCents;
    PinwheelWidget *wheel = m_wheels[std::size_t(degree)];
    wheel->setToolTip(QString::fromStdString(IntonationTip(w.name(), figures)));
    wheel->setAccessibleName(QString::fromUtf8(w.name().data(), qsizetype(w.name().size()))
                             + QStringLiteral(" pinwheel"));
    wheel->setAccessibleDescription(QString::fromStdString(WheelSpokenValue(w)));
    wheel->setPicture(picture);
}

void cPinwheelIndicator::ResetIntonation()
{
    m_board.ResetIntonation();
    if (m_visible)
        Refresh(*m_wheels[0]);
}

void cPinwheelIndicator::ShowToneIcon(int degree)
{
    QToolButton *button = m_toneButtons[std::size_t(degree)];
    // The icon fills the button but for a small margin, whatever design size it follows.
    const int side = std::max(8, std::min(button->width(), button->height()) - 4);
    button->setIconSize(QSize(side, side));
    button->setIcon(ToneIconEngine::Icon(m_toneOn[std::size_t(degree)], m_iconSize));
}

} // namespace corvane::tuner
