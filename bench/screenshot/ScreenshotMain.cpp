// Takes the README pictures: the main window at 1280 x 960 on the demo configuration with a
// monster and one of its boxes selected, written to docs/screenshot.png, and the item sources
// window for the most widely dropped item of that monster, docs/item_sources.png, the box
// manager on the selected box, docs/box_manager.png, and the item library window with that
// monster's items as favourites, docs/item_library.png, and the kill simulation of that monster
// with a fixed seed, docs/kill_simulation.png, and after two edits the changes window on its
// rates tab, docs/changes.png. Run it on a real display or under xvfb-run.
#include "data/NameResolver.h"
#include "dialogs/DropBoxManagerDialog.h"
#include "dialogs/DropChangesDialog.h"
#include "dialogs/ItemLibraryDialog.h"
#include "dialogs/ItemSourcesDialog.h"
#include "dialogs/KillSimulationDialog.h"
#include "dialogs/Prompts.h"
#include "edit/Favorites.h"
#include "edit/MonsterEdits.h"
#include "mainwindow/MainWindow.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QWindow>
#include <cstdio>
#include <memory>

namespace {

void settle(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void quietDebug(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

bool savePicture(QWidget &widget, const char *name)
{
    QPixmap picture;
    if (QScreen *screen = widget.windowHandle() ? widget.windowHandle()->screen() : nullptr)
        picture = screen->grabWindow(widget.winId());
    if (picture.isNull() || picture.size() != widget.size() * widget.devicePixelRatio())
        picture = widget.grab();

    const QString target =
        QDir(QStringLiteral(LOOTWRIGHT_DOCS_DIR)).filePath(QString::fromLatin1(name));
    QDir().mkpath(QStringLiteral(LOOTWRIGHT_DOCS_DIR));
    if (!picture.save(target)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(target));
        return false;
    }
    std::printf("%s (%dx%d)\n", qPrintable(target), picture.width(), picture.height());
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(&quietDebug);
    QApplication app(argc, argv);
    // The favourites shown are the picture's own, not the user's.
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    // The recovery journal of the edits below goes there too.
    qputenv("XDG_DATA_HOME", settingsDir.path().toUtf8());
    MainWindow window(std::make_unique<DialogPrompts>(), QStringLiteral(LOOTWRIGHT_DEMO_CONFIG));
    window.resize(1280, 960);
    window.show();
    settle(500);

    // The first monster with at least three boxes, and its second box.
    auto *monsters = window.findChild<QTableView *>(QStringLiteral("monsterListView"));
    auto *boxes = window.findChild<QTableView *>(QStringLiteral("boxListView"));
    QAbstractItemModel *monsterModel = monsters->model();
    for (int row = 0; row < monsterModel->rowCount(); ++row) {
        monsters->selectionModel()->setCurrentIndex(monsterModel->index(row, 0),
                                                    QItemSelectionModel::ClearAndSelect |
                                                        QItemSelectionModel::Rows);
        if (boxes->model()->rowCount() >= 3)
            break;
    }
    boxes->selectionModel()->setCurrentIndex(boxes->model()->index(1, 0),
                                             QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    settle(800);

    if (!savePicture(window, "screenshot.png"))
        return 1;

    // Of the items the monster drops, the one with the most sources.
    QAbstractItemModel *summary =
        window.findChild<QTableView *>(QStringLiteral("summaryView"))->model();
    int itemId = -1;
    qsizetype most = -1;
    for (int row = 0; row < summary->rowCount(); ++row) {
        const int id = summary->index(row, 1).data().toInt();
        const qsizetype count =
            id >= 1 ? window.configDocument()->itemSourceIndex().sources(id).size() : -1;
        if (count > most) {
            most = count;
            itemId = id;
        }
    }
    window.showItemSources(itemId);
    auto *sources = window.findChild<ItemSourcesDialog *>();
    if (!sources)
        return 1;
    sources->resize(1280, 760);
    settle(800);
    if (!savePicture(*sources, "item_sources.png"))
        return 1;
    sources->close();

    // The box manager on the box selected in the main window, its library loaded.
    const int boxId = window.selectedBox() ? window.selectedBox()->boxId : -1;
    window.onManageBoxes();
    auto *manager = window.findChild<DropBoxManagerDialog *>();
    if (!manager)
        return 1;
    settle(300);
    while (manager->isItemLibraryLoading())
        settle(50);
    auto *boxTable = manager->findChild<QTableWidget *>(QStringLiteral("boxTable"));
    const QList<QTableWidgetItem *> found =
        boxTable->findItems(QString::number(boxId), Qt::MatchExactly);
    for (const QTableWidgetItem *cell : found) {
        if (cell->column() == 0) {
            boxTable->selectRow(cell->row());
            boxTable->scrollToItem(cell);
            break;
        }
    }
    settle(800);
    if (!savePicture(*manager, "box_manager.png"))
        return 1;
    manager->close();

    QList<int> favorites;
    for (int row = 0; row < summary->rowCount() && favorites.size() < 8; ++row) {
        const int id = summary->index(row, 1).data().toInt();
        if (id >= 1 && !favorites.contains(id))
            favorites << id;
    }
    FavoritesStore().write(favorites);
    window.onItemLibrary();
    auto *library = window.findChild<ItemLibraryDialog *>();
    if (!library)
        return 1;
    library->resize(900, 560);
    library->findChild<QComboBox *>(QStringLiteral("categoryCombo"))
        ->setCurrentText(QStringLiteral("装备"));
    settle(800);
    if (!savePicture(*library, "item_library.png"))
        return 1;
    library->close();

    window.onSimulateKills();
    auto *simulation = window.findChild<KillSimulationDialog *>();
    if (!simulation)
        return 1;
    simulation->resize(1080, 760);
    simulation->seedField()->setText(QStringLiteral("20261206"));
    simulation->itemField()->setCurrentIndex(simulation->itemField()->count() - 1);
    simulation->runSimulation();
    settle(800);
    if (!savePicture(*simulation, "kill_simulation.png"))
        return 1;
    simulation->close();

    // Two edits a designer might make before uploading: the selected monster's value raised by
    // a quarter, and the selected box's weight halved.
    const int monsterId = window.selectedMonsterId();
    window.configDocument()->edit(
        QStringLiteral("修改怪物价值"), [&](MonsterDropData &monsters, DropBoxContentData &) {
            MonsterDropConfig *record = MonsterEdits::findRecord(monsters, monsterId);
            MonsterEdits::changeMonsterValue(monsters, {monsterId}, record->mValue * 5 / 4);
        });
    window.configDocument()->edit(QStringLiteral("修改包裹"),
                                  [&](MonsterDropData &, DropBoxContentData &data) {
                                      for (DropBoxConfig &box : data.boxes) {
                                          if (box.boxId == boxId) {
                                              box.boxValue /= 2;
                                              break;
                                          }
                                      }
                                  });
    window.onViewChanges();
    auto *changes = window.findChild<DropChangesDialog *>();
    if (!changes)
        return 1;
    changes->resize(1000, 560);
    changes->tabs()->setCurrentIndex(1);
    settle(800);
    return savePicture(*changes, "changes.png") ? 0 : 1;
}
