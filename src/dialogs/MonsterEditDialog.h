#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QSpinBox;

// The drop attributes of one monster, or of many at once: in batch mode a field is changed only
// when its box on the left is ticked. Only returns values; the caller applies them.
class MonsterEditDialog : public QDialog
{
    Q_OBJECT

public:
    explicit MonsterEditDialog(QWidget *parent = nullptr);

    // 1: single mode, every field applies; any other count: batch mode.
    void setEditCount(int count);
    // Any drop type but 0 is shown as the team drop, the combo's second entry.
    void setValues(bool hasDrop, int dropType, int monsterValue);

    bool modifyHasDrop() const;
    bool hasDrop() const;
    bool modifyDropType() const;
    int dropType() const; // the combo's index
    bool modifyMonsterValue() const;
    int monsterValue() const;

private:
    QLabel *headerLabel = nullptr;
    QCheckBox *modifyHasDropCheck = nullptr;
    QCheckBox *modifyDropTypeCheck = nullptr;
    QCheckBox *modifyMonsterValueCheck = nullptr;
    QCheckBox *hasDropCheck = nullptr;
    QComboBox *dropTypeCombo = nullptr;
    QSpinBox *monsterValueSpin = nullptr;
    QDialogButtonBox *buttonBox = nullptr;
    int editCount = 1;
};
