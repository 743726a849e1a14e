#pragma once

#include "data/DropConfig.h"
#include "rates/DropOdds.h"

#include <QList>
#include <QString>
#include <vector>

class NameResolver;

// Where an item drops: every box that holds it and every monster slot that names such a box.
// Built once over one state of the two documents and asked any number of times. It keeps plain
// copies of the numbers it needs, never pointers, so an index older than the documents gives old
// numbers but never reads freed records; whoever changes the documents rebuilds it.
class ItemSourceIndex
{
public:
    // One box holding the item, with one monster slot naming it. A box that no slot reaches gives
    // one source without a monster.
    struct Source
    {
        int boxIndex = -1; // position in the box document
        int boxId = 0;
        int boxValue = 0;
        // An earlier box has the same id, so monsters naming the id get that one instead.
        bool shadowed = false;
        int recordIndex = -1; // position in the monster document; -1 without a monster
        int monsterId = 0;
        int mValue = 0;
        int slot = -1; // position in the monster's dropBoxIds

        bool hasMonster() const { return recordIndex >= 0; }
        // The rate by the one rule, for sorting: the fraction, or below every rate when the box
        // has no monster or no rate.
        double sortRate(double multiplier) const;
        // Table form ("12.50%", "N/A"), "1/N" and the chance in 100 kills; all "—" without a
        // monster.
        QString rateText(double multiplier) const;
        QString oneInText(double multiplier) const;
        QString chanceText(double multiplier) const;
        // The rate as a fraction for the kill counts; NaN without a monster or a rate.
        double killRate(double multiplier) const;
    };

    // One monster's every slot naming a box that holds the item, taken together: the boxes roll
    // on their own, each once per slot.
    struct MonsterTotal
    {
        int recordIndex = -1;
        int monsterId = 0;
        int mValue = 0;
        QList<int> slots;  // positions in dropBoxIds, ascending
        QList<int> boxIds; // per slot
        DropOdds::ItemOdds odds;
    };
    // Per monster of the sources, in monster document order.
    static QList<MonsterTotal> totals(const QList<Source> &sources, double multiplier);
    // The `count` totals with the highest chance per kill, highest first; none without a chance.
    static QList<MonsterTotal> bestTotals(QList<MonsterTotal> totals, int count);

    static constexpr int chanceKills = 100;

    ItemSourceIndex() = default;
    ItemSourceIndex(const MonsterDropData &monsters, const DropBoxContentData &boxes);

    void rebuild(const MonsterDropData &monsters, const DropBoxContentData &boxes);
    void clear();

    // Box document order, then monster document order, then slot order. Empty for an item no box
    // holds. An item in several slots of one box counts once for that box.
    QList<Source> sources(int itemId) const;
    // The number of boxes holding the item.
    int boxCount(int itemId) const;

private:
    struct Box
    {
        int boxId;
        int boxValue;
        bool shadowed;
    };
    struct Namer
    {
        int recordIndex;
        int monsterId;
        int mValue;
        int slot;
    };

    // Position of the item in itemKeys, or -1.
    qsizetype itemPosition(int itemId) const;

    std::vector<Box> boxEntries;       // per box document position
    std::vector<int> itemKeys;         // distinct item ids, ascending
    std::vector<qsizetype> itemStart;  // itemKeys.size() + 1 offsets into itemBoxes
    std::vector<int> itemBoxes;        // box positions, ascending per item
    std::vector<qsizetype> namerStart; // boxEntries.size() + 1 offsets into namers
    std::vector<Namer> namers;
};

// The columns in which the lookup window and the command line show sources.
namespace ItemSourceTable {

enum Column
{
    MonsterIdColumn,
    MonsterNameColumn,
    SlotColumn, // 1-based, as the box list counts
    MonsterValueColumn,
    BoxIdColumn,
    BoxWeightColumn,
    RateColumn,
    OneInColumn,
    Kills50Column, // kills for a 50 %, 90 % and 99 % chance of at least one drop
    Kills90Column,
    Kills99Column,
    ChanceColumn,
    ColumnCount
};

QString headerText(int column);
// The cell text; "—" for the monster columns of a box without a monster, whose name column says
// why.
QString cellText(const ItemSourceIndex::Source &source, int column, const NameResolver &names,
                 double multiplier);
// A monster's total: "合计" in the slot column, its box ids joined, no weight.
QString cellText(const ItemSourceIndex::MonsterTotal &total, int column, const NameResolver &names);
// The chance a kills column stands for, or 0 for another column.
double killsChance(int column);

} // namespace ItemSourceTable
