// The box manager on the default generated configuration: opening and filtering its list, the
// item library it builds and filters, and its two edits that reach every record.
#include "Bench.h"

#include "BenchWindow.h"
#include "data/ItemLibrary.h"
#include "data/NameResolver.h"
#include "dialogs/DropBoxManagerDialog.h"
#include "document/ConfigDocument.h"
#include "edit/BoxManagerEdits.h"
#include "mainwindow/MainWindow.h"
#include "models/ItemLibraryFilterProxyModel.h"
#include "models/ItemLibraryListModel.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

// The id of 1 or more seen most often.
class Tally
{
public:
    void add(int id)
    {
        if (id >= 1 && ++counts[id] > counts.value(best))
            best = id;
    }
    int top() const { return best; }

private:
    QHash<int, int> counts;
    int best = -1;
};

} // namespace

LOOTWRIGHT_BENCH(box_manager, 800)
{
    MonsterDropData monsters;
    DropBoxContentData boxes;
    QString error;
    if (!loadGeneratedConfiguration(context, monsters, boxes, error)) {
        std::fprintf(stderr, "box_manager: %s\n", qPrintable(error));
        return;
    }
    QuietDebug quiet;
    ConfigDocument document;
    document.loadDirectory(context.configDir);
    context.report(QStringLiteral("box_manager_boxes"), double(boxes.boxes.size()), QString());

    PaintSeen seen;
    qApp->installEventFilter(&seen);
    context.report(QStringLiteral("box_manager_open"), context.medianMs([&] {
        seen.painted = false;
        DropBoxManagerDialog dialog(&document, nullptr);
        dialog.show();
        runUntil(seen, [] { return true; });
        // The library build may still run; the dialog going drops it.
    }),
                   QStringLiteral("ms"));

    // An item in many boxes typed into the filter, the list refilled and painted; the debounce
    // is left out.
    Tally items;
    for (const DropBoxConfig &box : boxes.boxes)
        for (const DropBoxItem &item : box.items)
            items.add(item.itemId);
    const int itemId = items.top();
    DropBoxManagerDialog dialog(&document, nullptr);
    dialog.show();
    auto *filter = dialog.findChild<QLineEdit *>(QStringLiteral("boxFilterEdit"));
    for (QTimer *timer : dialog.findChildren<QTimer *>())
        timer->setInterval(0);
    const auto timersIdle = [&dialog] {
        for (const QTimer *timer : dialog.findChildren<QTimer *>())
            if (timer->isActive())
                return false;
        return !dialog.isItemLibraryLoading();
    };
    runUntil(seen, timersIdle);
    context.report(QStringLiteral("box_manager_filter"),
                   context.medianMs(
                       [&] {
                           seen.painted = false;
                           filter->setText(QString::number(itemId));
                           runUntil(seen, timersIdle);
                       },
                       [&] {
                           filter->clear();
                           runUntil(seen, timersIdle);
                       }),
                   QStringLiteral("ms"));
    context.report(QStringLiteral("box_manager_filter_rows"),
                   double(BoxManagerEdits::boxesToList(boxes, itemId).size()), QString());
    qApp->removeEventFilter(&seen);

    // The library: the three item tables as copies, as the worker gets them.
    const NameResolver &names = NameResolver::instance();
    const QMap<int, QString> common = names.commonItemNames;
    const QMap<int, QString> equipment = names.equipNames;
    const QMap<int, QString> gems = names.gemNames;
    QList<ItemLibraryEntry> entries;
    context.report(QStringLiteral("item_library_build"), context.medianMs([&] {
        entries = buildItemLibraryEntries(common, equipment, gems);
    }),
                   QStringLiteral("ms"));
    context.report(QStringLiteral("item_library_entries"), double(entries.size()), QString());
    ItemLibraryListModel model;
    ItemLibraryFilterProxyModel proxy;
    const QString twoChars = entries.value(entries.size() / 2).name.left(2);
    model.setEntries(entries);
    proxy.setSourceModel(&model);
    // The proxy filters when its rows are next asked for.
    context.report(QStringLiteral("item_library_filter"),
                   context.medianMs(
                       [&] {
                           proxy.setFilter(QString(), twoChars);
                           proxy.rowCount();
                       },
                       [&] {
                           proxy.setFilter(QString(), QString());
                           proxy.rowCount();
                       }),
                   QStringLiteral("ms"));
    context.report(QStringLiteral("item_library_filter_rows"), double(proxy.rowCount()), QString());

    // Removing the box most monsters name; replacing the item in most boxes. Each run works on
    // copies of the documents whose lists are already detached, as after the window's snapshot.
    Tally named;
    for (const MonsterDropConfig &record : monsters.records)
        for (const int id : record.dropBoxIds)
            named.add(id);
    const int boxId = named.top();
    MonsterDropData monstersCopy;
    DropBoxContentData boxesCopy;
    const auto copyDocuments = [&] {
        monstersCopy = monsters;
        boxesCopy = boxes;
        monstersCopy.records.detach();
        boxesCopy.boxes.detach();
    };
    BoxManagerEdits::RemoveBoxResult removed;
    context.report(QStringLiteral("remove_box_everywhere"),
                   context.medianMs(
                       [&] {
                           removed = BoxManagerEdits::removeBoxEverywhere(boxesCopy, &monstersCopy,
                                                                          boxId);
                       },
                       copyDocuments),
                   QStringLiteral("ms"));
    context.report(QStringLiteral("remove_box_everywhere_records"), double(monsters.records.size()),
                   QString());
    context.report(QStringLiteral("remove_box_everywhere_slots"), double(removed.changedSlots),
                   QString());
    BoxManagerEdits::ItemIdResult replaced;
    const QString oldId = QString::number(itemId);
    context.report(QStringLiteral("replace_item_id"),
                   context.medianMs(
                       [&] {
                           replaced = BoxManagerEdits::replaceItemIdEverywhere(
                               boxesCopy, oldId, QStringLiteral("999999999"));
                       },
                       copyDocuments),
                   QStringLiteral("ms"));
    context.report(QStringLiteral("replace_item_id_slots"), double(replaced.slots), QString());
    qsizetype scanned = 0;
    for (const DropBoxConfig &box : boxes.boxes)
        scanned += box.items.size();
    context.report(QStringLiteral("replace_item_id_scanned"), double(scanned), QString());
}

