#include "dialogs/Prompts.h"
#include "edit/RecentFolders.h"
#include "mainwindow/LanguageSettings.h"
#include "mainwindow/MainWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Before any text is built: the parser's help and every window are translated.
    LanguageSettings::apply(app, LanguageSettings::stored());
    QCoreApplication::setOrganizationName(QStringLiteral("Lootwright"));
    QCoreApplication::setApplicationName(QStringLiteral("lootwright"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LOOTWRIGHT_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/lootwright.png")));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("main", "Lootwright：游戏服务器怪物爆率配置编辑器"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("CONFIGDIR"),
        QCoreApplication::translate(
            "main", "要打开的配置目录（缺省为程序旁的 config 目录，没有时为最近打开的目录）"),
        QStringLiteral("[CONFIGDIR]"));
    parser.process(app);
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() > 1) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(QCoreApplication::translate("main", "只能指定一个配置目录")));
        return 2;
    }

    QString argument = arguments.value(0);
    // A file given by a file manager or the application menu opens the folder holding it.
    if (QFileInfo(argument).isFile())
        argument = QFileInfo(argument).absolutePath();
    RecentFolders recent = RecentFolders::load();
    const StartFolder start = StartFolder::choose(
        argument, QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("config")),
        recent.folders(), [](const QString &path) { return QFileInfo(path).isDir(); });
    if (start.source == StartFolder::Source::Argument && !QFileInfo(start.folder).isDir()) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(QCoreApplication::translate("main", "配置目录不存在：%1")
                                    .arg(QDir::toNativeSeparators(start.folder))));
        return 2;
    }
    if (!start.folder.isEmpty()) {
        recent.add(start.folder);
        recent.save();
    }

    int exitCode = 0;
    {
        MainWindow window(std::make_unique<DialogPrompts>(), start.folder);
        window.restoreWindowState();
        window.show();
        exitCode = app.exec();
    }
    return exitCode;
}
