// The main window's menus, toolbar and tray menu as the user first sees them.

#include "browser/MainMenus.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

struct Entry
{
    const char* name;
    const char* caption;
    const char* shortcut;
};

TEST(MainMenus, EveryEntryHasItsCaptionAndShortcut)
{
    QMainWindow window;
    MainMenus menus(window);
    const Entry entries[] = {
        {"mnuFile", "&Dati", ""},
        {"mnuSearch", "&Cerca", ""},
        {"mnuSearchNext", "Cerca &successivo", "F3"},
        {"mnuSearchItems(0)", "Cerca in...", ""},
        {"mnuFilter", "&Filtra", ""},
        {"mnuFilterComplex", "Imposta &filtro complesso...", "Ctrl+F3"},
        {"mnuFilterCancel", "&Annulla filtro", ""},
        {"mnuFilterShort", "Filtra colonna", ""},
        {"mnuFilterItems(0)", "Filtra per...", ""},
        {"mnuFilterComplexItems(0)", "Filtra con...", ""},
        {"mnuOrder", "&Ordina", ""},
        {"mnuOrderComplex", "&Ordinamento combinato...", ""},
        {"mnuOrderCancel", "&Annulla ordinamento", ""},
        {"mnuOrderSingle", "Ordina colonna", ""},
        {"mnuOrderItems(0)", "Ordina per...", ""},
        {"mnuFieldFuncs", "Funzioni su campo corrente   (Click destro)", ""},
        {"mnuFieldFilter", "&Filtra colonna con stesso valore...", ""},
        {"mnuFieldSearchNext", "&Cerca valore successivo", ""},
        {"mnuFieldFilterCancel", "&Annulla filtro colonna", ""},
        {"mnuFieldFilterCancelAll", "Annulla &tutti i filtri", ""},
        {"mnuDataSelection", "Selezioni predefinite", ""},
        {"mnuDataSelBeforeQuery", "Richiedi selezioni prima di visualizzare i dati...", ""},
        {"mnuDataSelCancel", "Elimina selezioni", ""},
        {"mnuSelection", "Selezioni in data", ""},
        {"mnuSelAll", "&Tutti", ""},
        {"mnuSelDate", "&Imposta data...", ""},
        {"mnuSelMonth", "Imposta &Mese...", ""},
        {"mnuSelPeriod", "Imposta &Periodo...", ""},
        {"mnuAssociation", "Dati &associati", ""},
        {"mnuRefItem(0)", "< Riferimenti >", ""},
        {"mnuContItem(0)", "< Contenitori >", ""},
        {"mnuReferencedItem(0)", "< Referenziati >", ""},
        {"mnuPrintFunc", "&Stampa dati", ""},
        {"mnuPrint", "&Stampa", "F8"},
        {"mnuPreview", "&Anteprima...", ""},
        {"mnuFiscalPrint", "&Ristampa ricevuta", ""},
        {"mnuPrintExport", "&Esporta stampa", ""},
        {"mnuSave", "&Esporta dati...", ""},
        {"mnuImport", "Importa dati...", ""},
        {"mnuRestore", "&Ripristina archivio...", ""},
        {"mnuViewWebBrowser", "&Web Browser...", ""},
        {"mnuFileProperties", "&Modifica...", "F5"},
        {"mnuFileNew", "&Nuovo...", "Shift+Ins"},
        {"mnuFileDelete", "&Elimina", "Shift+Del"},
        {"mnuFileClose", "Chiudi", ""},
        {"mnuView", "&Visualizza", ""},
        {"mnuViewToolbar", "&Barra degli strumenti", ""},
        {"mnuViewStatusBar", "Barra di &Stato", ""},
        {"mnuHideSection", "&Sezione", "Ctrl+S"},
        {"mnuGridSetting", "&Griglia", ""},
        {"mnuGridFldAll", "Visualizza &tutti i campi", "Ctrl+T"},
        {"mnuGridFldSequence", "Imposta &sequenza campi...", "Ctrl+G"},
        {"mnuGridCancel", "Annulla sequenza campi e dimensioni", ""},
        {"mnuViewCurrencyConversion", "&Importi in Euro", "Ctrl+I"},
        {"mnuToolsConfig", "&Configurazione", ""},
        {"mnuToolsOptions", "&Generale...", ""},
        {"mnuTicketSetting", "Impostazione stampa &Ricevute...", ""},
        {"mnuViewRefresh", "&Aggiorna", ""},
        {"mnuTools", "&Strumenti", ""},
        {"mnuNewVendita", "Nuova &Vendita", "F9"},
        {"mnuToolsTotal", "&Totalizza", ""},
        {"mnuTotalItems(0)", "Totalizza in...", ""},
        {"mnuToolsAverage", "&Media", ""},
        {"mnuAverageItems(0)", "Media in...", ""},
        {"mnuChangePwd", "Cambio &Password...", ""},
        {"mnuHelp", "&Help", ""},
        {"mnuHelpContents", "&Contents", ""},
        {"mnuHelpSearchForHelpOn", "&Search For Help On...", ""},
        {"mnuHelpAbout", "&About ", ""},
        {"mnuActivate", "&Visualizza", ""},
        {"mnuClose", "&Chiudi", ""},
    };
    QStringList expected;
    for (const Entry& entry : entries) {
        const QString name = QString::fromLatin1(entry.name);
        expected.append(name);
        QAction* action = menus.Action(name);
        ASSERT_NE(action, nullptr) << entry.name;
        EXPECT_EQ(action->text(), QString::fromUtf8(entry.caption)) << entry.name;
        EXPECT_EQ(action->shortcut().toString(QKeySequence::PortableText), QString::fromLatin1(entry.shortcut))
            << entry.name;
    }
    expected.insert(expected.indexOf(QStringLiteral("mnuActivate")), QStringLiteral("mnuPopUp"));
    EXPECT_EQ(menus.Names(), expected) << "every entry, in menu order, and nothing else";

    // The menu bar's own entries, in order.
    QStringList bar;
    for (QAction* action : window.menuBar()->actions())
        bar.append(action->objectName());
    EXPECT_EQ(bar, (QStringList{QStringLiteral("mnuFile"), QStringLiteral("mnuView"), QStringLiteral("mnuTools"),
                                QStringLiteral("mnuHelp")}));
}

