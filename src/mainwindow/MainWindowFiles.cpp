#include "mainwindow/MainWindow.h"

#include "data/NameResolver.h"
#include "data/SaveBackup.h"
#include "mainwindow/Prompts.h"
#include "models/MonsterListModel.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

const QString fileFilter = QStringLiteral("配置文件 (*.txt);;所有文件 (*.*)");

QString savedText()
{
    return QStringLiteral("配置已保存\n\n请将以下文件上传到服务器相应目录并重启服务：\n"
                          "1. MonsterDropBoxs.txt → qirn/Server/Config/\n"
                          "2. DropBoxContent.txt → qirn/Server/Config/\n\n"
                          "重启服务器后配置才会生效！");
}

QString titleFor(const QString &path)
{
    // "[*]" shows the unsaved-changes mark.
    return QStringLiteral("Lootwright - %1[*]").arg(QFileInfo(path).fileName());
}

} // namespace

// Every load reads into a fresh document and replaces the live one only when it succeeded, so a
// failed load leaves the editor as it was; after a replacement the selection is resolved again
// by id.
void MainWindow::autoLoadConfig()
{
    const std::optional<int> previousBoxId =
        currentBox ? std::optional<int>(currentBox->boxId) : std::nullopt;

    const QDir dir(configDir);
    NameResolver::instance().loadAll(configDir);
    monsterListModel->loadMonsters();

    bool monstersReplaced = false;
    bool boxesReplaced = false;
    const QString monsterPath = dir.filePath(QStringLiteral("MonsterDropBoxs.txt"));
    if (QFileInfo::exists(monsterPath)) {
        MonsterDropData loaded;
        QString error;
        if (monsterParser.load(monsterPath, loaded, error)) {
            monsterDropData = std::move(loaded);
            currentMonsterFile = monsterPath;
            saveBackups.reset();
            monstersReplaced = true;
            setWindowTitle(titleFor(monsterPath));
        }
    }

    const QString boxPath = dir.filePath(QStringLiteral("DropBoxContent.txt"));
    if (QFileInfo::exists(boxPath)) {
        DropBoxContentData loaded;
        QString error;
        if (boxParser.load(boxPath, loaded, error)) {
            boxContentData = std::move(loaded);
            currentBoxFile = boxPath;
            saveBackups.reset();
            boxesReplaced = true;
        }
    }

    // A load that replaced nothing leaves the steps valid.
    if (monstersReplaced || boxesReplaced)
        clearUndoAfterLoad(monstersReplaced, boxesReplaced);
    // The monster selected before stays selected where it still exists.
    ViewRefresh refresh;
    refresh.monsterList = true;
    refresh.boxId = previousBoxId;
    refreshViews(refresh);
}

void MainWindow::onOpenMonsterConfig()
{
    if (!maybeSaveChanges())
        return;
    const QString path =
        prompts->openFileName(this, QStringLiteral("打开怪物掉落配置"), QString(), fileFilter);
    if (path.isEmpty())
        return;

    MonsterDropData loaded;
    QString error;
    if (!monsterParser.load(path, loaded, error)) {
        prompts->critical(this, QStringLiteral("加载失败"),
                          QStringLiteral("无法加载怪物配置：\n%1").arg(error));
        return;
    }

    monsterDropData = std::move(loaded);
    currentMonsterFile = path;
    saveBackups.reset();
    clearUndoAfterLoad(true, false);
    // A new monster file starts with nothing selected.
    currentMonsterId = -1;
    ViewRefresh refresh;
    refresh.monsterList = true;
    refreshViews(refresh);
    setWindowTitle(titleFor(path));
    prompts->information(
        this, QStringLiteral("加载成功"),
        QStringLiteral("成功加载 %1 个怪物掉落配置").arg(monsterDropData.records.size()));
}

