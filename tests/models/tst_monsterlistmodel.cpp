#include "ModelTestSupport.h"
#include "data/NameResolver.h"
#include "edit/MonsterEdits.h"
#include "models/MonsterListModel.h"

#include <QAbstractItemModelTester>
#include <QRandomGenerator>
#include <QtTest>

using namespace ModelTestSupport;

namespace {

void fillNames(const QList<int> &ids)
{
    NameResolver &resolver = NameResolver::instance();
    resolver.clear();
    for (int id : ids) {
        resolver.monsterNames.insert(id, QStringLiteral("怪物%1").arg(id));
        resolver.monsterLevels.insert(id, id % 100);
    }
}

} // namespace

class TestMonsterListModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void rows();
    void outsideIndexes();

    void backgroundMarksMonstersWithoutDrops_data();
    void backgroundMarksMonstersWithoutDrops();
    void accessorsOutOfRange_data();
    void accessorsOutOfRange();
    void recordsShrunkWithoutRebuildGiveNull();
    void duplicateRecordsFirstWins();
    void configWithoutNameIsNotListed();
    void indexMatchesEditedRecordOfEachId();
};

void TestMonsterListModel::init()
{
    NameResolver::instance().clear();
}

void TestMonsterListModel::rows()
{
    NameResolver &resolver = NameResolver::instance();
    resolver.monsterNames.insert(1203, QStringLiteral("冰霜巨人"));
    resolver.monsterNames.insert(1001, QStringLiteral("赤焰狼王"));
    resolver.monsterNames.insert(-3, QStringLiteral("负号怪"));
    resolver.monsterNames.insert(0, QString());
    resolver.monsterLevels.insert(1001, 45);
    resolver.monsterLevels.insert(1203, 60);
    MonsterListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QCOMPARE(dumpHeader(model), QStringLiteral("~|怪物ID|怪物名称|等级|~"));
    model.loadMonsters();
    QCOMPARE(dumpModel(model),
             QStringLiteral("-3|负号怪|0\n0||0\n1001|赤焰狼王|45\n1203|冰霜巨人|60"));
    QCOMPARE(dumpModel(model, Qt::EditRole), dumpModel(model));
    QCOMPARE(dumpModel(model, Qt::ToolTipRole), QStringLiteral("~|~|~\n~|~|~\n~|~|~\n~|~|~"));
    QCOMPARE(model.flags(model.index(0, 1)),
             Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren);
    QVERIFY(!model.setData(model.index(0, 0), 42, Qt::EditRole));

    // An empty name table empties the list.
    NameResolver::instance().clear();
    model.loadMonsters();
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.idAt(0), -1);
}

void TestMonsterListModel::outsideIndexes()
{
    fillNames({1, 2, 3});
    MonsterDropData document;
    document.records = {makeMonster(1, 100, {3})};
    Probe<MonsterListModel> model;
    model.loadMonsters();
    model.setDropConfig(&document);
    const QModelIndex stale = model.index(2, 1);
    fillNames({1});
    model.loadMonsters();
    checkOutsideIndexes(model, stale);
    // A column above the last still has the row's background.
    QCOMPARE(model.data(model.raw(0, 3), Qt::BackgroundRole), QVariant());
    document.records[0].dropBoxIds.fill(-1);
    QCOMPARE(model.data(model.raw(0, 3), Qt::BackgroundRole), QVariant(QColor(200, 200, 200)));
}

