#pragma once

#include <QMainWindow>

// The program's only top-level window and the switchboard between its parts.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Parent of every notification; set once the window is built.
    static MainWindow *instance();
};
