#include "browser/MainMenus.h"

#include "browser/BrowserIcons.h"
#include "component/widgets/DialogService.h"

#include <QAction>
#include <QEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace {

// A menu widget takes its enabled state from the window, and a menu passes
// that state on to its own entry: disabling the window and enabling it again
// (the message window does so over every long operation) would enable the
// entries of menus that the program had disabled, with no view to act on.
// The entries' states belong to the program alone, so the menus do not hear
// of their inherited changes.
class KeepEntryState : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::EnabledChange; }
};

// A menu entry that knows whether a command is connected to it, besides the
// beep that MainMenus connects first and the menus it is on, each of which
// connects itself to pass the entry's use on as its own signal.
class CommandAction : public QAction
{
public:
    using QAction::QAction;
    bool Connected() const
    {
        int own = 1;
        for (QObject* object : associatedObjects())
            if (qobject_cast<QMenu*>(object))
                ++own;
        return receivers(SIGNAL(triggered(bool))) > own || receivers(SIGNAL(toggled(bool))) > 0;
    }
};

// A menu that knows whether its entries are handled together, through its
// own signal (as for entries made per field).
class CommandMenu : public QMenu
{
public:
    using QMenu::QMenu;
    bool HandlesEntries() const { return receivers(SIGNAL(triggered(QAction*))) > 0; }
};

} // namespace

const QList<ToolButtonSpec>& ToolButtonSpecs()
{
    static const QList<ToolButtonSpec> specs = {
        {QStringLiteral("New"), QStringLiteral("Nuovo"), QStringLiteral("Nuovo")},
        {QStringLiteral("Properties"), QStringLiteral("Vis./Mod."), QStringLiteral("Modifica")},
        {QStringLiteral("Delete"), QStringLiteral("Elimina"), QStringLiteral("Elimina")},
        {QStringLiteral("Related"), QStringLiteral("Associati"), QStringLiteral("Dati associati all'elemento selezionto")},
        {QStringLiteral("Save"), QStringLiteral("Salva/Esporta"), QStringLiteral("Salva / Esporta dati")},
        {QStringLiteral("Filter"), QStringLiteral("Filtra"), QStringLiteral("Filtra per selezionare una parte di dati")},
        {QStringLiteral("Find"), QStringLiteral("Cerca"), QStringLiteral("Cerca (F3 per successivo)")},
        {QStringLiteral("Print"), QStringLiteral("Stampa"), QStringLiteral("Stampa")},
        {QStringLiteral("BarcodeReader"), QStringLiteral("Barcode"), QStringLiteral("Attiva / Disattiva il lettore codici a barre")},
        {QStringLiteral("FiscalPrinter"), QStringLiteral("Cassa"), QStringLiteral("Attiva / Disattiva il registratore di cassa")},
        {QStringLiteral("Sale"), QStringLiteral("Vendite"), QStringLiteral("Nuova Vendita / Fattura")},
    };
    return specs;
}

MainMenus::MainMenus(QMainWindow& window) : m_keepEntryState(new KeepEntryState(&window))
{
    QMenuBar* bar = window.menuBar();
    BuildFileMenu(bar);
    BuildViewMenu(bar);
    BuildToolsAndHelp(bar);
    BuildPopUp(window);
    BuildToolBar(window);
}

QAction* MainMenus::Action(const QString& name) const
{
    return m_actions.value(name, nullptr);
}

QMenu* MainMenus::Menu(const QString& name) const
{
    return m_menus.value(name, nullptr);
}

QAction* MainMenus::ToolButton(const QString& key) const
{
    return m_buttons.value(key, nullptr);
}

QMenu* MainMenus::AddMenu(QMenuBar* bar, QMenu* parent, const QString& name, const QString& caption)
{
    QMenu* menu = new CommandMenu(caption, bar ? static_cast<QWidget*>(bar) : parent);
    if (bar)
        bar->addMenu(menu);
    else
        parent->addMenu(menu);
    menu->setObjectName(name);
    menu->installEventFilter(m_keepEntryState);
    menu->menuAction()->setObjectName(name);
    m_menus.insert(name, menu);
    m_actions.insert(name, menu->menuAction());
    m_names.append(name);
    return menu;
}

