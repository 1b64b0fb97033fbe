#include "sales/frmVendite.h"

#include "app/ErrorReport.h"
#include "app/FormState.h"
#include "app/SaleDate.h"
#include "component/CurrencyObject.h"
#include "component/DataObject.h"
#include "component/DatabaseObject.h"
#include "component/Exception.h"
#include "component/widgets/DialogService.h"
#include "component/widgets/GridBinding.h"
#include "component/widgets/TextBoxBinding.h"
#include "component/widgets/WaitCursor.h"
#include "sales/OpenSale.h"
#include "sales/SaleRules.h"
#include "sales/UpDownControl.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kRowFields[] = {QStringLiteral("Quantità"), QStringLiteral("Nome"), QStringLiteral("Prezzo"),
                              QStringLiteral("Importo_Riga")};

QString ErrorText(const std::exception& error)
{
    if (const auto* own = dynamic_cast<const Exception*>(&error))
        return own->Description();
    return QString::fromLocal8Bit(error.what());
}

QPushButton* Button(const QString& name, const QString& caption, const QString& tooltip, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(tooltip);
    // Enter never presses a button of the till by itself.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QLabel* Caption(const QString& text, QWidget* parent, QWidget* buddy = nullptr)
{
    auto* label = new QLabel(text, parent);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

QFont Scaled(QFont font, qreal factor, bool bold)
{
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setBold(bold);
    return font;
}

} // namespace

frmVendite::frmVendite(std::shared_ptr<DatabaseObject> database, std::shared_ptr<DatabaseEngine> engine,
                       QWidget* parent)
    : QDialog(parent), m_database(std::move(database)), m_engine(std::move(engine)),
      m_sale(std::make_unique<OpenSale>(m_database, m_engine))
{
    setObjectName(QStringLiteral("frmVendite"));
    setWindowTitle(QStringLiteral("Emissione Ricevute"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(true);
    BuildControls();
    m_courses = std::make_unique<GridBinding>(dgPortate);
    m_rows = std::make_unique<GridBinding>(dgRighe);
    dgPortate->setSelectionMode(QAbstractItemView::SingleSelection);
    dgRighe->setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab goes to the next control, as in every box of the till: inside a
    // grid it would move the current course or row and never leave.
    dgPortate->setTabKeyNavigation(false);
    dgRighe->setTabKeyNavigation(false);
    m_rows->Model().SetFieldSequence({kRowFields[0], kRowFields[1], kRowFields[2], kRowFields[3]});
    m_courses->Model().SetFieldSequence({QStringLiteral("Descrizione")});
    ConnectControls();
    resize(880, 620);
    // The form sees the keys of its controls before they do.
    qApp->installEventFilter(this);
}

frmVendite::~frmVendite()
{
    qApp->removeEventFilter(this);
    // The grids let go of their data before the sale rolls back.
    m_rows.reset();
    m_courses.reset();
}

void frmVendite::BuildControls()
{
    txtNumero = new QLineEdit(this);
    txtNumero->setObjectName(QStringLiteral("txtNumero"));
    txtNumero->setToolTip(QStringLiteral("Mumero Documento non modificabile"));
    txtNumero->setReadOnly(true);
    txtNumero->setAlignment(Qt::AlignRight);
    txtNumero->setFocusPolicy(Qt::ClickFocus);
    txtNumero->setMaximumWidth(txtNumero->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 16);

    cmbTipiDocumento = new QComboBox(this);
    cmbTipiDocumento->setObjectName(QStringLiteral("cmbTipiDocumento"));
    cmbTipiDocumento->setToolTip(QStringLiteral("Tipo Documento"));
    cmbTipiDocumento->setMinimumContentsLength(18);

    txtData = new QLineEdit(this);
    txtData->setObjectName(QStringLiteral("txtData"));
    txtData->setMaximumWidth(txtData->fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000 00:00:00")) + 16);
    cmdSet_DataOra = new QToolButton(this);
    cmdSet_DataOra->setObjectName(QStringLiteral("cmdSet_DataOra"));
    cmdSet_DataOra->setText(QStringLiteral("..."));
    cmdSet_DataOra->setToolTip(QStringLiteral("Imposta la Data / Ora"));

    txtCliente = new QLineEdit(this);
    txtCliente->setObjectName(QStringLiteral("txtCliente"));
    txtCliente->setReadOnly(true);
    txtCliente->setFocusPolicy(Qt::ClickFocus);
    cmdSet_Cliente = new QToolButton(this);
    cmdSet_Cliente->setObjectName(QStringLiteral("cmdSet_Cliente"));
    cmdSet_Cliente->setText(QStringLiteral("..."));
    cmdSet_Cliente->setToolTip(QStringLiteral("Imposta il cliente"));

    txtNote = new QPlainTextEdit(this);
    txtNote->setObjectName(QStringLiteral("txtNote"));
    txtNote->setToolTip(QStringLiteral("Ctrl+Invio per nuova linea"));
    txtNote->setTabChangesFocus(true);
    txtNote->setFixedHeight(txtNote->fontMetrics().lineSpacing() * 2 + 12);

    txtNumeroCoperti = new QLineEdit(NoCoversText(), this);
    txtNumeroCoperti->setObjectName(QStringLiteral("txtNumeroCoperti"));
    txtNumeroCoperti->setToolTip(QStringLiteral("Numero Coperti"));
    txtNumeroCoperti->setMaxLength(3);
    txtNumeroCoperti->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[ 0-9]{0,3}")), txtNumeroCoperti));
    txtNumeroCoperti->setAlignment(Qt::AlignRight);
    txtNumeroCoperti->setFont(Scaled(font(), 1.4, true));
    txtNumeroCoperti->setMaximumWidth(txtNumeroCoperti->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);

    dgPortate = new QTableView(this);
    dgPortate->setObjectName(QStringLiteral("dgPortate"));
    dgPortate->setFont(Scaled(font(), 1.3, true));
    dgPortate->horizontalHeader()->hide();
    dgPortate->verticalHeader()->hide();
    dgPortate->horizontalHeader()->setStretchLastSection(true);
    dgPortate->setMinimumWidth(dgPortate->fontMetrics().horizontalAdvance(QStringLiteral("ANTIPASTI MISTI")) + 24);
    dgPortate->setMaximumWidth(dgPortate->minimumWidth() + 60);

    dgRighe = new QTableView(this);
    dgRighe->setObjectName(QStringLiteral("dgRighe"));
    dgRighe->setFont(Scaled(font(), 1.15, false));
    dgRighe->verticalHeader()->hide();
    dgRighe->horizontalHeader()->setSectionsClickable(true);
    dgRighe->horizontalHeader()->setStretchLastSection(false);

    pnlBottom = new QFrame(this);
    pnlBottom->setObjectName(QStringLiteral("pnlBottom"));
    cmdEdit = Button(QStringLiteral("cmdEdit"), QStringLiteral("&Modifica [F12]"),
                     QStringLiteral("Modifica l'articolo selezionato"), pnlBottom);
    cmdEdit_Quantita = Button(QStringLiteral("cmdEdit_Quantita"), QStringLiteral("&Quantità [F8]"),
                              QStringLiteral("Modifica la quantità della riga"), pnlBottom);
    cmdQtCoperti = Button(QStringLiteral("cmdQtCoperti"), QStringLiteral("->  &Imposta  [F5]"),
                          QStringLiteral("Imposta la quantità della riga corrente con il numero dei coperti"), pnlBottom);
    cmdDeleteItem = Button(QStringLiteral("cmdDeleteItem"), QStringLiteral("&Elimina [F10]"),
                           QStringLiteral("Elimina la riga selezionata"), pnlBottom);
    spinQuantita = new UpDownControl(pnlBottom);
    spinQuantita->setObjectName(QStringLiteral("spinQuantita"));
    spinQuantita->setToolTip(QStringLiteral("Aumenta/Decrementa la quantità di 1"));
    spinQuantita->setFixedWidth(28);

    lnButtons = new QFrame(pnlBottom);
    lnButtons->setObjectName(QStringLiteral("lnButtons"));
    lnButtons->setFrameShape(QFrame::HLine);
    lnButtons->setFrameShadow(QFrame::Sunken);

    chkFiscalRecord = new QCheckBox(QStringLiteral("Stampa [F4]"), pnlBottom);
    chkFiscalRecord->setObjectName(QStringLiteral("chkFiscalRecord"));
    chkFiscalRecord->setToolTip(QStringLiteral("Attiva l'emissione dello scontrino fiscale"));
    chkFiscalRecord->setChecked(true);
    lblPrinterMsg = new QLabel(QStringLiteral("Stampa in corso..."), pnlBottom);
    lblPrinterMsg->setObjectName(QStringLiteral("lblPrinterMsg"));
    lblPrinterMsg->setFont(Scaled(font(), 1.1, true));
    lblPrinterMsg->hide();

    lblTotaleSuCoperti = new QLabel(pnlBottom);
    lblTotaleSuCoperti->setObjectName(QStringLiteral("lblTotaleSuCoperti"));
    lblTotaleSuCoperti->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblTotaleSuCoperti->setFont(Scaled(font(), 1.2, true));
    lblAltraValuta = new QLabel(pnlBottom);
    lblAltraValuta->setObjectName(QStringLiteral("lblAltraValuta"));
    lblTotaleConv = new QLabel(pnlBottom);
    lblTotaleConv->setObjectName(QStringLiteral("lblTotaleConv"));
    lblTotaleConv->setToolTip(QStringLiteral("Totale calcolato in Euro"));
    lblTotaleConv->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblTotaleConv->setFont(Scaled(font(), 1.2, true));

    lblTotale = new QLabel(pnlBottom);
    lblTotale->setObjectName(QStringLiteral("lblTotale"));
    lblTotale->setToolTip(QStringLiteral("Totale calcolato"));
    lblTotale->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblTotale->setFont(Scaled(font(), 2.6, true));
    lblTotale->setMinimumWidth(lblTotale->fontMetrics().horizontalAdvance(QStringLiteral("0.000,00")) + 24);
    // The total must be read at a glance from the cashier's seat.
    lblTotale->setAutoFillBackground(true);
    lblTotale->setFrameShape(QFrame::Box);
    lblTotale->setMargin(4);
    QPalette totalColours = lblTotale->palette();
    totalColours.setColor(QPalette::Window, QColor(0x10, 0x2a, 0x43));
    totalColours.setColor(QPalette::WindowText, QColor(0xff, 0xf1, 0x76));
    lblTotale->setPalette(totalColours);

    cmdConfirm = Button(QStringLiteral("cmdConfirm"), QStringLiteral("&Conferma"), QStringLiteral("Conferma la vendita"),
                        pnlBottom);
    cmdCancel = Button(QStringLiteral("cmdCancel"), QStringLiteral("&Annulla"), QStringLiteral("Annulla la vendita in corso"),
                       pnlBottom);
    for (QPushButton* button : {cmdConfirm, cmdCancel}) {
        button->setFont(Scaled(font(), 1.2, true));
        button->setMinimumHeight(button->sizeHint().height() + 8);
        button->setMinimumWidth(button->sizeHint().width() + 24);
    }

    // Header
    auto* header = new QGridLayout;
    header->addWidget(Caption(QStringLiteral("Numero:"), this), 0, 0);
    header->addWidget(txtNumero, 0, 1);
    header->addWidget(Caption(QStringLiteral("Tipo Documento:"), this), 0, 2);
    header->addWidget(cmbTipiDocumento, 0, 3);
    header->addWidget(Caption(QStringLiteral("Data :"), this), 0, 4);
    auto* date = new QHBoxLayout;
    date->setSpacing(2);
    date->addWidget(txtData);
    date->addWidget(cmdSet_DataOra);
    header->addLayout(date, 0, 5);
    header->addWidget(Caption(QStringLiteral("Cliente:"), this), 1, 0);
    auto* customer = new QHBoxLayout;
    customer->setSpacing(2);
    customer->addWidget(txtCliente);
    customer->addWidget(cmdSet_Cliente);
    header->addLayout(customer, 1, 1, 1, 3);
    header->addWidget(Caption(QStringLiteral("&Note:"), this, txtNote), 1, 4, Qt::AlignTop);
    header->addWidget(txtNote, 1, 5, 1, 2);
    header->setColumnStretch(6, 1);

    // Courses and rows
    auto* left = new QVBoxLayout;
    auto* covers = new QHBoxLayout;
    auto* coversCaption = Caption(QStringLiteral("Coperti:"), this, txtNumeroCoperti);
    coversCaption->setFont(Scaled(font(), 1.2, true));
    covers->addWidget(coversCaption);
    covers->addWidget(txtNumeroCoperti);
    covers->addStretch();
    left->addLayout(covers);
    auto* coursesCaption = new QLabel(QStringLiteral("TIPO PORTATA"), this);
    coursesCaption->setObjectName(QStringLiteral("lblTipoPortata"));
    coursesCaption->setFont(Scaled(font(), 1.0, true));
    left->addWidget(coursesCaption);
    left->addWidget(dgPortate, 1);
    auto* right = new QVBoxLayout;
    auto* rowsCaption = new QLabel(QStringLiteral("Righe del documento"), this);
    rowsCaption->setObjectName(QStringLiteral("lblRighe"));
    rowsCaption->setFont(Scaled(font(), 1.0, true));
    right->addWidget(rowsCaption);
    right->addWidget(dgRighe, 1);
    auto* middle = new QHBoxLayout;
    middle->addLayout(left);
    middle->addLayout(right, 1);

    // Bottom band
    auto* rowButtons = new QHBoxLayout;
    for (QWidget* widget : std::initializer_list<QWidget*>{cmdEdit, cmdEdit_Quantita, cmdQtCoperti, cmdDeleteItem})
        rowButtons->addWidget(widget);
    rowButtons->addWidget(spinQuantita);
    rowButtons->addStretch();
    rowButtons->addWidget(chkFiscalRecord);
    rowButtons->addWidget(lblPrinterMsg);

    auto* figures = new QGridLayout;
    figures->addWidget(Caption(QStringLiteral("Totale diviso Coperti:"), pnlBottom), 0, 0);
    figures->addWidget(lblTotaleSuCoperti, 0, 1);
    figures->addWidget(lblAltraValuta, 1, 0);
    figures->addWidget(lblTotaleConv, 1, 1);
    auto* totalCaption = Caption(QStringLiteral("Totale:"), pnlBottom);
    totalCaption->setFont(Scaled(font(), 1.6, true));
    auto* endButtons = new QVBoxLayout;
    endButtons->addWidget(cmdConfirm);
    endButtons->addWidget(cmdCancel);
    auto* totals = new QHBoxLayout;
    totals->addLayout(figures);
    totals->addStretch();
    totals->addWidget(totalCaption);
    totals->addWidget(lblTotale);
    totals->addSpacing(12);
    totals->addLayout(endButtons);

    auto* bottom = new QVBoxLayout(pnlBottom);
    bottom->setContentsMargins(0, 4, 0, 0);
    bottom->addLayout(rowButtons);
    bottom->addWidget(lnButtons);
    bottom->addLayout(totals);

    auto* root = new QVBoxLayout(this);
    root->addLayout(header);
    root->addLayout(middle, 1);
    root->addWidget(pnlBottom);

    setTabOrder(txtNumeroCoperti, dgPortate);
    setTabOrder(dgPortate, dgRighe);
    setTabOrder(dgRighe, cmbTipiDocumento);
    setTabOrder(cmbTipiDocumento, txtData);
    setTabOrder(txtData, txtNote);
    setTabOrder(txtNote, cmdConfirm);
}

void frmVendite::ConnectControls()
{
    connect(m_sale.get(), &OpenSale::HeaderChanged, this, &frmVendite::Refresh_Testata);
    connect(m_sale.get(), &OpenSale::RowsChanged, this, &frmVendite::Refresh_Righe);
    connect(m_sale.get(), &OpenSale::TotalsChanged, this, &frmVendite::RefreshTotals);

    connect(dgPortate, &QTableView::doubleClicked, this, [this] { ChooseCourse(); });
    connect(dgRighe->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        Run([&] { m_sale->OrderRowsBy(m_rows->Model().FieldNameOfColumn(column)); });
    });
    connect(cmdEdit, &QPushButton::clicked, this, [this] { Run([&] { m_sale->EditRow(RowBookmark()); }); });
    connect(cmdEdit_Quantita, &QPushButton::clicked, this, [this] { Run([&] { m_sale->EditQuantity(RowBookmark()); }); });
    connect(cmdQtCoperti, &QPushButton::clicked, this, [this] { Run([&] { m_sale->QuantityFromCovers(RowBookmark()); }); });
    connect(cmdDeleteItem, &QPushButton::clicked, this, [this] { Run([&] { m_sale->DeleteRow(RowBookmark()); }); });
    connect(spinQuantita, &UpDownControl::Up, this, [this] { Run([&] { m_sale->StepUp(RowBookmark()); }); });
    connect(spinQuantita, &UpDownControl::Down, this, [this] { Run([&] { m_sale->StepDown(RowBookmark()); }); });
    connect(cmdSet_Cliente, &QToolButton::clicked, this, [this] { Run([&] { m_sale->ChooseCustomer(); }); });
    connect(cmdSet_DataOra, &QToolButton::clicked, this, [this] { Run([&] { m_sale->EditDate(); }); });
    connect(cmdConfirm, &QPushButton::clicked, this, &frmVendite::ConfirmSale);
    connect(cmdCancel, &QPushButton::clicked, this, &frmVendite::CancelSale);
    connect(cmbTipiDocumento, &QComboBox::currentIndexChanged, this, &frmVendite::DocumentTypeChanged);
    connect(txtNumeroCoperti, &QLineEdit::editingFinished, this, &frmVendite::CoversValidated);
    txtNumeroCoperti->installEventFilter(this);
}

// ---- Loading and the modal run ----

bool frmVendite::Load()
{
    txtCliente->clear();
    txtData->setText(SaleDate());
    lblTotale->clear();
    lblTotaleConv->clear();
    txtNote->clear();

    if (NeedsDateWarning(SaleDateValue(), SaleNow()))
        Dialogs().MessageBox(QStringLiteral("Controllare la data della ricevuta"), MsgButtons::Ok, MsgIcon::None,
                             MsgDefault::Button1, QString());

    if (const auto conversion = m_database->ConversionCurrency()) {
        const QString name = conversion->Name(-1);
        lblAltraValuta->setText(name + QStringLiteral(":"));
        lblTotaleConv->setToolTip(lblTotaleConv->toolTip() + QStringLiteral(" ") + name);
    }

    try {
        if (m_sale->Load() != OpenSale::LoadResult::Ready)
            return false;
        const QSignalBlocker quiet(cmbTipiDocumento);
        auto types = m_sale->DocumentTypes();
        for (bool more = types->MoveFirst(); more; more = types->MoveNext())
            cmbTipiDocumento->addItem(types->GetValue(QStringLiteral("Descrizione")).toString(), types->ValueAt(0));
        cmbTipiDocumento->setCurrentIndex(-1);
        m_courses->SetDataObject(m_sale->CoursesData());
        dgPortate->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    } catch (const std::exception& error) {
        ShowErrorReport(QStringLiteral("Apertura della finestra vendite fallita: \r\r") + ErrorText(error), error);
        return false;
    }
    LoadFormState(*this);
    m_loaded = true;
    return true;
}

int frmVendite::ShowModal(QWidget* owner, std::shared_ptr<DatabaseObject> database, std::shared_ptr<DatabaseEngine> engine)
{
    frmVendite window(std::move(database), std::move(engine), owner);
    if (!window.Load())
        return QDialog::Rejected;
    return Dialogs().ExecModal(window);
}

bool frmVendite::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        QMetaObject::invokeMethod(this, &frmVendite::StartSaleIfNone, Qt::QueuedConnection);
    return QDialog::event(event);
}

void frmVendite::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_minimumSet) {
        m_minimumSet = true;
        UpdateMinimumSize();
    }
    // Shown without being activated (no window manager): the sale starts all the same.
    QMetaObject::invokeMethod(this, &frmVendite::StartSaleIfNone, Qt::QueuedConnection);
}

