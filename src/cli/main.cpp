#include "cli/CliCommands.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

namespace {

// The readers' debug lines are for developers; a script sees results and errors only.
void quietHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(quietHandler);
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return Cli::run(app.arguments().mid(1), out, err);
}
