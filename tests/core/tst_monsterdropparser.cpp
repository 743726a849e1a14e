#include "EditFixtures.h"
#include "TestSupport.h"
#include "data/MonsterDropParser.h"
#include "data/TextScan.h"

#include <QBuffer>
#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace TestSupport;
using EditFixtures::describe;

namespace {

QList<int> slotsOf(std::initializer_list<int> head, int total)
{
    QList<int> list(head);
    while (list.size() < total)
        list.append(-1);
    return list;
}

MonsterDropData sampleDocument(int records, quint32 seed)
{
    QRandomGenerator random(seed);
    MonsterDropData data;
    data.headerLine1 = QStringLiteral("MonsterID\tMValue\tDropType\tDropBox1");
    data.headerLine2 = QStringLiteral("# 怪物ID\t价值\t掉落类型\t掉落包");
    for (int i = 0; i < records; ++i) {
        MonsterDropConfig record;
        record.monsterId = 100000 + i;
        record.mValue = int(random.bounded(1, 100000));
        record.dropType = int(random.bounded(2));
        for (int slot = 0; slot < 20; ++slot)
            record.dropBoxIds.append(random.bounded(3) ? -1 : int(random.bounded(1, 50000)));
        data.records.append(record);
    }
    data.records.append({2147483647, {}, -2147483648, 7, {0, -5, 3}});
    data.records.append({1, {}, 0, 0, {}});
    return data;
}

} // namespace

class MonsterDropParserTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void integerFields_data();
    void integerFields();
    void integerFieldsRandom();
    void numberText();
    void parseLine_data();
    void parseLine();
    void formatLine_data();
    void formatLine();
    void carriageReturns_data();
    void carriageReturns();
    void roundTripBuffer();
    void largeFile();
};

void MonsterDropParserTest::integerFields_data()
{
    QTest::addColumn<QString>("text");
    // Blanks, signs, bounds, other digits and junk, one sample between each "|" and the next.
    const QString samples = QString::fromUtf16(
        u"12| 12|12 |+5|-5|-0|+0|007|2147483647|2147483648|-2147483648|-2147483649|4294967296|"
        u"99999999999999999999|1e3|0x10|\u0661\u0662|\uff11|| |\t|12 3|\t7|7\t|\v7\f|\n7\r|"
        u"\u30007|7\u3000|\u00a07|\u22125|+|-|+-5|- 5|--5|12.0|1,000|1_0|\u001c7|x|7x|"
        u"0000000000000000000000000012|-00000000000000002147483648");
    for (const QString &text : samples.split(u'|'))
        QTest::newRow(qPrintable(QString::fromLatin1(text.toUtf8().toPercentEncoding()))) << text;
    QTest::newRow("NUL then junk") << (QStringLiteral("7") + QChar(0) + QStringLiteral("x"));
    QTest::newRow("NUL first") << (QString(QChar(0)) + QStringLiteral("7"));
    QTest::newRow("blank NUL") << (QStringLiteral("7 ") + QChar(0) + QStringLiteral("\u3000"));
}

void MonsterDropParserTest::integerFields()
{
    QFETCH(QString, text);
    bool expectedOk = false;
    const int expected = text.toInt(&expectedOk);
    int value = 12345;
    const bool ok = TextScan::toInt(text, value);
    QCOMPARE(ok, expectedOk);
    if (ok)
        QCOMPARE(value, expected);
    else
        QCOMPARE(value, 12345); // a failed conversion leaves the target alone
}

void MonsterDropParserTest::integerFieldsRandom()
{
    const char16_t alphabet[] = {u'0',  u'1', u'5', u'9',   u'+', u'-', u' ', u'\t', u'\v',
                                 u'\r', u'x', 0,    0x3000, 0xa0, 0x85, u'.', u'e'};
    QRandomGenerator random(4711);
    for (int i = 0; i < 200000; ++i) {
        QString text;
        const int length = int(random.bounded(9));
        for (int k = 0; k < length; ++k)
            text += QChar(alphabet[random.bounded(int(sizeof alphabet / sizeof *alphabet))]);
        if (random.bounded(4) == 0)
            text.insert(int(random.bounded(text.size() + 1)),
                        QString::number(qint64(random.generate()) * (random.bounded(2) ? 1 : 7) -
                                        2147483648LL));
        bool expectedOk = false;
        const int expected = text.toInt(&expectedOk);
        int value = 0;
        const bool ok = TextScan::toInt(text, value);
        if (ok != expectedOk || (ok && value != expected))
            QFAIL(qPrintable(QStringLiteral("differs from QString::toInt on \"%1\"")
                                 .arg(QString::fromLatin1(text.toUtf8().toPercentEncoding()))));
    }
}

