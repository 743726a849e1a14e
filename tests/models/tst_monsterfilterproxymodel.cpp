#include "ModelTestSupport.h"
#include "data/NameResolver.h"
#include "edit/MonsterEdits.h"
#include "models/MonsterFilterProxyModel.h"
#include "models/MonsterListModel.h"

#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QStringListModel>
#include <QtTest>
#include <memory>

using namespace ModelTestSupport;

namespace {

// Rows in id order: -2, 0, 1001, 1203, 2001, 3005, 4000, 5120.
void fillResolver()
{
    NameResolver &resolver = NameResolver::instance();
    resolver.clear();
    resolver.monsterNames.insert(-2, QStringLiteral("负号怪"));
    resolver.monsterNames.insert(0, QStringLiteral("零号"));
    resolver.monsterNames.insert(1001, QStringLiteral("赤焰狼王"));
    resolver.monsterNames.insert(1203, QStringLiteral("冰霜巨人"));
    resolver.monsterNames.insert(2001, QStringLiteral("狼王12号"));
    resolver.monsterNames.insert(3005, QStringLiteral("Wolf AB Chief"));
    resolver.monsterNames.insert(4000, QStringLiteral("abyss"));
    resolver.monsterNames.insert(5120, QStringLiteral("石像"));
}

MonsterDropData makeDocument()
{
    MonsterDropData document;
    document.records = {makeMonster(1001, 100, {3}),     makeMonster(1203, 100, {4}),
                        makeMonster(3005, 100, {-1, 5}), makeMonster(4000, 100, {-1, 0}),
                        makeMonster(5120, 100, {6}),     makeMonster(-2, 100, {7})};
    return document;
}

// A monster list over the document, behind the proxy.
struct Filtered
{
    MonsterDropData document = makeDocument();
    MonsterListModel model;
    MonsterFilterProxyModel proxy;
    Filtered()
    {
        fillResolver();
        model.loadMonsters();
        model.setDropConfig(&document);
        proxy.setSourceModel(&model);
    }
};

QString proxyIds(const MonsterFilterProxyModel &proxy)
{
    QStringList ids;
    for (int row = 0; row < proxy.rowCount(); ++row)
        ids << QString::number(proxy.idAtProxyRow(row));
    return ids.join(QLatin1Char(','));
}

} // namespace

class TestMonsterFilterProxyModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    void filter_data();
    void filter();
    void setFilterTextInvalidatesEveryTime();
    void proxyRowAccessors_data();
    void proxyRowAccessors();
    void foreignSourceRejectsEverything();
    void destroyedSourceIsNotTouched();
    void followsSourceResets();
    void filterChangeKeepsSurvivingSelection();
};

void TestMonsterFilterProxyModel::filter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("onlyWithDrops");
    QTest::addColumn<QString>("ids");

    QTest::newRow("empty, all rows including ids below 1")
        << QString() << false << QStringLiteral("-2,0,1001,1203,2001,3005,4000,5120");
    QTest::newRow("blanks only count as empty")
        << QStringLiteral("  \t ") << false << QStringLiteral("-2,0,1001,1203,2001,3005,4000,5120");
    QTest::newRow("empty, only with drops")
        << QString() << true << QStringLiteral("-2,1001,1203,3005,5120");
    QTest::newRow("digits match ids and names")
        << QStringLiteral("12") << false << QStringLiteral("1203,2001,5120");
    QTest::newRow("digits, only with drops")
        << QStringLiteral("12") << true << QStringLiteral("1203,5120");
    QTest::newRow("trimmed, case ignored")
        << QStringLiteral("  ab  ") << false << QStringLiteral("3005,4000");
    QTest::newRow("upper case") << QStringLiteral("AB") << false << QStringLiteral("3005,4000");
    QTest::newRow("inner blank kept")
        << QStringLiteral("wOLF ab") << false << QStringLiteral("3005");
    QTest::newRow("letters, only with drops")
        << QStringLiteral("ab") << true << QStringLiteral("3005");
    QTest::newRow("chinese name") << QStringLiteral("狼王") << false << QStringLiteral("1001,2001");
    QTest::newRow("name of id 0 is not searched") << QStringLiteral("零") << false << QString();
    QTest::newRow("negative id is not searched") << QStringLiteral("-2") << false << QString();
    QTest::newRow("name of negative id") << QStringLiteral("负号") << false << QString();
    QTest::newRow("no match") << QStringLiteral("zzz") << false << QString();
    QTest::newRow("zero digit") << QStringLiteral("0") << false
                                << QStringLiteral("1001,1203,2001,3005,4000,5120");
    QTest::newRow("full-width digits are not ascii digits")
        << QStringLiteral("１２") << false << QString();
    QTest::newRow("digits and a letter")
        << QStringLiteral("12号") << false << QStringLiteral("2001");
    QTest::newRow("whole id") << QStringLiteral("4000") << false << QStringLiteral("4000");
    QTest::newRow("whole id without drops hidden") << QStringLiteral("4000") << true << QString();
}

