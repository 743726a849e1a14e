#include "mainwindow/MainWindow.h"

#include "data/NameResolver.h"
#include "dialogs/Prompts.h"
#include "export/HtmlDropRateExport.h"
#include "models/MonsterBoxListModel.h"

#include <QCoreApplication>
#include <QMessageBox>

std::optional<MainWindow::ExportTarget> MainWindow::askExportTarget(const QString &title,
                                                                    const QString &question,
                                                                    const QString &fileTitle,
                                                                    const QString &filter)
{
    namespace Export = HtmlDropRateExport;
    if (!Export::hasDocuments(document->monsters(), document->boxes())) {
        prompts->information(this, Export::noticeTitle(), Export::nothingLoadedText());
        return std::nullopt;
    }
    const QList<Prompts::Choice> buttons{
        {QCoreApplication::translate("Lootwright", "显示爆率"), QMessageBox::AcceptRole},
        {QCoreApplication::translate("Lootwright", "不显示爆率"), QMessageBox::DestructiveRole},
        {QCoreApplication::translate("Lootwright", "取消"), QMessageBox::RejectRole},
    };
    const int cancelIndex = 2;
    const int choice = prompts->choose(this, title, question, buttons, cancelIndex);
    if (choice < 0 || choice == cancelIndex)
        return std::nullopt;
    const QString chosen = prompts->saveFileName(this, fileTitle, QString(), filter);
    if (chosen.isEmpty())
        return std::nullopt;
    return ExportTarget{chosen, choice == 0};
}

void MainWindow::showExportOutcome(const HtmlDropRateExport::Outcome &outcome)
{
    if (outcome.kind == HtmlDropRateExport::Outcome::Critical)
        prompts->critical(this, outcome.title, outcome.text);
    else
        prompts->information(this, outcome.title, outcome.text);
}

void MainWindow::onExportDropRateHtml()
{
    const std::optional<ExportTarget> target =
        askExportTarget(QCoreApplication::translate("Lootwright", "导出爆率表"),
                        QCoreApplication::translate("Lootwright", "导出HTML是否显示爆率列？"),
                        QCoreApplication::translate("Lootwright", "导出爆率表到HTML"),
                        QCoreApplication::translate("Lootwright", "HTML 文件 (*.html)"));
    if (!target)
        return;
    showExportOutcome(HtmlDropRateExport::exportToFile(
        HtmlDropRateExport::withHtmlSuffix(target->fileName), document->monsters(),
        document->boxes(), NameResolver::instance(), monsterBoxModel->dropMultiplier(),
        target->showRates, clock()));
}
