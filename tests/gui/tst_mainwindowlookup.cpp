#include "WindowTestSupport.h"

#include "dialogs/ConfigCheckDialog.h"
#include "dialogs/DropChangesDialog.h"
#include "dialogs/ItemSourcesDialog.h"

#include <QAction>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>

using namespace EditTest;

namespace {

QPoint rowCenter(QTableView *view, int row)
{
    return view->visualRect(view->model()->index(row, 0)).center();
}

// The sources window's rows as "monster|box|rate", in the order shown, without the totals.
QStringList shownSources(const ItemSourcesDialog *dialog)
{
    QStringList rows;
    const QAbstractItemModel *model = dialog->view()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->index(row, ItemSourceTable::SlotColumn).data() != QStringLiteral("合计"))
            rows << model->index(row, ItemSourceTable::MonsterIdColumn).data().toString() + u'|' +
                        model->index(row, ItemSourceTable::BoxIdColumn).data().toString() + u'|' +
                        model->index(row, ItemSourceTable::RateColumn).data().toString();
    return rows;
}

void doubleClick(QAbstractItemView *view, int row)
{
    Q_EMIT view->doubleClicked(view->model()->index(row, 1));
}

} // namespace

// One wiring row per entry point of the reverse lookup and the check.
class MainWindowLookupTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void itemMenuShowsSources()
    {
        Harness h;
        h.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.window.get()));
        QVERIFY(selectMonsters(h, {1001}) && selectBox(h, 3));
        h.prompts->menuAnswers << QStringLiteral("查看掉落来源");
        QTableView *items = h.view(QStringLiteral("itemTableView"));
        Q_EMIT items->customContextMenuRequested(rowCenter(items, 0));
        QCOMPARE(h.prompts->last()->extra,
                 (QStringList{"加入收藏夹", "删除此物品", "查看掉落来源"}));

        auto *dialog = h.window->findChild<ItemSourcesDialog *>();
        QVERIFY(dialog && dialog->isVisible());
        // Opened from the box manager or the item library, it must not open behind them.
        QVERIFY(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("掉落来源 - 物品 5001 回城卷轴"));
        // Sorted by rate, highest first; the unnamed monster 2001 still counts.
        QCOMPARE(shownSources(dialog),
                 (QStringList{"1001|3|20.00%", "1002|8|20.00%", "2001|3|10.00%"}));
    }

    void summaryMenuShowsSources()
    {
        Harness h;
        h.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.window.get()));
        QVERIFY(selectMonsters(h, {1001}));
        QTableView *summary = h.view(QStringLiteral("summaryView"));
        // Rows: 5001, 5002, the separator, 6001. The separator opens nothing.
        Q_EMIT summary->customContextMenuRequested(rowCenter(summary, 2));
        QVERIFY(h.prompts->calls.isEmpty());
        h.prompts->menuAnswers << QStringLiteral("查看掉落来源");
        Q_EMIT summary->customContextMenuRequested(rowCenter(summary, 3));
        QCOMPARE(h.prompts->transcript(), QStringList{"execMenu||汇总操作"});
        auto *dialog = h.window->findChild<ItemSourcesDialog *>();
        QVERIFY(dialog);
        QCOMPARE(dialog->itemId(), 6001);
        QCOMPARE(shownSources(dialog), (QStringList{"1002|8|20.00%", "1001|7|N/A", "1002|7|N/A"}));
    }

    void doubleClickSelectsMonsterAndBox()
    {
        Harness h;
        // The filter hides monster 1002; going there shows it again.
        h.child<QLineEdit>(QStringLiteral("monsterSearchEdit"))->setText(QStringLiteral("史莱姆"));
        h.window->showItemSources(6001);
        auto *dialog = h.window->findChild<ItemSourcesDialog *>();
        QVERIFY(dialog);
        QCOMPARE(shownSources(dialog).first(), QStringLiteral("1002|8|20.00%"));
        doubleClick(dialog->view(), 0);
        QVERIFY(h.window->selectedConfig() && h.window->selectedBox());
        QCOMPARE(h.window->selectedConfig()->monsterId, 1002);
        QCOMPARE(h.window->selectedBox()->boxId, 8);
        QCOMPARE(staleState(h), QString());
        QVERIFY(h.child<QLineEdit>(QStringLiteral("monsterSearchEdit"))->text().isEmpty());
    }

    void checkWindowGoesToFindings()
    {
        Harness h;
        h.window->findChild<QAction *>(QStringLiteral("actionCheckConfig"))->trigger();
        auto *dialog = h.window->findChild<ConfigCheckDialog *>();
        QVERIFY(dialog && dialog->isVisible());
        QVERIFY(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(dialog->view()->model()->rowCount(), 3);
        // Unrated box 7 names no monster itself: the first monster naming it is shown.
        doubleClick(dialog->view(), 1);
        QVERIFY(h.window->selectedConfig() && h.window->selectedBox());
        QCOMPARE(h.window->selectedConfig()->monsterId, 1001);
        QCOMPARE(h.window->selectedBox()->boxId, 7);
        // Monster 2001 is not in the list: the selection stays, the status bar says why.
        doubleClick(dialog->view(), 2);
        QCOMPARE(h.window->selectedConfig()->monsterId, 1001);
        QCOMPARE(h.window->statusBar()->currentMessage(),
                 QStringLiteral("怪物[2001] 不在怪物列表中（怪物表中没有该怪物）"));
    }

    void openWindowsFollowEdits()
    {
        Harness h;
        h.window->showItemSources(5001);
        h.window->onCheckConfig();
        auto *sources = h.window->findChild<ItemSourcesDialog *>();
        auto *check = h.window->findChild<ConfigCheckDialog *>();
        QVERIFY(sources && check);
        QCOMPARE(shownSources(sources).size(), 3);

        // Box 3 goes; monster 2001 still names it.
        QVERIFY(selectMonsters(h, {1001}) && selectBox(h, 3));
        h.window->deleteSelectedBox();
        QTRY_COMPARE(shownSources(sources), QStringList{"1002|8|20.00%"});
        QTRY_COMPARE(check->view()->model()->rowCount(), 4);
        QCOMPARE(check->view()->model()->index(1, 1).data().toString(),
                 QStringLiteral("怪物[2001] 的第 1 个掉落槽位引用了不存在的包裹[3]"));

        // A reload replaces both documents: the index is built again over the new ones.
        h.window->autoLoadConfig();
        QTRY_COMPARE(shownSources(sources).size(), 3);
    }

    // The changes window compares the files with the documents, follows edits and goes to rows.
    void changesWindowFollowsAndGoes()
    {
        Harness h;
        h.window->findChild<QAction *>(QStringLiteral("actionViewChanges"))->trigger();
        auto *dialog = h.window->findChild<DropChangesDialog *>();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->recordsView()->model()->rowCount(), 0);
        QVERIFY(selectMonsters(h, {1002}) && selectBox(h, 8));
        h.window->deleteSelectedBox();
        QTRY_VERIFY(dialog->recordsView()->model()->rowCount() > 0);
        QVERIFY(selectMonsters(h, {1001}));
        doubleClick(dialog->recordsView(), 0);
        QCOMPARE(h.window->selectedMonsterId(), 1002);
    }
};

QTEST_MAIN(MainWindowLookupTest)
#include "tst_mainwindowlookup.moc"
