#pragma once

#include "data/DropConfig.h"
#include "document/ConfigDocument.h"
#include "edit/Favorites.h"
#include "edit/MonsterEdits.h"

#include <QDateTime>
#include <QMainWindow>
#include <QModelIndex>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class ConfigCheckDialog;
class DropChangesDialog;
class DropBoxManagerDialog;
class DropItemTableModel;
class ItemLibraryDialog;
class ItemSourcesDialog;
class DropSummaryModel;
class MonsterBoxListModel;
class MonsterFilterProxyModel;
class MonsterListModel;
class Prompts;
namespace HtmlDropRateExport {
struct Outcome;
}
class QCloseEvent;
class QFrame;
class QLabel;
class QPoint;
class QResizeEvent;
class QShowEvent;
class QTimer;
struct EditNotice;
struct EditResult;
struct MainWindowUi;

// The four-column editor window: monsters, their boxes, the box items with the operation log,
// and a summary of all drops of the selected monster.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Real dialogs and the "config" directory beside the executable.
    explicit MainWindow(QWidget *parent = nullptr);
    // Tests and benchmarks inject the prompts and the configuration directory.
    MainWindow(std::unique_ptr<Prompts> prompts, const QString &configDir,
               QWidget *parent = nullptr);
    ~MainWindow() override;

    // Reloads the name tables and both drop files from the configuration directory; the load
    // button runs it again at any time.
    void autoLoadConfig();

    // Operation log.
    void appendOperationLog(const QString &message);
    // The time source of the log's time stamps (tests fix it).
    void setClock(std::function<QDateTime()> clock);

    static int densityForSize(const QSize &size);

    // The window as the user left it (size, splitters, column widths), from the per-user
    // settings; from then on closing the window stores it there again.
    void restoreWindowState();

    // Read-only views of the window's state, for tests and tool windows.
    const QString &configDirectory() const { return configDir; }
    ConfigDocument *configDocument() const { return document; }
    const MonsterDropData &monsterDocument() const { return document->monsters(); }
    const DropBoxContentData &boxDocument() const { return document->boxes(); }
    const QString &monsterFilePath() const { return document->monsterFilePath(); }
    const QString &boxFilePath() const { return document->boxFilePath(); }
    const MonsterDropConfig *selectedConfig() const { return currentConfig; }
    int selectedMonsterId() const { return currentMonsterId; }
    const DropBoxConfig *selectedBox() const { return currentBox; }
    int currentDensityLevel() const { return densityLevel; }

    // The ids of the selected monster rows (column 0, selection order, ids of 1 or more).
    QList<int> selectedMonsterIds() const;
    // Adds item ids to the selected box; returns the number added (0: no box, or all present).
    int addItemsToCurrentBox(const QList<int> &itemIds);
    // Edits the monsters through the monster edit dialog.
    void editMonsters(const QList<int> &ids);

public Q_SLOTS:
    void onOpenMonsterConfig();
    void onOpenBoxConfig();
    void onSave();
    void onSaveAs();
    void onExportDropRateHtml();
    void onMonsterSelectionChanged();
    void onBoxSelectionChanged();
    void onDropMultiplierChanged(double value);
    void onMonsterSearchTextChanged(const QString &text);
    void onFilterDropOnlyToggled(bool checked);
    void onManageBoxes();
    void onItemLibrary();
    void onBoxDetailChanged();
    void onClearOperationLog();
    void onCopyOperationLog();

    // Monster operations, on the selected monster rows.
    void showMonsterContextMenu(const QPoint &position);
    void changeMonsterValue();
    void changeDropType();
    void clearMonsterBoxes();
    void setHasDrop();
    void setNoDrop();
    void onEditSelectedMonsters();
    void copyMonsterDrops();
    void pasteMonsterDrops();
    void unifyMonsterValue();
    void onApplyTargetDropRate();

    // Box and item operations, on the selected box.
    void showBoxContextMenu(const QPoint &position);
    void showItemContextMenu(const QPoint &position);
    void duplicateSelectedBox();
    void deleteSelectedBox();
    void deleteSelectedItems();
    void addSelectedItemsToFavorites();

    // Where an item drops, and the configuration check: tool windows over the documents.
    void showItemSources(int itemId);
    void onCheckConfig();
    // What the documents change against their files, before they are saved.
    void onViewChanges();
    void showSummaryContextMenu(const QPoint &position);

    // Configuration folders: choose one, reopen a recent one, forget the recent ones.
    void onOpenConfigFolder();
    void onOpenRecentFolder(const QString &folder);
    void onClearRecentFolders();
    // Odds: the CSV export, a seeded kill simulation of the selected monster, and the chance
    // against kills of the selected box.
    void onExportDropRateCsv();
    void onSimulateKills();
    void showSelectedBoxCurve();

