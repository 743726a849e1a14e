#include "WindowTestSupport.h"

#include "dialogs/DropChanceChartView.h"
#include "dialogs/ItemSourcesDialog.h"
#include "dialogs/KillSimulationDialog.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

using namespace EditTest;

namespace {

QStringList curveNames(const DropChanceChartView *view)
{
    QStringList names;
    for (const DropChanceChartView::Curve &curve : view->curves())
        names << curve.name;
    return names;
}

} // namespace

// One wiring row per window of the odds.
class MainWindowOddsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void itemSourcesChartShowsBestMonsters()
    {
        Harness h;
        h.window->showItemSources(5001);
        auto *dialog = h.window->findChild<ItemSourcesDialog *>();
        QVERIFY(dialog);
        QCOMPARE(curveNames(dialog->chart()), (QStringList{"史莱姆", "骷髅兵", "怪物 2001"}));
    }

    void boxMenuShowsCurve()
    {
        Harness h;
        QVERIFY(selectMonsters(h, {1001}) && selectBox(h, 3));
        h.prompts->menuAnswers << QStringLiteral("查看掉落曲线");
        QTableView *boxes = h.view(QStringLiteral("boxListView"));
        Q_EMIT boxes->customContextMenuRequested(
            boxes->visualRect(boxes->model()->index(0, 0)).center());
        auto *dialog = h.window->findChild<QDialog *>(QStringLiteral("dropChanceDialog"));
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("掉落曲线 - 怪物[1001:史莱姆] 包裹[3]"));
        const auto *view = dialog->findChild<DropChanceChartView *>();
        QCOMPARE(curveNames(view), QStringList{"包裹[3]"});
        QCOMPARE(view->curves().first().odds.chancePerKill(), 0.2);
    }

    void simulationRunsTheSeed()
    {
        Harness h;
        QVERIFY(selectMonsters(h, {1001}));
        h.window->findChild<QAction *>(QStringLiteral("actionSimulateKills"))->trigger();
        auto *dialog = h.window->findChild<KillSimulationDialog *>();
        QVERIFY(dialog && dialog->isVisible());
        dialog->seedField()->setText(QStringLiteral("42"));
        dialog->killsField()->setValue(500);
        dialog->findChild<QPushButton *>(QStringLiteral("runButton"))->click();
        const KillSimulation::Counts counts = dialog->simulation().run(500, 42);
        QCOMPARE(dialog->rollTable()->item(0, 5)->text(), QString::number(counts.drops.at(0)));
        QCOMPARE(dialog->histogram()->chart()->series().size(), 1);
    }
};

QTEST_MAIN(MainWindowOddsTest)
#include "tst_mainwindowodds.moc"
