#include "FuzzSupport.h"

#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace FuzzSupport {

namespace {
void quiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg || type == QtCriticalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}
} // namespace

void silenceMessages()
{
    qInstallMessageHandler(quiet);
}

void fail(const char *what, const QByteArray &first, const QByteArray &second)
{
    std::fprintf(stderr, "\n== %s\n", what);
    if (!first.isEmpty() || !second.isEmpty()) {
        std::fprintf(stderr, "first:  %s\nsecond: %s\n", first.toPercentEncoding().constData(),
                     second.toPercentEncoding().constData());
    }
    std::abort();
}

} // namespace FuzzSupport
