#include "TestSupport.h"
#include "data/NameResolver.h"
#include "document/ConfigDocument.h"
#include "edit/MonsterEdits.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// Files changed by other programs, as the document sees them: a drop file without unsaved
// changes is read again, one with unsaved changes is reported, a name table is read again.
class TestDiskChanges : public QObject
{
    Q_OBJECT

private:
    TestSupport::ConfigCopies configs;

    // Another program's edit: in place, or a new file renamed over the old one.
    static bool replaceText(const QString &path, const QByteArray &from, const QByteArray &to,
                            bool throughRename)
    {
        QByteArray bytes = TestSupport::readBytes(path);
        if (!bytes.contains(from))
            return false;
        bytes.replace(from, to);
        if (!throughRename)
            return TestSupport::writeBytes(path, bytes);
        QSaveFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
               file.commit();
    }

private Q_SLOTS:
    void externalChange_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("unsaved");
        QTest::addColumn<bool>("throughRename");
        QTest::newRow("monsters") << "MonsterDropBoxs.txt" << false << false;
        QTest::newRow("monsters, unsaved") << "MonsterDropBoxs.txt" << true << false;
        QTest::newRow("boxes, renamed over") << "DropBoxContent.txt" << false << true;
        QTest::newRow("boxes, unsaved, renamed over") << "DropBoxContent.txt" << true << true;
        QTest::newRow("name table") << "CommonItem.txt" << false << false;
        QTest::newRow("name table, renamed over") << "CommonItem.txt" << false << true;
    }

    void externalChange()
    {
        QFETCH(QString, fileName);
        QFETCH(bool, unsaved);
        QFETCH(bool, throughRename);
        NameResolver::instance().clear();
        ConfigDocument document;
        const QString path = QDir(configs.next()).filePath(fileName);
        document.loadDirectory(QFileInfo(path).path());
        QVERIFY(document.watchedFiles().contains(path));
        const bool boxes = fileName == QLatin1String("DropBoxContent.txt");
        if (unsaved) {
            document.edit(QStringLiteral("修改"), [&](MonsterDropData &m, DropBoxContentData &b) {
                if (boxes)
                    b.boxes[1].boxValue = 55;
                else
                    MonsterEdits::changeMonsterValue(m, {1002}, 55);
            });
        }
        QSignalSpy reloaded(&document, &ConfigDocument::reloadedFromDisk);
        QSignalSpy reported(&document, &ConfigDocument::fileChangedOnDisk);
        QSignalSpy changed(&document, &ConfigDocument::documentChanged);

        const QByteArray from = boxes                       ? "3 1000 -1"
                                : fileName.startsWith(u'M') ? "1001\t200\t"
                                                            : "回城卷轴";
        const QByteArray to = boxes                       ? "3 1234 -1"
                              : fileName.startsWith(u'M') ? "1001\t999\t"
                                                          : "传送卷轴";
        QVERIFY(replaceText(path, from, to, throughRename));
        QTRY_VERIFY(reloaded.count() + reported.count() > 0);

        if (unsaved) {
            QCOMPARE(reported.count(), 1);
            QVERIFY(reported.at(0).at(0).value<DropFilePair::File>() ==
                    (boxes ? DropFilePair::File::Boxes : DropFilePair::File::Monsters));
            QCOMPARE(reloaded.count(), 0);
            QVERIFY(document.isModified());
            QVERIFY(boxes ? document.boxes().boxes.at(1).boxValue == 55
                          : document.monsters().records.at(1).mValue == 55);
        } else {
            QCOMPARE(reloaded.count(), 1);
            QCOMPARE(reloaded.at(0).at(0).toString(), path);
            QCOMPARE(changed.count(), 1);
            const auto update = changed.at(0).at(0).value<DocumentUpdate>();
            QVERIFY(update.cause == DocumentUpdate::Cause::Load);
            if (fileName == QLatin1String("CommonItem.txt")) {
                QVERIFY(update.namesReloaded);
                QCOMPARE(NameResolver::instance().itemName(5001), QStringLiteral("传送卷轴"));
            } else if (boxes) {
                QCOMPARE(document.boxes().boxes.at(0).boxValue, 1234);
            } else {
                QCOMPARE(document.monsters().records.at(0).mValue, 999);
            }
            QVERIFY(!document.isModified());
        }

        // Watched again after the rename: a second change is seen too.
        reloaded.clear();
        reported.clear();
        QByteArray again = to;
        again.replace("9", "8").replace("4", "5").replace("传送", "飞行");
        QVERIFY(replaceText(path, to, again, false));
        QTRY_VERIFY(reloaded.count() + reported.count() > 0);
    }

    // The editor's own save is no change; a write behind the watcher's back is found before
    // the next save.
    void ownSaveAndCheckBeforeSave()
    {
        ConfigDocument document;
        const QString config = configs.next();
        document.loadDirectory(config);
        document.edit(QStringLiteral("修改"), [](MonsterDropData &m, DropBoxContentData &b) {
            MonsterEdits::changeMonsterValue(m, {1001}, 321);
            b.boxes[0].boxValue = 4321;
        });
        QSignalSpy reloaded(&document, &ConfigDocument::reloadedFromDisk);
        QSignalSpy reported(&document, &ConfigDocument::fileChangedOnDisk);
        DropFilePair::SaveFailure failure;
        QVERIFY(document.changedOnDisk(document.currentTargets()).isEmpty());
        QVERIFY(document.save(document.currentTargets(), QDateTime::currentDateTime(), failure));
        QTest::qWait(600);
        QCOMPARE(reloaded.count() + reported.count(), 0);

        QVERIFY(replaceText(document.boxFilePath(), "4321", "4322", false));
        QVERIFY(document.changedOnDisk(document.currentTargets()) ==
                QList<DropFilePair::File>{DropFilePair::File::Boxes});
        // Another file chosen as target was asked about by its file dialog.
        QVERIFY(document.changedOnDisk({QString(), QDir(config).filePath("other.txt")}).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDiskChanges)
#include "tst_diskchanges.moc"
