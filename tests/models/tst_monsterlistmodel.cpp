#include "ModelTestSupport.h"
#include "data/NameResolver.h"
#include "edit/MonsterEdits.h"
#include "models/MonsterListModel.h"

#include <QAbstractItemModelTester>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>

using namespace ModelTestSupport;

namespace {

// Counts debug lines that start with a prefix, passing every message on to the test library.
struct DebugLineCounter
{
    static inline QtMessageHandler previous = nullptr;
    static inline QStringList lines;

    DebugLineCounter()
    {
        lines.clear();
        previous = qInstallMessageHandler(&DebugLineCounter::handle);
    }
    ~DebugLineCounter() { qInstallMessageHandler(previous); }

    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (type == QtDebugMsg)
            lines << message;
        if (previous)
            previous(type, context, message);
    }
};

// Lets a test build indexes a view could hold after a reset, including nonsense ones.
class ProbedMonsterListModel : public MonsterListModel
{
public:
    using MonsterListModel::MonsterListModel;
    QModelIndex rawIndex(int row, int column) const { return createIndex(row, column); }
};

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

    void headers();
    void rowsAscendingWithNamesAndLevels();
    void backgroundMarksMonstersWithoutDrops_data();
    void backgroundMarksMonstersWithoutDrops();
    void dataPerRoleAndColumn();
    void staleAndOutOfRangeIndexes();
    void flagsAndSetData();
    void accessorsOutOfRange_data();
    void accessorsOutOfRange();
    void configForGuards();
    void recordsShrunkWithoutRebuildGiveNull();
    void duplicateRecordsFirstWins();
    void configWithoutNameIsNotListed();
    void indexMatchesEditedRecordOfEachId();
    void resetsOnLoadAndSetDropConfig();
    void loadDebugLines();
    void loadDebugLinesBoundedToTen();
    void loadFromEmptyResolver();
    void setDropConfigDebugLines();
};

void TestMonsterListModel::init()
{
    NameResolver::instance().clear();
}

void TestMonsterListModel::headers()
{
    MonsterListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QCOMPARE(dumpHeader(model), QStringLiteral("~|怪物ID|怪物名称|等级|~"));
    QCOMPARE(model.headerData(0, Qt::Vertical, Qt::DisplayRole), QVariant());
    QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::EditRole), QVariant());
    QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::ToolTipRole), QVariant());
}

void TestMonsterListModel::rowsAscendingWithNamesAndLevels()
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
    QCOMPARE(model.rowCount(), 0);
    model.loadMonsters();
    QCOMPARE(dumpModel(model),
             QStringLiteral("-3|负号怪|0\n0||0\n1001|赤焰狼王|45\n1203|冰霜巨人|60"));
    QCOMPARE(dumpModel(model, Qt::EditRole), dumpModel(model));
    QCOMPARE(model.data(model.index(2, 0)).userType(), QMetaType::Int);
    QCOMPARE(model.data(model.index(2, 2)).userType(), QMetaType::Int);
    QCOMPARE(model.data(model.index(2, 1)).userType(), QMetaType::QString);
    QCOMPARE(model.columnCount(), 3);
    QCOMPARE(model.rowCount(model.index(0, 0)), 0);
    QCOMPARE(model.columnCount(model.index(0, 0)), 0);
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

void TestMonsterListModel::dataPerRoleAndColumn()
{
    fillNames({1001});
    MonsterDropData document;
    document.records = {makeMonster(1001, 100, {-1})};
    ProbedMonsterListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.loadMonsters();
    model.setDropConfig(&document);

    for (int role : {int(Qt::DecorationRole), int(Qt::ToolTipRole), int(Qt::ForegroundRole),
                     int(Qt::TextAlignmentRole), int(Qt::UserRole)})
        QCOMPARE(dumpModel(model, role), QStringLiteral("~|~|~"));
    // A column above the last: nothing to display, but still the row's background.
    QCOMPARE(model.data(model.rawIndex(0, 3), Qt::DisplayRole), QVariant());
    QCOMPARE(model.data(model.rawIndex(0, 7), Qt::EditRole), QVariant());
    QCOMPARE(model.data(model.rawIndex(0, 3), Qt::BackgroundRole), QVariant(QColor(200, 200, 200)));
    QCOMPARE(model.data(model.index(0, 0), Qt::BackgroundRole).userType(), QMetaType::QColor);

    document.records[0].dropBoxIds[5] = 8;
    QCOMPARE(model.data(model.rawIndex(0, 3), Qt::BackgroundRole), QVariant());
}

