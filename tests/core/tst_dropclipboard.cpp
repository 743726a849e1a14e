#include "EditFixtures.h"
#include "data/NameResolver.h"
#include "edit/DropClipboard.h"

#include <QtTest>

using namespace EditFixtures;
using DropClipboard::ParseError;

Q_DECLARE_METATYPE(DropClipboard::ParseError)

class DropClipboardTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void buildText_data();
    void buildText();
    void copyDrops_data();
    void copyDrops();
    void parse_data();
    void parse();
    void preparePaste_data();
    void preparePaste();
    void applyPaste_data();
    void applyPaste();
    void copyThenPasteIntoSameMonster();
};

void DropClipboardTest::init()
{
    NameResolver::instance().clear();
}

void DropClipboardTest::buildText_data()
{
    QTest::addColumn<MonsterDropConfig>("record");
    QTest::addColumn<QString>("text");
    QTest::newRow("example") << monster(1001, 100, {5, 6, -1}, 0)
                             << "MonsterDrop:1001\nMValue:100\nDropType:0\nDropBoxes:5,6,-1\n";
    QTest::newRow("empty list") << monster(7, -3, {}, 1)
                                << "MonsterDrop:7\nMValue:-3\nDropType:1\nDropBoxes:\n";
    QTest::newRow("odd type, zero slots") << monster(2, 0, {0, -1, 2147483647}, 9)
                                          << "MonsterDrop:2\nMValue:0\nDropType:9\nDropBoxes:0,-1,"
                                             "2147483647\n";
}

void DropClipboardTest::buildText()
{
    QFETCH(MonsterDropConfig, record);
    QFETCH(QString, text);
    QCOMPARE(DropClipboard::buildText(record), text);
    // Reading back gives the record's numbers (an empty list reads as the one entry 0).
    const DropClipboard::ParseResult parsed = DropClipboard::parse(text);
    QCOMPARE(parsed.error, ParseError::None);
    QCOMPARE(parsed.drops.sourceId, record.monsterId);
    QCOMPARE(parsed.drops.mValue, record.mValue);
    QCOMPARE(parsed.drops.dropType, record.dropType);
    QCOMPARE(parsed.drops.dropBoxIds,
             record.dropBoxIds.isEmpty() ? QList<int>{0} : record.dropBoxIds);
}

void DropClipboardTest::copyDrops_data()
{
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("notice"); // title|text
    QTest::newRow("one with record")
        << QList<int>{1002} << true
        << QStringLiteral("MonsterDrop:1002\nMValue:40\nDropType:1\nDropBoxes:9\n")
        << "复制成功|怪物掉落配置已复制到剪贴板";
    QTest::newRow("two selected") << QList<int>{1001, 1002} << false << QString()
                                  << "提示|请选择一个怪物进行复制";
    QTest::newRow("none selected")
        << QList<int>{} << false << QString() << "提示|请选择一个怪物进行复制";
    QTest::newRow("no record") << QList<int>{4242} << false << QString()
                               << "提示|选中的怪物没有掉落配置";
}

void DropClipboardTest::copyDrops()
{
    QFETCH(QList<int>, ids);
    QFETCH(bool, ok);
    QFETCH(QString, text);
    QFETCH(QString, notice);
    const MonsterDropData data =
        monsters({monster(1001, 100, {5}), monster(1002, 40, {9}, 1), monster(1002, 1, {1})});
    const DropClipboard::CopyResult result = DropClipboard::copyDrops(data, ids);
    QCOMPARE(result.ok, ok);
    QCOMPARE(result.text, text);
    QCOMPARE(result.notice.kind, NoticeKind::Information);
    QCOMPARE(QString(result.notice.title + u'|' + result.notice.text), notice);
}

