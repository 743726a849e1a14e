#include "EditFixtures.h"
#include "data/NameResolver.h"
#include "edit/BoxEdits.h"
#include "edit/BoxManagerEdits.h"
#include "edit/DropClipboard.h"

#include <QtTest>
#include <climits>

using namespace EditFixtures;
using BoxEdits::BoxDetailInput;

Q_DECLARE_METATYPE(BoxEdits::BoxDetailInput)

class BoxEditsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void boxDetail_data();
    void boxDetail();
    void idOfAnotherBox();
    void boxDetailWithoutBox();
    void duplicateBox_data();
    void duplicateBox();
    void deleteBox_data();
    void deleteBox();
    void addItems_data();
    void addItems();
    void deleteItems_data();
    void deleteItems();
    void favorites_data();
    void favorites();
    void slotLimits_data();
    void slotLimits();
};

void BoxEditsTest::init()
{
    NameResolver::instance().clear();
    NameResolver::instance().monsterNames.insert(1001, QStringLiteral("石像鬼"));
}

void BoxEditsTest::boxDetail_data()
{
    QTest::addColumn<DropBoxConfig>("before");
    QTest::addColumn<BoxDetailInput>("input");
    QTest::addColumn<bool>("withMonster");
    QTest::addColumn<DropBoxConfig>("after");
    QTest::addColumn<QStringList>("log");

    const DropBoxConfig b = box(7, 800, {4001}, 12, 0);
    const auto input = [](const char *id, const char *value, bool bind, const char *notify) {
        return BoxDetailInput{QString::fromUtf8(id), QString::fromUtf8(value), bind,
                              QString::fromUtf8(notify)};
    };
    QTest::newRow("form as filled: nothing")
        << b << input("7", "800", false, "12") << true << b << QStringList{};
    QTest::newRow("weight") << b << input("7", "150", false, "12") << true
                            << box(7, 150, {4001}, 12, 0)
                            << QStringList{"怪物[1001:石像鬼]：包裹[7] 权值 800 → 150"};
    QTest::newRow("negative weight ignored")
        << b << input("7", "-5", false, "12") << true << b << QStringList{};
    QTest::newRow("cleared weight ignored")
        << b << input("7", "", false, "12") << true << b << QStringList{};
    QTest::newRow("weight 0 taken")
        << b << input("7", "0", false, "12") << true << box(7, 0, {4001}, 12, 0)
        << QStringList{"怪物[1001:石像鬼]：包裹[7] 权值 800 → 0"};
    QTest::newRow("broadcast -1 taken")
        << b << input("7", "800", false, "-1") << true << box(7, 800, {4001}, -1, 0)
        << QStringList{"怪物[1001:石像鬼]：包裹[7] 广播ID 12 → -1"};
    QTest::newRow("broadcast text ignored")
        << b << input("7", "800", false, "x") << true << b << QStringList{};
    QTest::newRow("bind on") << b << input("7", "800", true, "12") << true
                             << box(7, 800, {4001}, 12, 1)
                             << QStringList{"怪物[1001:石像鬼]：包裹[7] 拾取绑定 否 → 是"};
    QTest::newRow("flag 2 kept while the box stays checked")
        << box(7, 800, {4001}, 12, 2) << input("7", "900", true, "12") << true
        << box(7, 900, {4001}, 12, 2) << QStringList{"怪物[1001:石像鬼]：包裹[7] 权值 800 → 900"};
    QTest::newRow("flag 2 unchecked")
        << box(7, 800, {4001}, 12, 2) << input("7", "800", false, "12") << true
        << box(7, 800, {4001}, 12, 0) << QStringList{"怪物[1001:石像鬼]：包裹[7] 拾取绑定 是 → 否"};
    QTest::newRow("id text ignored")
        << b << input("7a", "800", false, "12") << true << b << QStringList{};
    QTest::newRow("every field, in order, no monster")
        << b << input("-3", "5", true, "0") << false << box(-3, 5, {4001}, 0, 1)
        << QStringList{"怪物[未选择]：包裹[7] → 包裹[-3]（注意：仅修改ID不会自动同步所有引用）",
                       "怪物[未选择]：包裹[-3] 权值 800 → 5",
                       "怪物[未选择]：包裹[-3] 拾取绑定 否 → 是",
                       "怪物[未选择]：包裹[-3] 广播ID 12 → 0"};
}

