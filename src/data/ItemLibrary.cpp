#include "data/ItemLibrary.h"

#include "data/NameResolver.h"

#include <QCoreApplication>

void appendItemLibraryEntries(QList<ItemLibraryEntry> &entries, const QString &category,
                              const QMap<int, QString> &table)
{
    for (auto it = table.cbegin(); it != table.cend(); ++it)
        entries.append(ItemLibraryEntry{it.key(), QString::number(it.key()), it.value(), category});
}

QList<ItemLibraryEntry> buildItemLibraryEntries(const QMap<int, QString> &commonItems,
                                                const QMap<int, QString> &equipment,
                                                const QMap<int, QString> &gems)
{
    QList<ItemLibraryEntry> entries;
    entries.reserve(commonItems.size() + equipment.size() + gems.size());
    appendItemLibraryEntries(entries, QCoreApplication::translate("Lootwright", "物品"),
                             commonItems);
    appendItemLibraryEntries(entries, QCoreApplication::translate("Lootwright", "装备"), equipment);
    appendItemLibraryEntries(entries, QCoreApplication::translate("Lootwright", "宝石"), gems);
    return entries;
}

QList<ItemLibraryEntry> buildItemLibraryEntries()
{
    const NameResolver &resolver = NameResolver::instance();
    return buildItemLibraryEntries(resolver.commonItemNames, resolver.equipNames,
                                   resolver.gemNames);
}
