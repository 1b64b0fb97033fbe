#include "printing/frmTicketPrintSetting.h"

#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/ArchiveSession.h"
#include "app/DefaultTicketScript.h"
#include "app/LocaleNumbers.h"
#include "component/DataObject.h"
#include "component/DatabaseObject.h"
#include "component/Exception.h"
#include "component/Table.h"
#include "component/widgets/DialogService.h"
#include "printing/TicketEmission.h"
#include "printing/TicketPrinters.h"
#include "printing/clsScriptPrinter.h"
#include "printing/frmTicketPreview.h"
#include "script/ConsoleRunner.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSaveFile>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString ScriptFilter = QStringLiteral("VB Script|*.vbs");

QLabel* Caption(QWidget* owner, const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text, owner);
    label->setBuddy(buddy);
    return label;
}

QPushButton* Button(QWidget* owner, const QString& name, const QString& caption, const QString& tip = {})
{
    auto* button = new QPushButton(caption, owner);
    button->setObjectName(name);
    button->setAutoDefault(false);
    if (!tip.isEmpty())
        button->setToolTip(tip);
    return button;
}

void Warn(const QString& text)
{
    Dialogs().MessageBox(text, MsgButtons::Ok, MsgIcon::Exclamation, MsgDefault::Button1, QString());
}

