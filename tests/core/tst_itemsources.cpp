#include "EditFixtures.h"

#include "data/ItemSourceIndex.h"
#include "rates/DropRate.h"

#include <QtTest>

using namespace EditFixtures;

class ItemSourcesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void texts_data();
    void texts();
    void sources_data();
    void sources();
};

void ItemSourcesTest::texts_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("weight");
    QTest::addColumn<double>("multiplier");
    QTest::addColumn<QString>("texts"); // one in N, and the chance in 100 kills
    QTest::newRow("1 in 100") << 1 << 100 << 1.0 << "1/100 63.40%";
    QTest::newRow("N rounds down, chance down") << 3 << 1000 << 1.0 << "1/333 25.95%";
    QTest::newRow("N rounds up, chance up") << 3 << 2000 << 1.0 << "1/667 13.94%";
    QTest::newRow("half rounds up") << 2 << 5 << 1.0 << "1/3 100.00%";
    QTest::newRow("chance rounds up to 100") << 50 << 500 << 1.0 << "1/10 100.00%";
    QTest::newRow("tiny chance") << 1 << 1000000 << 1.0 << "1/1000000 0.01%";
    QTest::newRow("chance below a hundredth") << 1 << 100000000 << 1.0 << "1/100000000 0.00%";
    QTest::newRow("exactly 100 %") << 5 << 5 << 1.0 << "1/1 100.00%";
    QTest::newRow("above 100 %") << 3 << 1 << 1.0 << "1/1 100.00%";
    QTest::newRow("multiplier") << 1 << 100 << 2.0 << "1/50 86.74%";
    QTest::newRow("largest weight") << 1 << 2147483647 << 1.0 << "1/2147483647 0.00%";
    QTest::newRow("N beyond every integer") << 1 << 100 << 1e-300 << "— 0.00%";
    QTest::newRow("value 0") << 0 << 100 << 1.0 << "— 0.00%";
    QTest::newRow("negative value") << -5 << 100 << 1.0 << "— 0.00%";
    QTest::newRow("weight 0") << 100 << 0 << 1.0 << "— —";
    QTest::newRow("negative weight") << 100 << -5 << 1.0 << "— —";
}

void ItemSourcesTest::texts()
{
    QFETCH(int, value);
    QFETCH(int, weight);
    QFETCH(double, multiplier);
    const QString texts = DropRate::oneInText(value, weight, multiplier) + u' ' +
                          DropRate::chanceInKillsText(value, weight, multiplier, 100);
    QTEST(texts, "texts");
}

void ItemSourcesTest::sources_data()
{
    QTest::addColumn<int>("itemId");
    QTest::addColumn<int>("boxCount");
    QTest::addColumn<QStringList>("rows");

    // box|weight|shadowed|monster|slot|rate|1/N|chance
    QTest::newRow("two boxes of one monster, one box twice in its slots, shared box")
        << 7001 << 5
        << QStringList{"3|1000|0|1001|0|1.00%|1/100|63.40%",
                       "3|1000|0|1001|3|1.00%|1/100|63.40%",
                       "4|500|0|1001|2|2.00%|1/50|86.74%",
                       "4|500|0|1002|0|10.00%|1/10|100.00%",
                       "5|0|0|1003|0|N/A|—|—",
                       "6|100|0|-|-1|—|—|—",
                       "4|10|1|-|-1|—|—|—"};
    QTest::newRow("item twice in one box counts once")
        << 7002 << 1
        << QStringList{"3|1000|0|1001|0|1.00%|1/100|63.40%", "3|1000|0|1001|3|1.00%|1/100|63.40%"};
    QTest::newRow("no box holds it") << 7999 << 0 << QStringList{};
}

void ItemSourcesTest::sources()
{
    QFETCH(int, itemId);
    QFETCH(int, boxCount);
    QFETCH(QStringList, rows);
    const MonsterDropData monsterDoc =
        monsters({monster(1001, 10, {3, -1, 4, 3}), monster(1002, 50, {4}), monster(1003, 0, {5}),
                  monster(1004, 10, {9, 0})});
    const DropBoxContentData boxDoc =
        boxes({box(3, 1000, {7001, 7002, -1, 7001, 7002}), box(4, 500, {7001}), box(5, 0, {7001}),
               box(6, 100, {7001}), box(4, 10, {7001})});
    ItemSourceIndex index;
    index.rebuild(monsterDoc, boxDoc);

    QStringList actual;
    for (const ItemSourceIndex::Source &s : index.sources(itemId)) {
        QCOMPARE(s.boxId, boxDoc.boxes.at(s.boxIndex).boxId);
        actual << QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8")
                      .arg(QString::number(s.boxId), QString::number(s.boxValue),
                           QString::number(int(s.shadowed)),
                           s.hasMonster() ? QString::number(s.monsterId) : QStringLiteral("-"),
                           QString::number(s.slot), s.rateText(1.0), s.oneInText(1.0),
                           s.chanceText(1.0));
    }
    QCOMPARE(actual, rows);
    QCOMPARE(index.boxCount(itemId), boxCount);

    // The index holds copies: it outlives the documents it was built from, and a rebuild over
    // other documents forgets the old ones.
    index.rebuild(monsters({}), boxes({box(8, 10, {itemId})}));
    QCOMPARE(index.sources(itemId).size(), 1);
    QCOMPARE(index.sources(itemId).first().boxId, 8);
}

QTEST_APPLESS_MAIN(ItemSourcesTest)
#include "tst_itemsources.moc"
