#include "EditFixtures.h"
#include "data/NameResolver.h"
#include "edit/DropRateEdits.h"

#include <QtTest>
#include <climits>
#include <limits>

using namespace EditFixtures;
using DropRateEdits::TargetRateError;

Q_DECLARE_METATYPE(DropRateEdits::TargetRateError)

class DropRateEditsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void targetWeight_data();
    void targetWeight();
    void applyTargetRate_data();
    void applyTargetRate();
    void sameTargetTwiceLogsUnchangedWeight();
    void copyKeepsPointersResolvable();
    void errorTexts();
};

void DropRateEditsTest::init()
{
    NameResolver::instance().clear();
}

void DropRateEditsTest::targetWeight_data()
{
    QTest::addColumn<int>("monsterValue");
    QTest::addColumn<double>("target");
    QTest::addColumn<double>("multiplier");
    QTest::addColumn<TargetRateError>("error");
    QTest::addColumn<int>("weight");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("exact 1000") << 100 << 10.0 << 1.0 << TargetRateError::None << 1000;
    QTest::newRow("333.33 -> 333") << 100 << 30.0 << 1.0 << TargetRateError::None << 333;
    QTest::newRow("150 -> 67") << 100 << 150.0 << 1.0 << TargetRateError::None << 67;
    QTest::newRow("0.0001 -> 1,000,000") << 1 << 0.0001 << 1.0 << TargetRateError::None << 1000000;
    QTest::newRow("tie goes to lower") << 1 << 75.0 << 1.0 << TargetRateError::None << 1;
    QTest::newRow("above 100 percent, floor 0 raised")
        << 1 << 1000.0 << 1.0 << TargetRateError::None << 1;
    QTest::newRow("multiplier 2") << 100 << 10.0 << 2.0 << TargetRateError::None << 2000;
    QTest::newRow("just inside 32 bits")
        << 21474836 << 1.0 << 1.0 << TargetRateError::None << 2147483600;
    QTest::newRow("beyond 32 bits")
        << 21474837 << 1.0 << 1.0 << TargetRateError::InvalidWeight << 0;
    QTest::newRow("tiny target") << 100 << 1e-300 << 1.0 << TargetRateError::InvalidWeight << 0;
    QTest::newRow("target 0") << 100 << 0.0 << 1.0 << TargetRateError::InvalidTarget << 0;
    QTest::newRow("negative target") << 100 << -5.0 << 1.0 << TargetRateError::InvalidTarget << 0;
    QTest::newRow("value 0") << 0 << 10.0 << 1.0 << TargetRateError::InvalidMonsterValue << 0;
    QTest::newRow("negative value")
        << -3 << 10.0 << 1.0 << TargetRateError::InvalidMonsterValue << 0;
    QTest::newRow("multiplier 0") << 100 << 10.0 << 0.0 << TargetRateError::InvalidWeight << 0;
    QTest::newRow("negative multiplier")
        << 100 << 10.0 << -1.0 << TargetRateError::InvalidWeight << 0;
    QTest::newRow("NaN target") << 100 << nan << 1.0 << TargetRateError::InvalidWeight << 0;
    QTest::newRow("infinite target") << 100 << inf << 1.0 << TargetRateError::InvalidWeight << 0;
    QTest::newRow("NaN multiplier") << 100 << 10.0 << nan << TargetRateError::InvalidWeight << 0;
}

void DropRateEditsTest::targetWeight()
{
    QFETCH(int, monsterValue);
    QFETCH(double, target);
    QFETCH(double, multiplier);
    QFETCH(TargetRateError, error);
    QFETCH(int, weight);
    const DropRateEdits::TargetWeight result =
        DropRateEdits::targetWeight(monsterValue, target, multiplier);
    QCOMPARE(result.error, error);
    QCOMPARE(result.weight, weight);
}

