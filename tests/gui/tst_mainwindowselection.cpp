#include "WindowTestSupport.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using WindowTest::Harness;

class TestMainWindowSelection : public QObject
{
    Q_OBJECT

private:
    static QStringList monsterPanel(const Harness &h)
    {
        QStringList texts;
        for (const char *name :
             {"detailMonsterId", "detailMValue", "detailDropType", "detailBoxCount"})
            texts << h.child<QLabel>(QString::fromLatin1(name))->text();
        return texts;
    }

    // boxIdEdit, boxValueSpin, broadcastIdSpin, forceBindCheck, dropRateValue, targetDropRateSpin,
    // applyDropRateButton enabled
    static QStringList boxForm(const Harness &h)
    {
        return {h.child<QLineEdit>("boxIdEdit")->text(),
                h.child<QLineEdit>("boxValueSpin")->text(),
                h.child<QLineEdit>("broadcastIdSpin")->text(),
                h.child<QCheckBox>("forceBindCheck")->isChecked() ? "checked" : "unchecked",
                h.child<QLabel>("dropRateValue")->text(),
                h.child<QLineEdit>("targetDropRateSpin")->text(),
                h.child<QPushButton>("applyDropRateButton")->isEnabled() ? "on" : "off"};
    }

    static QStringList emptyForm() { return {"", "", "", "unchecked", "-", "", "off"}; }

private Q_SLOTS:
    // Two records of one id: the panel shows the first, the one edits change, and says so.
    void repeatedMonsterIdShowsFirstRecord()
    {
        Harness h;
        QFile file(QDir(h.configDir).filePath(QStringLiteral("MonsterDropBoxs.txt")));
        QVERIFY(file.open(QIODevice::Append));
        file.write("1001\t999\t1\t8\n");
        file.close();
        h.window->autoLoadConfig();
        QVERIFY(h.selectMonster(1001));
        QCOMPARE(monsterPanel(h), (QStringList{"1001（2条记录，显示第一条）", "200", "个人", "2"}));
        QCOMPARE(h.columnTexts("boxListView", 0), (QStringList{"3", "7"}));
        QCOMPARE(h.window->selectedConfig(), &h.window->monsterDocument().records.first());
    }

    // Filtering the selected monster away empties the panels; showing it again does not
    // select it behind the user's back.
    void filterHidingSelection_data()
    {
        QTest::addColumn<int>("monsterId");
        QTest::addColumn<QString>("search");
        QTest::addColumn<bool>("onlyWithDrops");
        QTest::newRow("search text") << 1001 << QStringLiteral("1002") << false;
        QTest::newRow("only with drops") << 1003 << QString() << true;
    }

    void filterHidingSelection()
    {
        QFETCH(int, monsterId);
        QFETCH(QString, search);
        QFETCH(bool, onlyWithDrops);
        Harness h;
        QVERIFY(h.selectMonster(monsterId));
        h.selectBoxRow(0);
        h.child<QLineEdit>("monsterSearchEdit")->setText(search);
        h.child<QPushButton>("filterDropOnlyBtn")->setChecked(onlyWithDrops);
        QCOMPARE(h.window->selectedMonsterId(), -1);
        QVERIFY(!h.window->selectedConfig() && !h.window->selectedBox());
        QCOMPARE(monsterPanel(h), (QStringList{"-", "-", "-", "-"}));
        QCOMPARE(h.view("summaryView")->model()->rowCount(), 0);
        QCOMPARE(EditTest::staleState(h), QString());
        QVERIFY(h.window->selectedMonsterIds().isEmpty());

        h.child<QLineEdit>("monsterSearchEdit")->clear();
        h.child<QPushButton>("filterDropOnlyBtn")->setChecked(false);
        QCOMPARE(h.window->selectedMonsterId(), -1);
        QCOMPARE(monsterPanel(h), (QStringList{"-", "-", "-", "-"}));
    }

