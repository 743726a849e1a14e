#include "FailingDevice.h"
#include "TestSupport.h"
#include "data/NameResolver.h"
#include "data/TextScan.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

bool writeText(const QString &path, const QString &text)
{
    return TestSupport::writeBytes(path, text.toUtf8());
}

// A table line with the id in the first column and the name in column nameColumn (0-based).
QString itemLine(const QString &id, const QString &name, int nameColumn, int fields)
{
    QStringList columns;
    for (int i = 0; i < fields; ++i)
        columns.append(QStringLiteral("c%1").arg(i));
    columns[0] = id;
    if (nameColumn < fields)
        columns[nameColumn] = name;
    return columns.join(u'\t');
}

const QString header = QStringLiteral("ID\t名称\t其它\n# 表头第二行\n");

// The four tables of tests/data/names: the same table in all four forms.
const QString tables = QStringLiteral(LOOTWRIGHT_TEST_DATA "/names");

} // namespace

class NameResolverTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanupTestCase();
    void lookups_data();
    void lookups();
    void monsterTable();
    void itemTableColumns_data();
    void itemTableColumns();
    void itemTableOpenFailure();
    void missingFileKeepsOldMap();
    void missingDirectoryKeepsEverything();
    void crlfAndBom();
    void readErrorChangesNothing_data();
    void readErrorChangesNothing();
    void markUnderOtherSystemEncoding();
};

void NameResolverTest::init()
{
    NameResolver::instance().clear();
}

void NameResolverTest::cleanupTestCase()
{
    NameResolver::instance().clear();
}

void NameResolverTest::lookups_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("names"); // item name, equipment name, gem name
    QTest::newRow("common first") << 500 << "普通名|装备名|宝石名";
    QTest::newRow("equip before gem") << 600 << "装备六百|装备六百|宝石六百";
    QTest::newRow("gem only, trimmed") << 301 << "红宝石||红宝石";
    QTest::newRow("gem line of 7 fields skipped") << 302 << "||";
    QTest::newRow("later line replaces") << 100 << "回城卷轴（新）||";
    QTest::newRow("id 0 skipped") << 0 << "||";
    QTest::newRow("negative id skipped") << -4 << "||";
    QTest::newRow("blank name not stored") << 101 << "||";
    QTest::newRow("id trimmed of unicode blanks") << 102 << "全角空格编号||";
    QTest::newRow("longer equip line") << 700 << "屠龙刀|屠龙刀|";
    QTest::newRow("short equip line skipped") << 701 << "||";
    QTest::newRow("unknown") << 999999 << "||";
}

void NameResolverTest::lookups()
{
    QFETCH(int, id);
    NameResolver &resolver = NameResolver::instance();
    resolver.loadAll(tables);
    const QStringList names{resolver.itemName(id), resolver.equipName(id), resolver.gemName(id)};
    QTEST(names.join(u'|'), "names");
    QCOMPARE(resolver.commonItemNames.keys(), (QList<int>{100, 102, 500}));
    QCOMPARE(resolver.gemNames.keys(), (QList<int>{301, 500, 600}));
    QCOMPARE(resolver.equipNames.keys(), (QList<int>{500, 600, 700}));
}

void NameResolverTest::monsterTable()
{
    NameResolver &resolver = NameResolver::instance();
    resolver.monsterNames.insert(42, QStringLiteral("旧怪物"));
    resolver.monsterLevels.insert(42, 9);
    const QString path = tables + QStringLiteral("/MonsterAttrExTable.txt");
    QString error = QStringLiteral("untouched");
    QVERIFY(resolver.loadMonsterTable(path, error));
    QCOMPARE(error, QStringLiteral("untouched"));
    QCOMPARE(resolver.monsterNames.keys(), (QList<int>{1001, 1003, 1005}));
    QCOMPARE(resolver.monsterLevels.keys(), (QList<int>{1001, 1002, 1005}));
    QCOMPARE(resolver.monsterName(1001), QStringLiteral("赤焰狼王"));
    QCOMPARE(resolver.monsterLevel(1001), 35);
    QCOMPARE(resolver.monsterName(1002), QString());
    QCOMPARE(resolver.monsterLevel(1002), 12);
    QCOMPARE(resolver.monsterLevel(1003), 0);
    QCOMPARE(resolver.monsterLevel(1005), 40);
    QCOMPARE(resolver.monsterName(42), QString());
    QCOMPARE(resolver.monsterLevel(42), 0);
}

