#include "EditFixtures.h"
#include "data/NameResolver.h"
#include "edit/BoxManagerEdits.h"
#include "edit/EditSupport.h"

#include <QtTest>
#include <climits>

using namespace EditFixtures;
namespace BM = BoxManagerEdits;

namespace {

using Boxes = QList<DropBoxConfig>;
using Monsters = QList<MonsterDropConfig>;

// "kind|title|text" of a notice, empty for none.
QString noticeText(const EditNotice &notice)
{
    if (notice.isNone())
        return QString();
    return (notice.kind == NoticeKind::Warning ? QStringLiteral("warning|")
                                               : QStringLiteral("information|")) +
           notice.title + QLatin1Char('|') + notice.text;
}

DropBoxConfig emptySlots(int id, int weight, int slots)
{
    DropBoxConfig b = box(id, weight);
    b.items.fill(DropBoxItem{-1, -1}, slots);
    return b;
}

} // namespace

class BoxManagerEditsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void nextFreeBoxId_data();
    void nextFreeBoxId();
    void newBoxes_data();
    void newBoxes();
    void boxEdits_data();
    void boxEdits();
    void references();
    void itemSlots_data();
    void itemSlots();
    void removeBox_data();
    void removeBox();
    void itemIdsEverywhere_data();
    void itemIdsEverywhere();
};

void BoxManagerEditsTest::init()
{
    NameResolver::instance().clear();
    NameResolver::instance().monsterNames.insert(1001, QStringLiteral("石像鬼"));
}

void BoxManagerEditsTest::nextFreeBoxId_data()
{
    QTest::addColumn<Boxes>("boxes");
    QTest::addColumn<QList<int>>("slots"); // one monster naming these ids
    QTest::addColumn<qint64>("start");
    QTest::addColumn<int>("expected"); // 0: none

    QTest::newRow("empty") << Boxes{} << QList<int>{} << qint64(1) << 1;
    QTest::newRow("gap") << Boxes{box(1, 1), box(2, 1), box(4, 1)} << QList<int>{} << qint64(1)
                         << 3;
    QTest::newRow("above a start")
        << Boxes{box(1, 1), box(2, 1), box(3, 1), box(4, 1)} << QList<int>{} << qint64(2) << 5;
    QTest::newRow("start below 1, negative ids")
        << Boxes{box(-3, 1), box(0, 1)} << QList<int>{-1} << qint64(-7) << 1;
    QTest::newRow("a slot names an id without a box")
        << Boxes{box(1, 1), box(2, 1)} << QList<int>{3, -1, 4} << qint64(1) << 5;
    QTest::newRow("INT_MAX is the last free one")
        << Boxes{box(INT_MAX - 1, 1)} << QList<int>{} << qint64(INT_MAX - 1) << INT_MAX;
    QTest::newRow("none left up to INT_MAX")
        << Boxes{box(INT_MAX, 1)} << QList<int>{INT_MAX - 1} << qint64(INT_MAX - 1) << 0;
    QTest::newRow("start past INT_MAX") << Boxes{} << QList<int>{} << qint64(INT_MAX) + 1 << 0;
}

void BoxManagerEditsTest::nextFreeBoxId()
{
    QFETCH(Boxes, boxes);
    QFETCH(QList<int>, slots);
    QFETCH(qint64, start);
    QFETCH(int, expected);
    const DropBoxContentData doc = EditFixtures::boxes(boxes);
    const MonsterDropData records = monsters({monster(1001, 10, slots)});
    QCOMPARE(EditSupport::nextFreeBoxId(doc, &records, start).value_or(0), expected);
    if (slots.isEmpty())
        QCOMPARE(EditSupport::nextFreeBoxId(doc, nullptr, start).value_or(0), expected);
}

