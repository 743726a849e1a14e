#pragma once

// Small builders and field-by-field descriptions of drop documents for the edit tests.

#include "data/DropBoxContentParser.h"
#include "data/DropConfig.h"
#include "data/MonsterDropParser.h"

#include <QBuffer>
#include <QMetaType>
#include <QStringList>

namespace EditFixtures {

inline MonsterDropConfig monster(int id, int value, const QList<int> &boxIds, int dropType = 0)
{
    MonsterDropConfig record;
    record.monsterId = id;
    record.mValue = value;
    record.dropType = dropType;
    record.dropBoxIds = boxIds;
    return record;
}

// Item slots from ids; each filled slot gets level id % 7, an empty one -1.
inline DropBoxConfig box(int id, int weight, const QList<int> &itemIds = {}, int notifyId = -1,
                         int forceOpenFlag = 0)
{
    DropBoxConfig config;
    config.boxId = id;
    config.boxValue = weight;
    config.notifyId = notifyId;
    config.forceOpenFlag = forceOpenFlag;
    for (int item : itemIds)
        config.items.append(DropBoxItem{item, item >= 1 ? item % 7 : -1});
    return config;
}

inline MonsterDropData monsters(const QList<MonsterDropConfig> &records)
{
    MonsterDropData data;
    data.headerLine1 = QStringLiteral("MonsterId\tMValue");
    data.headerLine2 = QStringLiteral("int\tint");
    data.records = records;
    return data;
}

inline DropBoxContentData boxes(const QList<DropBoxConfig> &list)
{
    DropBoxContentData data;
    data.headerLine1 = QStringLiteral("ID\tBoxValue");
    data.headerLine2 = QStringLiteral("int\tint");
    data.commentBlock = QStringLiteral("// made-up boxes");
    data.boxes = list;
    return data;
}

inline QString joined(const QList<int> &ids)
{
    QStringList parts;
    for (int id : ids)
        parts << QString::number(id);
    return parts.join(QLatin1Char(','));
}

inline QString describe(const MonsterDropConfig &r)
{
    return QStringLiteral("monster %1 name='%2' value=%3 type=%4 boxes=[%5]")
        .arg(QString::number(r.monsterId), r.displayName, QString::number(r.mValue),
             QString::number(r.dropType), joined(r.dropBoxIds));
}

inline QString describe(const DropBoxConfig &b)
{
    QStringList items;
    for (const DropBoxItem &item : b.items)
        items << QStringLiteral("%1/%2").arg(item.itemId).arg(item.level);
    return QStringLiteral("box %1 weight=%2 notify=%3 flag=%4 items=[%5]")
        .arg(QString::number(b.boxId), QString::number(b.boxValue), QString::number(b.notifyId),
             QString::number(b.forceOpenFlag), items.join(QLatin1Char(',')));
}

inline QStringList describe(const MonsterDropData &data)
{
    QStringList lines{data.headerLine1, data.headerLine2};
    for (const MonsterDropConfig &r : data.records)
        lines << describe(r);
    return lines;
}

inline QStringList describe(const DropBoxContentData &data)
{
    QStringList lines{data.headerLine1, data.headerLine2, data.commentBlock};
    for (const DropBoxConfig &b : data.boxes)
        lines << describe(b);
    return lines;
}

// Both files as the editor saves them, one after the other.
inline QByteArray savedBytes(const MonsterDropData &monsters, const DropBoxContentData &boxes)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QString error;
    buffer.open(QIODevice::WriteOnly);
    MonsterDropParser(20).write(buffer, monsters, error);
    buffer.write("=====\n");
    DropBoxContentParser(100).write(buffer, boxes, error);
    return bytes;
}

} // namespace EditFixtures

Q_DECLARE_METATYPE(MonsterDropConfig)
Q_DECLARE_METATYPE(DropBoxConfig)
