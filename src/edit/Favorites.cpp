#include "edit/Favorites.h"

#include "data/DropConfig.h"

#include <QCoreApplication>
#include <QSet>
#include <QSettings>
#include <algorithm>

namespace {

// Rows inside the list, each once, ascending.
QList<int> cleanRows(const QList<int> &rows, qsizetype count)
{
    QList<int> clean;
    for (int row : rows) {
        if (row >= 0 && row < count)
            clean.append(row);
    }
    std::sort(clean.begin(), clean.end());
    clean.erase(std::unique(clean.begin(), clean.end()), clean.end());
    return clean;
}

QList<int> rangeOf(int first, qsizetype count)
{
    QList<int> rows;
    for (int i = 0; i < count; ++i)
        rows.append(first + i);
    return rows;
}

// The selected rows first (or last), each part in its former order.
QList<int> moveSelected(QList<int> &ids, const QList<int> &selectedRows, bool toTop)
{
    const QList<int> rows = cleanRows(selectedRows, ids.size());
    if (rows.isEmpty())
        return {};
    QList<bool> selected(ids.size(), false);
    for (int row : rows)
        selected[row] = true;
    QList<int> picked;
    QList<int> rest;
    for (qsizetype i = 0; i < ids.size(); ++i)
        (selected.at(i) ? picked : rest).append(ids.at(i));
    ids = toTop ? picked + rest : rest + picked;
    return rangeOf(toTop ? 0 : int(rest.size()), picked.size());
}

} // namespace

namespace Favorites {

QList<int> parse(const QStringList &stored)
{
    QList<int> ids;
    for (const QString &text : stored) {
        bool ok = false;
        const int id = text.toInt(&ok);
        if (ok && DropSlots::isUsedId(id))
            ids.append(id);
    }
    return ids;
}

QStringList toStored(const QList<int> &ids)
{
    QStringList stored;
    for (int id : ids) {
        if (DropSlots::isUsedId(id))
            stored.append(QString::number(id));
    }
    return stored;
}

int add(QList<int> &ids, const QList<int> &newIds)
{
    QSet<int> present(ids.cbegin(), ids.cend());
    int added = 0;
    for (int id : newIds) {
        if (!DropSlots::isUsedId(id) || present.contains(id))
            continue;
        ids.append(id);
        present.insert(id);
        ++added;
    }
    return added;
}

QList<int> moveBy(QList<int> &ids, const QList<int> &selectedRows, int delta)
{
    QList<int> rows = cleanRows(selectedRows, ids.size());
    QList<bool> selected(ids.size(), false);
    for (int row : rows)
        selected[row] = true;
    if (delta > 0)
        std::reverse(rows.begin(), rows.end());
    // Visiting in the direction of the move, each row still holds its own item when reached.
    for (int row : rows) {
        const int target = row + delta;
        if (target < 0 || target >= ids.size())
            continue;
        ids.swapItemsAt(row, target);
        selected.swapItemsAt(row, target);
    }
    QList<int> moved;
    for (qsizetype i = 0; i < selected.size(); ++i) {
        if (selected.at(i))
            moved.append(int(i));
    }
    return moved;
}

QList<int> moveToTop(QList<int> &ids, const QList<int> &selectedRows)
{
    return moveSelected(ids, selectedRows, true);
}

QList<int> moveToBottom(QList<int> &ids, const QList<int> &selectedRows)
{
    return moveSelected(ids, selectedRows, false);
}

void removeRows(QList<int> &ids, const QList<int> &selectedRows)
{
    const QList<int> rows = cleanRows(selectedRows, ids.size());
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
        ids.removeAt(*it);
}

} // namespace Favorites

QString FavoritesStore::key()
{
    return QStringLiteral("favorites/itemIds");
}

QStringList FavoritesStore::readStored() const
{
    return QSettings(QStringLiteral("Lootwright"), QStringLiteral("Lootwright"))
        .value(key())
        .toStringList();
}

EditNotice FavoritesStore::writeStored(const QStringList &list)
{
    QSettings settings(QStringLiteral("Lootwright"), QStringLiteral("Lootwright"));
    settings.setValue(key(), list);
    settings.sync();
    const QSettings::Status status = settings.status();
    if (status == QSettings::NoError) {
        failureReported = false;
        return {};
    }
    if (failureReported)
        return {};
    failureReported = true;
    const QString reason = status == QSettings::FormatError
                               ? QCoreApplication::translate("Lootwright", "设置文件 %1 格式错误")
                                     .arg(settings.fileName())
                               : QCoreApplication::translate("Lootwright", "设置文件 %1 无法写入")
                                     .arg(settings.fileName());
    return EditNotice::information(
        EditTexts::noticeTitle(),
        QCoreApplication::translate("Lootwright",
                                    "收藏夹未能保存，更改只在本次运行中有效。\n原因：%1")
            .arg(reason));
}
