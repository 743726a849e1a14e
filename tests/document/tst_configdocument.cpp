#include "TestSupport.h"
#include "data/DropFilePair.h"
#include "document/ConfigDocument.h"
#include "edit/BoxEdits.h"
#include "edit/BoxManagerEdits.h"
#include "edit/MonsterEdits.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

#include <functional>

using Edit = std::function<void(MonsterDropData &, DropBoxContentData &)>;
Q_DECLARE_METATYPE(Edit)

class TestConfigDocument : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    TestSupport::ConfigCopies configs;

private Q_SLOTS:
    void loadAndOpen()
    {
        ConfigDocument document;
        QSignalSpy changed(&document, &ConfigDocument::documentChanged);
        const QString config = configs.next();
        document.loadDirectory(config);
        QCOMPARE(changed.count(), 1);
        const auto update = changed.takeFirst().at(0).value<DocumentUpdate>();
        QVERIFY(update.cause == DocumentUpdate::Cause::Load && update.namesReloaded);
        QVERIFY(update.recordsAddedOrRemoved && update.boxesAddedOrRemoved);
        QCOMPARE(document.monsterFilePath(), QDir(config).filePath("MonsterDropBoxs.txt"));
        QCOMPARE(document.filePair().boxStamp().size, QFileInfo(document.boxFilePath()).size());
        QVERIFY(!document.isModified());

        // A file that does not read leaves everything as it was.
        const QString broken = dir.filePath("broken.txt");
        TestSupport::writeBytes(broken, "h1\nh2\n7 x\n");
        const DropBoxContentData before = document.boxes();
        QString error;
        QVERIFY(!document.openBoxFile(broken, error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(changed.count(), 0);
        QVERIFY(document.boxes().boxes == before.boxes);
        QCOMPARE(document.boxFilePath(), QDir(config).filePath("DropBoxContent.txt"));
    }

    void editUndoRedo_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<bool>("recordsMoved");
        QTest::addColumn<bool>("boxesMoved");
        QTest::newRow("values only") << Edit([](MonsterDropData &m, DropBoxContentData &) {
            MonsterEdits::changeMonsterValue(m, {1001}, 777);
        }) << false << false;
        QTest::newRow("box added") << Edit([](MonsterDropData &m, DropBoxContentData &b) {
            BoxManagerEdits::addBox(b, &m);
        }) << false << true;
        QTest::newRow("record removed")
            << Edit([](MonsterDropData &m, DropBoxContentData &) { m.records.removeFirst(); })
            << true << false;
    }

    void editUndoRedo()
    {
        QFETCH(Edit, edit);
        QFETCH(bool, recordsMoved);
        QFETCH(bool, boxesMoved);
        ConfigDocument document;
        document.loadDirectory(configs.next());
        const MonsterDropData monsters = document.monsters();
        const DropBoxContentData boxes = document.boxes();
        QSignalSpy changed(&document, &ConfigDocument::documentChanged);
        QSignalSpy modified(&document, &ConfigDocument::modifiedChanged);

        document.edit(QStringLiteral("步骤"), edit);
        QCOMPARE(changed.count(), 1);
        auto update = changed.takeFirst().at(0).value<DocumentUpdate>();
        QCOMPARE(update.stepName, QStringLiteral("步骤"));
        QCOMPARE(update.recordsAddedOrRemoved, recordsMoved);
        QCOMPARE(update.boxesAddedOrRemoved, boxesMoved);
        QVERIFY(document.isModified());
        QCOMPARE(modified.count(), 1);

        document.undoStack()->undo();
        QCOMPARE(changed.count(), 1);
        update = changed.takeFirst().at(0).value<DocumentUpdate>();
        QVERIFY(update.cause == DocumentUpdate::Cause::Undo);
        QVERIFY(document.monsters().records == monsters.records);
        QVERIFY(document.boxes().boxes == boxes.boxes);
        QVERIFY(!document.isModified());

        document.undoStack()->redo();
        QCOMPARE(changed.count(), 1);
        QVERIFY(changed.takeFirst().at(0).value<DocumentUpdate>().cause ==
                DocumentUpdate::Cause::Redo);

        // A change to nothing is no step and no signal.
        document.edit(QStringLiteral("无"), [](MonsterDropData &, DropBoxContentData &) {});
        QCOMPARE(changed.count(), 0);
        QCOMPARE(document.undoStack()->count(), 1);
    }

    // The unsaved state follows what is on disk: save as writes the monster file only.
    void savedState()
    {
        ConfigDocument document;
        const QString config = configs.next();
        document.loadDirectory(config);
        document.edit(QStringLiteral("添加包裹"), [](MonsterDropData &m, DropBoxContentData &b) {
            BoxManagerEdits::addBox(b, &m);
            MonsterEdits::changeMonsterValue(m, {1001}, 5);
        });
        DropFilePair::SaveFailure failure;
        const QString other = dir.filePath("other.txt");
        QVERIFY(document.save({other, QString()}, QDateTime::currentDateTime(), failure));
        QCOMPARE(document.monsterFilePath(), other);
        QVERIFY(!document.monstersModified());
        QVERIFY(document.boxesModified());

        QVERIFY(document.save(document.currentTargets(), QDateTime::currentDateTime(), failure));
        QVERIFY(!document.isModified());
        ConfigDocument reloaded;
        reloaded.loadDirectory(config);
        QCOMPARE(reloaded.boxes().boxes.size(), document.boxes().boxes.size());
        // Undone past the save: the disk holds the change, the document does not.
        document.undoStack()->undo();
        QVERIFY(document.monstersModified() && document.boxesModified());
    }

    // An edit to a document that came from no file stays unsaved until it is given one.
    void documentWithoutFile()
    {
        ConfigDocument document;
        document.loadDirectory(configs.next({QStringLiteral("DropBoxContent.txt")}));
        document.edit(QStringLiteral("添加包裹"), [](MonsterDropData &m, DropBoxContentData &b) {
            BoxManagerEdits::addBox(b, &m);
        });
        QVERIFY(document.boxFilePath().isEmpty());
        QVERIFY(document.boxesModified() && !document.monstersModified());
        DropFilePair::SaveFailure failure;
        QVERIFY(document.save(document.currentTargets(), QDateTime::currentDateTime(), failure));
        QVERIFY(document.boxesModified());
        const QString boxPath = dir.filePath("boxes.txt");
        QVERIFY(document.save({QString(), boxPath}, QDateTime::currentDateTime(), failure));
        QVERIFY(!document.isModified());
        QCOMPARE(document.boxFilePath(), boxPath);
    }

    // Another folder replaces both documents: a file it lacks, or one that does not read (its
    // first line does), leaves that document empty and without a file.
    void openDirectory()
    {
        ConfigDocument document;
        document.loadDirectory(configs.next());
        const QString other = configs.next({QStringLiteral("DropBoxContent.txt")});
        const QString monsterPath = QDir(other).filePath("MonsterDropBoxs.txt");
        QVERIFY(QFile::remove(monsterPath));
        QVERIFY(QFile::copy(LOOTWRIGHT_TEST_DATA "/window/other/monsters_bad.txt", monsterPath));
        QSignalSpy changed(&document, &ConfigDocument::documentChanged);
        document.openDirectory(other);
        QCOMPARE(changed.count(), 1);
        const auto update = changed.takeFirst().at(0).value<DocumentUpdate>();
        QVERIFY(update.recordsAddedOrRemoved && update.boxesAddedOrRemoved);
        QVERIFY(document.monsters().records.isEmpty() && document.boxes().boxes.isEmpty());
        QVERIFY(document.monsterFilePath().isEmpty() && document.boxFilePath().isEmpty());
        QCOMPARE(document.configDirectory(), other);
        QVERIFY(!document.isModified());
    }

    // The reverse lookup follows every change, the item table's own id edit included.
    void lookupFollowsChanges()
    {
        ConfigDocument document;
        document.loadDirectory(configs.next());
        QVERIFY(!document.itemSourceIndex().sources(5001).isEmpty());
        document.edit(QStringLiteral("修改物品ID"), [](MonsterDropData &, DropBoxContentData &b) {
            QVERIFY(BoxEdits::setItemId(b, 3, 0, 5999));
        });
        QVERIFY(!document.itemSourceIndex().sources(5999).isEmpty());
        document.undoStack()->undo();
        QVERIFY(document.itemSourceIndex().sources(5999).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestConfigDocument)
#include "tst_configdocument.moc"
