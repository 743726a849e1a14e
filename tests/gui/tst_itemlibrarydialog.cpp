#include "TestSupport.h"
#include "WindowTestSupport.h"

#include "dialogs/ItemLibraryDialog.h"
#include "dialogs/ItemLibraryViews.h"
#include "dialogs/ItemSourcesDialog.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QListWidget>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

#include <memory>

using namespace EditTest;

namespace {

// The fixture's items 5001 5002 (物品), 6001 (装备), 7001 (红宝石), plus two gems.
ItemLibraryDialog *openLibrary(Harness &h)
{
    NameResolver::instance().gemNames.insert(1203, QStringLiteral("蓝宝石"));
    NameResolver::instance().gemNames.insert(8120, QStringLiteral("绿宝石"));
    h.window->onItemLibrary();
    auto *dialog = h.window->findChild<ItemLibraryDialog *>();
    if (dialog && !QTest::qWaitForWindowExposed(dialog))
        return nullptr;
    return dialog;
}

QTableView *libraryView(ItemLibraryDialog *dialog)
{
    return dialog->findChild<QTableView *>(QStringLiteral("libraryView"));
}

QListWidget *favoritesList(ItemLibraryDialog *dialog)
{
    return dialog->findChild<QListWidget *>(QStringLiteral("favoritesList"));
}

QStringList favoriteTexts(ItemLibraryDialog *dialog)
{
    QStringList texts;
    for (int row = 0; row < favoritesList(dialog)->count(); ++row)
        texts << favoritesList(dialog)->item(row)->text();
    return texts;
}

QList<int> selectedFavoriteRows(ItemLibraryDialog *dialog)
{
    QList<int> rows;
    for (int row = 0; row < favoritesList(dialog)->count(); ++row) {
        if (favoritesList(dialog)->item(row)->isSelected())
            rows << row;
    }
    return rows;
}

void storeFavorites(const QStringList &list)
{
    QSettings(QStringLiteral("Lootwright"), QStringLiteral("Lootwright"))
        .setValue(QStringLiteral("favorites/itemIds"), list);
}

QPoint libraryRow(ItemLibraryDialog *dialog, int row)
{
    QTableView *view = libraryView(dialog);
    return view->visualRect(view->model()->index(row, 0)).center();
}

} // namespace

class TestItemLibraryDialog : public QObject
{
    Q_OBJECT

    TestSupport::IsolatedSettings settings;

private Q_SLOTS:
    void initTestCase() { QVERIFY(settings.isValid()); }
    void init() { settings.clear(); }

