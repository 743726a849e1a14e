#include "EditFixtures.h"
#include "data/NameResolver.h"
#include "edit/DropRateEdits.h"
#include "rates/DropRate.h"

#include <QtTest>

using namespace EditFixtures;
using DropRateEdits::UnifyError;

Q_DECLARE_METATYPE(DropRateEdits::UnifyError)

namespace {

QString keptLine(int id, int oldValue, int newValue)
{
    return QStringLiteral("怪物[%1]：怪物价值 %2 → %3（已尽量保持爆率不变）")
        .arg(id)
        .arg(oldValue)
        .arg(newValue);
}

QString summary(int value, int selected, int adjusted, int copied, int skipped)
{
    return QStringLiteral("统一怪物价值：目标=%1，选择=%2，直接调整包裹=%3，复制新包裹=%4，"
                          "跳过(原价值为0)=%5")
        .arg(value)
        .arg(selected)
        .arg(adjusted)
        .arg(copied)
        .arg(skipped);
}

} // namespace

class UnifyTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void unify_data();
    void unify();
    void detailLinesOnlyForTenOrFewer_data();
    void detailLinesOnlyForTenOrFewer();
    void messageText();
    void ratesKept();
};

void UnifyTest::init()
{
    NameResolver::instance().clear();
}

void UnifyTest::unify_data()
{
    QTest::addColumn<QString>("records");
    QTest::addColumn<QString>("boxList");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<int>("newValue");
    QTest::addColumn<UnifyError>("error");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QString>("recordsAfter");
    QTest::addColumn<QString>("boxesAfter");
    QTest::addColumn<QList<int>>("adjustedCopiedSkipped");
    using Counts = QList<int>;
    const QList<int> one{1001};
    const QList<int> two{1001, 1002};

    QTest::newRow("alone: 100 -> 250 scales 1000 to 2500")
        << "1001|100|5,-1 2001|50|6"
        << "5|1000|4001 6|10|9001" << one << 250 << UnifyError::None
        << QStringList{keptLine(1001, 100, 250), summary(250, 1, 1, 0, 0)}
        << "1001|250|5,-1 2001|50|6"
        << "5|2500|4001 6|10|9001" << Counts{1, 0, 0};
    QTest::newRow("300 -> 100 rounds 333.33 to 333")
        << "1001|300|5"
        << "5|1000" << one << 100 << UnifyError::None
        << QStringList{keptLine(1001, 300, 100), summary(100, 1, 1, 0, 0)} << "1001|100|5"
        << "5|333" << Counts{1, 0, 0};
    QTest::newRow("3 -> 1 with weight 1 stays 1")
        << "1001|3|5"
        << "5|1" << one << 1 << UnifyError::None
        << QStringList{keptLine(1001, 3, 1), summary(1, 1, 0, 0, 0)} << "1001|1|5"
        << "5|1" << Counts{0, 0, 0};
    // 0.5 rounds up: 3 × 1 / 2 + 0.5 = 2.0.
    QTest::newRow("half rounds up")
        << "1001|2|5"
        << "5|3" << one << 1 << UnifyError::None
        << QStringList{keptLine(1001, 2, 1), summary(1, 1, 1, 0, 0)} << "1001|1|5"
        << "5|2" << Counts{1, 0, 0};
    QTest::newRow("shared with an unselected monster: copied")
        << "1001|100|7 3001|100|7"
        << "7|1000|1,-1,2|4|1 12|5" << one << 200 << UnifyError::None
        << QStringList{keptLine(1001, 100, 200), summary(200, 1, 0, 1, 0)}
        << "1001|200|13 3001|100|7"
        << "7|1000|1,-1,2|4|1 12|5 13|2000|1,-1,2|4|1" << Counts{0, 1, 0};
    // Monster 3002 names box 13, which does not exist: the copy goes above it.
    QTest::newRow("copy id above an id a slot names without a box")
        << "1001|100|7 3001|100|7 3002|100|13,-1"
        << "7|1000 12|5" << one << 200 << UnifyError::None
        << QStringList{keptLine(1001, 100, 200), summary(200, 1, 0, 1, 0)}
        << "1001|200|14 3001|100|7 3002|100|13,-1"
        << "7|1000 12|5 14|2000" << Counts{0, 1, 0};
    QTest::newRow("shared only by selected: first copies, last scales in place")
        << "1001|100|7 1002|100|7"
        << "7|1000" << two << 200 << UnifyError::None
        << QStringList{keptLine(1001, 100, 200), keptLine(1002, 100, 200), summary(200, 2, 1, 1, 0)}
        << "1001|200|8 1002|200|7"
        << "7|2000 8|2000" << Counts{1, 1, 0};
    QTest::newRow("value 0 or below: skipped, boxes untouched")
        << "1001|0|5 1002|-4|"
        << "5|1000" << two << 200 << UnifyError::None
        << QStringList{"怪物[1001]：怪物价值 0 → 200（原价值为0，无法保持爆率）",
                       "怪物[1002]：怪物价值 -4 → 200（原价值为0，无法保持爆率）",
                       summary(200, 2, 0, 0, 2)}
        << "1001|200|5 1002|200|"
        << "5|1000" << Counts{0, 0, 2};
    QTest::newRow("already at the new value: no line, shared box still copied")
        << "1001|200|5,7 3001|50|7"
        << "5|100 7|300" << one << 200 << UnifyError::None << QStringList{summary(200, 1, 0, 1, 0)}
        << "1001|200|5,8 3001|50|7"
        << "5|100 7|300 8|300" << Counts{0, 1, 0};
    QTest::newRow("weight 0, negative weight, missing box: untouched")
        << "1001|100|5,6,77 3001|50|5"
        << "5|0 6|-3" << one << 200 << UnifyError::None
        << QStringList{keptLine(1001, 100, 200), summary(200, 1, 0, 0, 0)}
        << "1001|200|5,6,77 3001|50|5"
        << "5|0 6|-3" << Counts{0, 0, 0};
    QTest::newRow("repeated slots of an unshared box: scaled once")
        << "1001|100|5,5,-1,5"
        << "5|1000" << one << 200 << UnifyError::None
        << QStringList{keptLine(1001, 100, 200), summary(200, 1, 1, 0, 0)} << "1001|200|5,5,-1,5"
        << "5|2000" << Counts{1, 0, 0};
    // Without the per-monster handling the third slot would scale box 7 in place.
    QTest::newRow("repeated slots of a box shared with an unselected monster")
        << "1001|100|7,3,7 3001|100|7"
        << "3|10 7|1000" << one << 200 << UnifyError::None
        << QStringList{keptLine(1001, 100, 200), summary(200, 1, 1, 1, 0)}
        << "1001|200|8,3,8 3001|100|7"
        << "3|20 7|1000 8|2000" << Counts{1, 1, 0};
    QTest::newRow("selected sharers with an unselected one: every selected copies")
        << "1001|100|7,7 1002|50|7 3001|100|7,7"
        << "7|1000" << two << 200 << UnifyError::None
        << QStringList{keptLine(1001, 100, 200), keptLine(1002, 50, 200), summary(200, 2, 0, 2, 0)}
        << "1001|200|8,8 1002|200|9 3001|100|7,7"
        << "7|1000 8|2000 9|4000" << Counts{0, 2, 0};
    QTest::newRow("scaled weight beyond 32 bits is clamped")
        << "1001|1|5"
        << "5|2000000000" << one << 999999 << UnifyError::None
        << QStringList{keptLine(1001, 1, 999999), summary(999999, 1, 1, 0, 0)} << "1001|999999|5"
        << "5|2147483647" << Counts{1, 0, 0};
    QTest::newRow("selected id without a record counts in the summary")
        << "1001|100|5"
        << "5|10" << QList<int>{4242, 1001} << 200 << UnifyError::None
        << QStringList{keptLine(1001, 100, 200), summary(200, 2, 1, 0, 0)} << "1001|200|5"
        << "5|20" << Counts{1, 0, 0};
    // Records are visited in document order, not in selection order.
    QTest::newRow("document order")
        << "1002|100|7 1001|100|7"
        << "7|100" << two << 300 << UnifyError::None
        << QStringList{keptLine(1002, 100, 300), keptLine(1001, 100, 300), summary(300, 2, 1, 1, 0)}
        << "1002|300|8 1001|300|7"
        << "7|300 8|300" << Counts{1, 1, 0};
    QTest::newRow("last free id used")
        << "1001|100|7 3001|100|7"
        << "7|10 2147483646|1" << one << 200 << UnifyError::None
        << QStringList{keptLine(1001, 100, 200), summary(200, 1, 0, 1, 0)}
        << "1001|200|2147483647 3001|100|7"
        << "7|10 2147483646|1 2147483647|20" << Counts{0, 1, 0};
    const auto refusal = [](const char *name, const QString &records, const QString &boxList,
                            const QList<int> &selected, int value, UnifyError error) {
        QTest::newRow(name) << records << boxList << selected << value << error << QStringList()
                            << records << boxList << Counts{0, 0, 0};
    };
    refusal("no selection", "1001|100|5", "5|10", {}, 200, UnifyError::NoSelection);
    refusal("value 0", "1001|100|5", "5|10", one, 0, UnifyError::InvalidValue);
    refusal("two copies needed, one id free", "1001|100|7 1002|100|7 3001|100|7",
            "7|10 2147483646|1", two, 200, UnifyError::NoFreeBoxId);
    refusal("largest id is INT_MAX", "1001|100|7 3001|100|7", "7|10 2147483647|1", one, 200,
            UnifyError::NoFreeBoxId);
    refusal("a slot names INT_MAX", "1001|100|7 3001|100|7 3002|1|2147483647", "7|10", one, 200,
            UnifyError::NoFreeBoxId);
}

