#include "ModelTestSupport.h"
#include "data/NameResolver.h"
#include "models/DropItemTableModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>
#include <limits>

using namespace ModelTestSupport;

namespace {

void fillItemNames()
{
    NameResolver &resolver = NameResolver::instance();
    resolver.clear();
    resolver.commonItemNames.insert(5001, QStringLiteral("金创药"));
    resolver.equipNames.insert(5002, QStringLiteral("玄铁剑"));
    resolver.gemNames.insert(6003, QStringLiteral("红宝石"));
}

} // namespace

class TestDropItemTableModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void outsideIndexes();
    void multiplier();
    void rows_data();
    void rows();
    void noBox();
    void flags();
    void setData_data();
    void setData();
    void monsterValueChange();
};

void TestDropItemTableModel::init()
{
    fillItemNames();
}

void TestDropItemTableModel::outsideIndexes()
{
    DropBoxConfig big = makeBox(3, 1000, {5001, 5002});
    DropBoxConfig small = makeBox(4, 1000, {5001}, false);
    Probe<DropItemTableModel> model;
    model.setBox(&big);
    const QModelIndex stale = model.index(50, 1);
    model.setBox(&small);
    checkOutsideIndexes(model, stale);

    // Nor do they take an edit, nor does an index of another model.
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    DropItemTableModel other;
    other.setBox(&big);
    for (const QModelIndex &index :
         {stale, model.raw(-1, 1), model.raw(0, -1), QModelIndex(), other.index(0, 1)})
        QVERIFY(!model.setData(index, 6003, Qt::EditRole));
    QCOMPARE(small.items, QList<DropBoxItem>({DropBoxItem{5001, 5001 % 7}}));
    QCOMPARE(big.items[0].itemId, 5001);
    QCOMPARE(changed.count(), 0);
}

void TestDropItemTableModel::multiplier()
{
    DropBoxConfig box = makeBox(3, 1000, {5001, -1, 5002}, false);
    DropItemTableModel model;
    model.setMonsterValue(100);
    model.setBox(&box);
    checkMultiplier(model, 0);
    QCOMPARE(dumpModel(model), QStringLiteral("20.00%|5001|金创药\n~|~|~\n20.00%|5002|玄铁剑"));
}

void TestDropItemTableModel::rows_data()
{
    QTest::addColumn<int>("monsterValue");
    QTest::addColumn<int>("weight");
    QTest::addColumn<QList<int>>("itemIds");
    QTest::addColumn<QString>("rows");

    QTest::newRow("empty middle slot") << 100 << 1000 << QList<int>{5001, -1, 5002}
                                       << QStringLiteral("10.00%|5001|金创药\n~|~|~\n10.00%|"
                                                         "5002|玄铁剑");
    QTest::newRow("zero and negative slots")
        << 100 << 1000 << QList<int>{5001, 0, 5002, -1}
        << QStringLiteral("10.00%|5001|金创药\n~|~|~\n10.00%|5002|玄铁剑\n~|~|~");
    QTest::newRow("weight 0: ids and names, no rate")
        << 100 << 0 << QList<int>{5001, 7777} << QStringLiteral("~|5001|金创药\n~|7777|");
    QTest::newRow("no slots") << 100 << 1000 << QList<int>{} << QString();
}

void TestDropItemTableModel::rows()
{
    QFETCH(int, monsterValue);
    QFETCH(int, weight);
    QFETCH(QList<int>, itemIds);
    QFETCH(QString, rows);

    DropBoxConfig box = makeBox(3, weight, itemIds, false);
    DropItemTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QCOMPARE(dumpHeader(model), QStringLiteral("~|爆率|物品ID|物品名称|~"));
    model.setMonsterValue(monsterValue);
    model.setBox(&box);
    QCOMPARE(model.box(), &box);
    QCOMPARE(model.rowCount(), itemIds.size());
    QCOMPARE(dumpModel(model), rows);
    QCOMPARE(dumpModel(model, Qt::EditRole), rows);
    QCOMPARE(
        dumpModel(model, Qt::ToolTipRole).remove(QRegularExpression(QStringLiteral("[~|\\n]"))),
        QString());
}

void TestDropItemTableModel::noBox()
{
    Probe<DropItemTableModel> model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 3);
    QCOMPARE(model.data(model.raw(0, 1)), QVariant());
    QVERIFY(!model.setData(model.raw(0, 1), 5, Qt::EditRole));
    QCOMPARE(model.flags(model.raw(0, 1)), Qt::ItemFlags());
    model.setMonsterValue(5);
    model.setDropMultiplier(2.0);
    DropBoxConfig box = makeBox(3, 10, {5001});
    model.setBox(&box);
    QCOMPARE(model.data(model.index(0, 0)), QVariant(QStringLiteral("100.00%")));
    model.setBox(nullptr);
    QCOMPARE(model.rowCount(), 0);
}

void TestDropItemTableModel::flags()
{
    DropBoxConfig box = makeBox(3, 1000, {5001, -1});
    DropItemTableModel model;
    model.setBox(&box);
    const Qt::ItemFlags base = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    for (int row : {0, 1}) {
        QCOMPARE(model.flags(model.index(row, 0)), base);
        QCOMPARE(model.flags(model.index(row, 1)), base | Qt::ItemIsEditable);
        QCOMPARE(model.flags(model.index(row, 2)), base);
    }
    QCOMPARE(model.flags(QModelIndex()), Qt::ItemFlags());
}

