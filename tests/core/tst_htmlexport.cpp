#include "EditFixtures.h"
#include "ExportReference.h"
#include "ExportSample.h"
#include "TestSupport.h"
#include "export/HtmlDropRateExport.h"
#include "rates/DropRate.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using namespace HtmlDropRateExport;
using ExportReference::buildPage;
using ExportReference::Page;
using TestSupport::readBytes;

namespace {

DropBoxConfig box(int id, int weight, const QList<int> &itemIds)
{
    return EditFixtures::padded(EditFixtures::box(id, weight, itemIds));
}

MonsterDropConfig monster(int id, int value, const QList<int> &boxIds, const QString &name = {})
{
    MonsterDropConfig record = EditFixtures::padded(EditFixtures::monster(id, value, boxIds));
    record.displayName = name;
    return record;
}

} // namespace

namespace {

struct Scenario
{
    QList<MonsterDropConfig> monsters;
    QList<DropBoxConfig> boxes;
    QMap<int, QString> itemNames;
    QMap<int, QString> equipNames;
    QMap<int, QString> monsterNames;
    double multiplier = 1.0;
    bool showRates = true;
};

Page build(const Scenario &scenario)
{
    NameResolver &names = NameResolver::instance();
    names.clear();
    names.commonItemNames = scenario.itemNames;
    names.equipNames = scenario.equipNames;
    names.monsterNames = scenario.monsterNames;
    MonsterDropData monsters;
    monsters.records = scenario.monsters;
    DropBoxContentData boxes;
    boxes.boxes = scenario.boxes;
    return buildPage(monsters, boxes, names, scenario.multiplier, scenario.showRates,
                     QStringLiteral("2026-01-02 03:04:05"));
}

QString rowsOf(const QString &html)
{
    const QString open = QStringLiteral("<tbody>\n");
    const qsizetype from = html.indexOf(open);
    const qsizetype to = html.indexOf(QStringLiteral("</tbody>"));
    if (from < 0 || to < from)
        return QStringLiteral("<no table body>");
    return html.mid(from + open.size(), to - from - open.size());
}

QString row(int id, const QString &nameKey, const QString &search, const QString &name,
            const QString &items)
{
    return QStringLiteral("<tr data-monster-id=\"%1\" data-monster-name=\"%2\" data-items=\"%3\">"
                          "<td class=\"mono\">%1</td><td class=\"name\">%4</td>"
                          "<td class=\"items\" title=\"%5\">%5</td></tr>\n")
        .arg(QString::number(id), nameKey, search, name, items);
}

// Restores the file size limit and the signal it raises when a test lowered them.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved;
        limited.rlim_cur = bytes;
        active = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }
    bool active = false;

private:
    rlimit saved{};
    void (*previousHandler)(int) = nullptr;
};

} // namespace

Q_DECLARE_METATYPE(Scenario)

class HtmlExportTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void escape();
    void rows_data();
    void rows();
    void headerAndSubLine_data();
    void headerAndSubLine();
    void nothingToExport();
    void golden();
    void htmlSuffix_data();
    void htmlSuffix();
    void usableMultiplier_data();
    void usableMultiplier();
    void writePageBytes_data();
    void writePageBytes();
    void writeFailureKeepsTarget_data();
    void writeFailureKeepsTarget();
    void outcomes();
    void largeExportStreamsTheSamePage();
};

void HtmlExportTest::cleanup()
{
    NameResolver::instance().clear();
}

void HtmlExportTest::escape()
{
    const QString text = QStringLiteral("<a href=\"x\">Tom's & Co</a>");
    const QString escaped =
        QStringLiteral("&lt;a href=&quot;x&quot;&gt;Tom&#39;s &amp; Co&lt;/a&gt;");
    QCOMPARE(escapeHtml(text), escaped);
    QString out = QStringLiteral("x");
    appendEscapedHtml(out, text);
    QCOMPARE(out, QStringLiteral("x") + escaped);
}

