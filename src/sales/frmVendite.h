#pragma once
// "Emissione Ricevute", the till: the cashier chooses courses and menu items,
// sets quantities, covers, document type and customer, and confirms or
// cancels the sale. The window shows the open sale (OpenSale) and turns keys
// and clicks into its operations; the form sees the keys before its
// controls, so that the function keys work whichever control has the focus.

#include <QDialog>
#include <memory>
#include <optional>

class DatabaseEngine;
class DatabaseObject;
class GridBinding;
class OpenSale;
class QCheckBox;
class QComboBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QToolButton;
class TextBoxBinding;
class UpDownControl;

class frmVendite : public QDialog
{
    Q_OBJECT

public:
    frmVendite(std::shared_ptr<DatabaseObject> database, std::shared_ptr<DatabaseEngine> engine,
               QWidget* parent = nullptr);
    ~frmVendite() override;

    // Form_Load: fields, the date check, the currency labels, the document
    // types, payment types, courses and cover item, the saved position.
    // False when the window refused to open (the reason has been shown).
    bool Load();

    // Opens the till modally over `owner` through the dialog service; it
    // stays open from sale to sale until the cashier closes it.
    static int ShowModal(QWidget* owner, std::shared_ptr<DatabaseObject> database,
                         std::shared_ptr<DatabaseEngine> engine);

    OpenSale& Sale() const { return *m_sale; }

    QTableView* dgPortate;
    QTableView* dgRighe;
    QLineEdit* txtNumeroCoperti;
    QLineEdit* txtNumero;
    QComboBox* cmbTipiDocumento;
    QLineEdit* txtCliente;
    QLineEdit* txtData;
    QPlainTextEdit* txtNote;
    QToolButton* cmdSet_Cliente;
    QToolButton* cmdSet_DataOra;
    QPushButton* cmdEdit;
    QPushButton* cmdEdit_Quantita;
    QPushButton* cmdQtCoperti;
    QPushButton* cmdDeleteItem;
    UpDownControl* spinQuantita;
    QCheckBox* chkFiscalRecord;
    QPushButton* cmdConfirm;
    QPushButton* cmdCancel;
    QLabel* lblTotale;
    QLabel* lblTotaleConv;
    QLabel* lblAltraValuta;
    QLabel* lblTotaleSuCoperti;
    QLabel* lblPrinterMsg;
    QFrame* pnlBottom;
    QFrame* lnButtons;

public Q_SLOTS:
    // Escape and the frame's close box: as "Annulla" and closing, each
    // asking first when the sale has rows.
    void reject() override;
    void done(int result) override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void ConnectControls();
    void UpdateMinimumSize();
    void StartSaleIfNone();
    bool PreviewKey(QKeyEvent* key);
    std::optional<qint64> RowBookmark() const;
    void ChooseCourse();
    void ConfirmSale();
    void CancelSale();
    void ShowBusy(bool busy);
    void Refresh_Testata();
    void Refresh_Righe();
    void RefreshTotals();
    void DocumentTypeChanged(int index);
    void CoversValidated();
    // Runs a row or header operation, reporting its error.
    template <typename Operation>
    void Run(Operation&& operation);
    bool AskAbandon();
    void CloseWindow();

    std::shared_ptr<DatabaseObject> m_database;
    std::shared_ptr<DatabaseEngine> m_engine;
    std::unique_ptr<OpenSale> m_sale;
    std::unique_ptr<GridBinding> m_courses;
    std::unique_ptr<GridBinding> m_rows;
    TextBoxBinding* m_noteBinding = nullptr;
    TextBoxBinding* m_dateBinding = nullptr;
    bool m_loaded = false;
    bool m_starting = false;
    bool m_closed = false;
    bool m_showingHeader = false;
    bool m_minimumSet = false;
};
