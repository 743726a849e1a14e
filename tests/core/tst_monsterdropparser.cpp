#include "EditFixtures.h"
#include "FailingDevice.h"
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

// One line read as the third line of a file: the record, or the field's error without the
// line number the reader puts before it.
bool readLine(const MonsterDropParser &parser, const QString &line, MonsterDropConfig &record,
              QString &error)
{
    QByteArray bytes = "h1\nh2\n" + line.toUtf8() + '\n';
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    MonsterDropData data;
    QString readError;
    if (!parser.read(buffer, data, readError)) {
        error = readError.remove(QStringLiteral("第 3 行解析失败："));
        return false;
    }
    if (data.records.size() != 1) {
        error = QStringLiteral("no record");
        return false;
    }
    record = data.records.first();
    return true;
}

// A record's line as the writer writes it.
QString writtenLine(const MonsterDropParser &parser, const MonsterDropConfig &record)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QString error;
    parser.write(out, MonsterDropData{QStringLiteral("h1"), QStringLiteral("h2"), {record}}, error);
    return QString::fromUtf8(out.data()).split(u'\n').value(2);
}

// The plain reader, line by line with this parser's field rules: comment lines are dropped.
bool plainLoad(const MonsterDropParser &parser, const QString &path, MonsterDropData &data,
               QString &error)
{
    MonsterDropData loaded;
    const auto body = [&](int lineNumber, const QString &line, QString &lineError) {
        MonsterDropConfig record;
        if (line.trimmed().startsWith(u'#'))
            return true;
        if (!readLine(parser, line, record, lineError)) {
            lineError = QStringLiteral("第 %1 行解析失败：%2").arg(lineNumber).arg(lineError);
            return false;
        }
        loaded.records.append(record);
        return true;
    };
    if (!readPlainLines(path, loaded.headerLine1, loaded.headerLine2, body, error))
        return false;
    data = loaded;
    return true;
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
    void canonicalForm_data();
    void canonicalForm();
    void agreesWithPlainReader();
    void loadErrors_data();
    void loadErrors();
    void failedLoadChangesNothing();
    void fewLinesClearHeaders();
    void carriageReturns_data();
    void carriageReturns();
    void roundTripBuffer();
    void largeFile();
};

