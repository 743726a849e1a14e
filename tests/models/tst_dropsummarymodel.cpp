#include "ModelTestSupport.h"
#include "data/NameResolver.h"
#include "models/DropSummaryModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>
#include <limits>

using namespace ModelTestSupport;

namespace {

DropBoxContentData makeBoxDocument()
{
    DropBoxContentData document;
    document.boxes = {makeBox(3, 1000, {5001, -1, 5002}),
                      makeBox(4, 500, {6001}),
                      makeBox(5, 0, {5001}),
                      makeBox(6, 100, {}),
                      makeBox(7, -5, {0, -1, 6001}),
                      makeBox(4, 1, {9999})};
    return document;
}

const QString sep = QStringLiteral("~|~|~|~");

} // namespace

class TestDropSummaryModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void outsideIndexes();
    void multiplier();
    void rows_data();
    void rows();
    void separatorsAreEmptyAndShaded();
    void nullArguments();
    void weightsCopiedAtFillTime();
};

void TestDropSummaryModel::init()
{
    NameResolver &resolver = NameResolver::instance();
    resolver.clear();
    resolver.commonItemNames.insert(5001, QStringLiteral("金创药"));
    resolver.equipNames.insert(5002, QStringLiteral("玄铁剑"));
    resolver.gemNames.insert(6001, QStringLiteral("蓝宝石"));
}

void TestDropSummaryModel::outsideIndexes()
{
    const DropBoxContentData document = makeBoxDocument();
    MonsterDropConfig monster = makeMonster(1001, 100, {3, 4});
    Probe<DropSummaryModel> model;
    model.setMonster(&monster, &document);
    const QModelIndex stale = model.index(3, 1);
    monster.dropBoxIds = {4};
    model.setMonster(&monster, &document);
    checkOutsideIndexes(model, stale, false);
}

void TestDropSummaryModel::multiplier()
{
    const DropBoxContentData document = makeBoxDocument();
    const MonsterDropConfig monster = makeMonster(1001, 100, {3, 5});
    DropSummaryModel model;
    model.setMonster(&monster, &document);
    checkMultiplier(model, 3);
    QCOMPARE(dumpModel(model),
             QStringLiteral("3|5001|金创药|20.00%\n3|5002|玄铁剑|20.00%\n%1\n5|5001|金创药|N/A")
                 .arg(sep));
}

void TestDropSummaryModel::rows_data()
{
    QTest::addColumn<int>("monsterValue");
    QTest::addColumn<QList<int>>("slots");
    QTest::addColumn<QString>("rows");

    QTest::newRow("two boxes")
        << 100 << QList<int>{3, 4}
        << QStringLiteral("3|5001|金创药|10.00%\n3|5002|玄铁剑|10.00%\n%1\n4|6001|蓝宝石|20.00%")
               .arg(sep);
    QTest::newRow("missing box adds nothing")
        << 100 << QList<int>{3, 404, -1, 4}
        << QStringLiteral("3|5001|金创药|10.00%\n3|5002|玄铁剑|10.00%\n%1\n4|6001|蓝宝石|20.00%")
               .arg(sep);
    QTest::newRow("missing first box: no leading separator")
        << 100 << QList<int>{404, 4} << QStringLiteral("4|6001|蓝宝石|20.00%");
    QTest::newRow("weight 0") << 100 << QList<int>{5} << QStringLiteral("5|5001|金创药|N/A");
    QTest::newRow("negative weight, empty slots skipped")
        << 100 << QList<int>{7} << QStringLiteral("7|6001|蓝宝石|N/A");
    QTest::newRow("empty first box")
        << 100 << QList<int>{6, 4} << QStringLiteral("%1\n4|6001|蓝宝石|20.00%").arg(sep);
    QTest::newRow("empty middle box: consecutive separators")
        << 100 << QList<int>{4, 6, 4}
        << QStringLiteral("4|6001|蓝宝石|20.00%\n%1\n%1\n4|6001|蓝宝石|20.00%").arg(sep);
    QTest::newRow("empty last box: trailing separator")
        << 100 << QList<int>{4, 6} << QStringLiteral("4|6001|蓝宝石|20.00%\n%1").arg(sep);
    QTest::newRow("only an empty box") << 100 << QList<int>{6} << QString();
    QTest::newRow("repeated slot lists items twice")
        << 50 << QList<int>{4, -1, 4}
        << QStringLiteral("4|6001|蓝宝石|10.00%\n%1\n4|6001|蓝宝石|10.00%").arg(sep);
    QTest::newRow("first box of a duplicated id")
        << 1 << QList<int>{4} << QStringLiteral("4|6001|蓝宝石|0.20%");
    QTest::newRow("no used slot") << 100 << QList<int>{0, -1} << QString();
}

