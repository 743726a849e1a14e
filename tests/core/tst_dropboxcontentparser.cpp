#include "EditFixtures.h"
#include "FailingDevice.h"
#include "TestSupport.h"
#include "data/DropBoxContentParser.h"
#include "data/TextScan.h"

#include <QBuffer>
#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace TestSupport;
using EditFixtures::describe;

namespace {

QList<DropBoxItem> itemsOf(std::initializer_list<DropBoxItem> head, int total)
{
    QList<DropBoxItem> list(head);
    while (list.size() < total)
        list.append({-1, -1});
    return list;
}

QString emptyPairs(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QStringLiteral(" -1 -1");
    return text;
}

// One line read as the third line of a file: the box, or the field's error without the line
// number the reader puts before it.
bool readLine(const DropBoxContentParser &parser, const QString &line, DropBoxConfig &box,
              QString &error)
{
    QByteArray bytes = "h1\nh2\n" + line.toUtf8() + '\n';
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    DropBoxContentData data;
    QString readError;
    if (!parser.read(buffer, data, readError)) {
        error = readError.remove(QStringLiteral("解析数据行失败（第 3 行）："));
        return false;
    }
    if (data.boxes.size() != 1) {
        error = QStringLiteral("no box");
        return false;
    }
    box = data.boxes.first();
    return true;
}

// A box's line as the writer writes it.
QString writtenLine(const DropBoxContentParser &parser, const DropBoxConfig &box)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QString error;
    parser.write(out, DropBoxContentData{QStringLiteral("h1"), QStringLiteral("h2"), {}, {box}},
                 error);
    return QString::fromUtf8(out.data()).split(u'\n').value(2);
}

// The plain reader, line by line with this parser's field rules: comment lines gather in the
// comment block.
bool plainLoad(const DropBoxContentParser &parser, const QString &path, DropBoxContentData &data,
               QString &error)
{
    DropBoxContentData loaded;
    const auto body = [&](int lineNumber, const QString &line, QString &lineError) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(u'#')) {
            loaded.commentBlock +=
                (loaded.commentBlock.isEmpty() ? QString() : QStringLiteral("\n")) + line;
            return true;
        }
        DropBoxConfig box;
        if (!readLine(parser, trimmed, box, lineError)) {
            lineError =
                QStringLiteral("解析数据行失败（第 %1 行）：%2").arg(lineNumber).arg(lineError);
            return false;
        }
        loaded.boxes.append(box);
        return true;
    };
    if (!readPlainLines(path, loaded.headerLine1, loaded.headerLine2, body, error))
        return false;
    data = loaded;
    return true;
}

DropBoxContentData sampleDocument(int boxes, quint32 seed)
{
    QRandomGenerator random(seed);
    DropBoxContentData data;
    data.headerLine1 = QStringLiteral("ID BoxValue NotifyId ForceOpenFlag ItemId1 Level1");
    data.headerLine2 = QStringLiteral("# 掉落包 权重 公告 强制绑定");
    data.commentBlock = QStringLiteral("# 第一条注释\n    # 缩进的注释");
    for (int i = 0; i < boxes; ++i) {
        DropBoxConfig box;
        box.boxId = 1 + i;
        box.boxValue = int(random.bounded(0, 1000000));
        box.notifyId = random.bounded(4) ? -1 : int(random.bounded(1, 300));
        box.forceOpenFlag = int(random.bounded(2));
        const int filled = int(random.bounded(1, 101));
        for (int slot = 0; slot < 100; ++slot) {
            if (slot < filled)
                box.items.append({int(random.bounded(1, 2000000)), int(random.bounded(0, 120))});
            else
                box.items.append({-1, -1});
        }
        data.boxes.append(box);
    }
    return data;
}

} // namespace

class DropBoxContentParserTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void blankSetMatchesRegularExpression();
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
    void fewLinesClearDocument();
    void emptyHeadersStayInPlace();
    void roundTripBuffer();
    void largeFile();
};

