#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

using namespace EditTest;

namespace {

const QStringList originalMonsters{"1001|200|0|3,7|20", "1002|500|5|7,8,-1,9|20",
                                   "2001|100|0|3|20"};

QString status(const Harness &h)
{
    return h.window->statusBar()->currentMessage();
}

QLineEdit *field(const Harness &h, const char *name)
{
    return h.child<QLineEdit>(QString::fromLatin1(name));
}

QPoint rowCenter(const Harness &h, const QString &viewName, int row)
{
    QTableView *view = h.view(viewName);
    return view->visualRect(view->model()->index(row, 0)).center();
}

} // namespace

class TestMainWindowBoxOps : public QObject
{
    Q_OBJECT

    TestSupport::IsolatedSettings settings;

private Q_SLOTS:
    void initTestCase() { QVERIFY(settings.isValid()); }

    void init() { settings.clear(); }

    void boxContextMenu()
    {
        Harness h;
        h.window->resize(1400, 900);
        h.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.window.get()));
        QVERIFY(prepare(h, {1001}, 3));
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

    void boxDetailEdits()
    {
        Harness h;
        const auto testers = attachTesters(h);
        QVERIFY(prepare(h, {1001}, 3));
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
        QVERIFY(prepare(h, {1001}, 3));
        QLineEdit *id = field(h, "boxIdEdit");
        id->setFocus();
        QTRY_VERIFY(id->hasFocus());
        id->selectAll();
        QTest::keyClicks(id, QStringLiteral("99"));
        QVERIFY(id->isModified());
        // The documents as the edit is finished during the teardown, after the window's own slot.
        const QStringList boxes = boxDocument(*h.window);
        const MainWindow *window = h.window.get();
        QStringList atTeardown;
        QObject::connect(id, &QLineEdit::editingFinished,
                         [&] { atTeardown = boxDocument(*window); });
        h.window.reset();
        QCOMPARE(atTeardown, boxes);
    }

    void boxDetailWithoutBox()
    {
        Harness h;
        QVERIFY(prepare(h, {1001}, 3));
        QVERIFY(h.selectMonster(1002));
        QVERIFY(!h.window->selectedBox());
        const QStringList boxes = boxDocument(*h.window);
        field(h, "boxValueSpin")->setText(QStringLiteral("42"));
        h.child<QCheckBox>("forceBindCheck")->setChecked(true);
        QCOMPARE(boxDocument(*h.window), boxes);
        QVERIFY(logMessages(h).isEmpty());
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
        QCOMPARE(TestSupport::storedFavorites(), QStringList{"5001"});
        QCOMPARE(staleState(h), QString());
    }

    void favoritesAdded()
    {
        QSettings(QStringLiteral("Lootwright"), QStringLiteral("Lootwright"))
            .setValue(QStringLiteral("favorites/itemIds"), QStringList{"abc", "5002"});
        Harness h;
        QVERIFY(prepare(h, {1002}, 8));
        selectItemRows(h, {0, 1, 2, 40});
        h.window->addSelectedItemsToFavorites();
        QCOMPARE(status(h), QStringLiteral("已加入收藏夹：新增 3 个（选中 3 个）"));
        QCOMPARE(TestSupport::storedFavorites(),
                 (QStringList{"abc", "5002", "5001", "6001", "7001"}));

        // A store that cannot be written is told once, not lost without a word.
        const QString file = TestSupport::IsolatedSettings::fileName();
        QVERIFY(QFile::remove(file) && QDir().mkpath(file));
        for (const QList<int> &rows : {QList<int>{0}, QList<int>{1}}) {
            selectItemRows(h, rows);
            h.window->addSelectedItemsToFavorites();
        }
        QVERIFY(QDir(file).removeRecursively());
        QCOMPARE(h.prompts->count(ScriptedPrompts::Kind::Information), 1);
        QVERIFY(h.prompts->last()->text.startsWith(QStringLiteral("收藏夹未能保存")));
    }
};

QTEST_MAIN(TestMainWindowBoxOps)
#include "tst_mainwindowboxops.moc"