void UnifyTest::unify()
{
    QFETCH(QString, records);
    QFETCH(QString, boxList);
    QFETCH(QList<int>, selected);
    QFETCH(int, newValue);
    QFETCH(UnifyError, error);
    QFETCH(QStringList, log);
    QFETCH(QString, recordsAfter);
    QFETCH(QString, boxesAfter);
    QFETCH(QList<int>, adjustedCopiedSkipped);

    MonsterDropData monsterData = monsters(monstersFrom(records));
    DropBoxContentData boxData = boxes(boxesFrom(boxList));
    const DropRateEdits::UnifyResult result =
        DropRateEdits::unifyMonsterValue(monsterData, boxData, selected, newValue);

    QCOMPARE(result.error, error);
    QCOMPARE(result.applied, error == UnifyError::None);
    QCOMPARE(result.logLines, log);
    QCOMPARE(describe(monsterData), describe(monsters(monstersFrom(recordsAfter))));
    QCOMPARE(describe(boxData), describe(boxes(boxesFrom(boxesAfter))));
    QCOMPARE((QList<int>{result.adjusted, result.copied, result.skipped}), adjustedCopiedSkipped);
    QCOMPARE(result.boxesAddedOrRemoved, result.copied > 0);
    QVERIFY(!result.recordsAddedOrRemoved);
    switch (error) {
    case UnifyError::None:
        QCOMPARE(result.notice.kind, NoticeKind::Information);
        QCOMPARE(result.notice.title, QStringLiteral("操作成功"));
        break;
    case UnifyError::NoSelection:
        QCOMPARE(result.notice.kind, NoticeKind::Information);
        QCOMPARE(result.notice.title, QStringLiteral("提示"));
        QCOMPARE(result.notice.text, QStringLiteral("请先选择要编辑的怪物"));
        break;
    case UnifyError::InvalidValue:
        QCOMPARE(result.notice.kind, NoticeKind::Warning);
        break;
    case UnifyError::NoFreeBoxId:
        QCOMPARE(result.notice.kind, NoticeKind::Warning);
        QCOMPARE(result.notice.title, QStringLiteral("错误"));
        QCOMPARE(result.notice.text, QStringLiteral("包裹ID已达上限，无法创建新包裹"));
        break;
    }
}