void TestDropSummaryModel::rows()
{
    QFETCH(int, monsterValue);
    QFETCH(QList<int>, slots);
    QFETCH(QString, rows);

    const DropBoxContentData document = makeBoxDocument();
    const MonsterDropConfig monster = makeMonster(1001, monsterValue, slots);
    DropSummaryModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QCOMPARE(dumpHeader(model), QStringLiteral("~|包裹ID|物品ID|物品名称|爆率|~"));
    model.setMonster(&monster, &document);
    QCOMPARE(dumpModel(model), rows);
    QCOMPARE(model.monsterValue(), monsterValue);
    for (int row = 0; row < model.rowCount(); ++row) {
        const QVariant boxId = model.data(model.index(row, 0));
        if (boxId.isValid()) {
            QCOMPARE(boxId.userType(), QMetaType::Int);
            QCOMPARE(model.data(model.index(row, 1)).userType(), QMetaType::Int);
        }
    }
}

void TestDropSummaryModel::separatorsAreEmptyAndShaded()
{
    const DropBoxContentData document = makeBoxDocument();
    const MonsterDropConfig monster = makeMonster(1001, 100, {6, 4, 6});
    DropSummaryModel model;
    model.setMonster(&monster, &document);
    const QString shade = QStringLiteral("rgb(240,240,240)|rgb(240,240,240)|rgb(240,240,240)|rgb("
                                         "240,240,240)");
    QCOMPARE(dumpModel(model, Qt::BackgroundRole), QStringLiteral("%1\n~|~|~|~\n%1").arg(shade));
    QCOMPARE(model.data(model.index(0, 0), Qt::BackgroundRole).userType(), QMetaType::QColor);
    for (int role : {int(Qt::EditRole), int(Qt::ToolTipRole), int(Qt::ForegroundRole),
                     int(Qt::DecorationRole), int(Qt::UserRole)})
        QCOMPARE(dumpModel(model, role), QStringLiteral("~|~|~|~\n~|~|~|~\n~|~|~|~"));
}

void TestDropSummaryModel::nullArguments()
{
    DropSummaryModel model;
    checkNullArguments(model, makeMonster(1001, 100, {3, 4}), makeBoxDocument());
}

void TestDropSummaryModel::weightsCopiedAtFillTime()
{
    DropBoxContentData document = makeBoxDocument();
    MonsterDropConfig monster = makeMonster(1001, 100, {4});
    DropSummaryModel model;
    model.setMonster(&monster, &document);
    document.boxes[1].boxValue = 100;
    document.boxes[1].items[0].itemId = 5001;
    monster.mValue = 1;
    QCOMPARE(dumpModel(model), QStringLiteral("4|6001|蓝宝石|20.00%"));
    model.setMonster(&monster, &document);
    QCOMPARE(dumpModel(model), QStringLiteral("4|5001|金创药|1.00%"));

    // The documents may go away entirely: the rows are copies.
    document.boxes.clear();
    monster.dropBoxIds.clear();
    QCOMPARE(dumpModel(model), QStringLiteral("4|5001|金创药|1.00%"));
}

QTEST_GUILESS_MAIN(TestDropSummaryModel)
#include "tst_dropsummarymodel.moc"
