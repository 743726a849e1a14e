#pragma once

#include "WindowTestSupport.h"

#include "models/MonsterBoxListModel.h"

#include <QAbstractItemModelTester>
#include <QAbstractProxyModel>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStringList>
#include <memory>
#include <vector>

// Shared checks of the window's editing tests: the documents as text, the log lines, the
// selection spread over several monster rows, and a check that nothing the window holds points
// past what the documents contain.
namespace EditTest {

using WindowTest::Harness;

// The log's time stamp under the fixed clock.
inline QString stamp()
{
    return QStringLiteral("[2026-12-06 10:00:00] ");
}

inline void fixClock(Harness &h)
{
    h.window->setClock([] { return QDateTime(QDate(2026, 12, 6), QTime(10, 0, 0)); });
}

inline QString joinInts(const QList<int> &values)
{
    QStringList texts;
    for (int value : values)
        texts << QString::number(value);
    return texts.join(QLatin1Char(','));
}

// "id|mValue|dropType|slots|slot count" per record; trailing -1 slots are left out of the list
// but counted.
inline QStringList monsterDocument(const MainWindow &w)
{
    QStringList lines;
    for (const MonsterDropConfig &record : w.monsterDocument().records) {
        QList<int> slots = record.dropBoxIds;
        while (!slots.isEmpty() && slots.constLast() == -1)
            slots.removeLast();
        lines << QStringLiteral("%1|%2|%3|%4|%5")
                     .arg(record.monsterId)
                     .arg(record.mValue)
                     .arg(record.dropType)
                     .arg(joinInts(slots))
                     .arg(record.dropBoxIds.size());
    }
    return lines;
}

// "id|weight|notify|force|item:level,...|slot count" per box; trailing empty slots (-1:-1)
// are left out of the list but counted.
inline QStringList boxDocument(const MainWindow &w)
{
    QStringList lines;
    for (const DropBoxConfig &box : w.boxDocument().boxes) {
        QList<DropBoxItem> slots = box.items;
        while (!slots.isEmpty() && slots.constLast().itemId == -1 && slots.constLast().level == -1)
            slots.removeLast();
        QStringList items;
        for (const DropBoxItem &item : slots)
            items << QStringLiteral("%1:%2").arg(item.itemId).arg(item.level);
        lines << QStringLiteral("%1|%2|%3|%4|%5|%6")
                     .arg(box.boxId)
                     .arg(box.boxValue)
                     .arg(box.notifyId)
                     .arg(box.forceOpenFlag)
                     .arg(items.join(QLatin1Char(',')))
                     .arg(box.items.size());
    }
    return lines;
}

// The log lines without their time stamp (which the fixed clock makes constant; checked too).
inline QStringList logMessages(const Harness &h)
{
    QStringList messages;
    const QString text = h.child<QPlainTextEdit>(QStringLiteral("operationLogEdit"))->toPlainText();
    for (const QString &line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (!line.startsWith(stamp()))
            messages << QStringLiteral("BAD STAMP: ") + line;
        else
            messages << line.mid(stamp().size());
    }
    return messages;
}

// Selects these monsters' rows; the first becomes the current monster.
inline bool selectMonsters(const Harness &h, const QList<int> &ids)
{
    if (ids.isEmpty() || !h.selectMonster(ids.first()))
        return false;
    QItemSelectionModel *selection = h.view(QStringLiteral("monsterListView"))->selectionModel();
    for (int id : ids.mid(1)) {
        const QModelIndex index = h.monsterIndex(id);
        if (!index.isValid())
            return false;
        selection->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    return true;
}

// Selects the box list row showing this box id.
inline bool selectBox(const Harness &h, int boxId)
{
    QAbstractItemModel *model = h.view(QStringLiteral("boxListView"))->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, 0).data().toInt() == boxId)
            return h.selectBoxRow(row);
    }
    return false;
}

