#pragma once

#include "dialogs/Prompts.h"

#include <QAction>
#include <QList>
#include <QMenu>
#include <QString>
#include <QStringList>
#include <functional>
#include <iterator>
#include <optional>

// A Prompts double for window tests: answers come from queues filled by the test, and every
// call is recorded with its kind, title and text so tests can compare the exact wording.
// An empty queue gives the "cancel" answer: No, the escape button, no number, no text, no file,
// no menu entry.
class ScriptedPrompts : public Prompts
{
public:
    enum class Kind
    {
        Information,
        Warning,
        Critical,
        Question,
        Choose,
        GetInt,
        GetItem,
        GetText,
        GetNumberPair,
        OpenFileName,
        SaveFileName,
        ExecMenu,
        EditMonster
    };

    struct Call
    {
        Kind kind;
        QString title;     // title, or caption of a file dialog, or empty for a menu
        QString text;      // text, or label of an input, or start directory of a file dialog
        QStringList extra; // buttons, items, filter, or the menu's entries
    };

    struct MenuEntry
    {
        QString text; // "Sub > Entry" for an entry of a submenu
        bool enabled = true;
        bool separator = false;
        QAction *action = nullptr;
    };

    // Answers, taken from the front.
    QList<bool> questionAnswers;
    QList<int> chooseAnswers;
    QList<std::optional<int>> intAnswers;
    QList<std::optional<QString>> itemAnswers;
    QList<int> itemCurrentIndexes; // the current index of every item input shown, in order
    QList<std::optional<QString>> textAnswers;
    QList<std::optional<std::pair<QString, QString>>> numberPairAnswers;
    QStringList openFileAnswers;
    QStringList saveFileAnswers;
    QStringList menuAnswers; // the text of the entry to pick; empty dismisses the menu
    QList<std::optional<MonsterEdits::MonsterEditValues>> monsterEditAnswers;

    // What happened.
    QList<Call> calls;
    QList<QList<MenuEntry>> menus; // the entries of every menu shown, in order
    QStringList scriptErrors;      // menu answers that named no enabled entry

    // Runs for every call after it is recorded (e.g. to look at the window while a box is up).
    std::function<void(const Call &)> onCall;

    static QString kindName(Kind kind)
    {
        static const char *const names[] = {
            "information",  "warning",  "critical",   "question",      "choose",
            "getInt",       "getItem",  "getText",    "getNumberPair", "openFileName",
            "saveFileName", "execMenu", "editMonster"};
        static_assert(std::size(names) == std::size_t(Kind::EditMonster) + 1);
        return QString::fromLatin1(names[int(kind)]);
    }

    // "kind|title|text" of every call, handy for one QCOMPARE over a whole flow.
    QStringList transcript() const
    {
        QStringList lines;
        for (const Call &call : calls)
            lines << kindName(call.kind) + QLatin1Char('|') + call.title + QLatin1Char('|') +
                         call.text;
        return lines;
    }

    int count(Kind kind) const
    {
        int n = 0;
        for (const Call &call : calls)
            n += call.kind == kind ? 1 : 0;
        return n;
    }

    const Call *last() const { return calls.isEmpty() ? nullptr : &calls.constLast(); }

    void reset()
    {
        calls.clear();
        menus.clear();
        scriptErrors.clear();
    }

