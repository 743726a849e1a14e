#pragma once

#include "EditFixtures.h"
#include "ScriptedPrompts.h"

#include "data/NameResolver.h"
#include "mainwindow/MainWindow.h"
#include "models/DropItemTableModel.h"
#include "models/MonsterBoxListModel.h"

#include <QAbstractItemModel>
#include <QAbstractItemModelTester>
#include <QAbstractProxyModel>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <memory>
#include <vector>

// Shared set-up of main-window tests: a copy of a fixture configuration in a temporary
// directory, a window on it with scripted prompts, and ways to select rows.
namespace WindowTest {

// The fixture's drop records as monsterDocument() lists them.
const QStringList originalMonsters{"1001|200|0|3,7|20", "1002|500|5|7,8,-1,9|20",
                                   "2001|100|0|3|20"};
// The notice after a save.
const QString savedText = QStringLiteral(
    "配置已保存\n\n请将以下文件上传到服务器相应目录并重启服务：\n"
    "1. MonsterDropBoxs.txt → qirn/Server/Config/\n2. DropBoxContent.txt → qirn/Server/Config/\n\n"
    "重启服务器后配置才会生效！");

inline QString fixturePath(const QString &relative)
{
    return QStringLiteral(LOOTWRIGHT_TEST_DATA "/window/") + relative;
}

// Copies every file of `from` into `to` (created when missing); the copies are writable.
inline bool copyDirectory(const QString &from, const QString &to)
{
    if (!QDir().mkpath(to))
        return false;
    const QDir source(from);
    for (const QString &name : source.entryList(QDir::Files)) {
        const QString target = QDir(to).filePath(name);
        QFile::remove(target);
        if (!QFile::copy(source.filePath(name), target))
            return false;
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    }
    return true;
}

struct Harness
{
    QTemporaryDir temp;
    QString configDir;
    ScriptedPrompts *prompts = nullptr; // owned by the window
    std::unique_ptr<MainWindow> window;

    // Builds a window on a copy of tests/data/window/<fixture>; an empty fixture gives a
    // configuration directory that does not exist.
    explicit Harness(const QString &fixture = QStringLiteral("config"))
    {
        configDir = temp.filePath(QStringLiteral("config"));
        if (!fixture.isEmpty())
            copyDirectory(fixturePath(fixture), configDir);
        open();
    }

    // A window on a configuration directory that is there already (another process's).
    struct Existing
    {
        QString dir;
    };
    explicit Harness(const Existing &existing) : configDir(existing.dir) { open(); }

    void open()
    {
        NameResolver::instance().clear();
        auto scripted = std::make_unique<ScriptedPrompts>();
        prompts = scripted.get();
        window = std::make_unique<MainWindow>(std::move(scripted), configDir);
    }

    template <typename T> T *child(const QString &name) const
    {
        return window->findChild<T *>(name);
    }

    QTableView *view(const QString &name) const { return child<QTableView>(name); }

    // The proxy row showing this monster id, or an invalid index.
    QModelIndex monsterIndex(int monsterId) const
    {
        QAbstractItemModel *model = view(QStringLiteral("monsterListView"))->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, 0);
            if (index.data().toInt() == monsterId)
                return index;
        }
        return {};
    }

    bool selectMonster(int monsterId) const
    {
        const QModelIndex index = monsterIndex(monsterId);
        if (!index.isValid())
            return false;
        view(QStringLiteral("monsterListView"))
            ->selectionModel()
            ->setCurrentIndex(index,
                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        return true;
    }

    bool selectBoxRow(int row) const
    {
        QTableView *boxes = view(QStringLiteral("boxListView"));
        const QModelIndex index = boxes->model()->index(row, 0);
        if (!index.isValid())
            return false;
        boxes->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
        return true;
    }

    // Column `column` of every row of a view's model, as text.
    QStringList columnTexts(const QString &viewName, int column) const
    {
        QStringList texts;
        QAbstractItemModel *model = view(viewName)->model();
        for (int row = 0; row < model->rowCount(); ++row)
            texts << model->index(row, column).data().toString();
        return texts;
    }
};

} // namespace WindowTest

// Shared checks of the editing tests: the documents as text, the log lines, the selection spread
// over several monster rows, and a check that nothing the window holds points past what the
// documents contain.
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

// The documents as lines of EditFixtures::describe.
inline QStringList monsterDocument(const MainWindow &w)
{
    QStringList lines;
    for (const MonsterDropConfig &record : w.monsterDocument().records)
        lines << EditFixtures::describe(record);
    return lines;
}

inline QStringList boxDocument(const MainWindow &w)
{
    QStringList lines;
    for (const DropBoxConfig &box : w.boxDocument().boxes)
        lines << EditFixtures::describe(box);
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

// Selects exactly these rows of a view, in this order (no current row is set).
inline void selectRows(const QAbstractItemView *view, const QList<int> &rows)
{
    view->selectionModel()->clear();
    for (int row : rows)
        view->selectionModel()->select(view->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

inline void selectItemRows(const Harness &h, const QList<int> &rows)
{
    selectRows(h.view(QStringLiteral("itemTableView")), rows);
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

// A fixed clock, these monsters selected (the first current) and, unless 0, this box.
inline bool prepare(Harness &h, const QList<int> &monsterIds, int boxId = 0)
{
    fixClock(h);
    return selectMonsters(h, monsterIds) &&
           (boxId == 0 || (selectBox(h, boxId) && h.window->selectedBox() &&
                           h.window->selectedBox()->boxId == boxId));
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
    auto *itemModel =
        qobject_cast<DropItemTableModel *>(h.view(QStringLiteral("itemTableView"))->model());
    const DropBoxConfig *itemBox = itemModel->box();
    if (itemBox && (itemBox < boxes.constData() || itemBox >= boxes.constData() + boxes.size()))
        return QStringLiteral("item table outside the boxes");
    const int itemRows = itemModel->rowCount();
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
