#pragma once
// The open sale of the till. A sale is a receipt added to the archive the
// moment it starts, inside a transaction of its own; every row the cashier
// adds, changes or removes is written at once, and the table rules keep row
// amounts, the total, the number and the fiscal year right. Confirming
// records the customer's payment, prints the ticket and commits; every other
// way out (cancelling, closing the window, an error, the process ending)
// rolls the sale back, so that the archive never keeps half a sale and is
// free again for the next one.
//
// The class runs without a window: it asks through the dialog service
// (selection lists, record and value editors, message and input boxes,
// beeps) and tells the sale window what to show through its signals.

#include <QObject>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

class DataObject;
class DatabaseEngine;
class DatabaseObject;

// The transaction of one sale: begun as the outermost transaction of the
// archive (so that its commit reaches the disk), rolled back unless
// committed.
class SaleTransaction
{
public:
    // Throws Exception: Busy when another process holds the archive,
    // Transaction when a transaction is already open on this connection.
    explicit SaleTransaction(DatabaseEngine& engine);
    ~SaleTransaction();
    SaleTransaction(const SaleTransaction&) = delete;
    SaleTransaction& operator=(const SaleTransaction&) = delete;

    // Throws when the archive refuses the commit; the transaction then stays
    // open, to be rolled back.
    void Commit();
    void Rollback();
    bool IsOpen() const { return m_open; }

private:
    DatabaseEngine& m_engine;
    bool m_open = false;
};

// Prints the ticket of a receipt; true when it was printed completely.
using TicketPrinter = std::function<bool(DataObject& receipt)>;

class OpenSale : public QObject
{
    Q_OBJECT

public:
    OpenSale(std::shared_ptr<DatabaseObject> database, std::shared_ptr<DatabaseEngine> engine);
    // Rolls back a sale still open.
    ~OpenSale() override;

    // ---- Loading ----

    enum class LoadResult { Ready, NoDocumentTypes, NoPaymentTypes };
    // Opens the document types (by description), checks the payment types,
    // opens the courses and looks up the cover item. A refusal is shown
    // (critical icon) before it is returned.
    LoadResult Load();
    const std::shared_ptr<DataObject>& DocumentTypes() const { return m_documentTypes; }
    const std::shared_ptr<DataObject>& CoursesData() const { return m_courses; }
    // The menu item whose name begins with "Coperto", or Null.
    const QVariant& CoverItemKey() const { return m_coverItemKey; }

    // ---- The sale ----

    bool IsOpen() const { return m_transaction && m_transaction->IsOpen() && m_receipt; }
    // Starts a sale: the customer (the first of the archive, or chosen),
    // the document type (the default of the last sale, or chosen) and the
    // sale date. False when the user closed a selection list or the archive
    // refused (the error has been shown); nothing is left open then.
    bool Add_Vendita();
    // Abandons the open sale: nothing of it stays in the archive.
    void Close_Vendita();

    const std::shared_ptr<DataObject>& ReceiptData() const { return m_receipt; }
    const std::shared_ptr<DataObject>& RowsData() const { return m_rows; }
    qint16 CoverCount() const { return m_coverCount; }
    bool HasRows();

    // ---- Rows ----
    // `row` is the position of the row under the rows grid's cursor
    // (nullopt: no row there). A row action without a row beeps.

    // Offers the menu items of a course and adds the chosen one (or raises
    // its quantity). False when the list was closed without choosing.
    bool ChooseMenuItem(const QVariant& courseKey);
    // Adds one of a menu item: a new row, or one more on its row. The row's OID.
    qint64 AddMenuItem(qint64 menuKey);
    // The covers field was validated with `text`; false when the text was
    // not a number (the field then shows "  0" again).
    bool SetCovers(const QString& text);
    void Add_Coperti(qint16 covers);

    // "+" and "-": Done when handled (the key is consumed), NotApplicable when
    // the row's price is 0 or there is no current record (the character goes
    // on to the control), NoRow when there is no row under the cursor (the
    // key is swallowed).
    enum class StepResult { Done, NotApplicable, NoRow };
    StepResult StepUp(std::optional<qint64> row);
    StepResult StepDown(std::optional<qint64> row);
    // F8: asks the quantity; true when a quantity was stored.
    bool EditQuantity(std::optional<qint64> row);
    void SetQuantity(std::optional<qint64> row, double quantity);
    void QuantityFromCovers(std::optional<qint64> row);
    void DeleteRow(std::optional<qint64> row);
    void EditRow(std::optional<qint64> row);
    // Orders the rows by a column's field (first click ascending, then
    // descending, and so on).
    void OrderRowsBy(const QString& field);

    // ---- Header ----

    // The document type chosen in the list, by its OID.
    void SetDocumentType(qint64 documentTypeKey);
    void ChooseCustomer();
    void EditDate();

    // ---- Totals ----

    QString TotalText() const;
    QString ConvertedTotalText() const;
    QString PerCoverText() const;

    // ---- Confirmation ----

    enum class ConfirmResult { NoRows, NoPayment, Confirmed };
    // Stores the receipt, records the payment, prints the ticket when
    // `print` (asking whether to retry a failed print), keeps the customer
    // and document type as defaults and commits. `busy(true)` is called once
    // the payment is recorded and `busy(false)` when the sale is stored. On
    // an error the sale is rolled back and the error rethrown.
    ConfirmResult Confirm(bool print, const std::function<void(bool)>& busy = {});
    // Records the payment of the open receipt through the record editor;
    // false when no payment type was chosen or the editor was cancelled
    // (the payment is then deleted, not only unlinked).
    bool Add_Pagamento();
    // Replaces the ticket printing (tests).
    void SetTicketPrinter(TicketPrinter printer) { m_printTicket = std::move(printer); }

Q_SIGNALS:
    // A new sale started, or the header values changed (number, customer,
    // date, document type): the window shows them again.
    void HeaderChanged();
    // The rows were reopened; RowsData() is positioned on the row to show.
    void RowsChanged();
    // The total or the covers changed.
    void TotalsChanged();
    // The sale ended (confirmed or abandoned).
    void SaleClosed();

private:
    void Refresh_Righe(std::optional<qint64> rowKey = std::nullopt);
    void OnReceiptFieldUpdated(const QString& name);
    // Moves the rows to the grid's row; false (after a beep) when there is none.
    bool MoveToRow(std::optional<qint64> row, bool beep = true);
    void StoreQuantity(const QVariant& quantity);
    // Positions on a row whose quantity the step keys may change (one with a price).
    StepResult MoveToPricedRow(std::optional<qint64> row);
    std::optional<qint64> DefaultDocumentType();
    void Release();

    std::shared_ptr<DatabaseObject> m_database;
    std::shared_ptr<DatabaseEngine> m_engine;
    std::shared_ptr<DataObject> m_documentTypes;
    std::shared_ptr<DataObject> m_courses;
    QVariant m_coverItemKey;

    std::unique_ptr<SaleTransaction> m_transaction;
    std::shared_ptr<DataObject> m_receipt;
    std::shared_ptr<DataObject> m_rows;
    QMetaObject::Connection m_receiptEvents;
    QString m_rowsOrder;
    QString m_linkColumn;
    qint16 m_coverCount = 0;
    TicketPrinter m_printTicket;
};
