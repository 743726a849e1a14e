#include "WindowTestSupport.h"

#include "models/MonsterFilterProxyModel.h"

#include <QAction>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QSplitter>
#include <QTest>

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
    void initialState()
    {
        Harness h(QString{});
        QCOMPARE(h.window->size(), QSize(1280, 960));
        QCOMPARE(h.window->currentDensityLevel(), 1);
        QCOMPARE(columnStretch(h), (QList<int>{1, 1, 1, 1}));
        // "应用" waits for a box.
        QVERIFY(!h.child<QPushButton>("applyDropRateButton")->isEnabled());
        QCOMPARE(h.window->selectedMonsterId(), -1);
        QVERIFY(h.prompts->calls.isEmpty());
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

    // The level's fonts reach the style sheet and its spacing the layouts.
    void densityFollowsResize_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("font");
        QTest::addColumn<int>("spacing");
        QTest::newRow("1279 wide") << QSize(1279, 960) << 0 << "font-size: 11px;" << 6;
        QTest::newRow("1280x720") << QSize(1280, 720) << 1 << "font-size: 12px;" << 8;
        QTest::newRow("1920x1080") << QSize(1920, 1080) << 2 << "font-size: 13px;" << 10;
    }

    void densityFollowsResize()
    {
        QFETCH(QSize, size);
        QFETCH(QString, font);
        Harness h(QString{});
        sendResize(*h.window, size);
        QTEST(h.window->currentDensityLevel(), "level");
        QVERIFY2(h.window->styleSheet().contains(font), qPrintable(font));
        QVERIFY(!h.window->styleSheet().contains(QLatin1Char('%')));
        QTEST(h.child<QLayout>("mainLayout")->spacing(), "spacing");
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