void TestMonsterListModel::staleAndOutOfRangeIndexes()
{
    fillNames({1, 2, 3});
    MonsterDropData document;
    document.records = {makeMonster(1, 100, {3})};
    ProbedMonsterListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.loadMonsters();
    model.setDropConfig(&document);
    const QModelIndex stale = model.index(2, 1);
    QVERIFY(stale.isValid());

    fillNames({1});
    model.loadMonsters();
    QCOMPARE(model.rowCount(), 1);
    for (int role : {int(Qt::DisplayRole), int(Qt::EditRole), int(Qt::BackgroundRole)}) {
        QCOMPARE(model.data(stale, role), QVariant());
        QCOMPARE(model.data(model.rawIndex(-1, 0), role), QVariant());
        QCOMPARE(model.data(model.rawIndex(0, -1), role), QVariant());
        QCOMPARE(model.data(model.rawIndex(1, 0), role), QVariant());
        QCOMPARE(model.data(QModelIndex(), role), QVariant());
    }
    QCOMPARE(model.flags(stale), Qt::ItemFlags()); // base class: out of range is invalid
}

void TestMonsterListModel::flagsAndSetData()
{
    fillNames({1001});
    ProbedMonsterListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.loadMonsters();
    for (int column = 0; column < 3; ++column) {
        const QModelIndex index = model.index(0, column);
        QCOMPARE(model.flags(index),
                 Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren);
        QVERIFY(!model.setData(index, 42, Qt::EditRole));
        QVERIFY(!model.setData(index, QStringLiteral("x"), Qt::DisplayRole));
    }
    QCOMPARE(model.flags(QModelIndex()), Qt::ItemFlags());
    QCOMPARE(model.data(model.index(0, 0)), QVariant(1001));
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
    MonsterDropConfig *config = model.configAt(row);
    QCOMPARE(config ? config->mValue : -1, configMonsterValue);
    QCOMPARE(model.hasDrops(row), hasDrops);
    if (config) {
        QCOMPARE(config, model.configFor(id));
        QVERIFY(config >= document.records.data() &&
                config < document.records.data() + document.records.size());
    }
}

