#include "rates/KillSimulation.h"

#include "data/NameResolver.h"
#include "rates/DropRate.h"

#include <QCoreApplication>
#include <QMap>
#include <algorithm>
#include <cmath>
#include <random>

namespace {

constexpr double twoTo53 = 9007199254740992.0;
constexpr int powerCount = 62; // q^(2^61) is below every v for any q < 1

// u = (x >> 11) x 2^-53 < p exactly when (x >> 11) < ceil(p x 2^53).
quint64 thresholdOf(double chance)
{
    return quint64(std::ceil(chance * twoTo53));
}

double unitOf(quint64 x)
{
    return double(x >> 11) / twoTo53;
}

} // namespace

KillSimulation::KillSimulation(const MonsterDropConfig &record, const DropBoxContentData &boxes,
                               double multiplier)
    : monster(record.monsterId)
{
    QMap<int, int> itemIndexes; // item id -> index, filled once the ids are known
    QList<QMap<int, int>> rollItems;
    for (qsizetype slot = 0; slot < record.dropBoxIds.size(); ++slot) {
        const int boxId = record.dropBoxIds.at(slot);
        const DropBoxConfig *box =
            DropSlots::isUsedId(boxId) ? DropSlots::findBox(boxes, boxId) : nullptr;
        if (!box)
            continue;
        Roll roll;
        roll.slot = int(slot);
        roll.boxId = boxId;
        roll.boxValue = box->boxValue;
        roll.hasRate = DropRate::hasRate(box->boxValue);
        roll.rate =
            roll.hasRate ? DropRate::fraction(record.mValue, box->boxValue, multiplier) : 0.0;
        roll.chance = DropOdds::boundedRate(roll.rate);
        rollList.append(roll);
        thresholds.push_back(thresholdOf(roll.chance));
        QMap<int, int> copies;
        for (const DropBoxItem &item : box->items) {
            if (DropSlots::isUsedId(item.itemId)) {
                ++copies[item.itemId];
                itemIndexes.insert(item.itemId, 0);
            }
        }
        rollItems.append(copies);
    }
    for (auto it = itemIndexes.begin(); it != itemIndexes.end(); ++it) {
        it.value() = int(itemList.size());
        itemList.append(Item{it.key(), {}});
    }
    yields.resize(std::size_t(rollList.size()));
    for (qsizetype r = 0; r < rollList.size(); ++r) {
        const Roll &roll = rollList.at(r);
        const QMap<int, int> &copies = rollItems.at(r);
        for (auto it = copies.cbegin(); it != copies.cend(); ++it) {
            const int index = itemIndexes.value(it.key());
            yields[std::size_t(r)].push_back({index, it.value()});
            if (roll.hasRate)
                itemList[index].odds.addRoll(roll.rate, it.value());
            else
                itemList[index].odds.addUnratedRoll();
        }
    }
}

int KillSimulation::itemIndex(int itemId) const
{
    const auto found = std::lower_bound(itemList.cbegin(), itemList.cend(), itemId,
                                        [](const Item &item, int id) { return item.itemId < id; });
    return found != itemList.cend() && found->itemId == itemId ? int(found - itemList.cbegin())
                                                               : -1;
}

KillSimulation::Counts KillSimulation::run(qint64 kills, quint64 seed) const
{
    Counts counts;
    counts.kills = std::max<qint64>(0, kills);
    const std::size_t rollCount = thresholds.size();
    std::vector<qint64> drops(rollCount, 0);
    std::mt19937_64 generator(seed);
    for (qint64 k = 0; k < counts.kills; ++k) {
        for (std::size_t r = 0; r < rollCount; ++r)
            drops[r] += (generator() >> 11) < thresholds[r] ? 1 : 0;
    }
    counts.drops = QList<qint64>(drops.cbegin(), drops.cend());
    counts.copies = QList<qint64>(itemList.size(), 0);
    for (std::size_t r = 0; r < rollCount; ++r) {
        for (const Yield &yield : yields[r])
            counts.copies[yield.item] += drops[r] * yield.copies;
    }
    return counts;
}

KillSimulation::FirstDrops KillSimulation::firstDrops(int itemId, int players, quint64 seed) const
{
    FirstDrops result;
    result.itemId = itemId;
    result.players = std::max(0, players);
    result.bins = QList<qint64>(FirstDrops::binCount, 0);
    const int index = itemIndex(itemId);
    // The chance that a kill yields no copy, multiplied out in slot order.
    double miss = 1.0;
    for (std::size_t r = 0; index >= 0 && r < yields.size(); ++r) {
        for (const Yield &yield : yields[r]) {
            if (yield.item == index)
                miss *= 1.0 - rollList.at(qsizetype(r)).chance;
        }
    }
    if (index < 0 || !(miss < 1.0)) {
        result.never = result.players;
        return result;
    }
    const DropOdds::ItemOdds &odds = itemList.at(index).odds;
    result.expectedKills = 1.0 / odds.chancePerKill();
    result.binWidth =
        std::max<qint64>(1, qint64(std::ceil(odds.killsFor(0.99) / double(FirstDrops::binCount))));

    double powers[powerCount];
    powers[0] = miss;
    for (int j = 1; j < powerCount; ++j)
        powers[j] = powers[j - 1] * powers[j - 1];
    std::mt19937_64 generator(seed);
    std::vector<qint64> kills(std::size_t(result.players));
    double total = 0.0;
    for (qint64 &k : kills) {
        const double v = 1.0 - unitOf(generator());
        // The most kills that still miss, built from the highest power down.
        qint64 missed = 0;
        double product = 1.0;
        for (int j = powerCount - 1; j >= 0; --j) {
            const double next = product * powers[j];
            if (next > v) {
                product = next;
                missed += qint64(1) << j;
            }
        }
        k = missed + 1;
        total += double(k);
        const qint64 bin = (k - 1) / result.binWidth;
        if (bin < FirstDrops::binCount)
            ++result.bins[bin];
        else
            ++result.beyond;
    }
    if (!kills.empty()) {
        result.meanKills = total / double(kills.size());
        // The lower middle for an even count.
        const auto middle = kills.begin() + qsizetype(kills.size() - 1) / 2;
        std::nth_element(kills.begin(), middle, kills.end());
        result.medianKills = *middle;
    }
    return result;
}

