#include "edit/EditSupport.h"

#include <QSet>
#include <algorithm>
#include <climits>
#include <utility>

namespace EditSupport {

QList<int> distinctIds(const QList<int> &ids)
{
    QList<int> result;
    result.reserve(ids.size());
    QSet<int> seen;
    seen.reserve(ids.size());
    for (int id : ids) {
        if (!seen.contains(id)) {
            seen.insert(id);
            result.append(id);
        }
    }
    return result;
}

QHash<int, qsizetype> firstRecordIndexOf(const MonsterDropData &data, const QList<int> &ids)
{
    QHash<int, qsizetype> index;
    if (ids.isEmpty())
        return index;
    QSet<int> wanted(ids.cbegin(), ids.cend());
    index.reserve(wanted.size());
    const qsizetype count = data.records.size();
    for (qsizetype i = 0; i < count; ++i) {
        const int id = data.records.at(i).monsterId;
        if (wanted.contains(id) && !index.contains(id)) {
            index.insert(id, i);
            if (index.size() == wanted.size())
                break;
        }
    }
    return index;
}

void removeRecords(MonsterDropData &data, const QList<bool> &remove)
{
    QList<MonsterDropConfig> &records = data.records;
    const qsizetype count = records.size();
    qsizetype write = 0;
    for (qsizetype read = 0; read < count; ++read) {
        if (read < remove.size() && remove.at(read))
            continue;
        if (write != read)
            records[write] = std::move(records[read]);
        ++write;
    }
    if (write < count)
        records.erase(records.begin() + write, records.end());
}

std::optional<int> newBoxId(const DropBoxContentData &boxes, const MonsterDropData &monsters)
{
    int largest = 0;
    for (const DropBoxConfig &box : boxes.boxes)
        largest = std::max(largest, box.boxId);
    for (const MonsterDropConfig &record : monsters.records) {
        for (int id : record.dropBoxIds)
            largest = std::max(largest, id);
    }
    if (largest == INT_MAX)
        return std::nullopt;
    return largest + 1;
}

} // namespace EditSupport
