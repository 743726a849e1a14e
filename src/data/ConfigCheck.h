#pragma once

#include "data/DropConfig.h"

#include <QList>
#include <QString>

class NameResolver;

// Consistency of the two drop documents with each other and with the name tables, checked before
// the files go to the server.
namespace ConfigCheck {

// In the order the findings are listed.
enum class Kind
{
    MissingBox,         // a monster slot names a box id that no box has
    UnusedBox,          // no monster slot names the box's id
    DuplicateBoxId,     // several boxes share an id
    DuplicateMonsterId, // several monster records share an id
    UnratedBox,         // a box that monsters name has a weight below 1
    UnknownItem,        // no item table knows the item id
    UnknownMonster,     // a monster record whose id the monster table lacks
    RateAboveFull,      // a monster slot whose rate is above 100 %
    OverfullMonster,    // box ids beyond the 20 slots the file keeps
    OverfullBox,        // items beyond the 100 slots the file keeps
};

// One finding; made by the named constructors, which also word its message.
struct Finding
{
    Kind kind = Kind::MissingBox;
    int monsterId = -1; // -1 when no monster is involved
    int boxId = -1;     // -1 when no box is involved; for UnknownItem the first box holding it
    int itemId = -1;    // UnknownItem only
    int count = 0;      // occurrences of a duplicated id; monsters naming an unrated box; filled
                        // slots beyond the limit
    int slot = -1;      // 0-based monster slot for MissingBox and RateAboveFull
    QString message;    // the Chinese text shown to the user

    // monsterLabel: "怪物[1001:名称]" as in the log.
    static Finding missingBox(int monsterId, int slot, int boxId, const QString &monsterLabel);
    static Finding unusedBox(int boxId);
    static Finding duplicateBoxId(int boxId, int count);
    static Finding duplicateMonsterId(int monsterId, int count);
    static Finding unratedBox(int boxId, int weight, int namingMonsters);
    static Finding unknownItem(int itemId, int firstBoxId);
    static Finding unknownMonster(int monsterId);
    static Finding rateAboveFull(int monsterId, int slot, int boxId, const QString &monsterLabel,
                                 const QString &rateText);
    static Finding overfullMonster(int monsterId, int beyond, const QString &monsterLabel);
    static Finding overfullBox(int boxId, int beyond);
};

// "missing-box", "unused-box", ...: stable names for scripts reading the command line's output.
QString kindName(Kind kind);
// "不存在的包裹", ...: the kind as the check window shows it.
QString kindTitle(Kind kind);

// The id of the first monster record that names the box id, or -1: where a box finding is shown.
int firstMonsterNaming(const MonsterDropData &monsters, int boxId);

// One pass over both documents and the name tables. Rates use the given multiplier. Findings are
// grouped by kind in the order of Kind, each group in document order.
QList<Finding> run(const MonsterDropData &monsters, const DropBoxContentData &boxes,
                   const NameResolver &names, double multiplier = 1.0);

} // namespace ConfigCheck
