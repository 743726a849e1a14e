#include "EditFixtures.h"
#include "FailingDevice.h"
#include "TestSupport.h"
#include "data/DropBoxContentParser.h"
#include "data/MonsterDropParser.h"
#include "data/TextScan.h"

#include <QBuffer>
#include <QDir>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <optional>

// The file handling both drop-file readers share: every row runs against one of them, and a
// failure must leave the document exactly as it was.

using namespace TestSupport;
using EditFixtures::describe;

namespace {

// The file's own error texts; the box file names the path where the monster file gives the reason.
struct Texts
{
    QString open, save, write, read, line;
    bool pathInOpenAndSave;
    QString opened(const QString &path, const QString &reason) const
    {
        return open.arg(pathInOpenAndSave ? path : reason);
    }
    // A save names the path and the reason; created: the temporary file beside it was made.
    QString saved(const QString &path, const QString &reason, bool created) const
    {
        return (created ? write : save).arg(QStringLiteral("%1（%2）").arg(path, reason));
    }
};

// Runs `test` with the file's parser (with its own slot count unless `slots` is given), a small
// document to start from and its texts.
template <class Test> void withFile(const QString &file, Test test, std::optional<int> slots = {})
{
    if (file == QLatin1String("monsters")) {
        test(MonsterDropParser(slots.value_or(20)),
             MonsterDropData{QStringLiteral("h1"),
                             QStringLiteral("h2"),
                             {EditFixtures::padded(EditFixtures::monster(7, 50, {3}))}},
             Texts{"无法打开文件：%1", "无法打开文件：%1", "无法写入文件：%1", "读取文件失败：%1",
                   "第 %1 行解析失败：%2", false});
    } else {
        test(DropBoxContentParser(slots.value_or(100)),
             DropBoxContentData{QStringLiteral("h1"),
                                QStringLiteral("h2"),
                                QStringLiteral("# c"),
                                {EditFixtures::padded(EditFixtures::box(3, 900, {5}))}},
             Texts{"无法打开文件: %1", "无法写入文件: %1", "无法写入文件: %1", "读取文件失败: %1",
                   "解析数据行失败（第 %1 行）：%2", true});
    }
}

// The plain reader's rules of each file: the monster file drops comment lines and parses the
// line as it stands, the box file gathers them in its comment block and parses the trimmed line.
void addComment(MonsterDropData &, const QString &) {}

void addComment(DropBoxContentData &data, const QString &line)
{
    data.commentBlock += (data.commentBlock.isEmpty() ? QString() : QStringLiteral("\n")) + line;
}

bool addRecord(const MonsterDropParser &parser, const QString &line, MonsterDropData &data,
               QString &error)
{
    MonsterDropConfig record;
    if (!readLine(parser, line, record, error))
        return false;
    data.records.append(record);
    return true;
}

bool addRecord(const DropBoxContentParser &parser, const QString &line, DropBoxContentData &data,
               QString &error)
{
    DropBoxConfig box;
    if (!readLine(parser, line.trimmed(), box, error))
        return false;
    data.boxes.append(box);
    return true;
}

// The file read the plain way (readPlainLines) with the parser's own field rules.
template <class Parser, class Document>
bool plainLoad(const Parser &parser, const QString &path, Document &data, const Texts &texts,
               QString &error)
{
    Document loaded;
    const auto body = [&](int lineNumber, const QString &line, QString &lineError) {
        if (line.trimmed().startsWith(u'#')) {
            addComment(loaded, line);
            return true;
        }
        if (addRecord(parser, line, loaded, lineError))
            return true;
        lineError = texts.line.arg(lineNumber).arg(lineError);
        return false;
    };
    if (!readPlainLines(path, loaded.headerLine1, loaded.headerLine2, body, error))
        return false;
    data = loaded;
    return true;
}

QByteArray dataLine(const QString &file)
{
    return file == QLatin1String("monsters") ? "1001\t50\t0\n" : "1 100 -1 0\n";
}

// What a save writes after reading `content` (text mode: as from a file; else a binary device),
// and what the next save writes after reading that back.
template <class Parser, class Document>
QPair<QByteArray, QByteArray> savedTwice(const Parser &parser, Document document,
                                         QByteArray content, bool textMode)
{
    const auto save = [&](const QByteArray &bytes) {
        return readInto(parser, bytes, document, textMode) ? writtenBytes(parser, document)
                                                           : QByteArray("<unreadable>");
    };
    const QByteArray once = save(content);
    return {once, save(once)};
}

const QStringList dropFiles{QStringLiteral("monsters"), QStringLiteral("boxes")};

QTestData &newRow(const QString &file, const char *name)
{
    return QTest::newRow(qPrintable(file + QStringLiteral(": ") + QLatin1String(name))) << file;
}

} // namespace

class DropFilesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void unopenableFile_data();
    void unopenableFile();
    void saveFailures_data();
    void saveFailures();
    void writeFailureReported_data();
    void writeFailureReported();
    void readErrorFailsLoad_data();
    void readErrorFailsLoad();
    void markUnderOtherSystemEncoding_data();
    void markUnderOtherSystemEncoding();
    void saveIsFixedPoint_data();
    void saveIsFixedPoint();
    void canonicalForm_data();
    void canonicalForm();
    void agreesWithPlainReader_data();
    void agreesWithPlainReader();
    void badLineChangesNothing_data();
    void badLineChangesNothing();
    void fewLinesClearDocument_data();
    void fewLinesClearDocument();
};

void DropFilesTest::unopenableFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("relativePath");
    for (const QString &file : dropFiles) {
        for (const char *path : {"missing.txt", "subdir", "nowhere/file.txt"})
            newRow(file, path) << QString::fromLatin1(path);
    }
}

void DropFilesTest::unopenableFile()
{
    QFETCH(QString, file);
    QFETCH(QString, relativePath);
    QTemporaryDir temp;
    QVERIFY(QDir(temp.path()).mkdir(QStringLiteral("subdir")));
    const QString path = temp.filePath(relativePath);
    QFile probe(path);
    QVERIFY(!probe.open(QIODevice::ReadOnly | QIODevice::Text));
    withFile(file, [&](const auto &parser, auto data, const Texts &texts) {
        const QStringList before = describe(data);
        QString error;
        QVERIFY(!parser.load(path, data, error));
        QCOMPARE(error, texts.opened(path, probe.errorString()));
        QCOMPARE(describe(data), before);
    });
}

void DropFilesTest::saveFailures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("created");
    for (const QString &file : dropFiles) {
        newRow(file, "missing directory") << "nowhere/file.txt"
                                          << "No such file or directory" << false;
        newRow(file, "path is a directory") << "subdir"
                                            << "Is a directory" << true;
        if (QFileInfo::exists(QStringLiteral("/proc/self")))
            newRow(file, "under /proc") << "/proc/lootwright-save-test.txt"
                                        << "No such file or directory" << false;
    }
}

void DropFilesTest::saveFailures()
{
    QFETCH(QString, file);
    QFETCH(QString, relativePath);
    QFETCH(QString, reason);
    QFETCH(bool, created);
    QTemporaryDir temp;
    QVERIFY(QDir(temp.path()).mkdir(QStringLiteral("subdir")));
    const QString path = QDir(temp.path()).filePath(relativePath);
    withFile(file, [&](const auto &parser, const auto &data, const Texts &texts) {
        QString error;
        QVERIFY(!parser.save(path, data, error));
        QCOMPARE(error, texts.saved(path, reason, created));
        // Nothing left behind, not even a temporary file.
        QCOMPARE(QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("subdir")});
        QVERIFY(QDir(temp.filePath(QStringLiteral("subdir"))).isEmpty());

        // A successful save replaces whatever the file held.
        const QString target = temp.filePath(QStringLiteral("target.txt"));
        QVERIFY(writeBytes(target, QByteArray(5000, 'z')));
        QVERIFY(parser.save(target, data, error));
        QBuffer expected;
        QVERIFY(expected.open(QIODevice::WriteOnly));
        QVERIFY(parser.write(expected, data, error));
        QCOMPARE(readBytes(target), expected.data());
    });
}

void DropFilesTest::writeFailureReported_data()
{
    QTest::addColumn<QString>("file");
    for (const QString &file : dropFiles)
        newRow(file, "full device");
}

void DropFilesTest::writeFailureReported()
{
    QFETCH(QString, file);
    withFile(file, [&](const auto &parser, const auto &data, const Texts &texts) {
        FailingDevice device;
        QString error;
        QVERIFY(!parser.write(device, data, error));
        QCOMPARE(error, texts.write.arg(QStringLiteral("设备已满")));
    });
}