void MainWindow::onOpenBoxConfig()
{
    if (!maybeSaveChanges())
        return;
    const QString path =
        prompts->openFileName(this, QStringLiteral("打开包裹内容配置"), QString(), fileFilter);
    if (path.isEmpty())
        return;

    DropBoxContentData loaded;
    QString error;
    if (!boxParser.load(path, loaded, error)) {
        prompts->critical(this, QStringLiteral("加载失败"),
                          QStringLiteral("无法加载包裹配置：\n%1").arg(error));
        return;
    }

    const std::optional<int> previousBoxId =
        currentBox ? std::optional<int>(currentBox->boxId) : std::nullopt;
    boxContentData = std::move(loaded);
    currentBoxFile = path;
    saveBackups.reset();
    clearUndoAfterLoad(false, true);
    // The monster stays selected and shows its boxes from the new file.
    ViewRefresh refresh;
    refresh.boxId = previousBoxId;
    refreshViews(refresh);
    prompts->information(this, QStringLiteral("加载成功"),
                         QStringLiteral("成功加载 %1 个包裹配置").arg(boxContentData.boxes.size()));
}

void MainWindow::onSave()
{
    saveDocuments();
}

bool MainWindow::saveDocuments()
{
    if (currentMonsterFile.isEmpty() && currentBoxFile.isEmpty()) {
        prompts->information(this, QStringLiteral("提示"),
                             QStringLiteral("没有已加载的配置文件，无需保存"));
        return false;
    }

    QString error;
    // Both files are backed up before either is overwritten: a backup that fails leaves both
    // files as they were.
    if (!currentMonsterFile.isEmpty() &&
        !saveBackups.beforeOverwrite(currentMonsterFile, clock(), error)) {
        prompts->critical(this, QStringLiteral("保存失败"),
                          QStringLiteral("无法保存怪物配置：\n%1").arg(error));
        return false;
    }
    if (!currentBoxFile.isEmpty() && !saveBackups.beforeOverwrite(currentBoxFile, clock(), error)) {
        prompts->critical(this, QStringLiteral("保存失败"),
                          QStringLiteral("无法保存包裹配置：\n%1").arg(error));
        return false;
    }
    if (!currentMonsterFile.isEmpty() &&
        !monsterParser.save(currentMonsterFile, monsterDropData, error)) {
        prompts->critical(this, QStringLiteral("保存失败"),
                          QStringLiteral("无法保存怪物配置：\n%1").arg(error));
        return false;
    }
    if (!currentBoxFile.isEmpty() && !boxParser.save(currentBoxFile, boxContentData, error)) {
        prompts->critical(this, QStringLiteral("保存失败"),
                          QStringLiteral("无法保存包裹配置：\n%1").arg(error));
        return false;
    }

    QStringList written;
    if (!currentMonsterFile.isEmpty())
        written << QStringLiteral("MonsterDropBoxs=%1").arg(currentMonsterFile);
    if (!currentBoxFile.isEmpty())
        written << QStringLiteral("DropBoxContent=%1").arg(currentBoxFile);
    appendOperationLog(QStringLiteral("保存配置：%1").arg(written.join(QStringLiteral("；"))));

    markSaved(!currentMonsterFile.isEmpty(), !currentBoxFile.isEmpty());
    prompts->information(this, QStringLiteral("保存成功"), savedText());
    return true;
}

void MainWindow::onSaveAs()
{
    const QString path = prompts->saveFileName(this, QStringLiteral("保存怪物掉落配置"),
                                               currentMonsterFile, fileFilter);
    if (path.isEmpty())
        return;

    QString error;
    // A file chosen to be replaced is kept like the loaded one.
    if (!saveBackups.beforeOverwrite(path, clock(), error) ||
        !monsterParser.save(path, monsterDropData, error)) {
        prompts->critical(this, QStringLiteral("保存失败"),
                          QStringLiteral("无法保存怪物配置：\n%1").arg(error));
        return;
    }
    currentMonsterFile = path;
    markSaved(true, false);
    appendOperationLog(QStringLiteral("另存怪物掉落配置：%1").arg(path));
    prompts->information(this, QStringLiteral("保存成功"), savedText());
}
