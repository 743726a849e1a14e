#include "EditFixtures.h"
#include "TestSupport.h"
#include "data/CheckedFile.h"
#include "data/DropFilePair.h"
#include "data/SaveJournal.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/wait.h>
#include <unistd.h>
#endif

// The two drop files saved as one: every failure leaves both as they were, and a save stopped at
// any step is finished or discarded by the next load.

using namespace TestSupport;
using Step = CheckedFile::Step;

Q_DECLARE_METATYPE(CheckedFile::Step)
Q_DECLARE_METATYPE(DropFilePair::File)

namespace {

const QDateTime saveTime(QDate(2026, 3, 1), QTime(9, 30, 0));
const QByteArray oldMonsters("h1\nh2\n7\t50\t0\t3\n");
const QByteArray oldBoxes("h1\nh2\n3 900 -1 0 5 1\n");

// A configuration on disk, loaded, and the new documents to save over it.
struct Fixture
{
    QTemporaryDir temp;
    QString monsterPath = temp.filePath(QStringLiteral("MonsterDropBoxs.txt"));
    QString boxPath = temp.filePath(QStringLiteral("DropBoxContent.txt"));
    DropFilePair pair;
    MonsterDropData monsters;
    DropBoxContentData boxes;

    bool load()
    {
        QString error;
        return writeBytes(monsterPath, oldMonsters) && writeBytes(boxPath, oldBoxes) &&
               pair.loadMonsters(monsterPath, monsters, error) &&
               pair.loadBoxes(boxPath, boxes, error);
    }
    void change()
    {
        monsters.records.first().mValue = 60;
        boxes.boxes.first().boxValue = 950;
    }
    bool save(DropFilePair::SaveFailure &failure)
    {
        return pair.save(monsterPath, &monsters, boxPath, &boxes, saveTime, failure);
    }
    QByteArray newMonsters() const
    {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QString error;
        return pair.monsterParser().write(out, monsters, error) ? out.data() : QByteArray();
    }
    QByteArray newBoxes() const
    {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QString error;
        return pair.boxParser().write(out, boxes, error) ? out.data() : QByteArray();
    }
    // Every file beside the two, hidden ones included (the backup folder aside).
    QStringList files() const
    {
        return QDir(temp.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
};

// Makes one step fail for the target with the given name (relative to dir).
void failAt(Step step, const QString &target)
{
    CheckedFile::setFaultHook([step, target](Step at, const QString &path, QString &reason) {
        if (at != step || !path.endsWith(target))
            return true;
        reason = QStringLiteral("测试故障");
        return false;
    });
}

} // namespace

class DropFilePairTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { CheckedFile::setFaultHook({}); }
    void saveWritesBothAndKnowsWhat();
    void saveOfOneWritesOnlyIt();
    void failureChangesNeither_data();
    void failureChangesNeither();
    void stoppedSaveSettledByLoad_data();
    void stoppedSaveSettledByLoad();
};

void DropFilePairTest::saveWritesBothAndKnowsWhat()
{
    Fixture f;
    QVERIFY(f.load());
    QCOMPARE(f.pair.monsterStamp().hash, FileStamp::ofFile(f.monsterPath).hash);
    f.change();
    DropFilePair::SaveFailure failure;
    QVERIFY2(f.save(failure), qPrintable(failure.error));
    QCOMPARE(readBytes(f.monsterPath), f.newMonsters());
    QCOMPARE(readBytes(f.boxPath), f.newBoxes());
    // Hashed as written: the same as reading the files back.
    QVERIFY(f.pair.monsterStamp().sameContent(FileStamp::ofFile(f.monsterPath)));
    QVERIFY(f.pair.boxStamp().sameContent(FileStamp::ofFile(f.boxPath)));
    QCOMPARE(f.pair.lastBackups().size(), 2);
    QCOMPARE(f.files(), QStringList({"DropBoxContent.txt", "MonsterDropBoxs.txt"}));
}

void DropFilePairTest::saveOfOneWritesOnlyIt()
{
    Fixture f;
    QVERIFY(f.load());
    f.change();
    const FileStamp boxStamp = f.pair.boxStamp();
    DropFilePair::SaveFailure failure;
    QVERIFY(f.pair.save(f.monsterPath, &f.monsters, QString(), nullptr, saveTime, failure));
    QCOMPARE(readBytes(f.monsterPath), f.newMonsters());
    QCOMPARE(readBytes(f.boxPath), oldBoxes);
    QVERIFY(f.pair.boxStamp().sameContent(boxStamp));
    QCOMPARE(f.pair.lastBackups().size(), 1);
}

void DropFilePairTest::failureChangesNeither_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<QString>("target"); // the file whose step fails
    QTest::addColumn<DropFilePair::File>("file");
    QTest::addColumn<QString>("error"); // %1: the directory
    const auto monsters = DropFilePair::File::Monsters;
    const auto boxes = DropFilePair::File::Boxes;
    const QString backup = QStringLiteral(
        "备份失败，原文件未被覆盖：无法写入备份文件 %1/backup/%2.20260301-093000.txt（测试故障）");
    QTest::newRow("backup of monsters")
        << Step::Create << "backup/MonsterDropBoxs.20260301-093000.txt" << monsters
        << backup.arg("%1", "MonsterDropBoxs");
    QTest::newRow("backup of boxes") << Step::Finish << "backup/DropBoxContent.20260301-093000.txt"
                                     << boxes << backup.arg("%1", "DropBoxContent");
    QTest::newRow("new monster file") << Step::Finish << "/MonsterDropBoxs.txt" << monsters
                                      << "无法写入文件：%1/MonsterDropBoxs.txt（测试故障）";
    QTest::newRow("new box file") << Step::Create << "/DropBoxContent.txt" << boxes
                                  << "无法写入文件: %1/DropBoxContent.txt（测试故障）";
    QTest::newRow("journal") << Step::Replace << "/.lootwright-save.journal" << monsters
                             << "无法写入保存日志：%1/.lootwright-save.journal（测试故障）";
    QTest::newRow("replacing monsters") << Step::Replace << "/MonsterDropBoxs.txt" << monsters
                                        << "无法替换文件：%1/MonsterDropBoxs.txt（测试故障）";
    // The monster file is replaced by then and is put back.
    QTest::newRow("replacing boxes") << Step::Replace << "/DropBoxContent.txt" << boxes
                                     << "无法替换文件：%1/DropBoxContent.txt（测试故障）";
}

