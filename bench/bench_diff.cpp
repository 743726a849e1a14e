// The review before saving on the default generated configuration: the comparison after unifying
// 100,000 monsters, and the command line comparing the files before and after.
#include "Bench.h"
#include "BenchWindow.h"

#include "cli/CliCommands.h"
#include "data/DropBoxContentParser.h"
#include "data/MonsterDropParser.h"
#include "dialogs/DropChangesDialog.h"
#include "edit/DropComparison.h"
#include "edit/DropRateEdits.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

// The documents as loaded and after unifying 100,000 monsters spread evenly over the records, as
// unify_100k does; the documents before stay implicitly shared with the ones after, as the window
// keeps them.
struct UnifiedDocuments
{
    MonsterDropData beforeMonsters;
    DropBoxContentData beforeBoxes;
    MonsterDropData monsters;
    DropBoxContentData boxes;
};

bool unifiedDocuments(const BenchContext &context, UnifiedDocuments &documents)
{
    QString error;
    if (!loadGeneratedConfiguration(context, documents.beforeMonsters, documents.beforeBoxes,
                                    error)) {
        std::fprintf(stderr, "diff: %s\n", qPrintable(error));
        return false;
    }
    documents.monsters = documents.beforeMonsters;
    documents.boxes = documents.beforeBoxes;
    const QList<MonsterDropConfig> &records = documents.monsters.records;
    const int count = int(qMin<qsizetype>(100000, records.size()));
    QList<int> selected;
    for (int i = 0; i < count; ++i)
        selected << records.at(qsizetype(double(i) * double(records.size()) / count)).monsterId;
    DropRateEdits::unifyMonsterValue(documents.monsters, documents.boxes, selected, 5000);
    return true;
}

// The median wall time, reported, with the thread's median CPU time printed beside it: on a busy
// machine the two part.
void timed(const BenchContext &context, const QString &name, const std::function<void()> &run,
           const std::function<void()> &setup = {})
{
    const auto cpuMs = [] {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
    };
    std::vector<double> cpu;
    const double wall = context.medianMs(
        [&] {
            const double start = cpuMs();
            run();
            cpu.push_back(cpuMs() - start);
        },
        setup);
    std::sort(cpu.begin(), cpu.end());
    context.report(name, wall, QStringLiteral("ms"));
    std::printf("# diff: %s CPU time %.0f ms (median)\n", qPrintable(name), cpu[cpu.size() / 2]);
}

} // namespace

LOOTWRIGHT_BENCH(diff, 510)
{
    UnifiedDocuments documents;
    if (!unifiedDocuments(context, documents))
        return;
    DropComparison last;
    timed(
        context, QStringLiteral("diff_after_unify_100k"),
        [&] {
            last = DropComparison::compare(documents.beforeMonsters, documents.beforeBoxes,
                                           documents.monsters, documents.boxes);
        },
        [&] { last = DropComparison(); });
    std::printf("# diff: %lld boxes after unify, %lld record changes, %lld rate changes\n",
                static_cast<long long>(documents.boxes.boxes.size()),
                static_cast<long long>(last.recordCount()),
                static_cast<long long>(last.rateCount()));
    last = DropComparison();

    // The window over the same documents, constructor to first paint.
    PaintSeen seen;
    qApp->installEventFilter(&seen);
    timed(context, QStringLiteral("diff_window_after_unify_100k"), [&] {
        seen.painted = false;
        DropChangesDialog dialog;
        dialog.setDocuments(documents.beforeMonsters, documents.beforeBoxes, documents.monsters,
                            documents.boxes);
        dialog.show();
        runUntil(seen, [] { return true; });
    });
    qApp->removeEventFilter(&seen);

    // The command line, loads and every line included; the lines go to the null device. First
    // against a second copy of the generated files (nothing differs, nothing shared), then
    // against the files saved after the unify.
    QTemporaryDir sameDir;
    QTemporaryDir afterDir;
    QString error;
    for (const QString &file : QDir(context.configDir).entryList(QDir::Files)) {
        const QString path = QDir(context.configDir).filePath(file);
        QFile::copy(path, QDir(sameDir.path()).filePath(file));
        if (!file.startsWith(QStringLiteral("MonsterDrop")) &&
            !file.startsWith(QStringLiteral("DropBox")))
            QFile::copy(path, QDir(afterDir.path()).filePath(file));
    }
    if (!MonsterDropParser(20).save(QDir(afterDir.path()).filePath("MonsterDropBoxs.txt"),
                                    documents.monsters, error) ||
        !DropBoxContentParser(100).save(QDir(afterDir.path()).filePath("DropBoxContent.txt"),
                                        documents.boxes, error)) {
        std::fprintf(stderr, "diff: %s\n", qPrintable(error));
        return;
    }
    documents = UnifiedDocuments();
    QuietDebug quiet;
    QFile sink(QProcess::nullDevice());
    if (!sink.open(QIODevice::WriteOnly))
        return;
    const auto cliDiff = [&](const QString &name, const QString &newDir) {
        int exitCode = -1;
        timed(context, name, [&] {
            QTextStream out(&sink);
            QString messages;
            QTextStream err(&messages);
            exitCode = Cli::run({QStringLiteral("diff"), context.configDir, newDir}, out, err);
        });
        std::printf("# diff: %s exit code %d\n", qPrintable(name), exitCode);
    };
    cliDiff(QStringLiteral("cli_diff_same"), sameDir.path());
    cliDiff(QStringLiteral("cli_diff_after_unify_100k"), afterDir.path());
}
