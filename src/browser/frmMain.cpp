#include "browser/frmMain.h"

#include "app/AppInfo.h"
#include "app/AppSettings.h"
#include "app/ErrorReport.h"
#include "app/SaleDate.h"
#include "app/frmMessage.h"
#include "app/frmOptions.h"
#include "app/frmPassword.h"
#include "browser/BrowserIcons.h"
#include "browser/DateSelection.h"
#include "browser/FlagGuard.h"
#include "browser/FrameSizes.h"
#include "browser/KeyPreview.h"
#include "browser/MainMenus.h"
#include "browser/MainNotify.h"
#include "browser/MainTrayIcon.h"
#include "browser/SectionItemPage.h"
#include "browser/SectionTree.h"
#include "browser/SplitterHandle.h"
#include "component/ComplexFilter.h"
#include "component/CurrencyObject.h"
#include "component/DataObject.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/Exception.h"
#include "component/widgets/DialogService.h"
#include "component/widgets/ElidedCaptions.h"
#include "component/GridLayout.h"
#include "component/widgets/GridBinding.h"
#include "component/widgets/GridLayoutBinding.h"
#include "printing/frmTicketPrintSetting.h"
#include "sales/frmVendite.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QCursor>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>
#include <QMetaMethod>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>

namespace {

QToolButton* StripButton(QWidget* strip, const QString& name, const QString& tooltip)
{
    auto* button = new QToolButton(strip);
    button->setObjectName(name);
    button->setToolTip(tooltip);
    button->setAutoRaise(false);
    return button;
}

} // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(BrowserIcons::Application());
    m_menus = std::make_unique<MainMenus>(*this);
    BuildControls();
    m_grid = std::make_unique<GridBinding>(m_dgView);
    m_sectionItems = std::make_unique<SectionItemPage>(m_area, FrameSizes::SectionItem);
    m_tray = std::make_unique<MainTrayIcon>(m_menus->PopUp());
    ConnectCommands();

    RestoreGeometry();
    m_tray->IconStart(BrowserIcons::Application(), AppInfo::ProductName());
    setWindowTitle(AppInfo::ProductName());
    CurrentDateSelection() = DateSelection();
    m_lblTitle1->setProperty("Tag", m_lblTitle1->text());
    EnableViewCommands(false);

    // Sees every event: the keys of all this window's controls before they
    // do, and the central area's resizes and double clicks.
    qApp->installEventFilter(this);
}

frmMain::~frmMain()
{
    qApp->removeEventFilter(this);
    m_tray->IconStop();
}

void frmMain::BuildControls()
{
    m_area = new QWidget(this);
    m_area->setObjectName(QStringLiteral("picMain"));
    setCentralWidget(m_area);

    m_picTitles = new QFrame(m_area);
    m_picTitles->setObjectName(QStringLiteral("picTitles"));
    m_picTitles->setFrameShape(QFrame::StyledPanel);
    m_picTitles->setFrameShadow(QFrame::Raised);
    m_picTitles->setAutoFillBackground(true);

    m_lblTitle0 = new QLabel(QStringLiteral(" Sezione:"), m_picTitles);
    m_lblTitle0->setObjectName(QStringLiteral("lblTitle(0)"));
    m_lblTitle1 = new QLabel(QStringLiteral(" Dettagli:"), m_picTitles);
    m_lblTitle1->setObjectName(QStringLiteral("lblTitle(1)"));
    for (QLabel* title : {m_lblTitle0, m_lblTitle1}) {
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }

    m_cmdHideTree = StripButton(m_picTitles, QStringLiteral("cmdHideTree"), QStringLiteral("Nascondi / Visualizza Sezione"));
    // The caption names the state ("3" shown, "4" collapsed); the arrow draws it.
    m_cmdHideTree->setText(QStringLiteral("3"));
    m_cmdHideTree->setArrowType(Qt::LeftArrow);
    m_cmdHideTree->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_cmdDateSel = StripButton(m_picTitles, QStringLiteral("cmdDateSel"),
                               QStringLiteral("Imposta il periodo di selezione dei dati"));
    m_cmdDateSel->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // Where the strip has not the room for its caption, it is elided at its end.
    ElideCaptions(*m_cmdDateSel);
    m_cmdDateSel->hide();
    m_cmdGridSetting = StripButton(m_picTitles, QStringLiteral("cmdGridSetting"), QStringLiteral("Impostazioni Griglia"));
    m_cmdGridSetting->setIcon(BrowserIcons::Toolbar(QStringLiteral("GridSetting")));
    m_cmdGridSetting->hide();

    m_tvTreeView = new QTreeWidget(m_area);
    m_tvTreeView->setObjectName(QStringLiteral("tvTreeView"));
    m_tvTreeView->setHeaderHidden(true);
    m_tvTreeView->setColumnCount(1);
    m_tvTreeView->setSelectionMode(QAbstractItemView::SingleSelection);

    m_dgView = new QTableView(m_area);
    m_dgView->setObjectName(QStringLiteral("dgView"));
    m_dgView->hide();

    m_imgSplitter = new SplitterHandle(m_area);
    m_picSplitter = new QFrame(m_area);
    m_picSplitter->setObjectName(QStringLiteral("picSplitter"));
    m_picSplitter->setAutoFillBackground(true);
    QPalette bar = m_picSplitter->palette();
    bar.setColor(QPalette::Window, palette().color(QPalette::Dark));
    m_picSplitter->setPalette(bar);
    m_picSplitter->hide();

    statusBar()->setObjectName(QStringLiteral("sbStatusBar"));
    m_statusPanel = new QLabel(statusBar());
    m_statusPanel->setObjectName(QStringLiteral("sbStatusBarPanel1"));
    statusBar()->addWidget(m_statusPanel, 1);
}

