#include "TestSupport.h"
#include "WindowTestSupport.h"

#include "edit/RecentFolders.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTest>

using WindowTest::Harness;

namespace {

// Offscreen's own screen (800 x 600) is smaller than the window, and a restored window is fitted
// to its screen: these tests run on a larger one.
const bool largeScreen =
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" LOOTWRIGHT_TEST_DATA "/window/screen.json");

// A second configuration folder beside the harness's, without a box file.
QString secondFolder(const Harness &h)
{
    const QString folder = h.temp.filePath(QStringLiteral("second"));
    WindowTest::copyDirectory(WindowTest::fixturePath(QStringLiteral("config")), folder);
    QFile::remove(QDir(folder).filePath(QStringLiteral("DropBoxContent.txt")));
    return folder;
}

// What a window shows of its configuration, to compare with a window started on the folder.
QStringList loaded(const MainWindow &w)
{
    return {w.windowTitle(),
            w.configDirectory(),
            w.monsterFilePath(),
            w.boxFilePath(),
            QString::number(w.monsterDocument().records.size()),
            QString::number(w.boxDocument().boxes.size())};
}

QStringList recentEntries(const Harness &h)
{
    QStringList entries;
    for (QAction *action : h.child<QMenu>(QStringLiteral("menuRecent"))->actions()) {
        if (!action->isSeparator())
            entries << action->toolTip();
    }
    return entries;
}

} // namespace

class TestMainWindowFolders : public QObject
{
    Q_OBJECT

    TestSupport::IsolatedSettings settings;

private Q_SLOTS:
    void initTestCase() { QVERIFY(settings.isValid() && largeScreen); }
    void init() { TestSupport::IsolatedSettings::clear(); }

    // 文件 → 打开配置目录... asks about unsaved changes first, then reads the folder as start-up
    // would, with nothing kept from the folder before.
    void openFolder_data()
    {
        // To the unsaved-changes question: -1 none asked (nothing changed), 1 discard, 2 cancel.
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<bool>("leftJournal");
        QTest::newRow("saved") << -1 << QStringList{"existingDirectory|打开配置目录"} << false;
        QTest::newRow("unsaved, discarded")
            << 1 << QStringList{"choose|未保存的修改", "existingDirectory|打开配置目录"} << false;
        QTest::newRow("unsaved, cancelled") << 2 << QStringList{"choose|未保存的修改"} << false;
        // A session on the folder that ended without closing is offered (and here discarded).
        QTest::newRow("recovery journal in the folder")
            << -1 << QStringList{"existingDirectory|打开配置目录", "choose|恢复未保存的修改"}
            << true;
    }

    void openFolder()
    {
        QFETCH(int, answer);
        Harness h;
        MainWindow &w = *h.window;
        const QString second = secondFolder(h);
        if (answer >= 0)
            w.configDocument()->edit(QStringLiteral("修改"),
                                     [](MonsterDropData &m, DropBoxContentData &) {
                                         MonsterEdits::changeMonsterValue(m, {1001}, 777);
                                     });
        QFETCH(bool, leftJournal);
        if (leftJournal) {
            MainWindow crashed(std::make_unique<ScriptedPrompts>(), second);
            crashed.configDocument()->edit(QStringLiteral("修改"),
                                           [](MonsterDropData &m, DropBoxContentData &) {
                                               MonsterEdits::changeMonsterValue(m, {1001}, 5);
                                           });
        }
        const QStringList before = loaded(w);
        h.prompts->chooseAnswers << (leftJournal ? 1 : answer);
        h.prompts->directoryAnswers << second;

        h.child<QAction>("actionOpenFolder")->trigger();
        QStringList asked;
        for (const ScriptedPrompts::Call &call : h.prompts->calls)
            asked << ScriptedPrompts::kindName(call.kind) + QLatin1Char('|') + call.title;
        QTEST(asked, "asked");
        if (answer == 2) {
            QCOMPARE(loaded(w), before);
            QVERIFY(RecentFolders::load().folders().isEmpty());
            return;
        }
        QCOMPARE(h.prompts->calls.at(answer >= 0 ? 1 : 0).text, h.configDir);
        MainWindow fresh(std::make_unique<ScriptedPrompts>(), second);
        QCOMPARE(loaded(w), loaded(fresh));
        QVERIFY(w.boxFilePath().isEmpty() && !w.isWindowModified());
        QCOMPARE(EditTest::staleState(h), QString());
        QCOMPARE(h.child<QLabel>("configFolderLabel")->text(),
                 QStringLiteral("配置目录：") + QDir::toNativeSeparators(second));
        QCOMPARE(RecentFolders::load().folders(), QStringList{second});
    }