void DropBoxContentParserTest::blankSetMatchesRegularExpression()
{
    // Every UTF-16 code unit either separates fields as "\\s+" does or stays inside a field.
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const DropBoxContentParser parser(1);
    for (int code = 1; code < 0x10000; ++code) {
        // Surrogates stand alone, and a line of a file holds no line feed or carriage return.
        if ((code >= 0xD800 && code < 0xE000) || code == '\n' || code == '\r')
            continue;
        // After a blank the fourth field is "x"; otherwise the third is "3?x".
        const QString line = QStringLiteral("1 2 3") + QChar(code) + QStringLiteral("x 5 6");
        DropBoxConfig box;
        QString error;
        readLine(parser, line, box, error);
        const bool separates = blanks.match(QString(QChar(code))).hasMatch();
        if (error != (separates ? QStringLiteral("ForceOpenFlag 解析失败")
                                : QStringLiteral("NotifyId 解析失败")))
            QFAIL(qPrintable(QStringLiteral("character U+%1 splits differently").arg(code, 4, 16)));
    }
}

void DropBoxContentParserTest::parseLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("slotCount");
    QTest::addColumn<QString>("error");
    QTest::addColumn<DropBoxConfig>("box");

    QTest::newRow("four fields") << "1 100 -1 0" << 100 << ""
                                 << DropBoxConfig{1, 100, -1, 0, itemsOf({}, 100)};
    QTest::newRow("one pair") << "1 100 -1 0 5001 1" << 100 << ""
                              << DropBoxConfig{1, 100, -1, 0, itemsOf({{5001, 1}}, 100)};
    QTest::newRow("item without level") << "1 100 -1 0 5001" << 100 << ""
                                        << DropBoxConfig{1, 100, -1, 0, itemsOf({{5001, -1}}, 100)};
    QTest::newRow("three fields") << "1 100 -1" << 100 << "列数过少: 3" << DropBoxConfig{};
    QTest::newRow("count before numbers") << "a b" << 100 << "列数过少: 2" << DropBoxConfig{};
    QTest::newRow("bad id") << "x 1 1 1" << 100 << "ID 解析失败" << DropBoxConfig{};
    QTest::newRow("bad weight") << "1 1.5 1 1" << 100 << "BoxValue 解析失败" << DropBoxConfig{};
    QTest::newRow("bad notify") << "1 1 0x1 1" << 100 << "NotifyId 解析失败" << DropBoxConfig{};
    QTest::newRow("bad flag") << "1 1 1 2147483648" << 100 << "ForceOpenFlag 解析失败"
                              << DropBoxConfig{};
    QTest::newRow("bad first item")
        << "1 1 1 1 abc 1" << 100 << "ItemId 解析失败（槽 1）" << DropBoxConfig{};
    QTest::newRow("bad third level")
        << "1 1 1 1 5 1 6 2 7 -" << 100 << "Level 解析失败（槽 3）" << DropBoxConfig{};
    QTest::newRow("bad pair after the last slot ignored")
        << "1 1 1 1 5 1 6 2 x y" << 2 << "" << DropBoxConfig{1, 1, 1, 1, {{5, 1}, {6, 2}}};
    QTest::newRow("tabs and runs")
        << "1\t\t2   3 \t 4\v5\f6" << 2 << "" << DropBoxConfig{1, 2, 3, 4, {{5, 6}, {-1, -1}}};
    QTest::newRow("signs") << "+1 -2 +0 -0 +7 -8" << 1 << ""
                           << DropBoxConfig{1, -2, 0, 0, {{7, -8}}};
    QTest::newRow("unicode space inside a field")
        << "1 2 3 4 5\u30006" << 2 << "ItemId 解析失败（槽 1）" << DropBoxConfig{};
    QTest::newRow("zero slots") << "1 2 3 4 5 6" << 0 << "" << DropBoxConfig{1, 2, 3, 4, {}};
    QTest::newRow("negative slot count") << "1 2 3 4" << -3 << "" << DropBoxConfig{1, 2, 3, 4, {}};
    QString many = QStringLiteral("9 1 -1 0");
    QList<DropBoxItem> hundred;
    for (int i = 1; i <= 110; ++i) {
        many += QStringLiteral(" %1 %2").arg(i).arg(i % 7);
        if (i <= 100)
            hundred.append({i, i % 7});
    }
    QTest::newRow("pairs after the 100th ignored")
        << many << 100 << "" << DropBoxConfig{9, 1, -1, 0, hundred};
}

