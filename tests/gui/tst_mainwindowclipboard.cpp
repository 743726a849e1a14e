#include "EditTestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

using namespace EditTest;

namespace {

const QStringList originalMonsters{"1001|200|0|3,7|20", "1002|500|5|7,8,-1,9|20",
                                   "2001|100|0|3|20"};

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

bool prepare(Harness &h, const QList<int> &more = {})
{
    fixClock(h);
    return selectMonsters(h, QList<int>{1001} + more) && selectBox(h, 3);
}

} // namespace

class TestMainWindowClipboard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void copy_data()
    {
        QTest::addColumn<QList<int>>("ids");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("clipboard");

        QString slots1002 = "7,8,-1,9";
        for (int i = 4; i < 20; ++i)
            slots1002 += ",-1";
        QTest::newRow("one monster")
            << QList<int>{1002} << "information|复制成功|怪物掉落配置已复制到剪贴板"
            << "MonsterDrop:1002\nMValue:500\nDropType:5\nDropBoxes:" + slots1002 + "\n";
        QTest::newRow("two monsters")
            << QList<int>{1001, 1002} << "information|提示|请选择一个怪物进行复制"
            << "untouched";
        QTest::newRow("no record") << QList<int>{1003} << "information|提示|选中的怪物没有掉落配置"
                                   << "untouched";
    }

    void copy()
    {
        QFETCH(QList<int>, ids);
        QFETCH(QString, prompt);
        QFETCH(QString, clipboard);
        Harness h;
        fixClock(h);
        QVERIFY(selectMonsters(h, ids));
        QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
        h.window->copyMonsterDrops();
        QCOMPARE(h.prompts->transcript(), QStringList{prompt});
        QCOMPARE(clipboardText(), clipboard);
        // Copying changes nothing and logs nothing.
        QCOMPARE(monsterDocument(*h.window), originalMonsters);
        QVERIFY(logMessages(h).isEmpty());
    }

    void copyWithoutSelection()
    {
        Harness h;
        h.window->copyMonsterDrops();
        QCOMPARE(h.prompts->transcript(), QStringList{"information|提示|请选择一个怪物进行复制"});
    }

    void menuStates()
    {
        Harness h;
        QVERIFY(prepare(h, {1002}));
        QGuiApplication::clipboard()->clear();
        h.window->showMonsterContextMenu(QPoint(1, 1));
        const QStringList entries = h.prompts->last()->extra;
        QVERIFY(entries.contains(QStringLiteral("复制怪物爆率 (off)")));
        QVERIFY(entries.contains(QStringLiteral("粘贴怪物爆率 (off)")));

        QGuiApplication::clipboard()->setText(QStringLiteral("x"));
        QVERIFY(prepare(h));
        h.window->showMonsterContextMenu(QPoint(1, 1));
        QVERIFY(h.prompts->last()->extra.contains(QStringLiteral("复制怪物爆率")));
        QVERIFY(h.prompts->last()->extra.contains(QStringLiteral("粘贴怪物爆率")));
    }

    void pasteRefused_data()
    {
        QTest::addColumn<QList<int>>("ids");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("prompt");
        QTest::newRow("no selection")
            << QList<int>{} << "MonsterDrop:1\nMValue:1\nDropType:0\nDropBoxes:1\n"
            << "information|提示|请先选择要粘贴的怪物";
        QTest::newRow("wrong format")
            << QList<int>{1001} << "monsterdrop:1\nMValue:1\nDropType:0\nDropBoxes:1"
            << "warning|粘贴失败|剪贴板中的数据格式不正确";
        QTest::newRow("empty") << QList<int>{1001} << ""
                               << "warning|粘贴失败|剪贴板中的数据格式不正确";
        QTest::newRow("first line only") << QList<int>{1001} << "MonsterDrop:1001"
                                         << "warning|粘贴失败|剪贴板中的数据不完整";
        QTest::newRow("three lines") << QList<int>{1001} << "MonsterDrop:1\nMValue:1\nDropType:0"
                                     << "warning|粘贴失败|剪贴板中的数据不完整";
    }

    void pasteRefused()
    {
        QFETCH(QList<int>, ids);
        QFETCH(QString, clipboard);
        QFETCH(QString, prompt);
        Harness h;
        fixClock(h);
        if (!ids.isEmpty())
            QVERIFY(prepare(h, ids.mid(1)));
        QGuiApplication::clipboard()->setText(clipboard);
        h.window->pasteMonsterDrops();
        QCOMPARE(h.prompts->transcript(), QStringList{prompt});
        QCOMPARE(monsterDocument(*h.window), originalMonsters);
        QVERIFY(logMessages(h).isEmpty());
        QCOMPARE(staleState(h), QString());
    }

    void paste()
    {
        Harness h;
        const auto testers = attachTesters(h);
        QVERIFY(prepare(h, {1002, 1003}));
        const QStringList boxesBefore = boxDocument(*h.window);
        // Keys of lines 2 to 4 are skipped by length only; a double comma gives a 0 slot.
        QGuiApplication::clipboard()->setText(
            QStringLiteral("MonsterDrop:2001\nabcdefg300\nDropType:1\nDropBoxes:8,,3\n"));
        const QString question =
            "question|确认粘贴|确定要将怪物 2001 的掉落配置粘贴到 3 个选中的怪物吗？";

        h.prompts->questionAnswers << false;
        h.window->pasteMonsterDrops();
        QCOMPARE(h.prompts->transcript(), QStringList{question});
        QCOMPARE(monsterDocument(*h.window), originalMonsters);
        QVERIFY(logMessages(h).isEmpty());
        QCOMPARE(h.window->selectedBox()->boxId, 3);

        h.prompts->reset();
        h.prompts->questionAnswers << true;
        h.window->pasteMonsterDrops();
        QCOMPARE(h.prompts->transcript(),
                 (QStringList{question,
                              "information|粘贴成功|已将怪物 2001 的掉落配置粘贴到 3 个怪物"}));
        QCOMPARE(logMessages(h),
                 (QStringList{
                     "粘贴爆率：怪物[2001] → 3 个怪物（mValue=300，类型=队伍掉落，掉包数=2）",
                     "怪物[1001:史莱姆]：怪物价值 200 → 300",
                     "怪物[1001:史莱姆]：掉落类型 个人掉落 → 队伍掉落",
                     "怪物[1002:骷髅兵]：怪物价值 500 → 300",
                     "怪物[1002:骷髅兵]：掉落类型 5 → 队伍掉落", "怪物[1002:骷髅兵]：掉包数 3 → 2",
                     "怪物[1003:火焰魔]：创建掉落配置（mValue=300，类型=队伍掉落，掉包数=2）"}));
        QCOMPARE(monsterDocument(*h.window),
                 (QStringList{"1001|300|1|8,0,3|3", "1002|300|1|8,0,3|3", "2001|100|0|3|20",
                              "1003|300|1|8,0,3|3"}));
        QCOMPARE(boxDocument(*h.window), boxesBefore);
        // The record append may have moved the records; the box 3 row is selected again.
        QCOMPARE(staleState(h), QString());
        QCOMPARE(h.window->selectedConfig()->monsterId, 1001);
        QCOMPARE(h.window->selectedBox()->boxId, 3);
        QCOMPARE(h.columnTexts("boxListView", 0), (QStringList{"8", "3"}));
        QCOMPARE(h.columnTexts("boxListView", 2), (QStringList{"12.00%", "30.00%"}));
        QCOMPARE(selectedRowIds(h), (QList<int>{1001, 1002, 1003}));
    }

    void copyThenPasteIntoSameMonster()
    {
        Harness h;
        QVERIFY(prepare(h));
        h.window->copyMonsterDrops();
        h.prompts->reset();
        h.prompts->questionAnswers << true;
        h.window->pasteMonsterDrops();
        QCOMPARE(
            logMessages(h),
            QStringList{
                "粘贴爆率：怪物[1001:史莱姆] → 1 个怪物（mValue=200，类型=个人掉落，掉包数=2）"});
        QCOMPARE(monsterDocument(*h.window), originalMonsters);
        QCOMPARE(staleState(h), QString());
        QCOMPARE(h.window->selectedBox()->boxId, 3);
    }

    // Through the menu: copy from one monster, paste onto another.
    void copyAndPasteThroughMenu()
    {
        Harness h;
        QVERIFY(prepare(h));
        h.prompts->menuAnswers << QStringLiteral("复制怪物爆率");
        h.window->showMonsterContextMenu(QPoint(1, 1));
        QVERIFY(clipboardText().startsWith(QStringLiteral("MonsterDrop:1001\nMValue:200\n")));

        QVERIFY(h.selectMonster(1002));
        QVERIFY(selectBox(h, 8));
        h.prompts->menuAnswers << QStringLiteral("粘贴怪物爆率");
        h.prompts->questionAnswers << true;
        h.window->showMonsterContextMenu(QPoint(1, 1));
        QVERIFY(h.prompts->scriptErrors.isEmpty());
        QCOMPARE(monsterDocument(*h.window),
                 (QStringList{"1001|200|0|3,7|20", "1002|200|0|3,7|20", "2001|100|0|3|20"}));
        // Box 8 is no longer one of 1002's boxes.
        QVERIFY(!h.window->selectedBox());
        QCOMPARE(staleState(h), QString());
        QCOMPARE(h.columnTexts("boxListView", 0), (QStringList{"3", "7"}));
    }
};

QTEST_MAIN(TestMainWindowClipboard)
#include "tst_mainwindowclipboard.moc"
