#include "FailingDevice.h"
#include "data/DropBoxContentParser.h"
#include "data/TextScan.h"

#include <QBuffer>
#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

namespace {

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

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

// The reading rules written out plainly with QTextStream, QRegularExpression and
// QString::toInt; the fast reader must agree with it on every input.
bool referenceParse(const QString &line, int slotCount, DropBoxConfig &box, QString &error)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList fields = line.split(blanks, Qt::SkipEmptyParts);
    if (fields.size() < 4) {
        error = QStringLiteral("列数过少: %1").arg(fields.size());
        return false;
    }
    bool ok = false;
    const char *names[] = {"ID 解析失败", "BoxValue 解析失败", "NotifyId 解析失败",
                           "ForceOpenFlag 解析失败"};
    int *targets[] = {&box.boxId, &box.boxValue, &box.notifyId, &box.forceOpenFlag};
    for (int i = 0; i < 4; ++i) {
        const int value = fields[i].toInt(&ok);
        if (!ok) {
            error = QString::fromUtf8(names[i]);
            return false;
        }
        *targets[i] = value;
    }
    box.items.clear();
    for (int n = 1; n <= slotCount; ++n) {
        const int c = 4 + 2 * n - 1;
        DropBoxItem item;
        if (fields.size() >= c) {
            item.itemId = fields[c - 1].toInt(&ok);
            if (!ok) {
                error = QStringLiteral("ItemId 解析失败（槽 %1）").arg(n);
                return false;
            }
        }
        if (fields.size() >= c + 1) {
            item.level = fields[c].toInt(&ok);
            if (!ok) {
                error = QStringLiteral("Level 解析失败（槽 %1）").arg(n);
                return false;
            }
        }
        box.items.append(item);
    }
    return true;
}

bool referenceLoad(const QString &path, int slotCount, DropBoxContentData &data, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = QStringLiteral("无法打开文件: %1").arg(path);
        return false;
    }
    QTextStream in(&file);
    in.setEncoding(QStringConverter::System);
    DropBoxContentData loaded;
    int lineNumber = 0;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        ++lineNumber;
        if (lineNumber == 1) {
            loaded.headerLine1 = line;
            continue;
        }
        if (lineNumber == 2) {
            loaded.headerLine2 = line;
            continue;
        }
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        if (trimmed.startsWith(u'#')) {
            if (!loaded.commentBlock.isEmpty())
                loaded.commentBlock += u'\n';
            loaded.commentBlock += line;
            continue;
        }
        DropBoxConfig box;
        QString lineError;
        if (!referenceParse(trimmed, slotCount, box, lineError)) {
            error = QStringLiteral("解析数据行失败（第 %1 行）：%2").arg(lineNumber).arg(lineError);
            return false;
        }
        loaded.boxes.append(box);
    }
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
    void unopenableFile_data();
    void unopenableFile();
    void emptyHeadersStayInPlace();
    void roundTripBuffer();
    void roundTripFile();
    void largeFile();
    void saveFailures_data();
    void saveFailures();
    void writeFailureReported();
    void silentReader();
    void readErrorFailsLoad_data();
    void readErrorFailsLoad();
    void markUnderOtherSystemEncoding_data();
    void markUnderOtherSystemEncoding();
};

