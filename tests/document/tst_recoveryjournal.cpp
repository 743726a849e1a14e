#include "EditFixtures.h"
#include "TestSupport.h"
#include "document/ConfigDocument.h"
#include "edit/BoxManagerEdits.h"
#include "edit/DropRateEdits.h"
#include "edit/MonsterEdits.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

#include <functional>

using Session = std::function<void(ConfigDocument &, const QString &dir)>;
Q_DECLARE_METATYPE(Session)

namespace {

QByteArray documentBytes(const ConfigDocument &document)
{
    return EditFixtures::savedBytes(document.monsters(), document.boxes());
}

void edit(ConfigDocument &document,
          const std::function<void(MonsterDropData &, DropBoxContentData &)> &change,
          const QString &mergeKey = QString())
{
    document.edit(QStringLiteral("步骤"), change, mergeKey);
}

void setValue(ConfigDocument &document, int value)
{
    edit(document, [value](MonsterDropData &m, DropBoxContentData &) {
        MonsterEdits::changeMonsterValue(m, {1001}, value);
    });
}

// Typing a box weight: steps with one merge key fold into one.
void type(ConfigDocument &document, int weight)
{
    edit(
        document,
        [weight](MonsterDropData &, DropBoxContentData &b) { b.boxes[0].boxValue = weight; },
        QStringLiteral("box 3 weight"));
}

bool save(ConfigDocument &document)
{
    DropFilePair::SaveFailure failure;
    return document.save(document.currentTargets(), QDateTime::currentDateTime(), failure);
}

} // namespace

// The journal of a session that never closed, read by the next one on the same files.
class TestRecoveryJournal : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir temp;
    TestSupport::ConfigCopies configs;

    static QByteArray fileBytes(const ConfigDocument &document)
    {
        return TestSupport::readBytes(document.monsterFilePath()) +
               TestSupport::readBytes(document.boxFilePath());
    }

private Q_SLOTS:
    // The journals go to a directory of the test's own.
    void initTestCase() { qputenv("XDG_DATA_HOME", temp.filePath("data").toUtf8()); }

    void restore_data()
    {
        QTest::addColumn<Session>("session");
        QTest::addColumn<int>("steps");
        QTest::newRow("edits of several kinds, undo, redo, typing") << Session([](ConfigDocument &d,
                                                                                  const QString &) {
            setValue(d, 300);
            edit(d,
                 [](MonsterDropData &m, DropBoxContentData &b) { BoxManagerEdits::addBox(b, &m); });
            edit(d, [](MonsterDropData &m, DropBoxContentData &b) {
                DropRateEdits::unifyMonsterValue(m, b, {1001, 1002, 2001}, 5000);
            });
            d.undoStack()->undo();
            d.undoStack()->undo();
            d.undoStack()->redo();
            type(d, 12);
            type(d, 123);
            edit(d, [](MonsterDropData &m, DropBoxContentData &) { m.records.removeLast(); });
            type(d, 5);
            type(d, 123); // typed back: that step goes
        }) << 4;
        QTest::newRow("undone past a save") << Session([](ConfigDocument &d, const QString &) {
            setValue(d, 300);
            type(d, 7);
            QVERIFY(save(d));
            d.undoStack()->undo();
            type(d, 8);
            d.undoStack()->undo();
            d.undoStack()->undo();
            d.undoStack()->redo();
        }) << 3;
        QTest::newRow("boxes kept through a reload of the monster file")
            << Session([](ConfigDocument &d, const QString &) {
                   setValue(d, 300);
                   type(d, 7);
                   d.undoStack()->undo();
                   d.undoStack()->undo();
                   type(d, 9);
                   QString error;
                   QVERIFY(d.reloadFromDisk(DropFilePair::File::Monsters, error));
                   setValue(d, 400);
               })
            << 2;
    }

    // Replayed as undo steps on the same files: the documents are the crashed session's, the
    // files are untouched; the next session goes on in the same journal.
    void restore()
    {
        QFETCH(Session, session);
        QFETCH(int, steps);
        const QString dir = configs.next();
        ConfigDocument crashed;
        crashed.loadDirectory(dir);
        session(crashed, dir);
        const QByteArray files = fileBytes(crashed);

        ConfigDocument next;
        next.loadDirectory(dir);
        const ConfigDocument::RecoveryOffer offer = next.recoveryOffer();
        QCOMPARE(offer.steps, steps);
        QVERIFY(!offer.damaged && offer.changedFiles.isEmpty());
        const ConfigDocument::RecoveryResult result = next.restoreRecovery();
        QCOMPARE(result.restored, steps);
        QVERIFY(!result.stopped);
        QCOMPARE(documentBytes(next), documentBytes(crashed));
        QCOMPARE(fileBytes(next), files);
        QVERIFY(next.isModified());

        next.undoStack()->undo();
        setValue(next, 1);
        ConfigDocument third;
        third.loadDirectory(dir);
        QVERIFY(third.restoreRecovery().restored > 0);
        QCOMPARE(documentBytes(third), documentBytes(next));
    }

    // A journal cut short by the crash gives back the steps before the cut.
    void damagedJournal()
    {
        const QString dir = configs.next();
        ConfigDocument crashed;
        crashed.loadDirectory(dir);
        setValue(crashed, 300);
        type(crashed, 7);
        const QByteArray beforeLast = documentBytes(crashed);
        setValue(crashed, 400);
        const QString journal =
            RecoveryJournal::pathFor(crashed.monsterFilePath(), crashed.boxFilePath());
        QFile file(journal);
        QVERIFY(file.resize(file.size() - 3));

        ConfigDocument next;
        next.loadDirectory(dir);
        QVERIFY(next.recoveryOffer().damaged);
        const ConfigDocument::RecoveryResult result = next.restoreRecovery();
        QVERIFY(result.damaged);
        QCOMPARE(result.restored, 2);
        QCOMPARE(documentBytes(next), beforeLast);
    }

    // Files changed since: the journal is offered for discarding only; discarding it leaves the
    // files as they are, and a save or a close without saving leaves no journal.
    void changedFilesAndDiscarding()
    {
        const QString dir = configs.next();
        ConfigDocument crashed;
        crashed.loadDirectory(dir);
        setValue(crashed, 300);
        const QString journal =
            RecoveryJournal::pathFor(crashed.monsterFilePath(), crashed.boxFilePath());
        QVERIFY(QFile::exists(journal));
        QByteArray boxes = TestSupport::readBytes(crashed.boxFilePath());
        boxes.replace("3 1000 -1", "3 1001 -1");
        QVERIFY(TestSupport::writeBytes(crashed.boxFilePath(), boxes));

        ConfigDocument next;
        next.loadDirectory(dir);
        QCOMPARE(next.recoveryOffer().changedFiles, QStringList{next.boxFilePath()});
        QCOMPARE(next.restoreRecovery().restored, 0);
        QVERIFY(!next.isModified());
        const QByteArray files = fileBytes(next);
        next.discardRecovery();
        QVERIFY(!QFile::exists(journal));
        QCOMPARE(fileBytes(next), files);

        setValue(next, 5);
        QVERIFY(QFile::exists(journal));
        QVERIFY(save(next));
        QVERIFY(!QFile::exists(journal));
        setValue(next, 6);
        next.discardJournal();
        QVERIFY(!QFile::exists(journal));
    }
};

QTEST_GUILESS_MAIN(TestRecoveryJournal)
#include "tst_recoveryjournal.moc"
