#include "data/ConfigCheck.h"

#include "data/NameResolver.h"
#include "edit/LogLabels.h"
#include "rates/DropRate.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace ConfigCheck {

namespace {

struct BoxInfo
{
    int weight = 0;        // of the first box, the one monsters get
    int count = 0;         // boxes with this id
    bool named = false;    // some monster slot names the id
    int namingRecords = 0; // records naming it, each once
    int lastRecord = -1;   // the last record counted in namingRecords
};

// Values by id: a plain array when the ids fill their range well (the usual numbering), a hash
// otherwise.
template <typename T> class IdMap
{
public:
    IdMap(int low, int high, qsizetype count)
    {
        const qint64 span = qint64(high) - qint64(low) + 1;
        if (count > 0 && span <= 4 * qint64(count) + 1024) {
            base = low;
            values.resize(std::size_t(span));
            used.resize(std::size_t(span), 0);
        } else {
            hash.reserve(count);
        }
    }

    // The value of an id within [low, high], created when new.
    T &insert(int id)
    {
        if (values.empty())
            return hash[id];
        const std::size_t i = std::size_t(qint64(id) - base);
        used[i] = 1;
        return values[i];
    }

    // The value of any id, or nullptr when it was never inserted.
    T *find(int id)
    {
        if (values.empty()) {
            const auto found = hash.find(id);
            return found == hash.end() ? nullptr : &found.value();
        }
        const qint64 i = qint64(id) - base;
        if (i < 0 || i >= qint64(values.size()) || !used[std::size_t(i)])
            return nullptr;
        return &values[std::size_t(i)];
    }

private:
    qint64 base = 0;
    std::vector<T> values;
    std::vector<char> used;
    QHash<int, T> hash;
};

template <typename List, typename Id> std::pair<int, int> idRange(const List &list, Id id)
{
    if (list.isEmpty())
        return {0, 0};
    int low = id(list.first());
    int high = low;
    for (const auto &entry : list) {
        low = std::min(low, id(entry));
        high = std::max(high, id(entry));
    }
    return {low, high};
}

// Item ids seen so far: a bit per id for ordinary ids, a set for the rare huge ones.
class SeenItems
{
public:
    // True the first time an id is offered.
    bool insert(int id)
    {
        if (id < bitLimit) {
            const std::size_t word = std::size_t(id) >> 6;
            if (word >= bits.size())
                bits.resize(std::max(word + 1, bits.size() * 2), 0);
            const std::uint64_t mask = std::uint64_t(1) << (id & 63);
            if (bits[word] & mask)
                return false;
            bits[word] |= mask;
            return true;
        }
        const qsizetype before = large.size();
        large.insert(id);
        return large.size() != before;
    }

private:
    static constexpr int bitLimit = 1 << 26; // 8 MB of bits at most
    std::vector<std::uint64_t> bits;
    QSet<int> large;
};

// "包裹[7]", as in the log.
QString boxText(int boxId)
{
    return QCoreApplication::translate("Lootwright", "包裹[%1]").arg(boxId);
}

// "怪物[1001:名称] 的第 3 个掉落槽位": the start of every slot finding.
QString slotText(const QString &monsterLabel, qsizetype slot)
{
    return QCoreApplication::translate("Lootwright", "%1 的第 %2 个掉落槽位")
        .arg(monsterLabel, QString::number(slot + 1));
}

bool containsKey(const QList<int> &sortedKeys, int key)
{
    return std::binary_search(sortedKeys.cbegin(), sortedKeys.cend(), key);
}

// What one pass over both documents learns, shared by the checks below.
struct Scan
{
    Scan(const MonsterDropData &monsters, const DropBoxContentData &boxes);