void DropBoxContentParserTest::blankSetMatchesRegularExpression()
{
    // Every UTF-16 code unit either separates fields like "\\s+" does or stays inside a field.
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const DropBoxContentParser parser(1);
    for (int code = 1; code < 0x10000; ++code) {
        if (code >= 0xD800 && code < 0xE000)
            continue;
        const QString line = QStringLiteral("1 2 3") + QChar(code) + QStringLiteral("4 5 6");
        DropBoxConfig expected, actual;
        QString expectedError, actualError;
        const bool expectedOk = referenceParse(line.trimmed(), 1, expected, expectedError);
        const bool ok = parser.parseLine(line.trimmed(), actual, actualError);
        if (ok != expectedOk || actualError != expectedError || (ok && actual != expected))
            QFAIL(qPrintable(QStringLiteral("character U+%1 splits differently").arg(code, 4, 16)));
        QCOMPARE(blanks.match(QString(QChar(code))).hasMatch(), ok && actual.forceOpenFlag == 4);
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
    QTest::newRow("no fields") << "" << 100 << "列数过少: 0" << DropBoxConfig{};
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
    const bool ok = parser.parseLine(line, actual, actualError);
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
    const QString line = parser.formatLine(box);
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
    const QStringList pieces = {QStringLiteral("5001"),       QStringLiteral("-7"),
                                QStringLiteral("+3"),         QStringLiteral("x"),
                                QStringLiteral("2147483648"), QStringLiteral("\u30005"),
                                QStringLiteral("9\r"),        QStringLiteral("#"),
                                QStringLiteral("0"),          QStringLiteral("\u00a0")};
    const QStringList gaps = {QStringLiteral(" "),      QStringLiteral("\t"),
                              QStringLiteral("  \t "),  QStringLiteral("\v"),
                              QStringLiteral("\u3000"), QStringLiteral("\r")};
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    const QString path = temp.filePath(QStringLiteral("random.txt"));
    QRandomGenerator random(7);
    const DropBoxContentParser parser(3);
    for (int round = 0; round < 400; ++round) {
        QString text;
        const int lines = int(random.bounded(7));
        for (int l = 0; l < lines; ++l) {
            const int kind = int(random.bounded(10));
            if (kind == 0)
                text += QStringLiteral("  # note ") + QString::number(l);
            else if (kind == 1)
                text += QStringLiteral(" \t\u3000");
            else {
                const int fields = int(random.bounded(2, 12));
                if (random.bounded(3) == 0)
                    text += gaps[random.bounded(int(gaps.size()))];
                for (int f = 0; f < fields; ++f) {
                    if (f)
                        text += gaps[random.bounded(random.bounded(4) ? 3 : int(gaps.size()))];
                    text += random.bounded(8) ? QString::number(random.bounded(-9, 99))
                                              : pieces[random.bounded(int(pieces.size()))];
                }
            }
            text += random.bounded(4) ? QStringLiteral("\n") : QStringLiteral("\r\n");
        }
        if (random.bounded(3) == 0)
            text.chop(1);
        QByteArray bytes = text.toUtf8();
        // Broken UTF-8 now and then, also cut off at a line end.
        if (random.bounded(5) == 0) {
            const char *broken[] = {"\xe4\xb8", "\xff", "\xc3", "\xe4\xb8\n", "\xef\xbb\xbf"};
            bytes.insert(qsizetype(random.bounded(int(bytes.size()) + 1)),
                         broken[random.bounded(5)]);
        }
        QVERIFY(writeBytes(path, bytes));
        DropBoxContentData expected{
            QStringLiteral("old1"), QStringLiteral("old2"), QStringLiteral("# old"), {}};
        DropBoxContentData actual = expected;
        QString expectedError, actualError;
        const bool expectedOk = referenceLoad(path, 3, expected, expectedError);
        const bool actualOk = parser.load(path, actual, actualError);
        const QByteArray context = bytes.toPercentEncoding();
        // The device reader, on a text-mode buffer, reads the same.
        {
            QBuffer buffer(&bytes);
            QVERIFY(buffer.open(QIODevice::ReadOnly | QIODevice::Text));
            DropBoxContentData fromDevice = expected;
            QString deviceError;
            QVERIFY2(parser.read(buffer, fromDevice, deviceError) == expectedOk,
                     context.constData());
            QVERIFY2(deviceError == expectedError, context.constData());
            QVERIFY2(fromDevice.headerLine1 == expected.headerLine1, context.constData());
            QVERIFY2(fromDevice.headerLine2 == expected.headerLine2, context.constData());
            QVERIFY2(fromDevice.boxes == expected.boxes, context.constData());
        }
        QVERIFY2(actualOk == expectedOk, context.constData());
        QVERIFY2(actualError == expectedError, context.constData());
        QVERIFY2(actual.headerLine1 == expected.headerLine1, context.constData());
        QVERIFY2(actual.headerLine2 == expected.headerLine2, context.constData());
        QVERIFY2(actual.commentBlock == expected.commentBlock, context.constData());
        QVERIFY2(actual.boxes == expected.boxes, context.constData());
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

void DropBoxContentParserTest::unopenableFile_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::newRow("missing") << "missing.txt";
    QTest::newRow("directory") << "subdir";
}

void DropBoxContentParserTest::unopenableFile()
{
    QFETCH(QString, relativePath);
    QTemporaryDir temp;
    QVERIFY(QDir(temp.path()).mkdir(QStringLiteral("subdir")));
    const QString path = temp.filePath(relativePath);
    const DropBoxContentParser parser(100);
    const DropBoxContentData before = sampleDocument(2, 5);
    DropBoxContentData data = before;
    QString error;
    QVERIFY(!parser.load(path, data, error));
    QCOMPARE(error, QStringLiteral("无法打开文件: %1").arg(path));
    QCOMPARE(data.boxes, before.boxes);
    QCOMPARE(data.commentBlock, before.commentBlock);
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
    DropBoxContentData data = sampleDocument(200, 9);
    data.boxes.append({77, 0, -1, 0, itemsOf({{1, 1}}, 103)});
    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QString error;
    QVERIFY(parser.write(buffer, data, error));
    buffer.close();
    QStringList lines = {data.headerLine1, data.headerLine2, data.commentBlock};
    for (const DropBoxConfig &box : data.boxes)
        lines.append(parser.formatLine(box));
    QCOMPARE(buffer.data(), (lines.join(u'\n') + u'\n').toUtf8());
    QCOMPARE(lines.constLast().split(u' ').size(), 4 + 2 * 103);

    QVERIFY(buffer.open(QIODevice::ReadOnly));
    DropBoxContentData loaded;
    QVERIFY(parser.read(buffer, loaded, error));
    buffer.close();
    QCOMPARE(loaded.headerLine1, data.headerLine1);
    QCOMPARE(loaded.headerLine2, data.headerLine2);
    QCOMPARE(loaded.commentBlock, data.commentBlock);
    QCOMPARE(loaded.boxes.size(), data.boxes.size());
    for (qsizetype i = 0; i < data.boxes.size() - 1; ++i)
        QCOMPARE(loaded.boxes.at(i), data.boxes.at(i));
    QCOMPARE(loaded.boxes.constLast().items.size(), 100);

    QBuffer second;
    QVERIFY(second.open(QIODevice::WriteOnly));
    QVERIFY(parser.write(second, loaded, error));
    second.close();
    QVERIFY(second.open(QIODevice::ReadOnly));
    DropBoxContentData third;
    QVERIFY(parser.read(second, third, error));
    QBuffer fourth;
    QVERIFY(fourth.open(QIODevice::WriteOnly));
    QVERIFY(parser.write(fourth, third, error));
    QCOMPARE(fourth.data(), second.data());
}

void DropBoxContentParserTest::roundTripFile()
{
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("DropBoxContent.txt"));
    QVERIFY(writeBytes(path, QByteArray(3000000, 'q')));
    const DropBoxContentParser parser(100);
    const DropBoxContentData data = sampleDocument(150, 13);
    QString error;
    QVERIFY2(parser.save(path, data, error), qPrintable(error));
    const QByteArray first = readBytes(path);
    QVERIFY(!first.contains('q'));
    DropBoxContentData loaded;
    QVERIFY(parser.load(path, loaded, error));
    QCOMPARE(loaded.boxes, data.boxes);
    QCOMPARE(loaded.commentBlock, data.commentBlock);
    QVERIFY(parser.save(path, loaded, error));
    QCOMPARE(readBytes(path), first);
    QCOMPARE(QDir(temp.path()).entryList(QDir::Files),
             QStringList{QStringLiteral("DropBoxContent.txt")});
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
    QCOMPARE(loaded.boxes.size(), data.boxes.size());
    QVERIFY(loaded.boxes == data.boxes);

    // A bad line far into the file is reported with its line number.
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    file.write("1 2 3\n");
    file.close();
    QVERIFY(!parser.load(path, loaded, error));
    QCOMPARE(error,
             QStringLiteral("解析数据行失败（第 %1 行）：列数过少: 3").arg(2 + 3 + 9000 + 1));
}

void DropBoxContentParserTest::saveFailures_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::newRow("missing directory") << "nowhere/DropBoxContent.txt";
    QTest::newRow("path is a directory") << "subdir";
    if (QFileInfo::exists(QStringLiteral("/proc/self")))
        QTest::newRow("under /proc") << "/proc/lootwright-save-test.txt";
}