// Splits a text into its lines, whatever their ends; a last line end adds no
// empty line.
QStringList TextLines(const QString& text)
{
    QString unified = text;
    unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QStringList lines = unified.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

frmTicketPrintSetting::frmTicketPrintSetting(QWidget* parent, std::shared_ptr<DatabaseObject> database,
                                             std::shared_ptr<DatabaseEngine> engine)
    : QDialog(parent), m_database(std::move(database)), m_engine(std::move(engine))
{
    setObjectName(QStringLiteral("frmTicketPrintSetting"));
    setWindowTitle(QStringLiteral("Impostazione stampa ricevute"));
    const TicketSettings& settings = Settings().Ticket;

    m_cboPrinter = new QComboBox(this);
    m_cboPrinter->setObjectName(QStringLiteral("cboPrinter"));
    m_cboPrinter->setEditable(true);
    m_cboPrinter->setInsertPolicy(QComboBox::NoInsert);
    m_cboPrinter->setToolTip(QStringLiteral("Stampante etichette"));
    m_cboPrinter->setMinimumContentsLength(36);
    auto* cmdPrnSetting = new QToolButton(this);
    cmdPrnSetting->setObjectName(QStringLiteral("cmdPrnSetting"));
    cmdPrnSetting->setText(QStringLiteral("..."));
    cmdPrnSetting->setToolTip(QStringLiteral("Impostazione stampanti"));

    m_txtColumns = NumberBox(QStringLiteral("txtColumns"),
                             QStringLiteral("Numero di ricevute stampabili nella stessa riga del modulo (per copie multiple)"), true);
    m_txtTicketHeight = NumberBox(QStringLiteral("txtTicketHeight"), QStringLiteral("Altezza della ricevuta (millimetri)"), false);
    m_txtTicketWidth = NumberBox(QStringLiteral("txtTicketWidth"), QStringLiteral("Larghezza della ricevuta (millimetri)"), false);
    m_txtTicketTop = NumberBox(QStringLiteral("txtTicketTop"), QStringLiteral("Margine superiore della prima ricevuta (millimetri)"), false);
    m_txtTicketLeft = NumberBox(QStringLiteral("txtTicketLeft"), QStringLiteral("Margine sinistro della prima ricevuta (millimetri)"), false);
    m_txtTicketRowsDim = NumberBox(QStringLiteral("txtTicketRowsDim"), QStringLiteral("Dimensione di una riga della ricevuta (millimetri)"), false);
    m_txtTicketRowsTop = NumberBox(QStringLiteral("txtTicketRowsTop"),
                                   QStringLiteral("Margine superiore dell'area  riservata alle righe della ricevuta (millimetri)"), false);
    m_txtTicketRowsBottom = NumberBox(QStringLiteral("txtTicketRowsBottom"),
                                      QStringLiteral("Margine inferiore dell'area  riservata alle righe della ricevuta (millimetri)"), false);

    m_txtVBScript = new QPlainTextEdit(this);
    m_txtVBScript->setObjectName(QStringLiteral("txtVBScript"));
    m_txtVBScript->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_txtVBScript->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_txtVBScript->setTabChangesFocus(false);
    m_txtVBScript->setMinimumSize(fontMetrics().averageCharWidth() * 90, fontMetrics().height() * 18);

    auto* top = new QGridLayout;
    top->addWidget(Caption(this, QStringLiteral("Stampante:"), m_cboPrinter), 0, 0);
    auto* printerRow = new QHBoxLayout;
    printerRow->setSpacing(2);
    printerRow->addWidget(m_cboPrinter, 1);
    printerRow->addWidget(cmdPrnSetting);
    top->addLayout(printerRow, 0, 1, 1, 3);
    top->addWidget(Caption(this, QStringLiteral("Numero di ricevute per riga:"), m_txtColumns), 1, 0);
    top->addWidget(m_txtColumns, 1, 1, Qt::AlignLeft);
    top->setColumnStretch(3, 1);

    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("fraGeometry"));
    auto* geometry = new QGridLayout(frame);
    const auto pair = [&](int row, const QString& firstCaption, QLineEdit* first, const QString& secondCaption, QLineEdit* second) {
        geometry->addWidget(Caption(frame, firstCaption, first), row, 0);
        geometry->addWidget(first, row, 1);
        if (second) {
            geometry->addWidget(Caption(frame, secondCaption, second), row, 3);
            geometry->addWidget(second, row, 4);
        }
    };
    pair(0, QStringLiteral("Altezza Ricevuta (mm):"), m_txtTicketHeight, QStringLiteral("Larghezza (mm):"), m_txtTicketWidth);
    pair(1, QStringLiteral("Margine Superiore ricevuta (mm):"), m_txtTicketTop, QStringLiteral("Sinistro (mm):"), m_txtTicketLeft);
    pair(2, QStringLiteral("Margine Superiore area righe (mm):"), m_txtTicketRowsTop, QStringLiteral("Inferiore (mm):"), m_txtTicketRowsBottom);
    pair(3, QStringLiteral("Dimensione righe (mm):"), m_txtTicketRowsDim, QString(), nullptr);
    geometry->setColumnMinimumWidth(2, 24);
    geometry->setColumnStretch(5, 1);

    auto* note = new QLabel(QStringLiteral("N.B.: Tutte le dimensioni e le posizioni sono espresse in millimetri"), this);
    note->setObjectName(QStringLiteral("lblNote"));

    auto* cmdLoad = Button(this, QStringLiteral("cmdLoad"), QStringLiteral("&Carica"), QStringLiteral("Carica lo script da file"));
    auto* cmdSave = Button(this, QStringLiteral("cmdSave"), QStringLiteral("&Salva"), QStringLiteral("Salva lo script su file"));
    auto* cmdDefault = Button(this, QStringLiteral("cmdDefault"), QStringLiteral("&Predefinto"), QStringLiteral("Imposta lo script predefinito"));
    auto* cmdPreview = Button(this, QStringLiteral("cmdPreview"), QStringLiteral("&Anteprima"), QStringLiteral("Stampa una etichetta di prova"));
    auto* cmdTest = Button(this, QStringLiteral("cmdTest"), QStringLiteral("&Test"), QStringLiteral("Stampa una etichetta di prova"));
    auto* cmdOk = Button(this, QStringLiteral("cmdOk"), QStringLiteral("&OK"));
    auto* cmdCancel = Button(this, QStringLiteral("cmdCancel"), QStringLiteral("&Esci"));

    auto* scriptButtons = new QHBoxLayout;
    scriptButtons->addWidget(cmdLoad);
    scriptButtons->addWidget(cmdSave);
    scriptButtons->addWidget(cmdDefault);
    scriptButtons->addStretch(1);
    scriptButtons->addWidget(cmdPreview);
    scriptButtons->addWidget(cmdTest);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(note, 1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(frame);
    layout->addWidget(Caption(this, QStringLiteral("VB Script di composizione comandi per la stampa della ricevuta:"), m_txtVBScript));
    layout->addWidget(m_txtVBScript, 1);
    layout->addLayout(scriptButtons);
    layout->addSpacing(4);
    layout->addLayout(buttons);

    // The installed printers in the system's order, then the PDF file and the
    // thermal printers, whose path the user completes.
    QStringList printers = Dialogs().Printers();
    const QString pdfFolder = QDir(Settings().RootDir).filePath(QStringLiteral("Ricevute PDF"));
    printers << PdfPrinterName(QDir::toNativeSeparators(pdfFolder))
             << EscPosPrinterName(576, QStringLiteral("/dev/usb/lp0"))
             << EscPosPrinterName(384, QStringLiteral("/dev/usb/lp0"));
    m_cboPrinter->addItems(printers);
    const int stored = m_cboPrinter->findText(settings.PrinterName);
    if (stored >= 0)
        m_cboPrinter->setCurrentIndex(stored);
    else
        m_cboPrinter->setEditText(settings.PrinterName);

    m_txtColumns->setText(QString::number(settings.ModuleColumns));
    m_txtVBScript->setPlainText(settings.VBScript);
    m_txtTicketHeight->setText(SingleText(settings.TicketHeight));
    m_txtTicketWidth->setText(SingleText(settings.TicketWidth));
    m_txtTicketTop->setText(SingleText(settings.TicketTop));
    m_txtTicketLeft->setText(SingleText(settings.TicketLeft));
    m_txtTicketRowsDim->setText(SingleText(settings.TicketRowsDim));
    m_txtTicketRowsTop->setText(SingleText(settings.TicketRowsTop));
    m_txtTicketRowsBottom->setText(SingleText(settings.TicketRowsBottom));

    connect(m_txtVBScript, &QPlainTextEdit::textChanged, this, [this] { m_modified = true; });
    connect(cmdPrnSetting, &QToolButton::clicked, this, &frmTicketPrintSetting::PrinterSetup);
    connect(cmdLoad, &QPushButton::clicked, this, &frmTicketPrintSetting::LoadScript);
    connect(cmdSave, &QPushButton::clicked, this, &frmTicketPrintSetting::SaveScript);
    connect(cmdDefault, &QPushButton::clicked, this, &frmTicketPrintSetting::SetDefaultScript);
    connect(cmdPreview, &QPushButton::clicked, this, &frmTicketPrintSetting::Preview);
    connect(cmdTest, &QPushButton::clicked, this, &frmTicketPrintSetting::TestPrint);
    connect(cmdOk, &QPushButton::clicked, this, &frmTicketPrintSetting::Confirm);
    connect(cmdCancel, &QPushButton::clicked, this, &frmTicketPrintSetting::reject);
    m_modified = false;
}

frmTicketPrintSetting::~frmTicketPrintSetting() = default;

QLineEdit* frmTicketPrintSetting::NumberBox(const QString& name, const QString& tip, bool whole)
{
    auto* box = new QLineEdit(this);
    box->setObjectName(name);
    box->setToolTip(tip);
    box->setAlignment(Qt::AlignRight);
    // What the boxes take: a whole number of columns, or millimetres with
    // up to two decimals.
    static const QRegularExpression columns(QStringLiteral("\\d{0,2}"));
    static const QRegularExpression millimetres(QStringLiteral("\\d{0,4}([,.]\\d{0,2})?"));
    box->setValidator(new QRegularExpressionValidator(whole ? columns : millimetres, box));
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00000,00")) + 16);
    return box;
}

std::optional<TicketGeometry> frmTicketPrintSetting::TypedGeometry()
{
    struct Entry
    {
        QLineEdit* box;
        const char* caption;
        float TicketGeometry::*field;
    };
    const Entry entries[] = {
        {m_txtTicketHeight, "Altezza Ricevuta", &TicketGeometry::height},
        {m_txtTicketWidth, "Larghezza", &TicketGeometry::width},
        {m_txtTicketTop, "Margine Superiore ricevuta", &TicketGeometry::top},
        {m_txtTicketLeft, "Sinistro", &TicketGeometry::left},
        {m_txtTicketRowsTop, "Margine Superiore area righe", &TicketGeometry::rowsTop},
        {m_txtTicketRowsBottom, "Inferiore", &TicketGeometry::rowsBottom},
        {m_txtTicketRowsDim, "Dimensione righe", &TicketGeometry::rowsDim},
    };
    const auto refuse = [](QLineEdit* box, const QString& text) {
        Warn(text);
        box->setFocus();
        box->selectAll();
        return std::nullopt;
    };
    TicketGeometry geometry;
    const QString columns = m_txtColumns->text().trimmed();
    if (columns.isEmpty() || columns.toInt() < 1)
        return refuse(m_txtColumns, QStringLiteral("Il numero di ricevute per riga deve essere almeno 1."));
    geometry.columns = qint16(columns.toInt());
    for (const Entry& entry : entries) {
        const std::optional<float> value = ParseSingle(entry.box->text());
        if (!value || *value < 0.0f)
            return refuse(entry.box, QStringLiteral("Il valore di \"%1\" non è un numero di millimetri valido.")
                                         .arg(QString::fromUtf8(entry.caption)));
        geometry.*entry.field = *value;
    }
    if (geometry.rowsDim <= 0.0f)
        return refuse(m_txtTicketRowsDim, QStringLiteral("La dimensione delle righe deve essere maggiore di zero."));
    return geometry;
}

void frmTicketPrintSetting::Confirm()
{
    const std::optional<TicketGeometry> geometry = TypedGeometry();
    if (!geometry)
        return;
    const TicketSettings saved = Settings().Ticket;
    TicketSettings& t = Settings().Ticket;
    t.PrinterName = m_cboPrinter->currentText();
    t.ModuleColumns = geometry->columns;
    t.VBScript = ScriptText();
    t.TicketHeight = geometry->height;
    t.TicketWidth = geometry->width;
    t.TicketTop = geometry->top;
    t.TicketLeft = geometry->left;
    t.TicketRowsDim = geometry->rowsDim;
    t.TicketRowsTop = geometry->rowsTop;
    t.TicketRowsBottom = geometry->rowsBottom;
    try {
        SaveSettings();
    } catch (const Exception& e) {
        Settings().Ticket = saved;
        Dialogs().MessageBox(QStringLiteral("Salvataggio delle impostazioni fallito: \r\r") + e.Description(),
                             MsgButtons::Ok, MsgIcon::Critical, MsgDefault::Button1, QString());
        return;
    }
    accept();
}

void frmTicketPrintSetting::reject()
{
    if (m_modified
        && Dialogs().MessageBox(QStringLiteral("Lo script è stato modificato...\r\rUscire senza salvare ?"), MsgButtons::YesNo,
                                MsgIcon::Question, MsgDefault::Button2, QString())
               != MsgResult::Yes)
        return;
    QDialog::reject();
}

QString frmTicketPrintSetting::ScriptText() const
{
    // The box keeps its lines apart with LF; the script's lines end in CR LF.
    QString text = m_txtVBScript->toPlainText();
    text.replace(u'\n', QStringLiteral("\r\n"));
    return text;
}

QString frmTicketPrintSetting::ProposedScriptFile() const
{
    return QDir::toNativeSeparators(AppPaths::ExecutableDir() + QStringLiteral("/TicketPrint.vbs"));
}

void frmTicketPrintSetting::LoadScript()
{
    const std::optional<QString> path =
        Dialogs().GetOpenFileName(QString(), AppPaths::ExecutableDir(), ProposedScriptFile(), ScriptFilter);
    if (!path)
        return;
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly)) {
        Dialogs().MessageBox(QStringLiteral("Impossibile leggere il file \"%1\": %2").arg(QDir::toNativeSeparators(*path), file.errorString()),
                             MsgButtons::Ok, MsgIcon::Critical, MsgDefault::Button1, QString());
        return;
    }
    QString text;
    for (const QString& line : TextLines(vbs::DecodeScriptFile(file.readAll())))
        text += line + QStringLiteral("\r\n");
    m_txtVBScript->setPlainText(text);
}

