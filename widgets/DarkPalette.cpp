#include "DarkPalette.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

namespace corvane::widgets {

QPalette darkPalette()
{
    const QColor window(45, 45, 48);
    const QColor base(30, 30, 32);
    const QColor text(230, 230, 230);
    const QColor disabledText(128, 128, 128);
    const QColor highlight(64, 128, 220);
    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, QColor(55, 55, 58));
    p.setColor(QPalette::ToolTipBase, QColor(60, 60, 64));
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, disabledText);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(58, 58, 62));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, QColor(255, 90, 90));
    p.setColor(QPalette::Light, QColor(80, 80, 84));
    p.setColor(QPalette::Midlight, QColor(66, 66, 70));
    p.setColor(QPalette::Mid, QColor(100, 100, 104));
    p.setColor(QPalette::Dark, QColor(25, 25, 27));
    p.setColor(QPalette::Shadow, QColor(10, 10, 10));
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(110, 170, 255));
    p.setColor(QPalette::LinkVisited, QColor(190, 140, 255));
    for (const QPalette::ColorRole role :
         { QPalette::WindowText, QPalette::Text, QPalette::ButtonText }) {
        p.setColor(QPalette::Disabled, role, disabledText);
    }
    p.setColor(QPalette::Disabled, QPalette::Highlight, QColor(80, 80, 84));
    return p;
}

bool isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

namespace {

    // Fusion follows a palette in full, whatever the platform's own style would draw; the
    // application owns the style. Null when the style cannot be made.
    QStyle *useFusion()
    {
        QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion"));
        if (fusion)
            QApplication::setStyle(fusion);
        return fusion;
    }

} // namespace

void useDarkPalette(QApplication &application)
{
    if (isDark(QApplication::palette()))
        return;
    useFusion();
    application.setPalette(darkPalette());
}

void useLightPalette(QApplication &application)
{
    if (!isDark(QApplication::palette()))
        return;
    if (const QStyle *fusion = useFusion())
        application.setPalette(fusion->standardPalette());
}

} // namespace corvane::widgets