void DropFilesTest::readErrorFailsLoad_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<qint64>("failAfter");
    for (const QString &file : dropFiles) {
        const QByteArray line = dataLine(file);
        QByteArray lines("h1\nh2\n# c\n");
        while (lines.size() < (5 << 20))
            lines += line;
        newRow(file, "first read") << lines << qint64(0);
        newRow(file, "header") << lines << qint64(4);
        newRow(file, "data line") << lines << qint64(40);
        newRow(file, "later block") << lines << qint64(lines.size() - 100);
        const QString text = QStringLiteral("h1\nh2\n") + QString::fromLatin1(line + line);
        newRow(file, "UTF-16") << QByteArray("\xff\xfe") +
                                      QByteArray(reinterpret_cast<const char *>(text.utf16()),
                                                 text.size() * 2)
                               << qint64(20);
    }
}

void DropFilesTest::readErrorFailsLoad()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(qint64, failAfter);
    withFile(file, [&](const auto &parser, auto data, const Texts &texts) {
        const QStringList before = describe(data);
        QString error;
        FailingDevice device(content, failAfter);
        QVERIFY(!parser.read(device, data, error));
        QCOMPARE(error, texts.read.arg(QStringLiteral("输入/输出错误")));
        QCOMPARE(describe(data), before);

        // A file whose first read fails.
        QFile memory(QStringLiteral("/proc/self/mem"));
        if (memory.open(QIODevice::ReadOnly) && memory.read(1).isEmpty()) {
            QVERIFY(!parser.load(memory.fileName(), data, error));
            QCOMPARE(error, texts.read.arg(memory.errorString()));
            QCOMPARE(describe(data), before);
        }
    });
}

void DropFilesTest::markUnderOtherSystemEncoding_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    for (const QString &file : dropFiles) {
        const QString text =
            QStringLiteral("表头一\n表头二\n# 注释\n") + QString::fromLatin1(dataLine(file));
        newRow(file, "system encoding") << QByteArray(QStringEncoder("GB18030").encode(text));
        newRow(file, "UTF-8 with mark") << QByteArray("\xef\xbb\xbf" + text.toUtf8());
    }
}

void DropFilesTest::markUnderOtherSystemEncoding()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    const TextScan::ScopedFileEncoding gb18030("GB18030");
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("drops.txt"));
    QVERIFY(writeBytes(path, content));
    withFile(file, [&](const auto &parser, auto data, const Texts &) {
        QString error;
        QVERIFY2(parser.load(path, data, error), qPrintable(error));
        QCOMPARE(describe(data).mid(0, 2), (QStringList{"表头一", "表头二"}));
        // Written back in the system encoding, without a mark.
        QBuffer utf8;
        QVERIFY(utf8.open(QIODevice::WriteOnly));
        {
            const TextScan::ScopedFileEncoding plain("UTF-8");
            QVERIFY(parser.write(utf8, data, error));
        }
        QVERIFY(parser.save(path, data, error));
        QCOMPARE(readBytes(path), QStringEncoder("GB18030").encode(QString::fromUtf8(utf8.data())));
        QVERIFY(utf8.data().startsWith("表头一\n表头二\n"));
    });
}

void DropFilesTest::saveIsFixedPoint_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("textMode");
    QTest::addColumn<QByteArray>("encoding"); // empty: the system's
    QTest::addColumn<QByteArray>("saved");
    const QString utf16 = QStringLiteral("\ufeffh1\nh2\n");
    for (const QString &file : dropFiles) {
        // Found by the fuzz targets of both files.
        newRow(file, "CR runs in headers, binary")
            << QByteArray("h1\r\r\r\nh2\r\r\n") << false << QByteArray() << QByteArray("h1\nh2\n");
        newRow(file, "NUL and CRs, binary") << QByteArrayLiteral("M\0\tM1\r\r") << false
                                            << QByteArray() << QByteArrayLiteral("M\0\tM1\n\n");
        newRow(file, "U+FEFF after the mark")
            << QByteArray("\xef\xbb\xbf\xef\xbb\xbf\xef\xbb\xbfh1\nh2\n") << true << QByteArray()
            << QByteArray("h1\nh2\n");
        newRow(file, "U+FEFF alone after the mark") << QByteArray("\xef\xbb\xbf\xef\xbb\xbf\nh2\n")
                                                    << true << QByteArray() << QByteArray("\nh2\n");
        newRow(file, "U+FEFF after a UTF-16 mark")
            << QByteArray("\xff\xfe") +
                   QByteArray(reinterpret_cast<const char *>(utf16.utf16()), utf16.size() * 2)
            << true << QByteArray() << QByteArray("h1\nh2\n");
        // In GB18030 "锘" is EF BB and "靠" BF BF: together they start like a UTF-8 mark.
        newRow(file, "GB18030 header that reads as a mark")
            << QByteArray("\xef\xbb\xbf" + QStringLiteral("锘靠\nh2\n").toUtf8()) << true
            << QByteArray("GB18030") << QByteArray("\xbf\xbf\nh2\n");
    }
    newRow(QStringLiteral("boxes"), "CR run in a comment, binary")
        << QByteArray("h1\nh2\n  # c\r\r\r\n") << false << QByteArray()
        << QByteArray("h1\nh2\n  # c\n");
}

