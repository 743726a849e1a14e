#include "EditFixtures.h"
#include "edit/BoxEdits.h"
#include "edit/BoxManagerEdits.h"
#include "edit/DocumentChange.h"
#include "edit/DropClipboard.h"
#include "edit/DropRateEdits.h"
#include "edit/MonsterEdits.h"

#include <QDataStream>
#include <QtTest>
#include <functional>

using namespace EditFixtures;

namespace {

struct Documents
{
    MonsterDropData monsters;
    DropBoxContentData boxes;
};

QByteArray savedBytes(const Documents &d)
{
    return EditFixtures::savedBytes(d.monsters, d.boxes);
}

Documents sample()
{
    Documents d;
    QList<MonsterDropConfig> records;
    for (int i = 0; i < 12; ++i)
        records << monster(1001 + i, 100 * (i + 1), {1 + i % 5, 6 + i % 3, -1}, i % 2);
    d.monsters = monsters(records);
    QList<DropBoxConfig> list;
    for (int id = 1; id <= 10; ++id)
        list << box(id, 1000 * id, {5000 + id, 6000 + id, -1, 7000 + id});
    d.boxes = boxes(list);
    return d;
}

QList<int> ids(std::initializer_list<int> list)
{
    return QList<int>(list);
}

using Edit = std::function<void(Documents &)>;

QList<QPair<const char *, Edit>> mixedChain();

} // namespace

class DocumentChangeTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void chainRestoresBytes();
    void storesOnlyDifferingEntries_data();
    void storesOnlyDifferingEntries();
    void pointersTakenBeforeTheSnapshot();
    void absorb();
    void journalForm();
};

// Every edit of a mixed chain undone in reverse gives each earlier file back byte for byte, and
// redone gives each edit's bytes again.
void DocumentChangeTest::chainRestoresBytes()
{
    const QList<QPair<const char *, Edit>> chain = mixedChain();
    Documents d = sample();
    QList<QByteArray> bytes{savedBytes(d)};
    QList<DocumentChange> changes;
    for (const auto &[name, edit] : chain) {
        const DocumentSnapshot before(d.monsters, d.boxes);
        edit(d);
        changes << DocumentChange::between(before, d.monsters, d.boxes);
        bytes << savedBytes(d);
        QVERIFY2(bytes.last() != bytes.at(bytes.size() - 2), name);
        QVERIFY2(!changes.last().isEmpty(), name);
    }
    for (qsizetype i = changes.size() - 1; i >= 0; --i) {
        changes.at(i).revert(d.monsters, d.boxes);
        QVERIFY2(savedBytes(d) == bytes.at(i), chain.at(i).first);
    }
    QCOMPARE(describe(d.monsters), describe(sample().monsters));
    QCOMPARE(describe(d.boxes), describe(sample().boxes));
    for (qsizetype i = 0; i < changes.size(); ++i) {
        changes.at(i).apply(d.monsters, d.boxes);
        QVERIFY2(savedBytes(d) == bytes.at(i + 1), chain.at(i).first);
    }
}

// Each change of the chain, written as the recovery journal keeps it and read back, turns the
// documents before it into those after it, in fewer bytes than the step keeps in memory; it
// applies to nothing else.
void DocumentChangeTest::journalForm()
{
    Documents d = sample();
    for (const auto &[name, edit] : mixedChain()) {
        const Documents before = d;
        const DocumentSnapshot snapshot(d.monsters, d.boxes);
        edit(d);
        const DocumentChange change = DocumentChange::between(snapshot, d.monsters, d.boxes);
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        change.write(out, d.monsters, d.boxes);
        QVERIFY2(bytes.size() <= change.storedBytes(), name);
        DocumentChange read;
        QDataStream in(bytes);
        QVERIFY2(DocumentChange::read(in, read), name);
        Documents replayed = before;
        QVERIFY2(read.bindTo(replayed.monsters, replayed.boxes), name);
        read.apply(replayed.monsters, replayed.boxes);
        QVERIFY2(savedBytes(replayed) == savedBytes(d), name);
        QVERIFY2(read.reversed().appliesTo(d.monsters, d.boxes), name);
    }
    // A change made on other documents does not apply, and a cut one does not read.
    Documents other = sample();
    MonsterEdits::changeMonsterValue(other.monsters, ids({1001}), 1);
    const DocumentSnapshot snapshot(other.monsters, other.boxes);
    MonsterEdits::changeMonsterValue(other.monsters, ids({1001}), 2);
    DocumentChange change = DocumentChange::between(snapshot, other.monsters, other.boxes);
    Documents original = sample();
    QVERIFY(!change.bindTo(original.monsters, original.boxes));
    QByteArray cut;
    QDataStream out(&cut, QIODevice::WriteOnly);
    change.write(out, other.monsters, other.boxes);
    cut.chop(1);
    QDataStream in(cut);
    QVERIFY(!DocumentChange::read(in, change));
}