void TestMonsterListModel::backgroundMarksMonstersWithoutDrops_data()
{
    QTest::addColumn<QList<MonsterDropConfig>>("records");
    QTest::addColumn<bool>("withDocument");
    QTest::addColumn<QString>("background");

    const QString grey = QStringLiteral("rgb(200,200,200)");
    QTest::newRow("no document") << QList<MonsterDropConfig>{} << false
                                 << QStringLiteral("%1|%1|%1\n%1|%1|%1").arg(grey);
    QTest::newRow("empty document")
        << QList<MonsterDropConfig>{} << true << QStringLiteral("%1|%1|%1\n%1|%1|%1").arg(grey);
    QTest::newRow("first has drops") << QList<MonsterDropConfig>{makeMonster(1001, 100, {3})}
                                     << true << QStringLiteral("~|~|~\n%1|%1|%1").arg(grey);
    QTest::newRow("only empty slots")
        << QList<MonsterDropConfig>{makeMonster(1001, 100, {}), makeMonster(1002, 5, {0, -7})}
        << true << QStringLiteral("%1|%1|%1\n%1|%1|%1").arg(grey);
    QTest::newRow("slot naming a missing box still counts")
        << QList<MonsterDropConfig>{makeMonster(1002, 100, {-1, -1, 999999})} << true
        << QStringLiteral("%1|%1|%1\n~|~|~").arg(grey);
    QTest::newRow("duplicate id, first with drops")
        << QList<MonsterDropConfig>{makeMonster(1001, 100, {3}), makeMonster(1001, 100, {-1})}
        << true << QStringLiteral("~|~|~\n%1|%1|%1").arg(grey);
    QTest::newRow("duplicate id, first without drops")
        << QList<MonsterDropConfig>{makeMonster(1001, 100, {-1}), makeMonster(1001, 100, {4})}
        << true << QStringLiteral("%1|%1|%1\n%1|%1|%1").arg(grey);
}

void TestMonsterListModel::backgroundMarksMonstersWithoutDrops()
{
    QFETCH(QList<MonsterDropConfig>, records);
    QFETCH(bool, withDocument);
    QFETCH(QString, background);

    fillNames({1001, 1002});
    MonsterDropData document;
    document.records = records;
    MonsterListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.loadMonsters();
    if (withDocument)
        model.setDropConfig(&document);
    QCOMPARE(dumpModel(model, Qt::BackgroundRole), background);
    for (int row = 0; row < model.rowCount(); ++row)
        QCOMPARE(model.hasDrops(row), !dumpModel(model, Qt::BackgroundRole)
                                           .split(QLatin1Char('\n'))
                                           .at(row)
                                           .startsWith(QLatin1String("rgb")));
}

void TestMonsterListModel::accessorsOutOfRange_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("configMonsterValue"); // -1: no configuration
    QTest::addColumn<bool>("hasDrops");

    QTest::newRow("negative") << -1 << -1 << -1 << false;
    QTest::newRow("very negative") << int(INT_MIN) << -1 << -1 << false;
    QTest::newRow("first") << 0 << 1001 << 100 << true;
    QTest::newRow("without configuration") << 1 << 1002 << -1 << false;
    QTest::newRow("configured without drops") << 2 << 1003 << 7 << false;
    QTest::newRow("row count") << 3 << -1 << -1 << false;
    QTest::newRow("far past the end") << int(INT_MAX) << -1 << -1 << false;
}

void TestMonsterListModel::accessorsOutOfRange()
{
    QFETCH(int, row);
    QFETCH(int, id);
    QFETCH(int, configMonsterValue);
    QFETCH(bool, hasDrops);

    fillNames({1001, 1002, 1003});
    MonsterDropData document;
    document.records = {makeMonster(1003, 7, {}), makeMonster(1001, 100, {3})};
    MonsterListModel model;
    model.loadMonsters();
    model.setDropConfig(&document);

    QCOMPARE(model.idAt(row), id);
    const MonsterDropConfig *config = model.configAt(row);
    QCOMPARE(config ? config->mValue : -1, configMonsterValue);
    QCOMPARE(model.hasDrops(row), hasDrops);
    if (config) {
        QCOMPARE(config, model.configFor(id));
        QVERIFY(config >= document.records.data() &&
                config < document.records.data() + document.records.size());
    }
}

