#include "edit/DocumentChange.h"

#include <algorithm>
#include <map>
#include <utility>

namespace {

// The entries that differ between `a` and `b`, as runs. After the common start and end, a
// greedy walk pairs entries that keep their id (or are followed by equal entries) as changed,
// and takes an entry as removed or added when one step ahead matches; so an edit that changes
// values in place, removes scattered records or appends new ones stores only those entries.
// Whatever the walk chooses, the runs turn `a` into `b` exactly.
template <typename T, typename Key>
QList<ListHunk<T>> diffLists(const QList<T> &a, const QList<T> &b, Key key)
{
    QList<ListHunk<T>> hunks;
    const qsizetype n = a.size();
    const qsizetype m = b.size();
    if (n == m && a.constData() == b.constData())
        return hunks;
    qsizetype prefix = 0;
    while (prefix < n && prefix < m && a.at(prefix) == b.at(prefix))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < n - prefix && suffix < m - prefix &&
           a.at(n - 1 - suffix) == b.at(m - 1 - suffix))
        ++suffix;
    const qsizetype endA = n - suffix;
    const qsizetype endB = m - suffix;

    // A run's removed entries are consecutive in `a` and its added ones in `b`: the walk finds
    // the bounds, the copies are made once at their exact size.
    struct Run
    {
        qsizetype oldAt, newAt, oldEnd, newEnd;
    };
    QList<Run> runs;
    qsizetype i = prefix;
    qsizetype j = prefix;
    bool open = false;
    while (i < endA || j < endB) {
        if (i < endA && j < endB && a.at(i) == b.at(j)) {
            open = false;
            ++i;
            ++j;
            continue;
        }
        if (!open) {
            runs.append(Run{i, j, i, j});
            open = true;
        }
        bool takeA = i < endA;
        bool takeB = j < endB;
        if (takeA && takeB) {
            const bool nextEqual = i + 1 < endA && j + 1 < endB && a.at(i + 1) == b.at(j + 1);
            // Otherwise the two are taken as one entry changed in place.
            if (key(a.at(i)) != key(b.at(j)) && !nextEqual) {
                if (i + 1 < endA && a.at(i + 1) == b.at(j))
                    takeB = false;
                else if (j + 1 < endB && a.at(i) == b.at(j + 1))
                    takeA = false;
                else if (endA - i > endB - j)
                    takeB = false;
                else if (endA - i < endB - j)
                    takeA = false;
            }
        }
        if (takeA)
            runs.last().oldEnd = ++i;
        if (takeB)
            runs.last().newEnd = ++j;
    }
    hunks.reserve(runs.size());
    for (const Run &run : runs)
        hunks.append(ListHunk<T>{run.oldAt, run.newAt,
                                 QList<T>(a.cbegin() + run.oldAt, a.cbegin() + run.oldEnd),
                                 QList<T>(b.cbegin() + run.newAt, b.cbegin() + run.newEnd)});
    return hunks;
}

template <typename T> bool keepsLength(const QList<ListHunk<T>> &hunks)
{
    return std::all_of(hunks.cbegin(), hunks.cend(), [](const ListHunk<T> &hunk) {
        return hunk.removed.size() == hunk.inserted.size();
    });
}

// Forward turns the list before the edit into the list after it; backward the other way.
template <typename T> void replay(QList<T> &list, const QList<ListHunk<T>> &hunks, bool forward)
{
    if (hunks.isEmpty())
        return;
    if (keepsLength(hunks)) {
        for (const ListHunk<T> &hunk : hunks) {
            const QList<T> &with = forward ? hunk.inserted : hunk.removed;
            for (qsizetype t = 0; t < with.size(); ++t)
                list[hunk.oldAt + t] = with.at(t);
        }
        return;
    }
    // One pass, however many runs: removing and inserting in the middle would move the tail
    // once per run.
    QList<T> out;
    qsizetype growth = 0;
    for (const ListHunk<T> &hunk : hunks)
        growth += forward ? hunk.inserted.size() - hunk.removed.size()
                          : hunk.removed.size() - hunk.inserted.size();
    out.reserve(list.size() + growth);
    qsizetype pos = 0;
    for (const ListHunk<T> &hunk : hunks) {
        const qsizetype from = forward ? hunk.oldAt : hunk.newAt;
        for (; pos < from; ++pos)
            out.append(std::move(list[pos]));
        pos += forward ? hunk.removed.size() : hunk.inserted.size();
        out.append(forward ? hunk.inserted : hunk.removed);
    }
    for (; pos < list.size(); ++pos)
        out.append(std::move(list[pos]));
    list = std::move(out);
}

