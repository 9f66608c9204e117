#pragma once

#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace corvane {

// The picture shown over the main window while it opens. It goes after 750 ms, or at once at the
// first key press or mouse button press anywhere in the program, which it swallows so that a key
// meant to dismiss the splash does not also act on the window behind it.
//
// One splash at a time; start-up enables it and the main window shows it. The splash is a child
// of the main window (deleted with it, or by itself when it goes). Whether it is enabled and
// which one is up are kept process-wide, as the QApplication whose events it filters is one per
// process. UI thread only.
class CSplashWnd : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kDisplayMilliseconds = 750;

    static void EnableSplashScreen(bool enable) noexcept { s_enabled = enable; }
    static bool splashScreenEnabled() noexcept { return s_enabled; }
    // Shows the splash centered over `mainWindow` when enabled and none is shown; does nothing
    // when the picture cannot be made.
    static void ShowSplashScreen(QWidget *mainWindow);
    // The splash on screen now, or null.
    static CSplashWnd *current() noexcept { return s_current; }

    ~CSplashWnd() override;

protected:
    // Every event of the program passes here first while the splash is up.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    CSplashWnd(QWidget *mainWindow, QPixmap picture);
    static QPixmap MakePicture();
    void HideSplashScreen();

    QPointer<QWidget> m_mainWindow;
    QPixmap m_picture;
    QTimer m_timer;

    static inline bool s_enabled = false;
    static inline QPointer<CSplashWnd> s_current;
};

} // namespace corvane
