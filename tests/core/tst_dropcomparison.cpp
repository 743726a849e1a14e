#include "EditFixtures.h"

#include "data/NameResolver.h"
#include "edit/DropComparison.h"

#include <QtTest>

using namespace EditFixtures;

namespace {

QStringList recordLines(const DropComparison &comparison)
{
    QStringList lines;
    for (qsizetype i = 0; i < comparison.recordCount(); ++i) {
        const DropComparison::Change &change = comparison.recordChange(i);
        lines << DropComparison::kindName(change.kind) + u'|' +
                     comparison.text(change, NameResolver::instance());
    }
    return lines;
}

QStringList rateLines(const DropComparison &comparison)
{
    QStringList lines;
    for (qsizetype i = 0; i < comparison.rateCount(); ++i)
        lines << comparison.text(comparison.rateChange(i), NameResolver::instance());
    return lines;
}

// As read from the files: 20 box slots, 100 item slots.
MonsterDropData monsterFile(const QString &text)
{
    QList<MonsterDropConfig> records;
    for (const MonsterDropConfig &record : monstersFrom(text))
        records << padded(record);
    return monsters(records);
}

DropBoxContentData boxFile(const QString &text)
{
    QList<DropBoxConfig> list;
    for (const DropBoxConfig &box : boxesFrom(text))
        list << padded(box);
    return boxes(list);
}

} // namespace

class DropComparisonTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void compare_data();
    void compare();
    void headerAndCommentLines();
};

void DropComparisonTest::initTestCase()
{
    NameResolver &names = NameResolver::instance();
    names.clear();
    names.monsterNames.insert(1001, QStringLiteral("史莱姆"));
    names.monsterNames.insert(1002, QStringLiteral("骷髅兵"));
    names.commonItemNames.insert(5001, QStringLiteral("回城卷轴"));
}

void DropComparisonTest::compare_data()
{
    QTest::addColumn<QString>("beforeMonsters");
    QTest::addColumn<QString>("beforeBoxes");
    QTest::addColumn<QString>("afterMonsters");
    QTest::addColumn<QString>("afterBoxes");
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<QStringList>("rates");

    QTest::newRow("shared box weight moves every sharer's rates")
        << "1001|200|8 1002|100|8,9"
        << "8|1000|5001 9|500|5002"
        << "1001|200|8 1002|100|8,9"
        << "8|800|5001 9|500|5002" << QStringList{"box-weight|包裹[8] 权值：1000 → 800"}
        << QStringList{"怪物[1001:史莱姆] 物品[5001:回城卷轴]：20.00%（1/5） → 25.00%（1/4）",
                       "怪物[1002:骷髅兵] 物品[5001:回城卷轴]：10.00%（1/10） → 12.50%（1/8）"};
    QTest::newRow("item moved within a box moves no rate")
        << "1001|200|8"
        << "8|1000|5001,5002"
        << "1001|200|8"
        << "8|1000|-1,5002,5001"
        << QStringList{"box-item-slots|包裹[8] 物品的槽位或等级有改动（物品不变）"}
        << QStringList{};
    QTest::newRow("box removed while a monster still names it")
        << "1001|200|8,9"
        << "8|1000|5001 9|500|5001,5002"
        << "1001|200|8,9"
        << "9|500|5001,5002" << QStringList{"box-removed|包裹[8] 删除：权值 1000，物品 1 个"}
        << QStringList{"怪物[1001:史莱姆] 物品[5001:回城卷轴]：40.00%（1/3） + 20.00%（1/5） → "
                       "40.00%（1/3）"};
    QTest::newRow("repeated ids: only the first record counts")
        << "1001|200|8 1001|300|9 1002|100|9 1002|100|9"
        << "8|1000|5001 8|10|5002 9|500|5002"
        << "1001|200|8 1001|300|9 1001|50|8 1002|100|9 1002|100|9"
        << "8|1000|5001 8|20|5002 9|500|5002 9|500|5002"
        << QStringList{"monster-repeated|怪物[1001:史莱姆] 重复记录：2 条 → 3 条（只有第一条生效）",
                       "box-repeated|包裹[8] 重复的包裹有改动：共 2 个（只有第一个生效）",
                       "box-repeated|包裹[9] 重复：1 个 → 2 个（只有第一个生效）"}
        << QStringList{};
    QTest::newRow("monsters added, removed and edited")
        << "1001|200|8 1002|100|9"
        << "8|1000|5001 9|500|5002"
        << "1002|150|9,8|1 1003|100|9,77"
        << "8|1000|5001 9|500|5002"
        << QStringList{"monster-removed|怪物[1001:史莱姆] 删除掉落记录：怪物价值 200，掉落类型 "
                       "个人掉落，包裹 8",
                       "monster-value|怪物[1002:骷髅兵] 怪物价值：100 → 150",
                       "monster-drop-type|怪物[1002:骷髅兵] 掉落类型：个人掉落 → 队伍掉落",
                       "monster-slot|怪物[1002:骷髅兵] 槽位2：空 → 包裹[8]",
                       "monster-added|怪物[1003] 新增掉落记录：怪物价值 100，掉落类型 "
                       "个人掉落，包裹 "
                       "9, 77"}
        << QStringList{"怪物[1001:史莱姆] 物品[5001:回城卷轴]：20.00%（1/5） → 不掉落",
                       "怪物[1002:骷髅兵] 物品[5002]：20.00%（1/5） → 30.00%（1/3）",
                       "怪物[1002:骷髅兵] 物品[5001:回城卷轴]：不掉落 → 15.00%（1/7）",
                       "怪物[1003] 物品[5002]：不掉落 → 20.00%（1/5）"};
    QTest::newRow("weight below 1 has no rate")
        << "1001|200|8"
        << "8|1000|5001|3"
        << "1001|200|8"
        << "8|0|5001|4|1"
        << QStringList{"box-weight|包裹[8] 权值：1000 → 0", "box-notify|包裹[8] 广播ID：3 → 4",
                       "box-bind|包裹[8] 拾取绑定：0 → 1"}
        << QStringList{"怪物[1001:史莱姆] 物品[5001:回城卷轴]：20.00%（1/5） → N/A"};
    QTest::newRow("value and weights scaled together keep the rates")
        << "1001|100|8,9"
        << "8|1000|5001,5002,5002 9|300|5001"
        << "1001|200|8,9"
        << "8|2000|5002,5001,5003 9|600|5001"
        << QStringList{"monster-value|怪物[1001:史莱姆] 怪物价值：100 → 200",
                       "box-weight|包裹[8] 权值：1000 → 2000",
                       "box-item-removed|包裹[8] 删除物品[5002]",
                       "box-item-added|包裹[8] 添加物品[5003]",
                       "box-weight|包裹[9] 权值：300 → 600"}
        << QStringList{"怪物[1001:史莱姆] 物品[5003]：不掉落 → 10.00%（1/10）"};
}

