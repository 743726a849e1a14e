#include "edit/LogLabels.h"

#include "data/NameResolver.h"

#include <QCoreApplication>

namespace LogLabels {

QString monsterLabel(int monsterId)
{
    return monsterLabel(monsterId, NameResolver::instance());
}

QString monsterLabel(int monsterId, const NameResolver &names)
{
    const QString name = names.monsterName(monsterId).trimmed();
    if (name.isEmpty())
        return QCoreApplication::translate("Lootwright", "怪物[%1]").arg(monsterId);
    return QCoreApplication::translate("Lootwright", "怪物[%1:%2]")
        .arg(QString::number(monsterId), name);
}

QString noMonsterLabel()
{
    return QCoreApplication::translate("Lootwright", "怪物[未选择]");
}

QString boxLabel(int boxId)
{
    return QCoreApplication::translate("Lootwright", "包裹[%1]").arg(boxId);
}

QString itemLabel(int itemId, const NameResolver &names)
{
    const QString name = names.itemName(itemId).trimmed();
    if (name.isEmpty())
        return QCoreApplication::translate("Lootwright", "物品[%1]").arg(itemId);
    return QCoreApplication::translate("Lootwright", "物品[%1:%2]")
        .arg(QString::number(itemId), name);
}

QString formatIdList(const QList<int> &ids, int limit)
{
    QString text;
    const qsizetype shown = qMin<qsizetype>(ids.size(), qMax(limit, 0));
    for (qsizetype i = 0; i < shown; ++i) {
        if (i > 0)
            text += QStringLiteral(", ");
        text += QString::number(ids.at(i));
    }
    if (ids.size() > shown) {
        if (shown > 0)
            text += QStringLiteral(", ");
        text += QCoreApplication::translate("Lootwright", "...（共%1个）").arg(ids.size());
    }
    return text;
}

QString logLine(const QDateTime &time, const QString &message)
{
    // One-pass substitution so placeholders inside the message are left alone.
    return QStringLiteral("[%1] %2").arg(time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                         message);
}

} // namespace LogLabels
