#include "data/DropBoxContentParser.h"
#include "data/MonsterDropParser.h"
#include "data/NameResolver.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

// The shipped demo configuration is what a new user sees first: it must load,
// survive an unchanged save byte for byte, and show the cases the editor handles.
class DemoConfigTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanupTestCase();
    void unchangedSaveKeepsBytes_data();
    void unchangedSaveKeepsBytes();
    void dropFilesHoldTheUsualCases();
    void nameTablesResolveTheDropFiles();
    void filesAreUtf8WithLineFeeds_data();
    void filesAreUtf8WithLineFeeds();
};

namespace {

QString demoPath(const QString &name)
{
    return QDir(QStringLiteral(LOOTWRIGHT_DEMO_CONFIG)).filePath(name);
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable ") + path.toUtf8() + '>';
    return file.readAll();
}

} // namespace

void DemoConfigTest::init()
{
    NameResolver::instance().clear();
}

void DemoConfigTest::cleanupTestCase()
{
    NameResolver::instance().clear();
}

void DemoConfigTest::unchangedSaveKeepsBytes_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("monster drops") << QStringLiteral("MonsterDropBoxs.txt");
    QTest::newRow("box contents") << QStringLiteral("DropBoxContent.txt");
}

void DemoConfigTest::unchangedSaveKeepsBytes()
{
    QFETCH(QString, fileName);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = demoPath(fileName);
    const QString target = dir.filePath(fileName);
    QString error;
    if (fileName == QLatin1String("MonsterDropBoxs.txt")) {
        const MonsterDropParser parser(20);
        MonsterDropData data;
        QVERIFY2(parser.load(source, data, error), qPrintable(error));
        QVERIFY2(parser.save(target, data, error), qPrintable(error));
    } else {
        const DropBoxContentParser parser(100);
        DropBoxContentData data;
        QVERIFY2(parser.load(source, data, error), qPrintable(error));
        QVERIFY2(parser.save(target, data, error), qPrintable(error));
    }
    const QByteArray original = readBytes(source);
    QVERIFY(original.size() > 1000);
    QCOMPARE(readBytes(target), original);
}

void DemoConfigTest::dropFilesHoldTheUsualCases()
{
    QString error;
    MonsterDropData monsters;
    QVERIFY2(MonsterDropParser(20).load(demoPath(QStringLiteral("MonsterDropBoxs.txt")), monsters,
                                        error),
             qPrintable(error));
    DropBoxContentData boxes;
    QVERIFY2(DropBoxContentParser(100).load(demoPath(QStringLiteral("DropBoxContent.txt")), boxes,
                                            error),
             qPrintable(error));

    QVERIFY(monsters.records.size() >= 200);
    QVERIFY(boxes.boxes.size() >= 200);
    QVERIFY(boxes.commentBlock.startsWith(QLatin1Char('#')));

    QSet<int> boxIds;
    int zeroWeight = 0;
    for (const DropBoxConfig &box : std::as_const(boxes.boxes)) {
        QVERIFY2(!boxIds.contains(box.boxId), qPrintable(QString::number(box.boxId)));
        boxIds.insert(box.boxId);
        QCOMPARE(box.items.size(), 100);
        if (box.boxValue == 0)
            ++zeroWeight;
    }
    QVERIFY(zeroWeight >= 1);

    QHash<int, int> users;
    int teamDrops = 0;
    int missingSlots = 0;
    int zeroValue = 0;
    int withoutDrops = 0;
    for (const MonsterDropConfig &record : std::as_const(monsters.records)) {
        QCOMPARE(record.dropBoxIds.size(), 20);
        if (record.dropType == 1)
            ++teamDrops;
        if (record.mValue == 0)
            ++zeroValue;
        bool any = false;
        for (int id : record.dropBoxIds) {
            if (id < 1)
                continue;
            any = true;
            ++users[id];
            if (!boxIds.contains(id))
                ++missingSlots;
        }
        if (!any)
            ++withoutDrops;
    }
    QVERIFY(teamDrops >= 2);
    QVERIFY(missingSlots >= 1);
    QCOMPARE(zeroValue, 1);
    QCOMPARE(withoutDrops, 1);
    int shared = 0;
    for (auto it = users.cbegin(); it != users.cend(); ++it)
        if (it.value() > 1)
            ++shared;
    QVERIFY(shared >= 10);
}

void DemoConfigTest::nameTablesResolveTheDropFiles()
{
    NameResolver &names = NameResolver::instance();
    names.loadAll(QStringLiteral(LOOTWRIGHT_DEMO_CONFIG));
    QVERIFY(names.monsterNames.size() >= 200);
    QVERIFY(!names.commonItemNames.isEmpty());
    QVERIFY(!names.equipNames.isEmpty());
    QVERIFY(!names.gemNames.isEmpty());
    // The placeholder line with id 0 is skipped.
    QVERIFY(!names.monsterNames.contains(0));

    QString error;
    MonsterDropData monsters;
    QVERIFY(MonsterDropParser(20).load(demoPath(QStringLiteral("MonsterDropBoxs.txt")), monsters,
                                       error));
    QSet<int> dropIds;
    int unnamed = 0;
    for (const MonsterDropConfig &record : std::as_const(monsters.records)) {
        dropIds.insert(record.monsterId);
        if (names.monsterName(record.monsterId).isEmpty())
            ++unnamed;
    }
    QVERIFY(unnamed >= 1);
    int withoutDropLine = 0;
    for (auto it = names.monsterNames.cbegin(); it != names.monsterNames.cend(); ++it)
        if (!dropIds.contains(it.key()))
            ++withoutDropLine;
    QVERIFY(withoutDropLine >= 1);

    // Every box item has a name, but for the two ids a later client patch adds.
    DropBoxContentData boxes;
    QVERIFY(DropBoxContentParser(100).load(demoPath(QStringLiteral("DropBoxContent.txt")), boxes,
                                           error));
    QSet<int> unknownItems;
    for (const DropBoxConfig &box : std::as_const(boxes.boxes))
        for (const DropBoxItem &item : box.items)
            if (item.itemId >= 1 && names.itemName(item.itemId).isEmpty())
                unknownItems.insert(item.itemId);
    QCOMPARE(unknownItems, (QSet<int>{999001, 999002}));
}

void DemoConfigTest::filesAreUtf8WithLineFeeds_data()
{
    QTest::addColumn<QString>("fileName");
    for (const char *name : {"MonsterDropBoxs.txt", "DropBoxContent.txt", "MonsterAttrExTable.txt",
                             "CommonItem.txt", "EquipBase.txt", "GemInfo.txt"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void DemoConfigTest::filesAreUtf8WithLineFeeds()
{
    QFETCH(QString, fileName);
    const QByteArray bytes = readBytes(demoPath(fileName));
    QVERIFY(bytes.endsWith('\n'));
    QVERIFY(!bytes.contains('\r'));
    QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
    QVERIFY(QUtf8StringView(bytes).isValidUtf8());
    // Chinese text is present, so a wrong decoder would show.
    QVERIFY(QString::fromUtf8(bytes).contains(
        QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]"))));
}

QTEST_GUILESS_MAIN(DemoConfigTest)
#include "tst_democonfig.moc"
