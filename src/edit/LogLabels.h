#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

class NameResolver;

// Labels used inside operation-log lines.
namespace LogLabels {

// "怪物[%1]" or "怪物[%1:%2]" with the trimmed name from the name tables.
QString monsterLabel(int monsterId);
QString monsterLabel(int monsterId, const NameResolver &names);
// Stands in for the monster label in box and item lines when no monster record is selected.
QString noMonsterLabel();
// "包裹[%1]"
QString boxLabel(int boxId);
// "物品[%1]" or "物品[%1:%2]" with the trimmed name from the item tables.
QString itemLabel(int itemId, const NameResolver &names);
// The first `limit` ids joined by ", ", plus "...（共%1个）" when there are more.
QString formatIdList(const QList<int> &ids, int limit);
// "[yyyy-MM-dd HH:mm:ss] message"; the message is inserted verbatim (a "%1" in it stays).
QString logLine(const QDateTime &time, const QString &message);

} // namespace LogLabels
