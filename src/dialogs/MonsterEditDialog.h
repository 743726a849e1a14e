#pragma once

#include <QDialog>

#include <optional>

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
    // Any drop type but 0 is shown as the team drop, the combo's second entry; the spin box
    // shows the value within 0..999999.
    void setValues(bool hasDrop, int dropType, int monsterValue);

    bool modifyHasDrop() const;
    bool hasDrop() const;
    bool modifyDropType() const;
    // The combo's index, or the stored type while the combo still shows it: a field the user
    // left alone keeps its value.
    int dropType() const;
    bool modifyMonsterValue() const;
    // The spin box's value, or the stored value while the spin box still shows it.
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
    std::optional<int> storedDropType;
    std::optional<int> storedMonsterValue;
};