void MonsterDropParserTest::integerFields_data()
{
    QTest::addColumn<QString>("text");
    const char16_t *samples[] = {u"12",
                                 u" 12",
                                 u"12 ",
                                 u"+5",
                                 u"-5",
                                 u"-0",
                                 u"+0",
                                 u"007",
                                 u"2147483647",
                                 u"2147483648",
                                 u"-2147483648",
                                 u"-2147483649",
                                 u"4294967296",
                                 u"99999999999999999999",
                                 u"1e3",
                                 u"0x10",
                                 u"\u0661\u0662",
                                 u"\uff11",
                                 u"",
                                 u" ",
                                 u"\t",
                                 u"12 3",
                                 u"\t7",
                                 u"7\t",
                                 u"\v7\f",
                                 u"\n7\r",
                                 u"\u30007",
                                 u"7\u3000",
                                 u"\u00a07",
                                 u"\u22125",
                                 u"+",
                                 u"-",
                                 u"+-5",
                                 u"- 5",
                                 u"--5",
                                 u"12.0",
                                 u"1,000",
                                 u"1_0",
                                 u"\u001c7",
                                 u"x",
                                 u"7x",
                                 u"0000000000000000000000000012",
                                 u"-00000000000000002147483648"};
    for (const char16_t *sample : samples) {
        const QString text = QString::fromUtf16(sample);
        QTest::newRow(qPrintable(QString::fromLatin1(text.toUtf8().toPercentEncoding()))) << text;
    }
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
    QTest::newRow("blanks and signs")
        << " 1001 \t+50\t -1 \t 7 \t+8" << 20 << "" << 1001 << 50 << -1 << slotsOf({7, 8}, 20);
    QTest::newRow("bad boxes become -1")
        << "1\t2\t0\tabc\t2147483648\t-2147483648\t0x10\t\u30007\t5" << 20 << "" << 1 << 2 << 0
        << slotsOf({-1, -1, -2147483648, -1, -1, 5}, 20);
    QTest::newRow("zero and negative boxes kept")
        << "1\t2\t0\t0\t-5" << 4 << "" << 1 << 2 << 0 << QList<int>{0, -5, -1, -1};
    QList<QString> many;
    for (int i = 1; i <= 28; ++i)
        many.append(QString::number(i));
    QList<int> first20;
    for (int i = 4; i <= 23; ++i)
        first20.append(i);
    QTest::newRow("25 box columns keep 20")
        << QStringList(many).join(u'\t') << 20 << "" << 1 << 2 << 3 << first20;
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

void MonsterDropParserTest::canonicalForm_data()
{
    QTest::addColumn<QString>("dir");
    const QDir root(QStringLiteral(LOOTWRIGHT_TEST_DATA "/parsers"));
    const QStringList cases = root.entryList({QStringLiteral("monster_*")}, QDir::Dirs);
    QVERIFY(cases.size() >= 10);
    for (const QString &name : cases)
        QTest::newRow(qPrintable(name)) << root.filePath(name);
}

void MonsterDropParserTest::canonicalForm()
{
    QFETCH(QString, dir);
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    const MonsterDropParser parser(20);
    MonsterDropData data;
    QString error;
    QVERIFY2(parser.load(dir + QStringLiteral("/input.txt"), data, error), qPrintable(error));
    const QString out = temp.filePath(QStringLiteral("MonsterDropBoxs.txt"));
    QVERIFY2(parser.save(out, data, error), qPrintable(error));
    const QByteArray expected = readBytes(dir + QStringLiteral("/expected.txt"));
    QCOMPARE(readBytes(out), expected);
    for (const MonsterDropConfig &record : data.records)
        QCOMPARE(record.dropBoxIds.size(), 20);

    // The canonical form reads back to the same document and the same bytes.
    MonsterDropData again;
    QVERIFY2(parser.load(out, again, error), qPrintable(error));
    QCOMPARE(again.headerLine1, data.headerLine1);
    QCOMPARE(again.headerLine2, data.headerLine2);
    QCOMPARE(again.records, data.records);
    QVERIFY2(parser.save(out, again, error), qPrintable(error));
    QCOMPARE(readBytes(out), expected);
}

void MonsterDropParserTest::agreesWithPlainReader()
{
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("random.txt"));
    QRandomGenerator random(99);
    const MonsterDropParser parser(5);
    for (int round = 0; round < 400; ++round) {
        QByteArray bytes = randomDropFile(random, {QStringLiteral("\t")});
        QVERIFY(writeBytes(path, bytes));
        MonsterDropData expected{QStringLiteral("old1"), QStringLiteral("old2"), {}};
        MonsterDropData fromFile = expected;
        MonsterDropData fromDevice = expected;
        QString expectedError, fileError, deviceError;
        const bool ok = plainLoad(parser, path, expected, expectedError);
        // The device reader on a text-mode buffer reads the same.
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly | QIODevice::Text));
        const QByteArray context = bytes.toPercentEncoding();
        QVERIFY2(parser.load(path, fromFile, fileError) == ok, context.constData());
        QVERIFY2(parser.read(buffer, fromDevice, deviceError) == ok, context.constData());
        QVERIFY2(fileError == expectedError && deviceError == expectedError, context.constData());
        QVERIFY2(describe(fromFile) == describe(expected), context.constData());
        QVERIFY2(describe(fromDevice) == describe(expected), context.constData());
    }
}

void MonsterDropParserTest::loadErrors_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("error");
    QTest::newRow("spaces on line 3")
        << QByteArray("h1\nh2\n1001 50 0 7\n") << "第 3 行解析失败：字段数量不足";
    QTest::newRow("blank line counts")
        << QByteArray("h1\nh2\n\nabc\t1\t0\n") << "第 4 行解析失败：怪物ID解析失败";
    QTest::newRow("comments count") << QByteArray("h1\nh2\n# c\n  # d\n1\t2\t0\n1\tx\t0\n")
                                    << "第 6 行解析失败：Mvalue解析失败";
    QTest::newRow("CRLF lines count") << QByteArray("h1\r\nh2\r\n1\t2\t0\r\n\r\n1\t2\tz\r\n")
                                      << "第 5 行解析失败：掉落类型解析失败";
    QTest::newRow("out of range") << QByteArray("h1\nh2\n1\t-2147483649\t0\n")
                                  << "第 3 行解析失败：Mvalue解析失败";
    QTest::newRow("stops at first bad line")
        << QByteArray("h1\nh2\n1\t2\n1\tx\t0\n") << "第 3 行解析失败：字段数量不足";
}

void MonsterDropParserTest::loadErrors()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, error);
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("MonsterDropBoxs.txt"));
    QVERIFY(writeBytes(path, content));
    const MonsterDropParser parser(20);
    MonsterDropData data;
    QString actual;
    QVERIFY(!parser.load(path, data, actual));
    QCOMPARE(actual, error);
}

void MonsterDropParserTest::failedLoadChangesNothing()
{
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("bad.txt"));
    QVERIFY(writeBytes(path, "new1\nnew2\n5\t6\t0\n7\t8\t0\nbad line\n"));
    const MonsterDropParser parser(20);
    const MonsterDropData before = sampleDocument(3, 1);
    MonsterDropData data = before;
    QString error = QStringLiteral("old");
    QVERIFY(!parser.load(path, data, error));
    QCOMPARE(error, QStringLiteral("第 5 行解析失败：字段数量不足"));
    QCOMPARE(data.headerLine1, before.headerLine1);
    QCOMPARE(data.headerLine2, before.headerLine2);
    QCOMPARE(data.records, before.records);

    // The same through a device.
    QBuffer buffer;
    buffer.setData("x\ny\n1\t2\n");
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QVERIFY(!parser.read(buffer, data, error));
    QCOMPARE(data.records, before.records);
    QCOMPARE(data.headerLine1, before.headerLine1);
}

