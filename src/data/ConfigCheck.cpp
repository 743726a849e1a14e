#include "data/ConfigCheck.h"

#include "data/NameResolver.h"
#include "edit/LogLabels.h"
#include "rates/DropRate.h"

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

// A text whose %1 ... %9 are split out once and filled by concatenation: a check can make
// hundreds of thousands of findings, and each text is translated and parsed once per run.
class FindingText
{
public:
    explicit FindingText(const QString &text)
    {
        qsizetype start = 0;
        for (qsizetype i = 0; i + 1 < text.size(); ++i) {
            const int digit = text.at(i + 1).digitValue();
            if (text.at(i) != u'%' || digit < 1)
                continue;
            pieces.append(text.mid(start, i - start));
            argIndexes.append(digit - 1);
            start = i + 2;
            ++i;
        }
        pieces.append(text.mid(start));
    }

    QString operator()(std::initializer_list<QStringView> args) const
    {
        const auto arg = [&](qsizetype i) {
            const qsizetype index = argIndexes.at(i);
            return index < qsizetype(args.size()) ? args.begin()[index] : QStringView();
        };
        qsizetype size = pieces.constFirst().size();
        for (qsizetype i = 0; i < argIndexes.size(); ++i)
            size += arg(i).size() + pieces.at(i + 1).size();
        QString out;
        out.reserve(size);
        out += pieces.constFirst();
        for (qsizetype i = 0; i < argIndexes.size(); ++i) {
            out += arg(i);
            out += pieces.at(i + 1);
        }
        return out;
    }

private:
    QStringList pieces;
    QList<qsizetype> argIndexes;
};

struct FindingTexts
{
    // "包裹[7]", as in the log.
    FindingText box{QStringLiteral("包裹[%1]")};
    // "怪物[1001:名称] 的第 3 个掉落槽位": the start of every slot finding.
    FindingText slot{QStringLiteral("%1 的第 %2 个掉落槽位")};
    FindingText missingBox{QStringLiteral("%1引用了不存在的%2")};
    FindingText aboveFull{QStringLiteral("%1 %2 爆率为 %3，超过 100%")};
    FindingText unknownMonster{
        QStringLiteral("怪物ID %1 有掉落记录，但怪物表中没有该怪物（怪物列表中不显示）")};
    FindingText duplicateMonster{QStringLiteral("怪物ID %1 有 %2 条掉落记录（编辑时使用第一条）")};
    FindingText unusedBox{QStringLiteral("%1 没有被任何怪物引用")};
    FindingText duplicateBox{
        QStringLiteral("包裹ID %1 出现了 %2 次（编辑器使用第一个，导出使用最后一个）")};
    FindingText unratedBox{
        QStringLiteral("%1 的权值为 %2（小于 1），被 %3 个怪物引用，爆率无法计算")};
    FindingText unknownItem{QStringLiteral("物品ID %1 不在任何物品表中（首次出现于%2）")};

    QString boxText(int boxId) const { return box({QString::number(boxId)}); }
    QString slotText(const QString &monsterLabel, qsizetype slotIndex) const
    {
        return slot({monsterLabel, QString::number(slotIndex + 1)});
    }
};

bool containsKey(const QList<int> &sortedKeys, int key)
{
    return std::binary_search(sortedKeys.cbegin(), sortedKeys.cend(), key);
}

} // namespace

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
    }
    return QString();
}