void frmVendite::UpdateMinimumSize()
{
    // The window never gets lower than the rows grid's top plus twice the
    // bottom band, nor narrower than the document type list's right edge
    // plus the same margin; the window system then keeps it there.
    layout()->activate();
    const QPoint rowsAt = dgRighe->mapTo(this, QPoint(0, 0));
    const QPoint typesAt = cmbTipiDocumento->mapTo(this, QPoint(0, 0));
    const int height = rowsAt.y() + 2 * pnlBottom->sizeHint().height();
    const int width = typesAt.x() + cmbTipiDocumento->width() + rowsAt.x();
    const QSize least = layout()->minimumSize();
    setMinimumSize(std::max(width, least.width()), std::max(height, least.height()));
}

void frmVendite::StartSaleIfNone()
{
    if (!m_loaded || m_starting || m_closed || !isVisible() || m_sale->IsOpen())
        return;
    m_starting = true;
    const bool started = m_sale->Add_Vendita();
    m_starting = false;
    if (!started)
        CloseWindow();
}

// ---- Closing ----

void frmVendite::CloseWindow()
{
    done(QDialog::Rejected);
}

void frmVendite::done(int result)
{
    if (!m_closed && m_loaded) {
        m_closed = true;
        try {
            SaveFormState(*this);
        } catch (const Exception&) {
            // The position is a convenience: the till closes all the same.
        }
    }
    // Whatever was not confirmed goes: the archive is free again.
    try {
        m_sale->Close_Vendita();
    } catch (const std::exception&) {
    }
    QDialog::done(result);
}

