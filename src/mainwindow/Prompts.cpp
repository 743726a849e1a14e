#include "mainwindow/Prompts.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

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
