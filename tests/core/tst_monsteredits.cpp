#include "EditFixtures.h"
#include "data/NameResolver.h"
#include "edit/MonsterEdits.h"

#include <QtTest>

using namespace EditFixtures;
using MonsterEdits::MonsterEditValues;

Q_DECLARE_METATYPE(MonsterEdits::MonsterEditValues)

namespace {

const QList<int> nineEmpty(9, -1);
const QList<int> defaultBoxes{1, -1, -1, -1, -1, -1, -1, -1, -1};

// The shared columns of every operation's rows.
void addColumns()
{
    QTest::addColumn<QList<MonsterDropConfig>>("records");
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<QList<MonsterDropConfig>>("recordsAfter");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QString>("noticeTitle");
    QTest::addColumn<QString>("noticeText");
    QTest::addColumn<bool>("resized");
}

void checkResult(const MonsterDropData &data, const EditResult &result)
{
    QFETCH(QList<MonsterDropConfig>, recordsAfter);
    QFETCH(QStringList, log);
    QFETCH(QString, noticeTitle);
    QFETCH(QString, noticeText);
    QFETCH(bool, resized);
    QCOMPARE(result.logLines, log);
    QCOMPARE(describe(data), describe(monsters(recordsAfter)));
    QCOMPARE(result.notice.title, noticeTitle);
    QCOMPARE(result.notice.text, noticeText);
    QCOMPARE(result.notice.kind, NoticeKind::Information);
    QCOMPARE(result.recordsAddedOrRemoved, resized);
    QVERIFY(!result.boxesAddedOrRemoved);
}

} // namespace

class MonsterEditsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void dropTypeTexts_data();
    void dropTypeTexts();
    void initialValues();
    void changeMonsterValue_data();
    void changeMonsterValue();
    void changeDropType_data();
    void changeDropType();
    void clearMonsterBoxes_data();
    void clearMonsterBoxes();
    void setHasDrop_data();
    void setHasDrop();
    void setNoDrop_data();
    void setNoDrop();
    void applyMonsterEdit_data();
    void applyMonsterEdit();
};

void MonsterEditsTest::init()
{
    NameResolver::instance().clear();
}

void MonsterEditsTest::dropTypeTexts_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::newRow("personal") << 0 << "个人掉落";
    QTest::newRow("team") << 1 << "队伍掉落";
    QTest::newRow("other") << 2 << "2";
    QTest::newRow("negative") << -1 << "-1";
}

void MonsterEditsTest::dropTypeTexts()
{
    QFETCH(int, type);
    QFETCH(QString, text);
    QCOMPARE(MonsterEdits::dropTypeText(type), text);
    QCOMPARE(MonsterEdits::dropTypeChoices(),
             QStringList({QStringLiteral("个人掉落"), QStringLiteral("队伍掉落")}));
    QCOMPARE(MonsterEdits::dropTypeFromChoice(QStringLiteral("个人掉落")), 0);
    QCOMPARE(MonsterEdits::dropTypeFromChoice(QStringLiteral("队伍掉落")), 1);
    QCOMPARE(MonsterEdits::dropTypeFromChoice(QStringLiteral("个人掉落 ")), 1);
}

void MonsterEditsTest::initialValues()
{
    const MonsterDropData data = monsters({monster(1001, 100, {5}, 1), monster(1002, 7, {})});
    QCOMPARE(MonsterEdits::initialMonsterValue(data, {1002, 1001}), 7);
    QCOMPARE(MonsterEdits::initialMonsterValue(data, {4242, 1001}), 0);
    QCOMPARE(MonsterEdits::initialMonsterValue(data, {}), 0);
    QCOMPARE(MonsterEdits::initialDropType(data, {1001}), 1);
    QCOMPARE(MonsterEdits::initialDropType(data, {4242, 1001}), 0);
    const MonsterEdits::MonsterEditPrefill withRecord = MonsterEdits::editPrefill(data, 1001);
    QVERIFY(withRecord.hasDrop);
    QCOMPARE(withRecord.dropType, 1);
    QCOMPARE(withRecord.monsterValue, 100);
    const MonsterEdits::MonsterEditPrefill without = MonsterEdits::editPrefill(data, 4242);
    QVERIFY(!without.hasDrop);
    QCOMPARE(without.dropType, 0);
    QCOMPARE(without.monsterValue, 0);
}

