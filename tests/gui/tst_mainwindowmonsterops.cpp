#include "EditTestSupport.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

using namespace EditTest;
using Kind = ScriptedPrompts::Kind;

namespace {

// The fixture: 1001 史莱姆 (200, personal, boxes 3 7), 1002 骷髅兵 (500, type 5, boxes 7 8 -1 9),
// 1003 火焰魔 without a record, 2001 (100, personal, box 3) not in the name table (so not listed).
// Boxes 3 (1000), 7 (0), 8 (2500).
const QStringList originalMonsters{"1001|200|0|3,7|20", "1002|500|5|7,8,-1,9|20",
                                   "2001|100|0|3|20"};

QStringList panel(const Harness &h)
{
    QStringList texts;
    for (const char *name : {"detailMonsterId", "detailMValue", "detailDropType", "detailBoxCount"})
        texts << h.child<QLabel>(QString::fromLatin1(name))->text();
    return texts;
}

// Every operation starts with monster 1001 current and its box 3 selected, plus `more`.
bool prepare(Harness &h, const QList<int> &more = {})
{
    fixClock(h);
    return selectMonsters(h, QList<int>{1001} + more) && selectBox(h, 3) &&
           h.window->selectedBox() && h.window->selectedBox()->boxId == 3;
}

} // namespace