void DropComparisonTest::compare()
{
    QFETCH(QString, beforeMonsters);
    QFETCH(QString, beforeBoxes);
    QFETCH(QString, afterMonsters);
    QFETCH(QString, afterBoxes);
    QFETCH(QStringList, records);
    QFETCH(QStringList, rates);
    const MonsterDropData m0 = monsterFile(beforeMonsters);
    const DropBoxContentData b0 = boxFile(beforeBoxes);
    const MonsterDropData m1 = monsterFile(afterMonsters);
    const DropBoxContentData b1 = boxFile(afterBoxes);

    const DropComparison comparison = DropComparison::compare(m0, b0, m1, b1);
    QCOMPARE(recordLines(comparison), records);
    QCOMPARE(rateLines(comparison), rates);
    // Nothing differs between a state and itself, shared or copied.
    QVERIFY(DropComparison::compare(m1, b1, m1, b1).isEmpty());
    QVERIFY(DropComparison::compare(m0, b0, monsterFile(beforeMonsters), boxFile(beforeBoxes))
                .isEmpty());
}

void DropComparisonTest::headerAndCommentLines()
{
    MonsterDropData m0 = monsterFile("1001|200|8");
    DropBoxContentData b0 = boxFile("8|1000|5001");
    m0.headerLine2 = QStringLiteral("# 怪物");
    b0.headerLine1.clear();
    b0.commentBlock = QStringLiteral("# 一\n# 二");
    MonsterDropData m1 = m0;
    DropBoxContentData b1 = b0;
    m1.headerLine2 = QStringLiteral("# 怪物 %1");
    b1.headerLine1 = QStringLiteral("ID BoxValue");
    b1.commentBlock = QStringLiteral("# 一");

    const DropComparison comparison = DropComparison::compare(m0, b0, m1, b1);
    QCOMPARE(recordLines(comparison),
             QStringList({"monster-header|怪物文件表头第2行：“# 怪物” → “# 怪物 %1”",
                          "box-header|包裹文件表头第1行：“” → “ID BoxValue”",
                          "box-comments|包裹文件注释行：2 行 → 1 行"}));
    QCOMPARE(comparison.rateCount(), 0);
}

QTEST_GUILESS_MAIN(DropComparisonTest)
#include "tst_dropcomparison.moc"
