#pragma once

#include "data/DropConfig.h"

#include <QAbstractItemModel>
#include <QColor>
#include <QList>
#include <QStringList>
#include <QVariant>

// Shared helpers of the model tests: compact fixtures and a text dump of a model.
namespace ModelTestSupport {

// One cell as text: "~" for an invalid value, a colour as its rgb triple, anything else as text.
inline QString cellText(const QVariant &value)
{
    if (!value.isValid())
        return QStringLiteral("~");
    if (value.userType() == QMetaType::QColor) {
        const QColor color = value.value<QColor>();
        return QStringLiteral("rgb(%1,%2,%3)")
            .arg(color.red())
            .arg(color.green())
            .arg(color.blue());
    }
    return value.toString();
}

// The whole model for one role: cells joined by "|", rows by "\n".
inline QString dumpModel(const QAbstractItemModel &model, int role = Qt::DisplayRole)
{
    QStringList lines;
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column)
            cells << cellText(model.data(model.index(row, column), role));
        lines << cells.join(QLatin1Char('|'));
    }
    return lines.join(QLatin1Char('\n'));
}

inline QString dumpHeader(const QAbstractItemModel &model, int extraSections = 1)
{
    QStringList cells;
    for (int section = -1; section < model.columnCount() + extraSections; ++section)
        cells << cellText(model.headerData(section, Qt::Horizontal, Qt::DisplayRole));
    return cells.join(QLatin1Char('|'));
}

// A box with the given item ids in its first slots and empty slots up to 100.
inline DropBoxConfig makeBox(int boxId, int weight, const QList<int> &itemIds, bool pad = true)
{
    DropBoxConfig box;
    box.boxId = boxId;
    box.boxValue = weight;
    for (int id : itemIds)
        box.items.append(DropBoxItem{id, 1});
    while (pad && box.items.size() < 100)
        box.items.append(DropBoxItem{});
    return box;
}

// A monster with the given box ids in its first slots and -1 up to 20.
inline MonsterDropConfig makeMonster(int monsterId, int monsterValue, const QList<int> &boxIds)
{
    MonsterDropConfig monster;
    monster.monsterId = monsterId;
    monster.mValue = monsterValue;
    monster.dropBoxIds = boxIds;
    while (monster.dropBoxIds.size() < 20)
        monster.dropBoxIds.append(-1);
    return monster;
}

} // namespace ModelTestSupport
