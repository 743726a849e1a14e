#include "data/ItemSourceIndex.h"

#include "data/NameResolver.h"
#include "rates/DropRate.h"

#include <QCoreApplication>
#include <QHash>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// (item id, box position) pairs sorted by item id, keeping box order for equal ids: two stable
// counting passes over 16 bits each, much faster than a comparison sort of millions of pairs.
void sortByItem(std::vector<std::uint64_t> &pairs)
{
    std::vector<std::uint64_t> scratch(pairs.size());
    for (int shift = 32; shift < 64; shift += 16) {
        std::vector<std::size_t> counts(65537, 0);
        for (const std::uint64_t pair : pairs)
            ++counts[((pair >> shift) & 0xFFFF) + 1];
        for (std::size_t i = 1; i < counts.size(); ++i)
            counts[i] += counts[i - 1];
        for (const std::uint64_t pair : pairs)
            scratch[counts[(pair >> shift) & 0xFFFF]++] = pair;
        pairs.swap(scratch);
    }
}

} // namespace

ItemSourceIndex::ItemSourceIndex(const MonsterDropData &monsters, const DropBoxContentData &boxes)
{
    rebuild(monsters, boxes);
}

void ItemSourceIndex::clear()
{
    boxEntries.clear();
    itemKeys.clear();
    itemStart.clear();
    itemBoxes.clear();
    namerStart.clear();
    namers.clear();
}

void ItemSourceIndex::rebuild(const MonsterDropData &monsters, const DropBoxContentData &boxes)
{
    clear();

    // Boxes, and the first box of every id: the one a monster slot resolves to.
    const qsizetype boxTotal = boxes.boxes.size();
    boxEntries.reserve(std::size_t(boxTotal));
    QHash<int, int> firstOfId;
    firstOfId.reserve(boxTotal);
    std::size_t filled = 0;
    for (qsizetype i = 0; i < boxTotal; ++i) {
        const DropBoxConfig &box = boxes.boxes.at(i);
        const bool shadowed = firstOfId.contains(box.boxId);
        if (!shadowed)
            firstOfId.insert(box.boxId, int(i));
        boxEntries.push_back({box.boxId, box.boxValue, shadowed});
        filled += std::size_t(DropSlots::filledItemCount(box));
    }

    // Item -> boxes. Item ids are 1 or more, so they sort as unsigned numbers.
    std::vector<std::uint64_t> pairs;
    pairs.reserve(filled);
    for (qsizetype i = 0; i < boxTotal; ++i) {
        for (const DropBoxItem &item : boxes.boxes.at(i).items) {
            if (DropSlots::isUsedId(item.itemId))
                pairs.push_back(std::uint64_t(std::uint32_t(item.itemId)) << 32 | std::uint32_t(i));
        }
    }
    sortByItem(pairs);
    itemBoxes.reserve(pairs.size());
    std::uint64_t previous = ~std::uint64_t(0);
    for (const std::uint64_t pair : pairs) {
        if (pair == previous)
            continue; // the item twice in one box
        const int itemId = int(pair >> 32);
        if (itemKeys.empty() || itemKeys.back() != itemId) {
            itemKeys.push_back(itemId);
            itemStart.push_back(qsizetype(itemBoxes.size()));
        }
        itemBoxes.push_back(int(pair & 0xFFFFFFFFu));
        previous = pair;
    }
    itemStart.push_back(qsizetype(itemBoxes.size()));

    // Box -> monster slots naming it, in document order.
    std::vector<int> resolved; // box position per used slot that names an existing box
    std::vector<qsizetype> counts(boxEntries.size() + 1, 0);
    for (const MonsterDropConfig &record : monsters.records) {
        for (const int boxId : record.dropBoxIds) {
            if (!DropSlots::isUsedId(boxId))
                continue;
            const auto found = firstOfId.constFind(boxId);
            const int position = found == firstOfId.cend() ? -1 : found.value();
            resolved.push_back(position);
            if (position >= 0)
                ++counts[std::size_t(position) + 1];
        }
    }
    for (std::size_t i = 1; i < counts.size(); ++i)
        counts[i] += counts[i - 1];
    namerStart = counts;
    namers.resize(std::size_t(counts.back()));
    std::size_t next = 0;
    for (qsizetype r = 0; r < monsters.records.size(); ++r) {
        const MonsterDropConfig &record = monsters.records.at(r);
        for (qsizetype slot = 0; slot < record.dropBoxIds.size(); ++slot) {
            if (!DropSlots::isUsedId(record.dropBoxIds.at(slot)))
                continue;
            const int position = resolved[next++];
            if (position >= 0)
                namers[std::size_t(counts[std::size_t(position)]++)] = {int(r), record.monsterId,
                                                                        record.mValue, int(slot)};
        }
    }
}