void BoxEditsTest::boxDetail()
{
    QFETCH(DropBoxConfig, before);
    QFETCH(BoxDetailInput, input);
    QFETCH(bool, withMonster);
    QFETCH(DropBoxConfig, after);
    QFETCH(QStringList, log);
    const DropBoxConfig other = box(8, 1);
    DropBoxContentData data = boxes({other, before});
    const MonsterDropConfig current = monster(1001, 100, {7});
    DropBoxConfig *currentBox = &data.boxes[1];
    const BoxEdits::BoxDetailResult result =
        BoxEdits::applyBoxDetail(data, withMonster ? &current : nullptr, currentBox, input);
    QVERIFY(result.applied);
    QCOMPARE(result.logLines, log);
    QCOMPARE(describe(data), describe(boxes({other, after})));
    QCOMPARE(result.newBoxId, after.boxId);
    QCOMPARE(result.idChanged, after.boxId != before.boxId);
    QCOMPARE(result.weightChanged, after.boxValue != before.boxValue);
    QCOMPARE(result.forceBindChanged, after.forceOpenFlag != before.forceOpenFlag);
    QCOMPARE(result.broadcastIdChanged, after.notifyId != before.notifyId);
    QVERIFY(!result.boxesAddedOrRemoved);
    QCOMPARE(currentBox->boxId, after.boxId); // the pointer still names the record
}

void BoxEditsTest::idOfAnotherBox()
{
    // Taking the id of another box leaves two records with that id; the form's box is found
    // by id afterwards, so it is the first of them.
    DropBoxContentData data = boxes({box(7, 0), box(9, 3)});
    const MonsterDropConfig current = monster(2002, 1, {7});
    const BoxEdits::BoxDetailResult twin =
        BoxEdits::applyBoxDetail(data, &current, &data.boxes[0], {"9", "150", false, "-1"});
    QVERIFY(twin.idChanged);
    QCOMPARE(data.boxes.at(0).boxId, 9);
    QCOMPARE(data.boxes.at(1).boxId, 9);
}

void BoxEditsTest::boxDetailWithoutBox()
{
    DropBoxContentData data = boxes({box(7, 10)});
    const QStringList before = describe(data);
    const DropBoxConfig outside = box(99, 1);
    const BoxDetailInput input{"5", "5", true, "5"};
    QVERIFY(!BoxEdits::applyBoxDetail(data, nullptr, nullptr, input).applied);
    const BoxEdits::BoxDetailResult result =
        BoxEdits::applyBoxDetail(data, nullptr, &outside, input);
    QVERIFY(!result.applied);
    QVERIFY(result.logLines.isEmpty());
    QCOMPARE(describe(data), before);
}