void DropClipboardTest::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<ParseError>("error");
    QTest::addColumn<int>("sourceId");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("type");
    QTest::addColumn<QList<int>>("boxIds");
    QTest::newRow("as written") << "MonsterDrop:1001\nMValue:100\nDropType:0\nDropBoxes:5,6,-1\n"
                                << ParseError::None << 1001 << 100 << 0 << QList<int>{5, 6, -1};
    QTest::newRow("no final line feed") << "MonsterDrop:1\nMValue:2\nDropType:1\nDropBoxes:3"
                                        << ParseError::None << 1 << 2 << 1 << QList<int>{3};
    QTest::newRow("keys not checked, only skipped")
        << "MonsterDrop:1\nabcdefg100\nxxxxxxxxx1\nyyyyyyyyyy8,9\n"
        << ParseError::None << 1 << 100 << 1 << QList<int>{8, 9};
    QTest::newRow("line too short for its key") << "MonsterDrop:1\nMVal\nDropType:1\nDropBoxes:4\n"
                                                << ParseError::None << 1 << 0 << 1 << QList<int>{4};
    QTest::newRow("empty list is one 0") << "MonsterDrop:1\nMValue:2\nDropType:0\nDropBoxes:\n"
                                         << ParseError::None << 1 << 2 << 0 << QList<int>{0};
    QTest::newRow("double comma gives 0")
        << "MonsterDrop:1\nMValue:2\nDropType:0\nDropBoxes:5,,6,\n"
        << ParseError::None << 1 << 2 << 0 << QList<int>{5, 0, 6, 0};
    QTest::newRow("malformed numbers become 0")
        << "MonsterDrop:x\nMValue:9999999999\nDropType:team\nDropBoxes:a,7,1.5\n"
        << ParseError::None << 0 << 0 << 0 << QList<int>{0, 7, 0};
    QTest::newRow("carriage returns and blanks tolerated")
        << "MonsterDrop:12\r\nMValue: 30 \r\nDropType:1\r\nDropBoxes:4, 5\r\n"
        << ParseError::None << 12 << 30 << 1 << QList<int>{4, 5};
    QTest::newRow("extra lines ignored")
        << "MonsterDrop:1\nMValue:2\nDropType:0\nDropBoxes:3\nMonsterDrop:9\nMValue:9\n"
        << ParseError::None << 1 << 2 << 0 << QList<int>{3};
    QTest::newRow("only the first line") << "MonsterDrop:1001\n"
                                         << ParseError::Incomplete << 0 << 0 << 0 << QList<int>{};
    QTest::newRow("three lines") << "MonsterDrop:1\nMValue:2\nDropType:0" << ParseError::Incomplete
                                 << 0 << 0 << 0 << QList<int>{};
    QTest::newRow("lower-case key") << "monsterdrop:1\nMValue:2\nDropType:0\nDropBoxes:3\n"
                                    << ParseError::WrongFormat << 0 << 0 << 0 << QList<int>{};
    QTest::newRow("leading blank") << " MonsterDrop:1\nMValue:2\nDropType:0\nDropBoxes:3\n"
                                   << ParseError::WrongFormat << 0 << 0 << 0 << QList<int>{};
    QTest::newRow("empty") << "" << ParseError::WrongFormat << 0 << 0 << 0 << QList<int>{};
}

void DropClipboardTest::parse()
{
    QFETCH(QString, text);
    QFETCH(ParseError, error);
    QFETCH(int, sourceId);
    QFETCH(int, value);
    QFETCH(int, type);
    QFETCH(QList<int>, boxIds);
    const DropClipboard::ParseResult result = DropClipboard::parse(text);
    QCOMPARE(result.error, error);
    QCOMPARE(result.drops.sourceId, sourceId);
    QCOMPARE(result.drops.mValue, value);
    QCOMPARE(result.drops.dropType, type);
    QCOMPARE(result.drops.dropBoxIds, boxIds);
}

void DropClipboardTest::preparePaste_data()
{
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<NoticeKind>("kind");
    QTest::addColumn<QString>("shown"); // title|text of the question, or else of the notice
    const QString good = QStringLiteral("MonsterDrop:1001\nMValue:100\nDropType:0\nDropBoxes:5\n");
    QTest::newRow("ok") << QList<int>{1, 2, 3} << good << true << NoticeKind::None
                        << "确认粘贴|确定要将怪物 1001 的掉落配置粘贴到 3 个选中的怪物吗？";
    QTest::newRow("no selection") << QList<int>{} << good << false << NoticeKind::Information
                                  << "提示|请先选择要粘贴的怪物";
    QTest::newRow("wrong format") << QList<int>{1} << "hello" << false << NoticeKind::Warning
                                  << "粘贴失败|剪贴板中的数据格式不正确";
    QTest::newRow("incomplete") << QList<int>{1} << "MonsterDrop:1001" << false
                                << NoticeKind::Warning << "粘贴失败|剪贴板中的数据不完整";
}

void DropClipboardTest::preparePaste()
{
    QFETCH(QList<int>, ids);
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(NoticeKind, kind);
    QFETCH(QString, shown);
    const DropClipboard::PastePlan plan = DropClipboard::preparePaste(ids, text);
    QCOMPARE(plan.ok, ok);
    QCOMPARE(plan.notice.kind, kind);
    if (ok) {
        QCOMPARE(QString(plan.question.title + u'|' + plan.question.text), shown);
        QCOMPARE(plan.drops.sourceId, 1001);
        QCOMPARE(plan.drops.dropBoxIds, QList<int>{5});
    } else {
        QCOMPARE(QString(plan.notice.title + u'|' + plan.notice.text), shown);
        QVERIFY(plan.question.title.isEmpty());
    }
}