void DropRateEditsTest::applyTargetRate_data()
{
    QTest::addColumn<QString>("records");
    QTest::addColumn<QString>("boxList");
    QTest::addColumn<int>("monsterIndex"); // -1: no selected monster
    QTest::addColumn<int>("currentBoxId"); // 0: no current box; an id not in the document
                                           // stands for a box record outside it
    QTest::addColumn<QString>("monsterName");
    QTest::addColumn<QString>("targetText");
    QTest::addColumn<double>("multiplier");
    QTest::addColumn<TargetRateError>("error");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QString>("recordsAfter");
    QTest::addColumn<QString>("boxesAfter");
    QTest::addColumn<int>("inUseBoxId");

    // Box 5 at a weight; its copy under an id.
    const auto plain = [](int weight) {
        return QStringLiteral("3|50 5|%1|4001,-1,4002|12|1 9|10").arg(weight);
    };
    const auto copy = [](int id) { return QStringLiteral(" %1|1000|4001,-1,4002|12|1").arg(id); };
    const auto inPlace = [](const QString &target, const QString &actual, int weight) {
        return QStringList{QStringLiteral("怪物[1001]：应用目标爆率 %1%%（实际≈%2%%），包裹[5] "
                                          "权值 800 → %3")
                               .arg(target, actual)
                               .arg(weight)};
    };
    const auto copied = [](const char *id) {
        return QStringList{QStringLiteral("怪物[1001]：应用目标爆率 10.0000%%（实际≈10.0000%%），"
                                          "包裹[5] 被 2 个怪物共用，已复制为包裹[%1]（权值 800 → "
                                          "1000）")
                               .arg(QLatin1String(id))};
    };
    const QString alone = QStringLiteral("1001|100|5,-1,3 1002|7|9");
    const QString none;

    QTest::newRow("alone, in place")
        << alone << plain(800) << 0 << 5 << none << "10" << 1.0 << TargetRateError::None
        << inPlace("10.0000", "10.0000", 1000) << alone << plain(1000) << 5;
    QTest::newRow("333.33 rounds to 333, blanks around the text")
        << alone << plain(800) << 0 << 5 << none << "  30.0 " << 1.0 << TargetRateError::None
        << inPlace("30.0000", "30.0300", 333) << alone << plain(333) << 5;
    QTest::newRow("0.0001 gives a million")
        << "1001|1|5" << plain(800) << 0 << 5 << none << "0.0001" << 1.0 << TargetRateError::None
        << inPlace("0.0001", "0.0001", 1000000) << "1001|1|5" << plain(1000000) << 5;
    QTest::newRow("150 percent gives 67, named monster with a placeholder in its name")
        << alone << plain(800) << 0 << 5 << "狼%2王"
        << "150" << 1.0 << TargetRateError::None
        << QStringList{"怪物[1001:狼%2王]：应用目标爆率 150.0000%%（实际≈149.2537%%），包裹[5] "
                       "权值 800 → 67"}
        << alone << plain(67) << 5;
    QTest::newRow("multiplier 2") << alone << plain(800) << 0 << 5 << none << "10" << 2.0
                                  << TargetRateError::None << inPlace("10.0000", "10.0000", 2000)
                                  << alone << plain(2000) << 5;

    // Box 5 shared by 1001 (twice) and 1003: 1001 gets a copy under id 10, both slots renamed.
    const QString shared = QStringLiteral("1001|100|5,7,5,-1 1002|50|9 1003|100|5,5");
    QTest::newRow("shared box copied with next free id")
        << shared << plain(800) << 0 << 5 << none << "10" << 1.0 << TargetRateError::None
        << copied("10") << "1001|100|10,7,10,-1 1002|50|9 1003|100|5,5" << plain(800) + copy(10)
        << 10;
    // Monster 1004 names box 50, which does not exist: the copy must not take id 50.
    QTest::newRow("copy id above an id a slot names without a box")
        << shared + " 1004|100|50,-1" << plain(800) << 0 << 5 << none << "10" << 1.0
        << TargetRateError::None << copied("51")
        << "1001|100|51,7,51,-1 1002|50|9 1003|100|5,5 1004|100|50,-1" << plain(800) + copy(51)
        << 51;
    // Listed twice by the selected monster and by nobody else: not shared.
    QTest::newRow("listed twice by one monster alone")
        << "1001|100|5,5 1002|50|9" << plain(800) << 0 << 5 << none << "10" << 1.0
        << TargetRateError::None << inPlace("10.0000", "10.0000", 1000) << "1001|100|5,5 1002|50|9"
        << plain(1000) << 5;
    // The largest id is INT_MAX - 1: the copy takes INT_MAX.
    QTest::newRow("copy takes the last id")
        << shared << plain(800) + " 2147483646|5" << 0 << 5 << none << "10" << 1.0
        << TargetRateError::None << copied("2147483647")
        << "1001|100|2147483647,7,2147483647,-1 1002|50|9 1003|100|5,5"
        << plain(800) + " 2147483646|5" + copy(INT_MAX) << INT_MAX;

    // Refusals: nothing changes.
    const auto refusal = [&](const char *name, const QString &records, const QString &boxList,
                             int monsterIndex, int boxId, const QString &text, double multiplier,
                             TargetRateError error) {
        QTest::newRow(name) << records << boxList << monsterIndex << boxId << QString() << text
                            << multiplier << error << QStringList() << records << boxList << 0;
    };
    const QString boxes = plain(800);
    refusal("no monster", alone, boxes, -1, 5, "10", 1.0, TargetRateError::NoSelection);
    refusal("no box", alone, boxes, 0, 0, "10", 1.0, TargetRateError::NoSelection);
    refusal("percent sign", alone, boxes, 0, 5, "10%", 1.0, TargetRateError::InvalidTarget);
    refusal("empty text", alone, boxes, 0, 5, "", 1.0, TargetRateError::InvalidTarget);
    refusal("letters", alone, boxes, 0, 5, "abc", 1.0, TargetRateError::InvalidTarget);
    refusal("zero", alone, boxes, 0, 5, "0", 1.0, TargetRateError::InvalidTarget);
    refusal("negative", alone, boxes, 0, 5, "-3", 1.0, TargetRateError::InvalidTarget);
    refusal("minus infinity", alone, boxes, 0, 5, "-inf", 1.0, TargetRateError::InvalidTarget);
    refusal("overflowing text", alone, boxes, 0, 5, "1e999", 1.0, TargetRateError::InvalidTarget);
    refusal("monster value 0", "1001|0|5", boxes, 0, 5, "10", 1.0,
            TargetRateError::InvalidMonsterValue);
    refusal("not a number", alone, boxes, 0, 5, "nan", 1.0, TargetRateError::InvalidWeight);
    refusal("infinity", alone, boxes, 0, 5, "inf", 1.0, TargetRateError::InvalidWeight);
    refusal("weight beyond 32 bits", alone, boxes, 0, 5, "0.000001", 1.0,
            TargetRateError::InvalidWeight);
    refusal("multiplier 0", alone, boxes, 0, 5, "10", 0.0, TargetRateError::InvalidWeight);
    refusal("box not in the document", alone, boxes, 0, 99, "10", 1.0,
            TargetRateError::BoxNotFound);
    refusal("shared box without a free id", shared, boxes + " 2147483647|5", 0, 5, "10", 1.0,
            TargetRateError::NoFreeBoxId);
    refusal("a slot names INT_MAX", shared + " 1005|1|2147483647", boxes, 0, 5, "10", 1.0,
            TargetRateError::NoFreeBoxId);
}