void BoxEditsTest::duplicateBox_data()
{
    QTest::addColumn<QList<DropBoxConfig>>("boxList");
    QTest::addColumn<int>("sourceIndex");         // -1: none
    QTest::addColumn<QList<int>>("monsterBoxes"); // empty: no monster selected
    QTest::addColumn<QList<int>>("monsterBoxesAfter");
    QTest::addColumn<int>("newId"); // 0: refused
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<int>("otherMonsterBox"); // a slot of another monster

    const QList<DropBoxConfig> list{box(7, 800, {5001, -1, 5002, -1}, 3, 1), box(120, 5),
                                    box(40, 9)};
    QTest::newRow("into the first empty slot")
        << list << 0 << QList<int>{5, -1, 7, 0} << QList<int>{5, 121, 7, 0} << 121
        << QStringList{"怪物[1001:石像鬼]：复制包裹[7] → 包裹[121]（权值=800，物品槽位=4）"} << 7;
    QTest::newRow("appended to a full list of nine")
        << list << 2 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}
        << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 121} << 121
        << QStringList{"怪物[1001:石像鬼]：复制包裹[40] → 包裹[121]（权值=9，物品槽位=0）"} << 7;
    QTest::newRow("no monster") << list << 0 << QList<int>{} << QList<int>{} << 121
                                << QStringList{"复制包裹[7] → 包裹[121]（权值=800，物品槽位=4）"}
                                << 7;
    QTest::newRow("negative ids only: new id 1")
        << QList<DropBoxConfig>{box(-4, 2)} << 0 << QList<int>{-1} << QList<int>{1} << 1
        << QStringList{"怪物[1001:石像鬼]：复制包裹[-4] → 包裹[1]（权值=2，物品槽位=0）"} << -1;
    QTest::newRow("no free id") << QList<DropBoxConfig>{box(INT_MAX, 2), box(3, 1)} << 1
                                << QList<int>{-1} << QList<int>{-1} << 0 << QStringList{} << 7;
    QTest::newRow("above an id another monster names without a box")
        << list << 0 << QList<int>{-1} << QList<int>{301} << 301
        << QStringList{"怪物[1001:石像鬼]：复制包裹[7] → 包裹[301]（权值=800，物品槽位=4）"} << 300;
    QTest::newRow("no source") << list << -1 << QList<int>{-1} << QList<int>{-1} << 0
                               << QStringList{} << 7;
}

void BoxEditsTest::duplicateBox()
{
    QFETCH(QList<DropBoxConfig>, boxList);
    QFETCH(int, sourceIndex);
    QFETCH(QList<int>, monsterBoxes);
    QFETCH(QList<int>, monsterBoxesAfter);
    QFETCH(int, newId);
    QFETCH(QStringList, log);
    DropBoxContentData data = boxes(boxList);
    data.boxes.squeeze(); // the append must move the list
    QFETCH(int, otherMonsterBox);
    MonsterDropData monsterData =
        monsters({monster(1001, 100, monsterBoxes), monster(1002, 5, {otherMonsterBox})});
    MonsterDropConfig *current = monsterBoxes.isEmpty() ? nullptr : &monsterData.records[0];
    const DropBoxConfig *source = sourceIndex >= 0 ? &data.boxes[sourceIndex] : nullptr;

    const BoxEdits::DuplicateBoxResult result =
        BoxEdits::duplicateBox(data, monsterData, current, source);

    QCOMPARE(result.logLines, log);
    QCOMPARE(monsterData.records.at(0).dropBoxIds, monsterBoxesAfter);
    QList<DropBoxConfig> expected = boxList;
    if (newId != 0) {
        QVERIFY(result.applied);
        QVERIFY(result.boxesAddedOrRemoved);
        QCOMPARE(result.newBoxId, newId);
        DropBoxConfig copy = boxList.at(sourceIndex);
        copy.boxId = newId;
        expected << copy;
        if (current) {
            QCOMPARE(current->dropBoxIds.at(result.slotIndex), newId);
            QCOMPARE(result.slotAppended, monsterBoxesAfter.size() > monsterBoxes.size());
        }
    } else {
        QVERIFY(!result.applied);
        QVERIFY(!result.boxesAddedOrRemoved);
        if (source) {
            QCOMPARE(result.notice.kind, NoticeKind::Warning);
            QCOMPARE(result.notice.text, QStringLiteral("包裹ID已达上限，无法创建新包裹"));
        }
    }
    QCOMPARE(describe(data), describe(boxes(expected)));
    QCOMPARE(BoxEdits::duplicateNoSelectionNotice().text, QStringLiteral("请先选择要复制的包裹"));
    QCOMPARE(BoxEdits::duplicateNoSelectionNotice().title, QStringLiteral("提示"));
}

