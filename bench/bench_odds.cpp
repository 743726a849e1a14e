// The kill simulation, and the CSV export of the default generated configuration against the
// disk's own time for the same bytes, in the same run as the HTML export's figures.

#include "Bench.h"

#include "data/NameResolver.h"
#include "export/CsvDropRateExport.h"
#include "rates/KillSimulation.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <unistd.h>
#include <vector>

LOOTWRIGHT_BENCH(simulate, 710)
{
    // A monster naming 20 boxes of 100 items with rates from 0.05 % to 100 %.
    DropBoxContentData boxes;
    MonsterDropConfig monster;
    monster.monsterId = 1;
    monster.mValue = 100;
    for (int b = 0; b < 20; ++b) {
        DropBoxConfig box;
        box.boxId = b + 1;
        box.boxValue = 100 + b * b * 500;
        for (int slot = 0; slot < 100; ++slot)
            box.items.append({10000 + (b * 37 + slot * 11) % 1500, 0});
        boxes.boxes.append(box);
        monster.dropBoxIds.append(box.boxId);
    }
    const KillSimulation simulation(monster, boxes, 1.0);
    qint64 drops = 0;
    std::vector<double> cpu;
    context.report(QStringLiteral("simulate"), context.medianMs([&] {
        const std::clock_t start = std::clock();
        drops = simulation.run(1000000, 20261206).drops.constFirst();
        cpu.push_back(double(std::clock() - start) * 1000.0 / CLOCKS_PER_SEC);
    }),
                   QStringLiteral("ms"));
    // The processor time, steadier than the wall time on a busy machine.
    std::sort(cpu.begin(), cpu.end());
    context.report(QStringLiteral("simulate_cpu"), cpu[cpu.size() / 2], QStringLiteral("ms"));
    const int rareItem = simulation.items().constLast().itemId;
    context.report(QStringLiteral("simulate_first_drops"), context.medianMs([&] {
        drops += simulation.firstDrops(rareItem, 1000, 20261206).medianKills;
    }),
                   QStringLiteral("ms"));
    context.report(QStringLiteral("simulate_rolls"), double(simulation.rolls().size()),
                   QStringLiteral(""));
    context.report(QStringLiteral("simulate_items"), double(simulation.items().size()),
                   QStringLiteral(""));
    if (drops == 0)
        std::printf("# simulate: nothing dropped\n");
}

LOOTWRIGHT_BENCH(exportCsv, 61)
{
    MonsterDropData monsters;
    DropBoxContentData boxes;
    QString error;
    if (!loadGeneratedConfiguration(context, monsters, boxes, error)) {
        std::fprintf(stderr, "export_csv: cannot load the configuration: %s\n", qPrintable(error));
        return;
    }
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("drops.csv"));
    // Each run starts with the previous file on the disk, as for the page.
    std::vector<double> csvCpu;
    const double csvMs = context.medianMs(
        [&] {
            const std::clock_t start = std::clock();
            CsvDropRateExport::exportToFile(path, monsters, boxes, NameResolver::instance(), 1.0,
                                            true);
            csvCpu.push_back(double(std::clock() - start) * 1000.0 / CLOCKS_PER_SEC);
        },
        [] { ::sync(); });
    std::sort(csvCpu.begin(), csvCpu.end());
    const double bytes = double(QFileInfo(path).size());
    // The disk's own time for a file of that size: the same bytes in 1 MB blocks, saved over the
    // previous file.
    const QByteArray block(1 << 20, 'x');
    const double referenceMs = context.medianMs(
        [&] {
            QSaveFile file(path);
            if (!file.open(QIODevice::WriteOnly))
                return;
            for (double left = bytes; left > 0; left -= block.size())
                file.write(block.constData(), qint64(std::min<double>(left, block.size())));
            file.commit();
        },
        [] { ::sync(); });
    context.report(QStringLiteral("export_csv"), csvMs, QStringLiteral("ms"));
    // Both threads: building the rows and writing them.
    context.report(QStringLiteral("export_csv_cpu"), csvCpu[csvCpu.size() / 2],
                   QStringLiteral("ms"));
    context.report(QStringLiteral("export_csv_size"), bytes / (1024.0 * 1024.0),
                   QStringLiteral("MB"));
    context.report(QStringLiteral("export_csv_disk_write_reference"), referenceMs,
                   QStringLiteral("ms"));
    context.report(QStringLiteral("export_csv_vs_reference"), csvMs / referenceMs,
                   QStringLiteral("x"));
    NameResolver::instance().clear();
}