void DropBoxContentParserTest::saveFailures()
{
    QFETCH(QString, relativePath);
    QTemporaryDir temp;
    QVERIFY(QDir(temp.path()).mkdir(QStringLiteral("subdir")));
    const QString path = QDir(temp.path()).filePath(relativePath);
    const DropBoxContentParser parser(100);
    QString error;
    QVERIFY(!parser.save(path, sampleDocument(2, 2), error));
    QCOMPARE(error, QStringLiteral("无法写入文件: %1").arg(path));
    QCOMPARE(QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("subdir")});
    QVERIFY(QDir(temp.filePath(QStringLiteral("subdir"))).isEmpty());
}

void DropBoxContentParserTest::writeFailureReported()
{
    FailingDevice device;
    const DropBoxContentParser parser(100);
    QString error;
    QVERIFY(!parser.write(device, sampleDocument(2, 2), error));
    QCOMPARE(error, QStringLiteral("无法写入文件: 设备已满"));
}

namespace {
int messageCount = 0;
void countingHandler(QtMsgType, const QMessageLogContext &, const QString &)
{
    ++messageCount;
}
} // namespace

void DropBoxContentParserTest::silentReader()
{
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("DropBoxContent.txt"));
    QVERIFY(writeBytes(path, "h\nh\n# c\n1 2 3 4\n5 6\n"));
    const DropBoxContentParser parser(100);
    DropBoxContentData data;
    QString error;
    messageCount = 0;
    const QtMessageHandler previous = qInstallMessageHandler(countingHandler);
    parser.load(path, data, error);
    parser.load(temp.filePath(QStringLiteral("missing")), data, error);
    parser.save(temp.filePath(QStringLiteral("out.txt")), data, error);
    qInstallMessageHandler(previous);
    QCOMPARE(messageCount, 0);
}