void DropFilesTest::saveIsFixedPoint()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(bool, textMode);
    QFETCH(QByteArray, encoding);
    std::optional<TextScan::ScopedFileEncoding> scoped;
    if (!encoding.isEmpty())
        scoped.emplace(encoding.constData());
    withFile(file, [&](const auto &parser, const auto &data, const Texts &) {
        const auto [once, twice] = savedTwice(parser, data, content, textMode);
        QTEST(once, "saved");
        QCOMPARE(twice, once);
    });
}

void DropFilesTest::canonicalForm_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("dir");
    const QDir root(QStringLiteral(LOOTWRIGHT_TEST_DATA "/parsers"));
    for (const QString &file : dropFiles) {
        const QString prefix = file == QLatin1String("monsters") ? "monster_*" : "box_*";
        const QStringList cases = root.entryList({prefix}, QDir::Dirs);
        QVERIFY(cases.size() >= 10);
        for (const QString &name : cases)
            QTest::newRow(qPrintable(name)) << file << root.filePath(name);
    }
}

void DropFilesTest::canonicalForm()
{
    QFETCH(QString, file);
    QFETCH(QString, dir);
    QTemporaryDir temp;
    const QString out = temp.filePath(QStringLiteral("saved.txt"));
    const QByteArray expected = readBytes(dir + QStringLiteral("/expected.txt"));
    withFile(file, [&](const auto &parser, auto data, const Texts &) {
        QString error;
        QVERIFY2(parser.load(dir + QStringLiteral("/input.txt"), data, error), qPrintable(error));
        QVERIFY2(parser.save(out, data, error), qPrintable(error));
        QCOMPARE(readBytes(out), expected);

        // The canonical form reads back to the same document and the same bytes.
        decltype(data) again;
        QVERIFY2(parser.load(out, again, error), qPrintable(error));
        QCOMPARE(describe(again), describe(data));
        QVERIFY2(parser.save(out, again, error), qPrintable(error));
        QCOMPARE(readBytes(out), expected);
    });
}

void DropFilesTest::agreesWithPlainReader_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("gaps");
    newRow(QStringLiteral("monsters"), "TABs") << QStringList{QStringLiteral("\t")};
    newRow(QStringLiteral("boxes"), "blanks")
        << QStringList{QStringLiteral(" "),  QStringLiteral("\t"),     QStringLiteral("  \t "),
                       QStringLiteral("\v"), QStringLiteral("\u3000"), QStringLiteral("\r")};
}

void DropFilesTest::agreesWithPlainReader()
{
    QFETCH(QString, file);
    QFETCH(QStringList, gaps);
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("random.txt"));
    QRandomGenerator random(99);
    // Few slots, so that lines with more columns than slots come up.
    const int slots = 3;
    withFile(
        file,
        [&](const auto &parser, const auto &start, const Texts &texts) {
            for (int round = 0; round < 400; ++round) {
                QByteArray bytes = randomDropFile(random, gaps);
                QVERIFY(writeBytes(path, bytes));
                auto expected = start;
                auto fromFile = start;
                auto fromDevice = start;
                QString expectedError, fileError, deviceError;
                const bool ok = plainLoad(parser, path, expected, texts, expectedError);
                // The device reader on a text-mode buffer reads the same.
                QBuffer buffer(&bytes);
                QVERIFY(buffer.open(QIODevice::ReadOnly | QIODevice::Text));
                const QByteArray context = bytes.toPercentEncoding();
                QVERIFY2(parser.load(path, fromFile, fileError) == ok, context.constData());
                QVERIFY2(parser.read(buffer, fromDevice, deviceError) == ok, context.constData());
                QVERIFY2(fileError == expectedError && deviceError == expectedError,
                         context.constData());
                QVERIFY2(describe(fromFile) == describe(expected), context.constData());
                QVERIFY2(describe(fromDevice) == describe(expected), context.constData());
            }
        },
        slots);
}

