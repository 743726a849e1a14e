#include "edit/DropComparison.h"

#include "data/NameResolver.h"
#include "edit/LogLabels.h"
#include "edit/MonsterEdits.h"
#include "rates/DropRate.h"

#include <QCoreApplication>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

using Kind = DropComparison::Kind;
using RateSource = DropComparison::RateSource;

// The records of one side by id, then by position: the first entry of an id is the record that
// counts.
struct IdPositions
{
    struct Entry
    {
        int id;
        int position;
    };
    std::vector<Entry> entries;

    template <typename Record, typename IdOf> IdPositions(const QList<Record> &list, IdOf idOf)
    {
        entries.reserve(std::size_t(list.size()));
        bool ascending = true;
        for (qsizetype i = 0; i < list.size(); ++i) {
            const int id = idOf(list.at(i));
            ascending = ascending && (entries.empty() || entries.back().id < id);
            entries.push_back({id, int(i)});
        }
        // Files are usually written in id order, and edits append new ids above the rest.
        if (!ascending)
            std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
                return a.id != b.id ? a.id < b.id : a.position < b.position;
            });
    }
};

// Ids close enough together are looked up in a table, others by binary search.
bool denseRange(qint64 low, qint64 high, std::size_t count)
{
    return high - low < qint64(count) * 4 + 4096;
}

// Box id -> position of the first box with that id.
class FirstPosition
{
public:
    explicit FirstPosition(const IdPositions &positions) : entries(positions.entries)
    {
        if (entries.empty() || !denseRange(entries.front().id, entries.back().id, entries.size()))
            return;
        base = entries.front().id;
        table.assign(std::size_t(qint64(entries.back().id) - base + 1), -1);
        for (auto it = entries.crbegin(); it != entries.crend(); ++it)
            table[std::size_t(it->id - base)] = it->position;
    }

    int find(int id) const
    {
        if (!table.empty()) {
            const qint64 at = qint64(id) - base;
            return at >= 0 && at < qint64(table.size()) ? table[std::size_t(at)] : -1;
        }
        const auto found = std::lower_bound(
            entries.cbegin(), entries.cend(), id,
            [](const IdPositions::Entry &entry, int value) { return entry.id < value; });
        return found != entries.cend() && found->id == id ? found->position : -1;
    }

private:
    const std::vector<IdPositions::Entry> &entries;
    std::vector<int> table;
    qint64 base = 0;
};

// Ids given in ascending order.
class IdSet
{
public:
    explicit IdSet(std::vector<int> ascending) : ids(std::move(ascending))
    {
        if (ids.empty() || !denseRange(ids.front(), ids.back(), ids.size()))
            return;
        base = ids.front();
        flags.assign(std::size_t(qint64(ids.back()) - base + 1), 0);
        for (const int id : ids)
            flags[std::size_t(id - base)] = 1;
    }

    bool contains(int id) const
    {
        if (!flags.empty()) {
            const qint64 at = qint64(id) - base;
            return at >= 0 && at < qint64(flags.size()) && flags[std::size_t(at)];
        }
        return std::binary_search(ids.cbegin(), ids.cend(), id);
    }

private:
    std::vector<int> ids;
    std::vector<char> flags;
    qint64 base = 0;
};

// Calls visit(id, before range, after range) for every id of either side in ascending order; a
// range is [first, end) of entries, empty where the side lacks the id.
template <typename Visit>
void walkIds(const IdPositions &before, const IdPositions &after, Visit visit)
{
    const auto &a = before.entries;
    const auto &b = after.entries;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() || j < b.size()) {
        const int id = j == b.size() || (i < a.size() && a[i].id < b[j].id) ? a[i].id : b[j].id;
        std::size_t iEnd = i;
        while (iEnd < a.size() && a[iEnd].id == id)
            ++iEnd;
        std::size_t jEnd = j;
        while (jEnd < b.size() && b[jEnd].id == id)
            ++jEnd;
        visit(id, i, iEnd, j, jEnd);
        i = iEnd;
        j = jEnd;
    }
}

bool sameFileRecord(const MonsterDropConfig &a, const MonsterDropConfig &b)
{
    // The display name is never written to the file.
    return a.mValue == b.mValue && a.dropType == b.dropType && a.dropBoxIds == b.dropBoxIds;
}

// Whether two percentages read the same with two decimals. Decided by the numbers unless one
// lies within a hair of a half-way point, where only the formatted texts can tell.
bool sameTableForm(double p0, double p1)
{
    if (p0 == p1)
        return true;
    if (p0 >= 0.0 && p1 >= 0.0 && p0 < 1e7 && p1 < 1e7) {
        const double a = p0 * 100.0;
        const double b = p1 * 100.0;
        const double fa = std::floor(a);
        const double fb = std::floor(b);
        if (std::abs(a - fa - 0.5) > 1e-6 && std::abs(b - fb - 0.5) > 1e-6)
            return fa + double(a - fa > 0.5) == fb + double(b - fb > 0.5);
    }
    return QString::number(p0, 'f', 2) == QString::number(p1, 'f', 2);
}

// Whether a reviewer sees the same rate: the same table form and the same "1/N".
bool sameShown(const RateSource &a, const RateSource &b)
{
    const bool rated = DropRate::hasRate(a.boxWeight);
    if (!rated || !DropRate::hasRate(b.boxWeight))
        return rated == DropRate::hasRate(b.boxWeight);
    if (qint64(a.monsterValue) * b.boxWeight == qint64(b.monsterValue) * a.boxWeight)
        return true;
    if (DropRate::oneInDenominator(a.monsterValue, a.boxWeight, 1.0) !=
        DropRate::oneInDenominator(b.monsterValue, b.boxWeight, 1.0))
        return false;
    return sameTableForm(DropRate::percent(a.monsterValue, a.boxWeight, 1.0),
                         DropRate::percent(b.monsterValue, b.boxWeight, 1.0));
}

