#pragma once

#include "ScriptedPrompts.h"

#include "data/NameResolver.h"
#include "mainwindow/MainWindow.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QTableView>
#include <QTemporaryDir>
#include <memory>

// Shared set-up of main-window tests: a copy of a fixture configuration in a temporary
// directory, a window on it with scripted prompts, and ways to select rows.
namespace WindowTest {

inline QString fixturePath(const QString &relative)
{
    return QStringLiteral(LOOTWRIGHT_TEST_DATA "/window/") + relative;
}

// Copies every file of `from` into `to` (created when missing); the copies are writable.
inline bool copyDirectory(const QString &from, const QString &to)
{
    if (!QDir().mkpath(to))
        return false;
    const QDir source(from);
    for (const QString &name : source.entryList(QDir::Files)) {
        const QString target = QDir(to).filePath(name);
        QFile::remove(target);
        if (!QFile::copy(source.filePath(name), target))
            return false;
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    }
    return true;
}

struct Harness
{
    QTemporaryDir temp;
    QString configDir;
    ScriptedPrompts *prompts = nullptr; // owned by the window
    std::unique_ptr<MainWindow> window;

    // Builds a window on a copy of tests/data/window/<fixture>; an empty fixture gives a
    // configuration directory that does not exist.
    explicit Harness(const QString &fixture = QStringLiteral("config"))
    {
        NameResolver::instance().clear();
        configDir = temp.filePath(QStringLiteral("config"));
        if (!fixture.isEmpty())
            copyDirectory(fixturePath(fixture), configDir);
        auto scripted = std::make_unique<ScriptedPrompts>();
        prompts = scripted.get();
        window = std::make_unique<MainWindow>(std::move(scripted), configDir);
    }

    template <typename T> T *child(const QString &name) const
    {
        return window->findChild<T *>(name);
    }

    QTableView *view(const QString &name) const { return child<QTableView>(name); }

    // The proxy row showing this monster id, or an invalid index.
    QModelIndex monsterIndex(int monsterId) const
    {
        QAbstractItemModel *model = view(QStringLiteral("monsterListView"))->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, 0);
            if (index.data().toInt() == monsterId)
                return index;
        }
        return {};
    }

    bool selectMonster(int monsterId) const
    {
        const QModelIndex index = monsterIndex(monsterId);
        if (!index.isValid())
            return false;
        view(QStringLiteral("monsterListView"))
            ->selectionModel()
            ->setCurrentIndex(index,
                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        return true;
    }

    bool selectBoxRow(int row) const
    {
        QTableView *boxes = view(QStringLiteral("boxListView"));
        const QModelIndex index = boxes->model()->index(row, 0);
        if (!index.isValid())
            return false;
        boxes->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
        return true;
    }

    // Column `column` of every row of a view's model, as text.
    QStringList columnTexts(const QString &viewName, int column) const
    {
        QStringList texts;
        QAbstractItemModel *model = view(viewName)->model();
        for (int row = 0; row < model->rowCount(); ++row)
            texts << model->index(row, column).data().toString();
        return texts;
    }
};

} // namespace WindowTest