void MonsterEditsTest::changeMonsterValue_data()
{
    addColumns();
    QTest::addColumn<int>("value");
    const QList<MonsterDropConfig> records{monster(1001, 100, {5}), monster(1002, 300, {}),
                                           monster(1003, 50, {6})};
    QList<MonsterDropConfig> after = records;
    after[0].mValue = 300;
    QTest::newRow("three selected, one without record, one unchanged")
        << records << QList<int>{1001, 4242, 1002} << after
        << QStringList{"怪物[1001]：怪物价值 100 → 300"} << "修改成功"
        << "已修改 3 个怪物的价值为 300" << false << 300;
    QList<MonsterDropConfig> zero = records;
    zero[1].mValue = 0;
    zero[2].mValue = 0;
    QTest::newRow("value 0, repeated id handled once")
        << records << QList<int>{1003, 1002, 1003} << zero
        << QStringList{"怪物[1003]：怪物价值 50 → 0", "怪物[1002]：怪物价值 300 → 0"} << "修改成功"
        << "已修改 3 个怪物的价值为 0" << false << 0;
    QTest::newRow("nothing selected")
        << records << QList<int>{} << records << QStringList{} << "提示"
        << "请先选择要编辑的怪物" << false << 5;
}

void MonsterEditsTest::changeMonsterValue()
{
    QFETCH(QList<MonsterDropConfig>, records);
    QFETCH(QList<int>, ids);
    QFETCH(int, value);
    MonsterDropData data = monsters(records);
    const EditResult result = MonsterEdits::changeMonsterValue(data, ids, value);
    QCOMPARE(result.applied, !ids.isEmpty());
    checkResult(data, result);
}

void MonsterEditsTest::changeDropType_data()
{
    addColumns();
    QTest::addColumn<QString>("choice");
    const QList<MonsterDropConfig> records{monster(1001, 100, {5}, 0), monster(1002, 300, {}, 1),
                                           monster(1003, 50, {6}, 5)};
    QList<MonsterDropConfig> team = records;
    team[0].dropType = 1;
    team[2].dropType = 1;
    QTest::newRow("to team") << records << QList<int>{1001, 1002, 1003, 4242} << team
                             << QStringList{"怪物[1001]：掉落类型 个人掉落 → 队伍掉落",
                                            "怪物[1003]：掉落类型 5 → 队伍掉落"}
                             << "修改成功"
                             << "已修改 4 个怪物的掉落类型为 队伍掉落" << false << "队伍掉落";
    QList<MonsterDropConfig> personal = records;
    personal[1].dropType = 0;
    QTest::newRow("to personal") << records << QList<int>{1002, 1001} << personal
                                 << QStringList{"怪物[1002]：掉落类型 队伍掉落 → 个人掉落"}
                                 << "修改成功"
                                 << "已修改 2 个怪物的掉落类型为 个人掉落" << false << "个人掉落";
    QTest::newRow("already that type: no line, still the notice")
        << records << QList<int>{1001} << records << QStringList{} << "修改成功"
        << "已修改 1 个怪物的掉落类型为 个人掉落" << false << "个人掉落";
}

void MonsterEditsTest::changeDropType()
{
    QFETCH(QList<MonsterDropConfig>, records);
    QFETCH(QList<int>, ids);
    QFETCH(QString, choice);
    MonsterDropData data = monsters(records);
    const EditResult result = MonsterEdits::changeDropType(data, ids, choice);
    QVERIFY(result.applied);
    checkResult(data, result);
}