double sortRate(const RateSource &source)
{
    return DropRate::hasRate(source.boxWeight)
               ? DropRate::fraction(source.monsterValue, source.boxWeight, 1.0)
               : -std::numeric_limits<double>::infinity();
}

std::vector<int> usedItemIds(const QList<DropBoxItem> &items)
{
    std::vector<int> ids;
    ids.reserve(std::size_t(items.size()));
    for (const DropBoxItem &item : items) {
        if (DropSlots::isUsedId(item.itemId))
            ids.push_back(item.itemId);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

// Item id -> a number, forgotten at once for every id by next(): per monster, which items it
// has seen. Usual item ids index a table; very large ones go to a hash.
class ItemMarks
{
public:
    void next()
    {
        ++serial;
        if (!sparse.isEmpty())
            sparse.clear();
    }

    int find(int id) const
    {
        if (id < denseLimit) {
            if (std::size_t(id) >= dense.size() || dense[std::size_t(id)] >> 32 != serial)
                return -1;
            return int(dense[std::size_t(id)] & 0xFFFFFFFFu);
        }
        return sparse.value(id, -1);
    }

    void set(int id, int value)
    {
        if (id < denseLimit) {
            if (std::size_t(id) >= dense.size())
                dense.resize(
                    std::min<std::size_t>(
                        denseLimit, std::max<std::size_t>(std::size_t(id) + 1, dense.size() * 2)),
                    0);
            dense[std::size_t(id)] = std::uint64_t(serial) << 32 | std::uint32_t(value);
        } else {
            sparse.insert(id, value);
        }
    }

private:
    static constexpr int denseLimit = 1 << 21;
    std::vector<std::uint64_t> dense; // serial << 32 | value
    QHash<int, int> sparse;
    std::uint32_t serial = 1;
};

} // namespace

// One run of the comparison.
class DropComparer
{
public:
    using Change = DropComparison::Change;

    DropComparer(const MonsterDropData &beforeMonsters, const DropBoxContentData &beforeBoxes,
                 const MonsterDropData &afterMonsters, const DropBoxContentData &afterBoxes)
        : monsters{&beforeMonsters, &afterMonsters}, boxes{&beforeBoxes, &afterBoxes},
          boxPositions{
              IdPositions(beforeBoxes.boxes, [](const DropBoxConfig &b) { return b.boxId; }),
              IdPositions(afterBoxes.boxes, [](const DropBoxConfig &b) { return b.boxId; })},
          firstBox{FirstPosition(boxPositions[0]), FirstPosition(boxPositions[1])}
    {
    }

    DropComparison run();

private:
    struct Source
    {
        const QList<DropBoxItem> *items;
        RateSource rate;
    };

    using Changes = DropComparison::BlockList<Change>;
    Change &add(Changes &list, Kind kind);
    void compareTexts();
    IdSet compareBoxes(Changes &boxChanges);
    void compareBox(int id, const DropBoxConfig &b0, const DropBoxConfig &b1, Changes &out,
                    std::vector<int> &dirty);
    void compareMonsters(const IdSet &dirtyBoxes);
    void compareMonster(int id, const MonsterDropConfig &r0, const MonsterDropConfig &r1);
    void addWholeMonster(Kind kind, int id, const MonsterDropConfig &record);
    void collectSources(const MonsterDropConfig *record, int side);
    void compareRates(int monsterId, const MonsterDropConfig *r0, const MonsterDropConfig *r1);
    bool sameSource(std::size_t k0, std::size_t k1);
    void compareItem(int monsterId, std::size_t index);
    void addRate(int monsterId, int itemId);

    const MonsterDropData *monsters[2];
    const DropBoxContentData *boxes[2];
    IdPositions boxPositions[2];
    FirstPosition firstBox[2];
    DropComparison result;

    // An item whose sources may differ: per side its first and last source (-1 for none) and
    // how many there are.
    struct ItemSources
    {
        int itemId;
        int first[2];
        int last[2];
        int count[2];
    };

    // Scratch space of compareRates, kept between monsters.
    std::vector<Source> sides[2];
    std::vector<char> touched[2];
    ItemMarks marks;
    std::vector<ItemSources> items;
    std::vector<std::uint64_t> extraSources; // item index << 32 | side << 31 | source
    std::vector<int> lists[2];
    std::vector<signed char> pairSame; // per source pair: -1 not yet known, 0 differ, 1 same
    bool grouped = false;              // the monster being compared has its rate group
};

DropComparison::Change &DropComparer::add(Changes &list, Kind kind)
{
    Change change;
    change.kind = kind;
    list.push_back(change);
    return list.back();
}

DropComparison DropComparer::run()
{
    compareTexts();
    const IdSet dirtyBoxes = compareBoxes(result.boxRecords);
    compareMonsters(dirtyBoxes);
    return std::move(result);
}

void DropComparer::compareTexts()
{
    const auto text = [this](Kind kind, int slot, const QString &before, const QString &after) {
        if (before == after)
            return;
        Change &change = add(result.records, kind);
        change.slot = slot;
        change.before = int(result.texts.size());
        change.after = change.before + 1;
        result.texts << before << after;
    };
    text(Kind::MonsterHeader, 0, monsters[0]->headerLine1, monsters[1]->headerLine1);
    text(Kind::MonsterHeader, 1, monsters[0]->headerLine2, monsters[1]->headerLine2);
    text(Kind::BoxHeader, 0, boxes[0]->headerLine1, boxes[1]->headerLine1);
    text(Kind::BoxHeader, 1, boxes[0]->headerLine2, boxes[1]->headerLine2);
    text(Kind::BoxComments, -1, boxes[0]->commentBlock, boxes[1]->commentBlock);
}

IdSet DropComparer::compareBoxes(Changes &out)
{
    // Ids whose box (the first of the id) changed its weight or items, or came or went: the
    // monsters naming them are the only unchanged records whose rates can move.
    std::vector<int> dirty;
    const QList<DropBoxConfig> &list0 = boxes[0]->boxes;
    const QList<DropBoxConfig> &list1 = boxes[1]->boxes;
    const auto &e0 = boxPositions[0].entries;
    const auto &e1 = boxPositions[1].entries;
    walkIds(boxPositions[0], boxPositions[1],
            [&](int id, std::size_t i, std::size_t iEnd, std::size_t j, std::size_t jEnd) {
                if (i == iEnd || j == jEnd) {
                    const bool added = i == iEnd;
                    const DropBoxConfig &box =
                        added ? list1.at(e1[j].position) : list0.at(e0[i].position);
                    Change &change = add(out, added ? Kind::BoxAdded : Kind::BoxRemoved);
                    change.boxId = id;
                    (added ? change.after : change.before) = box.boxValue;
                    change.extra = DropSlots::filledItemCount(box);
                    dirty.push_back(id);
                } else {
                    compareBox(id, list0.at(e0[i].position), list1.at(e1[j].position), out, dirty);
                }
                if (iEnd - i < 2 && jEnd - j < 2)
                    return;
                bool same = iEnd - i == jEnd - j;
                for (std::size_t k = 1; same && i + k < iEnd; ++k)
                    same = list0.at(e0[i + k].position) == list1.at(e1[j + k].position);
                if (!same) {
                    Change &change = add(out, Kind::BoxRepeated);
                    change.boxId = id;
                    change.before = int(iEnd - i);
                    change.after = int(jEnd - j);
                }
            });
    return IdSet(std::move(dirty));
}

void DropComparer::compareBox(int id, const DropBoxConfig &b0, const DropBoxConfig &b1,
                              Changes &out, std::vector<int> &dirty)
{
    const auto value = [&](Kind kind, int before, int after) {
        if (before == after)
            return;
        Change &change = add(out, kind);
        change.boxId = id;
        change.before = before;
        change.after = after;
    };
    value(Kind::BoxWeight, b0.boxValue, b1.boxValue);
    value(Kind::BoxNotify, b0.notifyId, b1.notifyId);
    value(Kind::BoxBind, b0.forceOpenFlag, b1.forceOpenFlag);
    const bool itemsChanged = b0.items != b1.items;
    if (b0.boxValue != b1.boxValue || itemsChanged)
        dirty.push_back(id);
    if (!itemsChanged)
        return;

    // Items by id, counted with their slots: what came and what went.
    const std::vector<int> ids0 = usedItemIds(b0.items);
    const std::vector<int> ids1 = usedItemIds(b1.items);
    bool counted = false;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < ids0.size() || j < ids1.size()) {
        const int item =
            j == ids1.size() || (i < ids0.size() && ids0[i] < ids1[j]) ? ids0[i] : ids1[j];
        int count0 = 0;
        int count1 = 0;
        for (; i < ids0.size() && ids0[i] == item; ++i)
            ++count0;
        for (; j < ids1.size() && ids1[j] == item; ++j)
            ++count1;
        if (count0 == count1)
            continue;
        Change &change = add(out, count1 > count0 ? Kind::BoxItemAdded : Kind::BoxItemRemoved);
        change.boxId = id;
        change.itemId = item;
        change.extra = std::abs(count1 - count0);
        counted = true;
    }
    if (!counted)
        add(out, Kind::BoxItemSlots).boxId = id;
}

