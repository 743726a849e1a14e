#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>

using Kind = ScriptedPrompts::Kind;
using TestSupport::readBytes;
using TestSupport::writeBytes;
using WindowTest::Harness;

namespace {

const QDateTime fixedTime(QDate(2026, 12, 6), QTime(10, 0, 0));
const QString filter = QStringLiteral("配置文件 (*.txt);;所有文件 (*.*)");

// Everything a load could disturb, as text, so "unchanged" is one comparison.
QStringList snapshot(const Harness &h)
{
    const MainWindow &w = *h.window;
    QStringList state;
    state << w.windowTitle() << w.monsterFilePath() << w.boxFilePath()
          << QString::number(w.selectedMonsterId())
          << (w.selectedConfig() ? QString::number(w.selectedConfig()->mValue) : "no record")
          << (w.selectedBox() ? QString::number(w.selectedBox()->boxId) : "no box");
    for (const MonsterDropConfig &record : w.monsterDocument().records)
        state << QStringLiteral("m%1/%2").arg(record.monsterId).arg(record.mValue);
    for (const DropBoxConfig &box : w.boxDocument().boxes)
        state << QStringLiteral("b%1/%2").arg(box.boxId).arg(box.boxValue);
    for (const char *view : {"monsterListView", "boxListView", "summaryView"})
        state << h.columnTexts(QString::fromLatin1(view), 0).join(',') + QLatin1Char('|') +
                     h.columnTexts(QString::fromLatin1(view), 1).join(',');
    state << h.columnTexts("itemTableView", 1).join(',');
    for (const char *label :
         {"detailMonsterId", "detailMValue", "detailDropType", "detailBoxCount", "dropRateValue"})
        state << h.child<QLabel>(QString::fromLatin1(label))->text();
    state << h.child<QLineEdit>("boxIdEdit")->text() << h.child<QLineEdit>("boxValueSpin")->text();
    const QModelIndex current = h.view("monsterListView")->currentIndex();
    state << (current.isValid() ? current.data().toString() : "no current monster row");
    const QModelIndex currentBox = h.view("boxListView")->currentIndex();
    state << (currentBox.isValid() ? currentBox.data().toString() : "no current box row");
    return state;
}

} // namespace

class TestMainWindowFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void autoLoad()
    {
        Harness h;
        const MainWindow &w = *h.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Lootwright - MonsterDropBoxs.txt[*]"));
        QVERIFY(h.prompts->calls.isEmpty());
        QCOMPARE(w.monsterFilePath(), QDir(h.configDir).filePath("MonsterDropBoxs.txt"));
        QCOMPARE(w.boxFilePath(), QDir(h.configDir).filePath("DropBoxContent.txt"));
        QCOMPARE(w.monsterDocument().records.size(), 3);
        QCOMPARE(w.boxDocument().boxes.size(), 3);
        QCOMPARE(h.columnTexts("monsterListView", 1), (QStringList{"史莱姆", "骷髅兵", "火焰魔"}));
        QVERIFY(h.child<QPlainTextEdit>("operationLogEdit")->toPlainText().isEmpty());
    }

    void autoLoadWithoutDirectory()
    {
        Harness h(QString{});
        const MainWindow &w = *h.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Lootwright - 四栏布局[*]"));
        QVERIFY(w.monsterFilePath().isEmpty());
        QVERIFY(w.boxFilePath().isEmpty());
        QCOMPARE(h.view("monsterListView")->model()->rowCount(), 0);
        QVERIFY(h.prompts->calls.isEmpty());

        // Nothing to save: said so, nothing written, no log line.
        h.child<QPushButton>("saveConfigButton")->click();
        QCOMPARE(h.prompts->transcript(),
                 QStringList{QStringLiteral("information|提示|没有已加载的配置文件，无需保存")});
        QVERIFY(h.child<QPlainTextEdit>("operationLogEdit")->toPlainText().isEmpty());
        QVERIFY(!QFileInfo::exists(h.configDir));
    }

    void autoLoadBadMonsterFile()
    {
        Harness h(QStringLiteral("config"));
        // Rebuild on a configuration whose monster file does not parse.
        const QString monsterPath = QDir(h.configDir).filePath("MonsterDropBoxs.txt");
        const QByteArray bad = readBytes(WindowTest::fixturePath("other/monsters_bad.txt"));
        QVERIFY(writeBytes(monsterPath, bad));
        auto scripted = std::make_unique<ScriptedPrompts>();
        ScriptedPrompts *prompts = scripted.get();
        MainWindow w(std::move(scripted), h.configDir);
        w.setClock([] { return fixedTime; });
        QCOMPARE(w.windowTitle(), QStringLiteral("Lootwright - 四栏布局[*]"));
        QVERIFY(w.monsterFilePath().isEmpty());
        QVERIFY(!w.boxFilePath().isEmpty());
        // The records before the bad line never reach the editor.
        QVERIFY(w.monsterDocument().records.isEmpty());
        QVERIFY(prompts->calls.isEmpty());

        const QByteArray boxBefore = readBytes(w.boxFilePath());
        w.onSave();
        QCOMPARE(readBytes(monsterPath), bad);
        const QByteArray boxAfter = readBytes(w.boxFilePath());
        QVERIFY(boxAfter != boxBefore); // rewritten with every slot spelled out
        QVERIFY(boxAfter.startsWith("ID BoxValue NotifyId ForceOpenFlag ItemId1 Level1\n"));
        QCOMPARE(prompts->transcript(),
                 QStringList{"information|保存成功|" + WindowTest::savedText});
        QCOMPARE(w.findChild<QPlainTextEdit *>("operationLogEdit")->toPlainText(),
                 QStringLiteral("[2026-12-06 10:00:00] 保存配置：DropBoxContent=%1")
                     .arg(w.boxFilePath()));
    }

    // A changed document that came from no file is never reported saved: the user gives it a
    // file, or the save says it was not saved and closing stops.
    void changedDocumentWithoutFile()
    {
        Harness h(QStringLiteral("config"));
        QFile::remove(QDir(h.configDir).filePath("DropBoxContent.txt"));
        auto scripted = std::make_unique<ScriptedPrompts>();
        h.prompts = scripted.get();
        h.window = std::make_unique<MainWindow>(std::move(scripted), h.configDir);
        MainWindow &w = *h.window;
        w.configDocument()->edit(QStringLiteral("添加包裹"),
                                 [](MonsterDropData &, DropBoxContentData &boxes) {
                                     boxes.boxes.append(DropBoxConfig{});
                                 });
        h.prompts->chooseAnswers << 0; // 保存 when closing
        QVERIFY(!w.close());
        QCOMPARE(h.prompts->transcript().last(),
                 QStringLiteral("critical|保存失败|包裹内容配置已修改但没有文件，未保存。"));
        const QString boxPath = QDir(h.configDir).filePath("chosen.txt");
        h.prompts->saveFileAnswers << boxPath;
        w.onSave();
        QVERIFY(QFileInfo::exists(boxPath));
        QCOMPARE(w.boxFilePath(), boxPath);
        QVERIFY(!w.isWindowModified());
    }

    void openMonsterFile_data()
    {
        QTest::addColumn<QString>("answer"); // fixture file, "" to cancel, "missing" for no file
        QTest::addColumn<QStringList>("transcript");
        QTest::newRow("success") << "other/monsters_b.txt"
                                 << QStringList{"openFileName|打开怪物掉落配置|",
                                                "information|加载成功|成功加载 2 个怪物掉落配置"};
        QTest::newRow("parse failure")
            << "other/monsters_bad.txt"
            << QStringList{"openFileName|打开怪物掉落配置|",
                           "critical|加载失败|无法加载怪物配置：\n第 4 行解析失败：怪物ID解析失败"};
        QTest::newRow("cancel") << "" << QStringList{"openFileName|打开怪物掉落配置|"};
    }

    void openMonsterFile()
    {
        QFETCH(QString, answer);
        QFETCH(QStringList, transcript);

        Harness h;
        QVERIFY(h.selectMonster(1001));
        QVERIFY(h.selectBoxRow(0));
        const QStringList before = snapshot(h);
        const QString path = answer.isEmpty() ? QString() : WindowTest::fixturePath(answer);
        h.prompts->openFileAnswers << path;

        h.window->onOpenMonsterConfig();
        QCOMPARE(h.prompts->transcript(), transcript);
        QCOMPARE(h.prompts->calls.first().extra, QStringList{filter});
        QCOMPARE(EditTest::staleState(h), QString());

        if (!transcript.last().startsWith("information")) {
            QCOMPARE(snapshot(h), before);
            return;
        }
        const MainWindow &w = *h.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Lootwright - monsters_b.txt[*]"));
        QCOMPARE(w.monsterFilePath(), path);
        QCOMPARE(w.monsterDocument().records.size(), 2);
        // A new monster file starts with nothing selected and empty right-hand views.
        QCOMPARE(w.selectedMonsterId(), -1);
        QVERIFY(!w.selectedConfig() && !w.selectedBox());
        QVERIFY(!h.view("monsterListView")->currentIndex().isValid());
        QCOMPARE(h.view("boxListView")->model()->rowCount(), 0);
        QCOMPARE(h.child<QLabel>("detailMonsterId")->text(), QStringLiteral("-"));
        // The list shows the new drops: 1003 now has a record.
        QVERIFY(h.selectMonster(1003));
        QCOMPARE(h.child<QLabel>("detailMValue")->text(), QStringLiteral("300"));
        QCOMPARE(h.columnTexts("boxListView", 0), (QStringList{"3", "8"}));
    }

    void openBoxFile_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("transcript");
        QTest::newRow("success") << "other/boxes_b.txt"
                                 << QStringList{"openFileName|打开包裹内容配置|",
                                                "information|加载成功|成功加载 2 个包裹配置"};
        QTest::newRow("parse failure")
            << "other/boxes_bad.txt"
            << QStringList{
                   "openFileName|打开包裹内容配置|",
                   "critical|加载失败|无法加载包裹配置：\n解析数据行失败（第 4 行）：列数过少: 3"};
        QTest::newRow("cancel") << "" << QStringList{"openFileName|打开包裹内容配置|"};
    }

    void openBoxFile()
    {
        QFETCH(QString, answer);
        QFETCH(QStringList, transcript);

        Harness h;
        QVERIFY(h.selectMonster(1001));
        QVERIFY(h.selectBoxRow(0)); // box 3
        const DropBoxConfig *boxBefore = h.window->selectedBox();
        const QStringList before = snapshot(h);
        const QString path = answer.isEmpty() ? QString() : WindowTest::fixturePath(answer);
        h.prompts->openFileAnswers << path;

        h.window->onOpenBoxConfig();
        QCOMPARE(h.prompts->transcript(), transcript);
        QCOMPARE(h.prompts->calls.first().extra, QStringList{filter});
        QCOMPARE(EditTest::staleState(h), QString());

        if (!transcript.last().startsWith("information")) {
            QCOMPARE(snapshot(h), before);
            QCOMPARE(h.window->selectedBox(), boxBefore);
            return;
        }
        const MainWindow &w = *h.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Lootwright - MonsterDropBoxs.txt[*]"));
        QCOMPARE(w.boxFilePath(), path);
        // The monster stays; its boxes come from the new file (box 7 is gone there).
        QCOMPARE(w.selectedMonsterId(), 1001);
        QVERIFY(w.selectedConfig());
        QCOMPARE(h.view("monsterListView")->currentIndex().data().toInt(), 1001);
        QCOMPARE(h.columnTexts("boxListView", 0), QStringList{"3"});
        QCOMPARE(h.columnTexts("boxListView", 2), QStringList{"5.00%"});
        QCOMPARE(h.columnTexts("summaryView", 1), QStringList{"5002"});
        // Box 3 is selected again, now the record of the new file.
        QCOMPARE(w.selectedBox()->boxValue, 4000);
        QCOMPARE(h.child<QLineEdit>("boxValueSpin")->text(), QStringLiteral("4000"));
        QCOMPARE(h.child<QLabel>("dropRateValue")->text(), QStringLiteral("5.0000%"));
    }

    void openBoxFileDropsVanishedBox()
    {
        Harness h;
        QVERIFY(h.selectMonster(1001));
        QVERIFY(h.selectBoxRow(1)); // box 7, missing from the new file
        h.prompts->openFileAnswers << WindowTest::fixturePath("other/boxes_b.txt");
        h.window->onOpenBoxConfig();
        QCOMPARE(EditTest::staleState(h), QString());
        QCOMPARE(h.window->selectedMonsterId(), 1001);
        QVERIFY(!h.window->selectedBox());
        QCOMPARE(h.child<QLabel>("dropRateValue")->text(), QStringLiteral("-"));
    }

    void reloadKeepsSelectionById()
    {
        Harness h;
        QVERIFY(h.selectMonster(1002));
        QVERIFY(h.selectBoxRow(1)); // box 8
        QVERIFY(writeBytes(QDir(h.configDir).filePath("DropBoxContent.txt"),
                           readBytes(WindowTest::fixturePath("other/boxes_b.txt"))));

        h.child<QPushButton>("loadConfigButton")->click();
        QVERIFY(h.prompts->calls.isEmpty());
        QCOMPARE(EditTest::staleState(h), QString());
        const MainWindow &w = *h.window;
        QCOMPARE(w.selectedMonsterId(), 1002);
        QVERIFY(w.selectedConfig());
        QCOMPARE(w.selectedConfig(), &w.monsterDocument().records.at(1));
        QCOMPARE(h.view("monsterListView")->currentIndex().data().toInt(), 1002);
        QCOMPARE(h.columnTexts("boxListView", 0), QStringList{"8"});
        QVERIFY(w.selectedBox());
        QCOMPARE(w.selectedBox(), &w.boxDocument().boxes.at(0));
        QCOMPARE(h.child<QLineEdit>("boxValueSpin")->text(), QStringLiteral("100"));
        QCOMPARE(h.child<QLabel>("dropRateValue")->text(), QStringLiteral("500.0000%"));
        QCOMPARE(h.columnTexts("summaryView", 1), QStringList{"7001"});
    }

    void reloadDropsVanishedMonster()
    {
        Harness h;
        QVERIFY(h.selectMonster(1002));
        QVERIFY(h.selectBoxRow(0));
        // 1002 leaves the name table, so it leaves the list.
        const QString table = QDir(h.configDir).filePath("MonsterAttrExTable.txt");
        QByteArray names = readBytes(table);
        names.replace("1002\t", "1999\t");
        QVERIFY(writeBytes(table, names));

        h.child<QPushButton>("loadConfigButton")->click();
        QCOMPARE(EditTest::staleState(h), QString());
        QCOMPARE(h.window->selectedMonsterId(), -1);
        QVERIFY(!h.window->selectedConfig());
        QVERIFY(!h.window->selectedBox());
        QCOMPARE(h.child<QLabel>("detailMonsterId")->text(), QStringLiteral("-"));
        for (const char *view : {"boxListView", "itemTableView", "summaryView"})
            QCOMPARE(h.view(QString::fromLatin1(view))->model()->rowCount(), 0);
    }

    void reloadWithBrokenFilesChangesNothing()
    {
        Harness h;
        QVERIFY(h.selectMonster(1001));
        QVERIFY(h.selectBoxRow(0));
        const QStringList before = snapshot(h);
        QVERIFY(writeBytes(QDir(h.configDir).filePath("MonsterDropBoxs.txt"),
                           readBytes(WindowTest::fixturePath("other/monsters_bad.txt"))));
        QVERIFY(writeBytes(QDir(h.configDir).filePath("DropBoxContent.txt"),
                           readBytes(WindowTest::fixturePath("other/boxes_bad.txt"))));
        h.child<QPushButton>("loadConfigButton")->click();
        QVERIFY(h.prompts->calls.isEmpty());
        QCOMPARE(EditTest::staleState(h), QString());
        QCOMPARE(snapshot(h), before);
    }

    void save()
    {
        Harness h;
        MainWindow &w = *h.window;
        w.setClock([] { return fixedTime; });
        const QString monsterPath = w.monsterFilePath();
        const QString boxPath = w.boxFilePath();
        const QByteArray monsterBefore = readBytes(monsterPath);
        const QByteArray boxBefore = readBytes(boxPath);
        h.child<QPushButton>("saveConfigButton")->click();
        QCOMPARE(h.prompts->transcript(),
                 QStringList{"information|保存成功|" + WindowTest::savedText});
        // The first save keeps both previous files; the next one adds no backup.
        const QDir backups(QDir(h.configDir).filePath("backup"));
        QCOMPARE(readBytes(backups.filePath("MonsterDropBoxs.20261206-100000.txt")), monsterBefore);
        QCOMPARE(readBytes(backups.filePath("DropBoxContent.20261206-100000.txt")), boxBefore);
        w.setClock([] { return fixedTime.addSecs(5); });
        w.onSave();
        QCOMPARE(backups.entryList(QDir::Files).size(), 2);
        w.setClock([] { return fixedTime; });
        h.child<QPlainTextEdit>("operationLogEdit")->clear();
        h.prompts->reset();
        h.child<QPushButton>("saveConfigButton")->click();
        QCOMPARE(
            h.child<QPlainTextEdit>("operationLogEdit")->toPlainText(),
            QStringLiteral("[2026-12-06 10:00:00] 保存配置：MonsterDropBoxs=%1；DropBoxContent=%2")
                .arg(monsterPath, boxPath));
    }

    void saveFailures_data()
    {
        QTest::addColumn<bool>("monsterFails");
        QTest::newRow("monster file") << true;
        QTest::newRow("box file") << false;
    }

    void saveFailures()
    {
        QFETCH(bool, monsterFails);
        Harness h;
        MainWindow &w = *h.window;
        const QString monsterPath = w.monsterFilePath();
        const QString boxPath = w.boxFilePath();
        const QByteArray monsterBefore = readBytes(monsterPath);
        const QByteArray boxBefore = readBytes(boxPath);
        // A directory in place of the file cannot be written.
        const QString blocked = monsterFails ? monsterPath : boxPath;
        QVERIFY(QFile::remove(blocked));
        QVERIFY(QDir().mkpath(blocked));

        w.onSave();
        QCOMPARE(h.prompts->calls.size(), 1);
        const ScriptedPrompts::Call call = h.prompts->calls.first();
        QCOMPARE(call.kind, Kind::Critical);
        QCOMPARE(call.title, QStringLiteral("保存失败"));
        // The document's failure, named for the file that failed.
        QVERIFY(call.text.startsWith(monsterFails ? QStringLiteral("无法保存怪物配置：\n")
                                                  : QStringLiteral("无法保存包裹配置：\n")));
        QVERIFY(call.text.contains(blocked));
        QVERIFY(h.child<QPlainTextEdit>("operationLogEdit")->toPlainText().isEmpty());
    }

    void saveStoppedByFailedBackup()
    {
        Harness h;
        MainWindow &w = *h.window;
        const QByteArray monsterBefore = readBytes(w.monsterFilePath());
        const QByteArray boxBefore = readBytes(w.boxFilePath());
        // A file where the backup folder should be: no backup, even for root.
        const QString blocker = QDir(h.configDir).filePath("backup");
        QVERIFY(writeBytes(blocker, "in the way"));
        w.onSave();
        QCOMPARE(
            h.prompts->transcript(),
            QStringList{QStringLiteral("critical|保存失败|无法保存怪物配置：\n备份失败，原文件未"
                                       "被覆盖：无法创建备份目录 %1")
                            .arg(blocker)});
        QCOMPARE(readBytes(w.monsterFilePath()), monsterBefore);
        QCOMPARE(readBytes(w.boxFilePath()), boxBefore);
        QVERIFY(h.child<QPlainTextEdit>("operationLogEdit")->toPlainText().isEmpty());
    }

    void saveAs()
    {
        Harness h;
        MainWindow &w = *h.window;
        w.setClock([] { return fixedTime; });
        const QString oldMonsterPath = w.monsterFilePath();
        const QString boxPath = w.boxFilePath();
        const QByteArray oldMonsterBytes = readBytes(oldMonsterPath);

        // Cancel: nothing.
        w.onSaveAs();
        QCOMPARE(h.prompts->transcript(),
                 QStringList{"saveFileName|保存怪物掉落配置|" + oldMonsterPath});
        QCOMPARE(h.prompts->calls.first().extra, QStringList{filter});
        QCOMPARE(w.monsterFilePath(), oldMonsterPath);

        // Failure: the path is kept.
        h.prompts->reset();
        const QString unwritable = h.temp.filePath("no/such/dir/m.txt");
        h.prompts->saveFileAnswers << unwritable;
        w.onSaveAs();
        QCOMPARE(h.prompts->calls.size(), 2);
        QCOMPARE(h.prompts->calls.at(1).kind, Kind::Critical);
        QCOMPARE(h.prompts->calls.at(1).title, QStringLiteral("保存失败"));
        QVERIFY(h.prompts->calls.at(1).text.startsWith(QStringLiteral("无法保存怪物配置：\n")));
        QCOMPARE(w.monsterFilePath(), oldMonsterPath);
        QVERIFY(h.child<QPlainTextEdit>("operationLogEdit")->toPlainText().isEmpty());

        // Success: only the monster file is written, the path moves, the title stays.
        h.prompts->reset();
        const QString newPath = h.temp.filePath("copy.txt");
        h.prompts->saveFileAnswers << newPath;
        w.onSaveAs();
        QCOMPARE(h.prompts->transcript(),
                 (QStringList{"saveFileName|保存怪物掉落配置|" + oldMonsterPath,
                              "information|保存成功|" + WindowTest::savedText}));
        QCOMPARE(w.monsterFilePath(), newPath);
        QCOMPARE(w.windowTitle(), QStringLiteral("Lootwright - MonsterDropBoxs.txt[*]"));
        QVERIFY(readBytes(newPath).startsWith("MonsterID\tMValue"));
        QCOMPARE(readBytes(oldMonsterPath), oldMonsterBytes);
        QCOMPARE(h.child<QPlainTextEdit>("operationLogEdit")->toPlainText(),
                 QStringLiteral("[2026-12-06 10:00:00] 另存怪物掉落配置：%1").arg(newPath));

        // Save now goes to the new path and the box file's own path.
        h.prompts->reset();
        QVERIFY(QFile::remove(newPath));
        w.onSave();
        QVERIFY(QFileInfo::exists(newPath));
        QCOMPARE(readBytes(oldMonsterPath), oldMonsterBytes);
        QCOMPARE(
            h.child<QPlainTextEdit>("operationLogEdit")->document()->lastBlock().text(),
            QStringLiteral("[2026-12-06 10:00:00] 保存配置：MonsterDropBoxs=%1；DropBoxContent=%2")
                .arg(newPath, boxPath));
    }

    void demoConfigLoads()
    {
        const QString demo = QStringLiteral(LOOTWRIGHT_DEMO_CONFIG);
        QVERIFY2(QFileInfo::exists(QDir(demo).filePath("MonsterDropBoxs.txt")), qPrintable(demo));
        NameResolver::instance().clear();
        auto scripted = std::make_unique<ScriptedPrompts>();
        ScriptedPrompts *prompts = scripted.get();
        MainWindow w(std::move(scripted), demo);
        QCOMPARE(w.windowTitle(), QStringLiteral("Lootwright - MonsterDropBoxs.txt[*]"));
        QVERIFY(prompts->calls.isEmpty());
        QVERIFY(!w.monsterDocument().records.isEmpty());
        QVERIFY(!w.boxDocument().boxes.isEmpty());
    }
};

QTEST_MAIN(TestMainWindowFiles)
#include "tst_mainwindowfiles.moc"
