#include "EditTestSupport.h"

#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

using namespace EditTest;
using Kind = ScriptedPrompts::Kind;

namespace {

const QStringList originalMonsters{"1001|200|0|3,7|20", "1002|500|5|7,8,-1,9|20",
                                   "2001|100|0|3|20"};

bool prepare(Harness &h, int monsterId, int boxId, const QList<int> &more = {})
{
    fixClock(h);
    return selectMonsters(h, QList<int>{monsterId} + more) && selectBox(h, boxId) &&
           h.window->selectedBox() && h.window->selectedBox()->boxId == boxId;
}

QString status(const Harness &h)
{
    return h.window->statusBar()->currentMessage();
}

QLineEdit *field(const Harness &h, const char *name)
{
    return h.child<QLineEdit>(QString::fromLatin1(name));
}

void selectItemRows(const Harness &h, const QList<int> &rows)
{
    QTableView *view = h.view(QStringLiteral("itemTableView"));
    view->selectionModel()->clear();
    for (int row : rows)
        view->selectionModel()->select(view->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

QPoint rowCenter(const Harness &h, const QString &viewName, int row)
{
    QTableView *view = h.view(viewName);
    return view->visualRect(view->model()->index(row, 0)).center();
}

QStringList favorites()
{
    return QSettings(QStringLiteral("Lootwright"), QStringLiteral("Lootwright"))
        .value(QStringLiteral("favorites/itemIds"))
        .toStringList();
}

} // namespace

class TestMainWindowBoxOps : public QObject
{
    Q_OBJECT

    QTemporaryDir settingsDir;

private Q_SLOTS:
    void initTestCase()
    {
        // Never the user's real favourites.
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(settingsDir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    }

    void init() { QSettings(QStringLiteral("Lootwright"), QStringLiteral("Lootwright")).clear(); }

    void boxContextMenu()
    {
        Harness h;
        h.window->resize(1400, 900);
        h.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.window.get()));
        QVERIFY(prepare(h, 1001, 3));
        QTableView *boxes = h.view("boxListView");

        // Below the last row: no menu.
        Q_EMIT boxes->customContextMenuRequested(QPoint(5, boxes->viewport()->height() - 3));
        QVERIFY(h.prompts->calls.isEmpty());

        // On the unselected row of box 7: it becomes the current box, then the menu shows.
        h.prompts->onCall = [&](const ScriptedPrompts::Call &) {
            QCOMPARE(h.window->selectedBox()->boxId, 7);
        };
        Q_EMIT boxes->customContextMenuRequested(rowCenter(h, "boxListView", 1));
        h.prompts->onCall = nullptr;
        QCOMPARE(h.prompts->transcript(), QStringList{"execMenu||包裹操作"});
        QCOMPARE(h.prompts->last()->extra, (QStringList{"复制此包裹", "删除此包裹"}));
        QCOMPARE(monsterDocument(*h.window), originalMonsters);
        QCOMPARE(staleState(h), QString());

        h.prompts->menuAnswers << QStringLiteral("复制此包裹");
        Q_EMIT boxes->customContextMenuRequested(rowCenter(h, "boxListView", 1));
        QCOMPARE(logMessages(h),
                 QStringList{"怪物[1001:史莱姆]：复制包裹[7] → 包裹[10]（权值=0，物品槽位=100）"});

        h.prompts->menuAnswers << QStringLiteral("删除此包裹");
        Q_EMIT boxes->customContextMenuRequested(rowCenter(h, "boxListView", 0));
        QCOMPARE(logMessages(h).last(),
                 QStringLiteral("怪物[1001:史莱姆]：删除包裹[3]（权值=1000，物品槽位=100）"));
        QCOMPARE(staleState(h), QString());
    }

    void duplicateBox()
    {
        Harness h;
        const auto testers = attachTesters(h);
        QVERIFY(prepare(h, 1001, 3, {1002}));
        const QStringList boxesBefore = boxDocument(*h.window);
        h.window->duplicateSelectedBox();
        QVERIFY(h.prompts->calls.isEmpty());
        // A slot of 1002 names box 9, which has no record: the copy goes above it.
        QCOMPARE(
            logMessages(h),
            QStringList{"怪物[1001:史莱姆]：复制包裹[3] → 包裹[10]（权值=1000，物品槽位=100）"});
        QStringList copy = boxesBefore.first().split('|');
        copy[0] = "10";
        QCOMPARE(boxDocument(*h.window), boxesBefore + QStringList{copy.join('|')});
        QCOMPARE(
            monsterDocument(*h.window),
            (QStringList{"1001|200|0|3,7,10|20", "1002|500|5|7,8,-1,9|20", "2001|100|0|3|20"}));
        // The copy is selected; every pointer was taken again after the append.
        QCOMPARE(staleState(h), QString());
        QCOMPARE(h.window->selectedBox()->boxId, 10);
        QCOMPARE(h.columnTexts("boxListView", 0), (QStringList{"3", "7", "10"}));
        QCOMPARE(h.child<QLabel>("detailBoxCount")->text(), QStringLiteral("3"));
        QCOMPARE(field(h, "boxValueSpin")->text(), QStringLiteral("1000"));
        QCOMPARE(h.columnTexts("summaryView", 1).count(QStringLiteral("5001")), 2);
        QCOMPARE(h.window->selectedMonsterIds(), (QList<int>{1001, 1002}));
    }

    void duplicateWithoutBox()
    {
        Harness h;
        fixClock(h);
        QVERIFY(h.selectMonster(1001));
        const QStringList boxes = boxDocument(*h.window);
        h.window->duplicateSelectedBox();
        QCOMPARE(h.prompts->transcript(), QStringList{"information|提示|请先选择要复制的包裹"});
        QCOMPARE(boxDocument(*h.window), boxes);
        QVERIFY(logMessages(h).isEmpty());
    }

    void deleteBox()
    {
        Harness h;
        const auto testers = attachTesters(h);
        QVERIFY(prepare(h, 1002, 8, {1001}));
        QStringList boxes = boxDocument(*h.window);
        h.window->deleteSelectedBox();
        QVERIFY(h.prompts->calls.isEmpty());
        QCOMPARE(logMessages(h),
                 QStringList{"怪物[1002:骷髅兵]：删除包裹[8]（权值=2500，物品槽位=100）"});
        boxes.removeAt(2);
        QCOMPARE(boxDocument(*h.window), boxes);
        QCOMPARE(monsterDocument(*h.window),
                 (QStringList{"1001|200|0|3,7|20", "1002|500|5|7,-1,9|19", "2001|100|0|3|20"}));
        QVERIFY(!h.window->selectedBox());
        QCOMPARE(staleState(h), QString());
        QCOMPARE(h.columnTexts("boxListView", 0), QStringList{"7"});
        QCOMPARE(h.child<QLabel>("detailBoxCount")->text(), QStringLiteral("2"));
        QCOMPARE(h.child<QLabel>("dropRateValue")->text(), QStringLiteral("-"));

        // A shared box goes for every monster; the others keep naming its id.
        QVERIFY(h.selectMonster(1001));
        QVERIFY(selectBox(h, 3));
        h.window->deleteSelectedBox();
        QCOMPARE(logMessages(h).last(),
                 QStringLiteral("怪物[1001:史莱姆]：删除包裹[3]（权值=1000，物品槽位=100）"));
        QCOMPARE(monsterDocument(*h.window),
                 (QStringList{"1001|200|0|7|19", "1002|500|5|7,-1,9|19", "2001|100|0|3|20"}));
        QCOMPARE(staleState(h), QString());
    }

    void deleteWithoutBox()
    {
        Harness h;
        fixClock(h);
        QVERIFY(h.selectMonster(1001));
        const QStringList boxes = boxDocument(*h.window);
        h.window->deleteSelectedBox();
        QVERIFY(h.prompts->calls.isEmpty());
        QCOMPARE(logMessages(h), QStringList{"删除包裹：未选择包裹"});
        QCOMPARE(boxDocument(*h.window), boxes);
    }

    void boxDetailEdits()
    {
        Harness h;
        const auto testers = attachTesters(h);
        QVERIFY(prepare(h, 1001, 3));
        // Filling the form on selection is no edit.
        QVERIFY(selectBox(h, 7));
        QVERIFY(selectBox(h, 3));
        QVERIFY(logMessages(h).isEmpty());

        QLineEdit *weight = field(h, "boxValueSpin");
        weight->setFocus();
        weight->clear();
        QVERIFY(logMessages(h).isEmpty());
        QTest::keyClicks(weight, QStringLiteral("150"));
        QCOMPARE(logMessages(h), (QStringList{"怪物[1001:史莱姆]：包裹[3] 权值 1000 → 1",
                                              "怪物[1001:史莱姆]：包裹[3] 权值 1 → 15",
                                              "怪物[1001:史莱姆]：包裹[3] 权值 15 → 150"}));
        // The typed text stays; the views follow.
        QCOMPARE(weight->text(), QStringLiteral("150"));
        QCOMPARE(h.child<QLabel>("dropRateValue")->text(), QStringLiteral("133.3333%"));
        QCOMPARE(h.columnTexts("boxListView", 1), (QStringList{"150", "0"}));
        QCOMPARE(h.view("itemTableView")->model()->index(0, 0).data().toString(),
                 QStringLiteral("133.33%"));
        QCOMPARE(staleState(h), QString());

        // A negative weight is ignored.
        weight->clear();
        QTest::keyClicks(weight, QStringLiteral("-5"));
        QCOMPARE(logMessages(h).size(), 3);
        QCOMPARE(boxDocument(*h.window).first().section('|', 1, 1), QStringLiteral("150"));

        h.child<QCheckBox>("forceBindCheck")->setChecked(true);
        field(h, "broadcastIdSpin")->setText(QStringLiteral("12"));
        field(h, "broadcastIdSpin")->setText(QStringLiteral("-1"));
        QCOMPARE(logMessages(h).mid(3), (QStringList{"怪物[1001:史莱姆]：包裹[3] 拾取绑定 否 → 是",
                                                     "怪物[1001:史莱姆]：包裹[3] 广播ID -1 → 12",
                                                     "怪物[1001:史莱姆]：包裹[3] 广播ID 12 → -1"}));
        QCOMPARE(boxDocument(*h.window).first().section('|', 0, 3), QStringLiteral("3|150|-1|1"));
        QCOMPARE(staleState(h), QString());

        // A new id is taken as typed; the monster's slots still name 3.
        QLineEdit *id = field(h, "boxIdEdit");
        id->setText(QStringLiteral("77"));
        Q_EMIT id->editingFinished();
        QCOMPARE(
            logMessages(h).last(),
            QStringLiteral(
                "怪物[1001:史莱姆]：包裹[3] → 包裹[77]（注意：仅修改ID不会自动同步所有引用）"));
        QCOMPARE(boxDocument(*h.window).first().section('|', 0, 0), QStringLiteral("77"));
        QCOMPARE(monsterDocument(*h.window), originalMonsters);
        QCOMPARE(h.columnTexts("boxListView", 0), QStringList{"7"});
        QCOMPARE(h.window->selectedBox()->boxId, 77);
    }

    // Focus leaves the id field while the window goes away: the edit must not run on it.
    void destroyedWhileTyping()
    {
        Harness h;
        h.window->show();
        QVERIFY(QTest::qWaitForWindowActive(h.window.get()));
        QVERIFY(prepare(h, 1001, 3));
        QLineEdit *id = field(h, "boxIdEdit");
        id->setFocus();
        QTRY_VERIFY(id->hasFocus());
        id->selectAll();
        QTest::keyClicks(id, QStringLiteral("99"));
        QVERIFY(id->isModified());
        h.window.reset();
        QCoreApplication::processEvents();
        QVERIFY(!h.window);
    }

    void boxDetailWithoutBox()
    {
        Harness h;
        fixClock(h);
        QVERIFY(prepare(h, 1001, 3));
        QVERIFY(h.selectMonster(1002));
        QVERIFY(!h.window->selectedBox());
        const QStringList boxes = boxDocument(*h.window);
        field(h, "boxValueSpin")->setText(QStringLiteral("42"));
        h.child<QCheckBox>("forceBindCheck")->setChecked(true);
        QCOMPARE(boxDocument(*h.window), boxes);
        QVERIFY(logMessages(h).isEmpty());
    }

    void addItems()
    {
        Harness h;
        const auto testers = attachTesters(h);
        QVERIFY(prepare(h, 1001, 3));
        QCOMPARE(h.window->addItemsToCurrentBox({9}), 1);
        QCOMPARE(h.window->addItemsToCurrentBox({5, 5, 0, 9}), 1);
        QCOMPARE(h.window->addItemsToCurrentBox({9, 5001, -3}), 0);
        QCOMPARE(logMessages(h), (QStringList{"怪物[1001:史莱姆]：包裹[3] 添加物品 1 个：9",
                                              "怪物[1001:史莱姆]：包裹[3] 添加物品 1 个：5"}));
        QCOMPARE(boxDocument(*h.window).first(),
                 QStringLiteral("3|1000|-1|0|5001:1,5002:1,9:-1,5:-1|100"));
        QCOMPARE(h.columnTexts("itemTableView", 1).mid(0, 5),
                 (QStringList{"5001", "5002", "9", "5", ""}));
        QCOMPARE(h.columnTexts("boxListView", 3).first(), QStringLiteral("4"));
        QCOMPARE(staleState(h), QString());
        QCOMPARE(field(h, "boxIdEdit")->text(), QStringLiteral("3"));

        QList<int> twelve;
        for (int id = 101; id <= 112; ++id)
            twelve << id;
        QCOMPARE(h.window->addItemsToCurrentBox(twelve), 12);
        QCOMPARE(
            logMessages(h).last(),
            QStringLiteral("怪物[1001:史莱姆]：包裹[3] 添加物品 12 个：101, 102, 103, 104, 105, "
                           "106, 107, 108, 109, 110 ...（共12个）"));

        // No box selected: nothing.
        QVERIFY(h.selectMonster(1002));
        const QStringList boxes = boxDocument(*h.window);
        QCOMPARE(h.window->addItemsToCurrentBox({1234}), 0);
        QCOMPARE(boxDocument(*h.window), boxes);
        QCOMPARE(logMessages(h).size(), 3);
    }

    void deleteItemsRefused_data()
    {
        QTest::addColumn<bool>("withBox");
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<QString>("prompt");
        QTest::newRow("no box") << false << QList<int>{} << "information|提示|请先选择一个包裹";
        QTest::newRow("no rows") << true << QList<int>{} << "information|提示|请先选择要删除的物品";
        QTest::newRow("empty slots")
            << true << QList<int>{2, 50} << "information|提示|选中的都是空槽位，无需删除";
    }

    void deleteItemsRefused()
    {
        QFETCH(bool, withBox);
        QFETCH(QList<int>, rows);
        QFETCH(QString, prompt);
        Harness h;
        fixClock(h);
        QVERIFY(withBox ? prepare(h, 1001, 3) : h.selectMonster(1001));
        selectItemRows(h, rows);
        const QStringList boxes = boxDocument(*h.window);
        h.window->deleteSelectedItems();
        QCOMPARE(h.prompts->transcript(), QStringList{prompt});
        QCOMPARE(boxDocument(*h.window), boxes);
        QVERIFY(logMessages(h).isEmpty());
    }

    void deleteItems()
    {
        Harness h;
        const auto testers = attachTesters(h);
        QVERIFY(prepare(h, 1001, 3));
        // Slots [5001, 5002, 9, 5, empty...]; rows 2 and 1 and the empty row 60 are selected.
        QCOMPARE(h.window->addItemsToCurrentBox({9, 5}), 2);
        const QStringList boxes = boxDocument(*h.window);
        selectItemRows(h, {2, 1, 60});
        const QString question = "question|确认删除|确定要删除选中的 2 个物品吗？";

        h.prompts->questionAnswers << false;
        h.window->deleteSelectedItems();
        QCOMPARE(h.prompts->transcript(), QStringList{question});
        QCOMPARE(boxDocument(*h.window), boxes);
        QCOMPARE(logMessages(h).size(), 1);

        h.prompts->reset();
        h.prompts->questionAnswers << true;
        selectItemRows(h, {2, 1, 60});
        h.window->deleteSelectedItems();
        QCOMPARE(h.prompts->transcript(),
                 (QStringList{question, "information|删除成功|已删除 2 个物品"}));
        QCOMPARE(logMessages(h).last(),
                 QStringLiteral("怪物[1001:史莱姆]：包裹[3] 删除物品 2 个：9, 5002"));
        QCOMPARE(boxDocument(*h.window).first(), QStringLiteral("3|1000|-1|0|5001:1,5:-1|100"));
        QCOMPARE(h.columnTexts("itemTableView", 1).mid(0, 3), (QStringList{"5001", "5", ""}));
        QCOMPARE(h.columnTexts("boxListView", 3).first(), QStringLiteral("2"));
        QCOMPARE(staleState(h), QString());
        QCOMPARE(h.window->selectedBox()->boxId, 3);
    }

    void itemContextMenu()
    {
        Harness h;
        h.window->resize(1400, 900);
        h.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.window.get()));
        fixClock(h);
        QTableView *items = h.view("itemTableView");