void BoxEditsTest::deleteBox_data()
{
    QTest::addColumn<bool>("withMonster");
    QTest::addColumn<QList<int>>("currentAfter");
    QTest::addColumn<QStringList>("log");
    QTest::newRow("with monster") << true << QList<int>{-1, 9}
                                  << QStringList{
                                         "怪物[1001:石像鬼]：删除包裹[5]（权值=300，物品槽位=3）"};
    QTest::newRow("without monster")
        << false << QList<int>{5, -1, 9, 5} << QStringList{"删除包裹[5]（权值=300，物品槽位=3）"};
}

void BoxEditsTest::deleteBox()
{
    QFETCH(bool, withMonster);
    QFETCH(QList<int>, currentAfter);
    QFETCH(QStringList, log);
    DropBoxContentData data = boxes({box(4, 1), box(5, 300, {1, -1, 2}), box(9, 2), box(5, 7)});
    MonsterDropData monsterData =
        monsters({monster(1001, 100, {5, -1, 9, 5}), monster(1002, 100, {5})});
    const BoxEdits::DeleteBoxResult result =
        BoxEdits::deleteBox(data, withMonster ? &monsterData.records[0] : nullptr, &data.boxes[1]);
    QVERIFY(result.applied);
    QVERIFY(result.boxesAddedOrRemoved);
    QCOMPARE(result.logLines, log);
    QCOMPARE(result.removedSlots, withMonster ? 2 : 0);
    QCOMPARE(describe(data), describe(boxes({box(4, 1), box(9, 2), box(5, 7)})));
    QCOMPARE(monsterData.records.at(0).dropBoxIds, currentAfter);
    QCOMPARE(monsterData.records.at(1).dropBoxIds, QList<int>{5}); // others keep the id

    const QStringList before = describe(data);
    QVERIFY(!BoxEdits::deleteBox(data, &monsterData.records[0], nullptr).applied);
    QCOMPARE(describe(data), before);
    QCOMPARE(BoxEdits::deleteNoSelectionLogLine(), QStringLiteral("删除包裹：未选择包裹"));
}

void BoxEditsTest::addItems_data()
{
    QTest::addColumn<QList<int>>("items");
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<QList<int>>("itemsAfter");
    QTest::addColumn<int>("added");
    QTest::addColumn<QStringList>("log");

    QTest::newRow("repeats, 0 and present ids skipped")
        << QList<int>{9, -1, 0} << QList<int>{5, 5, 0, 9} << QList<int>{9, 5, 0} << 1
        << QStringList{"怪物[1001:石像鬼]：包裹[7] 添加物品 1 个：5"};
    QTest::newRow("fills empty slots, then appends")
        << QList<int>{-1, 3, -1} << QList<int>{11, 12, 13, 14} << QList<int>{11, 3, 12, 13, 14} << 4
        << QStringList{"怪物[1001:石像鬼]：包裹[7] 添加物品 4 个：11, 12, 13, 14"};
    QList<int> twelve;
    for (int i = 1; i <= 12; ++i)
        twelve << 100 + i;
    QTest::newRow("twelve: ten listed then the count")
        << QList<int>{} << twelve << twelve << 12
        << QStringList{"怪物[1001:石像鬼]：包裹[7] 添加物品 12 个：101, 102, 103, 104, 105, 106, "
                       "107, 108, 109, 110 ...（共12个）"};
    QTest::newRow("ten: no suffix")
        << QList<int>{} << twelve.mid(0, 10) << twelve.mid(0, 10) << 10
        << QStringList{"怪物[1001:石像鬼]：包裹[7] 添加物品 10 个：101, "
                       "102, 103, 104, 105, 106, 107, 108, 109, 110"};
    QTest::newRow("nothing new") << QList<int>{9} << QList<int>{9, -2} << QList<int>{9} << 0
                                 << QStringList{};
}

