#include "EditFixtures.h"
#include "TestSupport.h"
#include "data/DropBoxContentParser.h"

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
        readLine(parser, line.trimmed(), box, error);
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
    QTest::newRow("unicode space inside a field")
        << "1 2 3 4 5\u30006" << 2 << "ItemId 解析失败（槽 1）" << DropBoxConfig{};
    QTest::newRow("zero slots") << "1 2 3 4 5 6" << 0 << "" << DropBoxConfig{1, 2, 3, 4, {}};
    QTest::newRow("negative slot count") << "1 2 3 4" << -3 << "" << DropBoxConfig{1, 2, 3, 4, {}};
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

void DropBoxContentParserTest::emptyHeadersStayInPlace()
{
    const DropBoxContentParser parser(1);
    for (int mask = 0; mask < 8; ++mask) {
        DropBoxContentData data;
        data.headerLine1 = mask & 1 ? QStringLiteral("h1") : QString();
        data.headerLine2 = mask & 2 ? QStringLiteral("h2") : QString();
        data.commentBlock = mask & 4 ? QStringLiteral("# c") : QString();
        data.boxes.append({4, 5, 6, 7, {{8, 9}}});
        DropBoxContentData loaded;
        QVERIFY(readInto(parser, writtenBytes(parser, data), loaded));
        QCOMPARE(describe(loaded), describe(data));
    }
    // A piece that already ends with a line break gets no second one.
    DropBoxContentData data{
        QStringLiteral("a\n"), QStringLiteral("b"), QStringLiteral("# c\n"), {}};
    QCOMPARE(writtenBytes(parser, data), QByteArray("a\nb\n# c\n"));
}

void DropBoxContentParserTest::roundTripBuffer()
{
    const DropBoxContentParser parser(100);
    const auto written = [&parser](const DropBoxContentData &data) {
        return writtenBytes(parser, data);
    };
    const auto read = [&parser](const QByteArray &bytes) {
        DropBoxContentData data;
        readInto(parser, bytes, data);
        return data;
    };
    DropBoxContentData data = sampleDocument(200, 9);
    data.boxes.append({77, 0, -1, 0, itemsOf({{1, 1}}, 103)});
    // Byte for byte the header lines, the comments and each record's own line for every box.
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
