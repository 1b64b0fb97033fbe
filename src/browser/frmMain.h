#pragma once
// The main window: the section tree on the left, the grid (or a group's page
// of section buttons) on the right, a title strip above both, a splitter
// between them, the toolbar and the status bar. It opens the archive when
// activated without one, is the archive engine's notification sink, keeps
// its geometry from run to run, and ends the application when unloaded.

#include "app/ArchiveSession.h"
#include "browser/DeferredCommand.h"
#include "browser/GridCriteria.h"
#include "browser/MainLayout.h"
#include "browser/frmSearchText.h"
#include "component/ComponentInterfaces.h"

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QTableView>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>
#include <memory>

class ComplexFilter;
class DataObject;
class GridBinding;
class GridLayout;
class GridLayoutBinding;
class QTreeWidgetItem;
struct ViewRules;
class MainMenus;
class MainTrayIcon;
class SectionItemPage;
class SplitterHandle;
class QFrame;

class frmMain : public QMainWindow, public ArchiveSessionHost, public itfNotifyEvent
{
    Q_OBJECT

public:
    // Form_Load: controls, menus, the stored geometry, the tray icon.
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Rebuilds the section tree, keeping the selected position.
    void SetTreeViewNodes();
    // Loads the selected section's view (every caller passes an empty order).
    void RefreshDetailView(const QString& order = QString());
    // Panel 1 of the status bar.
    void SetStatusMsg(const QString& text);
    QString StatusMsg() const;
    // Drops the archive's references, the grid's data and the current view.
    void ReleaseDatabase();
    // Lays the window out for a splitter position in twips (0 collapses the
    // tree, -1 restores it).
    void LayoutMainWindow(int x);
    // Rebuilds the section item page of a selected group node.
    void ShowSectionItems();
    // The captions and check marks of the date selection.
    void UpdateSelectionCaptions();
    // The grid layout of the table shown, and the section's preset selections.
    GridLayout* CurrentGridLayout() const { return m_gridLayout.get(); }
    ComplexFilter* PresetSelections() const { return m_presets.get(); }
    QToolButton* DateButton() const { return m_cmdDateSel; }
    MainMenus& Menus() const { return *m_menus; }

    // Form_Activate: opens the archive when there is none (tree, currency
    // entry, view), and stores today's date as the sale date.
    void Activate();
    // The close command: saves state and geometry, removes the tray icon,
    // closes the other windows, releases the archive and closes. False when
    // another window refused to close.
    bool Unload();
    bool IsUnloaded() const { return m_unloaded; }

    // Controls, for the parts that work on them and for tests.
    QAction* Action(const QString& name) const;
    QMenu* Menu(const QString& name) const;
    QAction* ToolButton(const QString& key) const;
    QTreeWidget* TreeView() const { return m_tvTreeView; }
    QTableView* GridView() const { return m_dgView; }
    GridBinding& Grid() const { return *m_grid; }
    const SectionItemPage& SectionItems() const { return *m_sectionItems; }
    QToolButton* HideTreeButton() const { return m_cmdHideTree; }
    QLabel* Title(int index) const { return index == 0 ? m_lblTitle0 : m_lblTitle1; }
    QWidget* Splitter() const;
    std::shared_ptr<DataObject> CurrentDataObject() const { return m_currentDataObject; }
    DeferredCommand& tmFunc() { return m_tmFunc; }
    const MainLayoutState& LayoutState() const { return m_layoutState; }
    // The splitter's position (imgSplitter.Left) in twips.
    int SplitterLeft() const { return m_splitterLeft; }
    // The name of the menu last popped up (toolbar buttons, date button).
    const QString& LastPopUp() const { return m_lastPopUp; }
    // Whether the tray icon is there to bring the window back.
    bool HasTrayIcon() const;

    // Grid tools: the values of the search dialog, the column filters and
    // the complex filter of the view, the search in the grid and the total
    // of a column.
    SearchTextValues& SearchValues() { return m_searchValues; }
    const ColumnFilters& ColumnFilterState() const { return m_columnFilters; }
    ComplexFilter* ComplexFilterObject() const { return m_complexFilter.get(); }
    void ExecuteSearch(int element);
    QVariant CalculateTotalColumn(const QString& field);
    // The key of the selected section ("Clienti", "Lista Ricevute"), empty for none.
    QString SectionKey() const;

    // ArchiveSessionHost
    void ShowMessage(const QString& text) override;
    void CloseMessage() override;
    bool ShowOptions() override;
    itfNotifyEvent* NotifySink() override { return this; }