void TestDropItemTableModel::setData_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("role");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("rows");

    const int edit = Qt::EditRole;
    const QString before = QStringLiteral("10.00%|5001|金创药\n~|~|~");
    QTest::newRow("number into an empty slot")
        << 1 << 1 << QVariant(6003) << edit << true
        << QStringLiteral("10.00%|5001|金创药\n10.00%|6003|红宝石");
    QTest::newRow("digits as text") << 1 << 1 << QVariant(QStringLiteral("6003")) << edit << true
                                    << QStringLiteral("10.00%|5001|金创药\n10.00%|6003|红宝石");
    QTest::newRow("unknown id stored")
        << 0 << 1 << QVariant(424242) << edit << true << QStringLiteral("10.00%|424242|\n~|~|~");
    QTest::newRow("zero empties the slot")
        << 0 << 1 << QVariant(0) << edit << true << QStringLiteral("~|~|~\n~|~|~");
    QTest::newRow("negative empties the slot") << 0 << 1 << QVariant(QStringLiteral("-7")) << edit
                                               << true << QStringLiteral("~|~|~\n~|~|~");
    QTest::newRow("not a number") << 0 << 1 << QVariant(QStringLiteral("abc")) << edit << false
                                  << before;
    QTest::newRow("trailing letters")
        << 0 << 1 << QVariant(QStringLiteral("12abc")) << edit << false << before;
    QTest::newRow("empty text") << 0 << 1 << QVariant(QString()) << edit << false << before;
    QTest::newRow("invalid value") << 0 << 1 << QVariant() << edit << false << before;
    QTest::newRow("one past int max as text")
        << 0 << 1 << QVariant(QStringLiteral("2147483648")) << edit << false << before;
    QTest::newRow("int min as text") << 0 << 1 << QVariant(QStringLiteral("-2147483648")) << edit
                                     << true << QStringLiteral("~|~|~\n~|~|~");
    QTest::newRow("int max") << 0 << 1 << QVariant(INT_MAX) << edit << true
                             << QStringLiteral("10.00%|2147483647|\n~|~|~");
    QTest::newRow("long long out of range")
        << 0 << 1 << QVariant(qlonglong(5000000000LL)) << edit << false << before;
    QTest::newRow("unsigned out of range")
        << 0 << 1 << QVariant(qulonglong(18446744073709551615ULL)) << edit << false << before;
    QTest::newRow("double out of range") << 0 << 1 << QVariant(3e10) << edit << false << before;
    QTest::newRow("nan") << 0 << 1 << QVariant(std::numeric_limits<double>::quiet_NaN()) << edit
                         << false << before;
    QTest::newRow("double rounds") << 1 << 1 << QVariant(6002.7) << edit << true
                                   << QStringLiteral("10.00%|5001|金创药\n10.00%|6003|红宝石");
    QTest::newRow("blanks around digits")
        << 1 << 1 << QVariant(QStringLiteral(" 6003 ")) << edit << true
        << QStringLiteral("10.00%|5001|金创药\n10.00%|6003|红宝石");
    QTest::newRow("decimal text") << 0 << 1 << QVariant(QStringLiteral("12.5")) << edit << false
                                  << before;
    QTest::newRow("display role") << 1 << 1 << QVariant(6003) << int(Qt::DisplayRole) << false
                                  << before;
    QTest::newRow("rate column") << 0 << 0 << QVariant(6003) << edit << false << before;
    QTest::newRow("name column") << 0 << 2 << QVariant(6003) << edit << false << before;
}

void TestDropItemTableModel::setData()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QVariant, value);
    QFETCH(int, role);
    QFETCH(bool, accepted);
    QFETCH(QString, rows);

    DropBoxConfig box = makeBox(3, 1000, {5001, -1}, false);
    box.items[0].level = 9;
    DropItemTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setMonsterValue(100);
    model.setBox(&box);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy requested(&model, &DropItemTableModel::itemIdEditRequested);

    // The model only asks: the box changes when the document applies the request.
    const QString unchanged = dumpModel(model);
    const QModelIndex index = model.index(row, column);
    QCOMPARE(model.setData(index, value, role), accepted);
    QCOMPARE(dumpModel(model), unchanged);
    QCOMPARE(changed.count(), 0);
    QVERIFY(requested.count() <= (accepted ? 1 : 0));
    for (const QList<QVariant> &request : requested) {
        QCOMPARE(request.at(0).toInt(), 3);
        QCOMPARE(request.at(1).toInt(), row);
        box.items[row].itemId = request.at(2).toInt();
    }
    model.setBox(&box);
    QCOMPARE(dumpModel(model), rows);
    QCOMPARE(model.rowCount(), 2);   // an emptied slot keeps its row
    QCOMPARE(box.items[0].level, 9); // the level is never touched
}

void TestDropItemTableModel::monsterValueChange()
{
    DropBoxConfig box = makeBox(3, 1000, {5001, -1, 5002}, false);
    DropItemTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setMonsterValue(50); // no box: stored silently
    QCOMPARE(changed.count(), 0);
    QCOMPARE(model.monsterValue(), 50);
    model.setBox(&box);
    QCOMPARE(model.data(model.index(0, 0)), QVariant(QStringLiteral("5.00%")));

    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.setMonsterValue(200);
    model.setMonsterValue(200);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).value<QModelIndex>(), model.index(0, 0));
    QCOMPARE(changed.at(0).at(1).value<QModelIndex>(), model.index(2, 0));
    QCOMPARE(changed.at(0).at(2).value<QList<int>>(), QList<int>());
    QCOMPARE(reset.count(), 0);
    QCOMPARE(dumpModel(model), QStringLiteral("20.00%|5001|金创药\n~|~|~\n20.00%|5002|玄铁剑"));

    DropBoxConfig empty = makeBox(4, 1000, {}, false);
    model.setBox(&empty);
    model.setMonsterValue(1);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(model.monsterValue(), 1);
}

QTEST_GUILESS_MAIN(TestDropItemTableModel)
#include "tst_dropitemtablemodel.moc"
