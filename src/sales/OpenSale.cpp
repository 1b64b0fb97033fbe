#include "sales/OpenSale.h"

#include "app/ErrorReport.h"
#include "app/SaleDate.h"
#include "app/SettingsStore.h"
#include "component/ComponentErrors.h"
#include "component/ComponentGlobal.h"
#include "component/Currency.h"
#include "component/DataObject.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/Exception.h"
#include "component/FieldInfo.h"
#include "component/Table.h"
#include "component/TableDef.h"
#include "component/widgets/DialogService.h"
#include "sales/SaleRules.h"
#include "sales/TicketPrinting.h"

namespace {

const QString kReceipts = QStringLiteral("Ricevute");
const QString kRows = QStringLiteral("Righe");
const QString kQuantity = QStringLiteral("Quantità");
const QString kPrice = QStringLiteral("Prezzo");
const QString kTotal = QStringLiteral("Importo_Ricevuta");
const QString kRowsOrder = QStringLiteral("RigheRicevute.OID");
const QString kRowsSelect = QStringLiteral("*,Quantità, Nome, Prezzo, Importo_Riga");

bool IsNull(const QVariant& value) { return !value.isValid() || value.isNull(); }

// A key stored as text in the settings store ("12"), or nullopt.
std::optional<qint64> StoredKey(const QString& key)
{
    const QString text = OpenSettingsStore()->value(QStringLiteral("Ricevute/") + key).toString().trimmed();
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

void StoreKey(const QString& key, const QVariant& value)
{
    if (IsNull(value))
        return;
    auto store = OpenSettingsStore();
    store->setValue(QStringLiteral("Ricevute/") + key, QString::number(value.toLongLong()));
    store->sync();
}

void Message(const QString& text, MsgIcon icon)
{
    Dialogs().MessageBox(text, MsgButtons::Ok, icon, MsgDefault::Button1, QString());
}

} // namespace

// ---- SaleTransaction ----

SaleTransaction::SaleTransaction(DatabaseEngine& engine) : m_engine(engine)
{
    // Nested inside another transaction the sale's commit would only
    // release a savepoint: a confirmed sale could still be lost.
    if (m_engine.InTransaction())
        throw Exception(ComponentError::Transaction,
                        QStringLiteral("Una transazione dell'archivio è già aperta: la vendita non può iniziare."));
    m_engine.BeginTransaction();
    m_open = true;
}

SaleTransaction::~SaleTransaction()
{
    try {
        Rollback();
    } catch (const Exception&) {
        // The connection rolls back by itself when it closes.
    }
}

void SaleTransaction::Commit()
{
    if (!m_open)
        throw Exception(ComponentError::Transaction, QStringLiteral("Nessuna vendita aperta da confermare"));
    m_engine.CommitTransaction();
    m_open = false;
}

void SaleTransaction::Rollback()
{
    if (!m_open)
        return;
    m_open = false;
    if (m_engine.InTransaction())
        m_engine.RollbackTransaction();
}

// ---- OpenSale ----

OpenSale::OpenSale(std::shared_ptr<DatabaseObject> database, std::shared_ptr<DatabaseEngine> engine)
    : m_database(std::move(database)), m_engine(std::move(engine)), m_printTicket(&PrintReceiptTicket)
{
}

OpenSale::~OpenSale()
{
    try {
        Close_Vendita();
    } catch (const std::exception&) {
        // Rolled back by the transaction's own guard.
    }
}

OpenSale::LoadResult OpenSale::Load()
{
    auto tables = m_database->Tables();
    m_documentTypes = tables.Item(QStringLiteral("TipiDocumento")).OpenDataObject(m_engine, {}, QStringLiteral("Descrizione"));
    if (m_documentTypes->IsEmptySet()) {
        Message(QStringLiteral("E' necessario impostare almeno un tipo documento valido"), MsgIcon::Critical);
        return LoadResult::NoDocumentTypes;
    }
    if (tables.Item(QStringLiteral("TipiPagamento")).OpenDataObject(m_engine)->IsEmptySet()) {
        Message(QStringLiteral("E' necessario impostare almeno un tipo di pagamento valido"), MsgIcon::Critical);
        return LoadResult::NoPaymentTypes;
    }
    m_courses = tables.Item(QStringLiteral("Portate")).OpenDataObject(m_engine);
    auto cover = tables.Item(QStringLiteral("Menu")).OpenDataObject(m_engine);
    m_coverItemKey = cover->FindFirst(QStringLiteral("Nome Like '") + QStringLiteral("Coperto") + QStringLiteral("%'"))
                         ? cover->ValueAt(0)
                         : QVariant();
    return LoadResult::Ready;
}

// ---- Starting and abandoning ----

std::optional<qint64> OpenSale::DefaultDocumentType()
{
    const auto stored = StoredKey(QStringLiteral("TipoDocDefault"));
    if (!stored)
        return std::nullopt;
    auto types = m_database->Tables().Item(QStringLiteral("TipiDocumento")).OpenDataObject(m_engine);
    if (!types->FindKey(*stored))
        return std::nullopt;
    return *stored;
}

bool OpenSale::Add_Vendita()
{
    Close_Vendita();
    try {
        // Until the receipt is added, every way out rolls back.
        auto transaction = std::make_unique<SaleTransaction>(*m_engine);
        auto receipt = m_database->Tables().Item(kReceipts).OpenDataObject(m_engine);

        QVariant customer;
        auto customers = receipt->OpenReferencedTable(QStringLiteral("Cliente"));
        if (customers->MoveFirst()) {
            customer = customers->ValueAt(0);
        } else {
            const auto chosen = Dialogs().SelectionList(customers, QString(), QString());
            if (!chosen)
                return false;
            customer = *chosen;
        }

        std::optional<qint64> documentType = DefaultDocumentType();
        if (!documentType) {
            documentType = Dialogs().SelectionList(receipt->OpenReferencedTable(QStringLiteral("TipoDocumento")),
                                                   QString(), QString());
            if (!documentType)
                return false;
        }

        QDate date = SaleDateValue();
        if (!date.isValid())
            date = QDate::currentDate();
        receipt->AddRecord({QStringLiteral("Cliente"), customer, QStringLiteral("Data"), date,
                            QStringLiteral("TipoDocumento"), *documentType});

        m_transaction = std::move(transaction);
        m_receipt = std::move(receipt);
        m_receiptEvents = connect(m_receipt.get(), &DataObject::FieldUpdated, this, &OpenSale::OnReceiptFieldUpdated);
        m_coverCount = 0;
        Refresh_Righe();
        Q_EMIT HeaderChanged();
        Q_EMIT TotalsChanged();
        return true;
    } catch (const std::exception& error) {
        Release();
        const auto* own = dynamic_cast<const Exception*>(&error);
        ShowErrorReport(QStringLiteral("Impossibile iniziare la vendita: \r\r")
                            + (own ? own->Description() : QString::fromLocal8Bit(error.what())),
                        error);
        return false;
    }
}

void OpenSale::Release()
{
    disconnect(m_receiptEvents);
    m_rows.reset();
    m_receipt.reset();
    if (m_transaction) {
        auto transaction = std::move(m_transaction);
        transaction->Rollback();
    }
}

void OpenSale::Close_Vendita()
{
    const bool wasOpen = m_receipt || m_transaction;
    // Rolling back takes the receipt, its rows and its payment away together.
    Release();
    if (wasOpen)
        Q_EMIT SaleClosed();
}

bool OpenSale::HasRows()
{
    return m_rows && !m_rows->IsEmptySet();
}

// ---- Rows ----

void OpenSale::Refresh_Righe(std::optional<qint64> rowKey)
{
    m_rows = m_receipt->OpenReference(kRows, kRowsOrder, kRowsSelect);
    m_linkColumn = m_rows->Table().baseLinkColumn;
    if (rowKey)
        m_rows->FindKey(*rowKey);
    else if (!m_rows->IsEmptySet())
        m_rows->MoveLast();
    Q_EMIT RowsChanged();
}

void OpenSale::OnReceiptFieldUpdated(const QString& name)
{
    if (name == kTotal)
        Q_EMIT TotalsChanged();
}

bool OpenSale::ChooseMenuItem(const QVariant& courseKey)
{
    if (!IsOpen() || IsNull(courseKey)) {
        Dialogs().Beep();
        return false;
    }
    auto items = m_database->Tables().Item(QStringLiteral("Menu")).OpenDataObject(
        m_engine, QStringLiteral("OID_Portata = %1").arg(courseKey.toLongLong()), QStringLiteral("Ordine_Menù,Nome"));
    const auto chosen = Dialogs().SelectionList(items, QString(), QStringLiteral("Nome"));
    if (!chosen)
        return false;
    AddMenuItem(*chosen);
    return true;
}

qint64 OpenSale::AddMenuItem(qint64 menuKey)
{
    qint64 rowKey = 0;
    if (m_rows->FindFirst(QStringLiteral("%1 = %2").arg(m_linkColumn).arg(menuKey))) {
        m_rows->SetValue(kQuantity, m_rows->GetValue(kQuantity).toDouble() + 1);
        m_rows->SaveRecord();
        rowKey = m_rows->ValueAt(0).toLongLong();
    } else {
        m_rows->AddRecord({m_linkColumn, menuKey});
        rowKey = m_rows->ValueAt(0).toLongLong();
    }
    Refresh_Righe(rowKey);
    return rowKey;
}

bool OpenSale::SetCovers(const QString& text)
{
    const auto covers = CoversOf(text);
    if (covers) {
        m_coverCount = *covers;
        Q_EMIT TotalsChanged();
    }
    if (m_coverCount > 0)
        Add_Coperti(m_coverCount);
    return covers.has_value();
}

void OpenSale::Add_Coperti(qint16 covers)
{
    if (covers < 1 || !IsOpen())
        return;
    if (IsNull(m_coverItemKey)) {
        Message(QStringLiteral("Nel Menù deve essere presente la voce ") + QStringLiteral("Coperto")
                    + QStringLiteral(" con il relativo importo"),
                MsgIcon::Information);
        return;
    }
    qint64 rowKey = 0;
    if (m_rows->FindFirst(QStringLiteral("%1 = %2").arg(m_linkColumn).arg(m_coverItemKey.toLongLong()))) {
        m_rows->SetValue(kQuantity, double(covers));
        m_rows->SaveRecord();
    } else {
        m_rows->AddRecord({m_linkColumn, m_coverItemKey, kQuantity, double(covers)});
    }
    rowKey = m_rows->ValueAt(0).toLongLong();
    Refresh_Righe(rowKey);
}

bool OpenSale::MoveToRow(std::optional<qint64> row, bool beep)
{
    if (IsOpen() && row && *row >= 0 && m_rows->MoveTo(*row) && !m_rows->NoCurrentRecord())
        return true;
    if (beep)
        Dialogs().Beep();
    return false;
}

void OpenSale::StoreQuantity(const QVariant& quantity)
{
    m_rows->SetValue(kQuantity, quantity);
    m_rows->SaveRecord();
    Refresh_Righe(m_rows->ValueAt(0).toLongLong());
}

OpenSale::StepResult OpenSale::MoveToPricedRow(std::optional<qint64> row)
{
    if (!IsOpen() || !row || *row < 0)
        return StepResult::NoRow;
    if (!m_rows->MoveTo(*row) || m_rows->NoCurrentRecord())
        return StepResult::NotApplicable;
    const QVariant price = m_rows->GetValue(kPrice);
    if (IsNull(price) || price.value<Currency>() == Currency())
        return StepResult::NotApplicable;
    return StepResult::Done;
}

OpenSale::StepResult OpenSale::StepUp(std::optional<qint64> row)
{
    if (const StepResult found = MoveToPricedRow(row); found != StepResult::Done)
        return found;
    const double quantity = m_rows->GetValue(kQuantity).toDouble();
    if (quantity == -1) {
        StoreQuantity(1.0);
        Dialogs().Beep();
    } else {
        StoreQuantity(quantity + 1);
    }
    return StepResult::Done;
}

OpenSale::StepResult OpenSale::StepDown(std::optional<qint64> row)
{
    if (const StepResult found = MoveToPricedRow(row); found != StepResult::Done)
        return found;
    const double quantity = m_rows->GetValue(kQuantity).toDouble();
    // The step never makes a sold row a return: 1, or a typed 0,5, is the least.
    if (quantity > 0 && quantity <= 1)
        Dialogs().Beep();
    else
        StoreQuantity(quantity - 1);
    return StepResult::Done;
}

bool OpenSale::EditQuantity(std::optional<qint64> row)
{
    if (!MoveToRow(row))
        return false;
    const QString prompt = QStringLiteral("IMPOSTARE LA QUANTITA' PER L'ARTICOLO:") + QStringLiteral("\r\r")
                           + QStringLiteral("< ") + m_rows->GetValue(QStringLiteral("Nome")).toString()
                           + QStringLiteral(" >");
    const auto answer = Dialogs().InputBox(prompt, QStringLiteral("Vendita"),
                                           QuantityText(m_rows->GetValue(kQuantity).toDouble()));
    if (!answer || answer->trimmed().isEmpty())
        return false;
    const auto quantity = ParseQuantity(*answer);
    if (!quantity) {
        Message(QStringLiteral("Il valore impostato non è valido"), MsgIcon::Exclamation);
        return false;
    }
    // The dialog may have let other events move the rows: back to the row asked for.
    if (!MoveToRow(row, false))
        return false;
    StoreQuantity(*quantity);
    return true;
}

void OpenSale::SetQuantity(std::optional<qint64> row, double quantity)
{
    if (MoveToRow(row))
        StoreQuantity(quantity);
}

void OpenSale::QuantityFromCovers(std::optional<qint64> row)
{
    if (MoveToRow(row))
        StoreQuantity(double(m_coverCount));
}

void OpenSale::DeleteRow(std::optional<qint64> row)
{
    if (!MoveToRow(row))
        return;
    // Removed from the receipt and deleted: a row never outlives its receipt.
    m_receipt->SetReference(kRows, m_rows->ValueAt(0), true);
    Refresh_Righe();
}

void OpenSale::EditRow(std::optional<qint64> row)
{
    if (!MoveToRow(row))
        return;
    RecordEditorOptions options;
    options.baseTableOption = 255;
    const auto stored = Dialogs().RecordEditor(m_rows, EditMode::CurrentRecord, options);
    if (stored)
        Refresh_Righe(*stored);
}

void OpenSale::OrderRowsBy(const QString& field)
{
    if (!m_rows || field.isEmpty())
        return;
    m_rows->SetSort(NextColumnOrder(m_rows->Sort(), field));
    Q_EMIT RowsChanged();
}

// ---- Header ----

void OpenSale::SetDocumentType(qint64 documentTypeKey)
{
    if (!IsOpen())
        return;
    if (ComponentGlobal::ValuesEqual(m_receipt->GetValue(QStringLiteral("OID_TipoDocumento")), documentTypeKey))
        return;
    m_receipt->SetValue(QStringLiteral("TipoDocumento"), documentTypeKey);
    m_receipt->SaveRecord();
    Q_EMIT HeaderChanged();
}

void OpenSale::ChooseCustomer()
{
    if (!IsOpen())
        return;
    const auto chosen = Dialogs().SelectionList(m_receipt->OpenReferencedTable(QStringLiteral("Cliente")), QString(), QString());
    if (!chosen)
        return;
    m_receipt->SetValue(QStringLiteral("Cliente"), *chosen);
    Q_EMIT HeaderChanged();
}

void OpenSale::EditDate()
{
    if (!IsOpen())
        return;
    if (!Dialogs().ValueEditor(m_receipt, QStringLiteral("Data"), QStringLiteral("Data Ricevuta")))
        return;
    m_receipt->SaveRecord();
    Q_EMIT HeaderChanged();
}

// ---- Totals ----

QString OpenSale::TotalText() const
{
    return m_receipt ? m_receipt->FormattedValue(kTotal) : QString();
}

QString OpenSale::ConvertedTotalText() const
{
    return m_receipt ? m_receipt->FormattedValue(kTotal, true) : QString();
}

QString OpenSale::PerCoverText() const
{
    if (m_coverCount < 1 || !m_receipt)
        return QStringLiteral("0");
    const QVariant total = m_receipt->GetValue(kTotal);
    const double amount = IsNull(total) ? 0.0 : total.value<Currency>().ToDouble();
    return m_database->FormatNumber(amount / double(m_coverCount), FieldType::Currency, 0);
}

// ---- Confirmation ----

bool OpenSale::Add_Pagamento()
{
    auto tables = m_database->Tables();
    auto types = tables.Item(QStringLiteral("TipiPagamento")).OpenDataObject(m_engine);
    std::optional<qint64> type = StoredKey(QStringLiteral("PagamentoDefault"));
    if (type && !types->FindKey(*type))
        type.reset();
    if (!type) {
        type = Dialogs().SelectionList(types, QString(), QString());
        if (!type)
            return false;
    }

    auto payments = tables.Item(QStringLiteral("PagamentiCliente")).OpenDataObject(m_engine);
    payments->AddRecord({QStringLiteral("Importo"), m_receipt->GetValue(kTotal), QStringLiteral("Cliente"),
                         m_receipt->GetValue(QStringLiteral("OID_Cliente")), QStringLiteral("Pagamento"), *type});
    const QVariant paymentKey = payments->ValueAt(0);
    m_receipt->SetReference(QStringLiteral("Pagamento"), paymentKey);
    m_receipt->SaveRecord();

    const auto stored = Dialogs().RecordEditor(payments, EditMode::CurrentRecord, RecordEditorOptions());
    if (!stored) {
        // Taken off the receipt and deleted, so that confirming again
        // records one payment, not two.
        m_receipt->SetReference(QStringLiteral("Pagamento"), paymentKey, true);
        return false;
    }
    if (payments->FindKey(*stored))
        StoreKey(QStringLiteral("PagamentoDefault"), payments->GetValue(QStringLiteral("OID_Pagamento")));
    return true;
}

OpenSale::ConfirmResult OpenSale::Confirm(bool print, const std::function<void(bool)>& busy)
{
    if (!IsOpen())
        throw Exception(ComponentError::Transaction, QStringLiteral("Nessuna vendita aperta da confermare"));
    struct BusyGuard
    {
        const std::function<void(bool)>& busy;
        bool on = false;
        void Start()
        {
            if (busy)
                busy(true);
            on = true;
        }
        ~BusyGuard()
        {
            if (on && busy)
                busy(false);
        }
    } busyGuard{busy};
    try {
        m_receipt->SaveRecord();
        if (!HasRows()) {
            Message(QStringLiteral("Nessun articolo") + QStringLiteral("\r\r")
                        + QStringLiteral("Devi inserire gli articoli della vendita..."),
                    MsgIcon::Exclamation);
            return ConfirmResult::NoRows;
        }
        if (!Add_Pagamento())
            return ConfirmResult::NoPayment;
        busyGuard.Start();
        if (print) {
            while (!m_printTicket(*m_receipt)) {
                const MsgResult retry = Dialogs().MessageBox(
                    QStringLiteral("La ricevuta non e' stata stampata correttamente...") + QStringLiteral("\r\r")
                        + QStringLiteral("Vuoi riprovare ?"),
                    MsgButtons::YesNo, MsgIcon::Exclamation, MsgDefault::Button1, QString());
                if (retry != MsgResult::Yes)
                    break;
            }
        }
        StoreKey(QStringLiteral("ClienteDefault"), m_receipt->GetValue(QStringLiteral("OID_Cliente")));
        StoreKey(QStringLiteral("TipoDocDefault"), m_receipt->GetValue(QStringLiteral("OID_TipoDocumento")));
        m_transaction->Commit();
        disconnect(m_receiptEvents);
        m_rows.reset();
        m_receipt.reset();
        m_transaction.reset();
    } catch (...) {
        // Nothing of a sale that could not be stored stays behind.
        try {
            Release();
        } catch (const std::exception&) {
        }
        Q_EMIT SaleClosed();
        throw;
    }
    Q_EMIT SaleClosed();
    if (busyGuard.on) {
        busyGuard.on = false;
        if (busy)
            busy(false);
    }
    Dialogs().Beep();
    return ConfirmResult::Confirmed;
}
