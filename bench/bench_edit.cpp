// Times of the batch edits on the default generated configuration.
#include "Bench.h"

#include "data/DropBoxContentParser.h"
#include "data/DropConfig.h"
#include "data/MonsterDropParser.h"
#include "data/NameResolver.h"
#include "edit/DocumentChange.h"
#include "edit/DropClipboard.h"
#include "edit/DropRateEdits.h"
#include "edit/MonsterEdits.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <optional>
#include <vector>

namespace {

struct EditBenchData
{
    MonsterDropData monsters;
    DropBoxContentData boxes;
    QList<int> namedIds; // every monster id of the name table, ascending
    QString source;
};

// Used only when the generated configuration cannot be read: the same shape, made up here.
void synthesize(EditBenchData &data, const BenchContext &context)
{
    QRandomGenerator random(20261206);
    const int monsterCount = context.monsterCount > 0 ? context.monsterCount : 200000;
    const int boxCount = context.boxCount > 0 ? context.boxCount : 100000;
    const int popular = std::max(1, boxCount / 50);
    NameResolver::instance().clear();
    for (int i = 0; i < monsterCount; ++i) {
        const int id = 10000 + i;
        NameResolver::instance().monsterNames.insert(id, QStringLiteral("怪物%1").arg(i));
        if (random.bounded(100) >= 80)
            continue;
        MonsterDropConfig record;
        record.monsterId = id;
        record.mValue = random.bounded(100) < 3 ? 0 : random.bounded(1, 10000);
        record.dropType = random.bounded(2);
        record.dropBoxIds.fill(-1, 20);
        const int used = random.bounded(100) < 10 ? 0 : random.bounded(1, 21);
        for (int slot = 0; slot < used; ++slot) {
            record.dropBoxIds[slot] = random.bounded(100) < 30 ? random.bounded(1, popular + 1)
                                                               : random.bounded(1, boxCount + 1);
        }
        data.monsters.records.append(record);
    }
    for (int i = 0; i < boxCount; ++i) {
        DropBoxConfig box;
        box.boxId = i + 1;
        box.boxValue = random.bounded(100) < 2 ? 0 : random.bounded(1, 100000);
        box.items.fill(DropBoxItem{}, 100);
        const int filled = random.bounded(1, 101);
        for (int slot = 0; slot < filled; ++slot)
            box.items[slot] = DropBoxItem{random.bounded(1, 60000), 1};
        data.boxes.boxes.append(box);
    }
    data.source = QStringLiteral("synthetic");
}

const EditBenchData &benchData(const BenchContext &context)
{
    static EditBenchData data;
    static bool ready = false;
    if (ready)
        return data;
    ready = true;
    QString error;
    if (loadGeneratedConfiguration(context, data.monsters, data.boxes, error)) {
        data.source = QStringLiteral("generated");
    } else {
        data = EditBenchData();
        synthesize(data, context);
    }
    data.namedIds = NameResolver::instance().monsterNames.keys();
    std::printf("# edit: %s data, %lld named monsters, %lld monster records, %lld boxes\n",
                qPrintable(data.source), static_cast<long long>(data.namedIds.size()),
                static_cast<long long>(data.monsters.records.size()),
                static_cast<long long>(data.boxes.boxes.size()));
    return data;
}

// Fresh, unshared copies of the documents, as the window owns them.
void resetDocuments(const EditBenchData &data, MonsterDropData &monsters, DropBoxContentData &boxes)
{
    monsters = data.monsters;
    boxes = data.boxes;
    for (MonsterDropConfig &record : monsters.records)
        record.dropBoxIds.detach();
    for (DropBoxConfig &box : boxes.boxes)
        box.items.detach();
}

// `count` ids spread evenly over `pool`, in a shuffled selection order.
QList<int> spreadIds(const QList<int> &pool, int count)
{
    QList<int> ids;
    if (pool.isEmpty() || count <= 0)
        return ids;
    const double step = double(pool.size()) / count;
    for (int i = 0; i < count && qsizetype(i * step) < pool.size(); ++i)
        ids << pool.at(qsizetype(i * step));
    QRandomGenerator random(7);
    std::shuffle(ids.begin(), ids.end(), *&random);
    return ids;
}

// Wall time is the figure; the thread's CPU time, printed beside it, tells a slow run from a
// busy machine.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double timed(const BenchContext &context, const QString &name, const std::function<void()> &run,
             const std::function<void()> &setup)
{
    std::vector<double> cpu;
    const double wall = context.medianMs(
        [&] {
            const double start = threadCpuMs();
            run();
            cpu.push_back(threadCpuMs() - start);
        },
        setup);
    std::sort(cpu.begin(), cpu.end());
    context.report(name, wall, QStringLiteral("ms"));
    std::printf("# edit: %s CPU time %.0f ms (median)\n", qPrintable(name), cpu[cpu.size() / 2]);
    return wall;
}

