#include "edit/EditSupport.h"

#include "edit/LogLabels.h"

#include <QCoreApplication>
#include <QSet>
#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

namespace EditSupport {

QList<int> distinctIds(const QList<int> &ids)
{
    QList<int> result;
    result.reserve(ids.size());
    QSet<int> seen;
    seen.reserve(ids.size());
    for (int id : ids) {
        if (!seen.contains(id)) {
            seen.insert(id);
            result.append(id);
        }
    }
    return result;
}

QHash<int, qsizetype> firstRecordIndexOf(const MonsterDropData &data, const QList<int> &ids)
{
    QHash<int, qsizetype> index;
    if (ids.isEmpty())
        return index;
    QSet<int> wanted(ids.cbegin(), ids.cend());
    index.reserve(wanted.size());
    const qsizetype count = data.records.size();
    for (qsizetype i = 0; i < count; ++i) {
        const int id = data.records.at(i).monsterId;
        if (wanted.contains(id) && !index.contains(id)) {
            index.insert(id, i);
            if (index.size() == wanted.size())
                break;
        }
    }
    return index;
}

void removeRecords(MonsterDropData &data, const QList<bool> &remove)
{
    QList<MonsterDropConfig> &records = data.records;
    const qsizetype count = records.size();
    qsizetype write = 0;
    for (qsizetype read = 0; read < count; ++read) {
        if (read < remove.size() && remove.at(read))
            continue;
        if (write != read)
            records[write] = std::move(records[read]);
        ++write;
    }
    if (write < count)
        records.erase(records.begin() + write, records.end());
}

namespace {

// Every id a new box must not take: the boxes' own ids and every id a monster slot names.
template <typename Visit>
void forEachTakenBoxId(const DropBoxContentData &boxes, const MonsterDropData *monsters,
                       Visit visit)
{
    for (const DropBoxConfig &box : boxes.boxes)
        visit(box.boxId);
    if (!monsters)
        return;
    for (const MonsterDropConfig &record : monsters->records) {
        for (int id : record.dropBoxIds)
            visit(id);
    }
}

} // namespace

std::optional<int> newBoxId(const DropBoxContentData &boxes, const MonsterDropData &monsters)
{
    int largest = 0;
    forEachTakenBoxId(boxes, &monsters, [&largest](int id) { largest = std::max(largest, id); });
    if (largest == INT_MAX)
        return std::nullopt;
    return largest + 1;
}

std::optional<int> nextFreeBoxId(const DropBoxContentData &boxes, const MonsterDropData *monsters,
                                 qint64 start)
{
    start = std::max<qint64>(start, 1);
    if (start > INT_MAX)
        return std::nullopt;
    // With n ids taken, one of start .. start + n is free: mark the taken ones in that window.
    qint64 taken = boxes.boxes.size();
    if (monsters) {
        for (const MonsterDropConfig &record : monsters->records)
            taken += record.dropBoxIds.size();
    }
    const qint64 window = std::min<qint64>(taken + 1, qint64(INT_MAX) - start + 1);
    std::vector<bool> used(size_t(window), false);
    forEachTakenBoxId(boxes, monsters, [&](int id) {
        const qint64 offset = qint64(id) - start;
        if (offset >= 0 && offset < window)
            used[size_t(offset)] = true;
    });
    const auto freeSlot = std::find(used.cbegin(), used.cend(), false);
    if (freeSlot == used.cend())
        return std::nullopt;
    return int(start + (freeSlot - used.cbegin()));
}

QList<int> addItemIdsToBox(DropBoxConfig &box, const QList<int> &itemIds)
{
    QList<int> placed;
    QSet<int> present;
    for (const DropBoxItem &item : std::as_const(box.items)) {
        if (DropSlots::isUsedId(item.itemId))
            present.insert(item.itemId);
    }
    qsizetype emptySearch = 0; // slots before this one are all filled
    for (int id : itemIds) {
        if (!DropSlots::isUsedId(id) || present.contains(id))
            continue;
        while (emptySearch < box.items.size() &&
               DropSlots::isUsedId(box.items.at(emptySearch).itemId))
            ++emptySearch;
        if (emptySearch < box.items.size())
            box.items[emptySearch] = DropBoxItem{id, -1};
        else
            box.items.append(DropBoxItem{id, -1});
        present.insert(id);
        placed.append(id);
    }
    return placed;
}

int freeBoxSlot(const MonsterDropConfig &record)
{
    const QList<int> &ids = record.dropBoxIds;
    const qsizetype kept = std::min<qsizetype>(ids.size(), DropSlots::monsterSlotLimit);
    const auto empty = std::find_if(ids.cbegin(), ids.cbegin() + kept,
                                    [](int id) { return !DropSlots::isUsedId(id); });
    if (empty != ids.cbegin() + kept)
        return int(empty - ids.cbegin());
    return kept < DropSlots::monsterSlotLimit ? int(kept) : -1;
}

EditNotice monsterSlotsFullNotice(int monsterId)
{
    return EditNotice::warning(
        EditTexts::errorTitle(),
        QCoreApplication::translate("Lootwright", "%1 的 %2 个掉落槽位已全部使用，无法再加入包裹")
            .arg(LogLabels::monsterLabel(monsterId))
            .arg(DropSlots::monsterSlotLimit));
}

EditNotice itemRoomNotice(const DropBoxConfig &box, const QList<int> &itemIds)
{
    QSet<int> present;
    int free = 0;
    for (qsizetype i = 0; i < box.items.size(); ++i) {
        const int id = box.items.at(i).itemId;
        if (DropSlots::isUsedId(id))
            present.insert(id);
        else if (i < DropSlots::boxSlotLimit)
            ++free;
    }
    free += std::max<int>(0, DropSlots::boxSlotLimit - int(box.items.size()));
    int needed = 0;
    for (int id : itemIds) {
        if (DropSlots::isUsedId(id) && !present.contains(id)) {
            present.insert(id);
            ++needed;
        }
    }
    if (needed <= free)
        return {};
    return EditNotice::warning(
        EditTexts::errorTitle(),
        QCoreApplication::translate(
            "Lootwright", "包裹[%1] 最多只能有 %2 个物品槽位：还有 %3 个空位，无法添加 %4 个物品")
            .arg(num(box.boxId), num(DropSlots::boxSlotLimit), num(free), num(needed)));
}

void compactBoxSlots(DropBoxConfig &box, qsizetype slotCount)
{
    QList<DropBoxItem> compacted;
    compacted.reserve(std::max(slotCount, box.items.size()));
    for (const DropBoxItem &item : std::as_const(box.items)) {
        if (DropSlots::isUsedId(item.itemId))
            compacted.append(item);
    }
    if (compacted.size() < slotCount)
        compacted.resize(slotCount, DropBoxItem{-1, -1});
    box.items = std::move(compacted);
}

} // namespace EditSupport