void TestMonsterFilterProxyModel::filter()
{
    QFETCH(QString, text);
    QFETCH(bool, onlyWithDrops);
    QFETCH(QString, ids);

    Filtered f;
    MonsterListModel &model = f.model;
    MonsterFilterProxyModel &proxy = f.proxy;
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::Fatal);

    proxy.setOnlyWithDrops(onlyWithDrops);
    proxy.setFilterText(text);
    QCOMPARE(proxy.filterText(), text.trimmed());
    QCOMPARE(proxyIds(proxy), ids);
    // The proxy shows the source's cells unchanged.
    for (int row = 0; row < proxy.rowCount(); ++row) {
        const int id = proxy.idAtProxyRow(row);
        QCOMPARE(proxy.data(proxy.index(row, 0)), QVariant(id));
        QCOMPARE(proxy.data(proxy.index(row, 1)),
                 QVariant(NameResolver::instance().monsterName(id)));
        QCOMPARE(proxy.configAtProxyRow(row), model.configFor(id));
    }

    // Order of the two switches does not matter.
    proxy.setFilterText(QString());
    proxy.setOnlyWithDrops(!onlyWithDrops);
    proxy.setFilterText(text);
    proxy.setOnlyWithDrops(onlyWithDrops);
    QCOMPARE(proxyIds(proxy), ids);
}

void TestMonsterFilterProxyModel::setFilterTextInvalidatesEveryTime()
{
    Filtered f;
    MonsterListModel &model = f.model;
    MonsterFilterProxyModel &proxy = f.proxy;
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::Fatal);
    proxy.setOnlyWithDrops(true);
    proxy.setFilterText(QStringLiteral("12"));
    QCOMPARE(proxyIds(proxy), QStringLiteral("1203,5120"));

    // The record of 1203 loses its drops in place; the same text filters again.
    MonsterEdits::findRecord(f.document, 1203)->dropBoxIds.fill(-1);
    QCOMPARE(proxyIds(proxy), QStringLiteral("1203,5120"));
    proxy.setFilterText(QStringLiteral("12"));
    QCOMPARE(proxyIds(proxy), QStringLiteral("5120"));
}

void TestMonsterFilterProxyModel::proxyRowAccessors_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("id");
    QTest::newRow("negative") << -1 << -1;
    QTest::newRow("int min") << int(INT_MIN) << -1;
    QTest::newRow("first") << 0 << 1203;
    QTest::newRow("without configuration") << 1 << 2001;
    QTest::newRow("last") << 2 << 5120;
    QTest::newRow("row count") << 3 << -1;
    QTest::newRow("int max") << int(INT_MAX) << -1;
}

void TestMonsterFilterProxyModel::proxyRowAccessors()
{
    QFETCH(int, row);
    QFETCH(int, id);

    Filtered f;
    MonsterListModel &model = f.model;
    MonsterFilterProxyModel &proxy = f.proxy;
    proxy.setFilterText(QStringLiteral("12"));
    QCOMPARE(proxy.rowCount(), 3);

    QCOMPARE(proxy.idAtProxyRow(row), id);
    const MonsterDropConfig *config = proxy.configAtProxyRow(row);
    QCOMPARE(config, id > 0 ? model.configFor(id) : nullptr);
    if (id == 2001)
        QCOMPARE(config, nullptr);
}