QList<int> recordIds(const MonsterDropData &monsters, bool withDropsOnly)
{
    QList<int> ids;
    for (const MonsterDropConfig &record : monsters.records) {
        if (!withDropsOnly || DropSlots::validBoxCount(record) > 0)
            ids << record.monsterId;
    }
    return ids;
}

} // namespace

LOOTWRIGHT_BENCH(edit_unify, 500)
{
    const EditBenchData &data = benchData(context);
    MonsterDropData monsters;
    DropBoxContentData boxes;
    const QList<int> selected = spreadIds(recordIds(data.monsters, false), 100000);
    DropRateEdits::UnifyResult last;
    timed(
        context, QStringLiteral("unify_100k"),
        [&] { last = DropRateEdits::unifyMonsterValue(monsters, boxes, selected, 5000); },
        [&] { resetDocuments(data, monsters, boxes); });
    std::printf("# edit: unify of %lld monsters: %lld log line(s), adjusted %d, copied %d, "
                "skipped %d, %lld boxes after\n",
                static_cast<long long>(selected.size()),
                static_cast<long long>(last.logLines.size()), last.adjusted, last.copied,
                last.skipped, static_cast<long long>(boxes.boxes.size()));
}

LOOTWRIGHT_BENCH(edit_paste, 501)
{
    const EditBenchData &data = benchData(context);
    MonsterDropData monsters;
    DropBoxContentData boxes;
    const QList<int> selected = spreadIds(data.namedIds, 10000);
    const QString text = DropClipboard::buildText(data.monsters.records.first());
    EditResult last;
    timed(
        context, QStringLiteral("paste_10k"),
        [&] {
            const DropClipboard::PastePlan plan = DropClipboard::preparePaste(selected, text);
            last = DropClipboard::applyPaste(monsters, selected, plan.drops);
        },
        [&] { resetDocuments(data, monsters, boxes); });
    std::printf("# edit: paste onto %lld monsters: %lld log lines, %lld records after\n",
                static_cast<long long>(selected.size()),
                static_cast<long long>(last.logLines.size()),
                static_cast<long long>(monsters.records.size()));
}

LOOTWRIGHT_BENCH(edit_set_no_drop, 502)
{
    const EditBenchData &data = benchData(context);
    MonsterDropData monsters;
    DropBoxContentData boxes;
    const QList<int> selected = spreadIds(recordIds(data.monsters, true), 10000);
    EditResult last;
    timed(
        context, QStringLiteral("set_no_drop_10k"),
        [&] {
            const MonsterEdits::Eligibility eligibility =
                MonsterEdits::setNoDropEligibility(monsters, selected);
            if (eligibility.eligibleCount > 0)
                last = MonsterEdits::setNoDrop(monsters, selected);
        },
        [&] { resetDocuments(data, monsters, boxes); });
    std::printf("# edit: no drop for %lld monsters: %lld log lines, %lld records after\n",
                static_cast<long long>(selected.size()),
                static_cast<long long>(last.logLines.size()),
                static_cast<long long>(monsters.records.size()));
}