void MonsterEditsTest::clearMonsterBoxes_data()
{
    addColumns();
    const QList<MonsterDropConfig> records{monster(1001, 100, {5, 6, -1}),
                                           monster(1002, 3, {0, -5}), monster(1003, 50, {7})};
    QList<MonsterDropConfig> after = records;
    after[0].dropBoxIds = nineEmpty;
    after[1].dropBoxIds = nineEmpty;
    QTest::newRow("clears, logs also an old count of 0")
        << records << QList<int>{1001, 4242, 1002} << after
        << QStringList{"怪物[1001]：清空掉包配置（原有效掉包 2 个，已重置为 9 个空槽位）",
                       "怪物[1002]：清空掉包配置（原有效掉包 0 个，已重置为 9 个空槽位）"}
        << "操作成功"
        << "已清空 3 个怪物的掉包配置" << false;
}

void MonsterEditsTest::clearMonsterBoxes()
{
    QFETCH(QList<MonsterDropConfig>, records);
    QFETCH(QList<int>, ids);
    const EditQuestion question = MonsterEdits::clearBoxesQuestion(ids);
    QCOMPARE(question.title, QStringLiteral("确认清空"));
    QCOMPARE(question.text,
             QStringLiteral("确定要清空 %1 个怪物的掉包配置吗？此操作不可恢复！").arg(ids.size()));
    MonsterDropData data = monsters(records);
    const EditResult result = MonsterEdits::clearMonsterBoxes(data, ids);
    QVERIFY(result.applied);
    checkResult(data, result);
}

void MonsterEditsTest::setHasDrop_data()
{
    addColumns();
    QTest::addColumn<int>("eligible");
    QTest::addColumn<QString>("questionText");
    const QList<MonsterDropConfig> records{monster(1001, 70, {-1, -1}, 1), monster(1002, 3, {5}),
                                           monster(1003, 50, {})};
    QList<MonsterDropConfig> after = records;
    after[0].dropBoxIds = defaultBoxes;
    after[2].dropBoxIds = defaultBoxes;
    MonsterDropConfig created = monster(4242, 100, defaultBoxes, 0);
    after << created;
    QTest::newRow("creates, fills, skips")
        << records << QList<int>{1001, 1002, 4242, 1003, 4242} << after
        << QStringList{"怪物[1001]：设置为有掉落（补齐默认掉落包：1 + 8个空槽位）",
                       "怪物[4242]：设置为有掉落（创建掉落配置：mValue=100，类型="
                       "个人掉落，默认掉落包=1）",
                       "怪物[1003]：设置为有掉落（补齐默认掉落包：1 + 8个空槽位）"}
        << "设置成功"
        << "已将 3 个怪物设置为有掉落包" << true << 3
        << "确定要将 3 "
           "个没有掉落包的怪物设置为有掉落包吗？\n\n注意：此操作将为这些怪物添加一个默认的空掉落包"
           "配置。";
    QList<MonsterDropConfig> filled = records;
    filled[0].dropBoxIds = defaultBoxes;
    QTest::newRow("no record created: nothing appended")
        << records << QList<int>{1001} << filled
        << QStringList{"怪物[1001]：设置为有掉落（补齐默认掉落包：1 + 8个空槽位）"} << "设置成功"
        << "已将 1 个怪物设置为有掉落包" << false << 1
        << "确定要将 1 "
           "个没有掉落包的怪物设置为有掉落包吗？\n\n注意：此操作将为这些怪物添加一个默认的空掉落包"
           "配置。";
    QTest::newRow("all have drops")
        << records << QList<int>{1002} << records << QStringList{} << "提示"
        << "选中的怪物都有掉落包，无需设置" << false << 0 << "";
    QTest::newRow("nothing selected")
        << records << QList<int>{} << records << QStringList{} << "提示"
        << "请先选择要编辑的怪物" << false << 0 << "";
}