void BoxManagerEditsTest::newBoxes_data()
{
    QTest::addColumn<Boxes>("before");
    QTest::addColumn<QList<int>>("slots");
    QTest::addColumn<int>("copyFrom"); // 0: add a box
    QTest::addColumn<Boxes>("after");
    QTest::addColumn<QString>("notice");

    const Boxes three{box(1, 5, {4001, -1}, 9, 1), box(2, 1), box(4, 1)};
    QTest::newRow("add takes the gap")
        << three << QList<int>{} << 0 << (three + Boxes{emptySlots(3, 100, 10)}) << "";
    QTest::newRow("add skips an id a monster names")
        << three << QList<int>{3} << 0 << (three + Boxes{emptySlots(5, 100, 10)}) << "";
    DropBoxConfig copy = box(5, 5, {4001, -1}, 9, 1);
    QTest::newRow("copy above the source") << (three + Boxes{box(3, 1)}) << QList<int>{} << 1
                                           << (three + Boxes{box(3, 1), copy}) << "";
    QTest::newRow("copy skips an id a monster names")
        << three << QList<int>{-1, 2, 3} << 1 << (three + Boxes{box(5, 5, {4001, -1}, 9, 1)}) << "";
    DropBoxConfig last = box(INT_MAX, 7, {5});
    DropBoxConfig lastCopy = last;
    lastCopy.boxId = 3;
    QTest::newRow("copy of INT_MAX takes a free id from 1")
        << Boxes{box(1, 1), box(2, 1), last} << QList<int>{} << INT_MAX
        << Boxes{box(1, 1), box(2, 1), last, lastCopy} << "";
    QTest::newRow("copy of a missing box")
        << three << QList<int>{} << 9 << three << "warning|错误|找不到要复制的包裹";
}

void BoxManagerEditsTest::newBoxes()
{
    QFETCH(Boxes, before);
    QFETCH(QList<int>, slots);
    QFETCH(int, copyFrom);
    QFETCH(Boxes, after);
    QFETCH(QString, notice);
    DropBoxContentData doc = boxes(before);
    const MonsterDropData records = monsters({monster(1001, 10, slots)});
    const BM::NewBoxResult result =
        copyFrom ? BM::copyBox(doc, &records, copyFrom) : BM::addBox(doc, &records);
    QCOMPARE(describe(doc), describe(boxes(after)));
    QCOMPARE(noticeText(result.notice), notice);
    QCOMPARE(result.applied, notice.isEmpty());
    QCOMPARE(result.boxesAddedOrRemoved, notice.isEmpty());
    if (result.applied)
        QCOMPARE(result.newBoxId, after.constLast().boxId);
}

void BoxManagerEditsTest::boxEdits_data()
{
    QTest::addColumn<int>("currentBoxId");
    QTest::addColumn<QStringList>("fields"); // id, weight, notify id, "bind" or ""
    QTest::addColumn<Boxes>("after");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<bool>("applied");

    const Boxes before{box(7, 800, {4001}, 12, 2), box(9, 1)};
    const QString idRefused = QStringLiteral("warning|保存失败|包裹ID必须为正整数");
    QTest::newRow("all fields") << 7 << QStringList{" 70 ", "150", " ", ""}
                                << Boxes{box(70, 150, {4001}, -1, 0), box(9, 1)} << "" << true;
    QTest::newRow("unchanged: not applied, flag 2 kept")
        << 7 << QStringList{"7", "800", "12", "bind"} << before << "" << false;
    QTest::newRow("id abc") << 7 << QStringList{"abc", "800", "12", "bind"} << before << idRefused
                            << false;
    QTest::newRow("id 0") << 7 << QStringList{"0", "800", "12", "bind"} << before << idRefused
                          << false;
    QTest::newRow("id -3") << 7 << QStringList{"-3", "800", "12", "bind"} << before << idRefused
                           << false;
    QTest::newRow("id of another box") << 7 << QStringList{"9", "800", "12", "bind"} << before
                                       << "warning|保存失败|包裹ID 9 已存在，请换一个ID" << false;
    QTest::newRow("weight -1") << 7 << QStringList{"7", "-1", "12", "bind"} << before
                               << "warning|保存失败|包裹权值必须为非负整数" << false;
    QTest::newRow("notify x") << 7 << QStringList{"7", "800", "x", "bind"} << before
                              << "warning|保存失败|掉落系统编号必须为整数（可留空表示 -1）"
                              << false;
    QTest::newRow("no box selected") << -1 << QStringList{"7", "800", "12", ""} << before
                                     << "information|提示|请先选择一个包裹" << false;
    QTest::newRow("box gone") << 8 << QStringList{"8", "800", "12", ""} << before
                              << "warning|保存失败|当前选中的包裹不存在（可能已被删除）" << false;
}