public:
    // Selects the monster and, when it lists the box, the box, through refreshViews; a monster
    // hidden by the filter is shown again first. False, with a status bar note, when the
    // monster list does not have it.
    bool goToMonsterAndBox(int monsterId, std::optional<int> boxId);

protected:
    void resizeEvent(QResizeEvent *event) override;
    // Asks first when there are unsaved changes; stores the window's layout when it keeps one.
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Layout and wiring.
    void createModels();
    void createOddsActions();
    void connectSignals();
    void connectBoxDetailFields();
    void disconnectBoxDetailFields();
    void rebindMonsterSelection();
    void applyStyleSheet(int level, bool force);
    void applyDensityMetrics(int level);
    void applyTableStyle(int level);
    void updateSplitterStretch(const QSize &size);

    // Selection and detail panels.
    void updateMonsterDetail();
    void updateBoxDetail();
    void updateDropRateDisplay();
    QModelIndex proxyIndexForMonster(int monsterId) const;

public:
    // What refreshViews resolves again after the documents changed or were replaced.
    struct ViewRefresh
    {
        // Records were added, removed or replaced, or their drop slots changed: the monster
        // list is reset.
        bool monsterList = false;
        // Monster rows to select again; the current monster is selected whenever still listed.
        QList<int> monsterIds;
        // The box to make current again, by id; none leaves no box current.
        std::optional<int> boxId;
        // Keep the box current even when the monster does not list it (an edited box id, a copy
        // made for the target rate).
        bool keepUnlistedBox = false;
        // Refill the box form; off while the user is typing in it.
        bool fillBoxForm = true;
    };
    // The one way back to a consistent window after anything changed the documents: drops every
    // pointer into them, hands them to the models again and resolves the current monster and
    // box by id. A current monster that is no longer listed (gone, or filtered away) leaves
    // nothing selected.
    void refreshViews(const ViewRefresh &refresh);