void HtmlExportTest::rows_data()
{
    QTest::addColumn<Scenario>("scenario");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("count");

    Scenario s;
    s.itemNames = {{5001, "Iron Sword"}, {5002, "Steel Shield"}};
    s.boxes = {box(10, 1000, {5001})};
    s.monsters = {monster(1, 100, {10}, "Wolf")};
    s.monsterNames = {{1, "Grey Wolf"}};
    QTest::newRow("name table before displayName")
        << s << row(1, "grey wolf", "5001 iron sword", "Grey Wolf", "Iron Sword(10.00%)") << 1;
    s.monsterNames.clear();

    s.boxes = {box(10, 500, {5001, 5002}), box(11, 100, {-1, 0}), box(12, 300, {})};
    s.monsters = {monster(1, 100, {99}), monster(2, 100, {11, 12}), monster(3, 100, {-1, 0}),
                  monster(4, 100, {}), monster(5, 100, {99, 11, 10})};
    QTest::newRow("missing and empty boxes give no row")
        << s
        << row(5, "", "5001 iron sword 5002 steel shield", "",
               "Iron Sword(20.00%)、Steel Shield(20.00%)")
        << 1;

    s.boxes = {box(10, 10000, {5001}), box(11, 10000, {5001})};
    s.monsters = {monster(1, 100, {10, 11})};
    QTest::newRow("two boxes, one rate")
        << s << row(1, "", "5001 iron sword", "", "Iron Sword(1.00%)") << 1;

    s.boxes = {box(10, 9000, {5001}), box(11, 10000, {5001}), box(12, 0, {5001})};
    s.monsters = {monster(1, 900, {11, 12, 10})};
    QTest::newRow("rates sorted as strings, N/A last")
        << s << row(1, "", "5001 iron sword", "", "Iron Sword(10.00%/9.00%/N/A)") << 1;

    s.boxes = {box(10, 0, {5001}), box(11, -5, {5002})};
    s.monsters = {monster(1, 100, {10, 11})};
    QTest::newRow("weight below 1 is N/A")
        << s
        << row(1, "", "5001 iron sword 5002 steel shield", "", "Iron Sword(N/A)、Steel Shield(N/A)")
        << 1;

    s.boxes = {box(10, 2, {5001}), box(11, 1000, {5002})};
    s.monsters = {monster(1, 3, {10}), monster(2, 0, {11}), monster(3, -50, {11})};
    QTest::newRow("above 100 %, zero and negative")
        << s
        << row(1, "", "5001 iron sword", "", "Iron Sword(150.00%)") +
               row(2, "", "5002 steel shield", "", "Steel Shield(0.00%)") +
               row(3, "", "5002 steel shield", "", "Steel Shield(-5.00%)")
        << 3;

    s.boxes = {box(10, 1000, {5001, 5002})};
    s.monsters = {monster(1, 100, {10})};
    s.multiplier = 2.5;
    QTest::newRow("multiplier") << s
                                << row(1, "", "5001 iron sword 5002 steel shield", "",
                                       "Iron Sword(25.00%)、Steel Shield(25.00%)")
                                << 1;
    s.multiplier = 1.0;

    s.showRates = false;
    s.boxes = {box(10, 10000, {5002, 5001}), box(11, 0, {5001})};
    s.monsters = {monster(1, 100, {10, 11})};
    QTest::newRow("without rates")
        << s << row(1, "", "5001 iron sword 5002 steel shield", "", "Iron Sword、Steel Shield")
        << 1;
    s.showRates = true;

    s.itemNames = {{5001, "Tom's \"Lucky\" <Charm> & Co"}};
    s.monsterNames = {{1, "King <Rat> & \"Son\" 'X'"}};
    s.boxes = {box(10, 1000, {5001})};
    s.monsters = {monster(1, 100, {10})};
    QTest::newRow("escaped in every place")
        << s
        << "<tr data-monster-id=\"1\" "
           "data-monster-name=\"king &lt;rat&gt; &amp; &quot;son&quot; &#39;x&#39;\" "
           "data-items=\"5001 tom&#39;s &quot;lucky&quot; &lt;charm&gt; &amp; co\">"
           "<td class=\"mono\">1</td>"
           "<td class=\"name\">King &lt;Rat&gt; &amp; &quot;Son&quot; &#39;X&#39;</td>"
           "<td class=\"items\" title=\"Tom&#39;s &quot;Lucky&quot; &lt;Charm&gt; &amp; "
           "Co(10.00%)\">"
           "Tom&#39;s &quot;Lucky&quot; &lt;Charm&gt; &amp; Co(10.00%)</td></tr>\n"
        << 1;
    s.monsterNames.clear();

    s.itemNames = {{9, "Nine"}, {10, "Ten"}, {100, "Hundred"}};
    s.boxes = {box(10, 1000, {100, 10, 9})};
    s.monsters = {monster(1, 100, {10})};
    QTest::newRow("items by ascending id, not slot or string order")
        << s
        << row(1, "", "9 nine 10 ten 100 hundred", "", "Nine(10.00%)、Ten(10.00%)、Hundred(10.00%)")
        << 1;

    s.monsters = {monster(30, 100, {10}), monster(10, 100, {10}), monster(20, 100, {10}),
                  monster(10, 200, {10})};
    s.boxes = {box(10, 1000, {9})};
    QTest::newRow("rows in document order")
        << s
        << row(30, "", "9 nine", "", "Nine(10.00%)") + row(10, "", "9 nine", "", "Nine(10.00%)") +
               row(20, "", "9 nine", "", "Nine(10.00%)") + row(10, "", "9 nine", "", "Nine(20.00%)")
        << 4;

    s.monsters = {monster(-7, 100, {10}), monster(2147483647, 100, {10})};
    QTest::newRow("extreme monster ids") << s
                                         << row(-7, "", "9 nine", "", "Nine(10.00%)") +
                                                row(2147483647, "", "9 nine", "", "Nine(10.00%)")
                                         << 2;
}