void MonsterEditsTest::setHasDrop()
{
    QFETCH(QList<MonsterDropConfig>, records);
    QFETCH(QList<int>, ids);
    QFETCH(int, eligible);
    QFETCH(QString, questionText);
    MonsterDropData data = monsters(records);
    const MonsterEdits::Eligibility eligibility = MonsterEdits::setHasDropEligibility(data, ids);
    QCOMPARE(eligibility.eligibleCount, eligible);
    QCOMPARE(eligibility.question.text, questionText);
    QCOMPARE(eligibility.nothingToDo.isNone(), eligible > 0);
    if (eligible > 0)
        QCOMPARE(eligibility.question.title, QStringLiteral("确认设置"));
    const EditResult result = MonsterEdits::setHasDrop(data, ids);
    QCOMPARE(result.applied, eligible > 0);
    checkResult(data, result);
}

void MonsterEditsTest::setNoDrop_data()
{
    addColumns();
    QTest::addColumn<int>("eligible");
    QTest::addColumn<QString>("questionText");
    const QList<MonsterDropConfig> records{monster(1001, 70, {-1, 5}), monster(1002, 3, {-1}),
                                           monster(1003, 50, {6}), monster(1004, 9, {7}),
                                           monster(1001, 1, {8})};
    QTest::newRow("removes only records with a valid box, in one pass")
        << records << QList<int>{1003, 1002, 1001, 4242, 1003}
        << QList<MonsterDropConfig>{records.at(1), records.at(3), records.at(4)}
        << QStringList{"怪物[1003]：设置为无掉落（已删除掉落配置）",
                       "怪物[1001]：设置为无掉落（已删除掉落配置）"}
        << "设置成功"
        << "已将 2 个怪物设置为无掉落" << true << 2
        << "确定要将 2 "
           "个有掉落包的怪物设置为无掉落吗？\n\n注意：此操作将删除这些怪物的掉落配置，不可恢复！";
    QTest::newRow("none has drops")
        << records << QList<int>{1002, 4242} << records << QStringList{} << "提示"
        << "选中的怪物都没有掉落包，无需设置" << false << 0 << "";
    QTest::newRow("nothing selected")
        << records << QList<int>{} << records << QStringList{} << "提示"
        << "请先选择要编辑的怪物" << false << 0 << "";
}

void MonsterEditsTest::setNoDrop()
{
    QFETCH(QList<MonsterDropConfig>, records);
    QFETCH(QList<int>, ids);
    QFETCH(int, eligible);
    QFETCH(QString, questionText);
    MonsterDropData data = monsters(records);
    const MonsterEdits::Eligibility eligibility = MonsterEdits::setNoDropEligibility(data, ids);
    QCOMPARE(eligibility.eligibleCount, eligible);
    QCOMPARE(eligibility.question.text, questionText);
    QCOMPARE(eligibility.nothingToDo.isNone(), eligible > 0);
    const EditResult result = MonsterEdits::setNoDrop(data, ids);
    QCOMPARE(result.applied, eligible > 0);
    checkResult(data, result);
}

