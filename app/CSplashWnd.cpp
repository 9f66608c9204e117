#include "CSplashWnd.h"

#include "Version.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

namespace corvane {

void CSplashWnd::ShowSplashScreen(QWidget *mainWindow)
{
    if (!s_enabled || s_current)
        return;
    QPixmap picture = MakePicture();
    if (picture.isNull())
        return;
    // Owned by the main window (a Qt child), and deletes itself when it closes.
    auto *splash = new CSplashWnd(mainWindow, std::move(picture));
    s_current = splash;
    splash->show();
    splash->repaint();
}

CSplashWnd::CSplashWnd(QWidget *mainWindow, QPixmap picture)
    : QWidget(mainWindow, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_mainWindow(mainWindow)
    , m_picture(std::move(picture))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setCursor(Qt::ArrowCursor);
    const QSize size = m_picture.deviceIndependentSize().toSize();
    setFixedSize(size);
    const QScreen *screen = mainWindow ? mainWindow->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - QPoint(size.width() / 2, size.height() / 2));
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CSplashWnd::HideSplashScreen);
    m_timer.start(kDisplayMilliseconds);
    qApp->installEventFilter(this);
}

CSplashWnd::~CSplashWnd()
{
    qApp->removeEventFilter(this);
}

QPixmap CSplashWnd::MakePicture()
{
    const QIcon icon(QStringLiteral(":/corvane/tonrik.svg"));
    if (icon.isNull())
        return {};
    const qreal ratio = qApp->devicePixelRatio();
    const QSize size(360, 200);
    QPixmap picture(size * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(QColor(0x1b, 0x2d, 0x4a));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    icon.paint(&painter, QRect(24, 36, 128, 128));
    painter.setPen(QColor(0xf4, 0xf6, 0xfa));
    QFont name = painter.font();
    name.setPointSize(26);
    name.setBold(true);
    painter.setFont(name);
    painter.drawText(QRect(168, 60, 180, 44), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromLatin1(kProductName));
    QFont line = painter.font();
    line.setPointSize(10);
    line.setBold(false);
    painter.setFont(line);
    painter.setPen(QColor(0x9f, 0xb4, 0xd6));
    painter.drawText(QRect(168, 104, 180, 40), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("Chromatic tuner\nand practice aid"));
    return picture;
}

bool CSplashWnd::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Claimed, so that no shortcut fires; the key press that follows dismisses the splash.
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick:
        HideSplashScreen();
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void CSplashWnd::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
}

void CSplashWnd::HideSplashScreen()
{
    m_timer.stop();
    qApp->removeEventFilter(this);
    s_current = nullptr;
    close();
    if (m_mainWindow)
        m_mainWindow->update();
}

} // namespace corvane