void DropBoxContentParserTest::parseLine()
{
    QFETCH(QString, line);
    QFETCH(int, slotCount);
    QFETCH(QString, error);
    QFETCH(DropBoxConfig, box);
    const DropBoxContentParser parser(slotCount);
    DropBoxConfig actual;
    QString actualError = QStringLiteral("untouched");
    const bool ok = readLine(parser, line, actual, actualError);
    QCOMPARE(ok, error.isEmpty());
    if (!ok) {
        QCOMPARE(actualError, error);
        return;
    }
    QCOMPARE(actualError, QStringLiteral("untouched"));
    QCOMPARE(actual, box);
    QCOMPARE(actual.items.capacity(), actual.items.size());
}

void DropBoxContentParserTest::formatLine_data()
{
    QTest::addColumn<int>("slotCount");
    QTest::addColumn<DropBoxConfig>("box");
    QTest::addColumn<QString>("text");
    QTest::newRow("no slots padded") << 100 << DropBoxConfig{1, 100, -1, 0, {}}
                                     << QStringLiteral("1 100 -1 0") + emptyPairs(100);
    QTest::newRow("one item") << 100 << DropBoxConfig{1, 100, -1, 0, {{5001, 1}}}
                              << QStringLiteral("1 100 -1 0 5001 1") + emptyPairs(99);
    QTest::newRow("more slots than the count")
        << 2 << DropBoxConfig{3, 0, 5, 1, {{1, 2}, {3, 4}, {5, 6}}} << "3 0 5 1 1 2 3 4 5 6";
    QTest::newRow("extremes") << 1 << DropBoxConfig{-2147483647 - 1, 2147483647, 0, -1, {{0, -7}}}
                              << "-2147483648 2147483647 0 -1 0 -7";
    QTest::newRow("negative slot count") << -1 << DropBoxConfig{1, 2, 3, 4, {}} << "1 2 3 4";
}

void DropBoxContentParserTest::formatLine()
{
    QFETCH(int, slotCount);
    QFETCH(DropBoxConfig, box);
    QFETCH(QString, text);
    const DropBoxContentParser parser(slotCount);
    const QString line = writtenLine(parser, box);
    QCOMPARE(line, text);
    if (slotCount == 100)
        QCOMPARE(line.split(u' ').size(), 204);
}

void DropBoxContentParserTest::canonicalForm_data()
{
    QTest::addColumn<QString>("dir");
    const QDir root(QStringLiteral(LOOTWRIGHT_TEST_DATA "/parsers"));
    const QStringList cases = root.entryList({QStringLiteral("box_*")}, QDir::Dirs);
    QVERIFY(cases.size() >= 10);
    for (const QString &name : cases)
        QTest::newRow(qPrintable(name)) << root.filePath(name);
}

void DropBoxContentParserTest::canonicalForm()
{
    QFETCH(QString, dir);
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    const DropBoxContentParser parser(100);
    DropBoxContentData data;
    QString error;
    QVERIFY2(parser.load(dir + QStringLiteral("/input.txt"), data, error), qPrintable(error));
    for (const DropBoxConfig &box : data.boxes)
        QCOMPARE(box.items.size(), 100);
    const QString out = temp.filePath(QStringLiteral("DropBoxContent.txt"));
    QVERIFY2(parser.save(out, data, error), qPrintable(error));
    const QByteArray expected = readBytes(dir + QStringLiteral("/expected.txt"));
    QCOMPARE(readBytes(out), expected);

    DropBoxContentData again;
    QVERIFY2(parser.load(out, again, error), qPrintable(error));
    QCOMPARE(again.headerLine1, data.headerLine1);
    QCOMPARE(again.headerLine2, data.headerLine2);
    QCOMPARE(again.commentBlock, data.commentBlock);
    QCOMPARE(again.boxes, data.boxes);
    QVERIFY2(parser.save(out, again, error), qPrintable(error));
    QCOMPARE(readBytes(out), expected);
}

