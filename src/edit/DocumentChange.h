#pragma once

#include "data/DropConfig.h"

#include <QList>
#include <QString>

// Undo and redo of an edit without keeping whole documents: what an edit changed, recorded by
// comparing the documents after it with a snapshot taken before it.

// Both documents as they were before an edit. The lists are copied element by element, so they
// never share a buffer with the live documents: taking the snapshot moves no record, and a
// pointer into a document (the window's current monster and box, a model's box) still points
// into the document; writing through it cannot reach the snapshot. Each record's own lists (box
// ids, item slots) stay shared until either side writes to them, which detaches them.
class DocumentSnapshot
{
public:
    DocumentSnapshot(const MonsterDropData &monsters, const DropBoxContentData &boxes);

    const MonsterDropData &monsters() const { return monsterData; }
    const DropBoxContentData &boxes() const { return boxData; }

private:
    MonsterDropData monsterData;
    DropBoxContentData boxData;
};

// The entries of a list that one edit replaced: at `oldAt` in the list before (`newAt` after),
// `removed` gave way to `inserted`.
template <typename T> struct ListHunk
{
    qsizetype oldAt = 0;
    qsizetype newAt = 0;
    QList<T> removed;
    QList<T> inserted;
};

// One edit's change to both documents: only the entries that differ (with their old and new
// values), and the header lines or comments that changed.
class DocumentChange
{
public:
    // What changed from `before` to the documents as they are now.
    static DocumentChange between(const DocumentSnapshot &before, const MonsterDropData &monsters,
                                  const DropBoxContentData &boxes);
    // A single box at `index` that changed from `before` to `after` (an edit written straight
    // into one box).
    static DocumentChange boxReplaced(qsizetype index, const DropBoxConfig &before,
                                      const DropBoxConfig &after);

    bool isEmpty() const;
    bool touchesMonsters() const;
    bool touchesBoxes() const;
    // Records or boxes were added or removed: pointers into that list are invalid after apply
    // or revert (they are after any of them in any case: re-resolve by id).
    bool changesRecordCount() const;
    bool changesBoxCount() const;
    // The monster ids of the records it adds, removes or changes.
    QList<int> monsterIds() const;

    // Redo: turns the documents as they were before the edit into the documents after it.
    void apply(MonsterDropData &monsters, DropBoxContentData &boxes) const;
    // Undo: the other way.
    void revert(MonsterDropData &monsters, DropBoxContentData &boxes) const;

    // Folds the next change into this one, so this one goes from before both to after both.
    // Only for changes that keep every list's length (the box form's typing); false and
    // nothing changed otherwise.
    bool absorb(const DocumentChange &next);

    // The number of stored records and boxes, old and new values counted apart.
    qsizetype storedEntryCount() const;
    // The bytes the stored entries take (list buffers, without what they share with the
    // documents), for the benchmark.
    qint64 storedBytes() const;

private:
    enum TextField
    {
        MonsterHeader1,
        MonsterHeader2,
        BoxHeader1,
        BoxHeader2,
        BoxComments,
        TextFieldCount
    };
    struct TextChange
    {
        int field = 0;
        QString before;
        QString after;
    };

    QList<ListHunk<MonsterDropConfig>> recordHunks;
    QList<ListHunk<DropBoxConfig>> boxHunks;
    QList<TextChange> texts;
};