void HtmlExportTest::rows()
{
    QFETCH(Scenario, scenario);
    QFETCH(QString, expected);
    QFETCH(int, count);
    const Page page = build(scenario);
    QCOMPARE(page.exportCount, count);
    QCOMPARE(rowsOf(page.html), expected);
}

void HtmlExportTest::headerAndSubLine_data()
{
    QTest::addColumn<bool>("showRates");
    QTest::addColumn<double>("multiplier");
    QTest::addColumn<QString>("sub");
    QTest::addColumn<QString>("header");
    QTest::newRow("rates")
        << true << 1.0
        << "<div class=\"sub\">导出时间：2026-01-02 03:04:05 ｜ 导出怪物数：2 ｜ "
           "全局掉落倍数：x1.00 ｜ 显示爆率：是</div></div>\n"
        << "<th>怪物ID</th><th>怪物名称</th><th>掉落物品（爆率）</th></tr>";
    QTest::newRow("no rates")
        << false << 1.0
        << "<div class=\"sub\">导出时间：2026-01-02 03:04:05 ｜ 导出怪物数：2 "
           "｜ 全局掉落倍数：x1.00 ｜ 显示爆率：否</div></div>\n"
        << "<th>怪物ID</th><th>怪物名称</th><th>掉落物品</th></tr>";
    QTest::newRow("multiplier")
        << true << 2.345
        << "<div class=\"sub\">导出时间：2026-01-02 03:04:05 ｜ 导出怪物数：2 "
           "｜ 全局掉落倍数：x2.35 ｜ 显示爆率：是</div></div>\n"
        << "<th>掉落物品（爆率）</th>";
}

void HtmlExportTest::headerAndSubLine()
{
    QFETCH(bool, showRates);
    QFETCH(double, multiplier);
    QFETCH(QString, sub);
    QFETCH(QString, header);
    Scenario s;
    s.boxes = {box(10, 1000, {5001})};
    s.monsters = {monster(1, 100, {10}), monster(2, 100, {99}), monster(3, 100, {10})};
    s.multiplier = multiplier;
    s.showRates = showRates;
    const Page page = build(s);
    QCOMPARE(page.exportCount, 2);
    QVERIFY2(page.html.contains(sub), qPrintable(page.html.left(3000).right(600)));
    QVERIFY(page.html.contains(header));
    QCOMPARE(page.html.contains(QStringLiteral("（爆率）")), showRates);
}

void HtmlExportTest::nothingToExport()
{
    Scenario s;
    s.boxes = {box(10, 1000, {-1, 0}), box(0, 1000, {5001}), box(-1, 1000, {5001})};
    s.monsters = {monster(1, 100, {10, 99, 0, -1})};
    Page page = build(s);
    QCOMPARE(page.exportCount, 0);
    QVERIFY(page.html.isEmpty());
    s.monsters.clear();
    page = build(s);
    QCOMPARE(page.exportCount, 0);
    QVERIFY(page.html.isEmpty());
}

void HtmlExportTest::golden()
{
    MonsterDropData monsters;
    DropBoxContentData boxes;
    NameResolver &names = NameResolver::instance();
    ExportSample::fill(monsters, boxes, names);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("page.html"));
    const Outcome outcome = exportToFile(path, monsters, boxes, names, 1.0, true,
                                         QDateTime(QDate(2026, 12, 6), QTime(8, 30, 0)));
    QVERIFY2(outcome.written, qPrintable(outcome.text));
    QCOMPARE(outcome.exportCount, 5);
    const QByteArray written = readBytes(path);
    const QString goldenPath = QStringLiteral(LOOTWRIGHT_TEST_DATA "/export/expected.html");
    if (qEnvironmentVariableIsSet("LOOTWRIGHT_WRITE_GOLDEN")) {
        QVERIFY(TestSupport::writeBytes(goldenPath, written));
        QFAIL("golden page rewritten: review it, then run again without LOOTWRIGHT_WRITE_GOLDEN");
    }
    const QByteArray expected = readBytes(goldenPath);
    QVERIFY(expected.startsWith("\xEF\xBB\xBF<!DOCTYPE html>\n"));
    QCOMPARE(written, expected);
}