void BoxManagerEditsTest::boxEdits()
{
    QFETCH(int, currentBoxId);
    QFETCH(QStringList, fields);
    QFETCH(Boxes, after);
    QFETCH(QString, notice);
    QFETCH(bool, applied);
    DropBoxContentData doc = boxes({box(7, 800, {4001}, 12, 2), box(9, 1)});
    const BM::BoxEditResult result = BM::applyBoxEdits(
        doc, currentBoxId,
        {fields.at(0), fields.at(1), fields.at(2), fields.at(3) == QStringLiteral("bind")});
    QCOMPARE(describe(doc), describe(boxes(after)));
    QCOMPARE(noticeText(result.notice), notice);
    QCOMPARE(result.ok, notice.isEmpty());
    QCOMPARE(result.applied, applied);
    if (result.ok)
        QCOMPARE(result.newBoxId, after.constFirst().boxId);
}

void BoxManagerEditsTest::references()
{
    const MonsterDropData records =
        monsters({monster(1001, 1, {12, -1, 12}), monster(2002, 1, {3}), monster(3003, 1, {12})});
    QCOMPARE(BM::boxReferencesText(&records, 12),
             QStringLiteral("使用包裹 ID 12 的怪物列表:\n\nID: 1001 (石像鬼)\nID: 3003"));
    QCOMPARE(BM::boxReferencesText(&records, 5), QStringLiteral("未找到使用包裹 ID 5 的怪物"));
    QCOMPARE(BM::boxReferencesText(nullptr, 12), QStringLiteral("未加载怪物配置信息"));
    QCOMPARE(BM::renamedBoxReferencesNote(&records, 3, 30),
             QStringLiteral("注意：包裹ID已由 3 改为 30，以下怪物仍引用旧ID 3（引用未随之修改）:"
                            "\n\nID: 2002"));
    QCOMPARE(BM::renamedBoxReferencesNote(&records, 5, 30), QString());
    QCOMPARE(BM::renamedBoxReferencesNote(&records, 3, 3), QString());

    const DropBoxContentData doc =
        boxes({box(1, 1, {5005}), box(2, 1, {7}), box(3, 1, {-1, 5005})});
    QCOMPARE(BM::boxesToList(doc, BM::boxFilterItemId(QStringLiteral(" 5005 "))),
             (QList<int>{0, 2}));
    for (const char *none : {"", "abc", "0", "-5"})
        QCOMPARE(BM::boxesToList(doc, BM::boxFilterItemId(QString::fromLatin1(none))),
                 (QList<int>{0, 1, 2}));
}