LOOTWRIGHT_BENCH(box_manager_window, 801)
{
    // The box most monsters name removed in the manager over the main window's documents: the
    // undo step, the main window's refresh by id and the manager's own, up to the next paint.
    QuietDebug quiet;
    NameResolver::instance().clear();
    MainWindow window(std::make_unique<SilentPrompts>(), context.configDir);
    window.show();
    window.onManageBoxes();
    auto *dialog = window.findChild<DropBoxManagerDialog *>();
    auto *table = dialog->findChild<QTableWidget *>(QStringLiteral("boxTable"));
    auto *remove = dialog->findChild<QPushButton *>(QStringLiteral("removeBoxButton"));
    QAction *undo = window.findChild<QAction *>(QStringLiteral("actionUndo"));
    Tally named;
    for (const MonsterDropConfig &record : window.monsterDocument().records)
        for (const int id : record.dropBoxIds)
            named.add(id);
    const QString boxId = QString::number(named.top());
    const auto idle = [&window] {
        for (const QTimer *timer : window.findChildren<QTimer *>())
            if (timer->isActive() && timer->isSingleShot())
                return false;
        return true;
    };
    PaintSeen seen;
    qApp->installEventFilter(&seen);
    runUntil(seen, idle);
    const auto removeBox = [&] {
        seen.painted = false;
        remove->click();
        runUntil(seen, [] { return true; });
    };
    const auto undoAndSelect = [&] {
        if (undo->isEnabled())
            undo->trigger();
        runUntil(seen, idle);
        const QList<QTableWidgetItem *> found = table->findItems(boxId, Qt::MatchExactly);
        if (!found.isEmpty())
            table->selectRow(found.first()->row());
    };
    context.report(QStringLiteral("box_manager_window_remove"),
                   context.medianMs(removeBox, undoAndSelect), QStringLiteral("ms"));
    qApp->removeEventFilter(&seen);
}