void DropComparer::compareMonsters(const IdSet &dirtyBoxes)
{
    const auto idOf = [](const MonsterDropConfig &r) { return r.monsterId; };
    const IdPositions positions[2] = {IdPositions(monsters[0]->records, idOf),
                                      IdPositions(monsters[1]->records, idOf)};
    const QList<MonsterDropConfig> &list0 = monsters[0]->records;
    const QList<MonsterDropConfig> &list1 = monsters[1]->records;
    const auto &e0 = positions[0].entries;
    const auto &e1 = positions[1].entries;
    walkIds(positions[0], positions[1],
            [&](int id, std::size_t i, std::size_t iEnd, std::size_t j, std::size_t jEnd) {
                const MonsterDropConfig *r0 = i < iEnd ? &list0.at(e0[i].position) : nullptr;
                const MonsterDropConfig *r1 = j < jEnd ? &list1.at(e1[j].position) : nullptr;
                bool ratesMayMove = true;
                if (!r0) {
                    addWholeMonster(Kind::MonsterAdded, id, *r1);
                } else if (!r1) {
                    addWholeMonster(Kind::MonsterRemoved, id, *r0);
                } else if (r0->mValue == r1->mValue && r0->dropBoxIds == r1->dropBoxIds) {
                    if (r0->dropType != r1->dropType)
                        compareMonster(id, *r0, *r1);
                    ratesMayMove = false;
                    for (const int boxId : r1->dropBoxIds)
                        ratesMayMove = ratesMayMove ||
                                       (DropSlots::isUsedId(boxId) && dirtyBoxes.contains(boxId));
                } else {
                    compareMonster(id, *r0, *r1);
                }

                if (iEnd - i > 1 || jEnd - j > 1) {
                    bool same = iEnd - i == jEnd - j;
                    for (std::size_t k = 1; same && i + k < iEnd; ++k)
                        same = sameFileRecord(list0.at(e0[i + k].position),
                                              list1.at(e1[j + k].position));
                    if (!same) {
                        Change &change = add(result.records, Kind::MonsterRepeated);
                        change.monsterId = id;
                        change.before = int(iEnd - i);
                        change.after = int(jEnd - j);
                    }
                }
                if (ratesMayMove)
                    compareRates(id, r0, r1);
            });
}