void DropRateEditsTest::applyTargetRate()
{
    QFETCH(QString, records);
    QFETCH(QString, boxList);
    QFETCH(int, monsterIndex);
    QFETCH(int, currentBoxId);
    QFETCH(QString, monsterName);
    QFETCH(QString, targetText);
    QFETCH(double, multiplier);
    QFETCH(TargetRateError, error);
    QFETCH(QStringList, log);
    QFETCH(QString, recordsAfter);
    QFETCH(QString, boxesAfter);
    QFETCH(int, inUseBoxId);

    if (!monsterName.isEmpty())
        NameResolver::instance().monsterNames.insert(1001, monsterName);
    MonsterDropData monsterData = monsters(monstersFrom(records));
    DropBoxContentData boxData = boxes(boxesFrom(boxList));
    const QStringList boxesBefore = describe(boxData);
    MonsterDropConfig *current = monsterIndex >= 0 ? &monsterData.records[monsterIndex] : nullptr;
    const DropBoxConfig outside = box(currentBoxId, 1);
    const DropBoxConfig *currentBox = nullptr;
    if (currentBoxId != 0) {
        currentBox = DropSlots::findBox(std::as_const(boxData), currentBoxId);
        if (!currentBox)
            currentBox = &outside;
    }

    const DropRateEdits::TargetRateResult result = DropRateEdits::applyTargetRate(
        monsterData, current, boxData, currentBox, targetText, multiplier);

    QCOMPARE(result.error, error);
    QCOMPARE(result.applied, error == TargetRateError::None);
    QCOMPARE(result.logLines, log);
    QCOMPARE(describe(monsterData), describe(monsters(monstersFrom(recordsAfter))));
    QCOMPARE(describe(boxData), describe(boxes(boxesFrom(boxesAfter))));
    if (error == TargetRateError::None) {
        QVERIFY(result.notice.isNone());
        QCOMPARE(result.inUseBoxId, inUseBoxId);
        QCOMPARE(result.copied, inUseBoxId != currentBoxId);
        QCOMPARE(result.boxesAddedOrRemoved, result.copied);
        QVERIFY(DropSlots::findBox(std::as_const(boxData), result.inUseBoxId));
    } else {
        QCOMPARE(result.notice.kind, NoticeKind::Warning);
        QCOMPARE(result.notice.title, QStringLiteral("错误"));
        QCOMPARE(result.notice.text, DropRateEdits::targetRateErrorText(error));
        QVERIFY(!result.boxesAddedOrRemoved);
        QCOMPARE(describe(boxData), boxesBefore);
    }
    QVERIFY(!result.recordsAddedOrRemoved);
}

