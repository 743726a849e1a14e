#pragma once

// Small builders and field-by-field descriptions of drop documents.

#include "data/DropConfig.h"

#include <QMetaType>
#include <QStringList>

namespace EditFixtures {

MonsterDropConfig monster(int id, int value, const QList<int> &boxIds, int dropType = 0);
// Item slots from ids; each filled slot gets level id % 7, an empty one -1.
DropBoxConfig box(int id, int weight, const QList<int> &itemIds = {}, int notifyId = -1,
                  int forceOpenFlag = 0);
// Empty slots appended up to the file's count.
MonsterDropConfig padded(MonsterDropConfig record, int slots = 20);
DropBoxConfig padded(DropBoxConfig box, int slots = 100);

// The same builders from short texts, space-separated records in the builders' argument order:
// "id|value|boxes[|type]" and "id|weight|items[|notify|flag]", lists comma-separated.
QList<MonsterDropConfig> monstersFrom(const QString &text);
QList<DropBoxConfig> boxesFrom(const QString &text);

MonsterDropData monsters(const QList<MonsterDropConfig> &records);
DropBoxContentData boxes(const QList<DropBoxConfig> &list);

QString joined(const QList<int> &ids);
QString describe(const MonsterDropConfig &r);
QString describe(const DropBoxConfig &b);
QStringList describe(const MonsterDropData &data);
QStringList describe(const DropBoxContentData &data);

// Both files as the editor saves them, one after the other.
QByteArray savedBytes(const MonsterDropData &monsters, const DropBoxContentData &boxes);

} // namespace EditFixtures

Q_DECLARE_METATYPE(MonsterDropConfig)
Q_DECLARE_METATYPE(DropBoxConfig)