        // No box: the table is empty, nothing opens.
        QVERIFY(h.selectMonster(1001));
        Q_EMIT items->customContextMenuRequested(QPoint(10, 10));
        QVERIFY(h.prompts->calls.isEmpty());

        QVERIFY(selectBox(h, 3));
        // An empty slot's row opens the menu too, and becomes the selection.
        Q_EMIT items->customContextMenuRequested(rowCenter(h, "itemTableView", 3));
        QCOMPARE(h.prompts->transcript(), QStringList{"execMenu||物品操作"});
        QCOMPARE(h.prompts->last()->extra,
                 (QStringList{"加入收藏夹", "删除此物品", "查看掉落来源 (off)"}));
        QCOMPARE(items->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(items->selectionModel()->selectedRows().first().row(), 3);

        // A selected row keeps the whole selection.
        selectItemRows(h, {0, 1});
        h.prompts->reset();
        h.prompts->menuAnswers << QStringLiteral("删除此物品");
        h.prompts->questionAnswers << true;
        Q_EMIT items->customContextMenuRequested(rowCenter(h, "itemTableView", 1));
        QCOMPARE(h.prompts->transcript().mid(1),
                 (QStringList{"question|确认删除|确定要删除选中的 2 个物品吗？",
                              "information|删除成功|已删除 2 个物品"}));
        QCOMPARE(logMessages(h),
                 QStringList{"怪物[1001:史莱姆]：包裹[3] 删除物品 2 个：5001, 5002"});

        QVERIFY(h.window->addItemsToCurrentBox({5001}) == 1);
        h.prompts->menuAnswers << QStringLiteral("加入收藏夹");
        Q_EMIT items->customContextMenuRequested(rowCenter(h, "itemTableView", 0));
        QCOMPARE(favorites(), QStringList{"5001"});
        QCOMPARE(staleState(h), QString());
    }

