#include "TestSupport.h"
#include "WindowTestSupport.h"

#include "dialogs/DropBoxManagerDialog.h"
#include "dialogs/ItemSourcesDialog.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <QThreadPool>
#include <QTimer>

// The box manager from the main window: one row per slot that it asks, calls the core, shows
// and refreshes, and that the main window follows every change by id. What the edits do to the
// documents is tested in the core.

using namespace EditTest;

namespace {

// The fixture: 1001 (boxes 3 7), 1002 (7 8 -1 9), 2001 (3); boxes 3 (1000: 5001 5002),
// 7 (0: 6001), 8 (2500: 5001 6001 7001); items 5001 5002, equipment 6001, gem 7001.
const QString originalBoxes = QStringLiteral("3:1000:5001,5002 7:0:6001 8:2500:5001,6001,7001");

struct Manager
{
    Harness h;
    DropBoxManagerDialog *dialog = nullptr;

    // The main window on monster 1002 and its box 8, the manager open and its library loaded.
    bool open()
    {
        if (!prepare(h, {1002}, 8))
            return false;
        h.window->show();
        h.child<QPushButton>(QStringLiteral("boxManagerButton"))->click();
        dialog = h.window->findChild<DropBoxManagerDialog *>();
        return dialog && QTest::qWaitFor([this] { return !dialog->isItemLibraryLoading(); });
    }
    template <typename T> T *get(const char *name) const
    {
        return dialog->findChild<T *>(QString::fromLatin1(name));
    }
    QTableWidget *boxTable() const { return get<QTableWidget>("boxTable"); }
    QTableView *library() const { return get<QTableView>("itemLibraryView"); }
    bool selectBox(int boxId) const
    {
        const QList<QTableWidgetItem *> found =
            boxTable()->findItems(QString::number(boxId), Qt::MatchExactly);
        if (found.isEmpty() || found.first()->column() != 0)
            return false;
        boxTable()->selectRow(found.first()->row());
        return dialog->currentBox() == boxId;
    }
    // The box table's ids, then the current box.
    QString listed() const
    {
        QStringList ids;
        for (int row = 0; row < boxTable()->rowCount(); ++row)
            ids << boxTable()->item(row, 0)->text();
        return ids.join(u' ') + QStringLiteral(" @") + QString::number(dialog->currentBox());
    }
    QString libraryIds() const
    {
        QStringList ids;
        for (int row = 0; row < library()->model()->rowCount(); ++row)
            ids << library()->model()->index(row, 0).data().toString();
        return ids.join(u' ');
    }
    QString pane() const { return get<QTextEdit>("referencesEdit")->toPlainText(); }
    // Waits for the debounced filters and the main window's follow-up refresh.
    bool settled() const
    {
        return QTest::qWaitFor([this] {
            for (const QTimer *timer : h.window->findChildren<QTimer *>())
                if (timer->isActive() && timer->isSingleShot() && timer->interval() == 180)
                    return false;
            return true;
        });
    }
    QPoint rowCenter(QAbstractItemView *view, int row) const
    {
        return view->visualRect(view->model()->index(row, 0)).center();
    }
};

// "id:weight:filled items" of every box in document order.
QString boxSummary(const MainWindow &w)
{
    QStringList boxes;
    for (const DropBoxConfig &box : w.boxDocument().boxes) {
        QStringList items;
        for (const DropBoxItem &item : box.items)
            if (item.itemId >= 1)
                items << QString::number(item.itemId);
        boxes << QStringLiteral("%1:%2:%3").arg(box.boxId).arg(box.boxValue).arg(items.join(u','));
    }
    return boxes.join(u' ');
}

QString undoText(const Harness &h)
{
    return h.window->findChild<QAction *>(QStringLiteral("actionUndo"))->text();
}

} // namespace

class TestBoxManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wiring_data()
    {
        QTest::addColumn<int>("box");             // selected in the manager first, 0 for none
        QTest::addColumn<QList<int>>("itemRows"); // selected in its item table
        QTest::addColumn<QString>("search");      // typed into the library search first
        // click:<button>, ok, filter:<text>, category:<text>, itemMenu:<row>, libraryMenu:<row>,
        // doubleClick:<row>, fields:<id>,<weight>,<notify>
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QStringList>("answers"); // text:<T>, pair:<A>,<B>, menu:<entry>
        QTest::addColumn<QStringList>("prompts");
        QTest::addColumn<QString>("boxesAfter");
        QTest::addColumn<QStringList>("monstersAfter");
        QTest::addColumn<QString>("listed");
        QTest::addColumn<QString>("pane");
        QTest::addColumn<QString>("undo");

        const QString refs8 = QStringLiteral("使用包裹 ID 8 的怪物列表:\n\nID: 1002 (骷髅兵)");
        const QString refs3 =
            QStringLiteral("使用包裹 ID 3 的怪物列表:\n\nID: 1001 (史莱姆)\nID: 2001");
        QTest::newRow("select a box")
            << 3 << QList<int>{} << "" << QStringList{} << QStringList{} << QStringList{}
            << originalBoxes << WindowTest::originalMonsters << "3 7 8 @3" << refs3 << "撤销";
        QTest::newRow("add box: the first id no box has and no monster names")
            << 3 << QList<int>{} << "" << QStringList{"click:addBoxButton"} << QStringList{}
            << QStringList{} << originalBoxes + " 1:100:" << WindowTest::originalMonsters
            << "3 7 8 1 @1"
            << "未找到使用包裹 ID 1 的怪物"
            << "撤销 包裹管理器：添加包裹";
        QTest::newRow("copy box: skips 9, which monster 1002 names")
            << 8 << QList<int>{} << "" << QStringList{"click:copyBoxButton"} << QStringList{}
            << QStringList{} << originalBoxes + " 10:2500:5001,6001,7001"
            << WindowTest::originalMonsters << "3 7 8 10 @10"
            << "未找到使用包裹 ID 10 的怪物"
            << "撤销 包裹管理器：复制包裹";
        QTest::newRow("remove the selected box")
            << 7 << QList<int>{} << "" << QStringList{"click:removeBoxButton"} << QStringList{}
            << QStringList{} << "3:1000:5001,5002 8:2500:5001,6001,7001"
            << QStringList{"1001|200|0|3|20", "1002|500|5|-1,8,-1,9|20", "2001|100|0|3|20"}
            << "3 8 @-1"
            << "已删除包裹：ID=7（权值=0，槽位=100）\n已从 2 个怪物中移除引用（共 2 处）"
            << "撤销 包裹管理器：删除包裹";
        QTest::newRow("remove a box by id")
            << 3 << QList<int>{} << "" << QStringList{"click:removeBoxByIdButton"}
            << QStringList{"text:8"} << QStringList{"getText|删除指定包裹|请输入要删除的包裹ID："}
            << "3:1000:5001,5002 7:0:6001"
            << QStringList{"1001|200|0|3,7|20", "1002|500|5|7,-1,-1,9|20", "2001|100|0|3|20"}
            << "3 7 @3"
            << "已删除包裹：ID=8（权值=2500，槽位=100）\n已从 1 个怪物中移除引用（共 1 处）"
            << "撤销 包裹管理器：删除包裹";
        QTest::newRow("delete an item id everywhere")
            << 8 << QList<int>{} << "" << QStringList{"click:deleteItemIdButton"}
            << QStringList{"text:5001"}
            << QStringList{"getText|删除指定物品ID|请输入要删除的物品ID：",
                           "information|删除完成|已从 2 个槽位删除物品ID 5001（涉及 2 个包裹）"}
            << "3:1000:5002 7:0:6001 8:2500:6001,7001" << WindowTest::originalMonsters << "3 7 8 @8"
            << refs8 << "撤销 包裹管理器：删除物品ID";
        QTest::newRow("replace an item id, the selected item offered")
            << 8 << QList<int>{1} << "" << QStringList{"click:replaceItemIdButton"}
            << QStringList{"pair:6001,6002"}
            << QStringList{"getNumberPair|替换物品ID|被替换的物品ID：",
                           "information|替换完成|已替换 2 个槽位：6001 → 6002"}
            << "3:1000:5001,5002 7:0:6002 8:2500:5001,6002,7001" << WindowTest::originalMonsters
            << "3 7 8 @8" << refs8 << "撤销 包裹管理器：替换物品ID";
        QTest::newRow("save the box: renamed, the monsters stay on the old id")
            << 3 << QList<int>{} << "" << QStringList{"fields:30,1200,", "click:saveBoxButton"}
            << QStringList{} << QStringList{} << "30:1200:5001,5002 7:0:6001 8:2500:5001,6001,7001"
            << WindowTest::originalMonsters << "30 7 8 @30"
            << "未找到使用包裹 ID 30 的怪物\n\n注意：包裹ID已由 3 改为 30，以下怪物仍引用旧ID 3"
               "（引用未随之修改）:\n\nID: 1001 (史莱姆)\nID: 2001"
            << "撤销 包裹管理器：修改包裹";
        QTest::newRow("save the box: refused")
            << 3 << QList<int>{} << "" << QStringList{"fields:7,1,", "click:saveBoxButton"}
            << QStringList{} << QStringList{"warning|保存失败|包裹ID 7 已存在，请换一个ID"}
            << originalBoxes << WindowTest::originalMonsters << "3 7 8 @3" << refs3 << "撤销";
        QTest::newRow("save configuration: the box first, then the files")
            << 8 << QList<int>{} << "" << QStringList{"fields:8,2600,3", "click:saveConfigButton"}
            << QStringList{} << QStringList{"information|保存成功|" + WindowTest::savedText}
            << "3:1000:5001,5002 7:0:6001 8:2600:5001,6001,7001" << WindowTest::originalMonsters
            << "3 7 8 @8" << refs8 << "撤销 包裹管理器：修改包裹";
        QTest::newRow("remove the selected items")
            << 8 << QList<int>{0, 2} << "" << QStringList{"click:removeItemsButton"}
            << QStringList{} << QStringList{} << "3:1000:5001,5002 7:0:6001 8:2500:6001"
            << WindowTest::originalMonsters << "3 7 8 @8" << refs8 << "撤销 包裹管理器：删除物品";
        QTest::newRow("item menu removes the row under the pointer")
            << 8 << QList<int>{} << "" << QStringList{"itemMenu:1"}
            << QStringList{"menu:删除选中物品"} << QStringList{"execMenu||"}
            << "3:1000:5001,5002 7:0:6001 8:2500:5001,7001" << WindowTest::originalMonsters
            << "3 7 8 @8" << refs8 << "撤销 包裹管理器：删除物品";
        QTest::newRow("box filter by item id")
            << 3 << QList<int>{} << "" << QStringList{"filter:6001"} << QStringList{}
            << QStringList{} << originalBoxes << WindowTest::originalMonsters << "7 8 @7"
            << "使用包裹 ID 7 的怪物列表:\n\nID: 1001 (史莱姆)\nID: 1002 (骷髅兵)"
            << "撤销";
        QTest::newRow("library search and category")
            << 0 << QList<int>{} << "0" << QStringList{"category:宝石"} << QStringList{}
            << QStringList{} << originalBoxes << WindowTest::originalMonsters << "3 7 8 @-1"
            << ""
            << "撤销";
        QTest::newRow("add library items to the box")
            << 7 << QList<int>{} << "5" << QStringList{"click:addToBoxButton"} << QStringList{}
            << QStringList{} << "3:1000:5001,5002 7:0:6001,5001,5002 8:2500:5001,6001,7001"
            << WindowTest::originalMonsters << "3 7 8 @7"
            << "使用包裹 ID 7 的怪物列表:\n\nID: 1001 (史莱姆)\nID: 1002 (骷髅兵)"
            << "撤销 包裹管理器：添加物品";
        QTest::newRow("add library items: none new")
            << 3 << QList<int>{} << "5" << QStringList{"click:addToBoxButton"} << QStringList{}
            << QStringList{"information|提示|没有添加任何物品（可能已存在或无效）"} << originalBoxes
            << WindowTest::originalMonsters << "3 7 8 @3" << refs3 << "撤销";
        QTest::newRow("library double click adds the item")
            << 3 << QList<int>{} << "7001" << QStringList{"doubleClick:0"} << QStringList{}
            << QStringList{} << "3:1000:5001,5002,7001 7:0:6001 8:2500:5001,6001,7001"
            << WindowTest::originalMonsters << "3 7 8 @3" << refs3 << "撤销 包裹管理器：添加物品";
        QTest::newRow("library menu adds the selected items")
            << 3 << QList<int>{} << "6001" << QStringList{"libraryMenu:0"}
            << QStringList{"menu:添加到当前包裹（1个）"} << QStringList{"execMenu||"}
            << "3:1000:5001,5002,6001 7:0:6001 8:2500:5001,6001,7001"
            << WindowTest::originalMonsters << "3 7 8 @3" << refs3 << "撤销 包裹管理器：添加物品";
        QTest::newRow("close with 保存并关闭")
            << 8 << QList<int>{} << "" << QStringList{"fields:8,5000,", "ok"} << QStringList{}
            << QStringList{} << "3:1000:5001,5002 7:0:6001 8:5000:5001,6001,7001"
            << WindowTest::originalMonsters << ""
            << ""
            << "撤销 包裹管理器：修改包裹";
    }

    void wiring()
    {
        QFETCH(int, box);
        QFETCH(QList<int>, itemRows);
        QFETCH(QString, search);
        QFETCH(QStringList, actions);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, prompts);
        QFETCH(QString, boxesAfter);
        QFETCH(QStringList, monstersAfter);
        QFETCH(QString, listed);
        QFETCH(QString, pane);
        QFETCH(QString, undo);

        Manager m;
        QVERIFY(m.open());
        const auto testers = attachTesters(m.h);
        QAbstractItemModelTester libraryTester(
            m.library()->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        QCOMPARE(m.listed(), QStringLiteral("3 7 8 @-1"));
        QCOMPARE(m.libraryIds(), QStringLiteral("5001 5002 6001 7001"));
        if (box)
            QVERIFY(m.selectBox(box));
        for (int row : itemRows)
            m.get<QTableWidget>("itemTable")
                ->selectionModel()
                ->select(m.get<QTableWidget>("itemTable")->model()->index(row, 0),
                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
        if (!search.isEmpty()) {
            m.get<QLineEdit>("itemLibrarySearchEdit")->setText(search);
            QVERIFY(m.settled());
            m.library()->selectAll();
        }
        for (const QString &answer : answers) {
            const QString value = answer.section(u':', 1);
            if (answer.startsWith(QLatin1String("text:")))
                m.h.prompts->textAnswers << value;
            else if (answer.startsWith(QLatin1String("pair:")))
                m.h.prompts->numberPairAnswers
                    << std::make_pair(value.section(u',', 0, 0), value.section(u',', 1));
            else
                m.h.prompts->menuAnswers << value;
        }
        m.h.prompts->reset();

        for (const QString &action : actions) {
            const QString kind = action.section(u':', 0, 0);
            const QString value = action.section(u':', 1);
            if (kind == QLatin1String("click")) {
                m.get<QPushButton>(qPrintable(value))->click();
            } else if (kind == QLatin1String("ok")) {
                m.get<QDialogButtonBox>("buttonBox")->button(QDialogButtonBox::Ok)->click();
            } else if (kind == QLatin1String("filter")) {
                QTest::keyClicks(m.get<QLineEdit>("boxFilterEdit"), value);
            } else if (kind == QLatin1String("category")) {
                m.get<QComboBox>("itemLibraryCategoryCombo")->setCurrentText(value);
            } else if (kind == QLatin1String("fields")) {
                m.get<QLineEdit>("boxIdEdit")->setText(value.section(u',', 0, 0));
                m.get<QLineEdit>("boxValueEdit")->setText(value.section(u',', 1, 1));
                m.get<QLineEdit>("notifyIdEdit")->setText(value.section(u',', 2, 2));
            } else {
                QAbstractItemView *view = kind == QLatin1String("itemMenu")
                                              ? m.get<QTableWidget>("itemTable")
                                              : static_cast<QAbstractItemView *>(m.library());
                const int row = value.toInt();
                if (kind == QLatin1String("doubleClick"))
                    Q_EMIT view->doubleClicked(view->model()->index(row, 0));
                else
                    Q_EMIT view->customContextMenuRequested(m.rowCenter(view, row));
            }
        }
        QVERIFY(m.settled());

        QCOMPARE(m.h.prompts->transcript(), prompts);
        QVERIFY(m.h.prompts->scriptErrors.isEmpty());
        QCOMPARE(boxSummary(*m.h.window), boxesAfter);
        QCOMPARE(monsterDocument(*m.h.window), monstersAfter);
        QCOMPARE(undoText(m.h), undo);
        QCOMPARE(staleState(m.h), QString());
        if (actions.contains(QStringLiteral("ok"))) {
            QTRY_VERIFY(!m.h.window->findChild<DropBoxManagerDialog *>());
            return;
        }
        QCOMPARE(m.listed(), listed);
        QCOMPARE(m.pane(), pane);
        if (QTest::currentDataTag() == QLatin1String("library search and category"))
            QCOMPARE(m.libraryIds(), QStringLiteral("7001"));
    }

    // The replace dialog offers the selected item's id in both fields, within 1-999999999.
    void replaceOffersSelectedItem()
    {
        Manager m;
        QVERIFY(m.open() && m.selectBox(8));
        m.get<QTableWidget>("itemTable")->selectRow(2);
        m.get<QPushButton>("replaceItemIdButton")->click();
        QCOMPARE(m.h.prompts->last()->extra,
                 (QStringList{"替换为物品ID：", "7001", "1", "999999999"}));
    }

    // The library menu's second entry opens the main window's item sources window.
    void libraryMenuShowsSources()
    {
        Manager m;
        QVERIFY(m.open());
        m.h.prompts->menuAnswers << QStringLiteral("查看掉落来源");
        Q_EMIT m.library()->customContextMenuRequested(m.rowCenter(m.library(), 2));
        QCOMPARE(m.h.prompts->last()->extra,
                 (QStringList{"添加到当前包裹（1个） (off)", "查看掉落来源"}));
        auto *sources = m.h.window->findChild<ItemSourcesDialog *>();
        QVERIFY(sources && sources->isVisible());
        QCOMPARE(sources->itemId(), 6001);
    }

    // Button and menu open the one manager, on top and modeless; closed, it is destroyed and the
    // next opening builds a new one, whose library build may outlive it.
    void openFromBothEntries()
    {
        Harness h;
        h.window->show();
        h.child<QPushButton>(QStringLiteral("boxManagerButton"))->click();
        QPointer<DropBoxManagerDialog> first = h.window->findChild<DropBoxManagerDialog *>();
        QVERIFY(first && first->isVisible());
        QCOMPARE(first->windowTitle(), QStringLiteral("包裹管理器"));
        QVERIFY(first->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(first->windowModality(), Qt::NonModal);
        QAction *menuAction = h.window->findChild<QAction *>(QStringLiteral("actionManageBoxes"));
        QVERIFY(menuAction->isEnabled());
        menuAction->trigger();
        QCOMPARE(h.window->findChildren<DropBoxManagerDialog *>().size(), 1);

        first->reject();
        QTRY_VERIFY(!first);
        menuAction->trigger();
        QPointer<DropBoxManagerDialog> second = h.window->findChild<DropBoxManagerDialog *>();
        QVERIFY(second && second->isItemLibraryLoading());
        second->reject();
        QTRY_VERIFY(!second);
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
    }

    // The box the main window shows is removed in the manager and "关闭" closes it: the window
    // shows the documents as they are, nothing stale (run under the address sanitizer too).
    void closeAfterRemovingSelectedBox()
    {
        Manager m;
        QVERIFY(m.open() && m.selectBox(8));
        m.get<QPushButton>("removeBoxButton")->click();
        m.get<QDialogButtonBox>("buttonBox")->button(QDialogButtonBox::Cancel)->click();
        QTRY_VERIFY(!m.h.window->findChild<DropBoxManagerDialog *>());
        QCOMPARE(staleState(m.h), QString());
        QCOMPARE(m.h.window->selectedMonsterId(), 1002);
        QVERIFY(!m.h.window->selectedBox());
        QCOMPARE(m.h.columnTexts(QStringLiteral("boxListView"), 0), QStringList{"7"});
        QCOMPARE(m.h.child<QLabel>(QStringLiteral("detailBoxCount"))->text(), QStringLiteral("2"));
        QVERIFY(!m.h.window->grab().isNull());
    }

    // A reload while the manager is open: it lists the new documents, and its box, gone from
    // them, is no longer current. Typing in the main window's form reaches it after the pause.
    void reloadWhileOpen()
    {
        Manager m;
        QVERIFY(m.open() && m.selectBox(7));
        m.h.child<QLineEdit>(QStringLiteral("boxValueSpin"))->setText(QStringLiteral("2600"));
        QTRY_COMPARE(m.boxTable()->item(2, 1)->text(), QStringLiteral("2600"));
        QCOMPARE(m.dialog->currentBox(), 7);
        const QString boxFile = m.h.configDir + QStringLiteral("/DropBoxContent.txt");
        QVERIFY(QFile::remove(boxFile));
        QVERIFY(QFile::copy(WindowTest::fixturePath(QStringLiteral("other/boxes_b.txt")), boxFile));
        m.h.prompts->chooseAnswers << 1; // 不保存
        m.h.child<QPushButton>(QStringLiteral("loadConfigButton"))->click();
        QCOMPARE(m.listed(), QStringLiteral("8 3 @-1"));
        QVERIFY(m.selectBox(3));
        QCOMPARE(m.get<QLineEdit>("boxValueEdit")->text(), QStringLiteral("4000"));
        QCOMPARE(staleState(m.h), QString());
    }

    // A manager edit is one undo step of the main window; undone, the files save as before.
    void undoRestoresBytes()
    {
        Manager m;
        QVERIFY(m.open());
        m.h.window->onSave();
        const QByteArray boxes = TestSupport::readBytes(m.h.window->boxFilePath());
        const QByteArray monsters = TestSupport::readBytes(m.h.window->monsterFilePath());
        m.h.prompts->textAnswers << QStringLiteral("7");
        m.get<QPushButton>("removeBoxByIdButton")->click();
        QCOMPARE(m.listed(), QStringLiteral("3 8 @-1"));
        QAction *undo = m.h.window->findChild<QAction *>(QStringLiteral("actionUndo"));
        QCOMPARE(undo->text(), QStringLiteral("撤销 包裹管理器：删除包裹"));
        undo->trigger();
        QCOMPARE(m.listed(), QStringLiteral("3 7 8 @-1"));
        QCOMPARE(staleState(m.h), QString());
        m.h.window->onSave();
        QCOMPARE(TestSupport::readBytes(m.h.window->boxFilePath()), boxes);
        QCOMPARE(TestSupport::readBytes(m.h.window->monsterFilePath()), monsters);
    }
};

QTEST_MAIN(TestBoxManager)
#include "tst_boxmanager.moc"