void UnifyTest::detailLinesOnlyForTenOrFewer_data()
{
    QTest::addColumn<int>("selectedCount");
    QTest::addColumn<int>("alreadyUnified"); // leading monsters already at the new value
    QTest::addColumn<int>("detailLines");
    QTest::newRow("10 selected") << 10 << 0 << 10;
    QTest::newRow("10 selected, 2 unchanged") << 10 << 2 << 8;
    QTest::newRow("11 selected") << 11 << 0 << 0;
    QTest::newRow("1 selected") << 1 << 0 << 1;
}

void UnifyTest::detailLinesOnlyForTenOrFewer()
{
    QFETCH(int, selectedCount);
    QFETCH(int, alreadyUnified);
    QFETCH(int, detailLines);
    QList<MonsterDropConfig> records;
    QList<DropBoxConfig> boxList;
    QList<int> selected;
    for (int i = 0; i < selectedCount; ++i) {
        records << monster(1001 + i, i < alreadyUnified ? 500 : 100, {10 + i});
        boxList << box(10 + i, 1000);
        selected << 1001 + i;
    }
    MonsterDropData monsterData = monsters(records);
    DropBoxContentData boxData = boxes(boxList);
    const DropRateEdits::UnifyResult result =
        DropRateEdits::unifyMonsterValue(monsterData, boxData, selected, 500);
    QStringList expected;
    for (int i = alreadyUnified; i < selectedCount && detailLines > 0; ++i)
        expected << keptLine(1001 + i, 100, 500);
    expected << summary(500, selectedCount, selectedCount - alreadyUnified, 0, 0);
    QCOMPARE(result.logLines, expected);
    QCOMPARE(expected.size(), detailLines + 1);
    for (const MonsterDropConfig &record : std::as_const(monsterData.records))
        QCOMPARE(record.mValue, 500);
}

