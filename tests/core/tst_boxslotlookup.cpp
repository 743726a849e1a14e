#include "EditFixtures.h"
#include "data/BoxSlotLookup.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace EditFixtures;

class TestBoxSlotLookup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void resolve_data();
    void resolve();
    void matchesFirstBoxSearchOnRandomDocuments();
};

void TestBoxSlotLookup::resolve_data()
{
    QTest::addColumn<QList<int>>("boxIds");
    QTest::addColumn<QList<int>>("slots");
    QTest::addColumn<QList<int>>("positions");

    QTest::newRow("empty document") << QList<int>{} << QList<int>{3, -1} << QList<int>{-1, -1};
    QTest::newRow("no slots") << QList<int>{3} << QList<int>{} << QList<int>{};
    QTest::newRow("empty slots") << QList<int>{0, -1, 3} << QList<int>{0, -1, INT_MIN}
                                 << QList<int>{-1, -1, -1};
    QTest::newRow("first of duplicates")
        << QList<int>{7, 3, 7, 3} << QList<int>{3, 7} << QList<int>{1, 0};
    QTest::newRow("repeated slot")
        << QList<int>{5, 12} << QList<int>{12, -1, 12} << QList<int>{1, -1, 1};
    QTest::newRow("missing id") << QList<int>{5, 12} << QList<int>{404, 5, 13}
                                << QList<int>{-1, 0, -1};
    QTest::newRow("unsorted document, extreme ids")
        << QList<int>{INT_MAX, 1, 900, 2} << QList<int>{2, INT_MAX, 1, 901}
        << QList<int>{3, 0, 1, -1};
}

void TestBoxSlotLookup::resolve()
{
    QFETCH(QList<int>, boxIds);
    QFETCH(QList<int>, slots);
    QFETCH(QList<int>, positions);
    DropBoxContentData document;
    for (int id : boxIds)
        document.boxes.append(box(id, 1));
    const auto result = BoxSlotLookup::resolve(document, slots);
    QCOMPARE(QList<int>(result.cbegin(), result.cend()), positions);
}

void TestBoxSlotLookup::matchesFirstBoxSearchOnRandomDocuments()
{
    QRandomGenerator random(20261206);
    for (int round = 0; round < 200; ++round) {
        DropBoxContentData document;
        const int boxCount = random.bounded(0, 60);
        for (int i = 0; i < boxCount; ++i)
            document.boxes.append(box(random.bounded(-3, 40), 1));
        QList<int> slots;
        for (int i = 0; i < 20; ++i)
            slots.append(random.bounded(-3, 45));
        const auto result = BoxSlotLookup::resolve(document, slots);
        QCOMPARE(result.size(), slots.size());
        for (int i = 0; i < slots.size(); ++i) {
            const int expected = DropSlots::isUsedId(slots.at(i))
                                     ? DropSlots::indexOfBox(document, slots.at(i))
                                     : -1;
            QCOMPARE(result.at(i), expected);
        }
    }
}

QTEST_APPLESS_MAIN(TestBoxSlotLookup)
#include "tst_boxslotlookup.moc"
