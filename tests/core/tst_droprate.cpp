#include "data/DropConfig.h"
#include "rates/DropRate.h"

#include <QtTest>

class DropRateTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void textForms_data();
    void textForms();
    void slotRules();
};

void DropRateTest::textForms_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("weight");
    QTest::addColumn<double>("multiplier");
    QTest::addColumn<QString>("texts"); // the table's, the detail's and the field's
    QTest::newRow("tenth") << 100 << 1000 << 1.0 << "10.00% 10.0000% 10.0000";
    QTest::newRow("above 100 %") << 3 << 2 << 1.0 << "150.00% 150.0000% 150.0000";
    QTest::newRow("third") << 1 << 3 << 1.0 << "33.33% 33.3333% 33.3333";
    QTest::newRow("weight 0") << 100 << 0 << 1.0 << "N/A 0.0000% 0.0000";
    QTest::newRow("negative weight") << 100 << -5 << 1.0 << "N/A 0.0000% 0.0000";
    QTest::newRow("value 0") << 0 << 70 << 1.0 << "0.00% 0.0000% 0.0000";
    QTest::newRow("negative value") << -50 << 1000 << 1.0 << "-5.00% -5.0000% -5.0000";
    QTest::newRow("doubled") << 100 << 1000 << 2.0 << "20.00% 20.0000% 20.0000";
    QTest::newRow("int extremes") << 2147483647 << 1 << 1.0
                                  << "214748364700.00% 214748364700.0000% 214748364700.0000";
}

void DropRateTest::textForms()
{
    QFETCH(int, value);
    QFETCH(int, weight);
    QFETCH(double, multiplier);
    const QStringList texts{DropRate::tableText(value, weight, multiplier),
                            DropRate::detailText(value, weight, multiplier),
                            DropRate::fieldText(value, weight, multiplier)};
    QTEST(texts.join(u' '), "texts");
}

void DropRateTest::slotRules()
{
    MonsterDropConfig config;
    config.dropBoxIds = {7, -1, 7, 0, -5};
    QCOMPARE(DropSlots::validBoxCount(config), 2);

    DropBoxContentData data;
    DropBoxConfig box;
    box.boxId = -4;
    data.boxes.append(box);
    box.boxId = 12;
    box.items = {{5001, 1}, {0, -1}, {-1, -1}, {5002, 3}};
    data.boxes.append(box);
    box.boxId = 12;
    box.boxValue = 99;
    data.boxes.append(box);
    QCOMPARE(DropSlots::indexOfBox(data, 12), 1);
    QCOMPARE(DropSlots::findBox(data, 12)->boxValue, 0);
    QVERIFY(!DropSlots::findBox(data, 13));
    QCOMPARE(DropSlots::filledItemCount(data.boxes.at(1)), 2);
}

QTEST_APPLESS_MAIN(DropRateTest)
#include "tst_droprate.moc"
