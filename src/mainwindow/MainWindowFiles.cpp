#include "mainwindow/MainWindow.h"

#include "dialogs/Prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

// Built when asked, so the text is translated.
QString fileFilter()
{
    return QCoreApplication::translate("Lootwright", "配置文件 (*.txt);;所有文件 (*.*)");
}

QString savedText()
{
    return QCoreApplication::translate(
        "Lootwright", "配置已保存\n\n请将以下文件上传到服务器相应目录并重启服务：\n"
                      "1. MonsterDropBoxs.txt → qirn/Server/Config/\n"
                      "2. DropBoxContent.txt → qirn/Server/Config/\n\n"
                      "重启服务器后配置才会生效！");
}

} // namespace

void MainWindow::autoLoadConfig()
{
    // No folder open: nothing to read (an empty path would name the working directory).
    if (configDir.isEmpty())
        return;
    ViewRefresh refresh;
    refresh.monsterList = true;
    refresh.boxId = currentBoxId();
    // The monster selected before stays selected where it still exists.
    plannedRefresh = refresh;
    document->loadDirectory(configDir);
    plannedRefresh.reset();
}

void MainWindow::onOpenMonsterConfig()
{
    if (!maybeSaveChanges())
        return;
    const QString path =
        prompts->openFileName(this, QCoreApplication::translate("Lootwright", "打开怪物掉落配置"),
                              QString(), fileFilter());
    if (path.isEmpty())
        return;

    // A new monster file starts with nothing selected.
    ViewRefresh refresh;
    refresh.monsterList = true;
    plannedRefresh = refresh;
    QString error;
    const int previousMonsterId = currentMonsterId;
    currentMonsterId = -1;
    const bool opened = document->openMonsterFile(path, error);
    plannedRefresh.reset();
    if (!opened) {
        currentMonsterId = previousMonsterId;
        prompts->critical(
            this, QCoreApplication::translate("Lootwright", "加载失败"),
            QCoreApplication::translate("Lootwright", "无法加载怪物配置：\n%1").arg(error));
        return;
    }
    prompts->information(this, QCoreApplication::translate("Lootwright", "加载成功"),
                         QCoreApplication::translate("Lootwright", "成功加载 %1 个怪物掉落配置")
                             .arg(document->monsters().records.size()));
}

void MainWindow::onOpenBoxConfig()
{
    if (!maybeSaveChanges())
        return;
    const QString path =
        prompts->openFileName(this, QCoreApplication::translate("Lootwright", "打开包裹内容配置"),
                              QString(), fileFilter());
    if (path.isEmpty())
        return;

    // The monster stays selected and shows its boxes from the new file.
    QString error;
    if (!document->openBoxFile(path, error)) {
        prompts->critical(
            this, QCoreApplication::translate("Lootwright", "加载失败"),
            QCoreApplication::translate("Lootwright", "无法加载包裹配置：\n%1").arg(error));
        return;
    }
    prompts->information(this, QCoreApplication::translate("Lootwright", "加载成功"),
                         QCoreApplication::translate("Lootwright", "成功加载 %1 个包裹配置")
                             .arg(document->boxes().boxes.size()));
}

void MainWindow::onSave()
{
    saveDocuments();
}

bool MainWindow::saveDocuments()
{
    ConfigDocument::SaveTargets targets = document->currentTargets();
    // A changed document that came from no file: the user says where it goes, or it is not
    // saved and the save says so.
    const auto askTarget = [this](QString &target, bool modified, const QString &title,
                                  const QString &fileName, const QString &refusal) {
        if (!target.isEmpty() || !modified)
            return true;
        target =
            prompts->saveFileName(this, title, QDir(configDir).filePath(fileName), fileFilter());
        if (!target.isEmpty())
            return true;
        prompts->critical(this, QCoreApplication::translate("Lootwright", "保存失败"), refusal);
        return false;
    };
    if (!askTarget(
            targets.monsterPath, document->monstersModified(),
            QCoreApplication::translate("Lootwright", "保存怪物掉落配置"),
            QStringLiteral("MonsterDropBoxs.txt"),
            QCoreApplication::translate("Lootwright", "怪物掉落配置已修改但没有文件，未保存。")) ||
        !askTarget(
            targets.boxPath, document->boxesModified(),
            QCoreApplication::translate("Lootwright", "保存包裹内容配置"),
            QStringLiteral("DropBoxContent.txt"),
            QCoreApplication::translate("Lootwright", "包裹内容配置已修改但没有文件，未保存。")))
        return false;
    if (targets.monsterPath.isEmpty() && targets.boxPath.isEmpty()) {
        prompts->information(
            this, QCoreApplication::translate("Lootwright", "提示"),
            QCoreApplication::translate("Lootwright", "没有已加载的配置文件，无需保存"));
        return false;
    }

    if (!confirmOverwriteChangedFiles(targets))
        return false;
    DropFilePair::SaveFailure failure;
    if (!document->save(targets, clock(), failure)) {
        prompts->critical(
            this, QCoreApplication::translate("Lootwright", "保存失败"),
            (failure.file == DropFilePair::File::Monsters
                 ? QCoreApplication::translate("Lootwright", "无法保存怪物配置：\n%1")
                 : QCoreApplication::translate("Lootwright", "无法保存包裹配置：\n%1"))
                .arg(failure.error));
        return false;
    }

    QStringList written;
    if (!targets.monsterPath.isEmpty())
        written << QStringLiteral("MonsterDropBoxs=%1").arg(targets.monsterPath);
    if (!targets.boxPath.isEmpty())
        written << QStringLiteral("DropBoxContent=%1").arg(targets.boxPath);
    appendOperationLog(QCoreApplication::translate("Lootwright", "保存配置：%1")
                           .arg(written.join(QCoreApplication::translate("Lootwright", "；"))));
    prompts->information(this, QCoreApplication::translate("Lootwright", "保存成功"), savedText());
    return true;
}

void MainWindow::onSaveAs()
{
    const QString path =
        prompts->saveFileName(this, QCoreApplication::translate("Lootwright", "保存怪物掉落配置"),
                              document->monsterFilePath(), fileFilter());
    if (path.isEmpty())
        return;

    if (!confirmOverwriteChangedFiles({path, QString()}))
        return;
    // A file chosen to be replaced is kept like the loaded one.
    DropFilePair::SaveFailure failure;
    if (!document->save({path, QString()}, clock(), failure)) {
        prompts->critical(
            this, QCoreApplication::translate("Lootwright", "保存失败"),
            QCoreApplication::translate("Lootwright", "无法保存怪物配置：\n%1").arg(failure.error));
        return;
    }
    appendOperationLog(QCoreApplication::translate("Lootwright", "另存怪物掉落配置：%1").arg(path));
    prompts->information(this, QCoreApplication::translate("Lootwright", "保存成功"), savedText());
}