bool frmVendite::AskAbandon()
{
    return Dialogs().MessageBox(QStringLiteral("Confermi l'annullamento della vendita ?"), MsgButtons::YesNo,
                                MsgIcon::Question, MsgDefault::Button2, QString())
           == MsgResult::Yes;
}

void frmVendite::reject()
{
    // Escape: as "Annulla".
    if (cmdCancel->isEnabled())
        CancelSale();
}

void frmVendite::closeEvent(QCloseEvent* event)
{
    // The close box ends the till; a sale with rows is abandoned only on Yes.
    if (!cmdCancel->isEnabled()) {
        event->ignore();
        return;
    }
    bool hasRows = false;
    try {
        hasRows = m_sale->HasRows();
    } catch (const std::exception&) {
    }
    if (hasRows && !AskAbandon()) {
        event->ignore();
        return;
    }
    event->accept();
    CloseWindow();
}

// ---- Keys ----

bool frmVendite::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        QWidget* focus = QApplication::focusWidget();
        if (widget && widget->window() == this && isVisible() && (widget == focus || (!focus && widget == this)))
            return PreviewKey(static_cast<QKeyEvent*>(event));
    } else if (watched == txtNumeroCoperti && event->type() == QEvent::FocusIn) {
        // The whole number is selected, so that typing replaces it.
        QTimer::singleShot(0, txtNumeroCoperti, [box = txtNumeroCoperti] { box->selectAll(); });
    }
    return QDialog::eventFilter(watched, event);
}