void TestMonsterListModel::configForGuards()
{
    fillNames({1001});
    MonsterDropData document;
    document.records = {makeMonster(1001, 100, {3})};
    MonsterListModel model;
    model.loadMonsters();
    QCOMPARE(model.configFor(1001), nullptr); // no document yet
    model.setDropConfig(&document);
    QCOMPARE(model.configFor(1001), &document.records[0]);
    QCOMPARE(model.configFor(1002), nullptr);
    QCOMPARE(model.configFor(-1), nullptr);

    MonsterDropData empty;
    model.setDropConfig(&empty);
    QCOMPARE(model.configFor(1001), nullptr); // empty index
    QCOMPARE(model.configAt(0), nullptr);
    model.setDropConfig(nullptr);
    QCOMPARE(model.configFor(1001), nullptr);
    QCOMPARE(model.configAt(0), nullptr);
    QVERIFY(!model.hasDrops(0));
    QCOMPARE(model.data(model.index(0, 0), Qt::BackgroundRole), QVariant(QColor(200, 200, 200)));
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

void TestMonsterListModel::resetsOnLoadAndSetDropConfig()
{
    fillNames({1, 2});
    MonsterDropData document;
    MonsterListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy aboutToReset(&model, &QAbstractItemModel::modelAboutToBeReset);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.loadMonsters();
    QCOMPARE(reset.count(), 1);
    model.setDropConfig(&document);
    QCOMPARE(reset.count(), 2);
    model.setDropConfig(nullptr);
    QCOMPARE(reset.count(), 3);
    QCOMPARE(aboutToReset.count(), 3);
    QCOMPARE(changed.count(), 0);
}

void TestMonsterListModel::loadDebugLines()
{
    NameResolver::instance().monsterNames.insert(1203, QStringLiteral("冰霜巨人"));
    NameResolver::instance().monsterNames.insert(1001, QStringLiteral("赤焰狼王"));
    MonsterListModel model;
    DebugLineCounter counter;
    model.loadMonsters();
    QCOMPARE(DebugLineCounter::lines,
             QStringList({QStringLiteral("[MonsterListModel] 开始加载怪物列表"),
                          QStringLiteral("[MonsterListModel] 从NameResolver获取到 2 个怪物"),
                          QStringLiteral("[MonsterListModel] 前10个怪物ID:"),
                          QStringLiteral("   0 : 1001 - \"赤焰狼王\""),
                          QStringLiteral("   1 : 1203 - \"冰霜巨人\""),
                          QStringLiteral("[MonsterListModel] 怪物列表加载完成，共 2 个怪物")}));
}

void TestMonsterListModel::loadDebugLinesBoundedToTen()
{
    QList<int> ids;
    for (int i = 1; i <= 25; ++i)
        ids << i;
    fillNames(ids);
    MonsterListModel model;
    DebugLineCounter counter;
    model.loadMonsters();
    QCOMPARE(DebugLineCounter::lines.size(), 3 + 10 + 1);
    QCOMPARE(DebugLineCounter::lines.at(12), QStringLiteral("   9 : 10 - \"怪物10\""));
    QCOMPARE(DebugLineCounter::lines.last(),
             QStringLiteral("[MonsterListModel] 怪物列表加载完成，共 25 个怪物"));
}

void TestMonsterListModel::loadFromEmptyResolver()
{
    fillNames({1, 2});
    MonsterListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.loadMonsters();
    QCOMPARE(model.rowCount(), 2);
    NameResolver::instance().clear();
    DebugLineCounter counter;
    model.loadMonsters();
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.idAt(0), -1);
    QCOMPARE(DebugLineCounter::lines,
             QStringList({QStringLiteral("[MonsterListModel] 开始加载怪物列表"),
                          QStringLiteral("[MonsterListModel] 从NameResolver获取到 0 个怪物"),
                          QStringLiteral("[MonsterListModel] 怪物列表加载完成，共 0 个怪物")}));
}

void TestMonsterListModel::setDropConfigDebugLines()
{
    MonsterDropData document;
    for (int i = 0; i < 7; ++i)
        document.records << makeMonster(2000 + i, 10, QList<int>(i, 5));
    MonsterListModel model;
    DebugLineCounter counter;
    model.setDropConfig(&document);
    model.setDropConfig(nullptr);
    QCOMPARE(DebugLineCounter::lines,
             QStringList({QStringLiteral("[MonsterListModel] 设置掉落配置"),
                          QStringLiteral("[MonsterListModel] 掉落配置包含 7 个怪物"),
                          QStringLiteral("  怪物ID: 2000 有效掉包数: 0"),
                          QStringLiteral("  怪物ID: 2001 有效掉包数: 1"),
                          QStringLiteral("  怪物ID: 2002 有效掉包数: 2"),
                          QStringLiteral("  怪物ID: 2003 有效掉包数: 3"),
                          QStringLiteral("  怪物ID: 2004 有效掉包数: 4"),
                          QStringLiteral("[MonsterListModel] 设置掉落配置"),
                          QStringLiteral("[MonsterListModel] 掉落配置为空")}));
}

QTEST_GUILESS_MAIN(TestMonsterListModel)
#include "tst_monsterlistmodel.moc"