void BoxEditsTest::addItems()
{
    QFETCH(QList<int>, items);
    QFETCH(QList<int>, ids);
    QFETCH(QList<int>, itemsAfter);
    QFETCH(int, added);
    QFETCH(QStringList, log);
    DropBoxContentData data = boxes({box(3, 1), box(7, 50, items)});
    const MonsterDropConfig current = monster(1001, 100, {7});
    const BoxEdits::AddItemsResult result = BoxEdits::addItems(data, &current, &data.boxes[1], ids);
    QCOMPARE(result.addedCount, added);
    QCOMPARE(result.applied, added > 0);
    QCOMPARE(result.logLines, log);

    // Added slots carry level -1; the others keep theirs.
    DropBoxConfig expected = box(7, 50, items);
    for (qsizetype i = 0; i < itemsAfter.size(); ++i) {
        if (i < expected.items.size() && expected.items.at(i).itemId == itemsAfter.at(i))
            continue;
        const DropBoxItem slot{itemsAfter.at(i), -1};
        if (i < expected.items.size())
            expected.items[i] = slot;
        else
            expected.items << slot;
    }
    QCOMPARE(describe(data), describe(boxes({box(3, 1), expected})));
    if (added > 0) {
        QVERIFY(result.notice.isNone());
        QCOMPARE(result.statusText, QStringLiteral("已添加 %1 个物品到当前包裹").arg(added));
    } else {
        QCOMPARE(result.notice.title, QStringLiteral("提示"));
        QCOMPARE(result.notice.text, QStringLiteral("当前未选中包裹或物品已存在"));
    }
    QVERIFY(!result.boxesAddedOrRemoved);

    const BoxEdits::AddItemsResult noBox = BoxEdits::addItems(data, &current, nullptr, ids);
    QCOMPARE(noBox.addedCount, 0);
    QCOMPARE(noBox.notice.text, QStringLiteral("当前未选中包裹或物品已存在"));
}

void BoxEditsTest::deleteItems_data()
{
    QTest::addColumn<QList<int>>("items");
    QTest::addColumn<bool>("withBox");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QList<int>>("itemsAfter"); // empty when refused
    QTest::addColumn<QString>("message");       // the question when accepted, else the notice
    QTest::addColumn<QStringList>("log");

    QTest::newRow("one of four, compacted")
        << QList<int>{11, -1, 12, 13} << true << QList<int>{2} << QList<int>{11, 13, -1, -1}
        << "确定要删除选中的 1 个物品吗？"
        << QStringList{"怪物[1001:石像鬼]：包裹[7] 删除物品 1 个：12"};
    QTest::newRow("repeated and outside rows dropped, selection order kept")
        << QList<int>{11, 0, 12, 13} << true << QList<int>{3, 1, 3, 9, -1, 0}
        << QList<int>{12, -1, -1, -1} << "确定要删除选中的 2 个物品吗？"
        << QStringList{"怪物[1001:石像鬼]：包裹[7] 删除物品 2 个：13, 11"};
    QTest::newRow("nine deleted: eight listed")
        << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10} << true
        << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}
        << QList<int>{10, -1, -1, -1, -1, -1, -1, -1, -1, -1} << "确定要删除选中的 9 个物品吗？"
        << QStringList{"怪物[1001:石像鬼]：包裹[7] 删除物品 9 个：1, 2, 3, 4, 5, 6, 7, 8, "
                       "...（共9个）"};
    QTest::newRow("only empty slots")
        << QList<int>{11, -1, 0} << true << QList<int>{1, 2} << QList<int>{}
        << "选中的都是空槽位，无需删除" << QStringList{};
    QTest::newRow("no rows") << QList<int>{11} << true << QList<int>{} << QList<int>{}
                             << "请先选择要删除的物品" << QStringList{};
    QTest::newRow("no box") << QList<int>{11} << false << QList<int>{0} << QList<int>{}
                            << "请先选择一个包裹" << QStringList{};
}