qsizetype ItemSourceIndex::itemPosition(int itemId) const
{
    const auto found = std::lower_bound(itemKeys.cbegin(), itemKeys.cend(), itemId);
    if (found == itemKeys.cend() || *found != itemId)
        return -1;
    return found - itemKeys.cbegin();
}

int ItemSourceIndex::boxCount(int itemId) const
{
    const qsizetype position = itemPosition(itemId);
    return position < 0 ? 0 : int(itemStart[position + 1] - itemStart[position]);
}

QList<ItemSourceIndex::Source> ItemSourceIndex::sources(int itemId) const
{
    QList<Source> result;
    const qsizetype position = itemPosition(itemId);
    if (position < 0)
        return result;
    for (qsizetype i = itemStart[position]; i < itemStart[position + 1]; ++i) {
        const int boxPosition = itemBoxes[std::size_t(i)];
        const Box &box = boxEntries[std::size_t(boxPosition)];
        Source source;
        source.boxIndex = boxPosition;
        source.boxId = box.boxId;
        source.boxValue = box.boxValue;
        source.shadowed = box.shadowed;
        const qsizetype first = namerStart[std::size_t(boxPosition)];
        const qsizetype last = namerStart[std::size_t(boxPosition) + 1];
        if (first == last) {
            result.append(source);
            continue;
        }
        for (qsizetype n = first; n < last; ++n) {
            const Namer &namer = namers[std::size_t(n)];
            source.recordIndex = namer.recordIndex;
            source.monsterId = namer.monsterId;
            source.mValue = namer.mValue;
            source.slot = namer.slot;
            result.append(source);
        }
    }
    return result;
}

double ItemSourceIndex::Source::sortRate(double multiplier) const
{
    if (!hasMonster() || !DropRate::hasRate(boxValue))
        return -std::numeric_limits<double>::infinity();
    return DropRate::fraction(mValue, boxValue, multiplier);
}

QString ItemSourceIndex::Source::rateText(double multiplier) const
{
    return hasMonster() ? DropRate::tableText(mValue, boxValue, multiplier)
                        : DropRate::noChanceText;
}

QString ItemSourceIndex::Source::oneInText(double multiplier) const
{
    return hasMonster() ? DropRate::oneInText(mValue, boxValue, multiplier)
                        : DropRate::noChanceText;
}

QString ItemSourceIndex::Source::chanceText(double multiplier) const
{
    return hasMonster() ? DropRate::chanceInKillsText(mValue, boxValue, multiplier, chanceKills)
                        : DropRate::noChanceText;
}

double ItemSourceIndex::Source::killRate(double multiplier) const
{
    if (!hasMonster() || !DropRate::hasRate(boxValue))
        return std::numeric_limits<double>::quiet_NaN();
    return DropRate::fraction(mValue, boxValue, multiplier);
}

QList<ItemSourceIndex::MonsterTotal> ItemSourceIndex::totals(const QList<Source> &sources,
                                                             double multiplier)
{
    // A monster's sources by slot, monsters in document order.
    std::vector<const Source *> order;
    order.reserve(std::size_t(sources.size()));
    for (const Source &source : sources) {
        if (source.hasMonster())
            order.push_back(&source);
    }
    std::sort(order.begin(), order.end(), [](const Source *a, const Source *b) {
        return a->recordIndex != b->recordIndex ? a->recordIndex < b->recordIndex
                                                : a->slot < b->slot;
    });
    QList<MonsterTotal> result;
    for (const Source *source : order) {
        if (result.isEmpty() || result.constLast().recordIndex != source->recordIndex) {
            MonsterTotal total;
            total.recordIndex = source->recordIndex;
            total.monsterId = source->monsterId;
            total.mValue = source->mValue;
            result.append(total);
        }
        MonsterTotal &total = result.last();
        total.slots.append(source->slot);
        total.boxIds.append(source->boxId);
        total.odds.addBoxRoll(source->mValue, source->boxValue, multiplier);
    }
    return result;
}

QList<ItemSourceIndex::MonsterTotal> ItemSourceIndex::bestTotals(QList<MonsterTotal> totals,
                                                                 int count)
{
    totals.removeIf([](const MonsterTotal &total) { return total.odds.chancePerKill() <= 0.0; });
    std::stable_sort(totals.begin(), totals.end(),
                     [](const MonsterTotal &a, const MonsterTotal &b) {
                         return a.odds.chancePerKill() > b.odds.chancePerKill();
                     });
    return totals.mid(0, count);
}