bool frmVendite::PreviewKey(QKeyEvent* key)
{
    QWidget* focus = QApplication::focusWidget();
    if (focus == txtNote && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        if (key->modifiers() & Qt::ControlModifier)
            txtNote->insertPlainText(QStringLiteral("\n"));
        return true;
    }
    const SaleKey command = SaleKeyOf(key->key(), key->modifiers(), key->text(), focus == dgRighe, focus == dgPortate);
    switch (command) {
    case SaleKey::None:
        return false;
    case SaleKey::TogglePrint:
        chkFiscalRecord->setChecked(!chkFiscalRecord->isChecked());
        return true;
    case SaleKey::CoversToRow:
        Run([&] { m_sale->QuantityFromCovers(RowBookmark()); });
        return true;
    case SaleKey::Customer:
        Run([&] { m_sale->ChooseCustomer(); });
        return true;
    case SaleKey::Quantity:
        Run([&] { m_sale->EditQuantity(RowBookmark()); });
        return true;
    case SaleKey::DeleteRow:
        Run([&] { m_sale->DeleteRow(RowBookmark()); });
        return true;
    case SaleKey::EditRow:
        Run([&] { m_sale->EditRow(RowBookmark()); });
        return true;
    case SaleKey::FocusRows:
        dgRighe->setFocus(Qt::OtherFocusReason);
        return true;
    case SaleKey::StepUp:
    case SaleKey::StepDown: {
        OpenSale::StepResult result = OpenSale::StepResult::NoRow;
        Run([&] {
            result = command == SaleKey::StepUp ? m_sale->StepUp(RowBookmark()) : m_sale->StepDown(RowBookmark());
        });
        return result != OpenSale::StepResult::NotApplicable;
    }
    case SaleKey::ChooseCourse:
        ChooseCourse();
        return true;
    }
    return false;
}