void DropComparer::compareMonster(int id, const MonsterDropConfig &r0, const MonsterDropConfig &r1)
{
    const auto value = [&](Kind kind, int slot, int before, int after) {
        Change &change = add(result.records, kind);
        change.monsterId = id;
        change.slot = slot;
        change.before = before;
        change.after = after;
    };
    if (r0.mValue != r1.mValue)
        value(Kind::MonsterValue, -1, r0.mValue, r1.mValue);
    if (r0.dropType != r1.dropType)
        value(Kind::MonsterDropType, -1, r0.dropType, r1.dropType);
    if (r0.dropBoxIds == r1.dropBoxIds)
        return;
    const QList<int> &ids0 = r0.dropBoxIds;
    const QList<int> &ids1 = r1.dropBoxIds;
    const qsizetype slots = std::max(ids0.size(), ids1.size());
    for (qsizetype slot = 0; slot < slots; ++slot) {
        // A slot only one list has is empty in the other, and worth a line when it is used.
        const bool in0 = slot < ids0.size();
        const bool in1 = slot < ids1.size();
        const int before = in0 ? ids0.at(slot) : -1;
        const int after = in1 ? ids1.at(slot) : -1;
        if (in0 && in1 ? before != after : DropSlots::isUsedId(in0 ? before : after))
            value(Kind::MonsterSlot, int(slot), before, after);
    }
    if (ids0.size() != ids1.size())
        value(Kind::MonsterSlotCount, -1, int(ids0.size()), int(ids1.size()));
}

void DropComparer::addWholeMonster(Kind kind, int id, const MonsterDropConfig &record)
{
    Change &change = add(result.records, kind);
    change.monsterId = id;
    (kind == Kind::MonsterAdded ? change.after : change.before) = record.mValue;
    change.extra = record.dropType;
    change.poolAt = int(result.numbers.size());
    for (const int boxId : record.dropBoxIds) {
        if (DropSlots::isUsedId(boxId))
            result.numbers.push_back(boxId);
    }
    change.poolCount = int(result.numbers.size()) - change.poolAt;
}

void DropComparer::collectSources(const MonsterDropConfig *record, int side)
{
    std::vector<Source> &out = sides[side];
    out.clear();
    if (!record)
        return;
    const QList<DropBoxConfig> &list = boxes[side]->boxes;
    for (const int boxId : record->dropBoxIds) {
        if (!DropSlots::isUsedId(boxId))
            continue;
        const int position = firstBox[side].find(boxId);
        if (position < 0)
            continue;
        const DropBoxConfig &box = list.at(position);
        out.push_back({&box.items, {boxId, record->mValue, box.boxValue}});
        // Source indexes are packed into 15 bits; the files hold 20 slots.
        if (out.size() == 0x7FFE)
            break;
    }
}

void DropComparer::compareRates(int monsterId, const MonsterDropConfig *r0,
                                const MonsterDropConfig *r1)
{
    collectSources(r0, 0);
    collectSources(r1, 1);
    grouped = false;
    // Sources that read the same on both sides, in the same order, leave their items' rates
    // alone; only the items of the others can move.
    const std::size_t n0 = sides[0].size();
    const std::size_t n1 = sides[1].size();
    const std::size_t common = std::min(n0, n1);
    touched[0].assign(n0, 1);
    touched[1].assign(n1, 1);
    bool any = n0 != n1;
    for (std::size_t k = 0; k < common; ++k) {
        const bool same = *sides[0][k].items == *sides[1][k].items &&
                          sameShown(sides[0][k].rate, sides[1][k].rate);
        touched[0][k] = touched[1][k] = !same;
        any = any || !same;
    }
    if (!any)
        return;
    pairSame.assign(n0 * n1, -1);

    // The same item list at the same position on both sides (a box kept or copied): walked once
    // for both.
    const auto mirrored = [&](std::size_t k) {
        return k < common && sides[0][k].items->constData() == sides[1][k].items->constData();
    };

    // The items of the touched sources, in the order the boxes after the change list them, then
    // those only the boxes before the change held.
    marks.next();
    items.clear();
    for (const int side : {1, 0}) {
        for (std::size_t k = 0; k < sides[side].size(); ++k) {
            if (!touched[side][k] || (side == 0 && mirrored(k)))
                continue;
            for (const DropBoxItem &item : *sides[side][k].items) {
                if (DropSlots::isUsedId(item.itemId) && marks.find(item.itemId) < 0) {
                    marks.set(item.itemId, int(items.size()));
                    items.push_back({item.itemId, {-1, -1}, {-1, -1}, {0, 0}});
                }
            }
        }
    }
    // Every source of those items; an item twice in one box counts once for it.
    extraSources.clear();
    const auto count = [&](ItemSources &sources, int index, int side, std::size_t k) {
        if (sources.last[side] == int(k))
            return;
        if (sources.count[side] == 0)
            sources.first[side] = int(k);
        else
            extraSources.push_back(std::uint64_t(index) << 32 | std::uint64_t(side) << 31 | k);
        sources.last[side] = int(k);
        ++sources.count[side];
    };
    for (std::size_t k = 0; k < std::max(n0, n1); ++k) {
        const bool both = mirrored(k);
        for (int side = 0; side < 2; ++side) {
            if (k >= sides[side].size() || (both && side == 1))
                continue;
            for (const DropBoxItem &item : *sides[side][k].items) {
                if (!DropSlots::isUsedId(item.itemId))
                    continue;
                const int index = marks.find(item.itemId);
                if (index < 0)
                    continue;
                ItemSources &sources = items[std::size_t(index)];
                count(sources, index, side, k);
                if (both)
                    count(sources, index, 1, k);
            }
        }
    }
    for (std::size_t i = 0; i < items.size(); ++i)
        compareItem(monsterId, i);
}

