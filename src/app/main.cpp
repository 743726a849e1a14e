#include "mainwindow/MainWindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Names the per-user data location (the recovery journals), as the settings are named.
    QCoreApplication::setOrganizationName(QStringLiteral("Lootwright"));
    QCoreApplication::setApplicationName(QStringLiteral("Lootwright"));
    int exitCode = 0;
    {
        MainWindow window;
        window.show();
        exitCode = app.exec();
    }
    return exitCode;
}
