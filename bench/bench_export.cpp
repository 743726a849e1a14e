// The HTML drop-rate export of every monster of the generated configuration (time, page size and
// the resident memory the export adds at its peak), and of a realistic server.

#include "Bench.h"

#include "data/DropBoxContentParser.h"
#include "data/MonsterDropParser.h"
#include "data/NameResolver.h"
#include "export/HtmlDropRateExport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr double megabyte = 1024.0 * 1024.0;

double processCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// Reports the median wall time as `name` and the median CPU time as `name`_cpu: on a busy
// machine the CPU time is the steadier figure.
void reportTimes(const BenchContext &context, const char *name, const std::function<void()> &run,
                 const std::function<void()> &setup = {})
{
    std::vector<double> cpu;
    const double wallMs = context.medianMs(
        [&] {
            const double start = processCpuMs();
            run();
            cpu.push_back(processCpuMs() - start);
        },
        setup);
    std::sort(cpu.begin(), cpu.end());
    context.report(QString::fromLatin1(name), wallMs, QStringLiteral("ms"));
    context.report(QString::fromLatin1(name) + QStringLiteral("_cpu"), cpu[cpu.size() / 2],
                   QStringLiteral("ms"));
}

// A realistic server: 5,000 monsters of 20 items each (two boxes of ten), names from the
// generated tables.
void makeTypicalServer(const MonsterDropData &generated, MonsterDropData &monsters,
                       DropBoxContentData &boxes)
{
    std::mt19937 random(5000);
    constexpr int boxCount = 2000;
    for (int id = 1; id <= boxCount; ++id) {
        DropBoxConfig box;
        box.boxId = id;
        box.boxValue = 1000 + int(random() % 90000);
        box.items = QList<DropBoxItem>(100, DropBoxItem{});
        for (int slot = 0; slot < 10; ++slot)
            box.items[slot].itemId = 10000 + int(random() % 60000);
        boxes.boxes.append(box);
    }
    for (qsizetype i = 0; i < 5000 && i < generated.records.size(); ++i) {
        MonsterDropConfig monster = generated.records.at(i);
        monster.dropBoxIds = QList<int>(20, -1);
        monster.dropBoxIds[0] = 1 + int(random() % boxCount);
        monster.dropBoxIds[1] = 1 + int(random() % boxCount);
        monsters.records.append(monster);
    }
}

} // namespace

LOOTWRIGHT_BENCH(exportHtml, 60)
{
    MonsterDropData monsters;
    DropBoxContentData boxes;
    QString error;
    if (!loadGeneratedConfiguration(context, monsters, boxes, error)) {
        std::fprintf(stderr, "export bench: cannot load the configuration: %s\n",
                     qPrintable(error));
        return;
    }
    NameResolver &names = NameResolver::instance();
    const QDateTime time(QDate(2026, 12, 6), QTime(8, 30, 0));

    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("drops.html"));
    int rows = 0;
    // The window's export: built and written in pieces.
    const auto exportToFile = [&] {
        rows = HtmlDropRateExport::exportToFile(path, monsters, boxes, names, 1.0, true, time)
                   .exportCount;
    };
    // Each run starts with the previous page on the disk, as a single export would: otherwise the
    // kernel holds the writer back until the earlier runs' pages are written.
    reportTimes(context, "export_html_streamed", exportToFile, [] { ::sync(); });
    const double pageBytes = double(QFileInfo(path).size());
    context.report(QStringLiteral("export_html_rows"), rows, QStringLiteral("rows"));
    context.report(QStringLiteral("export_html_size"), pageBytes / megabyte, QStringLiteral("MB"));
    // What the disk alone takes for a page of that size: the same bytes in 1 MB blocks, saved
    // over the previous page as the export saves, so its figure can be read against this disk.
    const QByteArray block(1 << 20, 'x');
    reportTimes(
        context, "export_html_disk_write_reference",
        [&] {
            QSaveFile file(path);
            if (!file.open(QIODevice::WriteOnly))
                return;
            for (double left = pageBytes; left > 0; left -= block.size())
                file.write(block.constData(), qint64(std::min<double>(left, block.size())));
            file.commit();
        },
        [] { ::sync(); });

    const double extra = peakExtraBytes(exportToFile);
    if (extra < 0) {
        std::printf("# export_html_streamed_peak_extra: no fresh resident peak available here\n");
    } else {
        context.report(QStringLiteral("export_html_streamed_peak_extra"), extra / megabyte,
                       QStringLiteral("MB"));
    }

    MonsterDropData typicalMonsters;
    DropBoxContentData typicalBoxes;
    makeTypicalServer(monsters, typicalMonsters, typicalBoxes);
    const QString typicalPath = out.filePath(QStringLiteral("typical.html"));
    reportTimes(context, "export_html_typical", [&] {
        HtmlDropRateExport::exportToFile(typicalPath, typicalMonsters, typicalBoxes, names, 1.0,
                                         true, time);
    });
    context.report(QStringLiteral("export_html_typical_size"),
                   double(QFileInfo(typicalPath).size()) / megabyte, QStringLiteral("MB"));
    names.clear();
}