std::optional<qint64> frmVendite::RowBookmark() const
{
    const QModelIndex current = dgRighe->selectionModel() ? dgRighe->selectionModel()->currentIndex() : QModelIndex();
    if (!current.isValid())
        return std::nullopt;
    return current.row();
}

template <typename Operation>
void frmVendite::Run(Operation&& operation)
{
    try {
        operation();
    } catch (const std::exception& error) {
        ShowErrorReport(QStringLiteral("Errore in modifica dati: \r\r") + ErrorText(error), error);
        // The rows and totals show what the archive holds.
        try {
            if (m_sale->IsOpen()) {
                Refresh_Righe();
                RefreshTotals();
            }
        } catch (const std::exception&) {
        }
    }
}

void frmVendite::ChooseCourse()
{
    Run([&] {
        const QModelIndex current = dgPortate->selectionModel()->currentIndex();
        QVariant course;
        if (current.isValid() && m_courses->Model().MoveToRow(current.row()))
            course = m_sale->CoursesData()->ValueAt(0);
        m_sale->ChooseMenuItem(course);
    });
}

// ---- Showing the sale ----

void frmVendite::Refresh_Testata()
{
    const auto& receipt = m_sale->ReceiptData();
    if (!receipt)
        return;
    m_showingHeader = true;
    // The covers of this sale (0 when it starts).
    txtNumeroCoperti->setText(QStringLiteral("%1").arg(m_sale->CoverCount(), 3));
    txtCliente->setText(receipt->FormattedValue(QStringLiteral("Cliente")));
    txtData->setText(receipt->FormattedValue(QStringLiteral("Data")));
    txtNumero->setReadOnly(false);
    txtNumero->setText(receipt->FormattedValue(QStringLiteral("Numero")));
    txtNumero->setReadOnly(true);
    {
        const QSignalBlocker quiet(cmbTipiDocumento);
        cmbTipiDocumento->setCurrentIndex(cmbTipiDocumento->findData(receipt->GetValue(QStringLiteral("OID_TipoDocumento"))));
    }
    if (!m_noteBinding) {
        m_noteBinding = new TextBoxBinding(txtNote, receipt, QStringLiteral("Note"));
        m_dateBinding = new TextBoxBinding(txtData, receipt, QStringLiteral("Data"));
    } else {
        m_noteBinding->Bind(receipt, QStringLiteral("Note"));
        m_dateBinding->Bind(receipt, QStringLiteral("Data"));
    }
    m_showingHeader = false;
    txtNumeroCoperti->setFocus(Qt::OtherFocusReason);
}

