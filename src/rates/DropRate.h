#pragma once

#include <QString>

// The one rule for drop rates: rate = monster value / box weight x multiplier.
// A weight below 1 has no rate.
namespace DropRate {

constexpr bool hasRate(int boxWeight)
{
    return boxWeight >= 1;
}

// The rate as a fraction (1.0 = 100 %). Only meaningful when hasRate(boxWeight).
inline double fraction(int monsterValue, int boxWeight, double multiplier)
{
    return double(monsterValue) / double(boxWeight) * multiplier;
}

// The rate in percent; 0 when the weight has no rate.
inline double percent(int monsterValue, int boxWeight, double multiplier)
{
    return hasRate(boxWeight) ? fraction(monsterValue, boxWeight, multiplier) * 100.0 : 0.0;
}

extern const QString notAvailableText; // "N/A"

// "12.50%" in the box list, item table, summary and HTML export; "N/A" without a rate.
QString tableText(int monsterValue, int boxWeight, double multiplier);
// "12.5000%" in the box detail form; "0.0000%" without a rate.
QString detailText(int monsterValue, int boxWeight, double multiplier);
// "12.5000" for the target field; "0.0000" without a rate.
QString fieldText(int monsterValue, int boxWeight, double multiplier);
// A percentage with four decimals and no sign, as in the target-rate log lines.
QString percentFieldText(double percentValue);

// The reverse lookup's forms.
extern const QString noChanceText; // "—"
// "1/N", N = W / (V x m) rounded to the nearest integer; a rate of 100 % or more gives "1/1";
// "—" when the rate is 0 or less or there is none (weight below 1).
QString oneInText(int monsterValue, int boxWeight, double multiplier);
// The N of oneInText, or 0 where it shows "—".
qint64 oneInDenominator(int monsterValue, int boxWeight, double multiplier);
// The chance that `kills` kills drop the box at least once, 1 - (1 - p)^kills, as a fraction.
// A rate of 100 % or more drops on every kill, so the chance is 1; a rate of 0 or less, or none,
// gives 0.
double chanceInKills(int monsterValue, int boxWeight, double multiplier, int kills);
// chanceInKills in percent with two decimals, "63.40%"; "—" for a weight below 1.
QString chanceInKillsText(int monsterValue, int boxWeight, double multiplier, int kills);

} // namespace DropRate