void TestMonsterListModel::recordsShrunkWithoutRebuildGiveNull()
{
    // A caller that removes records and reads before setDropConfig must get null, not a
    // pointer past the end of the list.
    fillNames({1001, 1002});
    MonsterDropData document;
    document.records = {makeMonster(1001, 100, {3}), makeMonster(1002, 100, {4})};
    MonsterListModel model;
    model.loadMonsters();
    model.setDropConfig(&document);
    QVERIFY(model.configFor(1002));
    document.records.removeLast();
    QCOMPARE(model.configFor(1002), nullptr);
    QCOMPARE(model.configAt(1), nullptr);
    QVERIFY(!model.hasDrops(1));
    QCOMPARE(model.data(model.index(1, 0), Qt::BackgroundRole), QVariant(QColor(200, 200, 200)));
    QCOMPARE(model.configAt(0), &document.records[0]);
    model.setDropConfig(nullptr);
    QCOMPARE(model.configFor(1001), nullptr);
    QCOMPARE(model.configAt(0), nullptr);
}

void TestMonsterListModel::duplicateRecordsFirstWins()
{
    fillNames({1001, 1002});
    MonsterDropData document;
    document.records = {makeMonster(1001, 100, {3}), makeMonster(1002, 5, {4}),
                        makeMonster(1001, 200, {-1, 9})};
    MonsterListModel model;
    model.loadMonsters();
    model.setDropConfig(&document);
    // The first record is the one every edit changes.
    QCOMPARE(model.configFor(1001), &document.records[0]);
    QCOMPARE(model.configAt(0), &document.records[0]);
    QCOMPARE(model.configAt(0)->mValue, 100);
    QCOMPARE(model.configAt(1), &document.records[1]);
    QCOMPARE(model.recordCountFor(1001), 2);
    QCOMPARE(model.recordCountFor(1002), 1);
    QCOMPARE(model.recordCountFor(1003), 0);

    // The index follows the document again after a rebuild.
    document.records.removeFirst();
    model.setDropConfig(&document);
    QCOMPARE(model.configFor(1001), &document.records[1]);
    QCOMPARE(model.recordCountFor(1001), 1);
}

void TestMonsterListModel::configWithoutNameIsNotListed()
{
    fillNames({1001});
    MonsterDropData document;
    document.records = {makeMonster(5555, 100, {3}), makeMonster(1001, 100, {3})};
    MonsterListModel model;
    model.loadMonsters();
    model.setDropConfig(&document);
    QCOMPARE(dumpModel(model), QStringLiteral("1001|怪物1001|1"));
    // Still reachable by id, just not a row.
    QCOMPARE(model.configFor(5555), &document.records[0]);
}

void TestMonsterListModel::indexMatchesEditedRecordOfEachId()
{
    // Unordered documents with repeated ids: the list shows the record the edits change.
    QRandomGenerator random(4711);
    for (int round = 0; round < 50; ++round) {
        QList<int> ids;
        for (int id = -2; id < 40; ++id)
            ids << id;
        fillNames(ids);
        MonsterDropData document;
        const int count = random.bounded(0, 80);
        for (int i = 0; i < count; ++i)
            document.records << makeMonster(random.bounded(-3, 45), i, {random.bounded(-1, 3)});
        MonsterListModel model;
        model.loadMonsters();
        model.setDropConfig(&document);
        for (int id = -5; id < 50; ++id) {
            QCOMPARE(model.configFor(id), MonsterEdits::findRecord(document, id));
        }
        for (int row = 0; row < model.rowCount(); ++row) {
            QCOMPARE(model.configAt(row), model.configFor(model.idAt(row)));
            const MonsterDropConfig *config = model.configAt(row);
            QCOMPARE(model.hasDrops(row), config && DropSlots::validBoxCount(*config) > 0);
        }
    }
}

QTEST_GUILESS_MAIN(TestMonsterListModel)
#include "tst_monsterlistmodel.moc"
