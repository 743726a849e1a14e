#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

using WindowTest::Harness;
using Kind = ScriptedPrompts::Kind;

namespace {

// Monster 1001's value in the file, written by another program.
void writeValueBehind(const Harness &h, const QByteArray &value)
{
    const QString path = h.window->monsterFilePath();
    QByteArray bytes = TestSupport::readBytes(path);
    bytes.replace("1001\t200\t", QByteArray("1001\t" + value + "\t"));
    TestSupport::writeBytes(path, bytes);
}

void editValue(const Harness &h, int value)
{
    h.window->configDocument()->edit(
        QStringLiteral("修改"),
        [value](MonsterDropData &m, DropBoxContentData &) { m.records[1].mValue = value; });
}

} // namespace

class TestMainWindowDiskChanges : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { NameResolver::instance().clear(); }

    // Without unsaved changes the file is read again and noted; with them, the bar above the
    // views offers to reload it (asking first) or to keep them.
    void changedFile_data()
    {
        QTest::addColumn<bool>("unsaved");
        QTest::addColumn<QString>("button");
        QTest::newRow("no unsaved changes") << false << QString();
        QTest::newRow("reload") << true << "reloadFromDiskButton";
        QTest::newRow("keep mine") << true << "keepMyChangesButton";
    }

    void changedFile()
    {
        QFETCH(bool, unsaved);
        QFETCH(QString, button);
        Harness h;
        QVERIFY(h.selectMonster(1002));
        if (unsaved)
            editValue(h, 77);
        writeValueBehind(h, "999");
        const MonsterDropData &monsters = h.window->monsterDocument();
        if (!unsaved) {
            QTRY_COMPARE(monsters.records.at(0).mValue, 999);
            QVERIFY(EditTest::logMessages(h).constLast().endsWith(h.window->monsterFilePath()));
            QVERIFY(h.window->statusBar()->currentMessage().contains("MonsterDropBoxs.txt"));
            QCOMPARE(h.window->selectedMonsterId(), 1002);
            QVERIFY(!h.child<QFrame>(QStringLiteral("diskChangeBar")));
            return;
        }
        QTRY_VERIFY(h.child<QFrame>(QStringLiteral("diskChangeBar")));
        auto *bar = h.child<QFrame>(QStringLiteral("diskChangeBar"));
        QVERIFY(!bar->isHidden());
        QVERIFY(h.child<QLabel>(QStringLiteral("diskChangeLabel"))
                    ->text()
                    .startsWith("MonsterDropBoxs.txt"));
        auto *clicked = h.child<QPushButton>(button);
        QVERIFY(clicked->focusPolicy() & Qt::TabFocus);
        QVERIFY(!clicked->shortcut().isEmpty());
        h.prompts->chooseAnswers << 0;
        clicked->click();
        QVERIFY(bar->isHidden());
        const bool reload = button == QLatin1String("reloadFromDiskButton");
        QCOMPARE(h.prompts->count(Kind::Choose), reload ? 1 : 0);
        QCOMPARE(monsters.records.at(0).mValue, reload ? 999 : 200);
        QCOMPARE(monsters.records.at(1).mValue, reload ? 500 : 77);
        QCOMPARE(h.window->selectedMonsterId(), 1002);
        QCOMPARE(h.window->isWindowModified(), !reload);
    }

    // A file changed behind the watcher's back: the save asks, and each answer does what it says.
    void saveAsksBeforeReplacing_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("overwrite") << 0;
        QTest::newRow("cancel") << 1;
    }

    void saveAsksBeforeReplacing()
    {
        QFETCH(int, answer);
        Harness h;
        editValue(h, 77);
        writeValueBehind(h, "999");
        const QByteArray theirs = TestSupport::readBytes(h.window->monsterFilePath());
        h.prompts->chooseAnswers << answer;
        h.window->onSave();
        QCOMPARE(h.prompts->calls.at(0).title, QStringLiteral("文件已被修改"));
        QVERIFY(h.prompts->calls.at(0).text.contains(h.window->monsterFilePath()));
        const QByteArray now = TestSupport::readBytes(h.window->monsterFilePath());
        QCOMPARE(now == theirs, answer == 1);
        QCOMPARE(h.window->isWindowModified(), answer == 1);
    }
};

QTEST_MAIN(TestMainWindowDiskChanges)
#include "tst_mainwindowdiskchanges.moc"
