#include "EditFixtures.h"

#include "rates/KillSimulation.h"

#include <QtTest>
#include <cmath>

using namespace EditFixtures;

namespace {

// Slots: box 3 (20 %, items 5001 and twice 5002), box 8 (50 %, 5001), box 3 again, a box no
// document has, box 5 without a rate (5003).
KillSimulation fixture()
{
    const MonsterDropConfig record = padded(monster(1001, 100, {3, 8, 3, 9, 5}));
    const DropBoxContentData boxDoc =
        boxes({padded(box(3, 500, {5001, 5002, -1, 5002})), padded(box(8, 200, {5001})),
               padded(box(5, 0, {5003})), box(3, 1, {5003})});
    return KillSimulation(record, boxDoc, 1.0);
}

QString joined(const QList<qint64> &values)
{
    QStringList texts;
    for (const qint64 value : values)
        texts << QString::number(value);
    return texts.join(u',');
}

} // namespace

class KillSimulationTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void pinnedSeeds_data();
    void pinnedSeeds();
    void withinBounds();
};

void KillSimulationTest::pinnedSeeds_data()
{
    QTest::addColumn<quint64>("seed");
    QTest::addColumn<QString>("drops");     // per roll, 10 kills
    QTest::addColumn<QString>("copies");    // per item
    QTest::addColumn<QString>("firstDrop"); // item 5002, 8 players: "kills:players" per bin

    QTest::newRow("1") << quint64(1) << "1,5,4,0"
                       << "10,10,0"
                       << "1:5 2:2 6:1";
    QTest::newRow("2") << quint64(2) << "2,6,0,0"
                       << "8,4,0"
                       << "1:4 4:1 5:1 6:2";
    QTest::newRow("42") << quint64(42) << "1,7,3,0"
                        << "11,8,0"
                        << "1:2 2:2 3:1 4:2 6:1";
    QTest::newRow("largest") << quint64(18446744073709551615ull) << "4,1,1,0"
                             << "6,10,0"
                             << "1:3 2:3 3:1 7:1";
}

void KillSimulationTest::pinnedSeeds()
{
    QFETCH(quint64, seed);
    const KillSimulation simulation = fixture();
    QCOMPARE(simulation.rolls().size(), 4);
    QCOMPARE(simulation.items().size(), 3);
    const KillSimulation::Counts counts = simulation.run(10, seed);
    QTEST(joined(counts.drops), "drops");
    QTEST(joined(counts.copies), "copies");

    const KillSimulation::FirstDrops drops = simulation.firstDrops(5002, 8, seed);
    QStringList bins;
    for (int bin = 0; bin < drops.bins.size(); ++bin) {
        if (drops.bins.at(bin) > 0)
            bins << drops.binText(bin) + u':' + QString::number(drops.bins.at(bin));
    }
    QTEST(bins.join(u' '), "firstDrop");
    QCOMPARE(simulation.firstDrops(5003, 8, seed).never, 8);
}

void KillSimulationTest::withinBounds()
{
    const KillSimulation simulation = fixture();
    constexpr qint64 kills = 1000000;
    const KillSimulation::Counts counts = simulation.run(kills, 7);
    const auto near = [](double actual, double expected, double variance) {
        return std::abs(actual - expected) <= 5.0 * std::sqrt(variance) + 1e-9;
    };
    for (qsizetype r = 0; r < simulation.rolls().size(); ++r) {
        const double p = simulation.rolls().at(r).chance;
        QVERIFY(near(double(counts.drops.at(r)), kills * p, kills * p * (1 - p)));
    }
    // Copies of one box come together: 5002's variance is 2^2 per roll.
    const double itemVariances[] = {kills * (0.16 + 0.25 + 0.16), kills * 4 * (0.16 + 0.16), 0.0};
    for (qsizetype i = 0; i < simulation.items().size(); ++i)
        QVERIFY(near(double(counts.copies.at(i)), simulation.items().at(i).odds.expectedIn(kills),
                     itemVariances[i]));

    constexpr int players = 200000;
    const KillSimulation::FirstDrops drops = simulation.firstDrops(5001, players, 7);
    const double chance = 1.0 - 0.8 * 0.5 * 0.8;
    QCOMPARE(drops.expectedKills, 1.0 / chance);
    QVERIFY(near(drops.meanKills, 1.0 / chance, (1.0 - chance) / (chance * chance) / players));
    QVERIFY(near(double(drops.bins.at(0)), players * chance, players * chance * (1 - chance)));
}

QTEST_APPLESS_MAIN(KillSimulationTest)
#include "tst_killsimulation.moc"
