#include "rates/DropOdds.h"

#include "rates/DropRate.h"

#include <algorithm>
#include <cmath>
#include <limits>

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
    return kills >= 1.0 ? QString::number(kills, 'f', 0) : DropRate::noChanceText;
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

} // namespace DropOdds