void DropComparer::compareItem(int monsterId, std::size_t index)
{
    const ItemSources &sources = items[index];
    lists[0].clear();
    lists[1].clear();
    for (int side = 0; side < 2; ++side) {
        if (sources.count[side] > 0)
            lists[side].push_back(sources.first[side]);
    }
    if (sources.count[0] > 1 || sources.count[1] > 1) {
        for (const std::uint64_t extra : extraSources) {
            if (extra >> 32 == index)
                lists[(extra >> 31) & 1].push_back(int(extra & 0x7FFFFFFFu));
        }
    }
    addRate(monsterId, sources.itemId);
}

bool DropComparer::sameSource(std::size_t k0, std::size_t k1)
{
    // Most items of a box share its two sources: each pair is decided once per monster.
    signed char &known = pairSame[k0 * sides[1].size() + k1];
    if (known < 0)
        known = sameShown(sides[0][k0].rate, sides[1][k1].rate) ? 1 : 0;
    return known == 1;
}

void DropComparer::addRate(int monsterId, int itemId)
{
    for (int side = 0; side < 2; ++side) {
        std::vector<int> &list = lists[side];
        const std::vector<Source> &sources = sides[side];
        // Short lists: an insertion sort, highest rate first, equal rates in slot order.
        for (std::size_t i = 1; i < list.size(); ++i) {
            const int k = list[i];
            const double rate = sortRate(sources[std::size_t(k)].rate);
            std::size_t j = i;
            for (; j > 0 && sortRate(sources[std::size_t(list[j - 1])].rate) < rate; --j)
                list[j] = list[j - 1];
            list[j] = k;
        }
    }
    const std::vector<int> &list0 = lists[0];
    const std::vector<int> &list1 = lists[1];
    bool same = list0.size() == list1.size();
    for (std::size_t k = 0; same && k < list0.size(); ++k)
        same = sameSource(std::size_t(list0[k]), std::size_t(list1[k]));
    if (same)
        return;
    if (!grouped) {
        grouped = true;
        const int beforeAt = int(result.sourcePool.size());
        for (const Source &source : sides[0])
            result.sourcePool.push_back(source.rate);
        const int afterAt = int(result.sourcePool.size());
        for (const Source &source : sides[1])
            result.sourcePool.push_back(source.rate);
        result.groups.push_back({monsterId, beforeAt, afterAt, result.rates.size()});
    }
    quint32 packed = 0;
    if (list0.size() <= 1 && list1.size() <= 1) {
        packed = quint32(list0.empty() ? 0 : list0.front() + 1) << 16 |
                 quint32(list1.empty() ? 0 : list1.front() + 1);
    } else {
        packed = DropComparison::pooledSources | quint32(result.indexPool.size());
        result.indexPool.push_back(quint16(list0.size()));
        result.indexPool.push_back(quint16(list1.size()));
        for (const std::vector<int> *list : {&list0, &list1}) {
            for (const int k : *list)
                result.indexPool.push_back(quint16(k));
        }
    }
    result.rates.push_back({itemId, packed});
}

DropComparison DropComparison::compare(const MonsterDropData &beforeMonsters,
                                       const DropBoxContentData &beforeBoxes,
                                       const MonsterDropData &afterMonsters,
                                       const DropBoxContentData &afterBoxes)
{
    return DropComparer(beforeMonsters, beforeBoxes, afterMonsters, afterBoxes).run();
}

QString DropComparison::kindName(Kind kind)
{
    switch (kind) {
    case Kind::MonsterHeader:
        return QStringLiteral("monster-header");
    case Kind::BoxHeader:
        return QStringLiteral("box-header");
    case Kind::BoxComments:
        return QStringLiteral("box-comments");
    case Kind::MonsterAdded:
        return QStringLiteral("monster-added");
    case Kind::MonsterRemoved:
        return QStringLiteral("monster-removed");
    case Kind::MonsterValue:
        return QStringLiteral("monster-value");
    case Kind::MonsterDropType:
        return QStringLiteral("monster-drop-type");
    case Kind::MonsterSlot:
        return QStringLiteral("monster-slot");
    case Kind::MonsterSlotCount:
        return QStringLiteral("monster-slot-count");
    case Kind::MonsterRepeated:
        return QStringLiteral("monster-repeated");
    case Kind::BoxAdded:
        return QStringLiteral("box-added");
    case Kind::BoxRemoved:
        return QStringLiteral("box-removed");
    case Kind::BoxWeight:
        return QStringLiteral("box-weight");
    case Kind::BoxNotify:
        return QStringLiteral("box-notify");
    case Kind::BoxBind:
        return QStringLiteral("box-bind");
    case Kind::BoxItemAdded:
        return QStringLiteral("box-item-added");
    case Kind::BoxItemRemoved:
        return QStringLiteral("box-item-removed");
    case Kind::BoxItemSlots:
        return QStringLiteral("box-item-slots");
    case Kind::BoxRepeated:
        return QStringLiteral("box-repeated");
    case Kind::RateChanged:
        return QStringLiteral("rate-changed");
    case Kind::RateAdded:
        return QStringLiteral("rate-added");
    case Kind::RateRemoved:
        return QStringLiteral("rate-removed");
    }
    return QString();
}

