#include "Bench.h"
#include "ConfigGenerator.h"

#include "data/DropBoxContentParser.h"
#include "data/MonsterDropParser.h"
#include "data/NameResolver.h"
#include "document/RecoveryJournal.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <map>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Entry
{
    const char *name;
    int order;
    BenchFunction function;
};

std::vector<Entry> &registry()
{
    static std::vector<Entry> entries;
    return entries;
}

// A line "Key:   123 kB" of /proc/self/status in bytes, or -1.
double statusBytes(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toDouble() * 1024.0;
    }
    return -1;
}

} // namespace

double peakExtraBytes(const std::function<void()> &run)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        malloc_trim(0);
        QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
        const bool fresh = clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
        clearRefs.close();
        const double before = statusBytes("VmRSS");
        run();
        const double extra = fresh && before >= 0 ? statusBytes("VmHWM") - before : -1;
        const bool sent = write(fds[1], &extra, sizeof extra) == ssize_t(sizeof extra);
        _exit(sent ? 0 : 1);
    }
    close(fds[1]);
    double extra = -1;
    if (child < 0 || read(fds[0], &extra, sizeof extra) != ssize_t(sizeof extra))
        extra = -1;
    close(fds[0]);
    if (child > 0)
        waitpid(child, nullptr, 0);
    return extra;
}

BenchRegistrar::BenchRegistrar(const char *name, int order, BenchFunction function)
{
    registry().push_back({name, order, function});
}

void BenchContext::report(const QString &name, double value, const QString &unit) const
{
    std::printf("%s: %s %s\n", qPrintable(name),
                qPrintable(QString::number(value, 'f', value < 10 ? 2 : 0)), qPrintable(unit));
    std::fflush(stdout);
}

double BenchContext::medianMs(const std::function<void()> &run,
                              const std::function<void()> &setup) const
{
    std::vector<double> times;
    for (int i = 0; i < std::max(1, runs); ++i) {
        if (setup)
            setup();
        QElapsedTimer timer;
        timer.start();
        run();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

namespace {

void quietHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

QuietDebug::QuietDebug() : previous(qInstallMessageHandler(quietHandler)) {}

QuietDebug::~QuietDebug()
{
    qInstallMessageHandler(previous);
}

bool loadGeneratedConfiguration(const BenchContext &context, MonsterDropData &monsters,
                                DropBoxContentData &boxes, QString &error)
{
    QuietDebug quiet;
    const QDir dir(context.configDir);
    NameResolver::instance().clear();
    NameResolver::instance().loadAll(context.configDir);
    if (NameResolver::instance().monsterNames.isEmpty()) {
        error = QStringLiteral("no monster names in %1").arg(context.configDir);
        return false;
    }
    return MonsterDropParser().load(dir.filePath(QStringLiteral("MonsterDropBoxs.txt")), monsters,
                                    error) &&
           DropBoxContentParser().load(dir.filePath(QStringLiteral("DropBoxContent.txt")), boxes,
                                       error) &&
           !monsters.records.isEmpty() && !boxes.boxes.isEmpty();
}

int main(int argc, char *argv[])
{
    // Widgets benchmarks need an application object; the offscreen platform keeps it headless.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Generates a drop configuration and measures Lootwright on it.");
    parser.addHelpOption();
    QCommandLineOption monstersOption("monsters", "Named monsters to generate.", "n", "200000");
    QCommandLineOption boxesOption("boxes", "Boxes to generate.", "n", "100000");
    QCommandLineOption itemsOption("items", "Named items to generate.", "n", "60000");
    QCommandLineOption runsOption("runs", "Runs per figure (the median is reported).", "n", "5");
    QCommandLineOption onlyOption("only", "Run only benchmarks whose name contains this text.",
                                  "text");
    QCommandLineOption keepOption("keep", "Write the configuration to this directory and keep it.",
                                  "dir");
    parser.addOptions(
        {monstersOption, boxesOption, itemsOption, runsOption, onlyOption, keepOption});
    parser.process(app);

    GeneratorOptions options;
    options.monsterCount = parser.value(monstersOption).toInt();
    options.boxCount = parser.value(boxesOption).toInt();
    options.itemCount = parser.value(itemsOption).toInt();

    QTemporaryDir tempDir;
    // The editor's recovery journals go beside the generated files, not to the user's own.
    qputenv("XDG_DATA_HOME", QDir(tempDir.path()).filePath(QStringLiteral("data")).toUtf8());
    const QString dir = parser.isSet(keepOption) ? parser.value(keepOption) : tempDir.path();
    QElapsedTimer timer;
    timer.start();
    if (!generateConfiguration(dir, options)) {
        std::fprintf(stderr, "could not generate the configuration in %s\n", qPrintable(dir));
        return 1;
    }
    std::printf("# generated %d monsters, %d boxes, %d items in %lld ms\n", options.monsterCount,
                options.boxCount, options.itemCount, static_cast<long long>(timer.elapsed()));

    BenchContext context;
    context.configDir = dir;
    context.monsterCount = options.monsterCount;
    context.boxCount = options.boxCount;
    context.runs = parser.value(runsOption).toInt();

    auto &entries = registry();
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry &a, const Entry &b) { return a.order < b.order; });
    const QString only = parser.value(onlyOption);
    for (const Entry &entry : entries) {
        if (!only.isEmpty() && !QString::fromLatin1(entry.name).contains(only))
            continue;
        // A window left with unsaved changes keeps its recovery journal; the next window over
        // the same files would otherwise start by restoring them.
        QDir(RecoveryJournal::directory()).removeRecursively();
        entry.function(context);
    }

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    context.report(QStringLiteral("peak_resident_memory"), usage.ru_maxrss / 1024.0,
                   QStringLiteral("MB"));
    return 0;
}
