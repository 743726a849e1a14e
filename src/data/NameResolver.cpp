#include "data/NameResolver.h"

#include "data/TextScan.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// Collects up to `wanted` TAB-separated fields of a line (empty fields kept) and returns how
// many there are in all, counting no further than wanted + 1.
int splitTabs(QStringView line, QStringView *fields, int wanted)
{
    const char16_t *p = line.utf16();
    const char16_t *const end = p + line.size();
    int count = 0;
    while (true) {
        const char16_t *begin = p;
        while (p < end && *p != u'\t')
            ++p;
        if (count < wanted)
            fields[count] = QStringView(begin, p - begin);
        ++count;
        if (p == end || count > wanted)
            return count;
        ++p;
    }
}

// Ids are trimmed like QString::trimmed before the integer conversion.
bool toId(QStringView field, int &id)
{
    return TextScan::toInt(field.trimmed(), id) && id >= 1;
}

// Appends in ascending key order in constant time, replaces otherwise.
template <typename T> void store(QMap<int, T> &map, int key, const T &value)
{
    if (map.isEmpty() || (--map.cend()).key() < key)
        map.insert(map.cend(), key, value);
    else
        map.insert(key, value);
}

// The whole table is read before any map changes, so a failed read leaves them as they were.
bool readTable(QIODevice &device, TextScan::Contents &contents, QString &error)
{
    if (TextScan::readContents(device, contents))
        return true;
    error = QCoreApplication::translate("Lootwright", "读取文件失败: %1").arg(device.errorString());
    return false;
}

} // namespace

NameResolver &NameResolver::instance()
{
    static NameResolver resolver;
    return resolver;
}

QStringList NameResolver::tableFileNames()
{
    return {QStringLiteral("MonsterAttrExTable.txt"), QStringLiteral("CommonItem.txt"),
            QStringLiteral("EquipBase.txt"), QStringLiteral("GemInfo.txt")};
}

void NameResolver::loadAll(const QString &configDir)
{
    const QDir dir(configDir);
    if (!dir.exists()) {
        qDebug() << "NameResolver: config directory does not exist:" << configDir;
        return;
    }
    struct ItemTable
    {
        const char *fileName;
        const char *loadedText;
        const char *failedText;
        int idColumn;
        int nameColumn;
        QMap<int, QString> *target;
    };
    const ItemTable tables[] = {
        {"GemInfo.txt", "NameResolver: loaded GemInfo.txt, count:",
         "NameResolver: failed to load GemInfo.txt:", 0, 7, &gemNames},
        {"CommonItem.txt", "NameResolver: loaded CommonItem.txt, count:",
         "NameResolver: failed to load CommonItem.txt:", 0, 6, &commonItemNames},
        {"EquipBase.txt", "NameResolver: loaded EquipBase.txt, count:",
         "NameResolver: failed to load EquipBase.txt:", 0, 10, &equipNames},
    };
    for (const ItemTable &table : tables) {
        const QString path = dir.filePath(QLatin1String(table.fileName));
        if (!QFileInfo::exists(path))
            continue;
        QString error;
        if (loadItemTable(path, table.idColumn, table.nameColumn, *table.target, error))
            qDebug() << table.loadedText << table.target->size();
        else
            qDebug() << table.failedText << error;
    }
    const QString monsterPath = dir.filePath(QStringLiteral("MonsterAttrExTable.txt"));
    if (QFileInfo::exists(monsterPath)) {
        QString error;
        if (loadMonsterTable(monsterPath, error))
            qDebug() << "NameResolver: loaded MonsterAttrExTable.txt, count:"
                     << monsterNames.size();
        else
            qDebug() << "NameResolver: failed to load MonsterAttrExTable.txt:" << error;
    }
}

bool NameResolver::loadItemTable(const QString &path, int idColumn, int nameColumn,
                                 QMap<int, QString> &target, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QCoreApplication::translate("Lootwright", "无法打开文件: %1").arg(path);
        return false;
    }
    return loadItemTable(file, idColumn, nameColumn, target, error);
}