QString kindTitle(Kind kind)
{
    switch (kind) {
    case Kind::MissingBox:
        return QStringLiteral("不存在的包裹");
    case Kind::UnusedBox:
        return QStringLiteral("无引用的包裹");
    case Kind::DuplicateBoxId:
        return QStringLiteral("重复的包裹ID");
    case Kind::DuplicateMonsterId:
        return QStringLiteral("重复的怪物ID");
    case Kind::UnratedBox:
        return QStringLiteral("权值小于1");
    case Kind::UnknownItem:
        return QStringLiteral("未知物品");
    case Kind::UnknownMonster:
        return QStringLiteral("未知怪物");
    case Kind::RateAboveFull:
        return QStringLiteral("爆率超过100%");
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
    const FindingTexts texts;
    QList<Finding> missing, duplicateMonsters, unknownMonsters, aboveFull;

    // Boxes: ids, and the item ids in order of first appearance.
    const auto [lowBox, highBox] =
        idRange(boxes.boxes, [](const DropBoxConfig &box) { return box.boxId; });
    IdMap<BoxInfo> boxInfo(lowBox, highBox, boxes.boxes.size());
    std::vector<int> boxOrder; // distinct box ids in document order
    SeenItems seen;
    std::vector<std::pair<int, int>> firstItems; // (item id, box id of its first box)
    for (qsizetype i = 0; i < boxes.boxes.size(); ++i) {
        const DropBoxConfig &box = boxes.boxes.at(i);
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

    // Monsters: their ids, and every used slot against the boxes.
    const QList<int> monsterKeys = names.monsterNames.keys();
    const auto [lowMonster, highMonster] =
        idRange(monsters.records, [](const MonsterDropConfig &record) { return record.monsterId; });
    IdMap<int> recordsOfId(lowMonster, highMonster, monsters.records.size());
    std::vector<int> duplicateOrder;
    for (qsizetype r = 0; r < monsters.records.size(); ++r) {
        const MonsterDropConfig &record = monsters.records.at(r);
        int &records = recordsOfId.insert(record.monsterId);
        if (++records == 2)
            duplicateOrder.push_back(record.monsterId);
        if (!containsKey(monsterKeys, record.monsterId)) {
            unknownMonsters.append({Kind::UnknownMonster, record.monsterId, -1, -1, 0, -1,
                                    texts.unknownMonster({QString::number(record.monsterId)})});
        }

        QString label; // built only when a finding needs it
        const auto monsterText = [&] {
            if (label.isEmpty())
                label = LogLabels::monsterLabel(record.monsterId, names);
            return label;
        };
        for (qsizetype slot = 0; slot < record.dropBoxIds.size(); ++slot) {
            const int boxId = record.dropBoxIds.at(slot);
            if (!DropSlots::isUsedId(boxId))
                continue;
            BoxInfo *found = boxInfo.find(boxId);
            if (!found) {
                missing.append({Kind::MissingBox, record.monsterId, boxId, -1, 0, int(slot),
                                texts.missingBox(
                                    {texts.slotText(monsterText(), slot), texts.boxText(boxId)})});
                continue;
            }
            BoxInfo &info = *found;
            info.named = true;
            if (info.lastRecord != int(r)) {
                info.lastRecord = int(r);
                ++info.namingRecords;
            }
            if (DropRate::hasRate(info.weight) &&
                DropRate::fraction(record.mValue, info.weight, multiplier) > 1.0) {
                aboveFull.append(
                    {Kind::RateAboveFull, record.monsterId, boxId, -1, 0, int(slot),
                     texts.aboveFull(
                         {texts.slotText(monsterText(), slot), texts.boxText(boxId),
                          DropRate::tableText(record.mValue, info.weight, multiplier)})});
            }
        }
    }
    for (const int monsterId : duplicateOrder) {
        const int count = *recordsOfId.find(monsterId);
        duplicateMonsters.append(
            {Kind::DuplicateMonsterId, monsterId, -1, -1, count, -1,
             texts.duplicateMonster({QString::number(monsterId), QString::number(count)})});
    }

    QList<Finding> unused, duplicateBoxes, unrated;
    for (qsizetype i = 0; i < boxes.boxes.size(); ++i) {
        const int boxId = boxes.boxes.at(i).boxId;
        if (boxInfo.find(boxId)->named)
            continue;
        unused.append(
            {Kind::UnusedBox, -1, boxId, -1, 0, -1, texts.unusedBox({texts.boxText(boxId)})});
    }
    for (const int boxId : boxOrder) {
        const BoxInfo &info = *boxInfo.find(boxId);
        if (info.count > 1) {
            duplicateBoxes.append(
                {Kind::DuplicateBoxId, -1, boxId, -1, info.count, -1,
                 texts.duplicateBox({QString::number(boxId), QString::number(info.count)})});
        }
        const int weight = info.weight;
        if (info.named && !DropRate::hasRate(weight)) {
            unrated.append({Kind::UnratedBox, -1, boxId, -1, info.namingRecords, -1,
                            texts.unratedBox({texts.boxText(boxId), QString::number(weight),
                                              QString::number(info.namingRecords)})});
        }
    }

    QList<Finding> unknownItems;
    const QList<int> commonKeys = names.commonItemNames.keys();
    const QList<int> equipKeys = names.equipNames.keys();
    const QList<int> gemKeys = names.gemNames.keys();
    for (const auto &[itemId, boxId] : firstItems) {
        if (containsKey(commonKeys, itemId) || containsKey(equipKeys, itemId) ||
            containsKey(gemKeys, itemId))
            continue;
        unknownItems.append({Kind::UnknownItem, -1, boxId, itemId, 0, -1,
                             texts.unknownItem({QString::number(itemId), texts.boxText(boxId)})});
    }

    QList<Finding> findings;
    findings.reserve(missing.size() + unused.size() + duplicateBoxes.size() +
                     duplicateMonsters.size() + unrated.size() + unknownItems.size() +
                     unknownMonsters.size() + aboveFull.size());
    for (const QList<Finding> *group : {&missing, &unused, &duplicateBoxes, &duplicateMonsters,
                                        &unrated, &unknownItems, &unknownMonsters, &aboveFull})
        findings.append(*group);
    return findings;
}

} // namespace ConfigCheck
