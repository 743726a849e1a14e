#include "TestSupport.h"
#include "data/DropBoxContentParser.h"
#include "data/MonsterDropParser.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

// The shipped demo configuration is what a new user sees first: it must load, survive an
// unchanged save byte for byte, and show the cases the editor handles.
class DemoConfigTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void unchangedSaveKeepsBytes_data();
    void unchangedSaveKeepsBytes();
    void dropFilesHoldTheUsualCases();
};

using TestSupport::readBytes;

namespace {

QString demoPath(const QString &name)
{
    return QDir(QStringLiteral(LOOTWRIGHT_DEMO_CONFIG)).filePath(name);
}

} // namespace

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

QTEST_GUILESS_MAIN(DemoConfigTest)
#include "tst_democonfig.moc"