    void filter_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("everything in library order")
            << "全部"
            << "" << QStringList{"5001", "5002", "6001", "1203", "7001", "8120"};
        QTest::newRow("gems whose id holds 12") << "宝石"
                                                << "12" << QStringList{"1203", "8120"};
        QTest::newRow("by name") << "全部"
                                 << "宝石" << QStringList{"1203", "7001", "8120"};
    }

    // The filter follows the combo and the search only after the typing pauses.
    void filter()
    {
        QFETCH(QString, category);
        QFETCH(QString, search);
        QFETCH(QStringList, ids);
        Harness h;
        ItemLibraryDialog *dialog = openLibrary(h);
        QVERIFY(dialog);
        QAbstractItemModel *model = libraryView(dialog)->model();
        QAbstractItemModelTester tester(model,
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        dialog->findChild<QLineEdit *>(QStringLiteral("searchEdit"))->setText(QStringLiteral("x"));
        dialog->findChild<QComboBox *>(QStringLiteral("categoryCombo"))->setCurrentText(category);
        dialog->findChild<QLineEdit *>(QStringLiteral("searchEdit"))->setText(search);
        QCOMPARE(model->rowCount(), 6);
        QTRY_COMPARE(shownIds(dialog), ids);
    }

    // "全部" filters no category; any other entry is its own filter.
    void categoryFilter()
    {
        std::unique_ptr<QComboBox> combo(ItemLibraryViews::createCategoryCombo(nullptr));
        combo->setCurrentText(QStringLiteral("全部"));
        QCOMPARE(ItemLibraryViews::categoryFilter(combo.get()), QString());
        combo->setCurrentText(QStringLiteral("宝石"));
        QCOMPARE(ItemLibraryViews::categoryFilter(combo.get()), QStringLiteral("宝石"));
    }

    // Right-clicking selects the row under the mouse; each entry acts on the selection.
    void itemContextMenu()
    {
        Harness h;
        ItemLibraryDialog *dialog = openLibrary(h);
        QVERIFY(dialog);
        QTableView *view = libraryView(dialog);
        QSignalSpy toBox(dialog, &ItemLibraryDialog::addItemIdsToCurrentBoxRequested);

        // Nothing selected, empty space: a menu with every entry off.
        Q_EMIT view->customContextMenuRequested(QPoint(5, view->viewport()->height() - 2));
        QCOMPARE(h.prompts->last()->extra,
                 (QStringList{"添加到当前选中包裹 (off)", "加入收藏夹 (off)", "---",
                              "复制ID到剪贴板 (off)", "---", "查看掉落来源 (off)"}));

        selectRows(libraryView(dialog), {0});
        h.prompts->menuAnswers << QStringLiteral("添加到当前选中包裹");
        Q_EMIT view->customContextMenuRequested(libraryRow(dialog, 3));
        QCOMPARE(dialog->selectedItemIds(), QList<int>{1203});
        QCOMPARE(toBox.takeFirst().first().value<QList<int>>(), QList<int>{1203});

        selectRows(libraryView(dialog), {4, 1, 2});
        h.prompts->menuAnswers << QStringLiteral("复制ID到剪贴板") << QStringLiteral("加入收藏夹")
                               << QStringLiteral("查看掉落来源");
        for (int i = 0; i < 3; ++i)
            Q_EMIT view->customContextMenuRequested(libraryRow(dialog, 1));
        QVERIFY(h.prompts->scriptErrors.isEmpty());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("7001"));
        QCOMPARE(TestSupport::storedFavorites(), (QStringList{"7001", "5002", "6001"}));
        QCOMPARE(favoriteTexts(dialog),
                 (QStringList{"7001  红宝石", "5002  金创药", "6001  青铜剑"}));
        auto *sources = h.window->findChild<ItemSourcesDialog *>();
        QVERIFY(sources && sources->isVisible());
        QCOMPARE(sources->itemId(), 5002);
        QVERIFY(toBox.isEmpty());
    }

    void itemDoubleClicked()
    {
        Harness h;
        ItemLibraryDialog *dialog = openLibrary(h);
        QVERIFY(dialog);
        Q_EMIT libraryView(dialog)->doubleClicked(libraryView(dialog)->model()->index(2, 1));
        QCOMPARE(h.prompts->transcript(),
                 QStringList{"information|物品信息|ID: 6001\n名称: 青铜剑\n分类: 装备"});
        QVERIFY(TestSupport::storedFavorites().isEmpty());
    }

    void favoritesMenu_data()
    {
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QList<int>>("selectedAfter");
        QTest::addColumn<QList<int>>("toBox");
        const QStringList five{"10", "11", "12", "13", "14"};
        QTest::newRow("up") << QList<int>{0, 1} << "上移"
                            << QStringList{"11", "10", "12", "13", "14"} << QList<int>{0, 1}
                            << QList<int>{};
        // The last row cannot move down, yet the list is stored again.
        QTest::newRow("down at the end")
            << QList<int>{4} << "下移" << five << QList<int>{4} << QList<int>{};
        QTest::newRow("top") << QList<int>{3, 1} << "置顶"
                             << QStringList{"11", "13", "10", "12", "14"} << QList<int>{0, 1}
                             << QList<int>{};
        QTest::newRow("bottom") << QList<int>{1, 3} << "置底"
                                << QStringList{"10", "12", "14", "11", "13"} << QList<int>{3, 4}
                                << QList<int>{};
        QTest::newRow("remove") << QList<int>{1, 3} << "从收藏夹移除"
                                << QStringList{"10", "12", "14"} << QList<int>{} << QList<int>{};
        QTest::newRow("to the box, in selection order")
            << QList<int>{3, 1} << "添加到当前包裹" << five << QList<int>{1, 3}
            << QList<int>{13, 11};
    }

    void favoritesMenu()
    {
        QFETCH(QList<int>, selected);
        QFETCH(QString, entry);
        QFETCH(QList<int>, toBox);
        storeFavorites({"10", "11", "12", "13", "14"});
        Harness h;
        ItemLibraryDialog *dialog = openLibrary(h);
        QVERIFY(dialog);
        QListWidget *list = favoritesList(dialog);
        QSignalSpy changed(dialog, &ItemLibraryDialog::favoritesChanged);
        QSignalSpy requests(dialog, &ItemLibraryDialog::addItemIdsToCurrentBoxRequested);
        for (int row : selected)
            list->item(row)->setSelected(true);
        h.prompts->menuAnswers << entry;
        Q_EMIT list->customContextMenuRequested(
            list->visualItemRect(list->item(selected.first())).center());
        QVERIFY(h.prompts->scriptErrors.isEmpty());
        QTEST(TestSupport::storedFavorites(), "stored");
        QTEST(selectedFavoriteRows(dialog), "selectedAfter");
        QCOMPARE(changed.size(), toBox.isEmpty() ? 1 : 0);
        QCOMPARE(requests.size(), toBox.isEmpty() ? 0 : 1);
        if (!toBox.isEmpty())
            QCOMPARE(requests.first().first().value<QList<int>>(), toBox);
    }

    // What is stored shows as id and name; dragging and double-clicking; a store that cannot be
    // written is told once; a new window shows what the last one stored.
    void favoritesPane()
    {
        storeFavorites({"5001", "abc", "0", "-5", "5001", "99"});
        Harness h;
        ItemLibraryDialog *dialog = openLibrary(h);
        QVERIFY(dialog);
        QListWidget *list = favoritesList(dialog);
        QCOMPARE(favoriteTexts(dialog), (QStringList{"5001  回城卷轴", "5001  回城卷轴", "99"}));
        QSignalSpy changed(dialog, &ItemLibraryDialog::favoritesChanged);
        QSignalSpy requests(dialog, &ItemLibraryDialog::addItemIdsToCurrentBoxRequested);

        QVERIFY(list->model()->moveRow(QModelIndex(), 2, QModelIndex(), 0));
        QCOMPARE(TestSupport::storedFavorites(), (QStringList{"99", "5001", "5001"}));
        QCOMPARE(changed.size(), 1);
        Q_EMIT list->itemDoubleClicked(list->item(0));
        QCOMPARE(requests.takeFirst().first().value<QList<int>>(), QList<int>{99});
        h.prompts->reset();

        const QString file = TestSupport::IsolatedSettings::fileName();
        QVERIFY(QFile::remove(file) && QDir().mkpath(file));
        dialog->addToFavorites({6001});
        dialog->addToFavorites({7001});
        QVERIFY(QDir(file).removeRecursively());
        QCOMPARE(h.prompts->count(ScriptedPrompts::Kind::Information), 1);
        QVERIFY(h.prompts->last()->text.startsWith(QStringLiteral("收藏夹未能保存")));

        dialog->addToFavorites({5002});
        dialog->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!h.window->findChild<ItemLibraryDialog *>());
        ItemLibraryDialog *again = openLibrary(h);
        QVERIFY(again && again != dialog);
        QCOMPARE(favoriteTexts(again),
                 (QStringList{"99", "5001  回城卷轴", "5001  回城卷轴", "6001  青铜剑",
                              "7001  红宝石", "5002  金创药"}));
    }

    // One window at most, from the button and the menu; it adds to the selected box and follows
    // the main window's 加入收藏夹.
    void windowWiring()
    {
        Harness h;
        h.child<QPushButton>(QStringLiteral("itemManagerButton"))->click();
        auto *dialog = h.window->findChild<ItemLibraryDialog *>();
        QVERIFY(dialog && dialog->isVisible());
        QVERIFY(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(dialog->windowModality(), Qt::NonModal);
        QVERIFY(!dialog->testAttribute(Qt::WA_DeleteOnClose));
        auto *action = h.window->findChild<QAction *>(QStringLiteral("actionItemLibrary"));
        QVERIFY(action->isEnabled());
        action->trigger();
        QCOMPARE(h.window->findChildren<ItemLibraryDialog *>().size(), 1);

        Q_EMIT dialog->addItemIdsToCurrentBoxRequested({9});
        QCOMPARE(h.prompts->transcript(),
                 QStringList{"information|提示|当前未选中包裹或物品已存在"});
        QVERIFY(prepare(h, {1001}, 3));
        Q_EMIT dialog->addItemIdsToCurrentBoxRequested({9, 5001, 6001});
        QCOMPARE(h.window->statusBar()->currentMessage(),
                 QStringLiteral("已添加 2 个物品到当前包裹"));
        QCOMPARE(staleState(h), QString());

        QTableView *items = h.view(QStringLiteral("itemTableView"));
        items->selectionModel()->select(items->model()->index(2, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        h.window->addSelectedItemsToFavorites();
        QCOMPARE(favoriteTexts(dialog), QStringList{"9"});
    }

private:
    static QStringList shownIds(ItemLibraryDialog *dialog)
    {
        QStringList ids;
        const QAbstractItemModel *model = libraryView(dialog)->model();
        for (int row = 0; row < model->rowCount(); ++row)
            ids << model->index(row, 0).data().toString();
        return ids;
    }
};

QTEST_MAIN(TestItemLibraryDialog)
#include "tst_itemlibrarydialog.moc"