void DropBoxContentParserTest::agreesWithPlainReader()
{
    const QStringList gaps = {QStringLiteral(" "),      QStringLiteral("\t"),
                              QStringLiteral("  \t "),  QStringLiteral("\v"),
                              QStringLiteral("\u3000"), QStringLiteral("\r")};
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("random.txt"));
    QRandomGenerator random(7);
    const DropBoxContentParser parser(3);
    for (int round = 0; round < 400; ++round) {
        QByteArray bytes = randomDropFile(random, gaps);
        QVERIFY(writeBytes(path, bytes));
        DropBoxContentData expected{
            QStringLiteral("old1"), QStringLiteral("old2"), QStringLiteral("# old"), {}};
        DropBoxContentData fromFile = expected;
        DropBoxContentData fromDevice = expected;
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

void DropBoxContentParserTest::loadErrors_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("error");
    QTest::newRow("three fields") << QByteArray("h1\nh2\n1 100 -1\n")
                                  << "解析数据行失败（第 3 行）：列数过少: 3";
    QTest::newRow("blank and comment lines count")
        << QByteArray("h1\nh2\n\n# c\n   # d\n1 1 1 1\n1 1 1 1 z\n")
        << "解析数据行失败（第 7 行）：ItemId 解析失败（槽 1）";
    QTest::newRow("CRLF") << QByteArray("h1\r\nh2\r\n\r\n1 1 1 x\r\n")
                          << "解析数据行失败（第 4 行）：ForceOpenFlag 解析失败";
    QTest::newRow("out of range") << QByteArray("h\nh\n1 -2147483649 0 0\n")
                                  << "解析数据行失败（第 3 行）：BoxValue 解析失败";
    QTest::newRow("level of slot 2") << QByteArray("h\nh\n1 1 1 1 1 1 2 ?\n")
                                     << "解析数据行失败（第 3 行）：Level 解析失败（槽 2）";
}

void DropBoxContentParserTest::loadErrors()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, error);
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("DropBoxContent.txt"));
    QVERIFY(writeBytes(path, content));
    const DropBoxContentParser parser(100);
    DropBoxContentData data;
    QString actual;
    QVERIFY(!parser.load(path, data, actual));
    QCOMPARE(actual, error);
}

void DropBoxContentParserTest::failedLoadChangesNothing()
{
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("bad.txt"));
    QVERIFY(writeBytes(path, "n1\nn2\n# new comment\n5 6 0 0\n7 8\n"));
    const DropBoxContentParser parser(100);
    const DropBoxContentData before = sampleDocument(3, 1);
    DropBoxContentData data = before;
    QString error;
    QVERIFY(!parser.load(path, data, error));
    QCOMPARE(error, QStringLiteral("解析数据行失败（第 5 行）：列数过少: 2"));
    QCOMPARE(data.headerLine1, before.headerLine1);
    QCOMPARE(data.headerLine2, before.headerLine2);
    QCOMPARE(data.commentBlock, before.commentBlock);
    QCOMPARE(data.boxes, before.boxes);
}

void DropBoxContentParserTest::fewLinesClearDocument()
{
    const DropBoxContentParser parser(100);
    DropBoxContentData data = sampleDocument(2, 3);
    QBuffer buffer;
    buffer.setData("only header\n");
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QString error;
    QVERIFY(parser.read(buffer, data, error));
    QCOMPARE(data.headerLine1, QStringLiteral("only header"));
    QCOMPARE(data.headerLine2, QString());
    QCOMPARE(data.commentBlock, QString());
    QVERIFY(data.boxes.isEmpty());
}