void DropFilePairTest::failureChangesNeither()
{
    QFETCH(Step, step);
    QFETCH(QString, target);
    QFETCH(DropFilePair::File, file);
    QFETCH(QString, error);
    Fixture f;
    QVERIFY(f.load());
    f.change();
    const FileStamp monsterStamp = f.pair.monsterStamp();
    failAt(step, target);
    DropFilePair::SaveFailure failure;
    QVERIFY(!f.save(failure));
    QCOMPARE(failure.file, file);
    QCOMPARE(failure.error, error.arg(f.temp.path()));
    QCOMPARE(readBytes(f.monsterPath), oldMonsters);
    QCOMPARE(readBytes(f.boxPath), oldBoxes);
    QCOMPARE(f.files(), QStringList({"DropBoxContent.txt", "MonsterDropBoxs.txt"}));
    QVERIFY(f.pair.monsterStamp().sameContent(monsterStamp));

    // Nothing is left that would stop the next save.
    CheckedFile::setFaultHook({});
    QVERIFY2(f.save(failure), qPrintable(failure.error));
    QCOMPARE(readBytes(f.boxPath), f.newBoxes());
}

void DropFilePairTest::stoppedSaveSettledByLoad_data()
{
    QTest::addColumn<Step>("step"); // the process ends as this step begins
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("loseNewBoxFile"); // as a load of the box folder alone would
    QTest::addColumn<bool>("expectNew");
    QTest::newRow("new files written")
        << Step::Create << "/.lootwright-save.journal" << false << false;
    QTest::newRow("journal written") << Step::Replace << "/MonsterDropBoxs.txt" << false << true;
    QTest::newRow("monsters replaced") << Step::Replace << "/DropBoxContent.txt" << false << true;
    QTest::newRow("journal without its box file")
        << Step::Replace << "/MonsterDropBoxs.txt" << true << false;
}

void DropFilePairTest::stoppedSaveSettledByLoad()
{
#ifdef Q_OS_UNIX
    QFETCH(Step, step);
    QFETCH(QString, target);
    QFETCH(bool, loseNewBoxFile);
    QFETCH(bool, expectNew);
    Fixture f;
    QVERIFY(f.load());
    f.change();
    const pid_t child = fork();
    if (child == 0) {
        CheckedFile::setFaultHook([&](Step at, const QString &path, QString &) {
            if (at == step && path.endsWith(target))
                _exit(0);
            return true;
        });
        DropFilePair::SaveFailure failure;
        f.save(failure);
        _exit(1);
    }
    int status = -1;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    if (loseNewBoxFile) {
        for (const QString &name : f.files()) {
            if (CheckedFile::isSiblingOf(name, QStringLiteral("DropBoxContent.txt")))
                QVERIFY(QFile::remove(f.temp.filePath(name)));
        }
    }

    DropFilePair next;
    MonsterDropData monsters;
    DropBoxContentData boxes;
    QString error;
    QVERIFY(next.loadMonsters(f.monsterPath, monsters, error));
    QCOMPARE(next.recoveryNote().isEmpty(), step == Step::Create);
    QVERIFY(next.loadBoxes(f.boxPath, boxes, error));
    QCOMPARE(readBytes(f.monsterPath), expectNew ? f.newMonsters() : oldMonsters);
    QCOMPARE(readBytes(f.boxPath), expectNew ? f.newBoxes() : oldBoxes);
    QCOMPARE(f.files(), QStringList({"DropBoxContent.txt", "MonsterDropBoxs.txt"}));
#else
    QSKIP("needs fork");
#endif
}

QTEST_GUILESS_MAIN(DropFilePairTest)
#include "tst_dropfilepair.moc"
