#include "rates/DropOdds.h"
#include "rates/DropRate.h"

#include <QtTest>

using DropOdds::chanceSteps;

class DropOddsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void killsForRate_data();
    void killsForRate();
    void itemOdds_data();
    void itemOdds();
};

void DropOddsTest::killsForRate_data()
{
    QTest::addColumn<double>("rate");
    QTest::addColumn<QStringList>("kills"); // for 50 %, 90 %, 99 %

    QTest::newRow("100 %") << 1.0 << QStringList{"1", "1", "1"};
    QTest::newRow("above 100 %") << 1.5 << QStringList{"1", "1", "1"};
    QTest::newRow("half, 50 % on the boundary") << 0.5 << QStringList{"1", "4", "7"};
    QTest::newRow("tenth") << 0.1 << QStringList{"7", "22", "44"};
    QTest::newRow("1 in 10^9") << 1e-9 << QStringList{"693147181", "2302585092", "4605170184"};
    QTest::newRow("largest weight")
        << 1.0 / 2147483647.0 << QStringList{"1488522235", "4944763832", "9889527664"};
    QTest::newRow("1 in 10^13") << 1e-13
                                << QStringList{"6931471805600", "23025850929940", "46051701859879"};
    QTest::newRow("0") << 0.0 << QStringList{"—", "—", "—"};
    QTest::newRow("negative") << -0.2 << QStringList{"—", "—", "—"};
    QTest::newRow("smallest double") << 5e-324 << QStringList{"—", "—", "—"};
}

void DropOddsTest::killsForRate()
{
    QFETCH(double, rate);
    QFETCH(QStringList, kills);
    for (int i = 0; i < DropOdds::chanceStepCount; ++i)
        QCOMPARE(DropOdds::killsText(DropOdds::killsFor(rate, chanceSteps[i])), kills.at(i));
}

void DropOddsTest::itemOdds_data()
{
    QTest::addColumn<QList<double>>("rates"); // one roll each; NaN: a box without a rate
    QTest::addColumn<QList<int>>("copies");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("oneIn");
    QTest::addColumn<QString>("kills90");
    QTest::addColumn<QString>("expectedIn10");

    const double na = std::nan("");
    QTest::newRow("two boxes of one monster")
        << QList<double>{0.5, 0.5} << QList<int>{1, 1} << "75.00%"
        << "1/1"
        << "2"
        << "10.00";
    QTest::newRow("twice in one box: one roll, two copies")
        << QList<double>{0.1} << QList<int>{2} << "10.00%"
        << "1/10"
        << "22"
        << "2.00";
    QTest::newRow("a box named twice rolls twice")
        << QList<double>{0.1, 0.1} << QList<int>{1, 1} << "19.00%"
        << "1/5"
        << "11"
        << "2.00";
    QTest::newRow("capped above 100 %") << QList<double>{3.0, 0.2} << QList<int>{1, 1} << "100.00%"
                                        << "1/1"
                                        << "1"
                                        << "12.00";
    QTest::newRow("without a rate beside a rate")
        << QList<double>{na, 0.1} << QList<int>{1, 1} << "10.00%"
        << "1/10"
        << "22"
        << "1.00";
    QTest::newRow("only without a rate") << QList<double>{na} << QList<int>{1} << "N/A"
                                         << "—"
                                         << "—"
                                         << "0.00";
    QTest::newRow("tiny rates add up") << QList<double>{1e-12, 1e-12} << QList<int>{1, 1} << "0.00%"
                                       << "1/500000000000"
                                       << "1151292546497"
                                       << "0.00";
}

void DropOddsTest::itemOdds()
{
    QFETCH(QList<double>, rates);
    QFETCH(QList<int>, copies);
    DropOdds::ItemOdds odds;
    for (qsizetype i = 0; i < rates.size(); ++i) {
        if (std::isnan(rates.at(i)))
            odds.addUnratedRoll();
        else
            odds.addRoll(rates.at(i), copies.at(i));
    }
    QTEST(odds.rateText(), "rate");
    QTEST(odds.oneInText(), "oneIn");
    QTEST(DropOdds::killsText(odds.killsFor(0.9)), "kills90");
    QTEST(DropOdds::countText(odds.expectedIn(10)), "expectedIn10");
}

QTEST_APPLESS_MAIN(DropOddsTest)
#include "tst_dropodds.moc"