void frmTicketPrintSetting::SaveScript()
{
    const std::optional<QString> path =
        Dialogs().GetSaveFileName(QString(), AppPaths::ExecutableDir(), ProposedScriptFile(), ScriptFilter);
    if (!path)
        return;
    if (QFileInfo::exists(*path)
        && Dialogs().MessageBox(QStringLiteral("Il file esiste già...\r\rVuoi sostituirlo ?"), MsgButtons::YesNo,
                                MsgIcon::Exclamation, MsgDefault::Button2, QString())
               != MsgResult::Yes)
        return;
    // The box's lines end in CR LF; a text that already ends in a line end
    // gets no further empty line, or each save and load would add one.
    QString text = ScriptText();
    if (!text.endsWith(QStringLiteral("\r\n")))
        text += QStringLiteral("\r\n");
    QSaveFile file(*path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit())
        Dialogs().MessageBox(QStringLiteral("Impossibile salvare il file \"%1\": %2").arg(QDir::toNativeSeparators(*path), file.errorString()),
                             MsgButtons::Ok, MsgIcon::Critical, MsgDefault::Button1, QString());
}

void frmTicketPrintSetting::SetDefaultScript()
{
    m_txtVBScript->setPlainText(DefaultTicketScript());
}

void frmTicketPrintSetting::PrinterSetup()
{
    // The dialog opens on the printer of the window when it is a queue of
    // the system; what is chosen there becomes the printer of the window.
    const PrinterChoice current = ParsePrinterName(m_cboPrinter->currentText());
    const std::optional<PrinterSetupChoice> chosen = Dialogs().PrinterSetup(
        QStringLiteral("Impostazione stampanti"), current.kind == PrinterChoice::Kind::Queue ? current.target : QString());
    if (!chosen)
        return;
    const QString name = chosen->outputFile.isEmpty() ? chosen->printerName
                                                      : PdfPrinterName(QDir::toNativeSeparators(chosen->outputFile));
    if (name.isEmpty())
        return;
    const int index = m_cboPrinter->findText(name);
    if (index >= 0)
        m_cboPrinter->setCurrentIndex(index);
    else
        m_cboPrinter->setEditText(name);
}