void MonsterDropParserTest::numberText()
{
    QList<int> values = {0,          1,          9,    10,          11,          99,
                         100,        101,        999,  1000,        65535,       999999999,
                         1000000000, 2147483647, -1,   -2,          -9,          -10,
                         -11,        -99,        -100, -1000000000, -2147483647, -2147483647 - 1};
    QRandomGenerator random(3);
    for (int i = 0; i < 10000; ++i)
        values.append(int(random.generate()) >> random.bounded(32));
    for (int value : values) {
        char buffer[16];
        const char *end = TextScan::writeDecimal(buffer, value);
        const QByteArray expected = QByteArray::number(value);
        QCOMPARE(QByteArray(buffer, int(end - buffer)), expected);
    }
}

void MonsterDropParserTest::parseLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("slotCount");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("monsterId");
    QTest::addColumn<int>("mValue");
    QTest::addColumn<int>("dropType");
    QTest::addColumn<QList<int>>("boxes");

    QTest::newRow("three fields") << "1001\t50\t0" << 20 << "" << 1001 << 50 << 0
                                  << slotsOf({}, 20);
    QTest::newRow("empty box field")
        << "1001\t50\t1\t7\t\t9" << 20 << "" << 1001 << 50 << 1 << slotsOf({7, -1, 9}, 20);
    QTest::newRow("spaces instead of TABs")
        << "1001 50 0 7" << 20 << "字段数量不足" << 0 << 0 << 0 << QList<int>();
    QTest::newRow("two fields") << "1001\t50" << 20 << "字段数量不足" << 0 << 0 << 0
                                << QList<int>();
    QTest::newRow("count before numbers")
        << "abc\tdef" << 20 << "字段数量不足" << 0 << 0 << 0 << QList<int>();
    QTest::newRow("bad id") << "x1\t50\t0" << 20 << "怪物ID解析失败" << 0 << 0 << 0 << QList<int>();
    QTest::newRow("empty id") << "\t\t0" << 20 << "怪物ID解析失败" << 0 << 0 << 0 << QList<int>();
    QTest::newRow("id too big") << "2147483648\t50\t0" << 20 << "怪物ID解析失败" << 0 << 0 << 0
                                << QList<int>();
    QTest::newRow("bad value") << "1\t5 0\t0" << 20 << "Mvalue解析失败" << 1 << 0 << 0
                               << QList<int>();
    QTest::newRow("bad drop type")
        << "1\t50\t" << 20 << "掉落类型解析失败" << 1 << 50 << 0 << QList<int>();
    QTest::newRow("any drop type") << "1\t50\t-7" << 3 << "" << 1 << 50 << -7 << slotsOf({}, 3);
    QTest::newRow("bad boxes become -1")
        << "1\t2\t0\tabc\t2147483648\t-2147483648\t0x10\t\u30007\t5" << 20 << "" << 1 << 2 << 0
        << slotsOf({-1, -1, -2147483648, -1, -1, 5}, 20);
    QTest::newRow("zero and negative boxes kept")
        << "1\t2\t0\t0\t-5" << 4 << "" << 1 << 2 << 0 << QList<int>{0, -5, -1, -1};
    QTest::newRow("trailing TAB is an empty box")
        << "1\t2\t3\t4\t" << 3 << "" << 1 << 2 << 3 << QList<int>{4, -1, -1};
    QTest::newRow("no slots") << "1\t2\t3\t4" << 0 << "" << 1 << 2 << 3 << QList<int>();
}

void MonsterDropParserTest::parseLine()
{
    QFETCH(QString, line);
    QFETCH(int, slotCount);
    QFETCH(QString, error);
    const MonsterDropParser parser(slotCount);
    MonsterDropConfig record;
    QString actualError = QStringLiteral("untouched");
    const bool ok = readLine(parser, line, record, actualError);
    QCOMPARE(ok, error.isEmpty());
    if (!ok) {
        QCOMPARE(actualError, error);
        return;
    }
    QCOMPARE(actualError, QStringLiteral("untouched"));
    QTEST(record.monsterId, "monsterId");
    QTEST(record.mValue, "mValue");
    QTEST(record.dropType, "dropType");
    QTEST(record.dropBoxIds, "boxes");
    QCOMPARE(record.dropBoxIds.capacity(), record.dropBoxIds.size());
    QVERIFY(record.displayName.isEmpty());
}

void MonsterDropParserTest::formatLine_data()
{
    QTest::addColumn<MonsterDropConfig>("record");
    QTest::addColumn<QString>("text");
    QTest::newRow("twenty empty slots") << MonsterDropConfig{1001, {}, 50, 0, slotsOf({}, 20)}
                                        << "1001\t50\t0\t-1\t-1\t-1\t-1\t-1\t-1\t-1\t-1\t-1\t-1\t-"
                                           "1\t-1\t-1\t-1\t-1\t-1\t-1\t-1\t-1\t-1";
    QTest::newRow("nine slots") << MonsterDropConfig{7, {}, 1, 1, slotsOf({1}, 9)}
                                << "7\t1\t1\t1\t-1\t-1\t-1\t-1\t-1\t-1\t-1\t-1";
    QTest::newRow("no slots") << MonsterDropConfig{7, {}, 1, 1, {}} << "7\t1\t1";
    QTest::newRow("extremes") << MonsterDropConfig{-2147483647 - 1,
                                                   QStringLiteral("名字"),
                                                   2147483647,
                                                   -3,
                                                   {0, 10, 999999999}}
                              << "-2147483648\t2147483647\t-3\t0\t10\t999999999";
}