    void selectMonster_data()
    {
        QTest::addColumn<int>("monsterId");
        QTest::addColumn<QStringList>("panel");
        QTest::addColumn<QStringList>("boxIds");
        QTest::addColumn<QStringList>("boxRates");
        QTest::addColumn<QStringList>("summaryItems");

        QTest::newRow("personal, two boxes")
            << 1001 << QStringList{"1001", "200", "个人", "2"} << QStringList{"3", "7"}
            << QStringList{"20.00%", "N/A"} << QStringList{"5001", "5002", "", "6001"};
        // Drop type 5 counts as team; box 9 is missing from the box file but is still a used slot.
        QTest::newRow("team, missing box")
            << 1002 << QStringList{"1002", "500", "队伍", "3"} << QStringList{"7", "8"}
            << QStringList{"N/A", "20.00%"} << QStringList{"6001", "", "5001", "6001", "7001"};
        QTest::newRow("no record") << 1003 << QStringList{"1003", "无配置", "无配置", "0"}
                                   << QStringList{} << QStringList{} << QStringList{};
    }

    void selectMonster()
    {
        QFETCH(int, monsterId);
        QFETCH(QStringList, panel);
        QFETCH(QStringList, boxIds);
        QFETCH(QStringList, boxRates);
        QFETCH(QStringList, summaryItems);

        Harness h;
        QVERIFY(h.selectMonster(monsterId));
        QCOMPARE(h.window->selectedMonsterId(), monsterId);
        QCOMPARE(monsterPanel(h), panel);
        QCOMPARE(h.columnTexts("boxListView", 0), boxIds);
        QCOMPARE(h.columnTexts("boxListView", 2), boxRates);
        QCOMPARE(h.columnTexts("summaryView", 1), summaryItems);
        QVERIFY(!h.window->selectedBox());
        QCOMPARE(boxForm(h), emptyForm());
        QCOMPARE(h.window->selectedConfig() != nullptr, panel[1] != QStringLiteral("无配置"));
        QCOMPARE(EditTest::staleState(h), QString());
    }

    void selectByClick()
    {
        Harness h;
        MainWindow &w = *h.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTableView *monsters = h.view("monsterListView");
        const QModelIndex index = h.monsterIndex(1002);
        QVERIFY(index.isValid());
        QTest::mouseClick(monsters->viewport(), Qt::LeftButton, {},
                          monsters->visualRect(index).center());
        QCOMPARE(w.selectedMonsterId(), 1002);
        QCOMPARE(monsterPanel(h), (QStringList{"1002", "500", "队伍", "3"}));

        QTableView *boxes = h.view("boxListView");
        const QModelIndex boxIndex = boxes->model()->index(1, 1);
        QTest::mouseClick(boxes->viewport(), Qt::LeftButton, {},
                          boxes->visualRect(boxIndex).center());
        QVERIFY(w.selectedBox());
        QCOMPARE(w.selectedBox()->boxId, 8);
        QCOMPARE(boxForm(h),
                 (QStringList{"8", "2500", "12", "checked", "20.0000%", "20.0000", "on"}));
    }

    void selectBox_data()
    {
        QTest::addColumn<int>("monsterId");
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("form");
        QTest::addColumn<QStringList>("itemIds");

        QTest::newRow("1001 box 3")
            << 1001 << 0 << QStringList{"3", "1000", "-1", "unchecked", "20.0000%", "20.0000", "on"}
            << QStringList{"5001", "5002"};
        // A weight below 1 has no rate: shown as zero in the form.
        QTest::newRow("1001 box 7")
            << 1001 << 1 << QStringList{"7", "0", "-1", "unchecked", "0.0000%", "0.0000", "on"}
            << QStringList{"6001"};
        QTest::newRow("1002 box 8")
            << 1002 << 1 << QStringList{"8", "2500", "12", "checked", "20.0000%", "20.0000", "on"}
            << QStringList{"5001", "6001", "7001"};
    }

    void selectBox()
    {
        QFETCH(int, monsterId);
        QFETCH(int, row);
        QFETCH(QStringList, form);
        QFETCH(QStringList, itemIds);

        Harness h;
        QVERIFY(h.selectMonster(monsterId));
        QVERIFY(h.selectBoxRow(row));
        QVERIFY(h.window->selectedBox());
        QCOMPARE(QString::number(h.window->selectedBox()->boxId), form[0]);
        QCOMPARE(boxForm(h), form);
        QStringList shown;
        for (const QString &id : h.columnTexts("itemTableView", 1)) {
            if (!id.isEmpty())
                shown << id;
        }
        QCOMPARE(shown, itemIds);
        QCOMPARE(h.view("itemTableView")->model()->rowCount(), 100);
        // The monster side is untouched by a box selection.
        QCOMPARE(h.window->selectedMonsterId(), monsterId);
    }