    IdMap<BoxInfo> boxInfo;
    std::vector<int> boxOrder;                   // distinct box ids in document order
    std::vector<std::pair<int, int>> firstItems; // (item id, box id of its first box)
    IdMap<int> recordsOfId;
    std::vector<int> duplicateOrder; // monster ids with a second record, in document order
};

IdMap<BoxInfo> boxMap(const DropBoxContentData &boxes)
{
    const auto [low, high] =
        idRange(boxes.boxes, [](const DropBoxConfig &box) { return box.boxId; });
    return IdMap<BoxInfo>(low, high, boxes.boxes.size());
}

IdMap<int> recordMap(const MonsterDropData &monsters)
{
    const auto [low, high] =
        idRange(monsters.records, [](const MonsterDropConfig &record) { return record.monsterId; });
    return IdMap<int>(low, high, monsters.records.size());
}

Scan::Scan(const MonsterDropData &monsters, const DropBoxContentData &boxes)
    : boxInfo(boxMap(boxes)), recordsOfId(recordMap(monsters))
{
    SeenItems seen;
    for (const DropBoxConfig &box : boxes.boxes) {
        BoxInfo &info = boxInfo.insert(box.boxId);
        if (info.count++ == 0) {
            info.weight = box.boxValue;
            boxOrder.push_back(box.boxId);
        }
        for (const DropBoxItem &item : box.items) {
            if (DropSlots::isUsedId(item.itemId) && seen.insert(item.itemId))
                firstItems.emplace_back(item.itemId, box.boxId);
        }
    }
    for (qsizetype r = 0; r < monsters.records.size(); ++r) {
        const MonsterDropConfig &record = monsters.records.at(r);
        if (++recordsOfId.insert(record.monsterId) == 2)
            duplicateOrder.push_back(record.monsterId);
        for (const int boxId : record.dropBoxIds) {
            BoxInfo *info = DropSlots::isUsedId(boxId) ? boxInfo.find(boxId) : nullptr;
            if (!info)
                continue;
            info->named = true;
            if (info->lastRecord != int(r)) {
                info->lastRecord = int(r);
                ++info->namingRecords;
            }
        }
    }
}

// Calls found(slot, boxId, label) for every used slot of every record; label() builds the
// monster's label once, when a finding needs it.
template <typename Found>
void forEachSlot(const MonsterDropData &monsters, const NameResolver &names, Found found)
{
    for (const MonsterDropConfig &record : monsters.records) {
        QString text;
        const auto label = [&] {
            if (text.isEmpty())
                text = LogLabels::monsterLabel(record.monsterId, names);
            return text;
        };
        for (qsizetype slot = 0; slot < record.dropBoxIds.size(); ++slot) {
            const int boxId = record.dropBoxIds.at(slot);
            if (DropSlots::isUsedId(boxId))
                found(record, int(slot), boxId, label);
        }
    }
}

void missingBoxes(QList<Finding> &out, const MonsterDropData &monsters, Scan &scan,
                  const NameResolver &names)
{
    forEachSlot(monsters, names,
                [&](const MonsterDropConfig &record, int slot, int boxId, const auto &label) {
                    if (!scan.boxInfo.find(boxId))
                        out.append(Finding::missingBox(record.monsterId, slot, boxId, label()));
                });
}

void unusedBoxes(QList<Finding> &out, const DropBoxContentData &boxes, Scan &scan)
{
    for (const DropBoxConfig &box : boxes.boxes) {
        if (!scan.boxInfo.find(box.boxId)->named)
            out.append(Finding::unusedBox(box.boxId));
    }
}

void duplicateBoxIds(QList<Finding> &out, Scan &scan)
{
    for (const int boxId : scan.boxOrder) {
        const int count = scan.boxInfo.find(boxId)->count;
        if (count > 1)
            out.append(Finding::duplicateBoxId(boxId, count));
    }
}

void duplicateMonsterIds(QList<Finding> &out, Scan &scan)
{
    for (const int monsterId : scan.duplicateOrder)
        out.append(Finding::duplicateMonsterId(monsterId, *scan.recordsOfId.find(monsterId)));
}

void unratedBoxes(QList<Finding> &out, Scan &scan)
{
    for (const int boxId : scan.boxOrder) {
        const BoxInfo &info = *scan.boxInfo.find(boxId);
        if (info.named && !DropRate::hasRate(info.weight))
            out.append(Finding::unratedBox(boxId, info.weight, info.namingRecords));
    }
}

void unknownItems(QList<Finding> &out, const Scan &scan, const NameResolver &names)
{
    const QList<int> commonKeys = names.commonItemNames.keys();
    const QList<int> equipKeys = names.equipNames.keys();
    const QList<int> gemKeys = names.gemNames.keys();
    for (const auto &[itemId, boxId] : scan.firstItems) {
        if (!containsKey(commonKeys, itemId) && !containsKey(equipKeys, itemId) &&
            !containsKey(gemKeys, itemId))
            out.append(Finding::unknownItem(itemId, boxId));
    }
}

void unknownMonsters(QList<Finding> &out, const MonsterDropData &monsters,
                     const NameResolver &names)
{
    const QList<int> monsterKeys = names.monsterNames.keys();
    for (const MonsterDropConfig &record : monsters.records) {
        if (!containsKey(monsterKeys, record.monsterId))
            out.append(Finding::unknownMonster(record.monsterId));
    }
}

void ratesAboveFull(QList<Finding> &out, const MonsterDropData &monsters, Scan &scan,
                    const NameResolver &names, double multiplier)
{
    forEachSlot(monsters, names,
                [&](const MonsterDropConfig &record, int slot, int boxId, const auto &label) {
                    const BoxInfo *info = scan.boxInfo.find(boxId);
                    if (info && DropRate::hasRate(info->weight) &&
                        DropRate::fraction(record.mValue, info->weight, multiplier) > 1.0)
                        out.append(Finding::rateAboveFull(
                            record.monsterId, slot, boxId, label(),
                            DropRate::tableText(record.mValue, info->weight, multiplier)));
                });
}

void overfullMonsters(QList<Finding> &out, const MonsterDropData &monsters,
                      const NameResolver &names)
{
    for (const MonsterDropConfig &record : monsters.records) {
        if (const int beyond = DropSlots::boxIdsBeyondLimit(record))
            out.append(Finding::overfullMonster(record.monsterId, beyond,
                                                LogLabels::monsterLabel(record.monsterId, names)));
    }
}

void overfullBoxes(QList<Finding> &out, const DropBoxContentData &boxes)
{
    for (const DropBoxConfig &box : boxes.boxes) {
        if (const int beyond = DropSlots::itemsBeyondLimit(box))
            out.append(Finding::overfullBox(box.boxId, beyond));
    }
}

} // namespace