void TestMonsterFilterProxyModel::foreignSourceRejectsEverything()
{
    MonsterFilterProxyModel proxy;
    QCOMPARE(proxy.idAtProxyRow(0), -1);
    QCOMPARE(proxy.configAtProxyRow(0), nullptr);

    QStringListModel strings({QStringLiteral("1001"), QStringLiteral("1203")});
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::Fatal);
    proxy.setSourceModel(&strings);
    QCOMPARE(proxy.rowCount(), 0);
    QCOMPARE(proxy.idAtProxyRow(0), -1);
    QCOMPARE(proxy.configAtProxyRow(0), nullptr);

    // Switching to a monster list afterwards is picked up.
    fillResolver();
    MonsterListModel model;
    model.loadMonsters();
    proxy.setSourceModel(&model);
    QCOMPARE(proxy.rowCount(), 8);
    QCOMPARE(proxy.idAtProxyRow(2), 1001);
    proxy.setSourceModel(&strings);
    QCOMPARE(proxy.rowCount(), 0);
    QCOMPARE(proxy.idAtProxyRow(2), -1);
}

void TestMonsterFilterProxyModel::destroyedSourceIsNotTouched()
{
    fillResolver();
    MonsterFilterProxyModel proxy;
    {
        auto model = std::make_unique<MonsterListModel>();
        model->loadMonsters();
        proxy.setSourceModel(model.get());
        QCOMPARE(proxy.idAtProxyRow(7), 5120);
    }
    QCOMPARE(proxy.rowCount(), 0);
    QCOMPARE(proxy.idAtProxyRow(0), -1);
    QCOMPARE(proxy.configAtProxyRow(0), nullptr);
    proxy.setFilterText(QStringLiteral("1"));
    proxy.setOnlyWithDrops(true);
    QCOMPARE(proxy.rowCount(), 0);
}

void TestMonsterFilterProxyModel::followsSourceResets()
{
    fillResolver();
    MonsterDropData document = makeDocument();
    MonsterListModel model;
    MonsterFilterProxyModel proxy;
    QAbstractItemModelTester sourceTester(&model,
                                          QAbstractItemModelTester::FailureReportingMode::Fatal);
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::Fatal);
    proxy.setSourceModel(&model);
    proxy.setOnlyWithDrops(true);
    QCOMPARE(proxy.rowCount(), 0); // nothing loaded yet

    model.loadMonsters();
    QCOMPARE(proxy.rowCount(), 0); // no configuration: no row has drops
    model.setDropConfig(&document);
    QCOMPARE(proxyIds(proxy), QStringLiteral("-2,1001,1203,3005,5120"));

    document.records.append(makeMonster(2001, 1, {44}));
    model.setDropConfig(&document);
    QCOMPARE(proxyIds(proxy), QStringLiteral("-2,1001,1203,2001,3005,5120"));

    NameResolver::instance().monsterNames.remove(1203);
    model.loadMonsters();
    QCOMPARE(proxyIds(proxy), QStringLiteral("-2,1001,2001,3005,5120"));
    proxy.setFilterText(QStringLiteral("12"));
    QCOMPARE(proxyIds(proxy), QStringLiteral("2001,5120"));

    model.setDropConfig(nullptr);
    QCOMPARE(proxy.rowCount(), 0);
    QCOMPARE(proxy.configAtProxyRow(0), nullptr);
}

void TestMonsterFilterProxyModel::filterChangeKeepsSurvivingSelection()
{
    // A filter change is announced as a layout change: no reset, and a selected monster that
    // is still shown stays selected.
    Filtered f;
    MonsterFilterProxyModel &proxy = f.proxy;
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QItemSelectionModel selection(&proxy);
    selection.select(proxy.index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection.setCurrentIndex(proxy.index(3, 0), QItemSelectionModel::NoUpdate);
    QCOMPARE(proxy.idAtProxyRow(3), 1203);

    QSignalSpy reset(&proxy, &QAbstractItemModel::modelReset);
    QSignalSpy layout(&proxy, &QAbstractItemModel::layoutChanged);
    proxy.setFilterText(QStringLiteral("12"));
    QCOMPARE(reset.count(), 0);
    QCOMPARE(layout.count(), 1);
    QCOMPARE(selection.selectedRows().size(), 1);
    QCOMPARE(proxy.idAtProxyRow(selection.selectedRows().at(0).row()), 1203);
    QCOMPARE(proxy.idAtProxyRow(selection.currentIndex().row()), 1203);

    proxy.setFilterText(QStringLiteral("赤焰"));
    QVERIFY(selection.selectedRows().isEmpty());
    QCOMPARE(proxyIds(proxy), QStringLiteral("1001"));
    proxy.setFilterText(QString());
    QCOMPARE(proxy.rowCount(), 8);
}

QTEST_GUILESS_MAIN(TestMonsterFilterProxyModel)
#include "tst_monsterfilterproxymodel.moc"
