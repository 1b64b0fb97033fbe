// Commands of the view: the date selection (all, day, month), the preset
// selections of a section, and the grid layout (all fields, field sequence,
// defaults).

#include "browser/frmMain.h"

#include "browser/DateSelection.h"
#include "browser/MainMenus.h"
#include "browser/SectionTree.h"
#include "browser/frmDateSetting.h"
#include "component/ComplexFilter.h"
#include "component/DataObject.h"
#include "component/DatabaseObject.h"
#include "component/Exception.h"
#include "component/GridLayout.h"
#include "component/Table.h"
#include "component/widgets/DialogService.h"
#include "component/widgets/GridBinding.h"
#include "component/widgets/GridLayoutBinding.h"

#include <QMenu>

void frmMain::ConnectViewCommands()
{
    const auto on = [this](const QString& name, auto slot) {
        connect(Action(name), &QAction::triggered, this, slot);
    };
    on(QStringLiteral("mnuSelAll"), &frmMain::SelectAllDates);
    on(QStringLiteral("mnuSelDate"), [this] { ChooseSelectionDate(false); });
    on(QStringLiteral("mnuSelMonth"), [this] { ChooseSelectionDate(true); });
    on(QStringLiteral("mnuDataSelBeforeQuery"), &frmMain::SetPresetSelections);
    on(QStringLiteral("mnuDataSelCancel"), &frmMain::CancelPresetSelections);
    on(QStringLiteral("mnuGridFldAll"), &frmMain::ShowAllGridFields);
    on(QStringLiteral("mnuGridFldSequence"), &frmMain::SetGridFieldSequence);
    on(QStringLiteral("mnuGridCancel"), &frmMain::ResetGridLayout);
    connect(m_cmdGridSetting, &QToolButton::clicked, this, [this] { PopUpMenu(QStringLiteral("mnuGridSetting")); });
}

void frmMain::SelectAllDates()
{
    DateSelection& selection = CurrentDateSelection();
    const bool alreadyAll = !selection.SelectByDate && !selection.SelectByMonth;
    selection.SelectAll();
    UpdateSelectionCaptions();
    if (!alreadyAll)
        RefreshDetailView();
}

void frmMain::ChooseSelectionDate(bool byMonth)
{
    const auto chosen = frmDateSetting::SetDate(CurrentDateSelection().SelectionDate, -1, -1, this);
    if (chosen) {
        if (byMonth)
            CurrentDateSelection().SelectMonth(*chosen);
        else
            CurrentDateSelection().SelectDay(*chosen);
    }
    UpdateSelectionCaptions();
    if (chosen)
        RefreshDetailView();
}

ComplexFilter* frmMain::PresetsForSection()
{
    const QTreeWidgetItem* node = SelectedNode(*m_tvTreeView);
    if (!m_currentDataObject || !node)
        return nullptr;
    return &Presets(node->text(0), m_currentDataObject->TableName());
}

void frmMain::SetPresetSelections()
{
    QAction* entry = Action(QStringLiteral("mnuDataSelBeforeQuery"));
    ComplexFilter* presets = PresetsForSection();
    if (!presets) {
        entry->setChecked(false);
        return;
    }
    const QString section = SelectedNode(*m_tvTreeView)->text(0);
    const bool stored = presets->Exists(section);
    try {
        if (!Dialogs().ComplexFilterDialog(*presets, *ArchiveSession::Instance().Database(),
                                           QStringLiteral("Selezioni predefinite"))) {
            entry->setChecked(stored);
            return;
        }
        presets->Save(section);
    } catch (const Exception& error) {
        entry->setChecked(stored);
        Dialogs().MessageBox(error.Description(), MsgButtons::Ok, MsgIcon::Critical, MsgDefault::Button1, QString());
        return;
    }
    entry->setChecked(true);
    Dialogs().MessageBox(QStringLiteral("Selezioni predefinite impostate.\r\rN.B.: Tali impostazioni vengono considerate "
                                        "solo se i dati che si stanno visualizzando non prevedono ulteriori selezioni "
                                        "(Data.., etc.)"),
                         MsgButtons::Ok, MsgIcon::Information, MsgDefault::Button1, QString());
}

void frmMain::CancelPresetSelections()
{
    ComplexFilter* presets = PresetsForSection();
    if (presets) {
        const QString section = SelectedNode(*m_tvTreeView)->text(0);
        if (presets->Exists(section)) {
            presets->Delete(section);
            Dialogs().MessageBox(QStringLiteral("Selezioni predefinite eliminate."), MsgButtons::Ok, MsgIcon::None,
                                 MsgDefault::Button1, QString());
        }
    }
    m_presets.reset();
    Action(QStringLiteral("mnuDataSelBeforeQuery"))->setChecked(false);
}

void frmMain::ShowAllGridFields()
{
    if (!m_gridLayout || !m_currentDataObject || !m_layoutBinding)
        return;
    const QString sequence = m_gridLayout->FieldSequence();
    try {
        m_gridLayout->SetFieldSequence(QString());
        m_layoutBinding->Apply();
        m_gridLayout->SetFieldSequence(sequence);
    } catch (const Exception& error) {
        Dialogs().MessageBox(error.Description(), MsgButtons::Ok, MsgIcon::None, MsgDefault::Button1, QString());
    }
}

void frmMain::SetGridFieldSequence()
{
    QAction* entry = Action(QStringLiteral("mnuGridFldSequence"));
    if (m_dgView->isHidden() || !m_currentDataObject || !m_gridLayout || !m_layoutBinding) {
        entry->setChecked(m_gridLayout && !m_gridLayout->FieldSequence().isEmpty());
        return;
    }
    const auto sequence = Dialogs().FieldSequenceDialog(m_currentDataObject, QStringLiteral("Sequenza di Visualizzazione Campi"),
                                                        m_gridLayout->FieldSequence());
    if (sequence) {
        m_gridLayout->SetFieldSequence(*sequence);
        m_layoutBinding->Apply();
    }
    entry->setChecked(!m_gridLayout->FieldSequence().isEmpty());
}

void frmMain::ResetGridLayout()
{
    if (m_dgView->isHidden() || !m_currentDataObject || !m_gridLayout || !m_layoutBinding)
        return;
    // The stored sequence and widths are lost: "No" is the default.
    if (Dialogs().MessageBox(QStringLiteral("Vuoi ripristinare le impostazioni predefinite per la griglia corrente?"),
                             MsgButtons::YesNo, MsgIcon::Question, MsgDefault::Button2, QString())
        != MsgResult::Yes)
        return;
    m_gridLayout->Reset();
    m_grid->SetDataObject(m_currentDataObject);
    m_grid->ResetColumnWidths();
    m_layoutBinding->Apply();
    Action(QStringLiteral("mnuGridFldSequence"))->setChecked(false);
}
