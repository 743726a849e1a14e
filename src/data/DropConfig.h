#pragma once

#include <QList>
#include <QString>

// One item slot of a drop box. An itemId below 1 marks an empty slot.
struct DropBoxItem
{
    int itemId = -1;
    int level = -1;

    friend bool operator==(const DropBoxItem &a, const DropBoxItem &b)
    {
        return a.itemId == b.itemId && a.level == b.level;
    }
    friend bool operator!=(const DropBoxItem &a, const DropBoxItem &b) { return !(a == b); }
};

// One data line of DropBoxContent.txt.
struct DropBoxConfig
{
    int boxId = 0;
    int boxValue = 0;
    int notifyId = -1;
    int forceOpenFlag = 0;
    QList<DropBoxItem> items;

    friend bool operator==(const DropBoxConfig &a, const DropBoxConfig &b)
    {
        return a.boxId == b.boxId && a.boxValue == b.boxValue && a.notifyId == b.notifyId &&
               a.forceOpenFlag == b.forceOpenFlag && a.items == b.items;
    }
    friend bool operator!=(const DropBoxConfig &a, const DropBoxConfig &b) { return !(a == b); }
};

// One data line of MonsterDropBoxs.txt. displayName is never read from or written to the file.
struct MonsterDropConfig
{
    int monsterId = 0;
    QString displayName;
    int mValue = 0;
    int dropType = 0;
    QList<int> dropBoxIds;

    friend bool operator==(const MonsterDropConfig &a, const MonsterDropConfig &b)
    {
        return a.monsterId == b.monsterId && a.displayName == b.displayName &&
               a.mValue == b.mValue && a.dropType == b.dropType && a.dropBoxIds == b.dropBoxIds;
    }
    friend bool operator!=(const MonsterDropConfig &a, const MonsterDropConfig &b)
    {
        return !(a == b);
    }
};

struct MonsterDropData
{
    QString headerLine1;
    QString headerLine2;
    QList<MonsterDropConfig> records;
};

struct DropBoxContentData
{
    QString headerLine1;
    QString headerLine2;
    QString commentBlock;
    QList<DropBoxConfig> boxes;
};

namespace DropSlots {
// The slots the files keep: a monster's first 20 box slots, a box's first 100 item slots. A
// filled slot beyond them is dropped on reading, so no edit may fill one.
constexpr int monsterSlotLimit = 20;
constexpr int boxSlotLimit = 100;
// A box id or item id is in use only when it is 1 or more.
constexpr bool isUsedId(int id)
{
    return id >= 1;
}
int validBoxCount(const MonsterDropConfig &config);
int filledItemCount(const DropBoxConfig &box);
// Filled slots beyond the limits above.
int boxIdsBeyondLimit(const MonsterDropConfig &config);
int itemsBeyondLimit(const DropBoxConfig &box);
// The first box with this id in document order, or nullptr.
DropBoxConfig *findBox(DropBoxContentData &data, int boxId);
const DropBoxConfig *findBox(const DropBoxContentData &data, int boxId);
// Index of the first box with this id, or -1.
int indexOfBox(const DropBoxContentData &data, int boxId);
} // namespace DropSlots