    // itfNotifyEvent
    void OnEvent(int p_nEventCode, const QString& p_strDetail) override;
    void OnInternalMessage(int p_nCode, const QString& p_strText) override;
    void OnQueryMessage(int p_nMessageType, const QString& p_strText, bool& p_blnCancel) override;
    void OnReportRequest(const QVariantList& p_varArguments) override;

Q_SIGNALS:
    // The options were left unconfirmed on first run: the process ends.
    void EndProcessRequested();
    // The window was unloaded: the application ends.
    void Unloaded();
    // Commands of later parts, emitted where the frame decides on them.
    void EuroConversionRequested();
    void EditRecordRequested();
    void SearchKeyTyped(int key, const QString& text);
    void SearchFieldRequested(int position);
    void ReportRequested(const QVariantList& arguments);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void ConnectCommands();
    void RestoreGeometry();
    void SaveGeometry();
    void SetupCurrencyConversion();
    void ToggleCurrencyConversion();
    void ToggleBar(const QString& entry, QWidget* bar);
    void HideOrShowTree();
    void ToolButtonClicked(QAction* button);
    void PopUpMenu(const QString& name);
    void SectionItemClicked(const QString& tag);
    void TreeNodeClicked();
    void RefreshView();
    void ChangePassword();
    void NewSale();
    void OpenOptions();
    void ShowHelpMissing();
    void ShowAbout();
    void ShowFromTray();
    // Maintenance: the euro conversion, the import, the archive's copies.
    void ConvertToEuro();
    void ImportData();
    void RestoreArchive();
    void BackupArchive();
    bool PreviewKey(QKeyEvent* key);
    // Runs a menu command as its key or toolbar button does: refused with a
    // beep when it does not apply now.
    void RunCommand(const QString& name);
    // Enter and the double click: the current record's editor, or a beep
    // while nothing edits records.
    void EditRecord();
    // Whether something is connected to one of this window's signals: a
    // command that is there to run.
    bool Receives(const QMetaMethod& signal) const;
    bool CloseOtherWindows();
    void StartSplitterDrag();
    void MoveSplitterBar(int pointerX);
    void EndSplitterDrag(int pointerX);
    void EnableViewCommands(bool enabled);
    void ShowNoView();
    void ResetViewTools();
    void LoadView(const QTreeWidgetItem& node, const QString& order);
    void ApplyPresetSelections(const QString& section, const QString& table, ViewRules& rules);
    void BindView(const std::shared_ptr<DataObject>& dataObject);
    void SaveGridLayout();
    void BuildPerFieldMenus();
    void RebuildSavedFilterMenu();
    void ConnectViewCommands();
    void SelectAllDates();
    void ChooseSelectionDate(bool byMonth);
    ComplexFilter& Presets(const QString& section, const QString& table);
    ComplexFilter* PresetsForSection();
    void SetPresetSelections();
    void CancelPresetSelections();
    void ShowAllGridFields();
    void SetGridFieldSequence();
    void ResetGridLayout();

    // Grid tools (frmMainGrid.cpp, frmMainRecords.cpp).
    void ConnectGridCommands();
    void ConnectRecordCommands();
    void ConnectFieldMenuElements();
    void ResetGridTools();
    void UpdateFilterItems();
    void FilterColumn(int element);
    void ApplyColumnFilters();
    void CancelAllFilters();
    void FilterOnCell();
    void CancelCellFilter();
    void FilterCell(bool onValue);
    ComplexFilter& CurrentComplexFilter();
    void OpenComplexFilter();
    void ApplyComplexFilter();
    void ChooseSavedFilter(int element);
    void OrderBy(const QString& field);
    void OpenCombinedOrder();
    void SearchField(int element, const std::optional<QString>& typed = std::nullopt);
    void SearchNext();
    void SearchCellValue();
    void TypeToSearch(int key, const QString& text);
    void ShowAggregate(const QString& field, int kind);
    bool CurrentCell(QString& field, QString& text, QVariant& value) const;
    void GridContextMenu(QWidget* source, const QPoint& position);
    void NewRecord();
    void EditCurrentRecord();
    void DeleteRecords();
    void ReprintReceipt();
    void RunReport(int mode);
    void ShowTicketPreview();
    void ExportData();
    void ExportToBrowser();
    void RebuildRelatedMenus(bool clearOnly);
    void ChooseRelated(const QString& array, QAction* element);
    void OpenRelated(int group, int number);

    // Twips of the client area (below the menu bar) and pixels.
    int ToPixelsX(int twips) const;
    int ToPixelsY(int twips) const;
    int ToTwipsX(int pixels) const;
    int ToTwipsY(int pixels) const;
    MainLayoutInput LayoutInput() const;
    QRect ClientToArea(const QRect& twips) const;
    int MenuBarBottom() const;

    std::unique_ptr<MainMenus> m_menus;
    QWidget* m_area = nullptr;           // the central widget
    QFrame* m_picTitles = nullptr;
    QLabel* m_lblTitle0 = nullptr;
    QLabel* m_lblTitle1 = nullptr;
    QToolButton* m_cmdHideTree = nullptr;
    QToolButton* m_cmdDateSel = nullptr;
    QToolButton* m_cmdGridSetting = nullptr;
    QTreeWidget* m_tvTreeView = nullptr;
    QTableView* m_dgView = nullptr;
    SplitterHandle* m_imgSplitter = nullptr;
    QFrame* m_picSplitter = nullptr;
    QLabel* m_statusPanel = nullptr;
    std::unique_ptr<GridBinding> m_grid;
    std::unique_ptr<SectionItemPage> m_sectionItems;
    std::unique_ptr<MainTrayIcon> m_tray;
    DeferredCommand m_tmFunc;

    std::shared_ptr<DataObject> m_currentDataObject;
    std::unique_ptr<ComplexFilter> m_presets;
    std::unique_ptr<ComplexFilter> m_complexFilter;
    ColumnFilters m_columnFilters;
    SearchTextValues m_searchValues;
    std::unique_ptr<GridLayout> m_gridLayout;
    std::unique_ptr<GridLayoutBinding> m_layoutBinding;
    QMetaObject::Connection m_refreshConnection;
    MainLayoutState m_layoutState;
    int m_splitterLeft = MainLayout::DefaultSplit;
    int m_barLeft = 0;
    bool m_dragging = false;
    bool m_activating = false;
    bool m_loadingView = false;
    bool m_unloading = false;
    bool m_unloaded = false;
    bool m_endingProcess = false;
    bool m_selectingNode = false;
    QString m_lastPopUp;
    QPointer<QWidget> m_options;
};