bool MainMenus::HasCommand(const QAction* entry)
{
    if (const auto* command = dynamic_cast<const CommandAction*>(entry); command && command->Connected())
        return true;
    // The menus it is on, and the menus those are on, up to the menu bar.
    QList<const QAction*> pending{entry};
    while (!pending.isEmpty()) {
        const QAction* action = pending.takeFirst();
        for (QObject* object : action->associatedObjects()) {
            const auto* menu = dynamic_cast<const CommandMenu*>(object);
            if (!menu)
                continue;
            if (menu->HandlesEntries())
                return true;
            pending.append(menu->menuAction());
        }
    }
    return false;
}

QAction* MainMenus::NewEntry(const QString& caption, QObject* parent)
{
    auto* action = new CommandAction(caption, parent);
    // First of its connections: an entry that runs nothing yet is refused
    // with a beep, as a command that does not apply is.
    QObject::connect(action, &QAction::triggered, action, [action] {
        if (!HasCommand(action))
            Dialogs().Beep();
    });
    return action;
}

QAction* MainMenus::AddFindItem(const QString& caption, const QString& tag)
{
    QAction* entry = NewEntry(caption, m_findItems);
    entry->setData(tag);
    m_findItems->addAction(entry);
    return entry;
}

QAction* MainMenus::AddItem(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& shortcut)
{
    QAction* action = NewEntry(caption, menu);
    menu->addAction(action);
    action->setObjectName(name);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    m_actions.insert(name, action);
    m_names.append(name);
    return action;
}

// Element 0 of a menu array: a disabled entry that the view loading
// completes with one element per field.
QAction* MainMenus::AddTemplate(QMenu* menu, const QString& name, const QString& caption)
{
    QAction* action = AddItem(menu, name + QStringLiteral("(0)"), caption);
    action->setEnabled(false);
    return action;
}

QAction* MainMenus::AddArrayElement(const QString& array, const QString& caption, const QString& tag)
{
    QAction* first = Action(array + QStringLiteral("(0)"));
    auto* menu = first ? qobject_cast<QMenu*>(first->parent()) : nullptr;
    if (!menu)
        return nullptr;
    const QList<QAction*> elements = ArrayElements(array);
    const QString name = QStringLiteral("%1(%2)").arg(array).arg(elements.size() + 1);
    QAction* before = nullptr;
    const QList<QAction*> all = menu->actions();
    const int last = int(all.indexOf(elements.isEmpty() ? first : elements.last()));
    if (last + 1 < all.size())
        before = all[last + 1];
    QAction* action = NewEntry(caption, menu);
    action->setObjectName(name);
    action->setData(tag);
    menu->insertAction(before, action);
    m_actions.insert(name, action);
    return action;
}

void MainMenus::ClearArray(const QString& array)
{
    QList<QAction*> elements = ArrayElements(array);
    while (!elements.isEmpty()) {
        QAction* action = elements.takeLast();
        m_actions.remove(action->objectName());
        delete action;
    }
}

QList<QAction*> MainMenus::ArrayElements(const QString& array) const
{
    QList<QAction*> elements;
    for (int k = 1;; ++k) {
        QAction* action = m_actions.value(QStringLiteral("%1(%2)").arg(array).arg(k));
        if (!action)
            return elements;
        elements.append(action);
    }
}

