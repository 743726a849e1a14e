#pragma once

#include <QList>
#include <QPointF>
#include <QString>
#include <QtGlobal>

// What rates mean over many kills.
//
// Every box a monster names rolls on its own, once per slot naming it (a box named twice rolls
// twice), with the monster's rate for it; a box that drops yields all of its items. For one item:
// - its chance per kill counts every roll of a box holding it, 1 - prod(1 - p_i). Several copies
//   of the item in one box ride on the same roll, so they do not raise the chance;
// - its expected count counts every copy, N x sum(p_i x copies_i).
// A roll drops at most once: a rate above 1 counts as 1, a rate of 0 or less (or NaN) as 0, and a
// box without a rate (weight below 1) never drops.
namespace DropOdds {

// The chances the tables give kills for: 50 %, 90 % and 99 %.
constexpr double chanceSteps[] = {0.5, 0.9, 0.99};
constexpr int chanceStepCount = 3;

// The rate as a chance per roll, in [0, 1].
double boundedRate(double rate);

// The least k with 1 - (1 - p)^k >= chance (0 < chance < 1) for a chance per kill p: 1 when
// p >= 1, 0 when p has no chance. A whole number; exact while the logarithms' rounding (about
// 1e-16 of k) stays below one kill, i.e. up to about 10^14 kills.
double killsFor(double rate, double chance);
// "123"; "—" without a chance.
QString killsText(double kills);

// A whole number of kills or copies with two decimals, as expected counts are shown.
QString countText(double count);

// One item's odds for one monster, built roll by roll.
class ItemOdds
{
public:
    // A slot naming a box with a rate that holds the item `copies` times.
    void addRoll(double rate, int copies = 1);
    // A slot naming a box without a rate: it never drops.
    void addUnratedRoll() { ++rolls; }
    // A slot naming a box of this weight: a roll at the monster's rate for it, or an unrated
    // roll when the weight gives no rate.
    void addBoxRoll(int monsterValue, int boxWeight, double multiplier, int copies = 1);

    int rollCount() const { return rolls; }
    // Whether any roll has a rate; without one the item's rate is "N/A".
    bool hasRate() const { return rated; }
    double chancePerKill() const;
    // The least number of kills for this chance of at least one copy; 0 without a chance.
    double killsFor(double chance) const;
    // The chance of at least one copy in `kills` kills.
    double chanceIn(double kills) const;
    // The chance per kill as the tables show a rate ("N/A" without a rate), and "1/N".
    QString rateText() const;
    QString oneInText() const;
    double expectedPerKill() const { return expected; }
    double expectedIn(qint64 kills) const { return expected * double(kills); }

private:
    // log of the chance that a kill yields no copy: sums keep tiny rates exact.
    double logMiss = 0.0;
    double expected = 0.0;
    int rolls = 0;
    bool rated = false;
};

// The chance of at least one copy in percent against whole kills from 0 to maxKills, at about
// `points` evenly spaced kill counts plus the kills for each chance step, for a chart.
QList<QPointF> chanceCurve(const ItemOdds &odds, double maxKills, int points);
// The kills a chart of these odds spans: the most kills any of them needs for 99 %, at least 10.
double chartKills(const QList<ItemOdds> &odds);

} // namespace DropOdds
