#include "ModelTestSupport.h"
#include "models/MonsterBoxListModel.h"

#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QtTest>
#include <cmath>
#include <limits>

using namespace ModelTestSupport;

namespace {

class ProbedBoxListModel : public MonsterBoxListModel
{
public:
    using MonsterBoxListModel::MonsterBoxListModel;
    QModelIndex rawIndex(int row, int column) const { return createIndex(row, column); }
};

DropBoxContentData makeBoxDocument()
{
    DropBoxContentData document;
    document.boxes = {makeBox(3, 1000, {5001, 5002}),
                      makeBox(7, 0, {6001}),
                      makeBox(8, -5, {}),
                      makeBox(9, 2, {5001, -1, 0, 5002}),
                      makeBox(10, 3, {1}),
                      makeBox(12, 400, {}),
                      makeBox(3, 1, {42})}; // a later duplicate id is never used
    return document;
}

} // namespace

class TestMonsterBoxListModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void headers();
    void rows_data();
    void rows();
    void onlyDisplayRole();
    void nullArguments();
    void staleAndOutOfRangeIndexes();
    void boxAt();
    void multiplierChangesRateColumnOnly();
    void multiplierUnchangedOrEmpty();
    void multiplierRefusesNonFinite_data();
    void multiplierRefusesNonFinite();
    void rowsFollowRecordEdits();
    void setMonsterResets();
};

void TestMonsterBoxListModel::headers()
{
    MonsterBoxListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QCOMPARE(dumpHeader(model), QStringLiteral("~|包裹ID|包裹权值|爆率|物品数|~"));
    QCOMPARE(model.headerData(2, Qt::Vertical, Qt::DisplayRole), QVariant());
    QCOMPARE(model.headerData(2, Qt::Horizontal, Qt::EditRole), QVariant());
    QCOMPARE(model.columnCount(), 4);
    QCOMPARE(model.rowCount(), 0);
}

void TestMonsterBoxListModel::rows_data()
{
    QTest::addColumn<int>("monsterValue");
    QTest::addColumn<QList<int>>("slots");
    QTest::addColumn<QString>("rows");

    QTest::newRow("weight 0 has no rate")
        << 200 << QList<int>{3, -1, 7} << QStringLiteral("3|1000|20.00%|2\n7|0|N/A|1");
    QTest::newRow("negative weight") << 200 << QList<int>{8} << QStringLiteral("8|-5|N/A|0");
    QTest::newRow("missing box skipped, order kept")
        << 100 << QList<int>{12, 404, 3} << QStringLiteral("12|400|25.00%|0\n3|1000|10.00%|2");
    QTest::newRow("only a missing box") << 100 << QList<int>{-1, 404} << QString();
    QTest::newRow("repeated slot")
        << 100 << QList<int>{12, -1, 12} << QStringLiteral("12|400|25.00%|0\n12|400|25.00%|0");
    QTest::newRow("above 100 percent") << 3 << QList<int>{9} << QStringLiteral("9|2|150.00%|2");
    QTest::newRow("a third") << 1 << QList<int>{10} << QStringLiteral("10|3|33.33%|1");
    QTest::newRow("zero monster value")
        << 0 << QList<int>{3, 10} << QStringLiteral("3|1000|0.00%|2\n10|3|0.00%|1");
    QTest::newRow("negative monster value")
        << -100 << QList<int>{3} << QStringLiteral("3|1000|-10.00%|2");
    QTest::newRow("first box of a duplicated id")
        << 1000 << QList<int>{3} << QStringLiteral("3|1000|100.00%|2");
    QTest::newRow("only empty slots") << 100 << QList<int>{0, -1, INT_MIN} << QString();
    QTest::newRow("largest values")
        << INT_MAX << QList<int>{10} << QStringLiteral("10|3|71582788233.33%|1");
}