// The monster ids of the selected rows, ascending.
inline QList<int> selectedRowIds(const Harness &h)
{
    QList<int> ids;
    for (const QModelIndex &index :
         h.view(QStringLiteral("monsterListView"))->selectionModel()->selectedRows(0))
        ids << index.data().toInt();
    std::sort(ids.begin(), ids.end());
    return ids;
}

// Empty when the window's selection agrees with its documents and views; otherwise what is
// wrong. Every pointer is compared by address against the live lists before it is read.
inline QString staleState(const Harness &h)
{
    const MainWindow &w = *h.window;
    const QList<MonsterDropConfig> &records = w.monsterDocument().records;
    const QList<DropBoxConfig> &boxes = w.boxDocument().boxes;
    const MonsterDropConfig *config = w.selectedConfig();
    const DropBoxConfig *box = w.selectedBox();
    if (config) {
        if (config < records.constData() || config >= records.constData() + records.size())
            return QStringLiteral("currentConfig outside the records");
        if (config->monsterId != w.selectedMonsterId())
            return QStringLiteral("currentConfig is monster %1, current id %2")
                .arg(config->monsterId)
                .arg(w.selectedMonsterId());
    } else if (w.selectedMonsterId() >= 1) {
        for (const MonsterDropConfig &record : records) {
            if (record.monsterId == w.selectedMonsterId())
                return QStringLiteral("currentConfig missing although the record exists");
        }
    }
    if (box && (box < boxes.constData() || box >= boxes.constData() + boxes.size()))
        return QStringLiteral("currentBox outside the boxes");

    QTableView *boxView = h.view(QStringLiteral("boxListView"));
    auto *boxModel = qobject_cast<MonsterBoxListModel *>(boxView->model());
    for (int row = 0; row < boxModel->rowCount(); ++row) {
        const DropBoxConfig *rowBox = boxModel->boxAt(row);
        if (rowBox < boxes.constData() || rowBox >= boxes.constData() + boxes.size())
            return QStringLiteral("box list row %1 outside the boxes").arg(row);
    }
    if (boxModel->rowCount() > 0 && !config)
        return QStringLiteral("box list filled without a monster");
    if (box) {
        const QModelIndex current = boxView->currentIndex();
        if (!current.isValid())
            return QStringLiteral("box %1 current but no box row selected").arg(box->boxId);
        if (boxModel->boxAt(current.row()) != box)
            return QStringLiteral("box row and current box differ");
        if (h.child<QLineEdit>(QStringLiteral("boxIdEdit"))->text() != QString::number(box->boxId))
            return QStringLiteral("form shows another box");
    }
    const int itemRows = h.view(QStringLiteral("itemTableView"))->model()->rowCount();
    const int expectedItemRows = box && config ? int(box->items.size()) : 0;
    if (itemRows != expectedItemRows)
        return QStringLiteral("item table has %1 rows, expected %2")
            .arg(itemRows)
            .arg(expectedItemRows);
    if (!box && !h.child<QLineEdit>(QStringLiteral("boxIdEdit"))->text().isEmpty())
        return QStringLiteral("form shows a box although none is current");
    const QString panelId = h.child<QLabel>(QStringLiteral("detailMonsterId"))->text();
    if (w.selectedMonsterId() >= 1 && panelId != QString::number(w.selectedMonsterId()))
        return QStringLiteral("detail panel shows %1").arg(panelId);
    return QString();
}

// A fatal model tester on each of the window's five models.
inline std::vector<std::unique_ptr<QAbstractItemModelTester>> attachTesters(const Harness &h)
{
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;
    QList<QAbstractItemModel *> models;
    for (const char *name : {"monsterListView", "boxListView", "itemTableView", "summaryView"}) {
        QAbstractItemModel *model = h.view(QString::fromLatin1(name))->model();
        models << model;
        if (auto *proxy = qobject_cast<QAbstractProxyModel *>(model))
            models << proxy->sourceModel();
    }
    for (QAbstractItemModel *model : models)
        testers.push_back(std::make_unique<QAbstractItemModelTester>(
            model, QAbstractItemModelTester::FailureReportingMode::Fatal));
    return testers;
}

} // namespace EditTest
