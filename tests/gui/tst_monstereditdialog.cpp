#include "dialogs/MonsterEditDialog.h"
#include "dialogs/Prompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

template <typename T> T *child(const QDialog &dialog, const char *name)
{
    return dialog.findChild<T *>(QString::fromLatin1(name));
}

const char *const modifyBoxes[] = {"modifyHasDropCheck", "modifyDropTypeCheck",
                                   "modifyMonsterValueCheck"};

// Runs the real dialog through the prompts; `answer` works on it while it is up. Any other modal
// dialog is closed, and a run in which the edit dialog never came up fails instead of hanging.
std::optional<MonsterEdits::MonsterEditValues>
runDialog(int count, const std::optional<MonsterEdits::MonsterEditPrefill> &prefill,
          const std::function<void(MonsterEditDialog &)> &answer)
{
    bool answered = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *dialog = qobject_cast<MonsterEditDialog *>(modal)) {
            poll.stop();
            answered = true;
            answer(*dialog);
        } else if (auto *other = qobject_cast<QDialog *>(modal)) {
            other->reject();
        }
    });
    poll.start(0);
    DialogPrompts prompts;
    const std::optional<MonsterEdits::MonsterEditValues> values =
        prompts.editMonsterAttributes(nullptr, count, prefill);
    if (!answered)
        QTest::qFail("the monster edit dialog did not come up", __FILE__, __LINE__);
    return values;
}

} // namespace

class TestMonsterEditDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void modes_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("header");
        QTest::addColumn<bool>("single");
        QTest::newRow("one") << 1 << "编辑单个怪物掉落属性：" << true;
        QTest::newRow("three") << 3 << "批量编辑 3 个怪物（勾选左侧复选框表示修改该项）：" << false;
        QTest::newRow("none") << 0 << "批量编辑 0 个怪物（勾选左侧复选框表示修改该项）：" << false;
    }

    // Single mode ticks and hides the modify boxes, batch mode clears and shows them.
    void modes()
    {
        QFETCH(int, count);
        QFETCH(bool, single);
        MonsterEditDialog dialog;
        dialog.show();
        for (const char *name : modifyBoxes)
            child<QCheckBox>(dialog, name)->setChecked(!single);
        dialog.setEditCount(count);
        QTEST(child<QLabel>(dialog, "headerLabel")->text(), "header");
        for (const char *name : modifyBoxes) {
            QCOMPARE(child<QCheckBox>(dialog, name)->isChecked(), single);
            QCOMPARE(child<QCheckBox>(dialog, name)->isVisible(), !single);
        }
    }

    void values_data()
    {
        QTest::addColumn<int>("dropType");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("shownType");
        QTest::addColumn<int>("shownValue");
        QTest::newRow("personal") << 0 << 250 << 0 << 250;
        QTest::newRow("team") << 1 << 999999 << 1 << 999999;
        // Any other type drops for the team; the spin box keeps to 0..999999.
        QTest::newRow("type 5, value too large") << 5 << 1000000 << 1 << 999999;
        QTest::newRow("negative type and value") << -1 << -4 << 1 << 0;
    }

    // Shown within the widgets' ranges, read back unchanged until the user changes them.
    void values()
    {
        QFETCH(int, dropType);
        QFETCH(int, value);
        MonsterEditDialog dialog;
        dialog.setValues(true, dropType, value);
        QVERIFY(dialog.hasDrop());
        QTEST(child<QComboBox>(dialog, "dropTypeCombo")->currentIndex(), "shownType");
        QTEST(child<QSpinBox>(dialog, "monsterValueSpin")->value(), "shownValue");
        QCOMPARE(dialog.dropType(), dropType);
        QCOMPARE(dialog.monsterValue(), value);
        child<QComboBox>(dialog, "dropTypeCombo")->setCurrentIndex(dropType != 0 ? 0 : 1);
        child<QSpinBox>(dialog, "monsterValueSpin")->setValue(value == 250 ? 251 : 250);
        QCOMPARE(dialog.dropType(), dropType != 0 ? 0 : 1);
        QCOMPARE(dialog.monsterValue(), value == 250 ? 251 : 250);
    }

    // The prompts pre-fill the dialog, read back what was set when accepted, nothing on Cancel.
    void runThroughPrompts()
    {
        QString seen;
        const auto accepted = runDialog(
            1, MonsterEdits::MonsterEditPrefill{true, 1, 320}, [&](MonsterEditDialog &dialog) {
                seen = QStringLiteral("%1 %2 %3")
                           .arg(dialog.hasDrop())
                           .arg(dialog.dropType())
                           .arg(dialog.monsterValue());
                child<QSpinBox>(dialog, "monsterValueSpin")->setValue(640);
                child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok)->click();
            });
        QCOMPARE(seen, QStringLiteral("1 1 320"));
        QVERIFY(accepted);
        QVERIFY(accepted->modifyHasDrop && accepted->modifyDropType &&
                accepted->modifyMonsterValue);
        QVERIFY(accepted->hasDrop);
        QCOMPARE(accepted->dropType, 1);
        QCOMPARE(accepted->monsterValue, 640);

        // Batch mode starts empty: nothing ticked, drop off, personal, 0.
        const auto batch = runDialog(4, std::nullopt, [](MonsterEditDialog &dialog) {
            child<QCheckBox>(dialog, "modifyDropTypeCheck")->setChecked(true);
            child<QComboBox>(dialog, "dropTypeCombo")->setCurrentIndex(1);
            child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok)->click();
        });
        QVERIFY(batch);
        QVERIFY(!batch->modifyHasDrop && !batch->hasDrop && batch->modifyDropType &&
                !batch->modifyMonsterValue);
        QCOMPARE(batch->dropType, 1);
        QCOMPARE(batch->monsterValue, 0);

        QVERIFY(!runDialog(2, std::nullopt, [](MonsterEditDialog &dialog) {
            child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Cancel)->click();
        }));
    }
};

QTEST_MAIN(TestMonsterEditDialog)
#include "tst_monstereditdialog.moc"