void frmVendite::Refresh_Righe()
{
    const auto& rows = m_sale->RowsData();
    if (m_rows->Model().GetDataObject() != rows) {
        const bool first = !m_rows->Model().GetDataObject();
        m_rows->SetDataObject(rows);
        if (first) {
            // Widths set once for figures of the till's size (measuring every
            // cell at each keystroke would cost more than the keystroke); the
            // name takes the rest. The grid keeps them from sale to sale.
            QHeaderView* header = dgRighe->horizontalHeader();
            const QFontMetrics metrics(dgRighe->font());
            for (int column = 0; column < m_rows->Model().columnCount(); ++column) {
                const QString field = m_rows->Model().FieldNameOfColumn(column);
                if (field == QLatin1String("Nome")) {
                    header->setSectionResizeMode(column, QHeaderView::Stretch);
                    continue;
                }
                const QString caption = m_rows->Model().headerData(column, Qt::Horizontal).toString();
                const int width = std::max(metrics.horizontalAdvance(caption), metrics.horizontalAdvance(QStringLiteral("00.000,00")));
                dgRighe->setColumnWidth(column, width + 16);
            }
        }
    }
    m_rows->FollowCurrentRecord();
}

void frmVendite::RefreshTotals()
{
    lblTotale->setText(m_sale->TotalText());
    lblTotaleConv->setText(m_sale->ConvertedTotalText());
    lblTotaleSuCoperti->setText(m_sale->PerCoverText());
}