void DropBoxContentParserTest::readErrorFailsLoad_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<qint64>("failAfter");
    QByteArray lines("h1\nh2\n# c\n");
    while (lines.size() < (5 << 20))
        lines += "1 100 -1 0 5001 1\n";
    QTest::newRow("first read") << lines << qint64(0);
    QTest::newRow("header") << lines << qint64(4);
    QTest::newRow("data line") << lines << qint64(40);
    QTest::newRow("later block") << lines << qint64(lines.size() - 100);
    const QString text = QStringLiteral("h1\nh2\n1 2 3 4\n5 6 7 8\n");
    QTest::newRow("UTF-16") << QByteArray("\xff\xfe") +
                                   QByteArray(reinterpret_cast<const char *>(text.utf16()),
                                              text.size() * 2)
                            << qint64(20);
}

void DropBoxContentParserTest::readErrorFailsLoad()
{
    QFETCH(QByteArray, content);
    QFETCH(qint64, failAfter);
    const DropBoxContentParser parser(100);
    const DropBoxContentData before = sampleDocument(2, 5);
    DropBoxContentData data = before;
    QString error;
    FailingDevice device(content, failAfter);
    QVERIFY(!parser.read(device, data, error));
    QCOMPARE(error, QStringLiteral("读取文件失败: 输入/输出错误"));
    QCOMPARE(data.commentBlock, before.commentBlock);
    QCOMPARE(data.boxes, before.boxes);

    // A file whose first read fails.
    QFile memory(QStringLiteral("/proc/self/mem"));
    if (memory.open(QIODevice::ReadOnly) && memory.read(1).isEmpty()) {
        QVERIFY(!parser.load(memory.fileName(), data, error));
        QCOMPARE(error, QStringLiteral("读取文件失败: %1").arg(memory.errorString()));
        QCOMPARE(data.boxes, before.boxes);
    }
}

void DropBoxContentParserTest::markUnderOtherSystemEncoding_data()
{
    QTest::addColumn<QByteArray>("content");
    const QString text = QStringLiteral("表头一\n表头二\n# 注释\n1 100 -1 0\n");
    QTest::newRow("system encoding") << QByteArray(QStringEncoder("GB18030").encode(text));
    QTest::newRow("UTF-8 with mark") << QByteArray("\xef\xbb\xbf" + text.toUtf8());
}

void DropBoxContentParserTest::markUnderOtherSystemEncoding()
{
    QFETCH(QByteArray, content);
    const TextScan::ScopedFileEncoding gb18030("GB18030");
    const DropBoxContentParser parser(100);
    DropBoxContentData data;
    QString error;
    QBuffer buffer(&content);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QVERIFY(parser.read(buffer, data, error));
    QCOMPARE(data.headerLine1, QStringLiteral("表头一"));
    QCOMPARE(data.commentBlock, QStringLiteral("# 注释"));
    QBuffer out;
    QVERIFY(out.open(QIODevice::WriteOnly));
    QVERIFY(parser.write(out, data, error));
    QCOMPARE(out.data(),
             QStringEncoder("GB18030").encode(QStringLiteral("表头一\n表头二\n# 注释\n1 100 -1 0") +
                                              emptyPairs(100) + u'\n'));
}

QTEST_GUILESS_MAIN(DropBoxContentParserTest)
#include "tst_dropboxcontentparser.moc"