void MonsterEditsTest::applyMonsterEdit_data()
{
    addColumns();
    QTest::addColumn<MonsterEditValues>("values");
    const QList<MonsterDropConfig> records{monster(1001, 100, {5, -1}, 0), monster(1002, 30, {}, 1),
                                           monster(1003, 8, {6, 7})};
    const auto values = [](bool modifyHasDrop, bool hasDrop, bool modifyType, int type,
                           bool modifyValue, int value) {
        return MonsterEditValues{modifyHasDrop, hasDrop, modifyType, type, modifyValue, value};
    };

    QList<MonsterDropConfig> created = records;
    created << monster(4242, 250, {}, 1);
    QTest::newRow("single without record, has drop: created with no boxes")
        << records << QList<int>{4242} << created
        << QStringList{"怪物[4242]：启用掉落，类型=队伍掉落，怪物价值=250，掉包数=0"} << "修改成功"
        << "已修改 1 个怪物的掉落属性" << true << values(false, true, false, 1, false, 250);
    QTest::newRow("single without record, no drop: nothing")
        << records << QList<int>{4242} << records << QStringList{} << "修改成功"
        << "已修改 1 个怪物的掉落属性" << false << values(false, false, false, 0, false, 0);
    QList<MonsterDropConfig> singleChanged = records;
    singleChanged[0].dropType = 1;
    singleChanged[0].mValue = 120;
    QTest::newRow("single with record: flags count as set, type line first")
        << records << QList<int>{1001} << singleChanged
        << QStringList{"怪物[1001]：掉落类型 个人掉落 → 队伍掉落", "怪物[1001]：怪物价值 100 → 120"}
        << "修改成功"
        << "已修改 1 个怪物的掉落属性" << false << values(false, true, false, 1, false, 120);
    QTest::newRow("single with record, no drop: removed")
        << records << QList<int>{1002} << QList<MonsterDropConfig>{records.at(0), records.at(2)}
        << QStringList{"怪物[1002]：禁用掉落（已删除掉落配置）"} << "修改成功"
        << "已修改 1 个怪物的掉落属性" << true << values(false, false, false, 0, false, 0);
    QList<MonsterDropConfig> valueOnly = records;
    valueOnly[0].mValue = 77;
    valueOnly[2].mValue = 77;
    QTest::newRow("batch, value only: no record created or removed")
        << records << QList<int>{1001, 4242, 1003} << valueOnly
        << QStringList{"怪物[1001]：怪物价值 100 → 77", "怪物[1003]：怪物价值 8 → 77"} << "修改成功"
        << "已修改 3 个怪物的掉落属性" << false << values(false, false, false, 1, true, 77);
    QList<MonsterDropConfig> batchCreate = records;
    batchCreate << monster(4242, 500, {}, 1);
    QTest::newRow("batch has drop: creates with dialog values, keeps unticked fields")
        << records << QList<int>{1002, 4242} << batchCreate
        << QStringList{"怪物[4242]：启用掉落，类型=队伍掉落，怪物价值=500，掉包数=0"} << "修改成功"
        << "已修改 2 个怪物的掉落属性" << true << values(true, true, false, 1, false, 500);
    QTest::newRow("batch no drop: removes")
        << records << QList<int>{1001, 4242, 1003} << QList<MonsterDropConfig>{records.at(1)}
        << QStringList{"怪物[1001]：禁用掉落（已删除掉落配置）",
                       "怪物[1003]：禁用掉落（已删除掉落配置）"}
        << "修改成功"
        << "已修改 3 个怪物的掉落属性" << true << values(true, false, true, 1, true, 9);
    QTest::newRow("batch with nothing ticked changes nothing")
        << records << QList<int>{1001, 1002} << records << QStringList{} << "修改成功"
        << "已修改 2 个怪物的掉落属性" << false << values(false, true, false, 1, false, 9);
}

void MonsterEditsTest::applyMonsterEdit()
{
    QFETCH(QList<MonsterDropConfig>, records);
    QFETCH(QList<int>, ids);
    QFETCH(MonsterEditValues, values);
    MonsterDropData data = monsters(records);
    const EditResult result = MonsterEdits::applyMonsterEdit(data, ids, values);
    QVERIFY(result.applied);
    checkResult(data, result);

    MonsterDropData untouched = monsters(records);
    const EditResult empty = MonsterEdits::applyMonsterEdit(untouched, {}, values);
    QVERIFY(!empty.applied);
    QVERIFY(empty.logLines.isEmpty());
    QCOMPARE(describe(untouched), describe(monsters(records)));
}

QTEST_APPLESS_MAIN(MonsterEditsTest)
#include "tst_monsteredits.moc"