void frmMain::ConnectCommands()
{
    const auto on = [this](const QString& name, auto slot) {
        connect(Action(name), &QAction::triggered, this, slot);
    };
    connect(m_menus->ToolBar(), &QToolBar::actionTriggered, this, &frmMain::ToolButtonClicked);
    connect(m_cmdDateSel, &QToolButton::clicked, this, [this] { PopUpMenu(QStringLiteral("mnuSelection")); });
    connect(m_cmdHideTree, &QToolButton::clicked, this, &frmMain::HideOrShowTree);
    on(QStringLiteral("mnuHideSection"), &frmMain::HideOrShowTree);
    on(QStringLiteral("mnuViewToolbar"), [this] { ToggleBar(QStringLiteral("mnuViewToolbar"), m_menus->ToolBar()); });
    on(QStringLiteral("mnuViewStatusBar"), [this] { ToggleBar(QStringLiteral("mnuViewStatusBar"), statusBar()); });
    on(QStringLiteral("mnuViewRefresh"), &frmMain::RefreshView);
    on(QStringLiteral("mnuViewCurrencyConversion"), &frmMain::ToggleCurrencyConversion);
    on(QStringLiteral("mnuFileClose"), &frmMain::Unload);
    on(QStringLiteral("mnuClose"), &frmMain::Unload);
    on(QStringLiteral("mnuActivate"), &frmMain::ShowFromTray);
    on(QStringLiteral("mnuChangePwd"), &frmMain::ChangePassword);
    on(QStringLiteral("mnuNewVendita"), &frmMain::NewSale);
    on(QStringLiteral("mnuToolsOptions"), &frmMain::OpenOptions);
    on(QStringLiteral("mnuTicketSetting"), [this] {
        frmTicketPrintSetting window(this);
        Dialogs().ExecModal(window);
    });
    on(QStringLiteral("mnuHelpContents"), &frmMain::ShowHelpMissing);
    on(QStringLiteral("mnuHelpSearchForHelpOn"), &frmMain::ShowHelpMissing);
    on(QStringLiteral("mnuHelpAbout"), &frmMain::ShowAbout);
    on(QStringLiteral("mnuImport"), &frmMain::ImportData);
    on(QStringLiteral("mnuRestore"), &frmMain::RestoreArchive);
    connect(this, &frmMain::EuroConversionRequested, this, &frmMain::ConvertToEuro);

    connect(m_tvTreeView, &QTreeWidget::currentItemChanged, this, &frmMain::TreeNodeClicked);
    connect(m_sectionItems.get(), &SectionItemPage::Clicked, this, &frmMain::SectionItemClicked);
    connect(m_tray.get(), &MainTrayIcon::DoubleClicked, this, &frmMain::ShowFromTray);
    connect(m_imgSplitter, &SplitterHandle::DragStarted, this, &frmMain::StartSplitterDrag);
    connect(m_imgSplitter, &SplitterHandle::DragMoved, this, &frmMain::MoveSplitterBar);
    connect(m_imgSplitter, &SplitterHandle::DragEnded, this, &frmMain::EndSplitterDrag);
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { Unload(); });
    connect(m_grid.get(), &GridBinding::ErrorOccurred, this, [](qint32 number, const QString& description, const QString& detail) {
        ShowErrorReport(QStringLiteral("Visualizzazione dati fallita: \r\r"), Exception(number, description, QString(), detail));
    }, Qt::QueuedConnection);
    ConnectViewCommands();
    ConnectGridCommands();
    ConnectRecordCommands();
}