void MonsterDropParserTest::formatLine()
{
    QFETCH(MonsterDropConfig, record);
    QFETCH(QString, text);
    const MonsterDropParser parser(20);
    QCOMPARE(writtenLine(parser, record), text);
}

void MonsterDropParserTest::carriageReturns_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("textMode");
    QTest::addColumn<QString>("headers"); // the two header lines, "|" between them
    // Text mode drops every CR, as a text-mode QFile read through QTextStream does; otherwise
    // only the CR of a CR LF goes, as QTextStream::readLine does.
    QTest::newRow("lone CR, text mode") << QByteArray("a\rb\nc\r\r\n") << true << "ab|c";
    QTest::newRow("lone CR, binary") << QByteArray("a\rb\nc\r\r\n") << false << "a\rb|c\r";
    QTest::newRow("CR at the end") << QByteArray("h1\nh2\r") << false << "h1|h2";
    QTest::newRow("only CR after the last LF") << QByteArray("h1\n\r") << true << "h1|";
    QTest::newRow("broken UTF-8 before CR")
        << QByteArray("a\xe4\xb8\r\nb") << true << "a\ufffd\ufffd|b";
    QTest::newRow("broken UTF-8 at the end") << QByteArray("a\nb\xe4\xb8") << true << "a|b";
    QTest::newRow("byte order mark inside") << QByteArray("\xef\xbb\xbf"
                                                          "a\n\xef\xbb\xbf b")
                                            << true << "a|\ufeff b";
}

void MonsterDropParserTest::carriageReturns()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, textMode);
    const MonsterDropParser parser(20);
    MonsterDropData data;
    QVERIFY(readInto(parser, content, data, textMode));
    QTEST(QString(data.headerLine1 + u'|' + data.headerLine2), "headers");
    QVERIFY(data.records.isEmpty());
    if (textMode) {
        // A file is read as in text mode.
        QTemporaryDir temp;
        const QString path = temp.filePath(QStringLiteral("f.txt"));
        QVERIFY(writeBytes(path, content));
        MonsterDropData fromFile;
        QString error;
        QVERIFY(parser.load(path, fromFile, error));
        QCOMPARE(describe(fromFile), describe(data));
    }
}

void MonsterDropParserTest::roundTripBuffer()
{
    const MonsterDropParser parser(20);
    const auto written = [&parser](const MonsterDropData &data) {
        return writtenBytes(parser, data);
    };
    const auto read = [&parser](const QByteArray &bytes) {
        MonsterDropData data;
        readInto(parser, bytes, data);
        return data;
    };
    const MonsterDropData data = sampleDocument(300, 7);
    // Byte for byte the header lines and each record's own line for every record, without a mark.
    QStringList lines = {data.headerLine1, data.headerLine2};
    for (const MonsterDropConfig &record : data.records)
        lines.append(writtenLine(parser, record));
    const QByteArray bytes = written(data);
    QCOMPARE(bytes, (lines.join(u'\n') + u'\n').toUtf8());

    // Records with other slot counts come back padded or cut to 20; then the bytes stay.
    MonsterDropData expected = data;
    expected.records[300].dropBoxIds = slotsOf({0, -5, 3}, 20);
    expected.records[301].dropBoxIds = slotsOf({}, 20);
    const MonsterDropData loaded = read(bytes);
    QCOMPARE(describe(loaded), describe(expected));
    QCOMPARE(written(read(written(loaded))), written(loaded));
}

void MonsterDropParserTest::largeFile()
{
    // Big enough that lines straddle the reader's blocks, with a header line far longer than one.
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("MonsterDropBoxs.txt"));
    const MonsterDropParser parser(20);
    MonsterDropData data = sampleDocument(60000, 17);
    data.records.removeLast();
    data.records.removeLast();
    data.headerLine2 =
        QString(1500000, QChar(0x72fc)) + QStringLiteral("\t") + QString(1500000, u'x');
    QString error;
    QVERIFY(parser.save(path, data, error));
    const QByteArray first = readBytes(path);
    QVERIFY(first.size() > 9000000);
    MonsterDropData loaded;
    QVERIFY2(parser.load(path, loaded, error), qPrintable(error));
    QCOMPARE(loaded.headerLine2, data.headerLine2);
    QVERIFY(loaded.records == data.records);
    // Saved again: the same bytes, and no temporary file left beside it.
    QVERIFY(parser.save(path, loaded, error));
    QVERIFY(readBytes(path) == first);
    QCOMPARE(QDir(temp.path()).entryList(QDir::Files),
             QStringList{QStringLiteral("MonsterDropBoxs.txt")});
}

QTEST_GUILESS_MAIN(MonsterDropParserTest)
#include "tst_monsterdropparser.moc"
