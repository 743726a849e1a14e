#include "TestSupport.h"
#include "WindowTestSupport.h"

#include "dialogs/DropBoxManagerDialog.h"
#include "document/RecoveryJournal.h"

#include <QAction>
#include <QProcess>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#endif

using WindowTest::Harness;
using Kind = ScriptedPrompts::Kind;

namespace {

const char *crashingSession = "--crashing-session";

QByteArray savedFiles(const MainWindow &window)
{
    return TestSupport::readBytes(window.monsterFilePath()) + "=====\n" +
           TestSupport::readBytes(window.boxFilePath());
}

// The child: edits of several kinds in a real window, the bytes a save would write now kept
// beside, then the process is killed.
int runCrashingSession(const QString &configDir, const QString &expectedPath)
{
    Harness h(Harness::Existing{configDir});
    h.window->show();
    EditTest::prepare(h, {1001});
    h.prompts->intAnswers << 300;
    h.window->changeMonsterValue();
    if (!EditTest::prepare(h, {1002}, 8))
        return 2;
    QTest::keyClicks(h.child<QLineEdit>(QStringLiteral("boxValueSpin")), QStringLiteral("15"));
    h.child<QPushButton>(QStringLiteral("boxManagerButton"))->click();
    auto *manager = h.window->findChild<DropBoxManagerDialog *>();
    if (!manager || !QTest::qWaitFor([manager] { return !manager->isItemLibraryLoading(); }))
        return 3;
    h.prompts->textAnswers << QStringLiteral("7");
    manager->findChild<QPushButton *>(QStringLiteral("removeBoxByIdButton"))->click();
    h.child<QAction>(QStringLiteral("actionUndo"))->trigger();
    h.child<QAction>(QStringLiteral("actionRedo"))->trigger();
    EditTest::prepare(h, {2001});
    h.prompts->questionAnswers << true;
    h.window->setNoDrop();
    if (!h.window->isWindowModified() ||
        !TestSupport::writeBytes(expectedPath, EditFixtures::savedBytes(h.window->monsterDocument(),
                                                                        h.window->boxDocument())))
        return 4;
#ifdef Q_OS_UNIX
    ::kill(::getpid(), SIGKILL);
#endif
    return 5;
}

} // namespace

// The editor killed in the middle of a session, started again on the same files.
class TestRecoveryCrash : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir temp;

private Q_SLOTS:
    void initTestCase()
    {
        // The journals go to a directory of the test's own, for the child process too.
        qputenv("XDG_DATA_HOME", temp.filePath(QStringLiteral("data")).toUtf8());
    }

    void killedAndStartedAgain_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("restore and save") << 0;
        QTest::newRow("discard") << 1;
    }

    void killedAndStartedAgain()
    {
#ifndef Q_OS_UNIX
        QSKIP("needs SIGKILL");
#endif
        QFETCH(int, answer);
        const QString configDir = temp.filePath(QString::number(answer));
        QVERIFY(WindowTest::copyDirectory(WindowTest::fixturePath(QStringLiteral("config")),
                                          configDir));
        const QString expected = temp.filePath(QStringLiteral("expected-%1").arg(answer));
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {QString::fromLatin1(crashingSession), configDir, expected});
        QVERIFY(child.waitForFinished(120000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QVERIFY(QFile::exists(expected));

        Harness h(Harness::Existing{configDir});
        const QByteArray before = savedFiles(*h.window);
        const QString journal =
            RecoveryJournal::pathFor(h.window->monsterFilePath(), h.window->boxFilePath());
        QVERIFY(QFile::exists(journal));
        h.prompts->chooseAnswers << answer;
        QTRY_COMPARE(h.prompts->count(Kind::Choose), 1);
        QCOMPARE(h.prompts->calls.at(0).title, QStringLiteral("恢复未保存的修改"));
        QCOMPARE(savedFiles(*h.window), before);
        if (answer == 0) {
            QVERIFY(h.window->isWindowModified());
            h.window->onSave();
            QCOMPARE(savedFiles(*h.window), TestSupport::readBytes(expected));
        } else {
            QVERIFY(!h.window->isWindowModified());
        }
        QVERIFY(!QFile::exists(journal));
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], crashingSession) == 0)
        return runCrashingSession(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    TestRecoveryCrash test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recoverycrash.moc"