void DropRateEditsTest::sameTargetTwiceLogsUnchangedWeight()
{
    MonsterDropData monsterData = monsters({monster(1001, 100, {5})});
    DropBoxContentData boxData = boxes({box(5, 800)});
    const auto apply = [&] {
        return DropRateEdits::applyTargetRate(monsterData, &monsterData.records[0], boxData,
                                              &boxData.boxes[0], QStringLiteral("10.0000"), 1.0);
    };
    QCOMPARE(apply().logLines.value(0),
             QStringLiteral("怪物[1001]：应用目标爆率 10.0000%%（实际≈10.0000%%），包裹[5] 权值 "
                            "800 → 1000"));
    const QStringList before = describe(boxData);
    const DropRateEdits::TargetRateResult second = apply();
    QVERIFY(second.applied);
    QCOMPARE(second.logLines,
             QStringList{"怪物[1001]：应用目标爆率 10.0000%%（实际≈10.0000%%），包裹[5] 权值 "
                         "1000 → 1000"});
    QCOMPARE(describe(boxData), before);
}

void DropRateEditsTest::copyKeepsPointersResolvable()
{
    // The current box pointer is read once, before the append can move the list.
    MonsterDropData monsterData =
        monsters({monster(1001, 100, {5}), monster(1002, 100, {5}), monster(1003, 100, {6})});
    DropBoxContentData boxData = boxes({box(5, 800, {1, 2}), box(6, 10)});
    boxData.boxes.squeeze();
    const DropRateEdits::TargetRateResult result =
        DropRateEdits::applyTargetRate(monsterData, &monsterData.records[1], boxData,
                                       &boxData.boxes[0], QStringLiteral("20"), 1.0);
    QVERIFY(result.copied);
    QCOMPARE(result.inUseBoxId, 7);
    QCOMPARE(result.sharerCount, 2);
    QCOMPARE(result.oldWeight, 800);
    QCOMPARE(result.newWeight, 500);
    QCOMPARE(monsterData.records.at(0).dropBoxIds, QList<int>{5});
    QCOMPARE(monsterData.records.at(1).dropBoxIds, QList<int>{7});
    QCOMPARE(boxData.boxes.at(0).boxValue, 800);
    QCOMPARE(describe(boxData.boxes.at(2)), describe(box(7, 500, {1, 2})));
}

void DropRateEditsTest::errorTexts()
{
    QCOMPARE(DropRateEdits::targetRateErrorText(TargetRateError::NoSelection),
             QStringLiteral("当前没有选中的包裹或怪物"));
    QCOMPARE(DropRateEdits::targetRateErrorText(TargetRateError::InvalidTarget),
             QStringLiteral("请输入有效的目标爆率"));
    QCOMPARE(DropRateEdits::targetRateErrorText(TargetRateError::InvalidMonsterValue),
             QStringLiteral("怪物价值必须大于0，请先设置怪物价值"));
    QCOMPARE(DropRateEdits::targetRateErrorText(TargetRateError::InvalidWeight),
             QStringLiteral("计算出的包裹权值无效，请检查参数"));
    QCOMPARE(DropRateEdits::targetRateErrorText(TargetRateError::BoxNotFound),
             QStringLiteral("找不到对应的包裹配置"));
    QCOMPARE(DropRateEdits::targetRateErrorText(TargetRateError::NoFreeBoxId),
             QStringLiteral("包裹ID已达上限，无法创建新包裹"));
}

QTEST_APPLESS_MAIN(DropRateEditsTest)
#include "tst_droprateedits.moc"