void UnifyTest::messageText()
{
    NameResolver::instance().monsterNames.insert(1001, QStringLiteral("石像鬼"));
    MonsterDropData monsterData = monsters({monster(1001, 100, {7}), monster(1002, 100, {7}),
                                            monster(1003, 0, {}), monster(3001, 100, {8})});
    DropBoxContentData boxData = boxes({box(7, 1000), box(8, 5)});
    const DropRateEdits::UnifyResult result =
        DropRateEdits::unifyMonsterValue(monsterData, boxData, {1001, 1002, 1003}, 400);
    QCOMPARE(result.logLines.first(),
             QStringLiteral("怪物[1001:石像鬼]：怪物价值 100 → 400（已尽量保持爆率不变）"));
    QCOMPARE(result.logLines.last(),
             QStringLiteral("统一怪物价值：目标=400，选择=3，直接调整包裹=1，复制新包裹=1，"
                            "跳过(原价值为0)=1"));
    QCOMPARE(result.notice.text,
             QStringLiteral("已统一 3 个怪物的价值为 400。\n直接调整包裹 1 个，复制新包裹 1 "
                            "个。\n有 1 个怪物因原价值为0无法保持爆率。"));
    QCOMPARE(result.selectedCount, 3);
    QCOMPARE(result.newValue, 400);
}

void UnifyTest::ratesKept()
{
    // Rates before and after, through the one rate rule: unchanged where the weight divides.
    MonsterDropData monsterData =
        monsters({monster(1001, 100, {5, 6}), monster(1002, 40, {6}), monster(3001, 100, {6})});
    DropBoxContentData boxData = boxes({box(5, 1000), box(6, 400)});
    const DropRateEdits::UnifyResult result =
        DropRateEdits::unifyMonsterValue(monsterData, boxData, {1001, 1002}, 200);
    QVERIFY(result.applied);
    const auto rateOf = [&](int recordIndex, int slot) {
        const MonsterDropConfig &record = monsterData.records.at(recordIndex);
        const DropBoxConfig *b =
            DropSlots::findBox(std::as_const(boxData), record.dropBoxIds.at(slot));
        return DropRate::tableText(record.mValue, b->boxValue, 1.0);
    };
    QCOMPARE(rateOf(0, 0), QStringLiteral("10.00%"));
    QCOMPARE(rateOf(0, 1), QStringLiteral("25.00%"));
    QCOMPARE(rateOf(1, 0), QStringLiteral("10.00%"));
    QCOMPARE(rateOf(2, 0), QStringLiteral("25.00%")); // the unselected monster keeps box 6
    QCOMPARE(monsterData.records.at(2).dropBoxIds, QList<int>{6});
}

QTEST_APPLESS_MAIN(UnifyTest)
#include "tst_unify.moc"
