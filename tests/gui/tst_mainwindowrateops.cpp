#include "EditTestSupport.h"

#include <QTest>

using namespace EditTest;
using Kind = ScriptedPrompts::Kind;

namespace {

const QStringList originalMonsters{"1001|200|0|3,7|20", "1002|500|5|7,8,-1,9|20",
                                   "2001|100|0|3|20"};

QLineEdit *targetField(const Harness &h)
{
    return h.child<QLineEdit>(QStringLiteral("targetDropRateSpin"));
}

// weight field, rate label, target field
QStringList rateForm(const Harness &h)
{
    return {h.child<QLineEdit>("boxValueSpin")->text(), h.child<QLabel>("dropRateValue")->text(),
            targetField(h)->text()};
}

bool prepare(Harness &h, int monsterId, int boxId, const QList<int> &more = {})
{
    fixClock(h);
    return selectMonsters(h, QList<int>{monsterId} + more) && selectBox(h, boxId) &&
           h.window->selectedBox() && h.window->selectedBox()->boxId == boxId;
}

} // namespace

class TestMainWindowRateOps : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void targetRefused_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("warning");
        const QString invalid = "请输入有效的目标爆率";
        QTest::newRow("zero") << "0" << invalid;
        QTest::newRow("negative") << "-1" << invalid;
        QTest::newRow("empty") << "" << invalid;
        QTest::newRow("percent sign") << "10%" << invalid;
        QTest::newRow("text") << "abc" << invalid;
        // Beyond the 32-bit weight range, and not a number: refused instead of an undefined
        // conversion.
        QTest::newRow("tiny") << "0.0000000001"
                              << "计算出的包裹权值无效，请检查参数";
        QTest::newRow("nan") << "nan"
                             << "计算出的包裹权值无效，请检查参数";
    }

    void targetRefused()
    {
        QFETCH(QString, target);
        QFETCH(QString, warning);
        Harness h;
        QVERIFY(prepare(h, 1002, 8));
        const QStringList boxes = boxDocument(*h.window);
        targetField(h)->setText(target);
        h.window->onApplyTargetDropRate();
        QCOMPARE(h.prompts->transcript(), QStringList{"warning|错误|" + warning});
        QCOMPARE(boxDocument(*h.window), boxes);
        QCOMPARE(monsterDocument(*h.window), originalMonsters);
        QVERIFY(logMessages(h).isEmpty());
        // The typed target stays.
        QCOMPARE(targetField(h)->text(), target);
        QCOMPARE(staleState(h), QString());
    }

    void targetWithoutSelection()
    {
        Harness h;
        QVERIFY(h.selectMonster(1001));
        h.window->onApplyTargetDropRate();
        QCOMPARE(h.prompts->transcript(), QStringList{"warning|错误|当前没有选中的包裹或怪物"});
        QVERIFY(!h.child<QPushButton>("applyDropRateButton")->isEnabled());
    }

    void targetZeroMonsterValue()
    {
        Harness h;
        QVERIFY(prepare(h, 1002, 8));
        h.prompts->intAnswers << 0;
        h.window->changeMonsterValue();
        QVERIFY(selectBox(h, 8));
        h.prompts->reset();
        targetField(h)->setText(QStringLiteral("10"));
        h.window->onApplyTargetDropRate();
        QCOMPARE(h.prompts->transcript(),
                 QStringList{"warning|错误|怪物价值必须大于0，请先设置怪物价值"});
    }

    void targetUnshared_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("log");
        QTest::addColumn<QStringList>("form");
        QTest::newRow("10")
            << "10"
            << "怪物[1002:骷髅兵]：应用目标爆率 10.0000%%（实际≈10.0000%%），包裹[8] "
               "权值 2500 → 5000"
            << QStringList{"5000", "10.0000%", "10.0000"};
        // 1666 gives 30.0120 %, 1667 gives 29.9940 %: the upper weight is nearer.
        QTest::newRow("30")
            << " 30 "
            << "怪物[1002:骷髅兵]：应用目标爆率 30.0000%%（实际≈29.9940%%），包裹[8] "
               "权值 2500 → 1667"
            << QStringList{"1667", "29.9940%", "29.9940"};
    }

    void targetUnshared()
    {
        QFETCH(QString, target);
        QFETCH(QString, log);
        QFETCH(QStringList, form);
        Harness h;
        const auto testers = attachTesters(h);
        QVERIFY(prepare(h, 1002, 8));
        const QStringList boxesBefore = boxDocument(*h.window);
        targetField(h)->setText(target);
        h.window->onApplyTargetDropRate();
        QVERIFY(h.prompts->calls.isEmpty());
        QCOMPARE(logMessages(h), QStringList{log});
        QStringList boxes = boxesBefore;
        boxes[2].replace(QStringLiteral("8|2500|"), QStringLiteral("8|%1|").arg(form[0]));
        QCOMPARE(boxDocument(*h.window), boxes);
        QCOMPARE(monsterDocument(*h.window), originalMonsters);
        QCOMPARE(staleState(h), QString());
        QCOMPARE(h.window->selectedBox()->boxId, 8);
        QCOMPARE(rateForm(h), form);
        QCOMPARE(h.columnTexts("boxListView", 1), (QStringList{"0", form[0]}));
    }

    // The button is wired, and applying the shown rate again keeps the weight but still logs.
    void targetThroughButton()
    {
        Harness h;
        QVERIFY(prepare(h, 1002, 8));
        QCOMPARE(targetField(h)->text(), QStringLiteral("20.0000"));
        h.child<QPushButton>("applyDropRateButton")->click();
        h.child<QPushButton>("applyDropRateButton")->click();
        const QString line = "怪物[1002:骷髅兵]：应用目标爆率 20.0000%%（实际≈20.0000%%），包裹[8] "
                             "权值 2500 → 2500";
        QCOMPARE(logMessages(h), (QStringList{line, line}));
        QCOMPARE(staleState(h), QString());
    }

    void targetShared()
    {
        Harness h;
        const auto testers = attachTesters(h);
        QVERIFY(prepare(h, 1001, 3, {1002}));
        const QStringList boxesBefore = boxDocument(*h.window);
        targetField(h)->setText(QStringLiteral("10"));
        h.window->onApplyTargetDropRate();
        QVERIFY(h.prompts->calls.isEmpty());
        // Box 3 is also used by 2001; the copy gets an id above every box and slot id (9).
        QCOMPARE(logMessages(h),
                 QStringList{"怪物[1001:史莱姆]：应用目标爆率 10.0000%%（实际≈10.0000%%），包裹[3] "
                             "被 2 个怪物共用，已复制为包裹[10]（权值 1000 → 2000）"});
        QCOMPARE(monsterDocument(*h.window),
                 (QStringList{"1001|200|0|10,7|20", "1002|500|5|7,8,-1,9|20", "2001|100|0|3|20"}));
        QStringList copy = boxesBefore.first().split('|');
        copy[0] = "10";
        copy[1] = "2000";
        QCOMPARE(boxDocument(*h.window), boxesBefore + QStringList{copy.join('|')});
        // The appended box may have moved the list: the copy is selected and shown.
        QCOMPARE(staleState(h), QString());
        QCOMPARE(h.window->selectedBox()->boxId, 10);
        QCOMPARE(h.columnTexts("boxListView", 0), (QStringList{"10", "7"}));
        QCOMPARE(rateForm(h), (QStringList{"2000", "10.0000%", "10.0000"}));
        QCOMPARE(h.columnTexts("itemTableView", 1).mid(0, 2), (QStringList{"5001", "5002"}));
        // The other monster's box list is untouched.
        QCOMPARE(h.window->selectedMonsterIds(), (QList<int>{1001, 1002}));
    }

    void unifyCancelled()
    {
        Harness h;
        QVERIFY(prepare(h, 1001, 3));
        const QStringList boxes = boxDocument(*h.window);
        h.window->unifyMonsterValue();
        QCOMPARE(h.prompts->count(Kind::GetInt), 1);
        QCOMPARE(h.prompts->transcript(), QStringList{"getInt|统一怪物价值|请输入统一的怪物价值:"});
        QCOMPARE(h.prompts->last()->extra, (QStringList{"1000", "1", "999999", "1"}));
        QCOMPARE(monsterDocument(*h.window), originalMonsters);
        QCOMPARE(boxDocument(*h.window), boxes);
        QVERIFY(logMessages(h).isEmpty());
    }

    void unify()
    {
        Harness h;
        const auto testers = attachTesters(h);
        // 1002 current with its box 8 selected, 1001 also selected.
        QVERIFY(prepare(h, 1002, 8, {1001}));
        const QStringList boxesBefore = boxDocument(*h.window);
        h.prompts->intAnswers << 400;
        h.window->unifyMonsterValue();
        QCOMPARE(h.prompts->transcript(),
                 (QStringList{"getInt|统一怪物价值|请输入统一的怪物价值:",
                              "information|操作成功|已统一 2 个怪物的价值为 400。\n直接调整包裹 1 "
                              "个，复制新包裹 1 个。\n有 0 个怪物因原价值为0无法保持爆率。"}));
        QCOMPARE(logMessages(h),
                 (QStringList{"怪物[1001:史莱姆]：怪物价值 200 → 400（已尽量保持爆率不变）",
                              "怪物[1002:骷髅兵]：怪物价值 500 → 400（已尽量保持爆率不变）",
                              "统一怪物价值：目标=400，选择=2，直接调整包裹=1，复制新包裹=1，跳过("
                              "原价值为0)=0"}));
        QCOMPARE(monsterDocument(*h.window),
                 (QStringList{"1001|400|0|10,7|20", "1002|400|5|7,8,-1,9|20", "2001|100|0|3|20"}));
        QStringList boxes = boxesBefore;
        boxes[2].replace(QStringLiteral("8|2500|"), QStringLiteral("8|2000|"));
        QStringList copy = boxesBefore.first().split('|');
        copy[0] = "10";
        copy[1] = "2000";
        boxes << copy.join('|');
        QCOMPARE(boxDocument(*h.window), boxes);
        // Box 8 is still 1002's: it stays selected and shows the scaled weight, same rate.
        QCOMPARE(staleState(h), QString());
        QCOMPARE(h.window->selectedConfig()->mValue, 400);
        QCOMPARE(h.window->selectedBox()->boxId, 8);
        QCOMPARE(rateForm(h), (QStringList{"2000", "20.0000%", "20.0000"}));
        QCOMPARE(selectedRowIds(h), (QList<int>{1001, 1002}));
    }

    // The selected box was copied for the current monster: it is no longer in its list, so no
    // box stays selected.
    void unifyCopiesCurrentBox()
    {
        Harness h;
        QVERIFY(prepare(h, 1001, 3));
        h.prompts->intAnswers << 100;
        h.window->unifyMonsterValue();
        QCOMPARE(
            logMessages(h).last(),
            QStringLiteral("统一怪物价值：目标=100，选择=1，直接调整包裹=0，复制新包裹=1，跳过("
                           "原价值为0)=0"));
        QVERIFY(!h.window->selectedBox());
        QCOMPARE(staleState(h), QString());
        QCOMPARE(h.columnTexts("boxListView", 0), (QStringList{"10", "7"}));
        QCOMPARE(h.columnTexts("boxListView", 1), (QStringList{"500", "0"}));
    }

    void unifyZeroValue()
    {
        Harness h;
        QVERIFY(prepare(h, 1001, 3));
        h.prompts->intAnswers << 0 << 250;
        h.window->changeMonsterValue();
        QVERIFY(selectBox(h, 3));
        h.window->unifyMonsterValue();
        QCOMPARE(logMessages(h).mid(1),
                 (QStringList{"怪物[1001:史莱姆]：怪物价值 0 → 250（原价值为0，无法保持爆率）",
                              "统一怪物价值：目标=250，选择=1，直接调整包裹=0，复制新包裹=0，跳过("
                              "原价值为0)=1"}));
        QCOMPARE(
            h.prompts->transcript().last(),
            QStringLiteral("information|操作成功|已统一 1 个怪物的价值为 250。\n直接调整包裹 0 "
                           "个，复制新包裹 0 个。\n有 1 个怪物因原价值为0无法保持爆率。"));
        QCOMPARE(monsterDocument(*h.window).first(), QStringLiteral("1001|250|0|3,7|20"));
        QCOMPARE(h.window->selectedBox()->boxId, 3);
        QCOMPARE(staleState(h), QString());
    }
};

QTEST_MAIN(TestMainWindowRateOps)
#include "tst_mainwindowrateops.moc"
