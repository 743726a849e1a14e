#pragma once

#include <QMainWindow>

// Placeholder until the window is built.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr) : QMainWindow(parent) {}
};