QAction* frmMain::Action(const QString& name) const
{
    return m_menus->Action(name);
}

QMenu* frmMain::Menu(const QString& name) const
{
    return m_menus->Menu(name);
}

QAction* frmMain::ToolButton(const QString& key) const
{
    return m_menus->ToolButton(key);
}

QWidget* frmMain::Splitter() const
{
    return m_imgSplitter;
}

bool frmMain::HasTrayIcon() const
{
    return m_tray->IsShown();
}

// ---- Status and notifications ----

void frmMain::SetStatusMsg(const QString& text)
{
    m_statusPanel->setText(text);
}

QString frmMain::StatusMsg() const
{
    return m_statusPanel->text();
}

void frmMain::OnEvent(int p_nEventCode, const QString& p_strDetail)
{
    SetStatusMsg(EventStatusText(p_nEventCode, p_strDetail));
}

void frmMain::OnInternalMessage(int, const QString&) {}

void frmMain::OnQueryMessage(int p_nMessageType, const QString& p_strText, bool& p_blnCancel)
{
    p_blnCancel = AskQueryMessage(p_nMessageType, p_strText, p_blnCancel);
}

void frmMain::OnReportRequest(const QVariantList& p_varArguments)
{
    Q_EMIT ReportRequested(p_varArguments);
}

// ---- Opening and releasing the archive ----

bool frmMain::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        // After the activation has been delivered, so that the window is
        // painted before the archive opens (and before the options window
        // of a first run comes up over it).
        QMetaObject::invokeMethod(this, &frmMain::Activate, Qt::QueuedConnection);
    return QMainWindow::event(event);
}

void frmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Shown without the window system activating it (no window manager, or
    // focus kept elsewhere): the archive is opened all the same.
    if (!event->spontaneous())
        QMetaObject::invokeMethod(this, &frmMain::Activate, Qt::QueuedConnection);
}

void frmMain::Activate()
{
    SetSaleDate(QDate::currentDate());
    // The windows that opening the archive shows activate this window again
    // when they close; that activation has nothing more to do.
    if (m_activating || m_unloading || m_unloaded || m_endingProcess)
        return;
    FlagGuard activating(m_activating);
    try {
        auto& session = ArchiveSession::Instance();
        if (session.HasReferences())
            return;
        if (session.InitializeDatabase(*this) == ArchiveSession::Outcome::EndProcess) {
            // The run ends: the window closes for good, and no longer keeps
            // the application from quitting as its close box does.
            m_endingProcess = true;
            close();
            Q_EMIT EndProcessRequested();
            return;
        }
        SetTreeViewNodes();
        SetupCurrencyConversion();
        RefreshDetailView(QString());
    } catch (const std::exception&) {
        // An activation that fails ends without a message.
    }
}

void frmMain::ShowMessage(const QString& text)
{
    MessageWindow().ShowMsg(text, this);
}

void frmMain::CloseMessage()
{
    MessageWindow().Unload();
}

bool frmMain::ShowOptions()
{
    frmOptions options(this, [this] { ReleaseDatabase(); });
    Dialogs().ExecModal(options);
    return options.Confirmed();
}

void frmMain::ReleaseDatabase()
{
    ArchiveSession::Instance().ReleaseDatabase();
    m_layoutBinding.reset();
    disconnect(m_refreshConnection);
    m_grid->SetDataObject(nullptr);
    m_currentDataObject.reset();
    m_presets.reset();
    m_complexFilter.reset();
}