void TestMonsterBoxListModel::rows()
{
    QFETCH(int, monsterValue);
    QFETCH(QList<int>, slots);
    QFETCH(QString, rows);

    DropBoxContentData document = makeBoxDocument();
    MonsterDropConfig monster = makeMonster(1001, monsterValue, slots);
    MonsterBoxListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setMonster(&monster, &document);
    QCOMPARE(dumpModel(model), rows);
    QCOMPARE(model.monsterValue(), monsterValue);
    for (int row = 0; row < model.rowCount(); ++row) {
        QCOMPARE(model.data(model.index(row, 0)).userType(), QMetaType::Int);
        QCOMPARE(model.data(model.index(row, 1)).userType(), QMetaType::Int);
        QCOMPARE(model.data(model.index(row, 2)).userType(), QMetaType::QString);
        QCOMPARE(model.data(model.index(row, 3)).userType(), QMetaType::Int);
        QCOMPARE(model.boxAt(row), DropSlots::findBox(document, model.boxAt(row)->boxId));
    }
}

void TestMonsterBoxListModel::onlyDisplayRole()
{
    DropBoxContentData document = makeBoxDocument();
    MonsterDropConfig monster = makeMonster(1001, 100, {3, 7});
    MonsterBoxListModel model;
    model.setMonster(&monster, &document);
    for (int role : {int(Qt::EditRole), int(Qt::BackgroundRole), int(Qt::ToolTipRole),
                     int(Qt::DecorationRole), int(Qt::UserRole)})
        QCOMPARE(dumpModel(model, role), QStringLiteral("~|~|~|~\n~|~|~|~"));
    QCOMPARE(model.flags(model.index(0, 1)),
             Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren);
    QVERIFY(!model.setData(model.index(0, 1), 5, Qt::EditRole));
    QCOMPARE(document.boxes[0].boxValue, 1000);
}

void TestMonsterBoxListModel::nullArguments()
{
    DropBoxContentData document = makeBoxDocument();
    MonsterDropConfig monster = makeMonster(1001, 100, {3, 7});
    MonsterBoxListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setMonster(&monster, &document);
    QCOMPARE(model.rowCount(), 2);
    model.setMonster(nullptr, &document);
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.monsterValue(), 0);
    model.setMonster(&monster, &document);
    model.setMonster(&monster, nullptr);
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.monsterValue(), 0);
    model.setMonster(nullptr, nullptr);
    QCOMPARE(model.rowCount(), 0);
}

void TestMonsterBoxListModel::staleAndOutOfRangeIndexes()
{
    DropBoxContentData document = makeBoxDocument();
    MonsterDropConfig monster = makeMonster(1001, 100, {3, 7, 9});
    ProbedBoxListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setMonster(&monster, &document);
    const QModelIndex stale = model.index(2, 2);
    monster.dropBoxIds = {3};
    model.setMonster(&monster, &document);
    QCOMPARE(model.data(stale), QVariant());
    QCOMPARE(model.data(model.rawIndex(-1, 0)), QVariant());
    QCOMPARE(model.data(model.rawIndex(0, -1)), QVariant());
    QCOMPARE(model.data(model.rawIndex(1, 0)), QVariant());
    QCOMPARE(model.data(model.rawIndex(0, 4)), QVariant());
    QCOMPARE(model.data(model.rawIndex(0, 100)), QVariant());
    QCOMPARE(model.data(QModelIndex()), QVariant());
    QCOMPARE(model.rowCount(model.index(0, 0)), 0);
    QCOMPARE(model.columnCount(model.index(0, 0)), 0);
}

void TestMonsterBoxListModel::boxAt()
{
    DropBoxContentData document = makeBoxDocument();
    MonsterDropConfig monster = makeMonster(1001, 100, {9, 3});
    MonsterBoxListModel model;
    QCOMPARE(model.boxAt(0), nullptr);
    model.setMonster(&monster, &document);
    QCOMPARE(model.boxAt(-1), nullptr);
    QCOMPARE(model.boxAt(INT_MIN), nullptr);
    QCOMPARE(model.boxAt(0), &document.boxes[3]);
    QCOMPARE(model.boxAt(1), &document.boxes[0]);
    QCOMPARE(model.boxAt(2), nullptr);
    QCOMPARE(model.boxAt(INT_MAX), nullptr);
}