class TestMainWindowMonsterOps : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void contextMenu_data()
    {
        QTest::addColumn<QList<int>>("ids");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QStringList>("entries");

        const QStringList all{"修改怪物价值", "修改怪物掉落类型", "清空怪物掉包", "复制怪物爆率",
                              "粘贴怪物爆率", "统一怪物价值",     "设置为有掉落", "设置为无掉落"};
        QStringList noPaste = all;
        noPaste[4] += " (off)";
        QStringList noCopy = all;
        noCopy[3] += " (off)";
        QStringList neither = noPaste;
        neither[3] += " (off)";
        QTest::newRow("one, clipboard text") << QList<int>{1001} << "x" << all;
        QTest::newRow("one, empty clipboard") << QList<int>{1001} << "" << noPaste;
        QTest::newRow("two, clipboard text") << QList<int>{1001, 1002} << "x" << noCopy;
        QTest::newRow("three, empty clipboard") << QList<int>{1001, 1002, 1003} << "" << neither;
        // A monster without a record still gets the menu.
        QTest::newRow("no record") << QList<int>{1003} << "MonsterDrop:1" << all;
    }

    void contextMenu()
    {
        QFETCH(QList<int>, ids);
        QFETCH(QString, clipboard);
        QFETCH(QStringList, entries);

        Harness h;
        QVERIFY(selectMonsters(h, ids));
        QGuiApplication::clipboard()->setText(clipboard);
        QTableView *view = h.view("monsterListView");
        Q_EMIT view->customContextMenuRequested(view->visualRect(h.monsterIndex(1003)).center());
        QCOMPARE(h.prompts->count(Kind::ExecMenu), 1);
        QCOMPARE(h.prompts->last()->text, QStringLiteral("怪物操作"));
        QCOMPARE(h.prompts->last()->extra, entries);
        // Dismissing the menu runs nothing.
        QCOMPARE(h.prompts->calls.size(), 1);
        QCOMPARE(monsterDocument(*h.window), originalMonsters);
    }

    void contextMenuWithoutSelection()
    {
        Harness h;
        h.window->showMonsterContextMenu(QPoint(5, 5));
        QVERIFY(h.prompts->calls.isEmpty());
    }

    // Each entry reaches its operation: the first prompt it shows tells which one ran.
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
        QTest::newRow("no drop") << "设置为无掉落"
                                 << "question|确认设置|确定要将 1 "
                                    "个有掉落包的怪物设置为无掉落吗？\n\n注意：此操作将删除这些怪物"
                                    "的掉落配置，不可恢复！";
    }

    void contextMenuRunsEntry()
    {
        QFETCH(QString, entry);
        QFETCH(QString, firstPrompt);
        Harness h;
        QVERIFY(prepare(h));
        QGuiApplication::clipboard()->setText(QStringLiteral("not a drop text"));
        h.prompts->menuAnswers << entry;
        h.window->showMonsterContextMenu(QPoint(1, 1));
        QVERIFY2(h.prompts->scriptErrors.isEmpty(), qPrintable(h.prompts->scriptErrors.join(';')));
        QVERIFY(h.prompts->calls.size() >= 2);
        QCOMPARE(h.prompts->transcript().at(1), firstPrompt);
        // Every answer was "cancel": nothing changed.
        QCOMPARE(monsterDocument(*h.window), originalMonsters);
        QVERIFY(logMessages(h).isEmpty());
        QCOMPARE(staleState(h), QString());
    }

    void noSelection_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::newRow("value") << "changeMonsterValue";
        QTest::newRow("type") << "changeDropType";
        QTest::newRow("clear") << "clearMonsterBoxes";
        QTest::newRow("has drop") << "setHasDrop";
        QTest::newRow("no drop") << "setNoDrop";
        QTest::newRow("unify") << "unifyMonsterValue";
        QTest::newRow("edit") << "onEditSelectedMonsters";
    }

    void noSelection()
    {
        QFETCH(QString, operation);
        Harness h;
        QVERIFY(QMetaObject::invokeMethod(h.window.get(), qPrintable(operation)));
        QCOMPARE(h.prompts->transcript(), QStringList{"information|提示|请先选择要编辑的怪物"});
        QCOMPARE(monsterDocument(*h.window), originalMonsters);
        QVERIFY(logMessages(h).isEmpty());
    }

    void changeMonsterValue()
    {
        Harness h;
        const auto testers = attachTesters(h);
        QVERIFY(prepare(h, {1002, 1003}));
        const QStringList boxesBefore = boxDocument(*h.window);

        // Cancel: nothing.
        h.window->changeMonsterValue();
        QCOMPARE(h.prompts->count(Kind::GetInt), 1);
        QCOMPARE(h.prompts->last()->extra, (QStringList{"200", "0", "999999", "1"}));
        QCOMPARE(monsterDocument(*h.window), originalMonsters);
        QVERIFY(logMessages(h).isEmpty());

        h.prompts->reset();
        h.prompts->intAnswers << 500;
        h.window->changeMonsterValue();
        QCOMPARE(h.prompts->transcript(),
                 (QStringList{"getInt|修改怪物价值|请输入新的怪物价值:",
                              "information|修改成功|已修改 3 个怪物的价值为 500"}));
        // 1002 already had 500 and 1003 has no record: one line.
        QCOMPARE(logMessages(h), QStringList{"怪物[1001:史莱姆]：怪物价值 200 → 500"});
        QCOMPARE(monsterDocument(*h.window),
                 (QStringList{"1001|500|0|3,7|20", "1002|500|5|7,8,-1,9|20", "2001|100|0|3|20"}));
        QCOMPARE(boxDocument(*h.window), boxesBefore);

        // The same rows stay selected, the box too, and the views show the new value.
        QCOMPARE(h.window->selectedMonsterIds(), (QList<int>{1001, 1002, 1003}));
        QCOMPARE(selectedRowIds(h), (QList<int>{1001, 1002, 1003}));
        QCOMPARE(staleState(h), QString());
        QVERIFY(h.window->selectedBox());
        QCOMPARE(h.window->selectedBox()->boxId, 3);
        QCOMPARE(panel(h), (QStringList{"1001", "500", "个人", "2"}));
        QCOMPARE(h.child<QLabel>("dropRateValue")->text(), QStringLiteral("50.0000%"));
        QCOMPARE(h.columnTexts("boxListView", 2), (QStringList{"50.00%", "N/A"}));
        QCOMPARE(h.view("itemTableView")->model()->index(0, 0).data().toString(),
                 QStringLiteral("50.00%"));
    }

    void changeDropType_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QStringList>("monsters");
        QTest::newRow("team") << "队伍掉落"
                              << QStringList{"怪物[1001:史莱姆]：掉落类型 个人掉落 → 队伍掉落",
                                             "怪物[1002:骷髅兵]：掉落类型 5 → 队伍掉落"}
                              << QStringList{"1001|200|1|3,7|20", "1002|500|1|7,8,-1,9|20",
                                             "2001|100|0|3|20"};
        QTest::newRow("personal") << "个人掉落"
                                  << QStringList{"怪物[1002:骷髅兵]：掉落类型 5 → 个人掉落"}
                                  << QStringList{"1001|200|0|3,7|20", "1002|500|0|7,8,-1,9|20",
                                                 "2001|100|0|3|20"};
    }

    void changeDropType()
    {
        QFETCH(QString, choice);
        QFETCH(QStringList, log);
        QFETCH(QStringList, monsters);
        Harness h;
        const auto testers = attachTesters(h);
        QVERIFY(prepare(h, {1002}));
        h.prompts->itemAnswers << choice;
        h.window->changeDropType();
        QCOMPARE(h.prompts->calls.size(), 2);
        QCOMPARE(h.prompts->calls[0].extra, (QStringList{"个人掉落", "队伍掉落"}));
        QCOMPARE(h.prompts->transcript().at(1),
                 QStringLiteral("information|修改成功|已修改 2 个怪物的掉落类型为 ") + choice);
        QCOMPARE(logMessages(h), log);
        QCOMPARE(monsterDocument(*h.window), monsters);
        QCOMPARE(staleState(h), QString());
        QCOMPARE(selectedRowIds(h), (QList<int>{1001, 1002}));
        QCOMPARE(panel(h)[2],
                 choice == "队伍掉落" ? QStringLiteral("队伍") : QStringLiteral("个人"));

        // Cancel changes nothing more.
        h.window->changeDropType();
        QCOMPARE(monsterDocument(*h.window), monsters);
        QCOMPARE(logMessages(h), log);
    }

    // Many lines go in as one batch: still one line each, blank-free, oldest dropped first.
    void batchLogKeepsTheNewestLines()
    {
        Harness h;
        QVERIFY(prepare(h, {1002}));
        h.window->appendOperationLog(QStringLiteral("earlier"));
        auto *log = h.child<QPlainTextEdit>("operationLogEdit");
        log->document()->setMaximumBlockCount(2);
        h.prompts->itemAnswers << QStringLiteral("队伍掉落");
        h.window->changeDropType();
        QCOMPARE(logMessages(h), (QStringList{"怪物[1001:史莱姆]：掉落类型 个人掉落 → 队伍掉落",
                                              "怪物[1002:骷髅兵]：掉落类型 5 → 队伍掉落"}));
        log->document()->setMaximumBlockCount(1);
        h.prompts->itemAnswers << QStringLiteral("个人掉落");
        h.window->changeDropType();
        QCOMPARE(logMessages(h), QStringList{"怪物[1002:骷髅兵]：掉落类型 队伍掉落 → 个人掉落"});
        QCOMPARE(log->document()->blockCount(), 1);
    }

    // The item input starts at the first selected monster's type; any type but 0 is a team drop.
    void dropTypeInputStartsAtFirstType()
    {
        Harness h;
        QVERIFY(selectMonsters(h, {1002, 1001}));
        h.window->changeDropType();
        QVERIFY(selectMonsters(h, {1001, 1002}));
        h.window->changeDropType();
        QVERIFY(selectMonsters(h, {1003}));
        h.window->changeDropType();
        QCOMPARE(h.prompts->itemCurrentIndexes, (QList<int>{1, 0, 0}));
        QCOMPARE(monsterDocument(*h.window), originalMonsters);
    }

    void clearMonsterBoxes()
    {
        Harness h;
        const auto testers = attachTesters(h);
        QVERIFY(prepare(h, {1002, 1003}));
        const QStringList boxesBefore = boxDocument(*h.window);
        const QString question =
            "question|确认清空|确定要清空 3 个怪物的掉包配置吗？此操作不可恢复！";

        h.prompts->questionAnswers << false;
        h.window->clearMonsterBoxes();
        QCOMPARE(h.prompts->transcript(), QStringList{question});
        QCOMPARE(monsterDocument(*h.window), originalMonsters);
        QVERIFY(logMessages(h).isEmpty());
        QCOMPARE(h.window->selectedBox()->boxId, 3);

        h.prompts->reset();
        h.prompts->questionAnswers << true;
        h.window->clearMonsterBoxes();
        QCOMPARE(h.prompts->transcript(),
                 (QStringList{question, "information|操作成功|已清空 3 个怪物的掉包配置"}));
        QCOMPARE(logMessages(h),
                 (QStringList{
                     "怪物[1001:史莱姆]：清空掉包配置（原有效掉包 2 个，已重置为 9 个空槽位）",
                     "怪物[1002:骷髅兵]：清空掉包配置（原有效掉包 3 个，已重置为 9 个空槽位）"}));
        QCOMPARE(monsterDocument(*h.window),
                 (QStringList{"1001|200|0||9", "1002|500|5||9", "2001|100|0|3|20"}));
        QCOMPARE(boxDocument(*h.window), boxesBefore);
        // The monster no longer lists box 3: no box is current, the form and item table empty.
        QVERIFY(!h.window->selectedBox());
        QCOMPARE(staleState(h), QString());
        QCOMPARE(h.view("boxListView")->model()->rowCount(), 0);
        QCOMPARE(h.view("summaryView")->model()->rowCount(), 0);
        QCOMPARE(panel(h), (QStringList{"1001", "200", "个人", "0"}));
        QCOMPARE(selectedRowIds(h), (QList<int>{1001, 1002, 1003}));
    }

    void setHasDrop()
    {
        Harness h;
        const auto testers = attachTesters(h);
        QVERIFY(prepare(h, {1002, 1003}));
        const QString question = "question|确认设置|确定要将 1 个没有掉落包的怪物设置为有掉落包吗？"
                                 "\n\n注意：此操作将为这些怪物添加一个默认的空掉落包配置。";

        h.prompts->questionAnswers << false;
        h.window->setHasDrop();
        QCOMPARE(h.prompts->transcript(), QStringList{question});
        QCOMPARE(monsterDocument(*h.window), originalMonsters);
        QVERIFY(logMessages(h).isEmpty());

        h.prompts->reset();
        h.prompts->questionAnswers << true;
        h.window->setHasDrop();
        QCOMPARE(h.prompts->transcript(),
                 (QStringList{question, "information|设置成功|已将 1 个怪物设置为有掉落包"}));
        QCOMPARE(logMessages(h),
                 QStringList{"怪物[1003:火焰魔]：设置为有掉落（创建掉落配置：mValue=100，类型="
                             "个人掉落，默认掉落包=1）"});
        QCOMPARE(monsterDocument(*h.window),
                 (QStringList{"1001|200|0|3,7|20", "1002|500|5|7,8,-1,9|20", "2001|100|0|3|20",
                              "1003|100|0|1|9"}));
        // Appending a record may have moved the records: the current monster is found again.
        QCOMPARE(staleState(h), QString());
        QVERIFY(h.window->selectedConfig());
        QCOMPARE(h.window->selectedBox()->boxId, 3);
        QCOMPARE(selectedRowIds(h), (QList<int>{1001, 1002, 1003}));

        // All selected have drops now.
        h.prompts->reset();
        h.window->setHasDrop();
        QCOMPARE(h.prompts->transcript(),
                 QStringList{"information|提示|选中的怪物都有掉落包，无需设置"});

        // The new record shows in the list and in the panel when selected.
        QVERIFY(h.selectMonster(1003));
        QCOMPARE(panel(h), (QStringList{"1003", "100", "个人", "1"}));
        QCOMPARE(staleState(h), QString());
    }

    void setHasDropFillsEmptyList()
    {
        Harness h;
        QVERIFY(prepare(h));
        h.prompts->questionAnswers << true;
        h.window->clearMonsterBoxes();
        h.prompts->reset();
        h.prompts->questionAnswers << true;
        h.window->setHasDrop();
        QCOMPARE(h.prompts->transcript().last(),
                 QStringLiteral("information|设置成功|已将 1 个怪物设置为有掉落包"));
        QCOMPARE(
            logMessages(h).last(),
            QStringLiteral("怪物[1001:史莱姆]：设置为有掉落（补齐默认掉落包：1 + 8个空槽位）"));
        QCOMPARE(monsterDocument(*h.window).first(), QStringLiteral("1001|200|0|1|9"));
        QCOMPARE(staleState(h), QString());
    }

    void setNoDrop()
    {
        Harness h;
        const auto testers = attachTesters(h);
        QVERIFY(prepare(h, {1002, 1003}));
        const QStringList boxesBefore = boxDocument(*h.window);
        const QString question = "question|确认设置|确定要将 2 个有掉落包的怪物设置为无掉落吗？\n\n"
                                 "注意：此操作将删除这些怪物的掉落配置，不可恢复！";

        h.prompts->questionAnswers << false;
        h.window->setNoDrop();
        QCOMPARE(h.prompts->transcript(), QStringList{question});
        QCOMPARE(monsterDocument(*h.window), originalMonsters);

        h.prompts->reset();
        h.prompts->questionAnswers << true;
        h.window->setNoDrop();
        QCOMPARE(h.prompts->transcript(),
                 (QStringList{question, "information|设置成功|已将 2 个怪物设置为无掉落"}));
        QCOMPARE(logMessages(h),
                 (QStringList{"怪物[1001:史莱姆]：设置为无掉落（已删除掉落配置）",
                              "怪物[1002:骷髅兵]：设置为无掉落（已删除掉落配置）"}));
        QCOMPARE(monsterDocument(*h.window), QStringList{"2001|100|0|3|20"});
        QCOMPARE(boxDocument(*h.window), boxesBefore);
        // The current record is gone: no configuration, no box, empty columns.
        QVERIFY(!h.window->selectedConfig());
        QVERIFY(!h.window->selectedBox());
        QCOMPARE(h.window->selectedMonsterId(), 1001);
        QCOMPARE(staleState(h), QString());
        QCOMPARE(panel(h), (QStringList{"1001", "无配置", "无配置", "0"}));
        QCOMPARE(h.view("boxListView")->model()->rowCount(), 0);
        QCOMPARE(h.view("summaryView")->model()->rowCount(), 0);

        h.prompts->reset();
        h.window->setNoDrop();
        QCOMPARE(h.prompts->transcript(),
                 QStringList{"information|提示|选中的怪物都没有掉落包，无需设置"});
    }

    // With the drop filter on, monsters that lose their drops leave the list; the selection
    // keeps what is still shown.
    void setNoDropWithDropFilter()
    {
        Harness h;
        h.child<QPushButton>("filterDropOnlyBtn")->setChecked(true);
        QVERIFY(prepare(h, {1002}));
        h.prompts->questionAnswers << true;
        h.window->setNoDrop();
        QCOMPARE(monsterDocument(*h.window), QStringList{"2001|100|0|3|20"});
        QVERIFY(!h.window->selectedConfig());
        QVERIFY(!h.window->selectedBox());
        QCOMPARE(staleState(h), QString());
        QVERIFY(h.window->selectedMonsterIds().isEmpty());
    }

    void editMonsters_data()
    {
        QTest::addColumn<QList<int>>("ids");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<bool>("modifyHasDrop");
        QTest::addColumn<bool>("hasDrop");
        QTest::addColumn<bool>("modifyType");
        QTest::addColumn<int>("dropType");
        QTest::addColumn<bool>("modifyValue");
        QTest::addColumn<int>("value");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QStringList>("monsters");

        QTest::newRow("cancelled") << QList<int>{1001} << false << false << true << false << 1
                                   << false << 900 << QStringList{} << originalMonsters;
        // Single mode: every field is applied.
        QTest::newRow("single") << QList<int>{1001} << true << false << true << false << 1 << false
                                << 900
                                << QStringList{"怪物[1001:史莱姆]：掉落类型 个人掉落 → 队伍掉落",
                                               "怪物[1001:史莱姆]：怪物价值 200 → 900"}
                                << QStringList{"1001|900|1|3,7|20", "1002|500|5|7,8,-1,9|20",
                                               "2001|100|0|3|20"};
        QTest::newRow("single disable")
            << QList<int>{1001} << true << false << false << false << 0 << false << 0
            << QStringList{"怪物[1001:史莱姆]：禁用掉落（已删除掉落配置）"}
            << QStringList{"1002|500|5|7,8,-1,9|20", "2001|100|0|3|20"};
        QTest::newRow("batch value only")
            << QList<int>{1001, 1002, 1003} << true << false << false << false << 1 << true << 700
            << QStringList{"怪物[1001:史莱姆]：怪物价值 200 → 700",
                           "怪物[1002:骷髅兵]：怪物价值 500 → 700"}
            << QStringList{"1001|700|0|3,7|20", "1002|700|5|7,8,-1,9|20", "2001|100|0|3|20"};
        QTest::newRow("batch enable")
            << QList<int>{1001, 1003} << true << true << true << true << 1 << false << 300
            << QStringList{"怪物[1001:史莱姆]：掉落类型 个人掉落 → 队伍掉落",
                           "怪物[1003:火焰魔]：启用掉落，类型=队伍掉落，怪物价值=300，掉包数=0"}
            << QStringList{"1001|200|1|3,7|20", "1002|500|5|7,8,-1,9|20", "2001|100|0|3|20",
                           "1003|300|1||0"};
    }

    void editMonsters()
    {
        QFETCH(QList<int>, ids);
        QFETCH(bool, accept);
        QFETCH(bool, modifyHasDrop);
        QFETCH(bool, hasDrop);
        QFETCH(bool, modifyType);
        QFETCH(int, dropType);
        QFETCH(bool, modifyValue);
        QFETCH(int, value);
        QFETCH(QStringList, log);
        QFETCH(QStringList, monsters);

        Harness h;
        const auto testers = attachTesters(h);
        QVERIFY(prepare(h, ids.mid(1)));
        int runs = 0;
        int seenCount = 0;
        std::optional<MonsterEdits::MonsterEditPrefill> seenPrefill;
        h.window->setMonsterEditRunner(
            [&](int count, const std::optional<MonsterEdits::MonsterEditPrefill> &prefill)
                -> std::optional<MonsterEdits::MonsterEditValues> {
                ++runs;
                seenCount = count;
                seenPrefill = prefill;
                if (!accept)
                    return std::nullopt;
                MonsterEdits::MonsterEditValues values;
                values.modifyHasDrop = modifyHasDrop;
                values.hasDrop = hasDrop;
                values.modifyDropType = modifyType;
                values.dropType = dropType;
                values.modifyMonsterValue = modifyValue;
                values.monsterValue = value;
                return values;
            });
        h.window->onEditSelectedMonsters();
        QCOMPARE(runs, 1);
        QCOMPARE(seenCount, int(ids.size()));
        QCOMPARE(seenPrefill.has_value(), ids.size() == 1);
        if (seenPrefill) {
            QVERIFY(seenPrefill->hasDrop);
            QCOMPARE(seenPrefill->dropType, 0);
            QCOMPARE(seenPrefill->monsterValue, 200);
        }
        QCOMPARE(logMessages(h), log);
        QCOMPARE(monsterDocument(*h.window), monsters);
        QCOMPARE(h.prompts->transcript(),
                 accept
                     ? QStringList{QStringLiteral("information|修改成功|已修改 %1 个怪物的掉落属性")
                                       .arg(ids.size())}
                     : QStringList{});
        QCOMPARE(staleState(h), QString());
    }

    void editMonstersSeam()
    {
        Harness h;
        QVERIFY(prepare(h));
        // The dialog does not exist yet: its menu entry is off and no runner does nothing.
        QAction *action = h.child<QAction>("actionEditMonster");
        QVERIFY(action);
        QVERIFY(!action->isEnabled());
        h.window->editMonsters({1001});
        QVERIFY(h.prompts->calls.isEmpty());
        QCOMPARE(monsterDocument(*h.window), originalMonsters);

        int runs = 0;
        h.window->setMonsterEditRunner([&](int, const auto &) {
            ++runs;
            return std::optional<MonsterEdits::MonsterEditValues>();
        });
        h.window->editMonsters({});
        QCOMPARE(runs, 0);
        // Single mode without a record is pre-filled with nothing.
        std::optional<MonsterEdits::MonsterEditPrefill> seen;
        h.window->setMonsterEditRunner([&](int, const auto &prefill) {
            seen = prefill;
            return std::optional<MonsterEdits::MonsterEditValues>();
        });
        h.window->editMonsters({1003});
        QVERIFY(seen);
        QVERIFY(!seen->hasDrop);
        QCOMPARE(seen->monsterValue, 0);
    }

    void selectedMonsterIds()
    {
        Harness h;
        QVERIFY(h.window->selectedMonsterIds().isEmpty());
        // Rows picked one by one, in an order unlike the list's: ranges come in selection order.
        QVERIFY(selectMonsters(h, {1003, 1001}));
        QCOMPARE(h.window->selectedMonsterIds(), (QList<int>{1003, 1001}));
        // Overlapping selections count each row once.
        QItemSelectionModel *selection = h.view("monsterListView")->selectionModel();
        selection->select(QItemSelection(h.monsterIndex(1001), h.monsterIndex(1003)),
                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QList<int> ids = h.window->selectedMonsterIds();
        std::sort(ids.begin(), ids.end());
        QCOMPARE(ids, (QList<int>{1001, 1002, 1003}));
        // A deselected row drops out.
        selection->select(h.monsterIndex(1002),
                          QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
        ids = h.window->selectedMonsterIds();
        std::sort(ids.begin(), ids.end());
        QCOMPARE(ids, (QList<int>{1001, 1003}));
    }
};

QTEST_MAIN(TestMainWindowMonsterOps)
#include "tst_mainwindowmonsterops.moc"
