#pragma once

#include "data/DropConfig.h"

#include <QList>
#include <QString>
#include <utility>

class QByteArray;
class QDataStream;

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

    // The same change the other way round: apply undoes what this one's apply did.
    DocumentChange reversed() const;

    // Writes the change compactly (the recovery journal). `monsters` and `boxes` are the
    // documents as this change leaves them: an added entry whose slot list it shares with an
    // entry the change keeps is written as a reference to that entry.
    void write(QDataStream &out, const MonsterDropData &monsters,
               const DropBoxContentData &boxes) const;
    // Reads what write wrote; false for bytes that are no such change. References to kept
    // entries stay open until bindTo.
    static bool read(QDataStream &in, DocumentChange &change);
    // The same bytes without the stream's length in front (the journal frames them itself and
    // spares a copy of a large step).
    QByteArray toBytes(const MonsterDropData &monsters, const DropBoxContentData &boxes) const;
    static bool fromBytes(const QByteArray &bytes, DocumentChange &change);
    // The entries and texts the change removes are exactly what the documents hold at those
    // places, and every reference points into them: apply makes the documents the edit made.
    bool appliesTo(const MonsterDropData &monsters, const DropBoxContentData &boxes) const;
    // appliesTo, then the references filled from the documents; false (nothing filled) when the
    // change does not apply.
    bool bindTo(const MonsterDropData &monsters, const DropBoxContentData &boxes);

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

    // A change read back takes the slot lists of the entries it removes from the documents it is
    // bound to (until then their length and a hash stand for them), and builds the lists of the
    // entries it adds from those: each recipe is run in order by bindTo.
    struct RemovedList
    {
        qsizetype size = 0;
        quint64 hash = 0;
    };
    template <typename Slot> struct ListRecipe
    {
        enum Kind
        {
            BaseList,     // the list of the removed entry at the same place, with `changes`
            DocumentList, // the list of the documents' entry `index`
            AddedList,    // the list of added entry `fromEntry` of hunk `index`
        };
        qsizetype hunk = 0;
        qsizetype entry = 0;
        Kind kind = BaseList;
        qsizetype index = 0;
        qsizetype fromEntry = 0;
        QList<std::pair<qsizetype, Slot>> changes;
    };

    QList<ListHunk<MonsterDropConfig>> recordHunks;
    QList<ListHunk<DropBoxConfig>> boxHunks;
    QList<TextChange> texts;
    bool listsOpen = false;
    QList<RemovedList> removedRecordLists;
    QList<RemovedList> removedBoxLists;
    QList<ListRecipe<int>> recordRecipes;
    QList<ListRecipe<DropBoxItem>> boxRecipes;

    friend struct ChangeCodec;
};
