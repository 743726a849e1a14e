#include "WindowTestSupport.h"

#include "models/MonsterFilterProxyModel.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QVBoxLayout>

using WindowTest::Harness;

class TestMainWindowLayout : public QObject
{
    Q_OBJECT

private:
    static void sendResize(MainWindow &window, const QSize &size)
    {
        QResizeEvent event(size, window.size());
        QCoreApplication::sendEvent(&window, &event);
    }

    static QList<int> columnStretch(const Harness &h)
    {
        QList<int> stretch;
        for (const char *name : {"monsterGroup", "boxGroup", "itemGroup", "summaryGroup"})
            stretch
                << h.child<QWidget>(QString::fromLatin1(name))->sizePolicy().horizontalStretch();
        return stretch;
    }

private Q_SLOTS:
    void widgetTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("placeholder");
        QTest::addColumn<QString>("toolTip");

        const auto row = [](const char *name, const char *className, const QString &text,
                            const QString &placeholder = {}, const QString &toolTip = {}) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(className)
                                << text << placeholder << toolTip;
        };
        row("loadConfigButton", "QPushButton", "加载爆率", {}, "自动加载程序目录下的配置文件");
        row("saveConfigButton", "QPushButton", "保存爆率", {}, "保存当前的爆率配置");
        row("exportConfigButton", "QPushButton", "导出爆率", {}, "导出爆率表到HTML文件");
        row("monsterGroup", "QGroupBox", "怪物列表");
        row("monsterSearchEdit", "QLineEdit", "", "搜索怪物ID或名称...");
        row("filterDropOnlyBtn", "QPushButton", "只显示有掉落");
        row("labelMonsterId", "QLabel", "怪物ID:");
        row("detailMonsterId", "QLabel", "-");
        row("labelMValue", "QLabel", "怪物价值:");
        row("detailMValue", "QLabel", "-");
        row("labelDropType", "QLabel", "掉落类型:");
        row("detailDropType", "QLabel", "-");
        row("labelBoxCount", "QLabel", "包裹数量:");
        row("detailBoxCount", "QLabel", "-");
        row("boxGroup", "QGroupBox", "包裹列表");
        row("boxDetailGroup", "QGroupBox", "包裹详情");
        row("boxIdLabel", "QLabel", "包裹ID:");
        row("boxIdEdit", "QLineEdit", "");
        row("boxValueLabel", "QLabel", "包裹价值:");
        row("boxValueSpin", "QLineEdit", "", "0-999999999");
        row("forceBindLabel", "QLabel", "是否绑定:");
        row("forceBindCheck", "QCheckBox", "强制绑定");
        row("broadcastIdLabel", "QLabel", "掉落广播编号:");
        row("broadcastIdSpin", "QLineEdit", "", "-1(无) 或广播ID");
        row("dropRateLabel", "QLabel", "当前爆率(%):");
        row("dropRateValue", "QLabel", "-");
        row("targetDropRateLabel", "QLabel", "目标爆率(%):");
        row("targetDropRateSpin", "QLineEdit", "", "0.0000-100.0000");
        row("applyDropRateButton", "QPushButton", "应用", {}, "根据目标爆率自动计算并修改包裹权值");
        row("itemGroup", "QGroupBox", "物品详情");
        row("operationLogGroup", "QGroupBox", "操作日志");
        row("clearOperationLogButton", "QPushButton", "清空日志");
        row("copyOperationLogButton", "QPushButton", "复制日志");
        row("itemManagerButton", "QPushButton", "物品管理器", {}, "打开物品库管理器（含收藏夹）");
        row("boxManagerButton", "QPushButton", "包裹管理器", {}, "打开包裹管理器");
        row("operationLogEdit", "QPlainTextEdit", "",
            "这里会记录对爆率配置的修改操作，例如：对怪物ID/名称的爆率进行了什么变更。");
        row("summaryGroup", "QGroupBox", "全掉落汇总");
        row("monsterListView", "QTableView", "");
        row("boxListView", "QTableView", "");
        row("itemTableView", "QTableView", "");
        row("summaryView", "QTableView", "");
        row("monsterDetailFrame", "QFrame", "");
        row("mainSplitter", "QSplitter", "");
        row("monsterSplitter", "QSplitter", "");
        row("centralWidget", "QWidget", "");
        row("statusBar", "QStatusBar", "");
    }

    void widgetTexts()
    {
        QFETCH(QString, name);
        QFETCH(QString, className);
        QFETCH(QString, text);
        QFETCH(QString, placeholder);
        QFETCH(QString, toolTip);

        Harness h(QString{});
        QWidget *widget = h.child<QWidget>(name);
        QVERIFY2(widget, qPrintable(name));
        QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
        QCOMPARE(widget->toolTip(), toolTip);
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            QCOMPARE(button->text(), text);
        else if (auto *label = qobject_cast<QLabel *>(widget))
            QCOMPARE(label->text(), text);
        else if (auto *group = qobject_cast<QGroupBox *>(widget))
            QCOMPARE(group->title(), text);
        else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
            QCOMPARE(edit->text(), text);
            QCOMPARE(edit->placeholderText(), placeholder);
        } else if (auto *log = qobject_cast<QPlainTextEdit *>(widget)) {
            QCOMPARE(log->toPlainText(), text);
            QCOMPARE(log->placeholderText(), placeholder);
            QVERIFY(log->isReadOnly());
            QCOMPARE(log->document()->maximumBlockCount(), 2000);
        } else {
            QVERIFY(text.isEmpty());
        }
    }

    void structure()
    {
        Harness h(QString{});
        MainWindow &w = *h.window;
        QCOMPARE(w.objectName(), QStringLiteral("MainWindow"));
        QCOMPARE(w.size(), QSize(1280, 960));
        QCOMPARE(w.windowTitle(), QStringLiteral("Lootwright - 四栏布局[*]"));
        QCOMPARE(w.centralWidget(), h.child<QWidget>("centralWidget"));
        QCOMPARE(w.statusBar(), h.child<QStatusBar>("statusBar"));

        auto *mainLayout = h.child<QVBoxLayout>("mainLayout");
        QVERIFY(mainLayout);
        QCOMPARE(mainLayout->itemAt(0)->layout(), h.child<QLayout>("toolbarLayout"));
        QCOMPARE(mainLayout->itemAt(1)->widget(), h.child<QWidget>("mainSplitter"));
        auto *toolbar = h.child<QHBoxLayout>("toolbarLayout");
        QCOMPARE(toolbar->spacing(), 8);
        QCOMPARE(toolbar->count(), 4);
        QCOMPARE(toolbar->itemAt(0)->widget(), h.child<QWidget>("loadConfigButton"));
        QCOMPARE(toolbar->itemAt(1)->widget(), h.child<QWidget>("saveConfigButton"));
        QCOMPARE(toolbar->itemAt(2)->widget(), h.child<QWidget>("exportConfigButton"));
        QVERIFY(toolbar->itemAt(3)->spacerItem());
        QCOMPARE(h.child<QPushButton>("loadConfigButton")->minimumHeight(), 36);

        auto *splitter = h.child<QSplitter>("mainSplitter");
        QCOMPARE(splitter->orientation(), Qt::Horizontal);
        QVERIFY(!splitter->childrenCollapsible());
        QVERIFY(splitter->opaqueResize());
        QCOMPARE(splitter->count(), 4);
        QCOMPARE(splitter->widget(0)->objectName(), QStringLiteral("monsterGroup"));
        QCOMPARE(splitter->widget(1)->objectName(), QStringLiteral("boxGroup"));
        QCOMPARE(splitter->widget(2)->objectName(), QStringLiteral("itemGroup"));
        QCOMPARE(splitter->widget(3)->objectName(), QStringLiteral("summaryGroup"));
        auto *monsterSplitter = h.child<QSplitter>("monsterSplitter");
        QCOMPARE(monsterSplitter->orientation(), Qt::Vertical);
        QCOMPARE(monsterSplitter->widget(0)->objectName(), QStringLiteral("monsterListView"));
        QCOMPARE(monsterSplitter->widget(1)->objectName(), QStringLiteral("monsterDetailFrame"));
        QCOMPARE(monsterSplitter->widget(0)->sizePolicy().verticalStretch(), 4);
        QCOMPARE(monsterSplitter->widget(1)->sizePolicy().verticalStretch(), 1);
        QCOMPARE(h.child<QFrame>("monsterDetailFrame")->frameShape(), QFrame::StyledPanel);
        QVERIFY(h.child<QPushButton>("filterDropOnlyBtn")->isCheckable());

        // Form rows: label column and field column.
        const auto checkRow = [&](const char *form, int row, const char *label, const char *field) {
            auto *layout = h.child<QFormLayout>(QString::fromLatin1(form));
            QVERIFY(layout);
            QCOMPARE(layout->itemAt(row, QFormLayout::LabelRole)->widget()->objectName(),
                     QString::fromLatin1(label));
            QLayoutItem *item = layout->itemAt(row, QFormLayout::FieldRole);
            const QString fieldName =
                item->widget() ? item->widget()->objectName() : item->layout()->objectName();
            QCOMPARE(fieldName, QString::fromLatin1(field));
            QCOMPARE(layout->fieldGrowthPolicy(), QFormLayout::ExpandingFieldsGrow);
            QCOMPARE(layout->rowWrapPolicy(), QFormLayout::DontWrapRows);
            QCOMPARE(layout->labelAlignment(), Qt::AlignRight | Qt::AlignVCenter);
            QCOMPARE(layout->formAlignment(), Qt::AlignLeft | Qt::AlignTop);
        };
        checkRow("monsterDetailLayout", 0, "labelMonsterId", "detailMonsterId");
        checkRow("monsterDetailLayout", 1, "labelMValue", "detailMValue");
        checkRow("monsterDetailLayout", 2, "labelDropType", "detailDropType");
        checkRow("monsterDetailLayout", 3, "labelBoxCount", "detailBoxCount");
        checkRow("boxDetailLayout", 0, "boxIdLabel", "boxIdEdit");
        checkRow("boxDetailLayout", 1, "boxValueLabel", "boxValueSpin");
        checkRow("boxDetailLayout", 2, "forceBindLabel", "forceBindCheck");
        checkRow("boxDetailLayout", 3, "broadcastIdLabel", "broadcastIdSpin");
        checkRow("boxDetailLayout", 4, "dropRateLabel", "dropRateValue");
        checkRow("boxDetailLayout", 5, "targetDropRateLabel", "targetDropRateLayout");
        auto *target = h.child<QHBoxLayout>("targetDropRateLayout");
        QCOMPARE(target->itemAt(0)->widget()->objectName(), QStringLiteral("targetDropRateSpin"));
        QCOMPARE(target->itemAt(1)->widget()->objectName(), QStringLiteral("applyDropRateButton"));

        auto *boxLayout = h.child<QVBoxLayout>("boxLayout");
        QCOMPARE(boxLayout->itemAt(0)->widget()->objectName(), QStringLiteral("boxListView"));
        QCOMPARE(boxLayout->stretch(0), 4);
        QCOMPARE(boxLayout->itemAt(1)->widget()->objectName(), QStringLiteral("boxDetailGroup"));
        QCOMPARE(boxLayout->stretch(1), 1);
        auto *itemLayout = h.child<QVBoxLayout>("itemLayout");
        QCOMPARE(itemLayout->itemAt(0)->widget()->objectName(), QStringLiteral("itemTableView"));
        QCOMPARE(itemLayout->stretch(0), 3);
        QCOMPARE(itemLayout->itemAt(1)->widget()->objectName(),
                 QStringLiteral("operationLogGroup"));
        QCOMPARE(itemLayout->stretch(1), 2);
        auto *logToolbar = h.child<QHBoxLayout>("operationLogToolbarLayout");
        QCOMPARE(logToolbar->count(), 5);
        QCOMPARE(logToolbar->itemAt(0)->widget()->objectName(),
                 QStringLiteral("clearOperationLogButton"));
        QCOMPARE(logToolbar->itemAt(1)->widget()->objectName(),
                 QStringLiteral("copyOperationLogButton"));
        QVERIFY(logToolbar->itemAt(2)->spacerItem());
        QCOMPARE(logToolbar->itemAt(3)->widget()->objectName(),
                 QStringLiteral("itemManagerButton"));
        QCOMPARE(logToolbar->itemAt(4)->widget()->objectName(), QStringLiteral("boxManagerButton"));
    }

    void views()
    {
        Harness h(QString{});
        QTableView *monsters = h.view("monsterListView");
        QCOMPARE(monsters->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(monsters->selectionBehavior(), QAbstractItemView::SelectRows);
        QVERIFY(qobject_cast<MonsterFilterProxyModel *>(monsters->model()));
        QCOMPARE(monsters->horizontalHeader()->sectionResizeMode(1), QHeaderView::Stretch);
        QVERIFY(monsters->verticalHeader()->isHidden());
        QCOMPARE(monsters->contextMenuPolicy(), Qt::CustomContextMenu);

        QTableView *boxes = h.view("boxListView");
        QCOMPARE(boxes->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(boxes->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(boxes->contextMenuPolicy(), Qt::CustomContextMenu);
        QTableView *items = h.view("itemTableView");
        QCOMPARE(items->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(items->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(items->contextMenuPolicy(), Qt::CustomContextMenu);

        for (const char *name : {"boxListView", "itemTableView", "summaryView"}) {
            QTableView *view = h.view(QString::fromLatin1(name));
            QVERIFY(view->model());
            QVERIFY(view->verticalHeader()->isHidden());
            QCOMPARE(view->model()->columnCount(), view->horizontalHeader()->count());
            for (int column = 0; column < view->model()->columnCount(); ++column)
                QCOMPARE(view->horizontalHeader()->sectionResizeMode(column), QHeaderView::Stretch);
        }
        for (const char *name :
             {"monsterListView", "boxListView", "itemTableView", "summaryView"}) {
            QTableView *view = h.view(QString::fromLatin1(name));
            QVERIFY(view->alternatingRowColors());
            QVERIFY(!view->showGrid());
            QCOMPARE(view->frameShape(), QFrame::NoFrame);
            QVERIFY(!view->horizontalHeader()->highlightSections());
            QCOMPARE(view->horizontalHeader()->defaultAlignment(),
                     Qt::AlignLeft | Qt::AlignVCenter);
            QCOMPARE(view->verticalHeader()->defaultSectionSize(), 24);
            QCOMPARE(view->verticalHeader()->minimumSectionSize(), 24);
        }
    }

    void initialState()
    {
        Harness h(QString{});
        for (const char *name : {"detailMonsterId", "detailMValue", "detailDropType",
                                 "detailBoxCount", "dropRateValue"})
            QCOMPARE(h.child<QLabel>(QString::fromLatin1(name))->text(), QStringLiteral("-"));
        QVERIFY(!h.child<QPushButton>("applyDropRateButton")->isEnabled());
        QVERIFY(h.child<QPushButton>("loadConfigButton")->isEnabled());
        QVERIFY(h.child<QPushButton>("saveConfigButton")->isEnabled());
        QVERIFY(h.child<QPushButton>("exportConfigButton")->isEnabled());
        QVERIFY(h.child<QPushButton>("itemManagerButton")->isEnabled());
        QVERIFY(h.child<QPushButton>("boxManagerButton")->isEnabled());
        QVERIFY(!h.child<QPushButton>("filterDropOnlyBtn")->isChecked());
        QCOMPARE(h.window->selectedMonsterId(), -1);
        QVERIFY(!h.window->selectedConfig());
        QVERIFY(!h.window->selectedBox());
        QCOMPARE(h.window->currentDensityLevel(), 1);
        QVERIFY(h.window->styleSheet().contains(QStringLiteral("font-size: 12px;")));
        QCOMPARE(columnStretch(h), (QList<int>{1, 1, 1, 1}));
        QVERIFY(h.prompts->calls.isEmpty());
        QVERIFY(h.window->findChildren<QDialog *>().isEmpty());

        // Nothing happens on the tool-window buttons until those windows exist.
        h.child<QPushButton>("itemManagerButton")->click();
        h.child<QPushButton>("boxManagerButton")->click();
        QVERIFY(h.prompts->calls.isEmpty());
    }

    void actions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("open monster") << "actionOpenMonster"
                                      << "打开怪物掉落配置..."
                                      << ""
                                      << "文件" << true;
        QTest::newRow("open box") << "actionOpenBox"
                                  << "打开包裹内容配置..."
                                  << ""
                                  << "文件" << true;
        QTest::newRow("save") << "actionSave"
                              << "保存"
                              << "Ctrl+S"
                              << "文件" << true;
        QTest::newRow("save as") << "actionSaveAs"
                                 << "另存为..."
                                 << ""
                                 << "文件" << true;
        QTest::newRow("export") << "actionExportHtml"
                                << "导出爆率表到HTML..."
                                << ""
                                << "文件" << true;
        QTest::newRow("exit") << "actionExit"
                              << "退出"
                              << ""
                              << "文件" << true;
        QTest::newRow("edit monster") << "actionEditMonster"
                                      << "编辑怪物属性..."
                                      << "Ctrl+E"
                                      << "编辑" << false;
        QTest::newRow("box manager") << "actionManageBoxes"
                                     << "包裹管理器..."
                                     << ""
                                     << "工具" << false;
        QTest::newRow("item library") << "actionItemLibrary"
                                      << "物品库管理器..."
                                      << ""
                                      << "工具" << false;
    }

    void actions()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, shortcut);
        QFETCH(QString, menu);
        QFETCH(bool, enabled);

        Harness h(QString{});
        auto *action = h.child<QAction>(name);
        QVERIFY(action);
        QCOMPARE(action->text(), text);
        QCOMPARE(action->shortcut(), QKeySequence(shortcut));
        QCOMPARE(action->isEnabled(), enabled);
        QMenu *owner = nullptr;
        for (QAction *top : h.window->menuBar()->actions()) {
            if (top->menu() && top->menu()->actions().contains(action))
                owner = top->menu();
        }
        QVERIFY(owner);
        QCOMPARE(owner->title(), menu);
    }

    void actionsReachTheirSlots()
    {
        Harness h(QString{});
        h.prompts->reset();
        h.child<QAction>("actionOpenMonster")->trigger();
        h.child<QAction>("actionOpenBox")->trigger();
        h.child<QAction>("actionSaveAs")->trigger();
        h.child<QAction>("actionSave")->trigger();
        QCOMPARE(h.prompts->transcript(),
                 (QStringList{QStringLiteral("openFileName|打开怪物掉落配置|"),
                              QStringLiteral("openFileName|打开包裹内容配置|"),
                              QStringLiteral("saveFileName|保存怪物掉落配置|"),
                              QStringLiteral("information|提示|没有已加载的配置文件，无需保存")}));
        h.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.window.get()));
        h.child<QAction>("actionExit")->trigger();
        QVERIFY(!h.window->isVisible());
    }

    void densityForSize_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("level");
        QTest::newRow("1279x1200") << QSize(1279, 1200) << 0;
        QTest::newRow("1279x720") << QSize(1279, 720) << 0;
        QTest::newRow("1280x719") << QSize(1280, 719) << 0;
        QTest::newRow("1280x720") << QSize(1280, 720) << 1;
        QTest::newRow("1919x1200") << QSize(1919, 1200) << 1;
        QTest::newRow("1920x1079") << QSize(1920, 1079) << 1;
        QTest::newRow("1920x1080") << QSize(1920, 1080) << 2;
        QTest::newRow("2560x1440") << QSize(2560, 1440) << 2;
    }

    void densityForSize()
    {
        QFETCH(QSize, size);
        QFETCH(int, level);
        QCOMPARE(MainWindow::densityForSize(size), level);
    }

    void densityFollowsResize_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("level");
        QTest::addColumn<QStringList>("declarations");
        QTest::addColumn<QList<int>>("metrics"); // margins, spacing, handle, filter width,
                                                 // manager width, row height
        QTest::newRow("1279 wide")
            << QSize(1279, 960) << 0
            << QStringList{"font-size: 11px;",   "font-size: 13px;",  "font-size: 10px;",
                           "padding: 6px 10px;", "padding: 5px 8px;", "min-height: 26px;",
                           "padding: 6px 12px;", "min-height: 28px;"}
            << QList<int>{6, 6, 5, 100, 80, 22};
        QTest::newRow("1280x719") << QSize(1280, 719) << 0 << QStringList{"font-size: 11px;"}
                                  << QList<int>{6, 6, 5, 100, 80, 22};
        QTest::newRow("1280x720") << QSize(1280, 720) << 1
                                  << QStringList{"font-size: 12px;",   "font-size: 14px;",
                                                 "font-size: 11px;",   "padding: 8px 12px;",
                                                 "padding: 6px 10px;", "min-height: 30px;",
                                                 "padding: 7px 14px;", "min-height: 32px;"}
                                  << QList<int>{10, 8, 6, 110, 90, 24};
        QTest::newRow("1920x1079") << QSize(1920, 1079) << 1 << QStringList{"font-size: 12px;"}
                                   << QList<int>{10, 8, 6, 110, 90, 24};
        QTest::newRow("1920x1080")
            << QSize(1920, 1080) << 2
            << QStringList{"font-size: 13px;",    "font-size: 15px;",   "font-size: 12px;",
                           "padding: 10px 14px;", "padding: 7px 12px;", "min-height: 34px;",
                           "padding: 8px 16px;",  "min-height: 36px;"}
            << QList<int>{12, 10, 8, 120, 100, 28};
    }

    void densityFollowsResize()
    {
        QFETCH(QSize, size);
        QFETCH(int, level);
        QFETCH(QStringList, declarations);
        QFETCH(QList<int>, metrics);

        Harness h(QString{});
        MainWindow &w = *h.window;
        sendResize(w, size);
        QCOMPARE(w.currentDensityLevel(), level);
        const QString sheet = w.styleSheet();
        for (const QString &declaration : declarations)
            QVERIFY2(sheet.contains(declaration), qPrintable(declaration));
        QVERIFY(!sheet.contains(QLatin1Char('%')));
        QVERIFY(sheet.contains(
            QStringLiteral("font-family: \"SF Pro Text\", \"SF Pro Display\", "
                           "\"Helvetica Neue\", \"Segoe UI\", \"Microsoft YaHei\";")));

        QCOMPARE(h.child<QLayout>("mainLayout")->contentsMargins(),
                 QMargins(metrics[0], metrics[0], metrics[0], metrics[0]));
        for (const char *name : {"mainLayout", "monsterLayout", "boxLayout", "itemLayout",
                                 "summaryLayout", "operationLogLayout", "monsterFilterLayout",
                                 "operationLogToolbarLayout", "targetDropRateLayout"})
            QCOMPARE(h.child<QLayout>(QString::fromLatin1(name))->spacing(), metrics[1]);
        const int groupMargin = level == 0 ? 6 : level == 1 ? 8 : 10;
        for (const char *name :
             {"monsterLayout", "boxLayout", "itemLayout", "summaryLayout", "operationLogLayout"})
            QCOMPARE(h.child<QLayout>(QString::fromLatin1(name))->contentsMargins().left(),
                     groupMargin);
        for (const char *name : {"monsterDetailLayout", "boxDetailLayout"}) {
            auto *form = h.child<QFormLayout>(QString::fromLatin1(name));
            QCOMPARE(form->contentsMargins().top(), groupMargin);
            QCOMPARE(form->horizontalSpacing(), groupMargin);
            QCOMPARE(form->verticalSpacing(), groupMargin);
        }
        QCOMPARE(h.child<QHBoxLayout>("toolbarLayout")->spacing(), 8);
        QCOMPARE(h.child<QSplitter>("mainSplitter")->handleWidth(), metrics[2]);
        QCOMPARE(h.child<QSplitter>("monsterSplitter")->handleWidth(), metrics[2]);
        QCOMPARE(h.child<QPushButton>("filterDropOnlyBtn")->minimumWidth(), metrics[3]);
        QCOMPARE(h.child<QPushButton>("itemManagerButton")->minimumWidth(), metrics[4]);
        QCOMPARE(h.child<QPushButton>("boxManagerButton")->minimumWidth(), metrics[4]);
        QCOMPARE(h.view("summaryView")->verticalHeader()->defaultSectionSize(), metrics[5]);
        QCOMPARE(h.view("monsterListView")->verticalHeader()->minimumSectionSize(), metrics[5]);
    }

    void styleSheetOnlyOnLevelChange()
    {
        Harness h(QString{});
        MainWindow &w = *h.window;
        const QString marker = QStringLiteral("QLabel { color: #123456; }");
        w.setStyleSheet(marker);
        sendResize(w, QSize(1300, 800)); // still normal
        QCOMPARE(w.styleSheet(), marker);
        sendResize(w, QSize(1900, 1079)); // still normal
        QCOMPARE(w.styleSheet(), marker);
        sendResize(w, QSize(1279, 800)); // compact
        QVERIFY(w.styleSheet().contains(QStringLiteral("font-size: 11px;")));
        w.setStyleSheet(marker);
        sendResize(w, QSize(1000, 600)); // still compact
        QCOMPARE(w.styleSheet(), marker);
        sendResize(w, QSize(1920, 1080));
        QCOMPARE(w.currentDensityLevel(), 2);
        QVERIFY(w.styleSheet().contains(QStringLiteral("font-size: 13px;")));
    }

    void stretchOnEveryResize()
    {
        Harness h(QString{});
        MainWindow &w = *h.window;
        sendResize(w, QSize(1279, 960));
        QCOMPARE(columnStretch(h), (QList<int>{1, 1, 2, 1}));
        sendResize(w, QSize(1280, 960));
        QCOMPARE(columnStretch(h), (QList<int>{1, 1, 1, 1}));

        // Within one level the style stays, but the stretch is set again.
        h.child<QSplitter>("mainSplitter")->setStretchFactor(2, 7);
        sendResize(w, QSize(1281, 961));
        QCOMPARE(columnStretch(h), (QList<int>{1, 1, 1, 1}));
        h.child<QSplitter>("mainSplitter")->setStretchFactor(0, 5);
        sendResize(w, QSize(1100, 961));
        QCOMPARE(columnStretch(h), (QList<int>{1, 1, 2, 1}));
    }

    void realResize()
    {
        Harness h(QString{});
        MainWindow &w = *h.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.resize(1920, 1080);
        QTRY_COMPARE(w.currentDensityLevel(), 2);
        QCOMPARE(columnStretch(h), (QList<int>{1, 1, 1, 1}));
        w.resize(1279, 900);
        QTRY_COMPARE(w.currentDensityLevel(), 0);
        QCOMPARE(columnStretch(h), (QList<int>{1, 1, 2, 1}));
    }

    void filterButton()
    {
        Harness h;
        auto *button = h.child<QPushButton>("filterDropOnlyBtn");
        auto *proxy = qobject_cast<MonsterFilterProxyModel *>(h.view("monsterListView")->model());
        QCOMPARE(proxy->rowCount(), 3); // 1001, 1002, 1003
        button->click();
        QVERIFY(button->isChecked());
        QCOMPARE(button->text(), QStringLiteral("显示全部"));
        QVERIFY(proxy->onlyWithDrops());
        QCOMPARE(h.columnTexts("monsterListView", 0), (QStringList{"1001", "1002"}));
        button->click();
        QCOMPARE(button->text(), QStringLiteral("只显示有掉落"));
        QVERIFY(!proxy->onlyWithDrops());
        QCOMPARE(proxy->rowCount(), 3);

        auto *search = h.child<QLineEdit>("monsterSearchEdit");
        search->setText(QStringLiteral(" 骷髅"));
        QCOMPARE(proxy->filterText(), QStringLiteral("骷髅"));
        QCOMPARE(h.columnTexts("monsterListView", 0), (QStringList{"1002"}));
        search->clear();
        QCOMPARE(proxy->rowCount(), 3);
    }
};

QTEST_MAIN(TestMainWindowLayout)
#include "tst_mainwindowlayout.moc"
