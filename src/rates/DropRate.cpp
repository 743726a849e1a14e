#include "rates/DropRate.h"

namespace DropRate {

const QString notAvailableText = QStringLiteral("N/A");

QString tableText(int monsterValue, int boxWeight, double multiplier)
{
    if (!hasRate(boxWeight))
        return notAvailableText;
    return QStringLiteral("%1%").arg(percent(monsterValue, boxWeight, multiplier), 0, 'f', 2);
}

QString exportText(int monsterValue, int boxWeight, double multiplier)
{
    if (!hasRate(boxWeight))
        return notAvailableText;
    return QString::number(percent(monsterValue, boxWeight, multiplier), 'f', 2)
           + QLatin1Char('%');
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

} // namespace DropRate
