#include "ModelTestSupport.h"

#include "data/NameResolver.h"
#include "models/ConfigFindingModel.h"
#include "models/ItemSourceTableModel.h"

#include <QAbstractItemModelTester>
#include <QSortFilterProxyModel>
#include <QtTest>

using namespace ModelTestSupport;

class LookupModelsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sortsByValue_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("ascending"); // the column's texts, sorted ascending
        // Each monster's total follows its sources; monster 3's 200 % counts as 100 %.
        QTest::newRow("rate") << int(ItemSourceTable::RateColumn)
                              << QStringList{"N/A",    "—",      "9.00%",   "9.00%",
                                             "10.00%", "10.00%", "100.00%", "200.00%"};
        QTest::newRow("1/N") << int(ItemSourceTable::OneInColumn)
                             << QStringList{"1/1", "1/1", "1/10", "1/10", "1/11", "1/11", "—", "—"};
        QTest::newRow("kills for 90 %") << int(ItemSourceTable::Kills90Column)
                                        << QStringList{"1", "1", "22", "22", "25", "25", "—", "—"};
        QTest::newRow("chance") << int(ItemSourceTable::ChanceColumn)
                                << QStringList{"—",       "—",       "99.99%",  "99.99%",
                                               "100.00%", "100.00%", "100.00%", "100.00%"};
    }

    // Text order would put 10.00% before 9.00% and 1/10 before 1/9.
    void sortsByValue()
    {
        QFETCH(int, column);
        QFETCH(QStringList, ascending);
        NameResolver::instance().clear();
        ItemSourceIndex index(
            {{}, {}, {makeMonster(1, 9, {3}), makeMonster(2, 10, {4, 5}), makeMonster(3, 2, {6})}},
            {{},
             {},
             {},
             {makeBox(3, 100, {7001}), makeBox(4, 100, {7001}), makeBox(5, 0, {7001}),
              makeBox(6, 1, {7001}), makeBox(8, 5, {7001})}});
        ItemSourceTableModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setSources(index.sources(7001), 1.0);
        QCOMPARE(model.rowCount(), 8);
        QCOMPARE(dumpHeader(model),
                 QStringLiteral("~|怪物ID|怪物名称|槽位|怪物价值|包裹ID|包裹权值|爆率|1/N|"
                                "50%需击杀|90%需击杀|99%需击杀|100次击杀概率|~"));
        QSortFilterProxyModel sorted;
        sorted.setSourceModel(&model);
        sorted.setSortRole(ItemSourceTableModel::SortRole);
        sorted.sort(column, Qt::AscendingOrder);
        QStringList texts;
        for (int row = 0; row < sorted.rowCount(); ++row)
            texts << sorted.index(row, column).data().toString();
        QCOMPARE(texts, ascending);
    }

    void findings()
    {
        ConfigFindingModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        ConfigCheck::Finding finding;
        finding.kind = ConfigCheck::Kind::UnusedBox;
        finding.boxId = 4;
        finding.message = QStringLiteral("包裹[4] 没有被任何怪物引用");
        model.setFindings({finding});
        QCOMPARE(dumpModel(model), QStringLiteral("无引用的包裹|包裹[4] 没有被任何怪物引用"));
        QCOMPARE(model.findingAt(0)->boxId, 4);
        QVERIFY(!model.findingAt(1));
    }
};

QTEST_MAIN(LookupModelsTest)
#include "tst_lookupmodels.moc"
