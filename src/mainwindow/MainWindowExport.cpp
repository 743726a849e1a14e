#include "mainwindow/MainWindow.h"

#include "data/NameResolver.h"
#include "dialogs/Prompts.h"
#include "export/HtmlDropRateExport.h"
#include "models/MonsterBoxListModel.h"

#include <QCoreApplication>
#include <QMessageBox>

void MainWindow::onExportDropRateHtml()
{
    namespace Export = HtmlDropRateExport;
    if (!Export::hasDocuments(document->monsters(), document->boxes())) {
        prompts->information(this, Export::noticeTitle(), Export::nothingLoadedText());
        return;
    }

    const QList<Prompts::Choice> buttons{
        {QCoreApplication::translate("Lootwright", "显示爆率"), QMessageBox::AcceptRole},
        {QCoreApplication::translate("Lootwright", "不显示爆率"), QMessageBox::DestructiveRole},
        {QCoreApplication::translate("Lootwright", "取消"), QMessageBox::RejectRole},
    };
    const int cancelIndex = 2;
    const int choice =
        prompts->choose(this, QCoreApplication::translate("Lootwright", "导出爆率表"),
                        QCoreApplication::translate("Lootwright", "导出HTML是否显示爆率列？"),
                        buttons, cancelIndex);
    if (choice < 0 || choice == cancelIndex)
        return;
    const bool showRates = choice == 0;

    const QString chosen = prompts->saveFileName(
        this, QCoreApplication::translate("Lootwright", "导出爆率表到HTML"), QString(),
        QCoreApplication::translate("Lootwright", "HTML 文件 (*.html)"));
    if (chosen.isEmpty())
        return;
    const QString path = Export::withHtmlSuffix(chosen);

    const double multiplier = monsterBoxModel->dropMultiplier();
    const Export::Outcome outcome =
        Export::exportToFile(path, document->monsters(), document->boxes(),
                             NameResolver::instance(), multiplier, showRates, clock());
    if (outcome.kind == Export::Outcome::Critical)
        prompts->critical(this, outcome.title, outcome.text);
    else
        prompts->information(this, outcome.title, outcome.text);
}
