// Writes the sample configuration's exported page to the path given, for the browser test.

#include "ExportSample.h"
#include "export/HtmlDropRateExport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <page.html>\n", argv[0]);
        return 2;
    }
    MonsterDropData monsters;
    DropBoxContentData boxes;
    NameResolver &names = NameResolver::instance();
    ExportSample::fill(monsters, boxes, names);
    const HtmlDropRateExport::Outcome outcome =
        HtmlDropRateExport::exportToFile(QString::fromLocal8Bit(argv[1]), monsters, boxes, names,
                                         1.0, true, QDateTime(QDate(2026, 12, 6), QTime(8, 30, 0)));
    std::printf("%s: %s\n", qPrintable(outcome.title), qPrintable(outcome.text));
    return outcome.written ? 0 : 1;
}
