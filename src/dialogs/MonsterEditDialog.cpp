#include "dialogs/MonsterEditDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QCheckBox *modifyBox(QWidget *parent, const char *objectName)
{
    auto *box = new QCheckBox(parent);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setToolTip(QCoreApplication::translate("Lootwright", "勾选表示修改此项"));
    return box;
}

QHBoxLayout *fieldRow(QCheckBox *modify, QWidget *value)
{
    auto *row = new QHBoxLayout;
    row->addWidget(modify);
    row->addWidget(value);
    row->addStretch();
    return row;
}

} // namespace

MonsterEditDialog::MonsterEditDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QCoreApplication::translate("Lootwright", "编辑怪物属性"));
    setMinimumWidth(350);

    auto *layout = new QVBoxLayout(this);
    headerLabel = new QLabel(QCoreApplication::translate("Lootwright", "编辑怪物掉落属性："), this);
    headerLabel->setObjectName(QStringLiteral("headerLabel"));
    layout->addWidget(headerLabel);

    auto *group = new QGroupBox(QCoreApplication::translate("Lootwright", "属性设置"), this);
    auto *form = new QFormLayout(group);
    modifyHasDropCheck = modifyBox(group, "modifyHasDropCheck");
    modifyDropTypeCheck = modifyBox(group, "modifyDropTypeCheck");
    modifyMonsterValueCheck = modifyBox(group, "modifyMonsterValueCheck");
    hasDropCheck = new QCheckBox(QCoreApplication::translate("Lootwright", "启用掉落"), group);
    hasDropCheck->setObjectName(QStringLiteral("hasDropCheck"));
    dropTypeCombo = new QComboBox(group);
    dropTypeCombo->setObjectName(QStringLiteral("dropTypeCombo"));
    dropTypeCombo->addItem(QCoreApplication::translate("Lootwright", "个人掉落"), 0);
    dropTypeCombo->addItem(QCoreApplication::translate("Lootwright", "队伍掉落"), 1);
    monsterValueSpin = new QSpinBox(group);
    monsterValueSpin->setObjectName(QStringLiteral("monsterValueSpin"));
    monsterValueSpin->setRange(0, 999999);
    monsterValueSpin->setValue(0);
    form->addRow(QCoreApplication::translate("Lootwright", "是否掉落:"),
                 fieldRow(modifyHasDropCheck, hasDropCheck));
    form->addRow(QCoreApplication::translate("Lootwright", "掉落类型:"),
                 fieldRow(modifyDropTypeCheck, dropTypeCombo));
    form->addRow(QCoreApplication::translate("Lootwright", "怪物价值:"),
                 fieldRow(modifyMonsterValueCheck, monsterValueSpin));
    layout->addWidget(group);

    buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttonBox->setObjectName(QStringLiteral("buttonBox"));
    connect(buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttonBox);
}

void MonsterEditDialog::setEditCount(int count)
{
    editCount = count;
    const bool single = count == 1;
    headerLabel->setText(
        single ? QCoreApplication::translate("Lootwright", "编辑单个怪物掉落属性：")
               : QCoreApplication::translate("Lootwright",
                                             "批量编辑 %1 个怪物（勾选左侧复选框表示修改该项）：")
                     .arg(count));
    for (QCheckBox *box : {modifyHasDropCheck, modifyDropTypeCheck, modifyMonsterValueCheck}) {
        box->setChecked(single);
        box->setVisible(!single);
    }
}

void MonsterEditDialog::setValues(bool hasDrop, int dropType, int monsterValue)
{
    hasDropCheck->setChecked(hasDrop);
    // The file may hold any number; everything but 0 drops for the team, as the detail panel
    // says. An index outside the combo would leave it showing nothing.
    dropTypeCombo->setCurrentIndex(dropType != 0 ? 1 : 0);
    monsterValueSpin->setValue(monsterValue);
    storedDropType = dropType;
    storedMonsterValue = monsterValue;
}

bool MonsterEditDialog::modifyHasDrop() const
{
    return modifyHasDropCheck->isChecked();
}

bool MonsterEditDialog::hasDrop() const
{
    return hasDropCheck->isChecked();
}

bool MonsterEditDialog::modifyDropType() const
{
    return modifyDropTypeCheck->isChecked();
}

int MonsterEditDialog::dropType() const
{
    const int shown = dropTypeCombo->currentIndex();
    return storedDropType && shown == (*storedDropType != 0 ? 1 : 0) ? *storedDropType : shown;
}

bool MonsterEditDialog::modifyMonsterValue() const
{
    return modifyMonsterValueCheck->isChecked();
}

int MonsterEditDialog::monsterValue() const
{
    const int shown = monsterValueSpin->value();
    return storedMonsterValue &&
                   shown == std::clamp(*storedMonsterValue, monsterValueSpin->minimum(),
                                       monsterValueSpin->maximum())
               ? *storedMonsterValue
               : shown;
}