QString DropComparison::kindTitle(Kind kind)
{
    switch (kind) {
    case Kind::MonsterHeader:
        return QCoreApplication::translate("Lootwright", "怪物文件表头");
    case Kind::BoxHeader:
        return QCoreApplication::translate("Lootwright", "包裹文件表头");
    case Kind::BoxComments:
        return QCoreApplication::translate("Lootwright", "包裹文件注释");
    case Kind::MonsterAdded:
        return QCoreApplication::translate("Lootwright", "新增怪物");
    case Kind::MonsterRemoved:
        return QCoreApplication::translate("Lootwright", "删除怪物");
    case Kind::MonsterValue:
        return QCoreApplication::translate("Lootwright", "怪物价值");
    case Kind::MonsterDropType:
        return QCoreApplication::translate("Lootwright", "掉落类型");
    case Kind::MonsterSlot:
        return QCoreApplication::translate("Lootwright", "掉落槽位");
    case Kind::MonsterSlotCount:
        return QCoreApplication::translate("Lootwright", "槽位数");
    case Kind::MonsterRepeated:
        return QCoreApplication::translate("Lootwright", "重复怪物");
    case Kind::BoxAdded:
        return QCoreApplication::translate("Lootwright", "新增包裹");
    case Kind::BoxRemoved:
        return QCoreApplication::translate("Lootwright", "删除包裹");
    case Kind::BoxWeight:
        return QCoreApplication::translate("Lootwright", "包裹权值");
    case Kind::BoxNotify:
        return QCoreApplication::translate("Lootwright", "广播ID");
    case Kind::BoxBind:
        return QCoreApplication::translate("Lootwright", "拾取绑定");
    case Kind::BoxItemAdded:
        return QCoreApplication::translate("Lootwright", "添加物品");
    case Kind::BoxItemRemoved:
        return QCoreApplication::translate("Lootwright", "删除物品");
    case Kind::BoxItemSlots:
        return QCoreApplication::translate("Lootwright", "物品槽位");
    case Kind::BoxRepeated:
        return QCoreApplication::translate("Lootwright", "重复包裹");
    case Kind::RateChanged:
        return QCoreApplication::translate("Lootwright", "爆率改变");
    case Kind::RateAdded:
        return QCoreApplication::translate("Lootwright", "新掉落");
    case Kind::RateRemoved:
        return QCoreApplication::translate("Lootwright", "不再掉落");
    }
    return QString();
}

namespace {

QString slotText(int boxId)
{
    if (DropSlots::isUsedId(boxId))
        return LogLabels::boxLabel(boxId);
    return boxId == -1 ? QCoreApplication::translate("Lootwright", "空")
                       : QCoreApplication::translate("Lootwright", "空(%1)").arg(boxId);
}

qsizetype commentLineCount(const QString &block)
{
    return block.isEmpty() ? 0 : block.count(u'\n') + 1;
}

} // namespace

const QString &DropComparison::itemLabel(int itemId, LineCache &cache)
{
    QString *label = nullptr;
    if (itemId >= 0 && itemId < (1 << 21)) {
        std::vector<QString> &table = cache.itemLabels;
        if (std::size_t(itemId) >= table.size())
            table.resize(std::min<std::size_t>(
                1 << 21, std::max<std::size_t>(std::size_t(itemId) + 1, table.size() * 2)));
        label = &table[std::size_t(itemId)];
    } else {
        label = &cache.largeItemLabels[itemId];
    }
    if (label->isNull())
        *label = LogLabels::itemLabel(itemId, cache.names);
    return *label;
}

QString DropComparison::text(const Change &change, const NameResolver &names) const
{
    LineCache cache(names);
    return text(change, cache);
}