namespace ItemSourceTable {

namespace {

// The kills columns of a rate as a fraction (NaN without one).
QString killsCell(double rate, int column)
{
    return std::isnan(rate) ? DropRate::noChanceText
                            : DropOdds::killsText(DropOdds::killsFor(rate, killsChance(column)));
}

} // namespace

double killsChance(int column)
{
    switch (column) {
    case Kills50Column:
        return DropOdds::chanceSteps[0];
    case Kills90Column:
        return DropOdds::chanceSteps[1];
    case Kills99Column:
        return DropOdds::chanceSteps[2];
    }
    return 0.0;
}

QString headerText(int column)
{
    switch (column) {
    case MonsterIdColumn:
        return QCoreApplication::translate("Lootwright", "怪物ID");
    case MonsterNameColumn:
        return QCoreApplication::translate("Lootwright", "怪物名称");
    case SlotColumn:
        return QCoreApplication::translate("Lootwright", "槽位");
    case MonsterValueColumn:
        return QCoreApplication::translate("Lootwright", "怪物价值");
    case BoxIdColumn:
        return QCoreApplication::translate("Lootwright", "包裹ID");
    case BoxWeightColumn:
        return QCoreApplication::translate("Lootwright", "包裹权值");
    case RateColumn:
        return QCoreApplication::translate("Lootwright", "爆率");
    case OneInColumn:
        return QStringLiteral("1/N");
    case Kills50Column:
        return QCoreApplication::translate("Lootwright", "50%需击杀");
    case Kills90Column:
        return QCoreApplication::translate("Lootwright", "90%需击杀");
    case Kills99Column:
        return QCoreApplication::translate("Lootwright", "99%需击杀");
    case ChanceColumn:
        return QCoreApplication::translate("Lootwright", "100次击杀概率");
    }
    return QString();
}

QString cellText(const ItemSourceIndex::Source &source, int column, const NameResolver &names,
                 double multiplier)
{
    const bool monster = source.hasMonster();
    switch (column) {
    case MonsterIdColumn:
        return monster ? QString::number(source.monsterId) : DropRate::noChanceText;
    case MonsterNameColumn:
        if (monster)
            return names.monsterName(source.monsterId);
        return source.shadowed
                   ? QCoreApplication::translate("Lootwright", "（同ID的前一个包裹生效）")
                   : QCoreApplication::translate("Lootwright", "（无怪物引用）");
    case SlotColumn:
        return monster ? QString::number(source.slot + 1) : DropRate::noChanceText;
    case MonsterValueColumn:
        return monster ? QString::number(source.mValue) : DropRate::noChanceText;
    case BoxIdColumn:
        return QString::number(source.boxId);
    case BoxWeightColumn:
        return QString::number(source.boxValue);
    case RateColumn:
        return source.rateText(multiplier);
    case OneInColumn:
        return source.oneInText(multiplier);
    case Kills50Column:
    case Kills90Column:
    case Kills99Column:
        return killsCell(source.killRate(multiplier), column);
    case ChanceColumn:
        return source.chanceText(multiplier);
    }
    return QString();
}

QString cellText(const ItemSourceIndex::MonsterTotal &total, int column, const NameResolver &names)
{
    switch (column) {
    case MonsterIdColumn:
        return QString::number(total.monsterId);
    case MonsterNameColumn:
        return names.monsterName(total.monsterId);
    case SlotColumn:
        return QCoreApplication::translate("Lootwright", "合计");
    case MonsterValueColumn:
        return QString::number(total.mValue);
    case BoxIdColumn: {
        QStringList ids;
        for (const int id : total.boxIds)
            ids << QString::number(id);
        return ids.join(u'、');
    }
    case BoxWeightColumn:
        return DropRate::noChanceText;
    case RateColumn:
        return total.odds.rateText();
    case OneInColumn:
        return total.odds.oneInText();
    case Kills50Column:
    case Kills90Column:
    case Kills99Column:
        return DropOdds::killsText(total.odds.killsFor(killsChance(column)));
    case ChanceColumn:
        return total.odds.hasRate()
                   ? DropRate::fractionTableText(total.odds.chanceIn(ItemSourceIndex::chanceKills))
                   : DropRate::noChanceText;
    }
    return QString();
}

} // namespace ItemSourceTable