void BoxManagerEditsTest::itemSlots_data()
{
    QTest::addColumn<DropBoxConfig>("before");
    QTest::addColumn<int>("boxId");
    QTest::addColumn<QList<int>>("rows"); // rows to remove, or with addIds the ids to add
    QTest::addColumn<bool>("addIds");
    QTest::addColumn<bool>("quiet");
    QTest::addColumn<DropBoxConfig>("after");
    QTest::addColumn<QString>("notice");

    const DropBoxConfig five = box(4, 1, {11, 12, 13, 14, 15, -1});
    QTest::newRow("remove slots 2 and 4") << five << 4 << QList<int>{3, 1, 3, 40, -2} << false
                                          << false << box(4, 1, {11, 13, 15, -1, -1, -1}) << "";
    QTest::newRow("no valid row") << five << 4 << QList<int>{9} << false << false << five << "";
    QTest::newRow("no row") << five << 4 << QList<int>{} << false << false << five
                            << "information|提示|请先选择要删除的物品";
    QTest::newRow("remove from a missing box")
        << five << 5 << QList<int>{} << false << false << five << "";
    DropBoxConfig grown = box(4, 1, {11, 12});
    grown.items << DropBoxItem{20, -1} << DropBoxItem{21, -1};
    QTest::newRow("a full box grows")
        << box(4, 1, {11, 12}) << 4 << QList<int>{20, 12, 0, 21} << true << false << grown << "";
    QTest::newRow("already there") << five << 4 << QList<int>{12} << true << false << five
                                   << "information|提示|没有添加任何物品（可能已存在或无效）";
    QTest::newRow("already there, quietly")
        << five << 4 << QList<int>{12} << true << true << five << "";
    QTest::newRow("no box to add to") << five << -1 << QList<int>{20} << true << false << five
                                      << "information|提示|请先选择一个包裹";
    QTest::newRow("nothing to add") << five << 4 << QList<int>{} << true << false << five
                                    << "information|提示|请先在物品库选择要添加的物品";
}

void BoxManagerEditsTest::itemSlots()
{
    QFETCH(DropBoxConfig, before);
    QFETCH(int, boxId);
    QFETCH(QList<int>, rows);
    QFETCH(bool, addIds);
    QFETCH(bool, quiet);
    QFETCH(DropBoxConfig, after);
    QFETCH(QString, notice);
    DropBoxContentData doc = boxes({before});
    const EditResult result = addIds ? BM::addLibraryItems(doc, boxId, rows, quiet)
                                     : BM::removeItemSlots(doc, boxId, rows);
    QCOMPARE(describe(doc.boxes.constFirst()), describe(after));
    QCOMPARE(noticeText(result.notice), notice);
    QCOMPARE(result.applied, before != after);
}

void BoxManagerEditsTest::removeBox_data()
{
    QTest::addColumn<QString>("answer"); // the id as typed
    QTest::addColumn<bool>("withMonsters");
    QTest::addColumn<QString>("pane");
    QTest::addColumn<QStringList>("boxIds");
    QTest::addColumn<QList<int>>("firstMonsterSlots");

    const QList<int> untouched{12, 3, 12};
    QTest::newRow("2 monsters, 3 places")
        << "12" << true
        << "已删除包裹：ID=12（权值=50，槽位=3）\n已从 2 个怪物中移除引用（共 3 处）"
        << QStringList{"3", "4"} << QList<int>{-1, 3, -1};
    QTest::newRow("unused box") << " 4 " << true << "已删除包裹：ID=4（权值=8，槽位=0）"
                                << QStringList{"12", "3", "12"} << untouched;
    QTest::newRow("without monster document")
        << "12" << false << "已删除包裹：ID=12（权值=50，槽位=3）" << QStringList{"3", "4"}
        << untouched;
    for (const char *bad : {"0", "abc", ""})
        QTest::newRow(bad) << QString::fromLatin1(bad) << true
                           << QStringLiteral("删除包裹：包裹ID无效：") + QString::fromLatin1(bad)
                           << QStringList{"12", "3", "12", "4"} << untouched;
    QTest::newRow("not found") << "5" << true << "删除包裹：找不到包裹ID 5"
                               << QStringList{"12", "3", "12", "4"} << untouched;
}