QString DropComparison::text(const Change &c, LineCache &cache) const
{
    using LogLabels::boxLabel;
    const NameResolver &names = cache.names;
    const auto number = [](int value) { return QString::number(value); };
    const auto monster = [&] {
        if (cache.monsterId != c.monsterId) {
            cache.monsterId = c.monsterId;
            cache.monsterLabel = LogLabels::monsterLabel(c.monsterId, names);
        }
        return cache.monsterLabel;
    };
    const auto change = [&](const QString &what, const QString &before, const QString &after) {
        return QCoreApplication::translate("Lootwright", "%1：%2 → %3").arg(what, before, after);
    };
    switch (c.kind) {
    case Kind::MonsterHeader:
    case Kind::BoxHeader:
        return change(QCoreApplication::translate("Lootwright", "%1第%2行")
                          .arg(c.kind == Kind::MonsterHeader
                                   ? QCoreApplication::translate("Lootwright", "怪物文件表头")
                                   : QCoreApplication::translate("Lootwright", "包裹文件表头"),
                               number(c.slot + 1)),
                      QStringLiteral("“%1”").arg(lineText(c, false)),
                      QStringLiteral("“%1”").arg(lineText(c, true)));
    case Kind::BoxComments: {
        const qsizetype before = commentLineCount(lineText(c, false));
        const qsizetype after = commentLineCount(lineText(c, true));
        if (before == after)
            return QCoreApplication::translate("Lootwright", "包裹文件注释行内容有改动（%1 行）")
                .arg(before);
        return change(QCoreApplication::translate("Lootwright", "包裹文件注释行"),
                      QCoreApplication::translate("Lootwright", "%1 行").arg(before),
                      QCoreApplication::translate("Lootwright", "%1 行").arg(after));
    }
    case Kind::MonsterAdded:
    case Kind::MonsterRemoved: {
        const QList<int> ids = boxIds(c);
        return QCoreApplication::translate("Lootwright", "%1 %2：怪物价值 %3，掉落类型 %4，包裹 %5")
            .arg(monster(),
                 c.kind == Kind::MonsterAdded
                     ? QCoreApplication::translate("Lootwright", "新增掉落记录")
                     : QCoreApplication::translate("Lootwright", "删除掉落记录"),
                 number(c.kind == Kind::MonsterAdded ? c.after : c.before),
                 MonsterEdits::dropTypeText(c.extra),
                 ids.isEmpty() ? QCoreApplication::translate("Lootwright", "无")
                               : LogLabels::formatIdList(ids, 20));
    }
    case Kind::MonsterValue:
        return change(monster() + QCoreApplication::translate("Lootwright", " 怪物价值"),
                      number(c.before), number(c.after));
    case Kind::MonsterDropType:
        return change(monster() + QCoreApplication::translate("Lootwright", " 掉落类型"),
                      MonsterEdits::dropTypeText(c.before), MonsterEdits::dropTypeText(c.after));
    case Kind::MonsterSlot:
        return change(monster() + QCoreApplication::translate("Lootwright", " 槽位") +
                          number(c.slot + 1),
                      slotText(c.before), slotText(c.after));
    case Kind::MonsterSlotCount:
        return change(monster() + QCoreApplication::translate("Lootwright", " 槽位数"),
                      number(c.before), number(c.after));
    case Kind::MonsterRepeated:
        if (c.before == c.after)
            return QCoreApplication::translate("Lootwright",
                                               "%1 重复的记录有改动：共 %2 条（只有第一条生效）")
                .arg(monster(), number(c.before));
        return QCoreApplication::translate("Lootwright",
                                           "%1 重复记录：%2 条 → %3 条（只有第一条生效）")
            .arg(monster(), number(c.before), number(c.after));
    case Kind::BoxAdded:
    case Kind::BoxRemoved:
        return QCoreApplication::translate("Lootwright", "%1 %2：权值 %3，物品 %4 个")
            .arg(boxLabel(c.boxId),
                 c.kind == Kind::BoxAdded ? QCoreApplication::translate("Lootwright", "新增")
                                          : QCoreApplication::translate("Lootwright", "删除"),
                 number(c.kind == Kind::BoxAdded ? c.after : c.before), number(c.extra));
    case Kind::BoxWeight:
        return change(boxLabel(c.boxId) + QCoreApplication::translate("Lootwright", " 权值"),
                      number(c.before), number(c.after));
    case Kind::BoxNotify:
        return change(boxLabel(c.boxId) + QCoreApplication::translate("Lootwright", " 广播ID"),
                      number(c.before), number(c.after));
    case Kind::BoxBind:
        return change(boxLabel(c.boxId) + QCoreApplication::translate("Lootwright", " 拾取绑定"),
                      number(c.before), number(c.after));
    case Kind::BoxItemAdded:
    case Kind::BoxItemRemoved:
        return QStringLiteral("%1 %2%3%4")
            .arg(boxLabel(c.boxId),
                 c.kind == Kind::BoxItemAdded ? QCoreApplication::translate("Lootwright", "添加")
                                              : QCoreApplication::translate("Lootwright", "删除"),
                 LogLabels::itemLabel(c.itemId, names),
                 c.extra > 1
                     ? QCoreApplication::translate("Lootwright", "（%1 个槽位）").arg(c.extra)
                     : QString());
    case Kind::BoxItemSlots:
        return boxLabel(c.boxId) +
               QCoreApplication::translate("Lootwright", " 物品的槽位或等级有改动（物品不变）");
    case Kind::BoxRepeated:
        if (c.before == c.after)
            return QCoreApplication::translate("Lootwright",
                                               "%1 重复的包裹有改动：共 %2 个（只有第一个生效）")
                .arg(boxLabel(c.boxId), number(c.before));
        return QCoreApplication::translate("Lootwright", "%1 重复：%2 个 → %3 个（只有第一个生效）")
            .arg(boxLabel(c.boxId), number(c.before), number(c.after));
    case Kind::RateChanged:
    case Kind::RateAdded:
    case Kind::RateRemoved: {
        QString line;
        appendText(line, c, cache);
        return line;
    }
    }
    return QString();
}

void DropComparison::appendText(QString &out, const Change &change, LineCache &cache) const
{
    if (change.kind != Kind::RateChanged && change.kind != Kind::RateAdded &&
        change.kind != Kind::RateRemoved) {
        out += text(change, cache);
        return;
    }
    if (cache.monsterId != change.monsterId) {
        cache.monsterId = change.monsterId;
        cache.monsterLabel = LogLabels::monsterLabel(change.monsterId, cache.names);
    }
    out += cache.monsterLabel;
    out += u' ';
    out += itemLabel(change.itemId, cache);
    out += u'：';
    appendRateSide(out, change, false, cache);
    out += QStringLiteral(" → ");
    appendRateSide(out, change, true, cache);
}

QString DropComparison::lineText(const Change &change, bool after) const
{
    switch (change.kind) {
    case Kind::MonsterHeader:
    case Kind::BoxHeader:
    case Kind::BoxComments:
        return texts.value(after ? change.after : change.before);
    default:
        return QString();
    }
}

