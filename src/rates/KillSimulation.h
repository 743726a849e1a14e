#pragma once

#include "data/DropConfig.h"
#include "rates/DropOdds.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <vector>

class NameResolver;

// A seeded run of kills of one monster, the same on every machine for the same seed.
//
// Generator: std::mt19937_64 constructed from the seed S. A draw is one 64-bit output x, read as
// u = (x >> 11) x 2^-53, in [0, 1); no standard distribution is used, their output differs
// between standard libraries.
//
// Kills: for kill 1 to N, for every slot of the monster in slot order that names an existing box
// (the first box of its id), one draw; the box drops when u < p, p being the slot's rate with the
// multiplier, capped at 1 (a box without a rate has p = 0 and still takes its draw). A box that
// drops yields every item slot it holds, so an item twice in it counts twice.
//
// Players: a second generator, also constructed from S, one draw per player in order: with
// v = 1 - u in (0, 1] and q the chance that a kill yields no copy of the item (the product of
// 1 - p over the slots whose box holds it), the player's first copy comes with the least kill K
// for which q^K <= v, q^K being the product of the squares q^(2^j) taken from the highest j down.
// That is the same distribution as drawing kill by kill, at one draw per player however rare the
// item is.
class KillSimulation
{
public:
    // One slot naming an existing box: one roll per kill.
    struct Roll
    {
        int slot = 0; // position in dropBoxIds
        int boxId = 0;
        int boxValue = 0;
        bool hasRate = false;
        double rate = 0.0; // the rate with the multiplier, uncapped, for its text
        double chance = 0.0;
    };
    // An item one of the rolls yields.
    struct Item
    {
        int itemId = 0;
        DropOdds::ItemOdds odds; // per kill
    };

    KillSimulation(const MonsterDropConfig &monster, const DropBoxContentData &boxes,
                   double multiplier);

    int monsterId() const { return monster; }
    const QList<Roll> &rolls() const { return rollList; }
    const QList<Item> &items() const { return itemList; } // ascending item id
    int itemIndex(int itemId) const;                      // -1 when no roll yields it

    struct Counts
    {
        qint64 kills = 0;
        QList<qint64> drops;  // per roll
        QList<qint64> copies; // per item
    };
    Counts run(qint64 kills, quint64 seed) const;

    // Kills until the first copy of one item, over a number of players, in bins of equal width
    // that reach the kills for a 99 % chance.
    struct FirstDrops
    {
        static constexpr int binCount = 20;
        int itemId = 0;
        int players = 0;
        qint64 binWidth = 1;
        QList<qint64> bins; // bin i: kills i x width + 1 to (i + 1) x width
        qint64 beyond = 0;  // more kills than the last bin
        qint64 never = 0;   // the item has no chance
        double meanKills = 0.0;
        qint64 medianKills = 0;
        double expectedKills = 0.0; // 1 / chance per kill; 0 without a chance

        QString binText(int bin) const; // "1-5"
    };
    FirstDrops firstDrops(int itemId, int players, quint64 seed) const;

private:
    struct Yield
    {
        int item; // index into itemList
        int copies;
    };

    int monster = 0;
    QList<Roll> rollList;
    QList<Item> itemList;
    std::vector<quint64> thresholds;        // per roll: drops when (x >> 11) < threshold
    std::vector<std::vector<Yield>> yields; // per roll
};

// The rows the window and the command line show, with the editor's text forms.
namespace KillSimulationTable {

QStringList rollHeader();
QStringList rollCells(const KillSimulation::Roll &roll, qint64 kills, qint64 drops);
QStringList itemHeader();
QStringList itemCells(const KillSimulation::Item &item, const NameResolver &names, qint64 kills,
                      qint64 copies);
QStringList firstDropHeader();
// The bins, then "more than" and "never" rows when they hold players.
QList<QStringList> firstDropRows(const KillSimulation::FirstDrops &drops);
// The rows as a chart's bars: a short name for the axis (each bin's last kill count, "> N",
// "从不") and the players in it.
struct FirstDropBar
{
    QString label;
    qint64 players = 0;
};
QList<FirstDropBar> firstDropBars(const KillSimulation::FirstDrops &drops);
// "1000 名玩家：平均 4.97 次（期望 5.00 次），中位数 4 次".
QString firstDropSummary(const KillSimulation::FirstDrops &drops);

} // namespace KillSimulationTable
