#pragma once

#include "edit/EditResult.h"

#include <QList>
#include <QString>
#include <QStringList>

// The favourite item ids: an ordered list kept in the user's settings, first = top of the pane.
// The pane's operations work on the id list and the selected rows; each returns the rows the
// moved items now occupy, so the pane can select them again.
namespace Favorites {

// The stored strings read as decimal ids; entries that do not parse or are below 1 are skipped,
// repeats are kept.
QList<int> parse(const QStringList &stored);
// The ids of 1 or more as decimal strings, in order.
QStringList toStored(const QList<int> &ids);

// Appends each id of 1 or more that is not in the list yet; returns how many were appended.
int add(QList<int> &ids, const QList<int> &newIds);

// Moves each selected row one step (delta -1 up, +1 down): rows are visited in ascending order
// for up, descending for down, and a row whose target lies outside the list stays. Returns the
// new rows of the selected items, ascending.
QList<int> moveBy(QList<int> &ids, const QList<int> &selectedRows, int delta);
// Moves the selected rows, in their relative order, to the top or the bottom.
QList<int> moveToTop(QList<int> &ids, const QList<int> &selectedRows);
QList<int> moveToBottom(QList<int> &ids, const QList<int> &selectedRows);
// Deletes the selected rows.
void removeRows(QList<int> &ids, const QList<int> &selectedRows);

} // namespace Favorites

// The per-user store: QSettings "Lootwright"/"Lootwright", key "favorites/itemIds", a string
// list. The settings are opened anew for every read and write, so every window sees the same
// list. A write that the settings could not keep is reported once, until a write succeeds again.
class FavoritesStore
{
public:
    static QString key(); // "favorites/itemIds"

    // The list as stored, unreadable entries included; empty when the key is missing.
    QStringList readStored() const;
    QList<int> load() const { return Favorites::parse(readStored()); }

    // Replaces the stored list and flushes it. When that failed and has not been told yet: an
    // information "提示" naming the reason; otherwise no notice.
    EditNotice writeStored(const QStringList &list);
    EditNotice write(const QList<int> &ids) { return writeStored(Favorites::toStored(ids)); }

private:
    bool failureReported = false;
};
