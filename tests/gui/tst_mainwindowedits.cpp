#include "WindowTestSupport.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

// The window side of every edit: one row per slot that it asks, applies, refreshes and leaves
// nothing stale. What each edit does to the documents is tested in the core.

using namespace EditTest;
using Kind = ScriptedPrompts::Kind;

namespace {

// The fixture: 1001 史莱姆 (200, personal, boxes 3 7), 1002 骷髅兵 (500, type 5, boxes 7 8 -1 9),
// 1003 火焰魔 without a record, 2001 (100, box 3) not in the name table (so not listed).
// Boxes 3 (1000, items 5001 5002), 7 (0, 6001), 8 (2500, 5001 6001 7001).

// The panel's value, type and box count, then each box list row as id:weight:rate:items.
QString shown(const Harness &h)
{
    QStringList panel;
    for (const char *name : {"detailMValue", "detailDropType", "detailBoxCount"})
        panel << h.child<QLabel>(QString::fromLatin1(name))->text();
    QStringList rows;
    const QAbstractItemModel *boxes = h.view(QStringLiteral("boxListView"))->model();
    for (int row = 0; row < boxes->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < 4; ++column)
            cells << boxes->index(row, column).data().toString();
        rows << cells.join(QLatin1Char(':'));
    }
    return panel.join(QLatin1Char(' ')) + QStringLiteral(" | ") + rows.join(QLatin1Char(' '));
}

// Box lines that are new or changed, in document order, then "-id" for each box gone.
QStringList boxChanges(const QStringList &before, const QStringList &after)
{
    QStringList changes;
    for (const QString &line : after) {
        if (!before.contains(line))
            changes << line;
    }
    for (const QString &line : before) {
        const QString id = line.section(QLatin1Char('|'), 0, 0);
        if (after.filter(QRegularExpression(QStringLiteral("^") + id + QStringLiteral("\\|")))
                .isEmpty())
            changes << QStringLiteral("-") + id;
    }
    return changes;
}

QList<int> ids(const QString &text)
{
    QList<int> list;
    for (const QString &id : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
        list << id.toInt();
    return list;
}

std::optional<MonsterEdits::MonsterEditValues> editValues(const QString &text)
{
    const QList<int> v = ids(text);
    if (v.size() != 6)
        return std::nullopt;
    return MonsterEdits::MonsterEditValues{v[0] != 0, v[1] != 0, v[2] != 0, v[3], v[4] != 0, v[5]};
}

} // namespace

