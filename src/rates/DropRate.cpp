#include "rates/DropRate.h"

#include <cmath>

namespace DropRate {

const QString notAvailableText = QStringLiteral("N/A");

QString tableText(int monsterValue, int boxWeight, double multiplier)
{
    if (!hasRate(boxWeight))
        return notAvailableText;
    // The same text as "%1%" filled by arg(p, 0, 'f', 2), without parsing a pattern.
    return QString::number(percent(monsterValue, boxWeight, multiplier), 'f', 2) + u'%';
}

QString detailText(int monsterValue, int boxWeight, double multiplier)
{
    return fieldText(monsterValue, boxWeight, multiplier) + QLatin1Char('%');
}

QString fieldText(int monsterValue, int boxWeight, double multiplier)
{
    return percentFieldText(percent(monsterValue, boxWeight, multiplier));
}

QString percentFieldText(double percentValue)
{
    return QString::number(percentValue, 'f', 4);
}

const QString noChanceText = QStringLiteral("—");

namespace {

bool hasPositiveRate(int monsterValue, int boxWeight, double multiplier)
{
    return hasRate(boxWeight) && fraction(monsterValue, boxWeight, multiplier) > 0.0;
}

} // namespace

qint64 oneInDenominator(int monsterValue, int boxWeight, double multiplier)
{
    if (!hasPositiveRate(monsterValue, boxWeight, multiplier))
        return 0;
    // W / V exactly as written when m is 1, so the halves round the way the numbers say.
    const double n = std::round(double(boxWeight) / (double(monsterValue) * multiplier));
    // A tiny multiplier can push N past every integer type.
    if (!(n < 9.0e18))
        return 0;
    return qMax<qint64>(1, qint64(n));
}

QString oneInText(int monsterValue, int boxWeight, double multiplier)
{
    const qint64 n = oneInDenominator(monsterValue, boxWeight, multiplier);
    return n > 0 ? QStringLiteral("1/%1").arg(n) : noChanceText;
}

double chanceInKills(int monsterValue, int boxWeight, double multiplier, int kills)
{
    // A negative monster value never drops anything.
    if (!hasPositiveRate(monsterValue, boxWeight, multiplier))
        return 0.0;
    const double p = fraction(monsterValue, boxWeight, multiplier);
    // Above 1 the formula would swing around zero; such a box drops on every kill.
    if (p >= 1.0)
        return 1.0;
    return 1.0 - std::pow(1.0 - p, kills);
}

QString chanceInKillsText(int monsterValue, int boxWeight, double multiplier, int kills)
{
    if (!hasRate(boxWeight))
        return noChanceText;
    return QStringLiteral("%1%").arg(
        chanceInKills(monsterValue, boxWeight, multiplier, kills) * 100.0, 0, 'f', 2);
}

} // namespace DropRate