void HtmlExportTest::htmlSuffix_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("appended"); // ".html" added to the chosen name
    QTest::newRow("no extension") << "/tmp/drops" << true;
    QTest::newRow("html") << "/tmp/drops.html" << false;
    QTest::newRow("upper case") << "/tmp/drops.HTML" << false;
    QTest::newRow("mixed case") << "/tmp/drops.HtMl" << false;
    QTest::newRow("htm") << "/tmp/drops.htm" << true;
    QTest::newRow("other extension") << "/tmp/drops.txt" << true;
    QTest::newRow("html inside the name") << "/tmp/a.html.bak" << true;
    QTest::newRow("only the extension") << ".html" << false;
    QTest::newRow("empty stays empty") << "" << false;
}

void HtmlExportTest::htmlSuffix()
{
    QFETCH(QString, chosen);
    QFETCH(bool, appended);
    QCOMPARE(withHtmlSuffix(chosen), appended ? chosen + QStringLiteral(".html") : chosen);
}

void HtmlExportTest::usableMultiplier_data()
{
    QTest::addColumn<double>("multiplier");
    QTest::addColumn<bool>("usable");
    QTest::newRow("1") << 1.0 << true;
    QTest::newRow("two decimals") << 2.25 << true;
    QTest::newRow("smallest shown") << 0.01 << true;
    QTest::newRow("0") << 0.0 << false;
    QTest::newRow("negative") << -1.0 << false;
    QTest::newRow("inf") << qInf() << false;
    QTest::newRow("nan") << qQNaN() << false;
    QTest::newRow("rates beyond a double") << 1e308 << false;
    QTest::newRow("shown as x0.00") << 1e-320 << false;
    QTest::newRow("shown as x1.23") << 1.234 << false;
}

void HtmlExportTest::usableMultiplier()
{
    QFETCH(double, multiplier);
    QTEST(isUsableMultiplier(multiplier), "usable");
}

void HtmlExportTest::writePageBytes_data()
{
    QTest::addColumn<QString>("html");
    QTest::newRow("empty") << QString();
    QTest::newRow("ascii and chinese") << QStringLiteral("<p>怪物 & 物品</p>\n");
    // A surrogate pair across the encoder's slice boundary must not be split.
    QTest::newRow("pair at slice boundary")
        << QString((1 << 16) - 1, QLatin1Char('a')) + QStringLiteral("😀b") + QString(70000, u'金');
}

void HtmlExportTest::writePageBytes()
{
    QFETCH(QString, html);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("out.html"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(200000, 'z')); // a longer old file is replaced, not overwritten in place
    old.close();
    QString error;
    QVERIFY2(writePage(path, html, error), qPrintable(error));
    QVERIFY(error.isEmpty());
    QCOMPARE(readBytes(path), QByteArray("\xEF\xBB\xBF") + html.toUtf8());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.html"});
}

void HtmlExportTest::writeFailureKeepsTarget_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("limitSize");
    QTest::addColumn<QString>("reason");
    QTest::newRow("directory") << "sub" << false << "Is a directory";
    QTest::newRow("missing directory")
        << "missing/out.html" << false << "No such file or directory";
    QTest::newRow("write fails midway") << "out.html" << true << "File too large";
}

void HtmlExportTest::writeFailureKeepsTarget()
{
    QFETCH(QString, target);
    QFETCH(bool, limitSize);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    const QString path = dir.filePath(target);
    const QByteArray before("previous export");
    if (limitSize) {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(before);
    }
    MonsterDropData monsters;
    DropBoxContentData boxes;
    ExportSample::fill(monsters, boxes, NameResolver::instance());
    Outcome outcome;
    {
        FileSizeLimit limit(limitSize ? 4096 : RLIM_INFINITY);
        if (limitSize && !limit.active)
            QSKIP("cannot lower the file size limit here");
        outcome = exportToFile(path, monsters, boxes, NameResolver::instance(), 1.0, true,
                               QDateTime::currentDateTime());
    }
    QVERIFY(!outcome.written);
    QCOMPARE(outcome.text, QStringLiteral("无法写入文件：%1（%2）").arg(path, reason));
    if (limitSize)
        QCOMPARE(readBytes(path), before);
    // No temporary file is left behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             limitSize ? QStringList{"out.html"} : QStringList{});
}

