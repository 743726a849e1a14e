#include "data/NameResolver.h"

// Placeholder bodies; the table readers are being written.
NameResolver &NameResolver::instance()
{
    static NameResolver resolver;
    return resolver;
}

void NameResolver::loadAll(const QString &) {}
bool NameResolver::loadItemTable(const QString &, int, int, QMap<int, QString> &, QString &)
{
    return false;
}
bool NameResolver::loadMonsterTable(const QString &, QString &) { return false; }

QString NameResolver::itemName(int itemId) const
{
    QString name = commonItemNames.value(itemId);
    if (name.isEmpty())
        name = equipNames.value(itemId);
    if (name.isEmpty())
        name = gemNames.value(itemId);
    return name;
}
QString NameResolver::equipName(int itemId) const { return equipNames.value(itemId); }
QString NameResolver::gemName(int itemId) const { return gemNames.value(itemId); }
QString NameResolver::monsterName(int monsterId) const { return monsterNames.value(monsterId); }
int NameResolver::monsterLevel(int monsterId) const { return monsterLevels.value(monsterId, 0); }

void NameResolver::clear()
{
    gemNames.clear();
    commonItemNames.clear();
    equipNames.clear();
    monsterNames.clear();
    monsterLevels.clear();
}
