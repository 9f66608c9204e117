#pragma once

#include <QMainWindow>

namespace corvane {

// The program's main window. For now it holds an empty central area; the tuner window, the
// analysis view and the commands arrive with their subsystems.
class CMainFrame : public QMainWindow
{
    Q_OBJECT
public:
    explicit CMainFrame(QWidget *parent = nullptr);
};

} // namespace corvane