void DropFilesTest::badLineChangesNothing_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("error");
    const QString &monsters = dropFiles.at(0);
    const QString &boxes = dropFiles.at(1);
    newRow(monsters, "after two records") << QByteArray("new1\nnew2\n5\t6\t0\n7\t8\t0\nbad line\n")
                                          << "第 5 行解析失败：字段数量不足";
    newRow(monsters, "spaces on line 3")
        << QByteArray("h1\nh2\n1001 50 0 7\n") << "第 3 行解析失败：字段数量不足";
    newRow(monsters, "blank line counts")
        << QByteArray("h1\nh2\n\nabc\t1\t0\n") << "第 4 行解析失败：怪物ID解析失败";
    newRow(monsters, "comments count") << QByteArray("h1\nh2\n# c\n  # d\n1\t2\t0\n1\tx\t0\n")
                                       << "第 6 行解析失败：Mvalue解析失败";
    newRow(monsters, "CRLF lines count") << QByteArray("h1\r\nh2\r\n1\t2\t0\r\n\r\n1\t2\tz\r\n")
                                         << "第 5 行解析失败：掉落类型解析失败";
    newRow(monsters, "out of range")
        << QByteArray("h1\nh2\n1\t-2147483649\t0\n") << "第 3 行解析失败：Mvalue解析失败";
    newRow(monsters, "stops at first bad line")
        << QByteArray("h1\nh2\n1\t2\n1\tx\t0\n") << "第 3 行解析失败：字段数量不足";
    newRow(boxes, "after a record") << QByteArray("n1\nn2\n# new comment\n5 6 0 0\n7 8\n")
                                    << "解析数据行失败（第 5 行）：列数过少: 2";
    newRow(boxes, "three fields") << QByteArray("h1\nh2\n1 100 -1\n")
                                  << "解析数据行失败（第 3 行）：列数过少: 3";
    newRow(boxes, "blank and comment lines count")
        << QByteArray("h1\nh2\n\n# c\n   # d\n1 1 1 1\n1 1 1 1 z\n")
        << "解析数据行失败（第 7 行）：ItemId 解析失败（槽 1）";
    newRow(boxes, "CRLF") << QByteArray("h1\r\nh2\r\n\r\n1 1 1 x\r\n")
                          << "解析数据行失败（第 4 行）：ForceOpenFlag 解析失败";
    newRow(boxes, "out of range") << QByteArray("h\nh\n1 -2147483649 0 0\n")
                                  << "解析数据行失败（第 3 行）：BoxValue 解析失败";
    newRow(boxes, "level of slot 2") << QByteArray("h\nh\n1 1 1 1 1 1 2 ?\n")
                                     << "解析数据行失败（第 3 行）：Level 解析失败（槽 2）";
}

void DropFilesTest::badLineChangesNothing()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(QString, error);
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("bad.txt"));
    QVERIFY(writeBytes(path, content));
    withFile(file, [&](const auto &parser, auto data, const Texts &) {
        const QStringList before = describe(data);
        QString actual;
        QVERIFY(!parser.load(path, data, actual));
        QCOMPARE(actual, error);
        QCOMPARE(describe(data), before);
        // The same through a device.
        QBuffer buffer(&content);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QVERIFY(!parser.read(buffer, data, actual));
        QCOMPARE(actual, error);
        QCOMPARE(describe(data), before);
    });
}

void DropFilesTest::fewLinesClearDocument_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("header1");
    for (const QString &file : dropFiles) {
        newRow(file, "one line") << QByteArray("only header") << "only header";
        newRow(file, "one line and LF") << QByteArray("only header\n") << "only header";
        newRow(file, "empty") << QByteArray() << QString();
    }
}

void DropFilesTest::fewLinesClearDocument()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(QString, header1);
    withFile(file, [&](const auto &parser, auto data, const Texts &) {
        decltype(data) expected;
        expected.headerLine1 = header1;
        QBuffer buffer(&content);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QString error;
        QVERIFY(parser.read(buffer, data, error));
        QCOMPARE(describe(data), describe(expected));
    });
}

QTEST_GUILESS_MAIN(DropFilesTest)
#include "tst_dropfiles.moc"