void frmMain::SetupCurrencyConversion()
{
    QAction* entry = Action(QStringLiteral("mnuViewCurrencyConversion"));
    const auto database = ArchiveSession::Instance().Database();
    const auto currency = database ? database->ConversionCurrency() : nullptr;
    if (!currency) {
        entry->setVisible(false);
        return;
    }
    entry->setText(QStringLiteral("&Importi in ") + currency->Name(-1));
    entry->setVisible(true);
    entry->setChecked(Settings().CurrencyConversion);
}

void frmMain::ToggleCurrencyConversion()
{
    QAction* entry = Action(QStringLiteral("mnuViewCurrencyConversion"));
    // The entry has toggled its own check mark already: it shows the new value.
    const bool shown = entry->isChecked();
    Settings().CurrencyConversion = shown;
    RefreshDetailView(QString());
    entry->setChecked(shown);
    try {
        SaveSettings();
    } catch (const Exception& error) {
        ShowErrorReport(QStringLiteral("Salvataggio della configurazione fallito: \r\r"), error);
    }
}

void frmMain::RefreshView()
{
    auto& session = ArchiveSession::Instance();
    if (!session.Engine())
        return;
    try {
        ScopedMessage message(QStringLiteral("Rilettura dati..."), this);
        session.Engine()->Refresh();
        RefreshDetailView(QString());
    } catch (const std::exception&) {
        // A refresh that fails ends without a message.
    }
}

// ---- Tree ----

void frmMain::SetTreeViewNodes()
{
    const QTreeWidgetItem* selected = SelectedNode(*m_tvTreeView);
    const int index = selected ? NodeIndex(*selected) : 1;
    FlagGuard selecting(m_selectingNode);
    const auto database = ArchiveSession::Instance().Database();
    FillSectionTree(*m_tvTreeView, [&database](const QString& table) {
        try {
            if (database && database->Tables().Contains(table))
                return database->Tables().Item(table).Caption();
        } catch (const std::exception&) {
        }
        return table;
    });
    if (QTreeWidgetItem* node = NodeAt(*m_tvTreeView, index)) {
        m_tvTreeView->setCurrentItem(node);
        m_tvTreeView->scrollToItem(node);
    }
}

void frmMain::TreeNodeClicked()
{
    if (!m_selectingNode)
        RefreshDetailView(QString());
}

void frmMain::SectionItemClicked(const QString& tag)
{
    bool numeric = false;
    const int index = tag.toInt(&numeric);
    QTreeWidgetItem* node = numeric ? NodeAt(*m_tvTreeView, index) : NodeWithKey(*m_tvTreeView, tag);
    if (node) {
        FlagGuard selecting(m_selectingNode);
        m_tvTreeView->setCurrentItem(node);
        m_tvTreeView->scrollToItem(node);
    }
    RefreshDetailView(QString());
}

void frmMain::ShowSectionItems()
{
    m_sectionItems->Clear();
    m_cmdHideTree->setEnabled(true);
    const QTreeWidgetItem* node = SelectedNode(*m_tvTreeView);
    if (!node || !IsGroupNode(*node))
        return;
    const MainLayoutInput in = LayoutInput();
    const int treeTop = in.toolbarHeight + in.titleHeight + in.splitterWidth;
    const QString group = node->text(0);
    const SectionItemGeometry geometry =
        LayoutSectionItems(m_splitterLeft, treeTop, in.innerWidth, in.innerHeight, FrameSizes::SectionItem,
                           int(PageSections(*node).size()), [this, &group](int width) {
                               return ToTwipsY(m_sectionItems->HeaderHeight(group, ToPixelsX(width)));
                           });
    m_sectionItems->Show(*node, geometry, [this](const QRect& twips) { return ClientToArea(twips); });
    m_cmdHideTree->setEnabled(false);
}

// ---- Commands ----

