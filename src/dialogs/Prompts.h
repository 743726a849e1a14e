#pragma once

#include "edit/MonsterEdits.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

class QAction;
class QMenu;
class QPoint;
class QWidget;
struct EditNotice;

// Every box, question, input and file dialog the windows show goes through here, so tests can
// script the answers instead of blocking on a modal box.
class Prompts
{
public:
    virtual ~Prompts() = default;

    virtual void information(QWidget *parent, const QString &title, const QString &text) = 0;
    virtual void warning(QWidget *parent, const QString &title, const QString &text) = 0;
    virtual void critical(QWidget *parent, const QString &title, const QString &text) = 0;
    // A Yes/No question; true only when the answer is Yes.
    virtual bool question(QWidget *parent, const QString &title, const QString &text) = 0;

    // A box without icon offering buttons of the given roles; returns the index of the clicked
    // button, or escapeIndex when the box was closed.
    struct Choice
    {
        QString text;
        int role = 0; // QMessageBox::ButtonRole
    };
    virtual int choose(QWidget *parent, const QString &title, const QString &text,
                       const QList<Choice> &buttons, int escapeIndex) = 0;

    virtual std::optional<int> getInt(QWidget *parent, const QString &title, const QString &label,
                                      int value, int minValue, int maxValue, int step) = 0;
    virtual std::optional<QString> getItem(QWidget *parent, const QString &title,
                                           const QString &label, const QStringList &items,
                                           int current, bool editable) = 0;
    virtual std::optional<QString> getText(QWidget *parent, const QString &title,
                                           const QString &label, const QString &text) = 0;
    // Two whole numbers in one box, both fields starting at `value` and limited to
    // minValue..maxValue; the two texts as typed, or nothing when cancelled.
    virtual std::optional<std::pair<QString, QString>>
    getNumberPair(QWidget *parent, const QString &title, const QString &firstLabel,
                  const QString &secondLabel, int value, int minValue, int maxValue) = 0;

    // An empty result means the user cancelled.
    virtual QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter) = 0;
    virtual QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter) = 0;

    // Pops a context menu up and returns the chosen action, or nullptr.
    virtual QAction *execMenu(QMenu &menu, const QPoint &globalPos) = 0;

    // The monster edit dialog for editCount monsters, pre-filled when a prefill is given; the
    // accepted values, or nothing when cancelled.
    virtual std::optional<MonsterEdits::MonsterEditValues>
    editMonsterAttributes(QWidget *parent, int editCount,
                          const std::optional<MonsterEdits::MonsterEditPrefill> &prefill) = 0;
};

// An edit's message box, if it has one, through the prompts.
void showNotice(Prompts &prompts, QWidget *parent, const EditNotice &notice);

// The real dialogs: QMessageBox, QInputDialog, QFileDialog and QMenu::exec.
class DialogPrompts : public Prompts
{
public:
    void information(QWidget *parent, const QString &title, const QString &text) override;
    void warning(QWidget *parent, const QString &title, const QString &text) override;
    void critical(QWidget *parent, const QString &title, const QString &text) override;
    bool question(QWidget *parent, const QString &title, const QString &text) override;
    int choose(QWidget *parent, const QString &title, const QString &text,
               const QList<Choice> &buttons, int escapeIndex) override;
    std::optional<int> getInt(QWidget *parent, const QString &title, const QString &label,
                              int value, int minValue, int maxValue, int step) override;
    std::optional<QString> getItem(QWidget *parent, const QString &title, const QString &label,
                                   const QStringList &items, int current, bool editable) override;
    std::optional<QString> getText(QWidget *parent, const QString &title, const QString &label,
                                   const QString &text) override;
    std::optional<std::pair<QString, QString>> getNumberPair(QWidget *parent, const QString &title,
                                                             const QString &firstLabel,
                                                             const QString &secondLabel, int value,
                                                             int minValue, int maxValue) override;
    QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override;
    QAction *execMenu(QMenu &menu, const QPoint &globalPos) override;
    std::optional<MonsterEdits::MonsterEditValues>
    editMonsterAttributes(QWidget *parent, int editCount,
                          const std::optional<MonsterEdits::MonsterEditPrefill> &prefill) override;
};