LOOTWRIGHT_BENCH(edit_target_rate, 503)
{
    // One target rate on a popular (shared) box: a scan of every record for its sharers.
    const EditBenchData &data = benchData(context);
    MonsterDropData monsters;
    DropBoxContentData boxes;
    qsizetype recordIndex = -1;
    for (qsizetype i = 0; i < data.monsters.records.size() && recordIndex < 0; ++i) {
        const MonsterDropConfig &record = data.monsters.records.at(i);
        if (record.mValue > 0 && DropSlots::validBoxCount(record) > 0 &&
            DropSlots::findBox(data.boxes, record.dropBoxIds.first()))
            recordIndex = i;
    }
    if (recordIndex < 0)
        return;
    DropRateEdits::TargetRateResult last;
    timed(
        context, QStringLiteral("target_rate"),
        [&] {
            MonsterDropConfig *monster = &monsters.records[recordIndex];
            const DropBoxConfig *box = DropSlots::findBox(boxes, monster->dropBoxIds.first());
            last = DropRateEdits::applyTargetRate(monsters, monster, boxes, box,
                                                  QStringLiteral("12.5"), 1.0);
        },
        [&] { resetDocuments(data, monsters, boxes); });
    std::printf("# edit: target rate on a box of %d sharers, copied %d\n", last.sharerCount,
                int(last.copied));
}

LOOTWRIGHT_BENCH(edit_unify_undo, 504)
{
    // The undo step of unify over 100,000 monsters. Recording costs the snapshot before the
    // edit and the comparison after it; the step keeps only the entries that differ.
    const EditBenchData &data = benchData(context);
    MonsterDropData monsters;
    DropBoxContentData boxes;
    const QList<int> selected = spreadIds(recordIds(data.monsters, false), 100000);
    std::vector<double> recordMs;
    std::vector<double> recordCpuMs;
    std::vector<double> undoMs;
    std::vector<double> redoMs;
    qint64 storedBytes = 0;
    qsizetype storedEntries = 0;
    const auto elapsedMs = [](const QElapsedTimer &timer) { return timer.nsecsElapsed() / 1e6; };
    for (int run = 0; run < std::max(1, context.runs); ++run) {
        resetDocuments(data, monsters, boxes);
        QElapsedTimer timer;
        timer.start();
        double cpuStart = threadCpuMs();
        std::optional<DocumentSnapshot> before(std::in_place, monsters, boxes);
        const double ms = elapsedMs(timer);
        double cpuMs = threadCpuMs() - cpuStart;

        DropRateEdits::unifyMonsterValue(monsters, boxes, selected, 5000);
        timer.restart();
        cpuStart = threadCpuMs();
        const DocumentChange change = DocumentChange::between(*before, monsters, boxes);
        before.reset();
        recordMs.push_back(ms + elapsedMs(timer));
        recordCpuMs.push_back(cpuMs + threadCpuMs() - cpuStart);
        timer.restart();
        change.revert(monsters, boxes);
        undoMs.push_back(elapsedMs(timer));
        timer.restart();
        change.apply(monsters, boxes);
        redoMs.push_back(elapsedMs(timer));
        storedBytes = change.storedBytes();
        storedEntries = change.storedEntryCount();
    }
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    constexpr double megabyte = 1024.0 * 1024.0;
    context.report(QStringLiteral("unify_100k_undo_record"), median(recordMs),
                   QStringLiteral("ms"));
    std::printf("# edit: unify_100k_undo_record CPU time %.0f ms (median)\n", median(recordCpuMs));
    context.report(QStringLiteral("unify_100k_undo_step_kept"), storedBytes / megabyte,
                   QStringLiteral("MB"));
    context.report(QStringLiteral("unify_100k_undo_revert"), median(undoMs), QStringLiteral("ms"));
    context.report(QStringLiteral("unify_100k_undo_apply"), median(redoMs), QStringLiteral("ms"));

    // What recording adds to the edit's resident peak (snapshot and step together).
    resetDocuments(data, monsters, boxes);
    const double plain =
        peakExtraBytes([&] { DropRateEdits::unifyMonsterValue(monsters, boxes, selected, 5000); });
    const double recorded = peakExtraBytes([&] {
        std::optional<DocumentSnapshot> before(std::in_place, monsters, boxes);
        DropRateEdits::unifyMonsterValue(monsters, boxes, selected, 5000);
        const DocumentChange change = DocumentChange::between(*before, monsters, boxes);
        before.reset();
    });
    if (plain >= 0 && recorded >= 0)
        context.report(QStringLiteral("unify_100k_undo_peak_extra"), (recorded - plain) / megabyte,
                       QStringLiteral("MB"));
    std::printf("# edit: unify undo step keeps %lld records and boxes\n",
                static_cast<long long>(storedEntries));
}