void HtmlExportTest::outcomes()
{
    MonsterDropData monsters;
    DropBoxContentData boxes;
    NameResolver &names = NameResolver::instance();
    QVERIFY(!hasDocuments(monsters, boxes));
    ExportSample::fill(monsters, boxes, names);
    QVERIFY(hasDocuments(monsters, boxes));

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QDateTime time(QDate(2026, 12, 6), QTime(8, 30, 0));
    QCOMPARE(timestampText(time), ExportSample::timestamp());

    const QString path = dir.filePath(QStringLiteral("drops.html"));
    Outcome outcome = exportToFile(path, monsters, boxes, names, 1.0, true, time);
    QCOMPARE(outcome.kind, Outcome::Information);
    QCOMPARE(outcome.title, QStringLiteral("导出成功"));
    QCOMPARE(outcome.text, QStringLiteral("已导出爆率表到：\n") + path);
    QVERIFY(outcome.written);
    QCOMPARE(outcome.exportCount, 5);
    QCOMPARE(
        readBytes(path),
        QByteArray("\xEF\xBB\xBF") +
            buildPage(monsters, boxes, names, 1.0, true, ExportSample::timestamp()).html.toUtf8());

    for (DropBoxConfig &b : boxes.boxes)
        b.items = QList<DropBoxItem>(100, DropBoxItem{-1, -1});
    const QString none = dir.filePath(QStringLiteral("none.html"));
    outcome = exportToFile(none, monsters, boxes, names, 1.0, true, time);
    QCOMPARE(outcome.kind, Outcome::Information);
    QCOMPARE(outcome.title, QStringLiteral("提示"));
    QCOMPARE(outcome.text, QStringLiteral("未找到可导出的掉落数据"));
    QCOMPARE(outcome.exportCount, 0);
    QVERIFY(!outcome.written);
    QVERIFY(!QFile::exists(none));
}

void HtmlExportTest::largeExportStreamsTheSamePage()
{
    // Large enough that the export hands its text to the file in many pieces.
    NameResolver &names = NameResolver::instance();
    names.clear();
    MonsterDropData monsters;
    DropBoxContentData boxes;
    for (int id = 1; id <= 400; ++id)
        names.commonItemNames.insert(id, QStringLiteral("宝物😀<%1>").arg(id));
    for (int b = 1; b <= 50; ++b) {
        QList<int> items;
        for (int k = 0; k < 80; ++k)
            items << 1 + (b * 37 + k * 11) % 450;
        boxes.boxes << box(b, 1000 + b * 7, items);
    }
    for (int m = 1; m <= 600; ++m)
        monsters.records << monster(m, m, {1 + m % 50, 1 + (m * 7) % 50, 1 + (m * 13) % 50},
                                    QStringLiteral("怪物%1").arg(m));
    const QDateTime time(QDate(2026, 12, 6), QTime(8, 30, 0));
    const Page page = buildPage(monsters, boxes, names, 1.25, true, timestampText(time));
    QCOMPARE(page.exportCount, 600);
    QVERIFY(page.html.size() > 4 * (1 << 19));

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("drops.html"));
    Outcome outcome = exportToFile(path, monsters, boxes, names, 1.25, true, time);
    QVERIFY(outcome.written);
    QCOMPARE(readBytes(path), QByteArray("\xEF\xBB\xBF") + page.html.toUtf8());

    // A write that fails part-way reports the failure and leaves the earlier file as it was.
    const QByteArray before = readBytes(path);
    {
        FileSizeLimit limit(1 << 20);
        if (!limit.active)
            QSKIP("cannot lower the file size limit here");
        outcome = exportToFile(path, monsters, boxes, names, 2.0, true, time);
    }
    QCOMPARE(outcome.kind, Outcome::Critical);
    QCOMPARE(outcome.title, QStringLiteral("导出失败"));
    QCOMPARE(outcome.text, QStringLiteral("无法写入文件：%1（File too large）").arg(path));
    QVERIFY(!outcome.written);
    QCOMPARE(readBytes(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"drops.html"});
}

QTEST_GUILESS_MAIN(HtmlExportTest)
#include "tst_htmlexport.moc"