void frmMain::ToolButtonClicked(QAction* button)
{
    const QString key = button->data().toString();
    if (key == QLatin1String("New"))
        RunCommand(QStringLiteral("mnuFileNew"));
    else if (key == QLatin1String("Properties"))
        RunCommand(QStringLiteral("mnuFileProperties"));
    else if (key == QLatin1String("Delete"))
        RunCommand(QStringLiteral("mnuFileDelete"));
    else if (key == QLatin1String("Related"))
        PopUpMenu(QStringLiteral("mnuAssociation"));
    else if (key == QLatin1String("Save"))
        RunCommand(QStringLiteral("mnuSave"));
    else if (key == QLatin1String("Filter")) {
        button->setChecked(!m_currentDataObject || !m_currentDataObject->Filter().isEmpty());
        PopUpMenu(QStringLiteral("mnuFilter"));
    } else if (key == QLatin1String("Find")) {
        bool numeric = false;
        const int field = button->property("Tag").toString().toInt(&numeric);
        if (!numeric)
            PopUpMenu(QStringLiteral("mnuSearch"));
        else if (Receives(QMetaMethod::fromSignal(&frmMain::SearchFieldRequested)))
            Q_EMIT SearchFieldRequested(field);
        else
            Dialogs().Beep();
    } else if (key == QLatin1String("Print"))
        PopUpMenu(QStringLiteral("mnuPrintFunc"));
    else if (key == QLatin1String("Sale"))
        RunCommand(QStringLiteral("mnuNewVendita"));
    // "BarcodeReader" and "FiscalPrinter" run nothing here.
}

void frmMain::RunCommand(const QString& name)
{
    QAction* entry = Action(name);
    if (!entry->isEnabled()) {
        // The command does not apply now (no view).
        Dialogs().Beep();
        return;
    }
    // An entry with no command yet beeps by itself.
    entry->trigger();
}

bool frmMain::Receives(const QMetaMethod& signal) const
{
    return isSignalConnected(signal);
}

void frmMain::PopUpMenu(const QString& name)
{
    m_lastPopUp = name;
    QMenu* menu = Menu(name);
    if (!menu)
        return;
    // A menu with nothing to choose (the related items of a page without a
    // grid) is not shown empty: the command does not apply now.
    const QList<QAction*> entries = menu->actions();
    if (std::none_of(entries.begin(), entries.end(),
                     [](const QAction* entry) { return entry->isVisible() && !entry->isSeparator(); })) {
        Dialogs().Beep();
        return;
    }
    menu->popup(QCursor::pos());
}

void frmMain::ToggleBar(const QString& entry, QWidget* bar)
{
    bar->setVisible(Action(entry)->isChecked());
    LayoutMainWindow(m_splitterLeft);
}

void frmMain::HideOrShowTree()
{
    LayoutMainWindow(m_layoutState.treeShown ? 0 : -1);
    // The entry toggled itself; it shows what the layout did (nothing while
    // the window is minimised).
    Action(QStringLiteral("mnuHideSection"))->setChecked(m_layoutState.treeShown);
}

void frmMain::ChangePassword()
{
    frmPassword::CheckAccess(this, true, false);
}

void frmMain::NewSale()
{
    auto& session = ArchiveSession::Instance();
    if (!session.IsDatabaseReady()) {
        Dialogs().Beep();
        return;
    }
    frmVendite::ShowModal(this, session.Database(), session.Engine());
    // The receipts just confirmed show in the view, read again with its own
    // selection (a list is not asked for its period again).
    if (m_currentDataObject) {
        try {
            m_currentDataObject->Requery();
        } catch (const Exception& error) {
            ShowErrorReport(QStringLiteral("Visualizzazione dati fallita: \r\r"), error);
        }
    }
}

void frmMain::OpenOptions()
{
    if (m_options) {
        m_options->raise();
        m_options->activateWindow();
        return;
    }
    // Modeless and owned by this window, which it outlives only until closed.
    auto* options = new frmOptions(this, [this] { ReleaseDatabase(); });
    options->setAttribute(Qt::WA_DeleteOnClose);
    m_options = options;
    options->show();
}

void frmMain::ShowHelpMissing()
{
    Dialogs().MessageBox(QStringLiteral("Unable to display Help Contents. There is no Help associated with this project."),
                         MsgButtons::Ok, MsgIcon::Information, MsgDefault::Button1, QString());
}

void frmMain::ShowAbout()
{
    Dialogs().MessageBox(AppInfo::ProductName() + QStringLiteral("\r\rVersion ") + AppInfo::VersionText(),
                         MsgButtons::Ok, MsgIcon::Information, MsgDefault::Button1,
                         QStringLiteral("Informazioni su ") + AppInfo::ProductName());
}

void frmMain::ShowFromTray()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