void BoxEditsTest::deleteItems()
{
    QFETCH(QList<int>, items);
    QFETCH(bool, withBox);
    QFETCH(QList<int>, rows);
    QFETCH(QList<int>, itemsAfter);
    QFETCH(QString, message);
    QFETCH(QStringList, log);
    DropBoxContentData data = boxes({box(7, 50, items)});
    const QStringList before = describe(data);
    const MonsterDropConfig current = monster(1001, 100, {7});
    const DropBoxConfig *currentBox = withBox ? &data.boxes[0] : nullptr;

    const BoxEdits::DeleteItemsPlan plan = BoxEdits::planDeleteItems(data, currentBox, rows);
    QCOMPARE(plan.ok, !itemsAfter.isEmpty());
    QCOMPARE(describe(data), before);
    const BoxEdits::DeleteItemsResult result =
        BoxEdits::deleteItems(data, &current, currentBox, rows);
    QCOMPARE(result.logLines, log);
    if (plan.ok) {
        QCOMPARE(plan.question.title, QStringLiteral("确认删除"));
        QCOMPARE(plan.question.text, message);
        QVERIFY(result.applied);
        QCOMPARE(result.notice.title, QStringLiteral("删除成功"));
        QCOMPARE(result.notice.text,
                 QStringLiteral("已删除 %1 个物品").arg(result.deletedIds.size()));
        // Kept slots move up with their levels; the rest become -1/-1.
        DropBoxConfig expected = box(7, 50, {});
        for (int id : itemsAfter)
            expected.items << DropBoxItem{id, id >= 1 ? id % 7 : -1};
        QCOMPARE(describe(data), describe(boxes({expected})));
    } else {
        QCOMPARE(plan.notice.kind, NoticeKind::Information);
        QCOMPARE(plan.notice.title, QStringLiteral("提示"));
        QCOMPARE(plan.notice.text, message);
        QCOMPARE(result.notice.text, message);
        QVERIFY(!result.applied);
        QCOMPARE(describe(data), before);
    }

    const DropBoxConfig outside = box(99, 1, {5});
    const BoxEdits::DeleteItemsPlan missing = BoxEdits::planDeleteItems(data, &outside, {0});
    QCOMPARE(missing.notice.kind, NoticeKind::Warning);
    QCOMPARE(missing.notice.title, QStringLiteral("错误"));
    QCOMPARE(missing.notice.text, QStringLiteral("找不到选中的包裹配置"));
}

void BoxEditsTest::favorites_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<int>("newCount");
    QTest::addColumn<QString>("status");
    QTest::newRow("new ones appended in order, unreadable entries kept")
        << QStringList{"5", "x", "7"} << QStringList{"7", "9", "", "9", "abc", "0", "5", "11"}
        << QStringList{"5", "x", "7", "9", "11"} << 2 << "已加入收藏夹：新增 2 个（选中 5 个）";
    QTest::newRow("all present") << QStringList{"5", "9"} << QStringList{"9", "5"}
                                 << QStringList{"5", "9"} << 0
                                 << "收藏夹已包含所选物品（选中 2 个）";
    QTest::newRow("empty store") << QStringList{} << QStringList{"3"} << QStringList{"3"} << 1
                                 << "已加入收藏夹：新增 1 个（选中 1 个）";
    QTest::newRow("nothing selectable")
        << QStringList{"5"} << QStringList{"", "-2"} << QStringList{"5"} << 0 << "";
}

void BoxEditsTest::favorites()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, cells);
    QFETCH(QStringList, list);
    QFETCH(int, newCount);
    QFETCH(QString, status);
    const QList<int> ids = BoxEdits::itemIdsFromCells(cells);
    const BoxEdits::FavoritesMerge merge = BoxEdits::mergeFavorites(stored, ids);
    QCOMPARE(merge.list, list);
    QCOMPARE(merge.newCount, newCount);
    QCOMPARE(merge.selectedCount, int(ids.size()));
    QCOMPARE(merge.statusText, status);
    // Adding the same rows again finds nothing new.
    const BoxEdits::FavoritesMerge again = BoxEdits::mergeFavorites(merge.list, ids);
    QCOMPARE(again.newCount, 0);
    QCOMPARE(again.list, list);
}

