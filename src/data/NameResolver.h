#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

class QIODevice;

// Display names for the numeric ids of the drop files, read from the game server's name tables.
// One process-wide instance; filled on the GUI thread.
class NameResolver
{
public:
    static NameResolver &instance();

    // (Re)loads the four tables from the configuration directory.
    void loadAll(const QString &configDir);
    // The four tables' file names.
    static QStringList tableFileNames();

    bool loadItemTable(const QString &path, int idColumn, int nameColumn,
                       QMap<int, QString> &target, QString &error);
    bool loadMonsterTable(const QString &path, QString &error);
    // The same on an open device; nothing changes when a read fails.
    bool loadItemTable(QIODevice &device, int idColumn, int nameColumn, QMap<int, QString> &target,
                       QString &error);
    bool loadMonsterTable(QIODevice &device, QString &error);

    QString itemName(int itemId) const;
    QString equipName(int itemId) const;
    QString gemName(int itemId) const;
    QString monsterName(int monsterId) const;
    int monsterLevel(int monsterId) const;

    // Empties every table (tests and benchmarks start from a known state).
    void clear();

    // Readable by the monster list and the item library.
    QMap<int, QString> gemNames;
    QMap<int, QString> commonItemNames;
    QMap<int, QString> equipNames;
    QMap<int, QString> monsterNames;
    QMap<int, int> monsterLevels;

private:
    NameResolver() = default;
    NameResolver(const NameResolver &) = delete;
    NameResolver &operator=(const NameResolver &) = delete;
};