TEST(MainMenus, InitialChecksVisibilityAndEnabledState)
{
    QMainWindow window;
    MainMenus menus(window);
    for (const char* name : {"mnuViewToolbar", "mnuViewStatusBar", "mnuHideSection"})
        EXPECT_TRUE(menus.Action(QString::fromLatin1(name))->isChecked()) << name;
    EXPECT_FALSE(menus.Action(QStringLiteral("mnuViewCurrencyConversion"))->isChecked());
    for (const char* name : {"mnuSelPeriod", "mnuPopUp"})
        EXPECT_FALSE(menus.Action(QString::fromLatin1(name))->isVisible()) << name;
    EXPECT_FALSE(window.menuBar()->actions().contains(menus.Action(QStringLiteral("mnuPopUp"))));
    for (const char* name : {"mnuHelpContents", "mnuHelpSearchForHelpOn", "mnuSearchItems(0)", "mnuFilterItems(0)",
                             "mnuFilterComplexItems(0)", "mnuOrderItems(0)", "mnuTotalItems(0)", "mnuAverageItems(0)",
                             "mnuRefItem(0)", "mnuContItem(0)", "mnuReferencedItem(0)"})
        EXPECT_FALSE(menus.Action(QString::fromLatin1(name))->isEnabled()) << name;
    const QStringList disabled = {QStringLiteral("mnuHelpContents"), QStringLiteral("mnuHelpSearchForHelpOn"),
                                  QStringLiteral("mnuSelPeriod"), QStringLiteral("mnuPopUp")};
    for (const QString& name : menus.Names()) {
        if (!name.endsWith(QLatin1String("(0)")) && !disabled.contains(name)) {
            EXPECT_TRUE(menus.Action(name)->isEnabled()) << name.toStdString();
        }
    }
}

TEST(MainMenus, ToolbarButtonsInOrderWithCaptionsAndTooltips)
{
    QMainWindow window;
    MainMenus menus(window);
    const char* rows[][3] = {
        {"New", "Nuovo", "Nuovo"},
        {"Properties", "Vis./Mod.", "Modifica"},
        {"Delete", "Elimina", "Elimina"},
        {"Related", "Associati", "Dati associati all'elemento selezionto"},
        {"Save", "Salva/Esporta", "Salva / Esporta dati"},
        {"Filter", "Filtra", "Filtra per selezionare una parte di dati"},
        {"Find", "Cerca", "Cerca (F3 per successivo)"},
        {"Print", "Stampa", "Stampa"},
        {"BarcodeReader", "Barcode", "Attiva / Disattiva il lettore codici a barre"},
        {"FiscalPrinter", "Cassa", "Attiva / Disattiva il registratore di cassa"},
        {"Sale", "Vendite", "Nuova Vendita / Fattura"},
    };
    const QList<QAction*> buttons = menus.ToolBar()->actions();
    ASSERT_EQ(buttons.size(), int(std::size(rows)));
    for (int i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i]->data().toString(), QString::fromLatin1(rows[i][0]));
        EXPECT_EQ(buttons[i]->text(), QString::fromLatin1(rows[i][1]));
        EXPECT_EQ(buttons[i]->toolTip(), QString::fromLatin1(rows[i][2]));
        EXPECT_FALSE(buttons[i]->icon().isNull()) << rows[i][0];
    }
    EXPECT_EQ(menus.ToolBar()->objectName(), QStringLiteral("tbToolBar"));
    EXPECT_TRUE(menus.ToolButton(QStringLiteral("Filter"))->isCheckable());
    EXPECT_EQ(menus.ToolButton(QStringLiteral("Find"))->menu(), menus.FindItems());
    EXPECT_EQ(menus.PopUp()->actions().size(), 3) << "Visualizza, a separator, Chiudi";
}

} // namespace
