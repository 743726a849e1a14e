#include "dialogs/Prompts.h"

#include "edit/EditResult.h"

#include "dialogs/MonsterEditDialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QInputDialog>
#include <QIntValidator>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

void showNotice(Prompts &prompts, QWidget *parent, const EditNotice &notice)
{
    switch (notice.kind) {
    case NoticeKind::None:
        break;
    case NoticeKind::Information:
        prompts.information(parent, notice.title, notice.text);
        break;
    case NoticeKind::Warning:
        prompts.warning(parent, notice.title, notice.text);
        break;
    }
}

void DialogPrompts::information(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::information(parent, title, text);
}

void DialogPrompts::warning(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::warning(parent, title, text);
}

void DialogPrompts::critical(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::critical(parent, title, text);
}

bool DialogPrompts::question(QWidget *parent, const QString &title, const QString &text)
{
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

int DialogPrompts::choose(QWidget *parent, const QString &title, const QString &text,
                          const QList<Choice> &buttons, int escapeIndex)
{
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(text);
    QList<QPushButton *> added;
    for (const Choice &choice : buttons)
        added.append(box.addButton(choice.text, QMessageBox::ButtonRole(choice.role)));
    if (escapeIndex >= 0 && escapeIndex < added.size())
        box.setEscapeButton(added.at(escapeIndex));
    box.exec();
    const int clicked = int(added.indexOf(qobject_cast<QPushButton *>(box.clickedButton())));
    return clicked < 0 ? escapeIndex : clicked;
}

std::optional<int> DialogPrompts::getInt(QWidget *parent, const QString &title,
                                         const QString &label, int value, int minValue,
                                         int maxValue, int step)
{
    bool ok = false;
    const int result =
        QInputDialog::getInt(parent, title, label, value, minValue, maxValue, step, &ok);
    return ok ? std::optional<int>(result) : std::nullopt;
}

std::optional<QString> DialogPrompts::getItem(QWidget *parent, const QString &title,
                                              const QString &label, const QStringList &items,
                                              int current, bool editable)
{
    bool ok = false;
    const QString result =
        QInputDialog::getItem(parent, title, label, items, current, editable, &ok);
    return ok ? std::optional<QString>(result) : std::nullopt;
}

std::optional<QString> DialogPrompts::getText(QWidget *parent, const QString &title,
                                              const QString &label, const QString &text)
{
    bool ok = false;
    const QString result =
        QInputDialog::getText(parent, title, label, QLineEdit::Normal, text, &ok);
    return ok ? std::optional<QString>(result) : std::nullopt;
}

std::optional<std::pair<QString, QString>>
DialogPrompts::getNumberPair(QWidget *parent, const QString &title, const QString &firstLabel,
                             const QString &secondLabel, int value, int minValue, int maxValue)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto *form = new QFormLayout;
    QLineEdit *fields[2] = {};
    const QString labels[2] = {firstLabel, secondLabel};
    for (int i = 0; i < 2; ++i) {
        fields[i] = new QLineEdit(QString::number(value), &dialog);
        fields[i]->setClearButtonEnabled(true);
        fields[i]->setValidator(new QIntValidator(minValue, maxValue, fields[i]));
        fields[i]->setPlaceholderText(QStringLiteral("%1-%2").arg(minValue).arg(maxValue));
        form->addRow(labels[i], fields[i]);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return std::make_pair(fields[0]->text(), fields[1]->text());
}

QString DialogPrompts::openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                    const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString DialogPrompts::saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                    const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QAction *DialogPrompts::execMenu(QMenu &menu, const QPoint &globalPos)
{
    return menu.exec(globalPos);
}

std::optional<MonsterEdits::MonsterEditValues>
DialogPrompts::editMonsterAttributes(QWidget *parent, int editCount,
                                     const std::optional<MonsterEdits::MonsterEditPrefill> &prefill)
{
    MonsterEditDialog dialog(parent);
    dialog.setEditCount(editCount);
    if (prefill)
        dialog.setValues(prefill->hasDrop, prefill->dropType, prefill->monsterValue);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    MonsterEdits::MonsterEditValues values;
    values.modifyHasDrop = dialog.modifyHasDrop();
    values.hasDrop = dialog.hasDrop();
    values.modifyDropType = dialog.modifyDropType();
    values.dropType = dialog.dropType();
    values.modifyMonsterValue = dialog.modifyMonsterValue();
    values.monsterValue = dialog.monsterValue();
    return values;
}