    // A new monster clears the box; a monster without a record, or none, empties the right side.
    void monsterChangeClearsBox()
    {
        Harness h;
        QVERIFY(h.selectMonster(1002));
        QVERIFY(h.selectBoxRow(1));
        QVERIFY(h.selectMonster(1001));
        QVERIFY(!h.window->selectedBox());
        QCOMPARE(boxForm(h), emptyForm());
        QCOMPARE(h.columnTexts("boxListView", 0), (QStringList{"3", "7"}));
        QVERIFY(h.selectBoxRow(0));
        QVERIFY(h.selectMonster(1003));
        QVERIFY(!h.window->selectedConfig() && !h.window->selectedBox());
        QCOMPARE(h.view("boxListView")->model()->rowCount(), 0);
        QCOMPARE(boxForm(h), emptyForm());
        QVERIFY(h.selectMonster(1001));
        h.view("monsterListView")->selectionModel()->clearCurrentIndex();
        QCOMPARE(h.window->selectedMonsterId(), -1);
        QCOMPARE(monsterPanel(h), (QStringList{"-", "-", "-", "-"}));
        QCOMPARE(EditTest::staleState(h), QString());
    }

    void fillingTheFormIsNoEdit()
    {
        Harness h;
        auto *value = h.child<QLineEdit>("boxValueSpin");
        auto *broadcast = h.child<QLineEdit>("broadcastIdSpin");
        auto *bind = h.child<QCheckBox>("forceBindCheck");
        MainWindow *w = h.window.get();

        // A unique connection succeeds only while the window's own connection is absent.
        const auto editConnected = [w](auto *sender, auto signal) {
            const QMetaObject::Connection probe = QObject::connect(
                sender, signal, w, &MainWindow::onBoxDetailChanged, Qt::UniqueConnection);
            if (!probe)
                return true;
            QObject::disconnect(probe);
            return false;
        };
        QList<bool> duringFill;
        QObject::connect(value, &QLineEdit::textChanged, value,
                         [&] { duringFill << editConnected(value, &QLineEdit::textChanged); });
        QObject::connect(broadcast, &QLineEdit::textChanged, broadcast,
                         [&] { duringFill << editConnected(broadcast, &QLineEdit::textChanged); });
        QObject::connect(bind, &QCheckBox::stateChanged, bind,
                         [&] { duringFill << editConnected(bind, &QCheckBox::stateChanged); });

        QVERIFY(editConnected(value, &QLineEdit::textChanged));
        QVERIFY(h.selectMonster(1002));
        QVERIFY(h.selectBoxRow(1));     // fills value, broadcast id and bind flag
        QVERIFY(h.selectMonster(1001)); // clears them again
        QVERIFY(duringFill.size() >= 6);
        QVERIFY(!duringFill.contains(true));

        // Afterwards the fields are wired to the edit slot again.
        QVERIFY(editConnected(value, &QLineEdit::textChanged));
        QVERIFY(editConnected(broadcast, &QLineEdit::textChanged));
        QVERIFY(editConnected(bind, &QCheckBox::stateChanged));
        QVERIFY(editConnected(h.child<QLineEdit>("boxIdEdit"), &QLineEdit::editingFinished));
    }

    void multiplier()
    {
        Harness h;
        QVERIFY(h.selectMonster(1001));
        QVERIFY(h.selectBoxRow(0));
        h.window->onDropMultiplierChanged(0.5);
        QCOMPARE(h.columnTexts("boxListView", 2), (QStringList{"10.00%", "N/A"}));
        QCOMPARE(h.columnTexts("summaryView", 3).first(), QStringLiteral("10.00%"));
        QCOMPARE(h.columnTexts("itemTableView", 0).first(), QStringLiteral("10.00%"));
        // The box list keeps its selection; re-selecting shows the rate with the multiplier.
        QVERIFY(h.selectBoxRow(1));
        QVERIFY(h.selectBoxRow(0));
        QCOMPARE(h.child<QLabel>("dropRateValue")->text(), QStringLiteral("10.0000%"));
    }
};

QTEST_MAIN(TestMainWindowSelection)
#include "tst_mainwindowselection.moc"