namespace {

QList<QPair<const char *, Edit>> mixedChain()
{
    return {
        {"unify (copies shared boxes)",
         [](Documents &d) {
             DropRateEdits::unifyMonsterValue(d.monsters, d.boxes, ids({1001, 1003, 1004}), 5000);
         }},
        {"target rate (copy of a shared box)",
         [](Documents &d) {
             MonsterDropConfig *record = MonsterEdits::findRecord(d.monsters, 1002);
             const DropBoxConfig *current = DropSlots::findBox(d.boxes, record->dropBoxIds.at(0));
             DropRateEdits::applyTargetRate(d.monsters, record, d.boxes, current, "12.5", 1.0);
         }},
        {"paste (new records)",
         [](Documents &d) {
             DropClipboard::PastedDrops drops{1005, 777, 1, {3, 4, -1, 9}};
             DropClipboard::applyPaste(d.monsters, ids({1006, 2001, 2002}), drops);
         }},
        {"delete box",
         [](Documents &d) {
             MonsterDropConfig *record = MonsterEdits::findRecord(d.monsters, 1007);
             BoxEdits::deleteBox(d.boxes, record, DropSlots::findBox(d.boxes, 3));
         }},
        {"add items",
         [](Documents &d) {
             BoxEdits::addItems(d.boxes, nullptr, DropSlots::findBox(d.boxes, 4),
                                ids({9001, 9002, 5004}));
         }},
        {"delete items",
         [](Documents &d) {
             BoxEdits::deleteItems(d.boxes, nullptr, DropSlots::findBox(d.boxes, 5), ids({0, 3}));
         }},
        {"no drop (scattered removals)",
         [](Documents &d) {
             MonsterEdits::setNoDrop(d.monsters, ids({1002, 1008, 1011}));
         }},
        {"has drop (appends)",
         [](Documents &d) {
             MonsterEdits::clearMonsterBoxes(d.monsters, ids({1009}));
             MonsterEdits::setHasDrop(d.monsters, ids({1009, 3001}));
         }},
        {"duplicate box",
         [](Documents &d) {
             BoxEdits::duplicateBox(d.boxes, d.monsters, MonsterEdits::findRecord(d.monsters, 1010),
                                    DropSlots::findBox(d.boxes, 6));
         }},
        {"remove box everywhere",
         [](Documents &d) { BoxManagerEdits::removeBoxEverywhere(d.boxes, &d.monsters, 7); }},
        {"replace item everywhere",
         [](Documents &d) { BoxManagerEdits::replaceItemIdEverywhere(d.boxes, "5008", "5999"); }},
        {"value and type",
         [](Documents &d) {
             MonsterEdits::changeMonsterValue(d.monsters, ids({1001, 2001}), 42);
             MonsterEdits::changeDropType(d.monsters, ids({1012}), MonsterEdits::dropTypeText(1));
         }},
        {"headers and comments",
         [](Documents &d) {
             d.monsters.headerLine2 = "changed";
             d.boxes.commentBlock.clear();
         }},
    };
}

} // namespace

void DocumentChangeTest::storesOnlyDifferingEntries_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("expectedEntries");
    QTest::addColumn<bool>("countChanges");
    QTest::newRow("nothing") << 0 << 0 << false;
    QTest::newRow("two values in place") << 1 << 4 << false;
    QTest::newRow("three scattered removals") << 2 << 3 << true;
    QTest::newRow("run changed, two appended") << 3 << 3 * 2 + 2 << true;
    QTest::newRow("one removed, one appended") << 4 << 2 << true;
}