    // Without a folder the window says how to open one, and the load button asks for one.
    void emptyWindow()
    {
        auto scripted = std::make_unique<ScriptedPrompts>();
        ScriptedPrompts *prompts = scripted.get();
        MainWindow w(std::move(scripted), QString());
        QCOMPARE(w.windowTitle(), QStringLiteral("Lootwright - 四栏布局[*]"));
        QVERIFY(w.findChild<QLabel *>("configFolderLabel")->text().contains("文件 → 打开配置目录"));
        QVERIFY(prompts->calls.isEmpty());
        w.findChild<QPushButton *>("loadConfigButton")->click();
        QCOMPARE(prompts->transcript(), QStringList{"existingDirectory|打开配置目录|"});
    }

    // 最近打开: newest first with the path as tooltip; a missing folder is said and dropped, an
    // existing one opens and moves to the front; the list can be cleared.
    void recentMenu()
    {
        QTemporaryDir dir;
        const QString live = dir.filePath("live");
        const QString test = dir.filePath("test");
        const QString gone = dir.filePath("gone");
        for (const QString &folder : {live, test})
            QVERIFY(WindowTest::copyDirectory(WindowTest::fixturePath("config"), folder));
        QVERIFY(RecentFolders(QStringList{test, gone, live}).save());
        Harness h(QString{});
        QCOMPARE(recentEntries(h), (QStringList{test, gone, live, "清除列表"}));
        QMenu *menu = h.child<QMenu>("menuRecent");
        QCOMPARE(menu->actions().at(0)->text(), test);

        menu->actions().at(1)->trigger();
        QCOMPARE(h.prompts->transcript(),
                 QStringList{"warning|最近打开|配置目录不存在，已从最近打开列表中移除：\n" + gone});
        QCOMPARE(recentEntries(h), (QStringList{test, live, "清除列表"}));

        menu->actions().at(1)->trigger();
        QCOMPARE(h.window->configDirectory(), live);
        QCOMPARE(recentEntries(h), (QStringList{live, test, "清除列表"}));

        h.child<QAction>("actionClearRecent")->trigger();
        QCOMPARE(recentEntries(h), (QStringList{"（无）", "清除列表"}));
        QVERIFY(!h.child<QAction>("actionClearRecent")->isEnabled());
        QVERIFY(RecentFolders::load().folders().isEmpty());
    }

    // A window closed at one size comes back at that size, its splitters as they were, and the
    // density follows the restored size.
    void restoredWindowState()
    {
        QList<int> columns;
        {
            Harness h(QString{});
            h.window->restoreWindowState();
            h.window->show();
            QVERIFY(QTest::qWaitForWindowExposed(h.window.get()));
            h.window->resize(1100, 800);
            QTRY_COMPARE(h.window->currentDensityLevel(), 0);
            QCoreApplication::processEvents(); // the layouts follow the new size
            auto *splitter = h.child<QSplitter>("mainSplitter");
            // As a drag of a handle would: the same width shared out otherwise.
            columns = splitter->sizes();
            columns[0] += 40;
            columns[3] -= 40;
            splitter->setSizes(columns);
            QCOMPARE(splitter->sizes(), columns);
            QVERIFY(h.window->close());
        }
        Harness h(QString{});
        QCOMPARE(h.window->size(), QSize(1280, 960)); // windows of tests keep no state
        h.window->restoreWindowState();
        QCOMPARE(h.window->size(), QSize(1100, 800));
        QCOMPARE(h.window->currentDensityLevel(), 0);
        h.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.window.get()));
        QCOMPARE(h.child<QSplitter>("mainSplitter")->sizes(), columns);
    }
};

QTEST_MAIN(TestMainWindowFolders)
#include "tst_mainwindowfolders.moc"