void TestMonsterBoxListModel::multiplierChangesRateColumnOnly()
{
    DropBoxContentData document = makeBoxDocument();
    MonsterDropConfig monster = makeMonster(1001, 200, {3, -1, 7, 12});
    MonsterBoxListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setMonster(&monster, &document);
    QCOMPARE(model.dropMultiplier(), 1.0);

    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QSignalSpy layout(&model, &QAbstractItemModel::layoutChanged);
    QItemSelectionModel selection(&model);
    selection.select(model.index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    model.setDropMultiplier(0.5);
    QCOMPARE(model.dropMultiplier(), 0.5);
    QCOMPARE(selection.selectedRows(), QModelIndexList({model.index(1, 0)}));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).value<QModelIndex>(), model.index(0, 2));
    QCOMPARE(changed.at(0).at(1).value<QModelIndex>(), model.index(2, 2));
    QCOMPARE(changed.at(0).at(2).value<QList<int>>(), QList<int>());
    QCOMPARE(reset.count(), 0);
    QCOMPARE(layout.count(), 0);
    QCOMPARE(dumpModel(model), QStringLiteral("3|1000|10.00%|2\n7|0|N/A|1\n12|400|25.00%|0"));

    model.setDropMultiplier(2.0);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(dumpModel(model), QStringLiteral("3|1000|40.00%|2\n7|0|N/A|1\n12|400|100.00%|0"));

    // The multiplier survives a new monster.
    model.setMonster(&monster, &document);
    QCOMPARE(model.dropMultiplier(), 2.0);
    QCOMPARE(model.data(model.index(0, 2)), QVariant(QStringLiteral("40.00%")));
}

void TestMonsterBoxListModel::multiplierUnchangedOrEmpty()
{
    MonsterBoxListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setDropMultiplier(3.0); // no rows: stored, nothing to announce
    QCOMPARE(model.dropMultiplier(), 3.0);
    QCOMPARE(changed.count(), 0);

    DropBoxContentData document = makeBoxDocument();
    MonsterDropConfig monster = makeMonster(1001, 100, {3});
    model.setMonster(&monster, &document);
    model.setDropMultiplier(3.0);
    QCOMPARE(changed.count(), 0);
    model.setDropMultiplier(3.0000001);
    QCOMPARE(changed.count(), 1);
    model.setDropMultiplier(3.0000001);
    QCOMPARE(changed.count(), 1);
}

void TestMonsterBoxListModel::multiplierRefusesNonFinite_data()
{
    QTest::addColumn<double>("multiplier");
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
    QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity();
}

void TestMonsterBoxListModel::multiplierRefusesNonFinite()
{
    QFETCH(double, multiplier);
    DropBoxContentData document = makeBoxDocument();
    MonsterDropConfig monster = makeMonster(1001, 100, {3});
    MonsterBoxListModel model;
    model.setMonster(&monster, &document);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setDropMultiplier(multiplier);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(model.dropMultiplier(), 1.0);
    QCOMPARE(model.data(model.index(0, 2)), QVariant(QStringLiteral("10.00%")));
}

void TestMonsterBoxListModel::rowsFollowRecordEdits()
{
    // Rates are recomputed from the box each time they are read.
    DropBoxContentData document = makeBoxDocument();
    MonsterDropConfig monster = makeMonster(1001, 100, {3});
    MonsterBoxListModel model;
    model.setMonster(&monster, &document);
    document.boxes[0].boxValue = 400;
    document.boxes[0].items[5].itemId = 77;
    QCOMPARE(dumpModel(model), QStringLiteral("3|400|25.00%|3"));
    document.boxes[0].boxValue = 0;
    QCOMPARE(dumpModel(model), QStringLiteral("3|0|N/A|3"));
}

void TestMonsterBoxListModel::setMonsterResets()
{
    DropBoxContentData document = makeBoxDocument();
    MonsterDropConfig monster = makeMonster(1001, 100, {3});
    MonsterBoxListModel model;
    QSignalSpy aboutToReset(&model, &QAbstractItemModel::modelAboutToBeReset);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setMonster(&monster, &document);
    model.setMonster(nullptr, nullptr);
    QCOMPARE(aboutToReset.count(), 2);
    QCOMPARE(reset.count(), 2);
    QCOMPARE(changed.count(), 0);
}

QTEST_GUILESS_MAIN(TestMonsterBoxListModel)
#include "tst_monsterboxlistmodel.moc"