void MonsterDropParserTest::fewLinesClearHeaders()
{
    const MonsterDropParser parser(20);
    MonsterDropData data = sampleDocument(2, 3);
    QBuffer buffer;
    buffer.setData("only header");
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QString error;
    QVERIFY(parser.read(buffer, data, error));
    QCOMPARE(data.headerLine1, QStringLiteral("only header"));
    QCOMPARE(data.headerLine2, QString());
    QVERIFY(data.records.isEmpty());

    QBuffer empty;
    QVERIFY(empty.open(QIODevice::ReadOnly));
    data = sampleDocument(2, 3);
    QVERIFY(parser.read(empty, data, error));
    QCOMPARE(data.headerLine1, QString());
    QCOMPARE(data.headerLine2, QString());
    QVERIFY(data.records.isEmpty());
}

void MonsterDropParserTest::carriageReturns_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("textMode");
    QTest::addColumn<QString>("header1");
    QTest::addColumn<QString>("header2");
    QTest::addColumn<int>("records");
    // Text mode drops every CR, as a text-mode QFile read through QTextStream does; otherwise
    // only the CR of a CR LF goes, as QTextStream::readLine does.
    QTest::newRow("CRLF, text mode") << QByteArray("h1\r\nh2\r\n1\t2\t0\r\n") << true << "h1"
                                     << "h2" << 1;
    QTest::newRow("CRLF, binary") << QByteArray("h1\r\nh2\r\n1\t2\t0\r\n") << false << "h1"
                                  << "h2" << 1;
    QTest::newRow("lone CR, text mode") << QByteArray("a\rb\nc\r\r\n") << true << "ab"
                                        << "c" << 0;
    QTest::newRow("lone CR, binary") << QByteArray("a\rb\nc\r\r\n") << false << "a\rb"
                                     << "c\r" << 0;
    QTest::newRow("CR at the end") << QByteArray("h1\nh2\r") << false << "h1"
                                   << "h2" << 0;
    QTest::newRow("only CR after the last LF") << QByteArray("h1\n\r") << true << "h1"
                                               << "" << 0;
    QTest::newRow("broken UTF-8 before CR")
        << QByteArray("a\xe4\xb8\r\nb") << true << "a\ufffd\ufffd"
        << "b" << 0;
    QTest::newRow("broken UTF-8 at the end") << QByteArray("a\nb\xe4\xb8") << true << "a"
                                             << "b" << 0;
    QTest::newRow("byte order mark inside")
        << QByteArray("\xef\xbb\xbf"
                      "a\n\xef\xbb\xbf b")
        << true << "a" << QString(QChar(0xfeff)) + QStringLiteral(" b") << 0;
}

void MonsterDropParserTest::carriageReturns()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, textMode);
    const MonsterDropParser parser(20);
    MonsterDropData data;
    QString error;
    QBuffer buffer(&content);
    QVERIFY(buffer.open(textMode ? QIODevice::ReadOnly | QIODevice::Text : QIODevice::ReadOnly));
    QVERIFY(parser.read(buffer, data, error));
    QTEST(data.headerLine1, "header1");
    QTEST(data.headerLine2, "header2");
    QTEST(int(data.records.size()), "records");
    if (textMode) {
        // A file is read as in text mode.
        QTemporaryDir temp;
        const QString path = temp.filePath(QStringLiteral("f.txt"));
        QVERIFY(writeBytes(path, content));
        MonsterDropData fromFile;
        QVERIFY(parser.load(path, fromFile, error));
        QTEST(fromFile.headerLine1, "header1");
        QTEST(fromFile.headerLine2, "header2");
        QTEST(int(fromFile.records.size()), "records");
    }
}

void MonsterDropParserTest::roundTripBuffer()
{
    const MonsterDropParser parser(20);
    const auto written = [&parser](const MonsterDropData &data) {
        QBuffer buffer;
        QString error;
        buffer.open(QIODevice::WriteOnly);
        return parser.write(buffer, data, error) ? buffer.data() : QByteArray("<failed>");
    };
    const auto read = [&parser](QByteArray bytes) {
        QBuffer buffer(&bytes);
        MonsterDropData data;
        QString error;
        buffer.open(QIODevice::ReadOnly);
        parser.read(buffer, data, error);
        return data;
    };
    const MonsterDropData data = sampleDocument(300, 7);
    // Byte for byte the header lines and each record's own line, without a mark.
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