void NameResolverTest::itemTableColumns_data()
{
    QTest::addColumn<int>("idColumn");
    QTest::addColumn<int>("nameColumn");
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("stored");
    QTest::newRow("name before id") << 3 << 1 << "x\t名字\tx\t77" << true;
    QTest::newRow("exactly enough fields") << 0 << 2 << "77\tx\t名字" << true;
    QTest::newRow("one field short") << 0 << 3 << "77\tx\t名字" << false;
    QTest::newRow("empty fields count") << 0 << 3 << "77\t\t\t名字" << true;
    QTest::newRow("id out of range") << 0 << 1 << "2147483648\t名字" << false;
    QTest::newRow("id with sign and blanks") << 0 << 1 << " +77 \t名字" << true;
}

void NameResolverTest::itemTableColumns()
{
    QFETCH(int, idColumn);
    QFETCH(int, nameColumn);
    QFETCH(QString, line);
    QFETCH(bool, stored);
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("table.txt"));
    QVERIFY(writeText(path, QStringLiteral("77\t头一\t77\t77\n77\t头二\t77\t77\n") + line + '\n'));
    QMap<int, QString> map{{5, QStringLiteral("旧")}};
    QString error;
    QVERIFY(NameResolver::instance().loadItemTable(path, idColumn, nameColumn, map, error));
    if (stored)
        QCOMPARE(map, (QMap<int, QString>{{77, QStringLiteral("名字")}}));
    else
        QVERIFY(map.isEmpty());
}

void NameResolverTest::itemTableOpenFailure()
{
    QTemporaryDir temp;
    QMap<int, QString> map{{5, QStringLiteral("旧")}};
    QString error;
    const QString path = temp.filePath(QStringLiteral("missing.txt"));
    QVERIFY(!NameResolver::instance().loadItemTable(path, 0, 1, map, error));
    QCOMPARE(error, QStringLiteral("无法打开文件: %1").arg(path));
    QCOMPARE(map.value(5), QStringLiteral("旧"));

    // A directory cannot be read as a table either, also for root.
    NameResolver &resolver = NameResolver::instance();
    resolver.monsterNames.insert(1, QStringLiteral("旧"));
    QVERIFY(!resolver.loadMonsterTable(temp.path(), error));
    QCOMPARE(error, QStringLiteral("无法打开文件: %1").arg(temp.path()));
    QCOMPARE(resolver.monsterName(1), QStringLiteral("旧"));
}

void NameResolverTest::missingFileKeepsOldMap()
{
    NameResolver &resolver = NameResolver::instance();
    resolver.loadAll(tables);
    QCOMPARE(resolver.equipName(700), QStringLiteral("屠龙刀"));
    // A directory with only a new item table.
    QTemporaryDir temp;
    QVERIFY(writeText(temp.filePath(QStringLiteral("CommonItem.txt")),
                      header + itemLine("9", "新物品", 6, 7)));
    resolver.loadAll(temp.path());
    QCOMPARE(resolver.equipName(700), QStringLiteral("屠龙刀"));
    QCOMPARE(resolver.monsterName(1001), QStringLiteral("赤焰狼王"));
    QCOMPARE(resolver.commonItemNames.keys(), QList<int>{9});
    QCOMPARE(resolver.itemName(500), QStringLiteral("装备名"));
}

