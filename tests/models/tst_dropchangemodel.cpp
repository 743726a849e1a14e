#include "ModelTestSupport.h"

#include "data/NameResolver.h"
#include "models/DropChangeListModel.h"

#include <QAbstractItemModelTester>
#include <QtTest>

using namespace ModelTestSupport;

class DropChangeModelTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void filter_data();
    void filter();
};

void DropChangeModelTest::filter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("records"); // kind title and monster, box and item ids
    QTest::addColumn<QStringList>("rates");

    const QStringList allRecords{"怪物价值|1001|-1|-1", "掉落槽位|1002|9|-1", "包裹权值|-1|8|-1"};
    const QStringList allRates{"爆率改变|1001|8|5001", "爆率改变|1002|8|5001",
                               "新掉落|1002|9|5002"};
    QTest::newRow("none") << "" << allRecords << allRates;
    QTest::newRow("id of a box") << " 9 " << QStringList{"掉落槽位|1002|9|-1"}
                                 << QStringList{"新掉落|1002|9|5002"};
    QTest::newRow("monster name") << "史莱" << QStringList{"怪物价值|1001|-1|-1"}
                                  << QStringList{"爆率改变|1001|8|5001"};
    QTest::newRow("item name, any case")
        << "scroll" << QStringList{} << QStringList{"爆率改变|1001|8|5001", "爆率改变|1002|8|5001"};
}

void DropChangeModelTest::filter()
{
    QFETCH(QString, text);
    QFETCH(QStringList, records);
    QFETCH(QStringList, rates);
    NameResolver::instance().clear();
    NameResolver::instance().monsterNames.insert(1001, QStringLiteral("史莱姆"));
    NameResolver::instance().commonItemNames.insert(5001, QStringLiteral("Town Scroll"));
    const auto comparison = std::make_shared<const DropComparison>(DropComparison::compare(
        EditFixtures::monsters({makeMonster(1001, 100, {8}), makeMonster(1002, 100, {8})}),
        EditFixtures::boxes({makeBox(8, 1000, {5001}), makeBox(9, 1000, {5002})}),
        EditFixtures::monsters({makeMonster(1001, 200, {8}), makeMonster(1002, 100, {8, 9})}),
        EditFixtures::boxes({makeBox(8, 800, {5001}), makeBox(9, 1000, {5002})})));

    for (const auto &[list, expected] : {std::pair{DropChangeListModel::List::Records, records},
                                         std::pair{DropChangeListModel::List::Rates, rates}}) {
        DropChangeListModel model(list);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setComparison(comparison);
        model.setFilterText(text);
        QStringList rows;
        QString lines;
        for (int row = 0; row < model.rowCount(); ++row) {
            const DropComparison::Change change = *model.changeAt(row);
            const auto [monsterId, boxId] = model.targetAt(row);
            QCOMPARE(monsterId, change.monsterId);
            rows << QStringLiteral("%1|%2|%3|%4")
                        .arg(model.index(row, DropChangeListModel::KindColumn).data().toString())
                        .arg(monsterId)
                        .arg(boxId)
                        .arg(change.itemId);
            lines += model.index(row, DropChangeListModel::TextColumn).data().toString() + u'\n';
        }
        QCOMPARE(rows, expected);
        QCOMPARE(model.shownText(), lines);
        QCOMPARE(model.totalCount(), 3);
    }
}

QTEST_GUILESS_MAIN(DropChangeModelTest)
#include "tst_dropchangemodel.moc"