Finding Finding::missingBox(int monsterId, int slot, int boxId, const QString &monsterLabel)
{
    return {Kind::MissingBox,
            monsterId,
            boxId,
            -1,
            0,
            slot,
            QCoreApplication::translate("Lootwright", "%1引用了不存在的%2")
                .arg(slotText(monsterLabel, slot), boxText(boxId))};
}

Finding Finding::unusedBox(int boxId)
{
    return {Kind::UnusedBox,
            -1,
            boxId,
            -1,
            0,
            -1,
            QCoreApplication::translate("Lootwright", "%1 没有被任何怪物引用").arg(boxText(boxId))};
}

Finding Finding::duplicateBoxId(int boxId, int count)
{
    return {Kind::DuplicateBoxId,
            -1,
            boxId,
            -1,
            count,
            -1,
            QCoreApplication::translate(
                "Lootwright", "包裹ID %1 出现了 %2 次（编辑器使用第一个，导出使用最后一个）")
                .arg(QString::number(boxId), QString::number(count))};
}

Finding Finding::duplicateMonsterId(int monsterId, int count)
{
    return {
        Kind::DuplicateMonsterId,
        monsterId,
        -1,
        -1,
        count,
        -1,
        QCoreApplication::translate("Lootwright", "怪物ID %1 有 %2 条掉落记录（编辑时使用第一条）")
            .arg(QString::number(monsterId), QString::number(count))};
}

Finding Finding::unratedBox(int boxId, int weight, int namingMonsters)
{
    return {Kind::UnratedBox,
            -1,
            boxId,
            -1,
            namingMonsters,
            -1,
            QCoreApplication::translate("Lootwright",
                                        "%1 的权值为 %2（小于 1），被 %3 个怪物引用，爆率无法计算")
                .arg(boxText(boxId), QString::number(weight), QString::number(namingMonsters))};
}

Finding Finding::unknownItem(int itemId, int firstBoxId)
{
    return {Kind::UnknownItem,
            -1,
            firstBoxId,
            itemId,
            0,
            -1,
            QCoreApplication::translate("Lootwright", "物品ID %1 不在任何物品表中（首次出现于%2）")
                .arg(QString::number(itemId), boxText(firstBoxId))};
}

Finding Finding::unknownMonster(int monsterId)
{
    return {Kind::UnknownMonster,
            monsterId,
            -1,
            -1,
            0,
            -1,
            QCoreApplication::translate(
                "Lootwright", "怪物ID %1 有掉落记录，但怪物表中没有该怪物（怪物列表中不显示）")
                .arg(monsterId)};
}

Finding Finding::rateAboveFull(int monsterId, int slot, int boxId, const QString &monsterLabel,
                               const QString &rateText)
{
    return {Kind::RateAboveFull,
            monsterId,
            boxId,
            -1,
            0,
            slot,
            QCoreApplication::translate("Lootwright", "%1 %2 爆率为 %3，超过 100%")
                .arg(slotText(monsterLabel, slot), boxText(boxId), rateText)};
}