private:
    // What both exports ask before writing: the documents are loaded, rates or not, the file.
    // Empty when something is missing or the user stops.
    struct ExportTarget
    {
        QString fileName;
        bool showRates = true;
    };
    std::optional<ExportTarget> askExportTarget(const QString &title, const QString &question,
                                                const QString &fileTitle, const QString &filter);
    void showExportOutcome(const HtmlDropRateExport::Outcome &outcome);
    // After an edit: shows its notice, appends its log lines.
    void showEditNotice(const EditNotice &notice);
    // Has-drop and no-drop: refuse without eligible monsters, ask, apply, refresh.
    void runEligibleMonsterEdit(MonsterEdits::Eligibility (*eligibilityOf)(const MonsterDropData &,
                                                                           const QList<int> &),
                                EditResult (*apply)(MonsterDropData &, const QList<int> &),
                                const QString &stepName);
    void appendOperationLogLines(const QStringList &lines);
    // An edit of the selected monsters as one step: the edited rows and the box stay selected,
    // then its log lines and notice.
    void runMonsterEdit(const QString &name, const QList<int> &ids,
                        const std::function<EditResult(MonsterDropData &)> &edit);
    // The current monster was hidden by the filter: the panels empty as for no selection.
    void dropFilteredMonster();
    // Makes the first box list row with this id current without the selection slot; false when
    // the list has none.
    bool selectBoxRow(int boxId);
    // After a change of the current box's values or items: the box stays current, the form
    // keeps what was typed.
    ViewRefresh keepingBox() const;
    std::optional<int> currentBoxId() const;

    std::unique_ptr<MainWindowUi> ui;
    std::unique_ptr<Prompts> prompts;
    QString configDir;
    std::function<QDateTime()> clock;

    MonsterListModel *monsterListModel = nullptr;
    MonsterFilterProxyModel *monsterProxyModel = nullptr;
    MonsterBoxListModel *monsterBoxModel = nullptr;
    DropItemTableModel *dropItemModel = nullptr;
    DropSummaryModel *summaryModel = nullptr;

    const MonsterDropConfig *currentConfig = nullptr;
    int currentMonsterId = -1;
    const DropBoxConfig *currentBox = nullptr;

    // Undo and redo actions, and the unsaved-changes mark.
    void createUndoActions();
    // 设置 → 语言: the stored interface language, used from the next start.
    void createLanguageMenu();
    void onLanguageChosen(const QString &language);
    // Every change of the documents, whoever made it: the views are resolved again by id.
    void onDocumentsAboutToChange();
    void onDocumentChanged(const DocumentUpdate &update);
    void onItemIdEditRequested(int boxId, int row, int itemId);
    // The window's own edits: `refresh` is how the views come back after the change (the change
    // may adjust it, e.g. to select a box it made).
    template <class Change>
    auto editDocuments(const QString &name, const ViewRefresh &refresh, Change &&change,
                       const QString &mergeKey = QString());
    // "未保存的修改": save, discard or cancel; true to go on.
    bool maybeSaveChanges();
    // onSave's work; true when every changed document was written.
    bool saveDocuments();

    ConfigDocument *document = nullptr;
    // The selection when the documents are about to change, and the refresh the window's own
    // edit asked for.
    ViewRefresh selectionBeforeChange;
    std::optional<ViewRefresh> plannedRefresh;

    // Reverse lookup and check windows, over the same document.
    void goToFinding(int monsterId, int boxId);
    QPointer<ItemSourcesDialog> itemSourcesDialog;
    QPointer<ConfigCheckDialog> configCheckDialog;
    QPointer<DropChangesDialog> changesDialog;
    void createChangesAction();
    // The box manager, at most one.
    QPointer<DropBoxManagerDialog> boxManagerDialog;

    // Reads another folder as start-up does, makes it the configuration directory and the
    // newest recent folder.
    void openConfigFolder(const QString &folder);
    void updateRecentMenu();
    void updateFolderLabel();
    void saveWindowState() const;
    void restoreSplitters();
    bool keepWindowState = false;
    bool splittersPending = false;

    // The favourites store shared with the item library window.
    FavoritesStore favoritesStore;
    QPointer<ItemLibraryDialog> itemLibraryDialog;

    // Files changed by other programs: reloaded with a note, or a bar above the views offering
    // to reload them; a save asks before replacing one.
    void connectDiskChanges();
    void onReloadedFromDisk(const QString &path);
    void onFileChangedOnDisk(DropFilePair::File file);
    void onReloadChangedFiles();
    void hideDiskChangeBar();
    // False when the user keeps a file another program changed.
    bool confirmOverwriteChangedFiles(const ConfigDocument::SaveTargets &targets);
    // A journal a crashed session left: restore or discard it (asked at start).
    void offerRecovery();
    QFrame *diskChangeBar = nullptr;
    QLabel *diskChangeLabel = nullptr;
    QList<DropFilePair::File> filesChangedOnDisk;

    // Set while refreshViews moves the selection itself.
    bool refreshing = false;
    bool styleApplied = false;
    int densityLevel = 1;
};

template <class Change>
auto MainWindow::editDocuments(const QString &name, const ViewRefresh &refresh, Change &&change,
                               const QString &mergeKey)
{
    plannedRefresh = refresh;
    // An edit that changes nothing announces nothing: the plan must not outlive it.
    struct ResetPlan
    {
        std::optional<ViewRefresh> &plan;
        ~ResetPlan() { plan.reset(); }
    } resetPlan{plannedRefresh};
    return document->edit(name, std::forward<Change>(change), mergeKey);
}