void BoxEditsTest::slotLimits_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("filled");      // box 1's items, or monster 7777's boxes
    QTest::addColumn<QList<int>>("ids");  // items to add, or boxes to paste
    QTest::addColumn<QString>("refusal"); // empty: applied
    const QString fullBox =
        QStringLiteral("包裹[1] 最多只能有 100 个物品槽位：还有 %1 个空位，无法添加 %2 个物品");
    QTest::newRow("items fill the last slots") << "items" << 98 << QList<int>{901, 902, 5} << "";
    QTest::newRow("one item too many")
        << "items" << 99 << QList<int>{901, 902} << fullBox.arg(1).arg(2);
    QTest::newRow("library items into a full box")
        << "library" << 100 << QList<int>{901} << fullBox.arg(0).arg(1);
    QTest::newRow("copy into the last slot") << "duplicate" << 19 << QList<int>{} << "";
    QTest::newRow("copy onto a monster without a free slot")
        << "duplicate" << 20 << QList<int>{}
        << "怪物[7777] 的 20 个掉落槽位已全部使用，无法再加入包裹";
    QList<int> boxIds;
    for (int id = 1; id <= 21; ++id)
        boxIds << id;
    QTest::newRow("paste of 20 boxes") << "paste" << 0 << boxIds.mid(0, 20) << "";
    QTest::newRow("paste beyond slot 20")
        << "paste" << 0 << boxIds
        << "剪贴板中的掉落配置在第 20 个槽位之后还有 1 个包裹，怪物最多只有 20 个掉落槽位";
}

void BoxEditsTest::slotLimits()
{
    QFETCH(QString, edit);
    QFETCH(int, filled);
    QFETCH(QList<int>, ids);
    QFETCH(QString, refusal);
    QList<int> held;
    for (int id = 1; id <= filled; ++id)
        held << id;
    DropBoxContentData boxData =
        boxes({padded(box(1, 50, edit == "duplicate" ? QList<int>{} : held))});
    MonsterDropData monsterData =
        monsters({padded(monster(7777, 10, edit == "duplicate" ? held : QList<int>{}))});
    const QStringList before = describe(boxData) + describe(monsterData);

    EditResult result;
    if (edit == "items") {
        result = BoxEdits::addItems(boxData, nullptr, &boxData.boxes[0], ids);
    } else if (edit == "library") {
        result = BoxManagerEdits::addLibraryItems(boxData, 1, ids, false);
    } else if (edit == "duplicate") {
        result = BoxEdits::duplicateBox(boxData, monsterData, &monsterData.records[0],
                                        &boxData.boxes[0]);
    } else {
        const DropClipboard::PastePlan plan =
            DropClipboard::preparePaste({7777}, DropClipboard::buildText(monster(1, 10, ids)));
        // Refused at the question, and again when applied directly.
        result = DropClipboard::applyPaste(monsterData, {7777}, {1, 10, 0, ids});
        QCOMPARE(plan.ok, result.applied);
        QCOMPARE(plan.notice.text, result.applied ? QString() : refusal);
    }
    QCOMPARE(result.applied, refusal.isEmpty());
    QCOMPARE(result.notice.kind == NoticeKind::Warning, !refusal.isEmpty());
    if (!refusal.isEmpty()) {
        QCOMPARE(result.notice.text, refusal);
        QCOMPARE(describe(boxData) + describe(monsterData), before);
    }
    for (const DropBoxConfig &b : boxData.boxes)
        QCOMPARE(DropSlots::itemsBeyondLimit(b), 0);
    for (const MonsterDropConfig &m : monsterData.records)
        QCOMPARE(DropSlots::boxIdsBeyondLimit(m), 0);
}

QTEST_APPLESS_MAIN(BoxEditsTest)
#include "tst_boxedits.moc"