Finding Finding::overfullMonster(int monsterId, int beyond, const QString &monsterLabel)
{
    return {Kind::OverfullMonster,
            monsterId,
            -1,
            -1,
            beyond,
            -1,
            QCoreApplication::translate(
                "Lootwright", "%1 有 %2 个包裹在第 %3 个掉落槽位之后，文件只保存 %3 个槽位，"
                              "重新加载后会丢失")
                .arg(monsterLabel, QString::number(beyond),
                     QString::number(DropSlots::monsterSlotLimit))};
}

Finding Finding::overfullBox(int boxId, int beyond)
{
    return {Kind::OverfullBox,
            -1,
            boxId,
            -1,
            beyond,
            -1,
            QCoreApplication::translate(
                "Lootwright", "%1 有 %2 个物品在第 %3 个物品槽位之后，文件只保存 %3 个槽位，"
                              "重新加载后会丢失")
                .arg(boxText(boxId), QString::number(beyond),
                     QString::number(DropSlots::boxSlotLimit))};
}

QString kindName(Kind kind)
{
    switch (kind) {
    case Kind::MissingBox:
        return QStringLiteral("missing-box");
    case Kind::UnusedBox:
        return QStringLiteral("unused-box");
    case Kind::DuplicateBoxId:
        return QStringLiteral("duplicate-box-id");
    case Kind::DuplicateMonsterId:
        return QStringLiteral("duplicate-monster-id");
    case Kind::UnratedBox:
        return QStringLiteral("unrated-box");
    case Kind::UnknownItem:
        return QStringLiteral("unknown-item");
    case Kind::UnknownMonster:
        return QStringLiteral("unknown-monster");
    case Kind::RateAboveFull:
        return QStringLiteral("rate-above-100");
    case Kind::OverfullMonster:
        return QStringLiteral("monster-slots-over-limit");
    case Kind::OverfullBox:
        return QStringLiteral("box-slots-over-limit");
    }
    return QString();
}

QString kindTitle(Kind kind)
{
    switch (kind) {
    case Kind::MissingBox:
        return QCoreApplication::translate("Lootwright", "不存在的包裹");
    case Kind::UnusedBox:
        return QCoreApplication::translate("Lootwright", "无引用的包裹");
    case Kind::DuplicateBoxId:
        return QCoreApplication::translate("Lootwright", "重复的包裹ID");
    case Kind::DuplicateMonsterId:
        return QCoreApplication::translate("Lootwright", "重复的怪物ID");
    case Kind::UnratedBox:
        return QCoreApplication::translate("Lootwright", "权值小于1");
    case Kind::UnknownItem:
        return QCoreApplication::translate("Lootwright", "未知物品");
    case Kind::UnknownMonster:
        return QCoreApplication::translate("Lootwright", "未知怪物");
    case Kind::RateAboveFull:
        return QCoreApplication::translate("Lootwright", "爆率超过100%");
    case Kind::OverfullMonster:
        return QCoreApplication::translate("Lootwright", "掉落槽位超过20个");
    case Kind::OverfullBox:
        return QCoreApplication::translate("Lootwright", "物品槽位超过100个");
    }
    return QString();
}

int firstMonsterNaming(const MonsterDropData &monsters, int boxId)
{
    if (!DropSlots::isUsedId(boxId))
        return -1;
    for (const MonsterDropConfig &record : monsters.records) {
        if (record.dropBoxIds.contains(boxId))
            return record.monsterId;
    }
    return -1;
}

QList<Finding> run(const MonsterDropData &monsters, const DropBoxContentData &boxes,
                   const NameResolver &names, double multiplier)
{
    Scan scan(monsters, boxes);
    QList<Finding> findings;
    missingBoxes(findings, monsters, scan, names);
    unusedBoxes(findings, boxes, scan);
    duplicateBoxIds(findings, scan);
    duplicateMonsterIds(findings, scan);
    unratedBoxes(findings, scan);
    unknownItems(findings, scan, names);
    unknownMonsters(findings, monsters, names);
    ratesAboveFull(findings, monsters, scan, names, multiplier);
    overfullMonsters(findings, monsters, names);
    overfullBoxes(findings, boxes);
    return findings;
}

} // namespace ConfigCheck