QString KillSimulation::FirstDrops::binText(int bin) const
{
    const qint64 from = qint64(bin) * binWidth + 1;
    const qint64 to = (qint64(bin) + 1) * binWidth;
    return from == to ? QString::number(from)
                      : QStringLiteral("%1-%2").arg(QString::number(from), QString::number(to));
}

namespace KillSimulationTable {

namespace {

QString shareText(qint64 count, int players)
{
    return DropRate::fractionTableText(players > 0 ? double(count) / double(players) : 0.0);
}

} // namespace

QStringList rollHeader()
{
    return {QCoreApplication::translate("Lootwright", "槽位"),
            QCoreApplication::translate("Lootwright", "包裹ID"),
            QCoreApplication::translate("Lootwright", "包裹权值"),
            QCoreApplication::translate("Lootwright", "爆率"),
            QCoreApplication::translate("Lootwright", "期望次数"),
            QCoreApplication::translate("Lootwright", "模拟次数")};
}

QStringList rollCells(const KillSimulation::Roll &roll, qint64 kills, qint64 drops)
{
    return {QString::number(roll.slot + 1),
            QString::number(roll.boxId),
            QString::number(roll.boxValue),
            roll.hasRate ? DropRate::fractionTableText(roll.rate) : DropRate::notAvailableText,
            DropOdds::countText(roll.chance * double(kills)),
            QString::number(drops)};
}

QStringList itemHeader()
{
    return {QCoreApplication::translate("Lootwright", "物品ID"),
            QCoreApplication::translate("Lootwright", "物品名称"),
            QCoreApplication::translate("Lootwright", "合计爆率"),
            QStringLiteral("1/N"),
            QCoreApplication::translate("Lootwright", "期望数量"),
            QCoreApplication::translate("Lootwright", "模拟数量")};
}

QStringList itemCells(const KillSimulation::Item &item, const NameResolver &names, qint64 kills,
                      qint64 copies)
{
    return {QString::number(item.itemId),
            names.itemName(item.itemId),
            item.odds.rateText(),
            item.odds.oneInText(),
            DropOdds::countText(item.odds.expectedIn(kills)),
            QString::number(copies)};
}

QStringList firstDropHeader()
{
    return {QCoreApplication::translate("Lootwright", "首次掉落所需击杀"),
            QCoreApplication::translate("Lootwright", "玩家数"),
            QCoreApplication::translate("Lootwright", "占比")};
}

QList<QStringList> firstDropRows(const KillSimulation::FirstDrops &drops)
{
    QList<QStringList> rows;
    if (drops.never < drops.players) {
        for (int bin = 0; bin < drops.bins.size(); ++bin)
            rows.append({drops.binText(bin), QString::number(drops.bins.at(bin)),
                         shareText(drops.bins.at(bin), drops.players)});
    }
    if (drops.beyond > 0)
        rows.append({QCoreApplication::translate("Lootwright", "超过 %1")
                         .arg(drops.binWidth * drops.bins.size()),
                     QString::number(drops.beyond), shareText(drops.beyond, drops.players)});
    if (drops.never > 0)
        rows.append({QCoreApplication::translate("Lootwright", "从不掉落"),
                     QString::number(drops.never), shareText(drops.never, drops.players)});
    return rows;
}

QList<FirstDropBar> firstDropBars(const KillSimulation::FirstDrops &drops)
{
    QList<FirstDropBar> bars;
    if (drops.never < drops.players) {
        for (qsizetype bin = 0; bin < drops.bins.size(); ++bin)
            bars.append({QString::number((bin + 1) * drops.binWidth), drops.bins.at(bin)});
    }
    if (drops.beyond > 0)
        bars.append({QStringLiteral("> %1").arg(drops.binWidth * drops.bins.size()), drops.beyond});
    if (drops.never > 0)
        bars.append({QCoreApplication::translate("Lootwright", "从不"), drops.never});
    return bars;
}

QString firstDropSummary(const KillSimulation::FirstDrops &drops)
{
    if (drops.never > 0)
        return QCoreApplication::translate("Lootwright", "%1 名玩家：该物品每次击杀的掉落概率为 0")
            .arg(drops.players);
    return QCoreApplication::translate("Lootwright",
                                       "%1 名玩家：平均 %2 次（期望 %3 次），中位数 %4 次")
        .arg(QString::number(drops.players), DropOdds::countText(drops.meanKills),
             DropOdds::countText(drops.expectedKills), QString::number(drops.medianKills));
}

} // namespace KillSimulationTable