bool NameResolver::loadItemTable(QIODevice &device, int idColumn, int nameColumn,
                                 QMap<int, QString> &target, QString &error)
{
    TextScan::Contents contents;
    if (!readTable(device, contents, error))
        return false;
    const int wanted = std::max(idColumn, nameColumn) + 1;
    QVarLengthArray<QStringView, 16> fields(wanted);
    QMap<int, QString> names;
    const QString text = contents.toText();
    TextScan::TextLines lines(text);
    QStringView line;
    int lineNumber = 0;
    while (lines.next(line)) {
        if (++lineNumber <= 2 || line.trimmed().isEmpty())
            continue;
        if (splitTabs(line, fields.data(), wanted) < wanted)
            continue;
        int id = 0;
        if (!toId(fields[idColumn], id))
            continue;
        const QStringView name = fields[nameColumn].trimmed();
        if (!name.isEmpty())
            store(names, id, name.toString());
    }
    target = std::move(names);
    return true;
}

bool NameResolver::loadMonsterTable(const QString &path, QString &error)
{
    qDebug() << "[NameResolver] 开始加载怪物配置:" << path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QCoreApplication::translate("Lootwright", "无法打开文件: %1").arg(path);
        qDebug() << "[NameResolver] 错误 - 无法打开文件:" << path;
        return false;
    }
    return loadMonsterTable(file, error);
}

bool NameResolver::loadMonsterTable(QIODevice &device, QString &error)
{
    TextScan::Contents contents;
    if (!readTable(device, contents, error))
        return false;
    monsterNames.clear();
    monsterLevels.clear();
    QStringView fields[4];
    const QString text = contents.toText();
    TextScan::TextLines lines(text);
    QStringView line;
    int lineNumber = 0;
    int validCount = 0;
    while (lines.next(line)) {
        if (++lineNumber <= 2 || line.trimmed().isEmpty())
            continue;
        const int count = splitTabs(line, fields, 4);
        if (count < 4) {
            qDebug() << "[NameResolver] 行" << lineNumber << "列数不足:" << count;
            continue;
        }
        int id = 0;
        if (!toId(fields[0], id)) {
            if (lineNumber <= 10)
                qDebug() << "[NameResolver] 行" << lineNumber
                         << "ID解析失败:" << fields[0].toString();
            continue;
        }
        const QString name = fields[1].trimmed().toString();
        if (!name.isEmpty())
            store(monsterNames, id, name);
        int level = 0;
        if (TextScan::toInt(fields[3].trimmed(), level))
            store(monsterLevels, id, level);
        else
            level = 0;
        if (++validCount <= 5)
            qDebug() << "[NameResolver] 加载怪物 - ID:" << id << "名称:" << name
                     << "等级:" << level;
    }
    qDebug() << "[NameResolver] 怪物配置加载完成 - 总行数:" << lineNumber
             << "有效怪物数:" << validCount;
    return true;
}

QString NameResolver::itemName(int itemId) const
{
    QString name = commonItemNames.value(itemId);
    if (name.isEmpty())
        name = equipNames.value(itemId);
    if (name.isEmpty())
        name = gemNames.value(itemId);
    return name;
}

QString NameResolver::equipName(int itemId) const
{
    return equipNames.value(itemId);
}
QString NameResolver::gemName(int itemId) const
{
    return gemNames.value(itemId);
}
QString NameResolver::monsterName(int monsterId) const
{
    return monsterNames.value(monsterId);
}
int NameResolver::monsterLevel(int monsterId) const
{
    return monsterLevels.value(monsterId, 0);
}

void NameResolver::clear()
{
    gemNames.clear();
    commonItemNames.clear();
    equipNames.clear();
    monsterNames.clear();
    monsterLevels.clear();
}
