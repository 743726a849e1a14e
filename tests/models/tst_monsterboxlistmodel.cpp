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
    void outsideIndexes();
    void multiplier();
    void rows_data();
    void rows();
    void nullArguments();
    void boxAt();
    void rowsFollowRecordEdits();
};

void TestMonsterBoxListModel::outsideIndexes()
{
    DropBoxContentData document = makeBoxDocument();
    MonsterDropConfig monster = makeMonster(1001, 100, {3, 7, 9});
    Probe<MonsterBoxListModel> model;
    model.setMonster(&monster, &document);
    const QModelIndex stale = model.index(2, 2);
    monster.dropBoxIds = {3};
    model.setMonster(&monster, &document);
    checkOutsideIndexes(model, stale, false);
}

void TestMonsterBoxListModel::multiplier()
{
    DropBoxContentData document = makeBoxDocument();
    MonsterDropConfig monster = makeMonster(1001, 200, {3, -1, 7, 12});
    MonsterBoxListModel model;
    model.setMonster(&monster, &document);
    QItemSelectionModel selection(&model);
    selection.select(model.index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    checkMultiplier(model, 2);
    QCOMPARE(dumpModel(model), QStringLiteral("3|1000|40.00%|2\n7|0|N/A|1\n12|400|100.00%|0"));
    QCOMPARE(selection.selectedRows(), QModelIndexList({model.index(1, 0)}));
    // The multiplier survives a new monster.
    model.setMonster(&monster, &document);
    QCOMPARE(model.data(model.index(0, 2)), QVariant(QStringLiteral("40.00%")));
}

void TestMonsterBoxListModel::rows_data()
{
    QTest::addColumn<int>("monsterValue");
    QTest::addColumn<QList<int>>("slots");
    QTest::addColumn<QString>("rows");

    QTest::newRow("weight 0 has no rate")
        << 200 << QList<int>{3, -1, 7} << QStringLiteral("3|1000|20.00%|2\n7|0|N/A|1");
    QTest::newRow("missing box skipped, order kept")
        << 100 << QList<int>{12, 404, 3} << QStringLiteral("12|400|25.00%|0\n3|1000|10.00%|2");
    QTest::newRow("only a missing box") << 100 << QList<int>{-1, 404} << QString();
    QTest::newRow("repeated slot")
        << 100 << QList<int>{12, -1, 12} << QStringLiteral("12|400|25.00%|0\n12|400|25.00%|0");
    QTest::newRow("first box of a duplicated id")
        << 1000 << QList<int>{3} << QStringLiteral("3|1000|100.00%|2");
    QTest::newRow("only empty slots") << 100 << QList<int>{0, -1, INT_MIN} << QString();
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
    QCOMPARE(dumpHeader(model), QStringLiteral("~|包裹ID|包裹权值|爆率|物品数|~"));
    model.setMonster(&monster, &document);
    QCOMPARE(dumpModel(model), rows);
    QCOMPARE(dumpModel(model, Qt::EditRole).remove(QRegularExpression(QStringLiteral("[~|\\n]"))),
             QString());
    QCOMPARE(model.monsterValue(), monsterValue);
    for (int row = 0; row < model.rowCount(); ++row) {
        QCOMPARE(model.data(model.index(row, 0)).userType(), QMetaType::Int);
        QCOMPARE(model.data(model.index(row, 1)).userType(), QMetaType::Int);
        QCOMPARE(model.data(model.index(row, 2)).userType(), QMetaType::QString);
        QCOMPARE(model.data(model.index(row, 3)).userType(), QMetaType::Int);
        QCOMPARE(model.boxAt(row), DropSlots::findBox(document, model.boxAt(row)->boxId));
    }
}

void TestMonsterBoxListModel::nullArguments()
{
    MonsterBoxListModel model;
    checkNullArguments(model, makeMonster(1001, 100, {3, 7}), makeBoxDocument());
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
}

QTEST_GUILESS_MAIN(TestMonsterBoxListModel)
#include "tst_monsterboxlistmodel.moc"