    void favoritesAdded()
    {
        QSettings(QStringLiteral("Lootwright"), QStringLiteral("Lootwright"))
            .setValue(QStringLiteral("favorites/itemIds"), QStringList{"abc", "5002"});
        Harness h;
        QVERIFY(prepare(h, 1002, 8));
        selectItemRows(h, {0, 1, 2, 40});
        h.window->addSelectedItemsToFavorites();
        QCOMPARE(status(h), QStringLiteral("已加入收藏夹：新增 3 个（选中 3 个）"));
        QCOMPARE(favorites(), (QStringList{"abc", "5002", "5001", "6001", "7001"}));

        h.window->statusBar()->clearMessage();
        h.window->addSelectedItemsToFavorites();
        QCOMPARE(status(h), QStringLiteral("收藏夹已包含所选物品（选中 3 个）"));
        QCOMPARE(favorites(), (QStringList{"abc", "5002", "5001", "6001", "7001"}));

        // Only empty slots: nothing happens.
        h.window->statusBar()->clearMessage();
        selectItemRows(h, {40, 41});
        h.window->addSelectedItemsToFavorites();
        QCOMPARE(status(h), QString());
        QVERIFY(h.prompts->calls.isEmpty());
        QVERIFY(logMessages(h).isEmpty());
    }
};

QTEST_MAIN(TestMainWindowBoxOps)
#include "tst_mainwindowboxops.moc"