// `first` followed by `second`, both keeping the length, as one set of runs.
template <typename T>
QList<ListHunk<T>> composeInPlace(const QList<ListHunk<T>> &first, const QList<ListHunk<T>> &second)
{
    std::map<qsizetype, std::pair<T, T>> entries;
    for (const ListHunk<T> &hunk : first) {
        for (qsizetype t = 0; t < hunk.removed.size(); ++t)
            entries.emplace(hunk.oldAt + t,
                            std::make_pair(hunk.removed.at(t), hunk.inserted.at(t)));
    }
    for (const ListHunk<T> &hunk : second) {
        for (qsizetype t = 0; t < hunk.removed.size(); ++t) {
            const auto found = entries.find(hunk.oldAt + t);
            if (found != entries.end())
                found->second.second = hunk.inserted.at(t);
            else
                entries.emplace(hunk.oldAt + t,
                                std::make_pair(hunk.removed.at(t), hunk.inserted.at(t)));
        }
    }
    QList<ListHunk<T>> hunks;
    for (const auto &[index, values] : entries) {
        if (values.first == values.second)
            continue;
        if (hunks.isEmpty() || hunks.last().oldAt + hunks.last().removed.size() != index)
            hunks.append(ListHunk<T>{index, index, {}, {}});
        hunks.last().removed.append(values.first);
        hunks.last().inserted.append(values.second);
    }
    return hunks;
}

template <typename T> qint64 hunkBytes(const QList<ListHunk<T>> &hunks)
{
    qint64 bytes = qint64(hunks.size()) * qint64(sizeof(ListHunk<T>));
    for (const ListHunk<T> &hunk : hunks)
        bytes += qint64(hunk.removed.size() + hunk.inserted.size()) * qint64(sizeof(T));
    return bytes;
}

// A header line or the comment block; const or not, as the documents are.
template <typename Monsters, typename Boxes>
auto &textField(Monsters &monsters, Boxes &boxes, int field)
{
    switch (field) {
    case 0:
        return monsters.headerLine1;
    case 1:
        return monsters.headerLine2;
    case 2:
        return boxes.headerLine1;
    case 3:
        return boxes.headerLine2;
    default:
        return boxes.commentBlock;
    }
}

} // namespace

DocumentSnapshot::DocumentSnapshot(const MonsterDropData &monsters, const DropBoxContentData &boxes)
{
    monsterData.headerLine1 = monsters.headerLine1;
    monsterData.headerLine2 = monsters.headerLine2;
    // Built from iterators: a buffer of its own, never the documents' shared one.
    monsterData.records =
        QList<MonsterDropConfig>(monsters.records.cbegin(), monsters.records.cend());
    boxData.headerLine1 = boxes.headerLine1;
    boxData.headerLine2 = boxes.headerLine2;
    boxData.commentBlock = boxes.commentBlock;
    boxData.boxes = QList<DropBoxConfig>(boxes.boxes.cbegin(), boxes.boxes.cend());
}

DocumentChange DocumentChange::between(const DocumentSnapshot &before,
                                       const MonsterDropData &monsters,
                                       const DropBoxContentData &boxes)
{
    DocumentChange change;
    change.recordHunks =
        diffLists(before.monsters().records, monsters.records,
                  [](const MonsterDropConfig &record) { return record.monsterId; });
    change.boxHunks = diffLists(before.boxes().boxes, boxes.boxes,
                                [](const DropBoxConfig &box) { return box.boxId; });
    for (int field = 0; field < TextFieldCount; ++field) {
        const QString &was = textField(before.monsters(), before.boxes(), field);
        const QString &now = textField(monsters, boxes, field);
        if (was != now)
            change.texts.append({field, was, now});
    }
    return change;
}