void DropClipboardTest::applyPaste_data()
{
    QTest::addColumn<QList<MonsterDropConfig>>("records");
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<MonsterDropConfig>>("recordsAfter");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("resized");

    const QList<MonsterDropConfig> records{monster(1001, 100, {5, 6}, 0),
                                           monster(1002, 40, {5, -1, 6}, 1),
                                           monster(1003, 100, {7, 8, 9}, 0)};
    const QString text =
        QStringLiteral("MonsterDrop:1001\nMValue:100\nDropType:0\nDropBoxes:7,8\n");
    QList<MonsterDropConfig> after = records;
    after[0].dropBoxIds = {7, 8};
    after[1] = monster(1002, 100, {7, 8}, 0);
    after[2].dropBoxIds = {7, 8};
    after << monster(4242, 100, {7, 8}, 0);
    QTest::newRow("mixed targets")
        << records << QList<int>{1001, 1002, 4242, 1003} << text << after
        << QStringList{"粘贴爆率：怪物[1001:狼王] → 4 "
                       "个怪物（mValue=100，类型=个人掉落，掉包数=2）",
                       "怪物[1002]：怪物价值 40 → 100", "怪物[1002]：掉落类型 队伍掉落 → 个人掉落",
                       "怪物[4242]：创建掉落配置（mValue=100，类型=个人掉落，掉包数=2）",
                       "怪物[1003]：掉包数 3 → 2"}
        << "已将怪物 1001 的掉落配置粘贴到 4 个怪物" << true;

    QList<MonsterDropConfig> emptyList = records;
    emptyList[2] = monster(1003, 5, {0}, 1);
    QTest::newRow("empty box list from an unknown source")
        << records << QList<int>{1003} << "MonsterDrop:9\nMValue:5\nDropType:1\nDropBoxes:\n"
        << emptyList
        << QStringList{"粘贴爆率：怪物[9] → 1 个怪物（mValue=5，类型=队伍掉落，掉包数=0）",
                       "怪物[1003]：怪物价值 100 → 5", "怪物[1003]：掉落类型 个人掉落 → 队伍掉落",
                       "怪物[1003]：掉包数 3 → 0"}
        << "已将怪物 9 的掉落配置粘贴到 1 个怪物" << false;

    QList<MonsterDropConfig> repeated = records;
    repeated << monster(4242, 100, {7, 8}, 0);
    QTest::newRow("repeated id creates one record")
        << records << QList<int>{4242, 4242} << text << repeated
        << QStringList{"粘贴爆率：怪物[1001:狼王] → 2 "
                       "个怪物（mValue=100，类型=个人掉落，掉包数=2）",
                       "怪物[4242]：创建掉落配置（mValue=100，类型=个人掉落，掉包数=2）"}
        << "已将怪物 1001 的掉落配置粘贴到 2 个怪物" << true;
}

void DropClipboardTest::applyPaste()
{
    QFETCH(QList<MonsterDropConfig>, records);
    QFETCH(QList<int>, ids);
    QFETCH(QString, text);
    QFETCH(QList<MonsterDropConfig>, recordsAfter);
    QFETCH(QStringList, log);
    QFETCH(QString, message);
    QFETCH(bool, resized);
    NameResolver::instance().monsterNames.insert(1001, QStringLiteral(" 狼王 "));
    MonsterDropData data = monsters(records);
    const DropClipboard::PastePlan plan = DropClipboard::preparePaste(ids, text);
    QVERIFY(plan.ok);
    const EditResult result = DropClipboard::applyPaste(data, ids, plan.drops);
    QVERIFY(result.applied);
    QCOMPARE(result.logLines, log);
    QCOMPARE(describe(data), describe(monsters(recordsAfter)));
    QCOMPARE(result.notice.kind, NoticeKind::Information);
    QCOMPARE(result.notice.title, QStringLiteral("粘贴成功"));
    QCOMPARE(result.notice.text, message);
    QCOMPARE(result.recordsAddedOrRemoved, resized);
}

void DropClipboardTest::copyThenPasteIntoSameMonster()
{
    MonsterDropData data = monsters({monster(1001, 100, {5, 6, -1}, 1), monster(1002, 1, {})});
    const QList<MonsterDropConfig> before = data.records;
    const DropClipboard::CopyResult copy = DropClipboard::copyDrops(data, {1001});
    QVERIFY(copy.ok);
    const DropClipboard::PastePlan plan = DropClipboard::preparePaste({1001}, copy.text);
    QVERIFY(plan.ok);
    const EditResult result = DropClipboard::applyPaste(data, {1001}, plan.drops);
    QCOMPARE(result.logLines,
             QStringList{"粘贴爆率：怪物[1001] → 1 个怪物（mValue=100，类型=队伍掉落，掉包数=2）"});
    QCOMPARE(describe(data), describe(monsters(before)));

    // An empty selection changes nothing.
    const EditResult none = DropClipboard::applyPaste(data, {}, plan.drops);
    QVERIFY(!none.applied);
    QVERIFY(none.logLines.isEmpty());
    QCOMPARE(describe(data), describe(monsters(before)));
}

QTEST_APPLESS_MAIN(DropClipboardTest)
#include "tst_dropclipboard.moc"
