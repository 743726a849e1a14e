// The recovery journal on the default generated configuration: what appending the largest step
// costs, and how long restoring a session of 100 steps takes.
#include "Bench.h"

#include "document/ConfigDocument.h"
#include "document/RecoveryJournal.h"
#include "edit/BoxManagerEdits.h"
#include "edit/DocumentChange.h"
#include "edit/DropRateEdits.h"
#include "edit/MonsterEdits.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double elapsedMs(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

// The thread's CPU time beside the wall time: a busy machine stretches the one, not the other.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

} // namespace

LOOTWRIGHT_BENCH(journal_append, 520)
{
    MonsterDropData loadedMonsters;
    DropBoxContentData loadedBoxes;
    QString error;
    if (!loadGeneratedConfiguration(context, loadedMonsters, loadedBoxes, error)) {
        std::printf("# journal: %s\n", qPrintable(error));
        return;
    }
    // Every other record, 100,000 in all: the unify of unify_100k.
    QList<int> selected;
    const qsizetype step = std::max<qsizetype>(1, loadedMonsters.records.size() / 100000);
    for (qsizetype i = 0; i < loadedMonsters.records.size() && selected.size() < 100000; i += step)
        selected << loadedMonsters.records.at(i).monsterId;

    QTemporaryDir dir;
    RecoveryJournal journal(100);
    std::vector<double> appendMs;
    std::vector<double> appendCpuMs;
    qint64 onDisk = 0;
    qint64 inMemory = 0;
    for (int run = 0; run < std::max(1, context.runs); ++run) {
        MonsterDropData monsters = loadedMonsters;
        DropBoxContentData boxes = loadedBoxes;
        for (MonsterDropConfig &record : monsters.records)
            record.dropBoxIds.detach();
        for (DropBoxConfig &box : boxes.boxes)
            box.items.detach();
        std::optional<DocumentSnapshot> before(std::in_place, monsters, boxes);
        DropRateEdits::unifyMonsterValue(monsters, boxes, selected, 5000);
        const DocumentChange change = DocumentChange::between(*before, monsters, boxes);
        before.reset();
        if (!journal.start(dir.filePath(QStringLiteral("bench.journal")), {}, error)) {
            std::printf("# journal: %s\n", qPrintable(error));
            return;
        }
        const qint64 headerBytes = QFileInfo(journal.path()).size();

        // What the document does after the edit: the step's bytes, framed, appended, flushed.
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = threadCpuMs();
        RecoveryJournal::Record record;
        record.serial = 1;
        record.name = QStringLiteral("统一怪物价值");
        record.change = change.toBytes(monsters, boxes);
        if (!journal.append(record, error)) {
            std::printf("# journal: %s\n", qPrintable(error));
            return;
        }
        appendMs.push_back(elapsedMs(timer));
        appendCpuMs.push_back(threadCpuMs() - cpuStart);
        onDisk = QFileInfo(journal.path()).size() - headerBytes;
        inMemory = change.storedBytes();
        journal.close(true);
    }
    constexpr double megabyte = 1024.0 * 1024.0;
    context.report(QStringLiteral("journal_append_unify_100k"), median(appendMs),
                   QStringLiteral("ms"));
    context.report(QStringLiteral("journal_append_unify_100k_cpu"), median(appendCpuMs),
                   QStringLiteral("ms"));
    context.report(QStringLiteral("journal_append_unify_100k_bytes"), onDisk / megabyte,
                   QStringLiteral("MB"));
    context.report(QStringLiteral("journal_append_unify_100k_step_in_memory"), inMemory / megabyte,
                   QStringLiteral("MB"));
}

LOOTWRIGHT_BENCH(journal_restore, 521)
{
    QuietDebug quiet;
    // A session of 100 steps of four kinds, never closed.
    ConfigDocument crashed;
    crashed.loadDirectory(context.configDir);
    const QList<MonsterDropConfig> &records = crashed.monsters().records;
    if (records.size() < 200 || crashed.boxes().boxes.size() < 100) {
        std::printf("# journal: the generated configuration did not load\n");
        return;
    }
    for (int i = 0; i < 100; ++i) {
        const int monsterId = records.at((i * 7919) % records.size()).monsterId;
        crashed.edit(QStringLiteral("步骤"), [&](MonsterDropData &m, DropBoxContentData &b) {
            switch (i % 4) {
            case 0:
                MonsterEdits::changeMonsterValue(m, {monsterId}, 1000 + i);
                break;
            case 1:
                b.boxes[(i * 104729) % b.boxes.size()].boxValue += 1;
                break;
            case 2:
                BoxManagerEdits::addBox(b, &m);
                break;
            default:
                MonsterEdits::setNoDrop(m, {monsterId});
            }
        });
    }
    const QString journal =
        RecoveryJournal::pathFor(crashed.monsterFilePath(), crashed.boxFilePath());
    std::printf("# journal: 100 steps, %lld bytes\n",
                static_cast<long long>(QFileInfo(journal).size()));
    // Kept aside: each run restores from the same bytes.
    const QByteArray bytes = [&] {
        QFile file(journal);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();

    std::vector<double> restoreMs;
    int restored = 0;
    for (int run = 0; run < std::max(1, context.runs); ++run) {
        QFile file(journal);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return;
        file.close();
        ConfigDocument next;
        QElapsedTimer timer;
        // The load reads the journal; only its reading is counted, with the replay.
        next.loadDirectory(context.configDir);
        timer.start();
        const RecoveryJournal::Contents contents = RecoveryJournal::read(journal);
        const double readMs = elapsedMs(timer);
        timer.restart();
        restored = next.restoreRecovery().restored;
        restoreMs.push_back(readMs + elapsedMs(timer));
    }
    context.report(QStringLiteral("journal_restore_100_steps"), median(restoreMs),
                   QStringLiteral("ms"));
    std::printf("# journal: %d steps restored\n", restored);
}
