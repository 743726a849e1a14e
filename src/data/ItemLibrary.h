#pragma once

#include <QList>
#include <QMap>
#include <QString>

// One item of the item library: every item the three item name tables know.
struct ItemLibraryEntry
{
    int id = 0;
    QString idText; // the id in decimal, kept so searching and showing need no formatting
    QString name;
    QString category; // "物品", "装备" or "宝石"
};

// Appends one entry per table row, in ascending id order.
void appendItemLibraryEntries(QList<ItemLibraryEntry> &entries, const QString &category,
                              const QMap<int, QString> &table);

// Common items, then equipment, then gems, each by ascending id; an id in two tables is listed
// once per table. This overload works on maps handed to it, so a worker thread can build from
// copies that no reload touches.
QList<ItemLibraryEntry> buildItemLibraryEntries(const QMap<int, QString> &commonItems,
                                                const QMap<int, QString> &equipment,
                                                const QMap<int, QString> &gems);
// The same from the name resolver's tables; GUI thread only.
QList<ItemLibraryEntry> buildItemLibraryEntries();
