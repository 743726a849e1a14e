#include "rates/DropOdds.h"

#include "rates/DropRate.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace DropOdds {

namespace {

constexpr double exactLimit = 9007199254740992.0; // 2^53

// log(1 - p) of a bounded rate: -infinity for a sure drop, 0 for none.
double logMissOf(double rate)
{
    const double p = boundedRate(rate);
    return p >= 1.0 ? -std::numeric_limits<double>::infinity() : std::log1p(-p);
}

// The least k with k x logMiss <= log(1 - chance), i.e. (1 - p)^k <= 1 - chance.
double killsForLogMiss(double logMiss, double chance)
{
    if (!(logMiss < 0.0) || !(chance > 0.0 && chance < 1.0))
        return 0.0;
    if (std::isinf(logMiss))
        return 1.0;
    const double target = std::log1p(-chance);
    double k = std::max(1.0, std::ceil(target / logMiss));
    if (!std::isfinite(k))
        return 0.0; // a rate too small for any count of kills
    if (k >= exactLimit)
        return k;
    // The quotient may round to the wrong side; the neighbours decide.
    while (k > 1.0 && (k - 1.0) * logMiss <= target)
        k -= 1.0;
    while (k * logMiss > target)
        k += 1.0;
    return k;
}

} // namespace

double boundedRate(double rate)
{
    if (!(rate > 0.0))
        return 0.0;
    return rate >= 1.0 ? 1.0 : rate;
}

double killsFor(double rate, double chance)
{
    return killsForLogMiss(logMissOf(rate), chance);
}

QString killsText(double kills)
{
    if (!(kills >= 1.0))
        return DropRate::noChanceText;
    // Whole numbers print faster as integers; beyond them the double's own digits.
    return kills < 9.0e18 ? QString::number(qint64(kills)) : QString::number(kills, 'f', 0);
}

QString countText(double count)
{
    return QString::number(count, 'f', 2);
}

void ItemOdds::addRoll(double rate, int copies)
{
    ++rolls;
    rated = true;
    logMiss += logMissOf(rate);
    expected += boundedRate(rate) * copies;
}

void ItemOdds::addBoxRoll(int monsterValue, int boxWeight, double multiplier, int copies)
{
    if (DropRate::hasRate(boxWeight))
        addRoll(DropRate::fraction(monsterValue, boxWeight, multiplier), copies);
    else
        addUnratedRoll();
}

double ItemOdds::chancePerKill() const
{
    return -std::expm1(logMiss);
}

QString ItemOdds::rateText() const
{
    return rated ? DropRate::fractionTableText(chancePerKill()) : DropRate::notAvailableText;
}

QString ItemOdds::oneInText() const
{
    return DropRate::fractionOneInText(chancePerKill());
}

double ItemOdds::killsFor(double chance) const
{
    return killsForLogMiss(logMiss, chance);
}

double ItemOdds::chanceIn(double kills) const
{
    if (kills <= 0.0 || logMiss == 0.0)
        return 0.0;
    return std::isinf(logMiss) ? 1.0 : -std::expm1(kills * logMiss);
}

QList<QPointF> chanceCurve(const ItemOdds &odds, double maxKills, int points)
{
    std::vector<double> kills;
    const double step = std::max(1.0, std::ceil(maxKills / std::max(1, points)));
    for (double k = 0.0; k < maxKills; k += step)
        kills.push_back(k);
    kills.push_back(maxKills);
    for (const double chance : chanceSteps) {
        const double k = odds.killsFor(chance);
        if (k >= 1.0 && k <= maxKills)
            kills.push_back(k);
    }
    std::sort(kills.begin(), kills.end());
    kills.erase(std::unique(kills.begin(), kills.end()), kills.end());
    QList<QPointF> curve;
    curve.reserve(qsizetype(kills.size()));
    for (const double k : kills)
        curve.append(QPointF(k, odds.chanceIn(k) * 100.0));
    return curve;
}

double chartKills(const QList<ItemOdds> &odds)
{
    double most = 10.0;
    for (const ItemOdds &item : odds)
        most = std::max(most, item.killsFor(chanceSteps[chanceStepCount - 1]));
    return most;
}

} // namespace DropOdds
