// Takes the README picture: the main window at 1280 x 960 on the demo configuration with a
// monster and one of its boxes selected, written to docs/screenshot.png. Run it on a real
// display or under xvfb-run.
#include "data/NameResolver.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/Prompts.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QPixmap>
#include <QScreen>
#include <QTableView>
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

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(&quietDebug);
    QApplication app(argc, argv);
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

    QPixmap picture;
    if (QScreen *screen = window.windowHandle() ? window.windowHandle()->screen() : nullptr)
        picture = screen->grabWindow(window.winId());
    if (picture.isNull() || picture.size() != window.size() * window.devicePixelRatio())
        picture = window.grab();

    const QString target = QDir(QStringLiteral(LOOTWRIGHT_DOCS_DIR)).filePath("screenshot.png");
    QDir().mkpath(QStringLiteral(LOOTWRIGHT_DOCS_DIR));
    if (!picture.save(target)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(target));
        return 1;
    }
    std::printf("%s (%dx%d)\n", qPrintable(target), picture.width(), picture.height());
    return 0;
}