void NameResolverTest::missingDirectoryKeepsEverything()
{
    NameResolver &resolver = NameResolver::instance();
    resolver.loadAll(tables);
    resolver.loadAll(tables + QStringLiteral("/nowhere"));
    QCOMPARE(resolver.gemNames.size(), 3);
    QCOMPARE(resolver.commonItemNames.size(), 3);
    QCOMPARE(resolver.equipNames.size(), 3);
    QCOMPARE(resolver.monsterNames.size(), 3);
    QCOMPARE(resolver.monsterLevels.size(), 3);
}

void NameResolverTest::crlfAndBom()
{
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("CommonItem.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\xef\xbb\xbfh1\r\nh2\r\n7\tx\tx\tx\tx\tx\t\xe9\x87\x91\xe5\xb8\x81\r\n8\tx\tx\tx\tx"
               "\tx\tend\r");
    file.close();
    QMap<int, QString> map;
    QString error;
    QVERIFY(NameResolver::instance().loadItemTable(path, 0, 6, map, error));
    QCOMPARE(map, (QMap<int, QString>{{7, QStringLiteral("金币")}, {8, QStringLiteral("end")}}));
}

void NameResolverTest::readErrorChangesNothing_data()
{
    QTest::addColumn<bool>("monsters");
    QTest::addColumn<qint64>("failAfter");
    QTest::newRow("item table, first read") << false << qint64(0);
    QTest::newRow("item table, later line") << false << qint64(60);
    QTest::newRow("monster table, first read") << true << qint64(0);
    QTest::newRow("monster table, later line") << true << qint64(60);
}

void NameResolverTest::readErrorChangesNothing()
{
    QFETCH(bool, monsters);
    QFETCH(qint64, failAfter);
    NameResolver &resolver = NameResolver::instance();
    resolver.monsterNames.insert(1, QStringLiteral("旧"));
    resolver.monsterLevels.insert(1, 9);
    const QMap<int, QString> before{{5, QStringLiteral("旧")}};
    QMap<int, QString> map = before;
    const QByteArray table = header.toUtf8() + itemLine("7", "金币", 6, 7).toUtf8() + "\n" +
                             itemLine("8", "银币", 6, 7).toUtf8() + "\n";
    FailingDevice device(table, failAfter);
    QString error;
    QVERIFY(monsters ? !resolver.loadMonsterTable(device, error)
                     : !resolver.loadItemTable(device, 0, 6, map, error));
    QCOMPARE(error, QStringLiteral("读取文件失败: 输入/输出错误"));
    QCOMPARE(map, before);
    QCOMPARE(resolver.monsterNames, (QMap<int, QString>{{1, QStringLiteral("旧")}}));
    QCOMPARE(resolver.monsterLevels, (QMap<int, int>{{1, 9}}));

    // A file whose first read fails.
    QFile memory(QStringLiteral("/proc/self/mem"));
    if (memory.open(QIODevice::ReadOnly) && memory.read(1).isEmpty()) {
        const QString expected = QStringLiteral("读取文件失败: %1").arg(memory.errorString());
        QVERIFY(monsters ? !resolver.loadMonsterTable(memory.fileName(), error)
                         : !resolver.loadItemTable(memory.fileName(), 0, 6, map, error));
        QCOMPARE(error, expected);
        QCOMPARE(map, before);
        QCOMPARE(resolver.monsterNames.size(), 1);
    }
}

void NameResolverTest::markUnderOtherSystemEncoding()
{
    const TextScan::ScopedFileEncoding gb18030("GB18030");
    const QString table = header + itemLine("7", "金币", 6, 7) + u'\n';
    for (const QByteArray &content : {QByteArray(QStringEncoder("GB18030").encode(table)),
                                      QByteArray("\xef\xbb\xbf" + table.toUtf8())}) {
        QByteArray bytes = content;
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QMap<int, QString> map;
        QString error;
        QVERIFY(NameResolver::instance().loadItemTable(buffer, 0, 6, map, error));
        QCOMPARE(map, (QMap<int, QString>{{7, QStringLiteral("金币")}}));
    }
}

QTEST_GUILESS_MAIN(NameResolverTest)
#include "tst_nameresolver.moc"