void frmVendite::DocumentTypeChanged(int index)
{
    if (m_showingHeader || index < 0)
        return;
    const QVariant key = cmbTipiDocumento->itemData(index);
    Run([&] { m_sale->SetDocumentType(key.toLongLong()); });
}

void frmVendite::CoversValidated()
{
    if (!m_sale->IsOpen())
        return;
    Run([&] {
        if (!m_sale->SetCovers(txtNumeroCoperti->text()))
            txtNumeroCoperti->setText(NoCoversText());
    });
}

// ---- Confirmation and cancellation ----

void frmVendite::ShowBusy(bool busy)
{
    cmdConfirm->setEnabled(!busy);
    cmdCancel->setEnabled(!busy);
    lblPrinterMsg->setVisible(busy);
    if (busy)
        lblPrinterMsg->repaint();
}

void frmVendite::ConfirmSale()
{
    if (!m_sale->IsOpen())
        return;
    std::unique_ptr<WaitCursor> wait;
    try {
        // A date being typed is stored with the receipt (a note is, as it is typed).
        if (txtData->isModified() && !m_dateBinding->Commit())
            return;
        const auto result = m_sale->Confirm(chkFiscalRecord->isChecked(), [&](bool busy) {
            if (busy)
                wait = std::make_unique<WaitCursor>();
            else
                wait.reset();
            ShowBusy(busy);
        });
        if (result != OpenSale::ConfirmResult::Confirmed)
            return;
    } catch (const std::exception& error) {
        wait.reset();
        ShowBusy(false);
        ShowErrorReport(QStringLiteral("Errore in conferma dati: \r\r") + ErrorText(error), error);
        CloseWindow();
        return;
    }
    if (!m_sale->Add_Vendita())
        CloseWindow();
}

void frmVendite::CancelSale()
{
    try {
        if (!m_sale->HasRows()) {
            CloseWindow();
            return;
        }
        if (!AskAbandon())
            return;
        WaitCursor wait;
        QApplication::processEvents();
        m_sale->Close_Vendita();
        if (!m_sale->Add_Vendita())
            CloseWindow();
    } catch (const std::exception& error) {
        ShowErrorReport(QStringLiteral("Errore in annullamento dati: \r\r") + ErrorText(error), error);
        CloseWindow();
    }
}
