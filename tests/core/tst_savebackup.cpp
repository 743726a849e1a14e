#include "TestSupport.h"
#include "data/SaveBackup.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using TestSupport::readBytes;
using TestSupport::writeBytes;

namespace {

const QDateTime start(QDate(2026, 3, 1), QTime(9, 30, 0));

QStringList backups(const QTemporaryDir &temp)
{
    return QDir(temp.filePath(QStringLiteral("backup"))).entryList(QDir::Files, QDir::Name);
}

} // namespace

class SaveBackupTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void backupFile_data();
    void backupFile();
    void rotatesAtTwentyOne();
    void unwritableFolderStops();
    void trackerBacksUpOncePerLoad();
};

void SaveBackupTest::backupFile_data()
{
    QTest::addColumn<QByteArray>("earlier"); // a backup already there from the same second
    QTest::addColumn<QString>("expectedName");
    QTest::addColumn<int>("expectedCount");
    QTest::newRow("first") << QByteArray() << "MonsterDropBoxs.20260301-093000.txt" << 1;
    QTest::newRow("same second, other bytes")
        << QByteArray("older\r\n") << "MonsterDropBoxs.20260301-093000-2.txt" << 2;
    QTest::newRow("same second, same bytes")
        << QByteArray("a\tb\r\n1\t2\r\n") << "MonsterDropBoxs.20260301-093000.txt" << 1;
}

void SaveBackupTest::backupFile()
{
    QFETCH(QByteArray, earlier);
    QFETCH(QString, expectedName);
    QFETCH(int, expectedCount);
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("MonsterDropBoxs.txt"));
    const QByteArray bytes("a\tb\r\n1\t2\r\n");
    QVERIFY(writeBytes(path, bytes));
    if (!earlier.isEmpty()) {
        QVERIFY(QDir().mkpath(temp.filePath(QStringLiteral("backup"))));
        QVERIFY(writeBytes(temp.filePath("backup/MonsterDropBoxs.20260301-093000.txt"), earlier));
    }
    QString backupPath;
    QString error;
    QVERIFY(SaveBackup::backupFile(path, start, backupPath, error));
    QCOMPARE(backupPath, temp.filePath(QStringLiteral("backup/") + expectedName));
    QCOMPARE(readBytes(backupPath), bytes);
    QCOMPARE(backups(temp).size(), expectedCount);
    QCOMPARE(readBytes(path), bytes);

    // Nothing to keep for a file that is not there yet.
    QVERIFY(SaveBackup::backupFile(temp.filePath("new.txt"), start, backupPath, error));
    QVERIFY(backupPath.isEmpty());
    QVERIFY(error.isEmpty());
}

void SaveBackupTest::rotatesAtTwentyOne()
{
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("DropBoxContent.txt"));
    QVERIFY(QDir().mkpath(temp.filePath(QStringLiteral("backup"))));
    // Not a backup of ours: never removed.
    QVERIFY(writeBytes(temp.filePath("backup/DropBoxContent.notes.txt"), "keep"));
    QVERIFY(writeBytes(temp.filePath("backup/Other.20200101-000000.txt"), "other file"));
    QString backupPath;
    QString error;
    for (int i = 0; i < 21; ++i) {
        QVERIFY(writeBytes(path, QByteArray::number(i)));
        // Seconds go past a minute boundary: the order is the time stamp's, not the counter's.
        QVERIFY(SaveBackup::backupFile(path, start.addSecs(i * 7), backupPath, error));
    }
    const QStringList names = backups(temp);
    QCOMPARE(names.size(), 20 + 2);
    QVERIFY(!names.contains("DropBoxContent.20260301-093000.txt"));
    QVERIFY(names.contains("DropBoxContent.20260301-093007.txt"));
    QVERIFY(names.contains("DropBoxContent.notes.txt"));
    QVERIFY(names.contains("Other.20200101-000000.txt"));
    QCOMPARE(readBytes(backupPath), QByteArray("20"));
}

void SaveBackupTest::unwritableFolderStops()
{
    // A regular file where the folder should be stops root too (a read-only folder would not).
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("MonsterDropBoxs.txt"));
    QVERIFY(writeBytes(path, "original"));
    QVERIFY(writeBytes(temp.filePath("backup"), "in the way"));
    QString backupPath;
    QString error;
    QVERIFY(!SaveBackup::backupFile(path, start, backupPath, error));
    QCOMPARE(error, QStringLiteral("备份失败，原文件未被覆盖：无法创建备份目录 %1")
                        .arg(temp.filePath(QStringLiteral("backup"))));
    SaveBackupTracker tracker;
    QVERIFY(!tracker.beforeOverwrite(path, start, error));
    QCOMPARE(readBytes(path), QByteArray("original"));
}

void SaveBackupTest::trackerBacksUpOncePerLoad()
{
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("MonsterDropBoxs.txt"));
    QVERIFY(writeBytes(path, "v1"));
    SaveBackupTracker tracker;
    QString error;
    QVERIFY(tracker.beforeOverwrite(path, start, error));
    QVERIFY(writeBytes(path, "v2"));
    QVERIFY(tracker.beforeOverwrite(path, start.addSecs(1), error));
    QCOMPARE(backups(temp), QStringList{"MonsterDropBoxs.20260301-093000.txt"});
    tracker.reset();
    QVERIFY(tracker.beforeOverwrite(path, start.addSecs(2), error));
    QCOMPARE(backups(temp).size(), 2);
    QCOMPARE(readBytes(temp.filePath("backup/MonsterDropBoxs.20260301-093002.txt")), "v2");
}

QTEST_GUILESS_MAIN(SaveBackupTest)
#include "tst_savebackup.moc"