    // Prompts
    void information(QWidget *, const QString &title, const QString &text) override
    {
        record({Kind::Information, title, text, {}});
    }
    void warning(QWidget *, const QString &title, const QString &text) override
    {
        record({Kind::Warning, title, text, {}});
    }
    void critical(QWidget *, const QString &title, const QString &text) override
    {
        record({Kind::Critical, title, text, {}});
    }
    bool question(QWidget *, const QString &title, const QString &text) override
    {
        record({Kind::Question, title, text, {}});
        return questionAnswers.isEmpty() ? false : questionAnswers.takeFirst();
    }
    int choose(QWidget *, const QString &title, const QString &text, const QList<Choice> &buttons,
               int escapeIndex) override
    {
        QStringList texts;
        for (const Choice &choice : buttons)
            texts << choice.text;
        record({Kind::Choose, title, text, texts});
        return chooseAnswers.isEmpty() ? escapeIndex : chooseAnswers.takeFirst();
    }
    std::optional<int> getInt(QWidget *, const QString &title, const QString &label, int value,
                              int minValue, int maxValue, int step) override
    {
        record({Kind::GetInt,
                title,
                label,
                {QString::number(value), QString::number(minValue), QString::number(maxValue),
                 QString::number(step)}});
        return intAnswers.isEmpty() ? std::nullopt : intAnswers.takeFirst();
    }
    std::optional<QString> getItem(QWidget *, const QString &title, const QString &label,
                                   const QStringList &items, int current, bool editable) override
    {
        itemCurrentIndexes.append(current);
        Q_UNUSED(editable);
        record({Kind::GetItem, title, label, items});
        return itemAnswers.isEmpty() ? std::nullopt : itemAnswers.takeFirst();
    }
    std::optional<QString> getText(QWidget *, const QString &title, const QString &label,
                                   const QString &text) override
    {
        record({Kind::GetText, title, label, {text}});
        return textAnswers.isEmpty() ? std::nullopt : textAnswers.takeFirst();
    }
    // text: the first label; extra: the second label, the value, the limits.
    std::optional<std::pair<QString, QString>> getNumberPair(QWidget *, const QString &title,
                                                             const QString &firstLabel,
                                                             const QString &secondLabel, int value,
                                                             int minValue, int maxValue) override
    {
        record({Kind::GetNumberPair,
                title,
                firstLabel,
                {secondLabel, QString::number(value), QString::number(minValue),
                 QString::number(maxValue)}});
        return numberPairAnswers.isEmpty() ? std::nullopt : numberPairAnswers.takeFirst();
    }
    QString openFileName(QWidget *, const QString &caption, const QString &dir,
                         const QString &filter) override
    {
        record({Kind::OpenFileName, caption, dir, {filter}});
        return openFileAnswers.isEmpty() ? QString() : openFileAnswers.takeFirst();
    }
    QString saveFileName(QWidget *, const QString &caption, const QString &dir,
                         const QString &filter) override
    {
        record({Kind::SaveFileName, caption, dir, {filter}});
        return saveFileAnswers.isEmpty() ? QString() : saveFileAnswers.takeFirst();
    }
    QAction *execMenu(QMenu &menu, const QPoint &) override
    {
        QList<MenuEntry> entries;
        collectEntries(menu, QString(), entries);
        menus.append(entries);
        QStringList texts;
        for (const MenuEntry &entry : entries)
            texts << (entry.separator
                          ? QStringLiteral("---")
                          : entry.text + (entry.enabled ? QString() : QStringLiteral(" (off)")));
        record({Kind::ExecMenu, QString(), menu.title(), texts});

        const QString wanted = menuAnswers.isEmpty() ? QString() : menuAnswers.takeFirst();
        if (wanted.isEmpty())
            return nullptr;
        for (const MenuEntry &entry : entries) {
            if (!entry.separator && entry.text == wanted) {
                if (entry.enabled)
                    return entry.action;
                scriptErrors << QStringLiteral("menu entry is disabled: ") + wanted;
                return nullptr;
            }
        }
        scriptErrors << QStringLiteral("no menu entry: ") + wanted;
        return nullptr;
    }

    // Recorded with the edit count as text and, in single mode, the prefill as
    // {"hasDrop", "dropType", "monsterValue"}.
    std::optional<MonsterEdits::MonsterEditValues>
    editMonsterAttributes(QWidget *, int editCount,
                          const std::optional<MonsterEdits::MonsterEditPrefill> &prefill) override
    {
        QStringList shown;
        if (prefill)
            shown << QString::number(int(prefill->hasDrop)) << QString::number(prefill->dropType)
                  << QString::number(prefill->monsterValue);
        record({Kind::EditMonster, QString(), QString::number(editCount), shown});
        return monsterEditAnswers.isEmpty() ? std::nullopt : monsterEditAnswers.takeFirst();
    }

private:
    void record(const Call &call)
    {
        calls.append(call);
        if (onCall)
            onCall(call);
    }

    static void collectEntries(const QMenu &menu, const QString &prefix, QList<MenuEntry> &entries)
    {
        for (QAction *action : menu.actions()) {
            if (action->isSeparator()) {
                entries.append({QString(), false, true, action});
            } else if (QMenu *sub = action->menu()) {
                collectEntries(*sub, prefix + action->text() + QStringLiteral(" > "), entries);
            } else {
                entries.append({prefix + action->text(), action->isEnabled(), false, action});
            }
        }
    }
};