class TestMainWindowEdits : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void edits_data()
    {
        QTest::addColumn<QList<int>>("monsters"); // selected, the first current
        QTest::addColumn<int>("box");             // the selected box, 0 for none
        QTest::addColumn<QString>("slot");
        // yes, no, int:N, item:T, target:T (typed), clipboard:T, rows:N,.. (item rows),
        // ids:N,.. (items added), edit:cancel or edit:modifyHasDrop,hasDrop,modifyType,type,
        // modifyValue,value (the monster edit dialog)
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("prompts");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QStringList>("monstersAfter");
        QTest::addColumn<QStringList>("boxesChanged");
        QTest::addColumn<int>("boxAfter");
        QTest::addColumn<QString>("view");

        const QList<int> three{1001, 1002, 1003};
        QTest::newRow("monster value")
            << three << 3 << "changeMonsterValue" << QStringList{"int:500"}
            << QStringList{"getInt|修改怪物价值|请输入新的怪物价值:",
                           "information|修改成功|已修改 3 个怪物的价值为 500"}
            << QStringList{"怪物[1001:史莱姆]：怪物价值 200 → 500"}
            << QStringList{"1001|500|0|3,7|20", "1002|500|5|7,8,-1,9|20", "2001|100|0|3|20"}
            << QStringList{} << 3 << "500 个人 2 | 3:1000:50.00%:2 7:0:N/A:1";
        QTest::newRow("drop type")
            << QList<int>{1001, 1002} << 3 << "changeDropType" << QStringList{"item:队伍掉落"}
            << QStringList{"getItem|修改怪物掉落类型|请选择掉落类型:",
                           "information|修改成功|已修改 2 个怪物的掉落类型为 队伍掉落"}
            << QStringList{"怪物[1001:史莱姆]：掉落类型 个人掉落 → 队伍掉落",
                           "怪物[1002:骷髅兵]：掉落类型 5 → 队伍掉落"}
            << QStringList{"1001|200|1|3,7|20", "1002|500|1|7,8,-1,9|20", "2001|100|0|3|20"}
            << QStringList{} << 3 << "200 队伍 2 | 3:1000:20.00%:2 7:0:N/A:1";
        QTest::newRow("clear boxes")
            << three << 3 << "clearMonsterBoxes" << QStringList{"yes"}
            << QStringList{"question|确认清空|确定要清空 3 个怪物的掉包配置吗？此操作不可恢复！",
                           "information|操作成功|已清空 3 个怪物的掉包配置"}
            << QStringList{"怪物[1001:史莱姆]：清空掉包配置（原有效掉包 2 个，已重置为 9 "
                           "个空槽位）",
                           "怪物[1002:骷髅兵]：清空掉包配置（原有效掉包 3 个，已重置为 9 "
                           "个空槽位）"}
            << QStringList{"1001|200|0||9", "1002|500|5||9", "2001|100|0|3|20"} << QStringList{}
            << 0 << "200 个人 0 | ";
        QTest::newRow("has drop")
            << three << 3 << "setHasDrop" << QStringList{"yes"}
            << QStringList{"question|确认设置|确定要将 1 个没有掉落包的怪物设置为有掉落包吗？\n\n"
                           "注意：此操作将为这些怪物添加一个默认的空掉落包配置。",
                           "information|设置成功|已将 1 个怪物设置为有掉落包"}
            << QStringList{"怪物[1003:火焰魔]：设置为有掉落（创建掉落配置：mValue=100，类型=个人"
                           "掉落，默认掉落包=1）"}
            << WindowTest::originalMonsters + QStringList{"1003|100|0|1|9"} << QStringList{} << 3
            << "200 个人 2 | 3:1000:20.00%:2 7:0:N/A:1";
        QTest::newRow("no drop")
            << three << 3 << "setNoDrop" << QStringList{"yes"}
            << QStringList{"question|确认设置|确定要将 2 个有掉落包的怪物设置为无掉落吗？\n\n"
                           "注意：此操作将删除这些怪物的掉落配置，不可恢复！",
                           "information|设置成功|已将 2 个怪物设置为无掉落"}
            << QStringList{"怪物[1001:史莱姆]：设置为无掉落（已删除掉落配置）",
                           "怪物[1002:骷髅兵]：设置为无掉落（已删除掉落配置）"}
            << QStringList{"2001|100|0|3|20"} << QStringList{} << 0 << "无配置 无配置 0 | ";
        QTest::newRow("paste")
            << QList<int>{1002} << 8 << "pasteMonsterDrops"
            << QStringList{"clipboard:MonsterDrop:1001\nMValue:200\nDropType:0\nDropBoxes:3,7\n",
                           "yes"}
            << QStringList{"question|确认粘贴|确定要将怪物 1001 的掉落配置粘贴到 1 "
                           "个选中的怪物吗？",
                           "information|粘贴成功|已将怪物 1001 的掉落配置粘贴到 1 个怪物"}
            << QStringList{"粘贴爆率：怪物[1001:史莱姆] → 1 个怪物（mValue=200，类型=个人掉落，"
                           "掉包数=2）",
                           "怪物[1002:骷髅兵]：怪物价值 500 → 200",
                           "怪物[1002:骷髅兵]：掉落类型 5 → 个人掉落",
                           "怪物[1002:骷髅兵]：掉包数 3 → 2"}
            << QStringList{"1001|200|0|3,7|20", "1002|200|0|3,7|2", "2001|100|0|3|20"}
            << QStringList{} << 0 << "200 个人 2 | 3:1000:20.00%:2 7:0:N/A:1";
        // Box 3 is shared with 2001, so it is copied; 8 is 1002's alone and scaled in place.
        QTest::newRow("unify")
            << QList<int>{1002, 1001} << 8 << "unifyMonsterValue" << QStringList{"int:400"}
            << QStringList{"getInt|统一怪物价值|请输入统一的怪物价值:",
                           "information|操作成功|已统一 2 个怪物的价值为 400。\n直接调整包裹 1 "
                           "个，复制新包裹 1 个。\n有 0 个怪物因原价值为0无法保持爆率。"}
            << QStringList{"怪物[1001:史莱姆]：怪物价值 200 → 400（已尽量保持爆率不变）",
                           "怪物[1002:骷髅兵]：怪物价值 500 → 400（已尽量保持爆率不变）",
                           "统一怪物价值：目标=400，选择=2，直接调整包裹=1，复制新包裹=1，跳过("
                           "原价值为0)=0"}
            << QStringList{"1001|400|0|10,7|20", "1002|400|5|7,8,-1,9|20", "2001|100|0|3|20"}
            << QStringList{"8|2000|12|1|5001:1,6001:2,7001:1|100", "10|2000|-1|0|5001:1,5002:1|100"}
            << 8 << "400 队伍 3 | 7:0:N/A:1 8:2000:20.00%:3";
        // The current box is copied away: no box stays selected.
        QTest::newRow("unify copies the current box")
            << QList<int>{1001} << 3 << "unifyMonsterValue" << QStringList{"int:100"}
            << QStringList{"getInt|统一怪物价值|请输入统一的怪物价值:",
                           "information|操作成功|已统一 1 个怪物的价值为 100。\n直接调整包裹 0 "
                           "个，复制新包裹 1 个。\n有 0 个怪物因原价值为0无法保持爆率。"}
            << QStringList{"怪物[1001:史莱姆]：怪物价值 200 → 100（已尽量保持爆率不变）",
                           "统一怪物价值：目标=100，选择=1，直接调整包裹=0，复制新包裹=1，跳过("
                           "原价值为0)=0"}
            << QStringList{"1001|100|0|10,7|20", "1002|500|5|7,8,-1,9|20", "2001|100|0|3|20"}
            << QStringList{"10|500|-1|0|5001:1,5002:1|100"} << 0
            << "100 个人 2 | 10:500:20.00%:2 7:0:N/A:1";
        QTest::newRow("target rate")
            << QList<int>{1002} << 8 << "onApplyTargetDropRate" << QStringList{"target:10"}
            << QStringList{}
            << QStringList{"怪物[1002:骷髅兵]：应用目标爆率 10.0000%%（实际≈10.0000%%），包裹[8] "
                           "权值 2500 → 5000"}
            << WindowTest::originalMonsters << QStringList{"8|5000|12|1|5001:1,6001:2,7001:1|100"}
            << 8 << "500 队伍 3 | 7:0:N/A:1 8:5000:10.00%:3";
        QTest::newRow("target rate of a shared box: the copy is selected")
            << QList<int>{1001} << 3 << "onApplyTargetDropRate" << QStringList{"target:10"}
            << QStringList{}
            << QStringList{"怪物[1001:史莱姆]：应用目标爆率 10.0000%%（实际≈10.0000%%），包裹[3] "
                           "被 2 个怪物共用，已复制为包裹[10]（权值 1000 → 2000）"}
            << QStringList{"1001|200|0|10,7|20", "1002|500|5|7,8,-1,9|20", "2001|100|0|3|20"}
            << QStringList{"10|2000|-1|0|5001:1,5002:1|100"} << 10
            << "200 个人 2 | 10:2000:10.00%:2 7:0:N/A:1";
        QTest::newRow("target rate refused")
            << QList<int>{1002} << 8 << "onApplyTargetDropRate" << QStringList{"target:nan"}
            << QStringList{"warning|错误|计算出的包裹权值无效，请检查参数"} << QStringList{}
            << WindowTest::originalMonsters << QStringList{} << 8
            << "500 队伍 3 | 7:0:N/A:1 8:2500:20.00%:3";
        QTest::newRow("duplicate box")
            << QList<int>{1001, 1002} << 3 << "duplicateSelectedBox" << QStringList{}
            << QStringList{}
            << QStringList{"怪物[1001:史莱姆]：复制包裹[3] → 包裹[10]（权值=1000，物品槽位=100）"}
            << QStringList{"1001|200|0|3,7,10|20", "1002|500|5|7,8,-1,9|20", "2001|100|0|3|20"}
            << QStringList{"10|1000|-1|0|5001:1,5002:1|100"} << 10
            << "200 个人 3 | 3:1000:20.00%:2 7:0:N/A:1 10:1000:20.00%:2";
        QTest::newRow("delete box")
            << QList<int>{1002, 1001} << 8 << "deleteSelectedBox" << QStringList{} << QStringList{}
            << QStringList{"怪物[1002:骷髅兵]：删除包裹[8]（权值=2500，物品槽位=100）"}
            << QStringList{"1001|200|0|3,7|20", "1002|500|5|7,-1,9|19", "2001|100|0|3|20"}
            << QStringList{"-8"} << 0 << "500 队伍 2 | 7:0:N/A:1";
        QTest::newRow("delete items")
            << QList<int>{1001} << 3 << "deleteSelectedItems" << QStringList{"rows:1,60", "yes"}
            << QStringList{"question|确认删除|确定要删除选中的 1 个物品吗？",
                           "information|删除成功|已删除 1 个物品"}
            << QStringList{"怪物[1001:史莱姆]：包裹[3] 删除物品 1 个：5002"}
            << WindowTest::originalMonsters << QStringList{"3|1000|-1|0|5001:1|100"} << 3
            << "200 个人 2 | 3:1000:20.00%:1 7:0:N/A:1";
        // The dialog's three ways to apply in batch mode, and Cancel.
        QTest::newRow("edit: drops enabled")
            << three << 3 << "onEditSelectedMonsters" << QStringList{"edit:1,1,0,1,0,777"}
            << QStringList{"editMonster||3", "information|修改成功|已修改 3 个怪物的掉落属性"}
            << QStringList{"怪物[1003:火焰魔]：启用掉落，类型=队伍掉落，怪物价值=777，掉包数=0"}
            << WindowTest::originalMonsters + QStringList{"1003|777|1||0"} << QStringList{} << 3
            << "200 个人 2 | 3:1000:20.00%:2 7:0:N/A:1";
        QTest::newRow("edit: drops disabled")
            << QList<int>{1001, 1003} << 3 << "onEditSelectedMonsters"
            << QStringList{"edit:1,0,1,1,1,5"}
            << QStringList{"editMonster||2", "information|修改成功|已修改 2 个怪物的掉落属性"}
            << QStringList{"怪物[1001:史莱姆]：禁用掉落（已删除掉落配置）"}
            << QStringList{"1002|500|5|7,8,-1,9|20", "2001|100|0|3|20"} << QStringList{} << 0
            << "无配置 无配置 0 | ";
        QTest::newRow("edit: cancelled")
            << three << 3 << "onEditSelectedMonsters" << QStringList{"edit:cancel"}
            << QStringList{"editMonster||3"} << QStringList{} << WindowTest::originalMonsters
            << QStringList{} << 3 << "200 个人 2 | 3:1000:20.00%:2 7:0:N/A:1";
        QTest::newRow("add items")
            << QList<int>{1001} << 3 << "addItemsToCurrentBox" << QStringList{"ids:9,5001,5"}
            << QStringList{} << QStringList{"怪物[1001:史莱姆]：包裹[3] 添加物品 2 个：9, 5"}
            << WindowTest::originalMonsters
            << QStringList{"3|1000|-1|0|5001:1,5002:1,9:-1,5:-1|100"} << 3
            << "200 个人 2 | 3:1000:20.00%:4 7:0:N/A:1";
    }

    void edits()
    {
        QFETCH(QList<int>, monsters);
        QFETCH(int, box);
        QFETCH(QString, slot);
        QFETCH(QStringList, answers);
        QFETCH(int, boxAfter);
        Harness h;
        const auto testers = attachTesters(h);
        QVERIFY(prepare(h, monsters, box));
        const QStringList boxesBefore = boxDocument(*h.window);
        QList<int> added;
        for (const QString &answer : answers) {
            const QString kind = answer.section(QLatin1Char(':'), 0, 0);
            const QString value = answer.section(QLatin1Char(':'), 1);
            if (answer == QLatin1String("yes") || answer == QLatin1String("no"))
                h.prompts->questionAnswers << (answer == QLatin1String("yes"));
            else if (kind == QLatin1String("int"))
                h.prompts->intAnswers << value.toInt();
            else if (kind == QLatin1String("item"))
                h.prompts->itemAnswers << value;
            else if (kind == QLatin1String("target"))
                h.child<QLineEdit>(QStringLiteral("targetDropRateSpin"))->setText(value);
            else if (kind == QLatin1String("clipboard"))
                QGuiApplication::clipboard()->setText(value);
            else if (kind == QLatin1String("rows"))
                selectItemRows(h, ids(value));
            else if (kind == QLatin1String("edit"))
                h.prompts->monsterEditAnswers << editValues(value);
            else
                added = ids(value);
        }
        if (slot == QLatin1String("addItemsToCurrentBox"))
            h.window->addItemsToCurrentBox(added);
        else
            QVERIFY(QMetaObject::invokeMethod(h.window.get(), qPrintable(slot)));

        QTEST(h.prompts->transcript(), "prompts");
        QTEST(logMessages(h), "log");
        QTEST(monsterDocument(*h.window), "monstersAfter");
        QTEST(boxChanges(boxesBefore, boxDocument(*h.window)), "boxesChanged");
        QCOMPARE(staleState(h), QString());
        QCOMPARE(h.window->selectedBox() ? h.window->selectedBox()->boxId : 0, boxAfter);
        QTEST(shown(h), "view");
        // The monster rows stay selected.
        std::sort(monsters.begin(), monsters.end());
        QCOMPARE(selectedRowIds(h), monsters);
    }

    // Each monster operation without a selection says so and does nothing.
    void noSelection_data()
    {
        QTest::addColumn<QString>("operation");
        for (const char *slot :
             {"changeMonsterValue", "changeDropType", "clearMonsterBoxes", "setHasDrop",
              "setNoDrop", "unifyMonsterValue", "onEditSelectedMonsters"})
            QTest::newRow(slot) << QString::fromLatin1(slot);
    }

    void noSelection()
    {
        QFETCH(QString, operation);
        Harness h;
        QVERIFY(QMetaObject::invokeMethod(h.window.get(), qPrintable(operation)));
        QCOMPARE(h.prompts->transcript(), QStringList{"information|提示|请先选择要编辑的怪物"});
        QCOMPARE(monsterDocument(*h.window), WindowTest::originalMonsters);
        QVERIFY(logMessages(h).isEmpty());
    }

    void contextMenu_data()
    {
        QTest::addColumn<QList<int>>("ids");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QStringList>("entries");
        const QStringList all{"修改怪物价值", "修改怪物掉落类型", "清空怪物掉包",
                              "复制怪物爆率", "粘贴怪物爆率",     "统一怪物价值",
                              "设置为有掉落", "设置为无掉落",     "编辑怪物属性..."};
        QStringList neither = all;
        neither[3] += " (off)";
        neither[4] += " (off)";
        QTest::newRow("one, clipboard text") << QList<int>{1001} << "x" << all;
        // Copy needs exactly one monster, paste some clipboard text; no record is still a menu.
        QTest::newRow("two without a record, empty clipboard")
            << QList<int>{1003, 1002} << "" << neither;
    }

    void contextMenu()
    {
        QFETCH(QList<int>, ids);
        QFETCH(QString, clipboard);
        Harness h;
        QVERIFY(selectMonsters(h, ids));
        QGuiApplication::clipboard()->setText(clipboard);
        QTableView *view = h.view("monsterListView");
        Q_EMIT view->customContextMenuRequested(view->visualRect(h.monsterIndex(1003)).center());
        QCOMPARE(h.prompts->transcript(), QStringList{"execMenu||怪物操作"});
        QTEST(h.prompts->last()->extra, "entries");
        QCOMPARE(monsterDocument(*h.window), WindowTest::originalMonsters);
    }

    // Each entry reaches its operation (its first prompt tells which); cancelling changes nothing.
    void contextMenuRunsEntry_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("firstPrompt");
        QTest::newRow("value") << "修改怪物价值"
                               << "getInt|修改怪物价值|请输入新的怪物价值:";
        QTest::newRow("type") << "修改怪物掉落类型"
                              << "getItem|修改怪物掉落类型|请选择掉落类型:";
        QTest::newRow("clear")
            << "清空怪物掉包"
            << "question|确认清空|确定要清空 1 个怪物的掉包配置吗？此操作不可恢复！";
        QTest::newRow("copy") << "复制怪物爆率"
                              << "information|复制成功|怪物掉落配置已复制到剪贴板";
        QTest::newRow("paste") << "粘贴怪物爆率"
                               << "warning|粘贴失败|剪贴板中的数据格式不正确";
        QTest::newRow("unify") << "统一怪物价值"
                               << "getInt|统一怪物价值|请输入统一的怪物价值:";
        QTest::newRow("has drop") << "设置为有掉落"
                                  << "information|提示|选中的怪物都有掉落包，无需设置";
        QTest::newRow("edit") << "编辑怪物属性..."
                              << "editMonster||1";
        QTest::newRow("no drop") << "设置为无掉落"
                                 << "question|确认设置|确定要将 1 "
                                    "个有掉落包的怪物设置为无掉落吗？\n\n注意：此操作将删除这些怪物"
                                    "的掉落配置，不可恢复！";
    }

    void contextMenuRunsEntry()
    {
        QFETCH(QString, entry);
        Harness h;
        QVERIFY(prepare(h, {1001}, 3));
        QGuiApplication::clipboard()->setText(QStringLiteral("not a drop text"));
        h.prompts->menuAnswers << entry;
        h.window->showMonsterContextMenu(QPoint(1, 1));
        QVERIFY2(h.prompts->scriptErrors.isEmpty(), qPrintable(h.prompts->scriptErrors.join(';')));
        QTEST(h.prompts->transcript().value(1), "firstPrompt");
        QCOMPARE(monsterDocument(*h.window), WindowTest::originalMonsters);
        QVERIFY(logMessages(h).isEmpty());
        QCOMPARE(staleState(h), QString());
    }

    // Copy from one monster through the menu, paste onto another: its box 8 is gone then.
    void copyAndPasteThroughMenu()
    {
        Harness h;
        QVERIFY(prepare(h, {1001}, 3));
        h.prompts->menuAnswers << QStringLiteral("复制怪物爆率");
        h.window->showMonsterContextMenu(QPoint(1, 1));
        QVERIFY(QGuiApplication::clipboard()->text().startsWith(
            QStringLiteral("MonsterDrop:1001\nMValue:200\n")));
        QVERIFY(prepare(h, {1002}, 8));
        h.prompts->menuAnswers << QStringLiteral("粘贴怪物爆率");
        h.prompts->questionAnswers << true;
        h.window->showMonsterContextMenu(QPoint(1, 1));
        QVERIFY(h.prompts->scriptErrors.isEmpty());
        QCOMPARE(monsterDocument(*h.window),
                 (QStringList{"1001|200|0|3,7|20", "1002|200|0|3,7|20", "2001|100|0|3|20"}));
        QVERIFY(!h.window->selectedBox());
        QCOMPARE(staleState(h), QString());
    }

    // With the drop filter on, monsters that lose their drops leave the list and the selection.
    void setNoDropWithDropFilter()
    {
        Harness h;
        h.child<QPushButton>("filterDropOnlyBtn")->setChecked(true);
        QVERIFY(prepare(h, {1001, 1002}, 3));
        h.prompts->questionAnswers << true;
        h.window->setNoDrop();
        QCOMPARE(monsterDocument(*h.window), QStringList{"2001|100|0|3|20"});
        QVERIFY(!h.window->selectedConfig());
        QCOMPARE(staleState(h), QString());
        QVERIFY(h.window->selectedMonsterIds().isEmpty());
    }

    // A batch's lines go in as one append: one line each, the oldest dropped first.
    void batchLogKeepsTheNewestLines()
    {
        Harness h;
        QVERIFY(prepare(h, {1001, 1002}));
        h.window->appendOperationLog(QStringLiteral("earlier"));
        h.child<QPlainTextEdit>("operationLogEdit")->document()->setMaximumBlockCount(2);
        h.prompts->itemAnswers << QStringLiteral("队伍掉落");
        h.window->changeDropType();
        QCOMPARE(logMessages(h), (QStringList{"怪物[1001:史莱姆]：掉落类型 个人掉落 → 队伍掉落",
                                              "怪物[1002:骷髅兵]：掉落类型 5 → 队伍掉落"}));
    }

    // The item input starts at the first selected monster's type; any type but 0 is a team drop.
    void dropTypeInputStartsAtFirstType()
    {
        Harness h;
        for (const QList<int> &ids : {QList<int>{1002, 1001}, {1001, 1002}, {1003}}) {
            QVERIFY(selectMonsters(h, ids));
            h.window->changeDropType();
        }
        QCOMPARE(h.prompts->itemCurrentIndexes, (QList<int>{1, 0, 0}));
    }

    // Ctrl+E edits the selection; single mode is pre-filled from the record, or with nothing
    // when there is none.
    void editMonsterPrefill()
    {
        Harness h;
        auto *action = h.window->findChild<QAction *>(QStringLiteral("actionEditMonster"));
        QVERIFY(selectMonsters(h, {1003}));
        QVERIFY(action->isEnabled());
        QCOMPARE(action->shortcut(), QKeySequence(QStringLiteral("Ctrl+E")));
        action->trigger();
        h.window->editMonsters({1002});
        h.window->editMonsters({1002, 1003});
        QCOMPARE(h.prompts->transcript(),
                 (QStringList{"editMonster||1", "editMonster||1", "editMonster||2"}));
        QCOMPARE(h.prompts->calls.at(0).extra, (QStringList{"0", "0", "0"}));
        QCOMPARE(h.prompts->calls.at(1).extra, (QStringList{"1", "5", "500"}));
        QVERIFY(h.prompts->calls.at(2).extra.isEmpty());
    }

    void selectedMonsterIds()
    {
        Harness h;
        QVERIFY(h.window->selectedMonsterIds().isEmpty());
        // Picked one by one, in an order unlike the list's: selection order.
        QVERIFY(selectMonsters(h, {1003, 1001}));
        QCOMPARE(h.window->selectedMonsterIds(), (QList<int>{1003, 1001}));
        // Overlapping selections count each row once.
        h.view("monsterListView")
            ->selectionModel()
            ->select(QItemSelection(h.monsterIndex(1001), h.monsterIndex(1003)),
                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QList<int> ids = h.window->selectedMonsterIds();
        std::sort(ids.begin(), ids.end());
        QCOMPARE(ids, (QList<int>{1001, 1002, 1003}));
    }

    // The apply button is wired; the shown rate applied again keeps the weight but still logs.
    void targetThroughButton()
    {
        Harness h;
        QVERIFY(h.selectMonster(1002));
        QVERIFY(!h.child<QPushButton>("applyDropRateButton")->isEnabled());
        QVERIFY(prepare(h, {1002}, 8));
        QCOMPARE(h.child<QLineEdit>("targetDropRateSpin")->text(), QStringLiteral("20.0000"));
        h.child<QPushButton>("applyDropRateButton")->click();
        h.child<QPushButton>("applyDropRateButton")->click();
        const QString line = "怪物[1002:骷髅兵]：应用目标爆率 20.0000%%（实际≈20.0000%%），包裹[8] "
                             "权值 2500 → 2500";
        QCOMPARE(logMessages(h), (QStringList{line, line}));
    }
};

QTEST_MAIN(TestMainWindowEdits)
#include "tst_mainwindowedits.moc"
