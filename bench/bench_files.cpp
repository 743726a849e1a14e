#include "Bench.h"

#include "data/DropBoxContentParser.h"
#include "data/DropFilePair.h"
#include "data/MonsterDropParser.h"
#include "data/NameResolver.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

double residentMegabytes()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toDouble() * 4096.0 / (1024.0 * 1024.0) : 0;
}

template <typename T> double listBytes(const QList<T> &list)
{
    // Array header plus elements, and the allocator's own block header.
    return list.capacity() > 0 ? 16.0 + 16.0 + double(list.capacity()) * sizeof(T) : 0.0;
}

double stringBytes(const QString &text)
{
    return text.capacity() > 0 ? 32.0 + double(text.capacity() + 1) * 2 : 0.0;
}

double documentMegabytes(const DropBoxContentData &data)
{
    double bytes = stringBytes(data.headerLine1) + stringBytes(data.headerLine2) +
                   stringBytes(data.commentBlock) + listBytes(data.boxes);
    for (const DropBoxConfig &box : data.boxes)
        bytes += listBytes(box.items);
    return bytes / (1024.0 * 1024.0);
}

double documentMegabytes(const MonsterDropData &data)
{
    double bytes =
        stringBytes(data.headerLine1) + stringBytes(data.headerLine2) + listBytes(data.records);
    for (const MonsterDropConfig &record : data.records)
        bytes += listBytes(record.dropBoxIds) + stringBytes(record.displayName);
    return bytes / (1024.0 * 1024.0);
}

double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Reports the median wall time as `name` and the median CPU time as `name`_cpu: on a busy
// machine the two tell apart waiting from working.
void reportTimed(const BenchContext &context, const QString &name, const std::function<void()> &run,
                 const std::function<void()> &setup = {})
{
    std::vector<double> cpu;
    const double wall = context.medianMs(
        [&] {
            const double start = processCpuMs();
            run();
            cpu.push_back(processCpuMs() - start);
        },
        setup);
    std::sort(cpu.begin(), cpu.end());
    context.report(name, wall, QStringLiteral("ms"));
    context.report(name + QStringLiteral("_cpu"), cpu.empty() ? 0.0 : cpu[cpu.size() / 2],
                   QStringLiteral("ms"));
}

QString boxPath(const BenchContext &context)
{
    return QDir(context.configDir).filePath(QStringLiteral("DropBoxContent.txt"));
}

QString monsterPath(const BenchContext &context)
{
    return QDir(context.configDir).filePath(QStringLiteral("MonsterDropBoxs.txt"));
}

void fail(const char *what, const QString &error)
{
    std::fprintf(stderr, "%s failed: %s\n", what, qPrintable(error));
}

} // namespace

LOOTWRIGHT_BENCH(load_box_file, 10)
{
    QuietDebug quiet;
    const DropBoxContentParser parser(100);
    context.report(QStringLiteral("box_file_size"),
                   QFileInfo(boxPath(context)).size() / (1024.0 * 1024.0), QStringLiteral("MB"));
    DropBoxContentData data;
    QString error;
    const double before = residentMegabytes();
    if (!parser.load(boxPath(context), data, error))
        return fail("load_box_file", error);
    const double after = residentMegabytes();
    context.report(QStringLiteral("box_document_memory"), documentMegabytes(data),
                   QStringLiteral("MB"));
    context.report(QStringLiteral("box_document_rss_growth"), after - before, QStringLiteral("MB"));
    reportTimed(
        context, QStringLiteral("load_box_file"),
        [&] { parser.load(boxPath(context), data, error); }, [&] { data = DropBoxContentData(); });
}

LOOTWRIGHT_BENCH(load_monster_file, 11)
{
    QuietDebug quiet;
    const MonsterDropParser parser(20);
    context.report(QStringLiteral("monster_file_size"),
                   QFileInfo(monsterPath(context)).size() / (1024.0 * 1024.0),
                   QStringLiteral("MB"));
    MonsterDropData data;
    QString error;
    const double before = residentMegabytes();
    if (!parser.load(monsterPath(context), data, error))
        return fail("load_monster_file", error);
    const double after = residentMegabytes();
    context.report(QStringLiteral("monster_document_memory"), documentMegabytes(data),
                   QStringLiteral("MB"));
    context.report(QStringLiteral("monster_document_rss_growth"), after - before,
                   QStringLiteral("MB"));
    reportTimed(
        context, QStringLiteral("load_monster_file"),
        [&] { parser.load(monsterPath(context), data, error); }, [&] { data = MonsterDropData(); });
}

LOOTWRIGHT_BENCH(save_box_file, 12)
{
    QuietDebug quiet;
    const DropBoxContentParser parser(100);
    DropBoxContentData data;
    QString error;
    if (!parser.load(boxPath(context), data, error))
        return fail("save_box_file", error);
    QTemporaryDir temp;
    const QString out = temp.filePath(QStringLiteral("DropBoxContent.txt"));
    bool ok = true;
    reportTimed(context, QStringLiteral("save_box_file"),
                [&] { ok = parser.save(out, data, error) && ok; });
    if (!ok)
        fail("save_box_file", error);
}

LOOTWRIGHT_BENCH(save_monster_file, 13)
{
    QuietDebug quiet;
    const MonsterDropParser parser(20);
    MonsterDropData data;
    QString error;
    if (!parser.load(monsterPath(context), data, error))
        return fail("save_monster_file", error);
    QTemporaryDir temp;
    const QString out = temp.filePath(QStringLiteral("MonsterDropBoxs.txt"));
    bool ok = true;
    reportTimed(context, QStringLiteral("save_monster_file"),
                [&] { ok = parser.save(out, data, error) && ok; });
    if (!ok)
        fail("save_monster_file", error);
}

// Both files through the pair as the editor saves them: checked, synced new files, the journal,
// the replacement. The first save after a load also keeps both old files as backups.
LOOTWRIGHT_BENCH(save_both, 14)
{
    QuietDebug quiet;
    QTemporaryDir temp;
    const QString monsters = temp.filePath(QStringLiteral("MonsterDropBoxs.txt"));
    const QString boxes = temp.filePath(QStringLiteral("DropBoxContent.txt"));
    DropFilePair pair;
    MonsterDropData monsterData;
    DropBoxContentData boxData;
    QString error;
    if (!QFile::copy(monsterPath(context), monsters) || !QFile::copy(boxPath(context), boxes) ||
        !pair.loadMonsters(monsters, monsterData, error) || !pair.loadBoxes(boxes, boxData, error))
        return fail("save_both", error);
    DropFilePair::SaveFailure failure;
    bool ok = true;
    const auto save = [&] {
        ok = pair.save(monsters, &monsterData, boxes, &boxData, QDateTime::currentDateTime(),
                       failure) &&
             ok;
    };
    QElapsedTimer first;
    first.start();
    save();
    context.report(QStringLiteral("save_both_first_with_backups"), first.nsecsElapsed() / 1e6,
                   QStringLiteral("ms"));
    reportTimed(context, QStringLiteral("save_both"), save);
    if (!ok)
        fail("save_both", failure.error);
}

LOOTWRIGHT_BENCH(name_resolver_load_all, 14)
{
    QuietDebug quiet;
    NameResolver &resolver = NameResolver::instance();
    reportTimed(
        context, QStringLiteral("name_resolver_load_all"),
        [&] { resolver.loadAll(context.configDir); }, [&] { resolver.clear(); });
    // Later benchmarks find the tables loaded, as the application would.
    resolver.loadAll(context.configDir);
}