std::shared_ptr<DataObject> frmTicketPrintSetting::ChooseReceipt()
{
    std::shared_ptr<DatabaseObject> database = m_database ? m_database : ArchiveSession::Instance().Database();
    std::shared_ptr<DatabaseEngine> engine = m_engine ? m_engine : ArchiveSession::Instance().Engine();
    if (!database || !engine) {
        Dialogs().Beep();
        return nullptr;
    }
    try {
        auto receipts = database->Tables().Item(QStringLiteral("Ricevute")).OpenDataObject(engine);
        if (!Dialogs().SelectionList(receipts, QString(), QString()))
            return nullptr;
        return receipts;
    } catch (const Exception& e) {
        Dialogs().MessageBox(e.Description(), MsgButtons::Ok, MsgIcon::Critical, MsgDefault::Button1, QString());
        return nullptr;
    }
}

void frmTicketPrintSetting::Preview()
{
    const std::optional<TicketGeometry> geometry = TypedGeometry();
    if (!geometry)
        return;
    const std::shared_ptr<DataObject> receipt = ChooseReceipt();
    if (!receipt)
        return;
    frmTicketPreview preview(this);
    // A size of 0 means the printable size of the printer chosen.
    QSizeF printable(210.0, 297.0);
    if (geometry->height == 0.0f || geometry->width == 0.0f)
        printable = CreateTicketTarget(m_cboPrinter->currentText())->PrintableSize();
    auto printer = std::make_unique<clsScriptPrinter>();
    printer->SetPrinter(std::make_unique<PreviewTarget>(&preview, printable), *geometry);
    if (TicketEmission(*receipt, printer, geometry->columns, ScriptText()))
        Dialogs().ExecModal(preview);
}

void frmTicketPrintSetting::TestPrint()
{
    const std::optional<TicketGeometry> geometry = TypedGeometry();
    if (!geometry)
        return;
    const std::shared_ptr<DataObject> receipt = ChooseReceipt();
    if (!receipt)
        return;
    auto printer = CreateTicketPrinter(m_cboPrinter->currentText(), *geometry);
    TicketEmission(*receipt, printer, 1, Settings().Ticket.VBScript);
}
