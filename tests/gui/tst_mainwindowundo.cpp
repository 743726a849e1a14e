#include "TestSupport.h"
#include "WindowTestSupport.h"

#include "edit/DropClipboard.h"
#include "models/DropItemTableModel.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <QUndoStack>
#include <functional>

using EditTest::Harness;
using Kind = ScriptedPrompts::Kind;

namespace {

QByteArray documentBytes(const Harness &h)
{
    return EditFixtures::savedBytes(h.window->monsterDocument(), h.window->boxDocument());
}

QAction *action(const Harness &h, const char *name)
{
    return h.child<QAction>(QString::fromLatin1(name));
}

QString lastLog(const Harness &h)
{
    return EditTest::logMessages(h).value(EditTest::logMessages(h).size() - 1);
}

// Monster 1001 gets the value 300.
void changeValue(Harness &h)
{
    EditTest::selectMonsters(h, {1001});
    h.prompts->intAnswers << 300;
    h.window->changeMonsterValue();
}

} // namespace

class TestMainWindowUndo : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void chainUndoneAndRedoneToTheByte();
    void savedStateIsClean();
    void askBeforeDiscarding_data();
    void askBeforeDiscarding();
};

// One edit of each kind, then all undone and redone: each step gives the bytes before or after
// it, logs, names itself in the menu and leaves no stale pointer.
void TestMainWindowUndo::chainUndoneAndRedoneToTheByte()
{
    Harness h;
    EditTest::fixClock(h);
    MainWindow &w = *h.window;
    const auto testers = EditTest::attachTesters(h);
    MonsterEdits::MonsterEditValues editValues;
    editValues.hasDrop = true;
    editValues.dropType = 1;
    editValues.monsterValue = 64;
    const QList<QPair<QString, std::function<void()>>> chain{
        {"修改怪物价值", [&] { changeValue(h); }},
        {"修改怪物掉落类型",
         [&] {
             EditTest::selectMonsters(h, {1002});
             h.prompts->itemAnswers << QStringLiteral("个人掉落");
             w.changeDropType();
         }},
        {"设置为有掉落",
         [&] {
             EditTest::selectMonsters(h, {1003});
             h.prompts->questionAnswers << true;
             w.setHasDrop();
         }},
        {"粘贴怪物爆率",
         [&] {
             QGuiApplication::clipboard()->setText(
                 DropClipboard::buildText(w.monsterDocument().records.at(1)));
             EditTest::selectMonsters(h, {1003});
             h.prompts->questionAnswers << true;
             w.pasteMonsterDrops();
         }},
        {"统一怪物价值",
         [&] {
             EditTest::selectMonsters(h, {1001});
             h.prompts->intAnswers << 5000;
             w.unifyMonsterValue();
         }},
        {"设置目标爆率",
         [&] {
             EditTest::selectMonsters(h, {1002});
             QVERIFY(EditTest::selectBox(h, 8));
             h.child<QLineEdit>("targetDropRateSpin")->setText("10");
             w.onApplyTargetDropRate();
         }},
        {"修改包裹权值",
         [&] {
             // The box the target rate left current. Two keystrokes, one step.
             QVERIFY(w.selectedBox());
             h.child<QLineEdit>("boxValueSpin")->setText("7");
             h.child<QLineEdit>("boxValueSpin")->setText("77");
         }},
        {"添加物品",
         [&] {
             QCOMPARE(w.addItemsToCurrentBox({9001, 9002}), 2);
         }},
        {"修改物品ID",
         [&] {
             QAbstractItemModel *items = h.view("itemTableView")->model();
             QVERIFY(items->setData(items->index(0, DropItemTableModel::ItemIdColumn), 5005));
             // Applied through the document once the view is done with its editor.
             QCoreApplication::processEvents();
             QVERIFY(!w.configDocument()->itemSourceIndex().sources(5005).isEmpty());
         }},
        {"删除物品",
         [&] {
             h.view("itemTableView")->selectRow(1);
             h.prompts->questionAnswers << true;
             w.deleteSelectedItems();
         }},
        {"复制包裹", [&] { w.duplicateSelectedBox(); }},
        {"删除包裹", [&] { w.deleteSelectedBox(); }},
        {"清空怪物掉包",
         [&] {
             EditTest::selectMonsters(h, {1003});
             h.prompts->questionAnswers << true;
             w.clearMonsterBoxes();
         }},
        {"设置为无掉落",
         [&] {
             EditTest::selectMonsters(h, {1002});
             h.prompts->questionAnswers << true;
             w.setNoDrop();
         }},
        {"编辑怪物属性",
         [&] {
             EditTest::selectMonsters(h, {1003});
             h.prompts->monsterEditAnswers << editValues;
             w.onEditSelectedMonsters();
         }},
    };

    auto *stack = w.findChild<QUndoStack *>();
    QList<QByteArray> bytes{documentBytes(h)};
    QVERIFY(!w.isWindowModified());
    for (const auto &[name, edit] : chain) {
        edit();
        QVERIFY2(h.prompts->scriptErrors.isEmpty(), qPrintable(name));
        bytes << documentBytes(h);
        QVERIFY2(bytes.last() != bytes.at(bytes.size() - 2), qPrintable(name));
        QCOMPARE(stack->count(), bytes.size() - 1);
        QCOMPARE(action(h, "actionUndo")->text(), QStringLiteral("撤销 ") + name);
        QVERIFY(w.isWindowModified());
    }
    for (qsizetype i = chain.size() - 1; i >= 0; --i) {
        action(h, "actionUndo")->trigger();
        QVERIFY2(documentBytes(h) == bytes.at(i), qPrintable(chain.at(i).first));
        QCOMPARE(lastLog(h), QStringLiteral("撤销：") + chain.at(i).first);
        QCOMPARE(action(h, "actionRedo")->text(), QStringLiteral("重做 ") + chain.at(i).first);
        QCOMPARE(EditTest::staleState(h), QString());
    }
    QVERIFY(!w.isWindowModified());
    QVERIFY(!action(h, "actionUndo")->isEnabled());
    QCOMPARE(action(h, "actionUndo")->text(), QStringLiteral("撤销"));
    for (qsizetype i = 0; i < chain.size(); ++i) {
        action(h, "actionRedo")->trigger();
        QVERIFY2(documentBytes(h) == bytes.at(i + 1), qPrintable(chain.at(i).first));
        QCOMPARE(lastLog(h), QStringLiteral("重做：") + chain.at(i).first);
        QCOMPARE(EditTest::staleState(h), QString());
    }
    QVERIFY(w.isWindowModified());
    QCOMPARE(action(h, "actionUndo")->shortcut(), QKeySequence("Ctrl+Z"));
    QCOMPARE(action(h, "actionRedo")->shortcuts(),
             (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
}

// Saving marks the state clean; undoing back to it clears the mark, a load empties the stack.
void TestMainWindowUndo::savedStateIsClean()
{
    Harness h;
    MainWindow &w = *h.window;
    changeValue(h);
    h.prompts->reset();
    w.onSave();
    QCOMPARE(h.prompts->count(Kind::Information), 1);
    QVERIFY(!w.isWindowModified());
    action(h, "actionUndo")->trigger();
    QVERIFY(w.isWindowModified());
    action(h, "actionRedo")->trigger();
    QVERIFY(!w.isWindowModified());

    // Save As writes the monster file only: a box change stays unsaved.
    EditTest::selectMonsters(h, {1001});
    QVERIFY(EditTest::selectBox(h, 3));
    h.child<QLineEdit>("boxValueSpin")->setText("12");
    h.prompts->saveFileAnswers << h.temp.filePath("copy.txt");
    w.onSaveAs();
    QVERIFY(w.isWindowModified());

    h.prompts->chooseAnswers << 1;
    h.child<QPushButton>("loadConfigButton")->click();
    QVERIFY(!w.isWindowModified());
    QCOMPARE(w.findChild<QUndoStack *>()->count(), 0);
}

void TestMainWindowUndo::askBeforeDiscarding_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("answer"); // -1: the box is closed with Esc
    QTest::addColumn<bool>("backupFails");
    for (const char *trigger : {"close", "reload", "open monster", "open box"}) {
        const QString name = QString::fromLatin1(trigger);
        QTest::addRow("%s, nothing changed", trigger) << name << false << -1 << false;
        QTest::addRow("%s, 保存", trigger) << name << true << 0 << false;
        QTest::addRow("%s, 不保存", trigger) << name << true << 1 << false;
        QTest::addRow("%s, 取消", trigger) << name << true << 2 << false;
        QTest::addRow("%s, Esc", trigger) << name << true << -1 << false;
    }
    QTest::newRow("close, 保存 fails") << QStringLiteral("close") << true << 0 << true;
}

void TestMainWindowUndo::askBeforeDiscarding()
{
    QFETCH(QString, trigger);
    QFETCH(bool, edited);
    QFETCH(int, answer);
    QFETCH(bool, backupFails);
    Harness h;
    MainWindow &w = *h.window;
    const QString monsterPath = w.monsterFilePath();
    const QByteArray originalFile = TestSupport::readBytes(monsterPath);
    const QByteArray originalDocuments = documentBytes(h);
    if (edited)
        changeValue(h);
    if (backupFails)
        QVERIFY(QFile(QDir(h.configDir).filePath("backup")).open(QIODevice::WriteOnly));
    const QByteArray editedDocuments = documentBytes(h);
    h.prompts->reset();
    if (answer >= 0)
        h.prompts->chooseAnswers << answer;

    bool closed = false;
    if (trigger == "close")
        closed = w.close();
    else if (trigger == "reload")
        h.child<QPushButton>("loadConfigButton")->click();
    else if (trigger == "open monster")
        w.onOpenMonsterConfig();
    else
        w.onOpenBoxConfig();

    const bool saved = answer == 0 && !backupFails;
    const bool goesOn = !edited || answer == 1 || saved;
    QStringList expected;
    if (edited)
        expected << "choose|未保存的修改";
    if (answer == 0)
        expected << (backupFails ? "critical|保存失败" : "information|保存成功");
    if (goesOn && trigger == "open monster")
        expected << "openFileName|打开怪物掉落配置";
    if (goesOn && trigger == "open box")
        expected << "openFileName|打开包裹内容配置";
    QStringList titles;
    for (const ScriptedPrompts::Call &call : h.prompts->calls)
        titles << ScriptedPrompts::kindName(call.kind) + "|" + call.title;
    QCOMPARE(titles, expected);
    if (edited) {
        QCOMPARE(h.prompts->calls.first().text, QStringLiteral("配置已修改，是否先保存？"));
        QCOMPARE(h.prompts->calls.first().extra,
                 (QStringList{"保存", "不保存", "取消", "查看修改..."}));
    }
    if (trigger == "close")
        QCOMPARE(closed, goesOn);
    QCOMPARE(TestSupport::readBytes(monsterPath),
             saved ? editedDocuments.left(editedDocuments.indexOf("=====")) : originalFile);
    const bool discarded = trigger == "reload" && answer == 1;
    QCOMPARE(documentBytes(h), discarded ? originalDocuments : editedDocuments);
    QCOMPARE(w.isWindowModified(), edited && !saved && !discarded);
}

QTEST_MAIN(TestMainWindowUndo)
#include "tst_mainwindowundo.moc"
