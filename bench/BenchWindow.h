#pragma once

#include "dialogs/Prompts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMenu>

#include <functional>

// A window under measurement must never wait for a person: every question is declined.
class SilentPrompts : public Prompts
{
public:
    void information(QWidget *, const QString &, const QString &) override {}
    void warning(QWidget *, const QString &, const QString &) override {}
    void critical(QWidget *, const QString &, const QString &) override {}
    bool question(QWidget *, const QString &, const QString &) override { return false; }
    int choose(QWidget *, const QString &, const QString &, const QList<Choice> &,
               int escapeIndex) override
    {
        return escapeIndex;
    }
    std::optional<int> getInt(QWidget *, const QString &, const QString &, int, int, int,
                              int) override
    {
        return std::nullopt;
    }
    std::optional<QString> getItem(QWidget *, const QString &, const QString &, const QStringList &,
                                   int, bool) override
    {
        return std::nullopt;
    }
    std::optional<QString> getText(QWidget *, const QString &, const QString &,
                                   const QString &) override
    {
        return std::nullopt;
    }
    std::optional<std::pair<QString, QString>> getNumberPair(QWidget *, const QString &,
                                                             const QString &, const QString &, int,
                                                             int, int) override
    {
        return std::nullopt;
    }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString existingDirectory(QWidget *, const QString &, const QString &) override { return {}; }
    QAction *execMenu(QMenu &, const QPoint &) override { return nullptr; }
    std::optional<MonsterEdits::MonsterEditValues>
    editMonsterAttributes(QWidget *, int,
                          const std::optional<MonsterEdits::MonsterEditPrefill> &) override
    {
        return std::nullopt;
    }
};

// Sees the paint events of the whole application.
class PaintSeen : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        painted = painted || event->type() == QEvent::Paint;
        return false;
    }
};

// Runs events until `done` holds and a paint has happened, the paint included.
inline void runUntil(PaintSeen &seen, const std::function<bool()> &done)
{
    QElapsedTimer guard;
    guard.start();
    while (!(seen.painted && done()) && guard.elapsed() < 20000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    QApplication::processEvents();
}