void BoxManagerEditsTest::removeBox()
{
    QFETCH(QString, answer);
    QFETCH(bool, withMonsters);
    QFETCH(QString, pane);
    QFETCH(QStringList, boxIds);
    QFETCH(QList<int>, firstMonsterSlots);
    // Two boxes share id 12: both go, the first one's weight and slot count are reported.
    DropBoxContentData doc =
        boxes({box(12, 50, {1, 2, -1}), box(3, 1), box(12, 60, {1}), box(4, 8)});
    MonsterDropData records =
        monsters({monster(1001, 1, {12, 3, 12}), monster(1002, 1, {5, 12}), monster(1003, 1, {3})});
    const BM::RemoveBoxResult result =
        BM::removeBoxByIdText(doc, withMonsters ? &records : nullptr, answer);
    QCOMPARE(result.paneText, pane);
    QStringList ids;
    for (const DropBoxConfig &b : doc.boxes)
        ids << QString::number(b.boxId);
    QCOMPARE(ids, boxIds);
    QCOMPARE(records.records.at(0).dropBoxIds, firstMonsterSlots);
    QCOMPARE(result.applied, boxIds.size() < 4);
    QCOMPARE(BM::removeSelectedBox(doc, &records, 99).paneText,
             QStringLiteral("删除包裹失败：未找到包裹ID 99"));
}

void BoxManagerEditsTest::itemIdsEverywhere_data()
{
    QTest::addColumn<QString>("oldId");
    QTest::addColumn<QString>("newId"); // empty: delete
    QTest::addColumn<Boxes>("after");
    QTest::addColumn<QString>("notice");

    const Boxes before{box(1, 1, {100, 7, 100, -1}), box(2, 1, {200}), box(3, 1, {100, 200})};
    QTest::newRow("delete across 3 slots of 2 boxes")
        << " 100"
        << "" << Boxes{box(1, 1, {7, -1, -1, -1}), box(2, 1, {200}), box(3, 1, {200, -1})}
        << "information|删除完成|已从 3 个槽位删除物品ID 100（涉及 2 个包裹）";
    QTest::newRow("delete a missing id") << "55"
                                         << "" << before << "information|提示|未找到物品ID 55";
    QTest::newRow("delete id 0") << "0"
                                 << "" << before << "information|提示|物品ID必须为正整数";
    Boxes replaced = before;
    for (DropBoxConfig &b : replaced) {
        for (DropBoxItem &item : b.items)
            item.itemId = item.itemId == 100 ? 200 : item.itemId;
    }
    QTest::newRow("replace into a box already holding the new id")
        << "100"
        << "200" << replaced << "information|替换完成|已替换 3 个槽位：100 → 200";
    QTest::newRow("replace by itself")
        << "100"
        << "100" << before << "information|提示|旧物品ID与新物品ID相同，无需替换";
    QTest::newRow("replace a missing id") << "55"
                                          << "56" << before << "information|提示|未找到旧物品ID 55";
    QTest::newRow("replace with 0")
        << "100"
        << "0" << before << "information|提示|请输入合法的物品ID（正整数）";
}

void BoxManagerEditsTest::itemIdsEverywhere()
{
    QFETCH(QString, oldId);
    QFETCH(QString, newId);
    QFETCH(Boxes, after);
    QFETCH(QString, notice);
    DropBoxContentData doc =
        boxes({box(1, 1, {100, 7, 100, -1}), box(2, 1, {200}), box(3, 1, {100, 200})});
    // A copy sharing the lists, as an undo snapshot would: it must not change.
    const DropBoxContentData snapshot = doc;
    const BM::ItemIdResult result = newId.isEmpty()
                                        ? BM::deleteItemIdEverywhere(doc, oldId)
                                        : BM::replaceItemIdEverywhere(doc, oldId, newId);
    QCOMPARE(describe(doc), describe(boxes(after)));
    QCOMPARE(noticeText(result.notice), notice);
    QCOMPARE(result.applied, notice.contains(QStringLiteral("完成")));
    QCOMPARE(describe(snapshot), describe(boxes({box(1, 1, {100, 7, 100, -1}), box(2, 1, {200}),
                                                 box(3, 1, {100, 200})})));
}

QTEST_APPLESS_MAIN(BoxManagerEditsTest)
#include "tst_boxmanageredits.moc"