void MainMenus::BuildFileMenu(QMenuBar* bar)
{
    QMenu* file = AddMenu(bar, nullptr, QStringLiteral("mnuFile"), QStringLiteral("&Dati"));

    QMenu* search = AddMenu(nullptr, file, QStringLiteral("mnuSearch"), QStringLiteral("&Cerca"));
    AddItem(search, QStringLiteral("mnuSearchNext"), QStringLiteral("Cerca &successivo"), QKeySequence(Qt::Key_F3));
    search->addSeparator();
    AddTemplate(search, QStringLiteral("mnuSearchItems"), QStringLiteral("Cerca in..."));

    QMenu* filter = AddMenu(nullptr, file, QStringLiteral("mnuFilter"), QStringLiteral("&Filtra"));
    AddItem(filter, QStringLiteral("mnuFilterComplex"), QStringLiteral("Imposta &filtro complesso..."),
            QKeySequence(Qt::CTRL | Qt::Key_F3))
        ->setCheckable(true);
    AddItem(filter, QStringLiteral("mnuFilterCancel"), QStringLiteral("&Annulla filtro"));
    filter->addSeparator();
    QMenu* filterShort = AddMenu(nullptr, filter, QStringLiteral("mnuFilterShort"), QStringLiteral("Filtra colonna"));
    AddTemplate(filterShort, QStringLiteral("mnuFilterItems"), QStringLiteral("Filtra per..."));
    filter->addSeparator();
    AddTemplate(filter, QStringLiteral("mnuFilterComplexItems"), QStringLiteral("Filtra con..."));

    QMenu* order = AddMenu(nullptr, file, QStringLiteral("mnuOrder"), QStringLiteral("&Ordina"));
    AddItem(order, QStringLiteral("mnuOrderComplex"), QStringLiteral("&Ordinamento combinato..."));
    AddItem(order, QStringLiteral("mnuOrderCancel"), QStringLiteral("&Annulla ordinamento"));
    order->addSeparator();
    QMenu* orderSingle = AddMenu(nullptr, order, QStringLiteral("mnuOrderSingle"), QStringLiteral("Ordina colonna"));
    AddTemplate(orderSingle, QStringLiteral("mnuOrderItems"), QStringLiteral("Ordina per..."));

    QMenu* fieldFuncs = AddMenu(nullptr, file, QStringLiteral("mnuFieldFuncs"),
                                QStringLiteral("Funzioni su campo corrente   (Click destro)"));
    AddItem(fieldFuncs, QStringLiteral("mnuFieldFilter"), QStringLiteral("&Filtra colonna con stesso valore..."));
    AddItem(fieldFuncs, QStringLiteral("mnuFieldSearchNext"), QStringLiteral("&Cerca valore successivo"));
    fieldFuncs->addSeparator();
    AddItem(fieldFuncs, QStringLiteral("mnuFieldFilterCancel"), QStringLiteral("&Annulla filtro colonna"));
    AddItem(fieldFuncs, QStringLiteral("mnuFieldFilterCancelAll"), QStringLiteral("Annulla &tutti i filtri"));

    QMenu* dataSel = AddMenu(nullptr, file, QStringLiteral("mnuDataSelection"), QStringLiteral("Selezioni predefinite"));
    AddItem(dataSel, QStringLiteral("mnuDataSelBeforeQuery"),
            QStringLiteral("Richiedi selezioni prima di visualizzare i dati..."))
        ->setCheckable(true);
    dataSel->addSeparator();
    AddItem(dataSel, QStringLiteral("mnuDataSelCancel"), QStringLiteral("Elimina selezioni"));

    QMenu* selection = AddMenu(nullptr, file, QStringLiteral("mnuSelection"), QStringLiteral("Selezioni in data"));
    AddItem(selection, QStringLiteral("mnuSelAll"), QStringLiteral("&Tutti"))->setCheckable(true);
    selection->addSeparator();
    AddItem(selection, QStringLiteral("mnuSelDate"), QStringLiteral("&Imposta data..."))->setCheckable(true);
    AddItem(selection, QStringLiteral("mnuSelMonth"), QStringLiteral("Imposta &Mese..."))->setCheckable(true);
    AddItem(selection, QStringLiteral("mnuSelPeriod"), QStringLiteral("Imposta &Periodo..."))->setVisible(false);

    QMenu* association = AddMenu(nullptr, file, QStringLiteral("mnuAssociation"), QStringLiteral("Dati &associati"));
    AddTemplate(association, QStringLiteral("mnuRefItem"), QStringLiteral("< Riferimenti >"));
    AddTemplate(association, QStringLiteral("mnuContItem"), QStringLiteral("< Contenitori >"));
    AddTemplate(association, QStringLiteral("mnuReferencedItem"), QStringLiteral("< Referenziati >"));

    file->addSeparator();
    QMenu* printFunc = AddMenu(nullptr, file, QStringLiteral("mnuPrintFunc"), QStringLiteral("&Stampa dati"));
    AddItem(printFunc, QStringLiteral("mnuPrint"), QStringLiteral("&Stampa"), QKeySequence(Qt::Key_F8));
    AddItem(printFunc, QStringLiteral("mnuPreview"), QStringLiteral("&Anteprima..."));
    printFunc->addSeparator();
    AddItem(printFunc, QStringLiteral("mnuFiscalPrint"), QStringLiteral("&Ristampa ricevuta"));
    AddItem(printFunc, QStringLiteral("mnuPrintExport"), QStringLiteral("&Esporta stampa"));

    AddItem(file, QStringLiteral("mnuSave"), QStringLiteral("&Esporta dati..."));
    AddItem(file, QStringLiteral("mnuImport"), QStringLiteral("Importa dati..."));
    AddItem(file, QStringLiteral("mnuRestore"), QStringLiteral("&Ripristina archivio..."));
    AddItem(file, QStringLiteral("mnuViewWebBrowser"), QStringLiteral("&Web Browser..."));
    file->addSeparator();
    AddItem(file, QStringLiteral("mnuFileProperties"), QStringLiteral("&Modifica..."), QKeySequence(Qt::Key_F5));
    AddItem(file, QStringLiteral("mnuFileNew"), QStringLiteral("&Nuovo..."), QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    AddItem(file, QStringLiteral("mnuFileDelete"), QStringLiteral("&Elimina"), QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    file->addSeparator();
    AddItem(file, QStringLiteral("mnuFileClose"), QStringLiteral("Chiudi"));
}

void MainMenus::BuildViewMenu(QMenuBar* bar)
{
    QMenu* view = AddMenu(bar, nullptr, QStringLiteral("mnuView"), QStringLiteral("&Visualizza"));
    for (const auto& [name, caption, shortcut] :
         {std::tuple{QStringLiteral("mnuViewToolbar"), QStringLiteral("&Barra degli strumenti"), QKeySequence()},
          std::tuple{QStringLiteral("mnuViewStatusBar"), QStringLiteral("Barra di &Stato"), QKeySequence()},
          std::tuple{QStringLiteral("mnuHideSection"), QStringLiteral("&Sezione"), QKeySequence(Qt::CTRL | Qt::Key_S)}}) {
        QAction* action = AddItem(view, name, caption, shortcut);
        action->setCheckable(true);
        action->setChecked(true);
    }
    view->addSeparator();
    QMenu* grid = AddMenu(nullptr, view, QStringLiteral("mnuGridSetting"), QStringLiteral("&Griglia"));
    AddItem(grid, QStringLiteral("mnuGridFldAll"), QStringLiteral("Visualizza &tutti i campi"), QKeySequence(Qt::CTRL | Qt::Key_T));
    grid->addSeparator();
    AddItem(grid, QStringLiteral("mnuGridFldSequence"), QStringLiteral("Imposta &sequenza campi..."),
            QKeySequence(Qt::CTRL | Qt::Key_G))
        ->setCheckable(true);
    AddItem(grid, QStringLiteral("mnuGridCancel"), QStringLiteral("Annulla sequenza campi e dimensioni"));
    AddItem(view, QStringLiteral("mnuViewCurrencyConversion"), QStringLiteral("&Importi in Euro"), QKeySequence(Qt::CTRL | Qt::Key_I))
        ->setCheckable(true);
    QMenu* config = AddMenu(nullptr, view, QStringLiteral("mnuToolsConfig"), QStringLiteral("&Configurazione"));
    AddItem(config, QStringLiteral("mnuToolsOptions"), QStringLiteral("&Generale..."));
    AddItem(config, QStringLiteral("mnuTicketSetting"), QStringLiteral("Impostazione stampa &Ricevute..."));
    view->addSeparator();
    AddItem(view, QStringLiteral("mnuViewRefresh"), QStringLiteral("&Aggiorna"));
}

void MainMenus::BuildToolsAndHelp(QMenuBar* bar)
{
    QMenu* tools = AddMenu(bar, nullptr, QStringLiteral("mnuTools"), QStringLiteral("&Strumenti"));
    AddItem(tools, QStringLiteral("mnuNewVendita"), QStringLiteral("Nuova &Vendita"), QKeySequence(Qt::Key_F9));
    tools->addSeparator();
    QMenu* total = AddMenu(nullptr, tools, QStringLiteral("mnuToolsTotal"), QStringLiteral("&Totalizza"));
    AddTemplate(total, QStringLiteral("mnuTotalItems"), QStringLiteral("Totalizza in..."));
    QMenu* average = AddMenu(nullptr, tools, QStringLiteral("mnuToolsAverage"), QStringLiteral("&Media"));
    AddTemplate(average, QStringLiteral("mnuAverageItems"), QStringLiteral("Media in..."));
    tools->addSeparator();
    AddItem(tools, QStringLiteral("mnuChangePwd"), QStringLiteral("Cambio &Password..."));

    QMenu* help = AddMenu(bar, nullptr, QStringLiteral("mnuHelp"), QStringLiteral("&Help"));
    AddItem(help, QStringLiteral("mnuHelpContents"), QStringLiteral("&Contents"))->setEnabled(false);
    AddItem(help, QStringLiteral("mnuHelpSearchForHelpOn"), QStringLiteral("&Search For Help On..."))->setEnabled(false);
    help->addSeparator();
    AddItem(help, QStringLiteral("mnuHelpAbout"), QStringLiteral("&About "));
}

void MainMenus::BuildPopUp(QMainWindow& window)
{
    // Not on the menu bar: it only pops up over the tray icon.
    m_popUp = new QMenu(&window);
    m_popUp->setObjectName(QStringLiteral("mnuPopUp"));
    m_popUp->menuAction()->setObjectName(QStringLiteral("mnuPopUp"));
    m_popUp->menuAction()->setVisible(false);
    m_menus.insert(QStringLiteral("mnuPopUp"), m_popUp);
    m_actions.insert(QStringLiteral("mnuPopUp"), m_popUp->menuAction());
    m_names.append(QStringLiteral("mnuPopUp"));
    AddItem(m_popUp, QStringLiteral("mnuActivate"), QStringLiteral("&Visualizza"));
    m_popUp->addSeparator();
    AddItem(m_popUp, QStringLiteral("mnuClose"), QStringLiteral("&Chiudi"));
}

void MainMenus::BuildToolBar(QMainWindow& window)
{
    m_toolBar = window.addToolBar(QStringLiteral("Barra degli strumenti"));
    m_toolBar->setObjectName(QStringLiteral("tbToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->setIconSize(QSize(24, 24));
    m_toolBar->toggleViewAction()->setVisible(false);
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);

    m_findItems = new CommandMenu(m_toolBar);
    m_findItems->setObjectName(QStringLiteral("tbFindItems"));
    for (const ToolButtonSpec& spec : ToolButtonSpecs()) {
        QAction* button = m_toolBar->addAction(BrowserIcons::Toolbar(spec.key), spec.caption);
        button->setObjectName(QStringLiteral("tb") + spec.key);
        button->setToolTip(spec.tooltip);
        button->setData(spec.key);
        m_buttons.insert(spec.key, button);
        if (spec.key == QLatin1String("Filter"))
            button->setCheckable(true);
        if (spec.key == QLatin1String("Find")) {
            button->setMenu(m_findItems);
            if (auto* widget = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(button)))
                widget->setPopupMode(QToolButton::MenuButtonPopup);
        }
    }
}