// ---- Keys ----

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ContextMenu
        && (watched == m_dgView->viewport() || watched == m_dgView->horizontalHeader()->viewport()
            || watched == m_dgView->verticalHeader()->viewport())) {
        GridContextMenu(static_cast<QWidget*>(watched), static_cast<QContextMenuEvent*>(event)->pos());
        return true;
    }
    if (watched == m_area && event->type() == QEvent::Resize)
        LayoutMainWindow(m_splitterLeft);
    else if (watched == m_area && event->type() == QEvent::MouseButtonDblClick)
        // A double click on the window, outside tree and grid: the current record.
        EditRecord();
    else if (event->type() == QEvent::KeyPress) {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && PreviewKey(static_cast<QKeyEvent*>(event)))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool frmMain::PreviewKey(QKeyEvent* key)
{
    // Typing keys are taken only when a search on a field is there to
    // receive them; otherwise they reach the control that has the focus (the
    // tree finds its items by their first letters).
    bool searchField = false;
    ToolButton(QStringLiteral("Find"))->property("Tag").toString().toInt(&searchField);
    const bool searchTakesTyping = searchField && Receives(QMetaMethod::fromSignal(&frmMain::SearchKeyTyped));
    switch (::PreviewKey(key->key(), key->modifiers(), searchTakesTyping, key->text())) {
    case PreviewCommand::None:
        return false;
    case PreviewCommand::EuroConversion:
        if (!Receives(QMetaMethod::fromSignal(&frmMain::EuroConversionRequested)))
            Dialogs().Beep();
        else if (Dialogs().MessageBox(EuroConversionQuestion(), MsgButtons::YesNo, MsgIcon::Exclamation,
                                      MsgDefault::Button2, QString())
                 == MsgResult::Yes)
            Q_EMIT EuroConversionRequested();
        return true;
    case PreviewCommand::NewRecord:
        RunCommand(QStringLiteral("mnuFileNew"));
        return true;
    case PreviewCommand::DeleteRecord:
        RunCommand(QStringLiteral("mnuFileDelete"));
        return true;
    case PreviewCommand::EditRecord:
        EditRecord();
        return true;
    case PreviewCommand::TypeToSearch:
        Q_EMIT SearchKeyTyped(key->key(), key->text());
        return true;
    }
    return false;
}

void frmMain::EditRecord()
{
    if (Receives(QMetaMethod::fromSignal(&frmMain::EditRecordRequested)))
        Q_EMIT EditRecordRequested();
    else
        Dialogs().Beep();
}

// ---- Closing ----

void frmMain::closeEvent(QCloseEvent* event)
{
    if (m_unloaded || m_endingProcess) {
        event->accept();
        return;
    }
    // The close box keeps the application running: hidden in the
    // notification area, or minimised where there is none, so that the
    // window is never out of reach.
    event->ignore();
    if (HasTrayIcon())
        hide();
    else
        showMinimized();
}

bool frmMain::CloseOtherWindows()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        QWidget* window = *it;
        if (window == this || !window->isVisible() || qobject_cast<frmMessage*>(window)
            || window->windowType() == Qt::Popup || window->windowType() == Qt::ToolTip)
            continue;
        if (!window->close()) {
            Dialogs().MessageBox(QStringLiteral("Impossibile chiudere l'applicazione...\r\r")
                                     + QStringLiteral("La finestra \"%1\" non si puo' chiudere.").arg(window->windowTitle()),
                                 MsgButtons::Ok, MsgIcon::Exclamation, MsgDefault::Button1, QString());
            return false;
        }
    }
    return true;
}

bool frmMain::Unload()
{
    if (m_unloading || m_unloaded)
        return false;
    if (!CloseOtherWindows())
        return false;
    {
        FlagGuard unloading(m_unloading);
        ScopedMessage message(QStringLiteral("Chiusura di ") + AppInfo::ProductName() + QStringLiteral(" ..."), this);
        SaveGridLayout();
        try {
            SaveGeometry();
        } catch (const std::exception&) {
            // A failing step of the close sequence is skipped.
        }
        m_tray->IconStop();
        CloseOtherWindows();
        BackupArchive();
        ReleaseDatabase();
    }
    m_unloaded = true;
    close();
    Q_EMIT Unloaded();
    return true;
}