void DropBoxContentParserTest::emptyHeadersStayInPlace()
{
    const DropBoxContentParser parser(1);
    for (int mask = 0; mask < 8; ++mask) {
        DropBoxContentData data;
        data.headerLine1 = mask & 1 ? QStringLiteral("h1") : QString();
        data.headerLine2 = mask & 2 ? QStringLiteral("h2") : QString();
        data.commentBlock = mask & 4 ? QStringLiteral("# c") : QString();
        data.boxes.append({4, 5, 6, 7, {{8, 9}}});
        QBuffer buffer;
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        QString error;
        QVERIFY(parser.write(buffer, data, error));
        buffer.close();
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        DropBoxContentData loaded;
        QVERIFY(parser.read(buffer, loaded, error));
        QCOMPARE(loaded.headerLine1, data.headerLine1);
        QCOMPARE(loaded.headerLine2, data.headerLine2);
        QCOMPARE(loaded.commentBlock, data.commentBlock);
        QCOMPARE(loaded.boxes, data.boxes);
    }
    // A piece that already ends with a line break gets no second one.
    DropBoxContentData data{
        QStringLiteral("a\n"), QStringLiteral("b"), QStringLiteral("# c\n"), {}};
    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QString error;
    QVERIFY(parser.write(buffer, data, error));
    QCOMPARE(buffer.data(), QByteArray("a\nb\n# c\n"));
}

void DropBoxContentParserTest::roundTripBuffer()
{
    const DropBoxContentParser parser(100);
    const auto written = [&parser](const DropBoxContentData &data) {
        QBuffer buffer;
        QString error;
        buffer.open(QIODevice::WriteOnly);
        return parser.write(buffer, data, error) ? buffer.data() : QByteArray("<failed>");
    };
    const auto read = [&parser](QByteArray bytes) {
        QBuffer buffer(&bytes);
        DropBoxContentData data;
        QString error;
        buffer.open(QIODevice::ReadOnly);
        parser.read(buffer, data, error);
        return data;
    };
    DropBoxContentData data = sampleDocument(200, 9);
    data.boxes.append({77, 0, -1, 0, itemsOf({{1, 1}}, 103)});
    // Byte for byte the header lines, the comments and each box's own line.
    QStringList lines = {data.headerLine1, data.headerLine2, data.commentBlock};
    for (const DropBoxConfig &box : data.boxes)
        lines.append(writtenLine(parser, box));
    QCOMPARE(lines.constLast().split(u' ').size(), 4 + 2 * 103);
    const QByteArray bytes = written(data);
    QCOMPARE(bytes, (lines.join(u'\n') + u'\n').toUtf8());

    // A box with more slots comes back cut to 100; then the bytes stay.
    DropBoxContentData expected = data;
    expected.boxes.last().items.resize(100);
    const DropBoxContentData loaded = read(bytes);
    QCOMPARE(describe(loaded), describe(expected));
    QCOMPARE(written(read(written(loaded))), written(loaded));
}

void DropBoxContentParserTest::largeFile()
{
    // Big enough that lines straddle the reader's blocks, with a comment line far longer than one.
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("DropBoxContent.txt"));
    const DropBoxContentParser parser(100);
    DropBoxContentData data = sampleDocument(9000, 21);
    data.commentBlock += QStringLiteral("\n# ") + QString(1500000, QChar(0x4e2d));
    QString error;
    QVERIFY(parser.save(path, data, error));
    QVERIFY(QFileInfo(path).size() > 10000000);
    DropBoxContentData loaded;
    QVERIFY2(parser.load(path, loaded, error), qPrintable(error));
    QCOMPARE(loaded.commentBlock, data.commentBlock);
    QVERIFY(loaded.boxes == data.boxes);
    // Saved again: the same bytes, and no temporary file left beside it.
    const QByteArray first = readBytes(path);
    QVERIFY(parser.save(path, loaded, error));
    QVERIFY(readBytes(path) == first);
    QCOMPARE(QDir(temp.path()).entryList(QDir::Files),
             QStringList{QStringLiteral("DropBoxContent.txt")});

    // A bad line far into the file is reported with its line number.
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    file.write("1 2 3\n");
    file.close();
    QVERIFY(!parser.load(path, loaded, error));
    QCOMPARE(error,
             QStringLiteral("解析数据行失败（第 %1 行）：列数过少: 3").arg(2 + 3 + 9000 + 1));
}

QTEST_GUILESS_MAIN(DropBoxContentParserTest)
#include "tst_dropboxcontentparser.moc"
