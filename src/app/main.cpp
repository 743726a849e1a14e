#include "mainwindow/LanguageSettings.h"
#include "mainwindow/MainWindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Before any window exists: every text is translated as it is built.
    LanguageSettings::apply(app, LanguageSettings::stored());
    int exitCode = 0;
    {
        MainWindow window;
        window.show();
        exitCode = app.exec();
    }
    return exitCode;
}
