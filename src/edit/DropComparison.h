#pragma once

#include "data/DropConfig.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

class NameResolver;

// What differs between two states of both drop documents: the records (monsters, boxes, header
// and comment lines) and the drop rates every monster gets for every item. Monsters and boxes are
// matched by id, the first record of an id as everywhere else in the editor. Holds numbers only,
// never pointers into the documents; the lines are built when asked for, with the names known then.
class DropComparison
{
public:
    // Records first, then rates; the order in which each list is grouped.
    enum class Kind
    {
        MonsterHeader,    // slot: header line 0 or 1; before/after: texts
        BoxHeader,        // as MonsterHeader
        BoxComments,      // before/after: texts
        MonsterAdded,     // after: value, extra: drop type, box ids in the number pool
        MonsterRemoved,   // before: value, extra: drop type, box ids in the number pool
        MonsterValue,     // before/after: monster value
        MonsterDropType,  // before/after: drop type
        MonsterSlot,      // slot; before/after: box id (below 1 for an empty slot)
        MonsterSlotCount, // before/after: length of the slot list
        MonsterRepeated,  // before/after: number of records with the id
        BoxAdded,         // after: weight, extra: filled item slots
        BoxRemoved,       // before: weight, extra: filled item slots
        BoxWeight,        // before/after: weight
        BoxNotify,        // before/after: broadcast id
        BoxBind,          // before/after: force-bind flag
        BoxItemAdded,     // itemId, extra: how many slots more hold it
        BoxItemRemoved,   // itemId, extra: how many slots fewer hold it
        BoxItemSlots,     // the same items in other slots or with other levels
        BoxRepeated,      // before/after: number of boxes with the id
        RateChanged,      // monsterId, itemId; sources in the source pool
        RateAdded,        // newly dropped
        RateRemoved,      // no longer dropped
    };

    // -1 where a field plays no part.
    struct Change
    {
        Kind kind = Kind::MonsterValue;
        int monsterId = -1;
        int boxId = -1; // rates: the box the item drops from after (before when no longer dropped)
        int itemId = -1;
        int slot = -1; // 0-based
        int before = 0;
        int after = 0;
        int extra = 0;
        // Added and removed monsters: their used box ids, in the number pool from poolAt. Rates:
        // the position in the rate list.
        int poolAt = 0;
        int poolCount = 0;
    };

    // One box a monster's slot reaches that holds the item. An item in several slots of one box
    // counts once for that box, as in the item sources window.
    struct RateSource
    {
        int boxId = 0;
        int monsterValue = 0;
        int boxWeight = 0;
    };

    static DropComparison compare(const MonsterDropData &beforeMonsters,
                                  const DropBoxContentData &beforeBoxes,
                                  const MonsterDropData &afterMonsters,
                                  const DropBoxContentData &afterBoxes);

    // Header and comment lines, then monsters by id, then boxes by id.
    qsizetype recordCount() const { return records.size() + boxRecords.size(); }
    const Change &recordChange(qsizetype index) const;
    // By monster id; a monster's items in the order its boxes list them, the boxes after the
    // change first. Rate changes can run into millions, so they are kept packed and unpacked one
    // at a time.
    qsizetype rateCount() const { return rates.size(); }
    Change rateChange(qsizetype index) const;
    bool isEmpty() const { return recordCount() == 0 && rateCount() == 0; }

    // "monster-slot", "rate-changed", ...: stable names for scripts.
    static QString kindName(Kind kind);
    // "槽位", "爆率改变", ...: the kind as the window shows it.
    static QString kindTitle(Kind kind);

    // Labels and rate texts kept between lines, for writing the lines of many changes of one
    // comparison in a row with one state of the name tables.
    class LineCache
    {
    public:
        explicit LineCache(const NameResolver &names) : names(names) {}

    private:
        friend class DropComparison;
        const NameResolver &names;
        int monsterId = -1;
        QString monsterLabel;
        std::vector<QString> itemLabels; // by item id, for the usual ids
        QHash<int, QString> largeItemLabels;
        qsizetype group = -1;
        qsizetype groupEnd = -1;           // the group's rates: [first, groupEnd)
        std::vector<QString> sideTexts[2]; // per source of the group, built when first needed
    };

    // The reviewer's line, e.g. "怪物[1001:史莱姆] 槽位3：包裹[8] → 包裹[12]".
    QString text(const Change &change, const NameResolver &names) const;
    QString text(const Change &change, LineCache &cache) const;
    // The line appended to `out`, for writing many.
    void appendText(QString &out, const Change &change, LineCache &cache) const;
    // Header and comment kinds: the text on one side.
    QString lineText(const Change &change, bool after) const;
    // Added and removed monsters: the box ids of their used slots.
    QList<int> boxIds(const Change &change) const;
    // Rate kinds: the sources on one side, highest rate first; empty when the item does not drop.
    QList<RateSource> sources(const Change &change, bool after) const;
    // Rate kinds: one side in the table form ("20.00%", "N/A"), sources joined by " + ", or
    // "不掉落"; and as "1/N" ("—" without a chance).
    QString rateText(const Change &change, bool after) const;
    QString oneInText(const Change &change, bool after) const;

private:
    friend class DropComparer;

    // A list that grows in blocks, so millions of entries are never moved as it grows.
    template <typename T> class BlockList
    {
    public:
        void push_back(const T &value)
        {
            if (count % blockSize == 0)
                blocks.emplace_back().reserve(blockSize);
            blocks.back().push_back(value);
            ++count;
        }
        T &back() { return blocks.back().back(); }
        const T &operator[](qsizetype index) const
        {
            return blocks[std::size_t(index / blockSize)][std::size_t(index % blockSize)];
        }
        qsizetype size() const { return count; }

    private:
        static constexpr qsizetype blockSize = 1 << 15;
        std::vector<std::vector<T>> blocks;
        qsizetype count = 0;
    };

    // The sources a monster's slots reach on either side, for its rate changes from firstRate.
    struct RateGroup
    {
        int monsterId;
        int beforeAt; // in sourcePool
        int afterAt;
        qsizetype firstRate;
    };
    // One item of the group's monster. `sources` packs the source indexes: without the top bit,
    // one before source plus 1 in bits 16 to 30 and one after source plus 1 in bits 0 to 15 (0 for
    // none); with it, the offset in indexPool of the before count, the after count and the
    // indexes.
    struct RateEntry
    {
        int itemId;
        quint32 sources;
    };
    static constexpr quint32 pooledSources = 0x80000000u;
    // The source indexes of one side of an entry.
    struct SourceSpan
    {
        const quint16 *pooled = nullptr;
        int single = 0;
        int count = 0;
        int at(int n) const { return pooled ? pooled[n] : single; }
    };
    SourceSpan sourceSpan(const RateEntry &entry, bool after) const;
    qsizetype groupOf(qsizetype rate) const;
    // One side of a rate change: the sources' table forms with their "1/N", or "不掉落".
    void appendRateSide(QString &out, const Change &change, bool after, LineCache &cache) const;
    static const QString &itemLabel(int itemId, LineCache &cache);

    BlockList<Change> records;    // header, comment and monster changes
    BlockList<Change> boxRecords; // box changes, listed after them
    std::vector<int> numbers;
    std::vector<RateGroup> groups;
    BlockList<RateEntry> rates;
    std::vector<RateSource> sourcePool;
    std::vector<quint16> indexPool;
    QStringList texts;
};
