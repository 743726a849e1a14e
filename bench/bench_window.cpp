// Start-up and selection times of the main window on the generated configuration.
#include "Bench.h"

#include "BenchWindow.h"
#include "data/NameResolver.h"
#include "dialogs/ItemLibraryDialog.h"
#include "edit/Favorites.h"
#include "mainwindow/MainWindow.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

namespace {

// Answers every number input with one value (the unify input).
class NumberPrompts : public SilentPrompts
{
public:
    explicit NumberPrompts(int value) : value(value) {}
    std::optional<int> getInt(QWidget *, const QString &, const QString &, int, int, int,
                              int) override
    {
        return value;
    }

private:
    int value;
};

// Sees the paint events of a widget tree, so a measurement can end after the first paint.
class PaintWatcher : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

// Processes events until a paint happened in the window, the paint included.
void waitForPaint(PaintWatcher &watcher)
{
    QElapsedTimer guard;
    guard.start();
    while (!watcher.painted && guard.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    QApplication::processEvents();
}

double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Wraps a timed call so its CPU time is collected too: on a busy machine the wall time also
// counts the time other processes ran.
struct CpuTimes
{
    std::vector<double> samples;

    std::function<void()> wrap(const std::function<void()> &run)
    {
        return [this, run] {
            const double start = processCpuMs();
            run();
            samples.push_back(processCpuMs() - start);
        };
    }

    double median()
    {
        if (samples.empty())
            return 0.0;
        std::sort(samples.begin(), samples.end());
        return samples[samples.size() / 2];
    }
};

} // namespace

LOOTWRIGHT_BENCH(window_startup, 60)
{
    QuietDebug quiet;
    CpuTimes cpu;
    const double ms = context.medianMs(cpu.wrap([&] {
        NameResolver::instance().clear();
        PaintWatcher watcher;
        MainWindow window(std::make_unique<SilentPrompts>(), context.configDir);
        qApp->installEventFilter(&watcher);
        window.show();
        waitForPaint(watcher);
        qApp->removeEventFilter(&watcher);
    }));
    context.report(QStringLiteral("window_startup"), ms, QStringLiteral("ms"));
    context.report(QStringLiteral("window_startup_cpu"), cpu.median(), QStringLiteral("ms"));
}

LOOTWRIGHT_BENCH(select_monster, 61)
{
    QuietDebug quiet;
    NameResolver::instance().clear();
    MainWindow window(std::make_unique<SilentPrompts>(), context.configDir);
    window.show();
    QApplication::processEvents();

    auto *view = window.findChild<QTableView *>(QStringLiteral("monsterListView"));
    QAbstractItemModel *model = view->model();
    const int rows = model->rowCount();
    int next = rows / 3;
    PaintWatcher watcher;
    qApp->installEventFilter(&watcher);
    CpuTimes cpu;
    const double ms = context.medianMs(
        cpu.wrap([&] {
            view->selectionModel()->setCurrentIndex(model->index(next, 0),
                                                    QItemSelectionModel::ClearAndSelect |
                                                        QItemSelectionModel::Rows);
            waitForPaint(watcher);
        }),
        [&] {
            // Another monster with drops (no grey background), far from the current one.
            next = (next + 7919) % qMax(1, rows);
            for (int i = 0; i < rows && model->index(next, 0).data(Qt::BackgroundRole).isValid();
                 ++i)
                next = (next + 1) % rows;
            QApplication::processEvents();
            watcher.painted = false;
        });
    qApp->removeEventFilter(&watcher);
    context.report(QStringLiteral("select_monster"), ms, QStringLiteral("ms"));
    context.report(QStringLiteral("select_monster_cpu"), cpu.median(), QStringLiteral("ms"));
}

LOOTWRIGHT_BENCH(window_unify_undo, 62)
{
    // Unify over 100,000 monster rows through the window, then its undo and redo, each with
    // the refresh of every view and the events that follow.
    QuietDebug quiet;
    NameResolver::instance().clear();
    MainWindow window(std::make_unique<NumberPrompts>(5000), context.configDir);
    window.show();
    QApplication::processEvents();
    auto *view = window.findChild<QTableView *>(QStringLiteral("monsterListView"));
    QAbstractItemModel *model = view->model();
    const int rows = std::min(model->rowCount(), 100000);
    view->selectionModel()->select(
        QItemSelection(model->index(0, 0), model->index(rows - 1, model->columnCount() - 1)),
        QItemSelectionModel::ClearAndSelect);
    QElapsedTimer timer;
    timer.start();
    window.unifyMonsterValue();
    QApplication::processEvents();
    context.report(QStringLiteral("window_unify_100k_recorded"), timer.elapsed(),
                   QStringLiteral("ms"));
    auto *undo = window.findChild<QAction *>(QStringLiteral("actionUndo"));
    auto *redo = window.findChild<QAction *>(QStringLiteral("actionRedo"));
    const auto step = [](QAction *action) {
        return [action] {
            action->trigger();
            QApplication::processEvents();
        };
    };
    // The first run undoes the unify; each later one redoes it untimed first.
    context.report(QStringLiteral("window_unify_100k_undo"),
                   context.medianMs(step(undo), step(redo)), QStringLiteral("ms"));
    context.report(QStringLiteral("window_unify_100k_redo"),
                   context.medianMs(step(redo), step(undo)), QStringLiteral("ms"));
}

LOOTWRIGHT_BENCH(item_library_dialog_open, 63)
{
    QuietDebug quiet;
    NameResolver::instance().clear();
    NameResolver::instance().loadAll(context.configDir);
    // Twenty favourites from a store of its own: never the user's.
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    FavoritesStore store;
    QList<int> favorites;
    for (auto it = NameResolver::instance().commonItemNames.cbegin();
         it != NameResolver::instance().commonItemNames.cend() && favorites.size() < 20; ++it)
        favorites << it.key();
    store.write(favorites);
    const qsizetype items = NameResolver::instance().commonItemNames.size() +
                            NameResolver::instance().equipNames.size() +
                            NameResolver::instance().gemNames.size();
    SilentPrompts prompts;
    CpuTimes cpu;
    // Until the first paint; the previous window is closed untimed.
    std::unique_ptr<ItemLibraryDialog> dialog;
    PaintWatcher watcher;
    const double ms = context.medianMs(cpu.wrap([&] {
        dialog = std::make_unique<ItemLibraryDialog>(&prompts, &store);
        qApp->installEventFilter(&watcher);
        dialog->show();
        waitForPaint(watcher);
        qApp->removeEventFilter(&watcher);
    }),
                                       [&] {
                                           dialog.reset();
                                           QApplication::processEvents();
                                           watcher.painted = false;
                                       });
    dialog.reset();
    std::printf("# item library: %lld items\n", static_cast<long long>(items));
    context.report(QStringLiteral("item_library_dialog_open"), ms, QStringLiteral("ms"));
    context.report(QStringLiteral("item_library_dialog_open_cpu"), cpu.median(),
                   QStringLiteral("ms"));
}