void DocumentChangeTest::storesOnlyDifferingEntries()
{
    QFETCH(int, kind);
    QFETCH(int, expectedEntries);
    QFETCH(bool, countChanges);
    Documents d = sample();
    for (int i = 0; i < 1000; ++i)
        d.monsters.records << monster(5000 + i, i, {i % 10 + 1});
    const Documents original = d;
    const DocumentSnapshot before(d.monsters, d.boxes);
    auto &records = d.monsters.records;
    switch (kind) {
    case 1:
        records[10].mValue = -1;
        records[900].dropBoxIds[0] = 3;
        break;
    case 2:
        records.removeAt(700);
        records.removeAt(300);
        records.removeAt(20);
        break;
    case 3:
        for (int i = 400; i < 403; ++i)
            records[i].dropType = 9;
        records << monster(9001, 1, {}) << monster(9002, 2, {});
        break;
    case 4:
        records.removeAt(0);
        records << monster(9001, 1, {});
        break;
    }
    const DocumentChange change = DocumentChange::between(before, d.monsters, d.boxes);
    QCOMPARE(change.storedEntryCount(), qsizetype(expectedEntries));
    QCOMPARE(change.changesRecordCount(), countChanges);
    QCOMPARE(change.touchesMonsters(), kind != 0);
    QVERIFY(!change.touchesBoxes());
    change.revert(d.monsters, d.boxes);
    QCOMPARE(savedBytes(d), savedBytes(original));
}

// The window's current record and box are taken before the snapshot; writing through them after
// it reaches the document only, and no record moves.
void DocumentChangeTest::pointersTakenBeforeTheSnapshot()
{
    Documents d = sample();
    const QByteArray original = savedBytes(d);
    MonsterDropConfig *record = &d.monsters.records[3];
    DropBoxConfig *current = &d.boxes.boxes[2];
    const DocumentSnapshot before(d.monsters, d.boxes);
    QVERIFY(before.monsters().records.constData() != d.monsters.records.constData());
    record->mValue = 1;
    record->dropBoxIds[0] = 9;
    current->boxValue = 2;
    current->items[1].itemId = 8;
    QCOMPARE(record, &d.monsters.records[3]);
    QCOMPARE(current, &d.boxes.boxes[2]);
    QCOMPARE(before.monsters().records.at(3).mValue, 400);
    QCOMPARE(before.monsters().records.at(3).dropBoxIds.at(0), 4);
    QCOMPARE(before.boxes().boxes.at(2).items.at(1).itemId, 6003);
    const DocumentChange change = DocumentChange::between(before, d.monsters, d.boxes);
    QCOMPARE(change.storedEntryCount(), qsizetype(4));
    change.revert(d.monsters, d.boxes);
    QCOMPARE(savedBytes(d), original);
}

// Typing into the box form: each keystroke folds into one step, typing back leaves nothing.
void DocumentChangeTest::absorb()
{
    Documents d = sample();
    const QByteArray original = savedBytes(d);
    const auto typed = [&d](int weight, int notify) {
        const DocumentSnapshot before(d.monsters, d.boxes);
        d.boxes.boxes[4].boxValue = weight;
        d.boxes.boxes[6].notifyId = notify;
        return DocumentChange::between(before, d.monsters, d.boxes);
    };
    DocumentChange step = typed(1, -1);
    QVERIFY(step.absorb(typed(12, 3)));
    const QByteArray typedBytes = savedBytes(d);
    QCOMPARE(step.storedEntryCount(), qsizetype(4));
    step.revert(d.monsters, d.boxes);
    QCOMPARE(savedBytes(d), original);
    step.apply(d.monsters, d.boxes);
    QCOMPARE(savedBytes(d), typedBytes);
    QVERIFY(step.absorb(typed(5000, -1)));
    QVERIFY(step.isEmpty());

    const DocumentSnapshot before(d.monsters, d.boxes);
    d.boxes.boxes.removeLast();
    QVERIFY(!step.absorb(DocumentChange::between(before, d.monsters, d.boxes)));
    QVERIFY(step.isEmpty());

    const DocumentChange one = DocumentChange::boxReplaced(1, d.boxes.boxes.at(1), box(2, 1));
    one.apply(d.monsters, d.boxes);
    QCOMPARE(describe(d.boxes.boxes.at(1)), describe(box(2, 1)));
    one.revert(d.monsters, d.boxes);
    QCOMPARE(d.boxes.boxes.at(1), sample().boxes.boxes.at(1));
}

QTEST_GUILESS_MAIN(DocumentChangeTest)
#include "tst_documentchange.moc"
