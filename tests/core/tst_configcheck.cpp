#include "EditFixtures.h"

#include "data/ConfigCheck.h"
#include "data/NameResolver.h"

#include <QtTest>

using namespace EditFixtures;

class ConfigCheckTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void findings_data();
    void findings();
};

void ConfigCheckTest::findings_data()
{
    QTest::addColumn<QList<MonsterDropConfig>>("records");
    QTest::addColumn<QList<DropBoxConfig>>("boxList");
    QTest::addColumn<double>("multiplier");
    QTest::addColumn<QStringList>("expected"); // kind|monster|box|item|count|message

    // Monster 1001 is named 赤焰狼, items 7001 (common), 7002 (equipment), 7003 (gem).
    const auto clean = QList<MonsterDropConfig>{monster(1001, 10, {3, -1})};
    const auto cleanBoxes = QList<DropBoxConfig>{box(3, 1000, {7001, 7002, 7003})};
    QTest::newRow("consistent") << clean << cleanBoxes << 1.0 << QStringList{};
    QTest::newRow("missing box") << QList<MonsterDropConfig>{monster(1001, 10, {3, -1, 8})}
                                 << cleanBoxes << 1.0
                                 << QStringList{"missing-box|1001|8|-1|0|怪物[1001:赤焰狼] 的第 3 "
                                                "个掉落槽位引用了不存在的包裹[8]"};
    QTest::newRow("unused box") << clean << (cleanBoxes + QList<DropBoxConfig>{box(4, 10)}) << 1.0
                                << QStringList{"unused-box|-1|4|-1|0|包裹[4] 没有被任何怪物引用"};
    QTest::newRow("duplicate box id")
        << clean << (cleanBoxes + QList<DropBoxConfig>{box(3, 0)}) << 1.0
        << QStringList{"duplicate-box-id|-1|3|-1|2|包裹ID 3 出现了 2 "
                       "次（编辑器使用第一个，导出使用最后一个）"};
    QTest::newRow("duplicate monster id")
        << (clean + QList<MonsterDropConfig>{monster(1001, 5, {}), monster(1001, 5, {})})
        << cleanBoxes << 1.0
        << QStringList{"duplicate-monster-id|1001|-1|-1|3|怪物ID 1001 有 3 "
                       "条掉落记录（编辑时使用第一条）"};
    QTest::newRow("unrated box, named twice by one monster and once by another")
        << QList<MonsterDropConfig>{monster(1001, 10, {3, 3}), monster(1001, 10, {3})}
        << QList<DropBoxConfig>{box(3, 0, {7001})} << 1.0
        << QStringList{"duplicate-monster-id|1001|-1|-1|2|怪物ID 1001 有 2 "
                       "条掉落记录（编辑时使用第一条）",
                       "unrated-box|-1|3|-1|2|包裹[3] 的权值为 0（小于 1），被 2 "
                       "个怪物引用，爆率无法计算"};
    QTest::newRow("unnamed box of weight 0 is only unused")
        << clean << (cleanBoxes + QList<DropBoxConfig>{box(4, -5)}) << 1.0
        << QStringList{"unused-box|-1|4|-1|0|包裹[4] 没有被任何怪物引用"};
    QTest::newRow("unknown item, once for two boxes")
        << QList<MonsterDropConfig>{monster(1001, 10, {3, 4})}
        << QList<DropBoxConfig>{box(3, 1000, {7001, 7999, 7999}), box(4, 1000, {7999})} << 1.0
        << QStringList{
               "unknown-item|-1|3|7999|0|物品ID 7999 不在任何物品表中（首次出现于包裹[3]）"};
    QTest::newRow("unknown monster")
        << (clean + QList<MonsterDropConfig>{monster(1005, 10, {3})}) << cleanBoxes << 1.0
        << QStringList{"unknown-monster|1005|-1|-1|0|怪物ID 1005 "
                       "有掉落记录，但怪物表中没有该怪物（怪物列表中不显示）"};
    QTest::newRow("rate above 100 %, exactly 100 % is fine")
        << QList<MonsterDropConfig>{monster(1001, 1001, {3, 4})}
        << QList<DropBoxConfig>{box(3, 1000, {7001}), box(4, 1001, {7001})} << 1.0
        << QStringList{"rate-above-100|1001|3|-1|0|怪物[1001:赤焰狼] 的第 1 个掉落槽位 "
                       "包裹[3] 爆率为 100.10%，超过 100%"};
    QTest::newRow("multiplier lifts a rate above 100 %")
        << clean << cleanBoxes << 200.0
        << QStringList{"rate-above-100|1001|3|-1|0|怪物[1001:赤焰狼] 的第 1 个掉落槽位 "
                       "包裹[3] 爆率为 200.00%，超过 100%"};
    QList<int> slotsBeyond(21, -1);
    slotsBeyond.first() = slotsBeyond.last() = 3;
    QList<int> itemsBeyond(101, -1);
    itemsBeyond.first() = 7001;
    itemsBeyond.last() = 7002;
    QTest::newRow("slots beyond what the files keep")
        << QList<MonsterDropConfig>{monster(1001, 10, slotsBeyond)}
        << QList<DropBoxConfig>{box(3, 1000, itemsBeyond)} << 1.0
        << QStringList{"monster-slots-over-limit|1001|-1|-1|1|怪物[1001:赤焰狼] 有 1 个包裹在第 "
                       "20 个掉落槽位之后，文件只保存 20 个槽位，重新加载后会丢失",
                       "box-slots-over-limit|-1|3|-1|1|包裹[3] 有 1 个物品在第 100 "
                       "个物品槽位之后，文件只保存 100 个槽位，重新加载后会丢失"};
    QTest::newRow("ids far apart")
        << QList<MonsterDropConfig>{monster(1001, 10, {3, 2000000000, 5}),
                                    monster(2000000000, 1, {}), monster(2000000000, 1, {})}
        << QList<DropBoxConfig>{box(3, 1000), box(2000000000, 10), box(2000000000, 10)} << 1.0
        << QStringList{"missing-box|1001|5|-1|0|怪物[1001:赤焰狼] 的第 3 "
                       "个掉落槽位引用了不存在的包裹[5]",
                       "duplicate-box-id|-1|2000000000|-1|2|包裹ID 2000000000 出现了 2 "
                       "次（编辑器使用第一个，导出使用最后一个）",
                       "duplicate-monster-id|2000000000|-1|-1|2|怪物ID 2000000000 有 2 "
                       "条掉落记录（编辑时使用第一条）",
                       "unknown-monster|2000000000|-1|-1|0|怪物ID 2000000000 "
                       "有掉落记录，但怪物表中没有该怪物（怪物列表中不显示）",
                       "unknown-monster|2000000000|-1|-1|0|怪物ID 2000000000 "
                       "有掉落记录，但怪物表中没有该怪物（怪物列表中不显示）"};
    QTest::newRow("kinds in order")
        << QList<MonsterDropConfig>{monster(2002, 5000, {3}), monster(1001, 10, {9})}
        << QList<DropBoxConfig>{box(4, 1, {8888}), box(3, 1000, {7001})} << 1.0
        << QStringList{"missing-box|1001|9|-1|0|怪物[1001:赤焰狼] 的第 1 "
                       "个掉落槽位引用了不存在的包裹[9]",
                       "unused-box|-1|4|-1|0|包裹[4] 没有被任何怪物引用",
                       "unknown-item|-1|4|8888|0|物品ID 8888 不在任何物品表中（首次出现于包裹[4]）",
                       "unknown-monster|2002|-1|-1|0|怪物ID 2002 "
                       "有掉落记录，但怪物表中没有该怪物（怪物列表中不显示）",
                       "rate-above-100|2002|3|-1|0|怪物[2002] 的第 1 个掉落槽位 包裹[3] 爆率为 "
                       "500.00%，超过 100%"};
}

void ConfigCheckTest::findings()
{
    QFETCH(QList<MonsterDropConfig>, records);
    QFETCH(QList<DropBoxConfig>, boxList);
    QFETCH(double, multiplier);
    QFETCH(QStringList, expected);

    NameResolver &names = NameResolver::instance();
    names.clear();
    names.monsterNames.insert(1001, QStringLiteral("赤焰狼"));
    names.commonItemNames.insert(7001, QStringLiteral("药水"));
    names.equipNames.insert(7002, QStringLiteral("重剑"));
    names.gemNames.insert(7003, QStringLiteral("红宝石"));

    QStringList actual;
    for (const ConfigCheck::Finding &f :
         ConfigCheck::run(monsters(records), boxes(boxList), names, multiplier))
        actual << QStringLiteral("%1|%2|%3|%4|%5|%6")
                      .arg(ConfigCheck::kindName(f.kind), QString::number(f.monsterId),
                           QString::number(f.boxId), QString::number(f.itemId),
                           QString::number(f.count), f.message);
    QCOMPARE(actual, expected);
}

QTEST_APPLESS_MAIN(ConfigCheckTest)
#include "tst_configcheck.moc"