QList<int> DropComparison::boxIds(const Change &change) const
{
    if (change.kind != Kind::MonsterAdded && change.kind != Kind::MonsterRemoved)
        return {};
    const auto first = numbers.cbegin() + change.poolAt;
    return QList<int>(first, first + change.poolCount);
}

const DropComparison::Change &DropComparison::recordChange(qsizetype index) const
{
    return index < records.size() ? records[index] : boxRecords[index - records.size()];
}

qsizetype DropComparison::groupOf(qsizetype rate) const
{
    const auto after = std::upper_bound(
        groups.cbegin(), groups.cend(), rate,
        [](qsizetype value, const RateGroup &group) { return value < group.firstRate; });
    return after - groups.cbegin() - 1;
}

void DropComparison::appendRateSide(QString &out, const Change &change, bool after,
                                    LineCache &cache) const
{
    const bool inGroup = cache.group >= 0 &&
                         groups[std::size_t(cache.group)].firstRate <= change.poolAt &&
                         change.poolAt < cache.groupEnd;
    const qsizetype groupIndex = inGroup ? cache.group : groupOf(change.poolAt);
    const RateGroup &group = groups[std::size_t(groupIndex)];
    if (!inGroup) {
        // Every item of a box shares the box's texts: each is built once per monster.
        cache.group = groupIndex;
        cache.groupEnd = std::size_t(groupIndex) + 1 < groups.size()
                             ? groups[std::size_t(groupIndex) + 1].firstRate
                             : rates.size();
        const std::size_t end = std::size_t(groupIndex) + 1 < groups.size()
                                    ? std::size_t(groups[std::size_t(groupIndex) + 1].beforeAt)
                                    : sourcePool.size();
        cache.sideTexts[0].assign(std::size_t(group.afterAt - group.beforeAt), QString());
        cache.sideTexts[1].assign(end - std::size_t(group.afterAt), QString());
    }
    const SourceSpan span = sourceSpan(rates[change.poolAt], after);
    if (span.count == 0) {
        out += QCoreApplication::translate("Lootwright", "不掉落");
        return;
    }
    for (int n = 0; n < span.count; ++n) {
        QString &part = cache.sideTexts[after ? 1 : 0][std::size_t(span.at(n))];
        if (part.isNull()) {
            const RateSource &s =
                sourcePool[std::size_t((after ? group.afterAt : group.beforeAt) + span.at(n))];
            part = DropRate::tableText(s.monsterValue, s.boxWeight, 1.0);
            const qint64 oneIn = DropRate::oneInDenominator(s.monsterValue, s.boxWeight, 1.0);
            if (oneIn > 0)
                part += QCoreApplication::translate("Lootwright", "（1/") + QString::number(oneIn) +
                        u'）';
        }
        if (n > 0)
            out += QStringLiteral(" + ");
        out += part;
    }
}

DropComparison::SourceSpan DropComparison::sourceSpan(const RateEntry &entry, bool after) const
{
    SourceSpan span;
    if (!(entry.sources & pooledSources)) {
        const int plusOne = int(after ? entry.sources & 0xFFFF : entry.sources >> 16);
        span.single = plusOne - 1;
        span.count = plusOne > 0 ? 1 : 0;
        return span;
    }
    const std::size_t at = entry.sources & ~pooledSources;
    span.count = indexPool[at + (after ? 1 : 0)];
    span.pooled = indexPool.data() + at + 2 + (after ? indexPool[at] : 0);
    return span;
}

DropComparison::Change DropComparison::rateChange(qsizetype index) const
{
    const RateEntry &entry = rates[index];
    const RateGroup &group = groups[std::size_t(groupOf(index))];
    const SourceSpan before = sourceSpan(entry, false);
    const SourceSpan after = sourceSpan(entry, true);
    Change change;
    change.kind = before.count == 0  ? Kind::RateAdded
                  : after.count == 0 ? Kind::RateRemoved
                                     : Kind::RateChanged;
    change.monsterId = group.monsterId;
    change.itemId = entry.itemId;
    change.boxId = after.count == 0 ? sourcePool[std::size_t(group.beforeAt + before.at(0))].boxId
                                    : sourcePool[std::size_t(group.afterAt + after.at(0))].boxId;
    change.poolAt = int(index);
    return change;
}

QList<DropComparison::RateSource> DropComparison::sources(const Change &change, bool after) const
{
    if (change.kind != Kind::RateChanged && change.kind != Kind::RateAdded &&
        change.kind != Kind::RateRemoved)
        return {};
    const RateGroup &group = groups[std::size_t(groupOf(change.poolAt))];
    const SourceSpan span = sourceSpan(rates[change.poolAt], after);
    QList<RateSource> list;
    list.reserve(span.count);
    for (int n = 0; n < span.count; ++n)
        list.append(sourcePool[std::size_t((after ? group.afterAt : group.beforeAt) + span.at(n))]);
    return list;
}

QString DropComparison::rateText(const Change &change, bool after) const
{
    const QList<RateSource> list = sources(change, after);
    if (list.isEmpty())
        return QCoreApplication::translate("Lootwright", "不掉落");
    QStringList parts;
    for (const RateSource &s : list)
        parts << DropRate::tableText(s.monsterValue, s.boxWeight, 1.0);
    return parts.join(QStringLiteral(" + "));
}

QString DropComparison::oneInText(const Change &change, bool after) const
{
    const QList<RateSource> list = sources(change, after);
    if (list.isEmpty())
        return DropRate::noChanceText;
    QStringList parts;
    for (const RateSource &s : list)
        parts << DropRate::oneInText(s.monsterValue, s.boxWeight, 1.0);
    return parts.join(QStringLiteral(" + "));
}