DocumentChange DocumentChange::boxReplaced(qsizetype index, const DropBoxConfig &before,
                                           const DropBoxConfig &after)
{
    DocumentChange change;
    if (before != after)
        change.boxHunks.append(ListHunk<DropBoxConfig>{index, index, {before}, {after}});
    return change;
}

bool DocumentChange::isEmpty() const
{
    return recordHunks.isEmpty() && boxHunks.isEmpty() && texts.isEmpty();
}

bool DocumentChange::touchesMonsters() const
{
    return !recordHunks.isEmpty() ||
           std::any_of(texts.cbegin(), texts.cend(),
                       [](const TextChange &text) { return text.field < BoxHeader1; });
}

bool DocumentChange::touchesBoxes() const
{
    return !boxHunks.isEmpty() ||
           std::any_of(texts.cbegin(), texts.cend(),
                       [](const TextChange &text) { return text.field >= BoxHeader1; });
}

bool DocumentChange::changesRecordCount() const
{
    return !keepsLength(recordHunks);
}

bool DocumentChange::changesBoxCount() const
{
    return !keepsLength(boxHunks);
}

void DocumentChange::apply(MonsterDropData &monsters, DropBoxContentData &boxes) const
{
    replay(monsters.records, recordHunks, true);
    replay(boxes.boxes, boxHunks, true);
    for (const TextChange &text : texts)
        textField(monsters, boxes, text.field) = text.after;
}

void DocumentChange::revert(MonsterDropData &monsters, DropBoxContentData &boxes) const
{
    replay(monsters.records, recordHunks, false);
    replay(boxes.boxes, boxHunks, false);
    for (const TextChange &text : texts)
        textField(monsters, boxes, text.field) = text.before;
}

bool DocumentChange::absorb(const DocumentChange &next)
{
    if (changesRecordCount() || changesBoxCount() || next.changesRecordCount() ||
        next.changesBoxCount())
        return false;
    recordHunks = composeInPlace(recordHunks, next.recordHunks);
    boxHunks = composeInPlace(boxHunks, next.boxHunks);
    for (const TextChange &text : next.texts) {
        const auto found = std::find_if(texts.begin(), texts.end(), [&](const TextChange &own) {
            return own.field == text.field;
        });
        if (found == texts.end())
            texts.append(text);
        else
            found->after = text.after;
    }
    texts.erase(std::remove_if(texts.begin(), texts.end(),
                               [](const TextChange &text) { return text.before == text.after; }),
                texts.end());
    return true;
}

DocumentChange DocumentChange::reversed() const
{
    DocumentChange other;
    other.recordHunks.reserve(recordHunks.size());
    for (const ListHunk<MonsterDropConfig> &hunk : recordHunks)
        other.recordHunks.append({hunk.newAt, hunk.oldAt, hunk.inserted, hunk.removed});
    other.boxHunks.reserve(boxHunks.size());
    for (const ListHunk<DropBoxConfig> &hunk : boxHunks)
        other.boxHunks.append({hunk.newAt, hunk.oldAt, hunk.inserted, hunk.removed});
    for (const TextChange &text : texts)
        other.texts.append({text.field, text.after, text.before});
    return other;
}

qsizetype DocumentChange::storedEntryCount() const
{
    qsizetype count = 0;
    for (const ListHunk<MonsterDropConfig> &hunk : recordHunks)
        count += hunk.removed.size() + hunk.inserted.size();
    for (const ListHunk<DropBoxConfig> &hunk : boxHunks)
        count += hunk.removed.size() + hunk.inserted.size();
    return count;
}

qint64 DocumentChange::storedBytes() const
{
    qint64 bytes = hunkBytes(recordHunks) + hunkBytes(boxHunks);
    for (const TextChange &text : texts)
        bytes += qint64(sizeof(TextChange)) + 2 * (text.before.size() + text.after.size());
    return bytes;
}
