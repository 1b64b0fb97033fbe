#include "printing/clsScriptPrinter.h"

#include "printing/TicketPrinters.h"
#include "script/Convert.h"
#include "script/HostObject.h"
#include "script/ScriptError.h"

namespace {

// Floating-point slack when a line of tickets is checked against the page.
constexpr double FitSlackMm = 0.001;

const QColor FrameColour(255, 0, 0);   // colour value 255
const QColor RowAreaColour(0, 255, 0); // colour value 65280

} // namespace

// `prn` as the scripts see it. It outlives its print object only as a
// reference that raises "object not set" once the object is gone.
class ScriptPrinterObject : public vbs::HostObject
{
public:
    explicit ScriptPrinterObject(clsScriptPrinter* printer);
    void Detach() { m_printer = nullptr; }

private:
    clsScriptPrinter& Printer() const
    {
        if (!m_printer)
            throw vbs::VbError(vbs::Err::ObjectNotSet);
        return *m_printer;
    }
    static float Single(vbs::Args args, size_t i) { return vbs::Convert::ToSingle(*args[i]); }

    clsScriptPrinter* m_printer;
};

ScriptPrinterObject::ScriptPrinterObject(clsScriptPrinter* printer)
    : HostObject(QStringLiteral("clsScriptPrinter")), m_printer(printer)
{
    using vbs::Args;
    using vbs::Variant;
    AddMethod(QStringLiteral("TxtOut"), [this](Args a) {
        ExpectArgs(a, 3, 3);
        Printer().TxtOut(Single(a, 0), Single(a, 1), vbs::Convert::ToString(*a[2]));
        return Variant();
    });
    AddMethod(QStringLiteral("BoxOut"), [this](Args a) {
        ExpectArgs(a, 4, 4);
        Printer().BoxOut(Single(a, 0), Single(a, 1), Single(a, 2), Single(a, 3));
        return Variant();
    });
    AddMethod(QStringLiteral("SetFont"), [this](Args a) {
        ExpectArgs(a, 4, 4);
        Printer().SetFont(vbs::Convert::ToInteger(*a[0]), vbs::Convert::ToBool(*a[1]), vbs::Convert::ToBool(*a[2]),
                          vbs::Convert::ToString(*a[3]));
        return Variant();
    });
    AddMethod(QStringLiteral("NextTicket"), [this](Args a) {
        ExpectArgs(a, 0, 0);
        Printer().NextTicket();
        return Variant();
    });
    AddMethod(QStringLiteral("NextTicketRow"), [this](Args a) {
        ExpectArgs(a, 0, 0);
        Printer().NextTicketRow();
        return Variant();
    });
    AddMethod(QStringLiteral("InitializeVars"), [this](Args a) {
        ExpectArgs(a, 0, 0);
        Printer().InitializeVars();
        return Variant();
    });
    AddMethod(QStringLiteral("EndTickets"), [this](Args a) {
        ExpectArgs(a, 0, 0);
        Printer().EndTickets();
        return Variant();
    });
    AddProperty(QStringLiteral("RowPrinting"), [this](Args) { return Variant::Bool(Printer().RowPrinting()); });
    AddProperty(QStringLiteral("CurX"), [this](Args) { return Variant::Single(Printer().CurX()); });
    AddProperty(QStringLiteral("CurY"), [this](Args) { return Variant::Single(Printer().CurY()); });
    AddProperty(QStringLiteral("LastRow"), [this](Args) { return Variant::Bool(Printer().LastRow()); });
}

clsScriptPrinter::clsScriptPrinter() = default;

clsScriptPrinter::~clsScriptPrinter()
{
    if (m_scriptObject)
        m_scriptObject->Detach();
    // The job ends here unless it was ended already and nothing followed.
    if (m_target && m_pending)
        EndTickets();
}

void clsScriptPrinter::SetPrinter(std::unique_ptr<TicketTarget> target, float ticketHeight, float ticketWidth,
                                  float ticketTop, float ticketLeft, qint16 columns, float ticketRowsDim,
                                  float ticketRowsTop, float ticketRowsBottom)
{
    SetPrinter(std::move(target), TicketGeometry{ticketHeight, ticketWidth, ticketTop, ticketLeft, columns,
                                                 ticketRowsDim, ticketRowsTop, ticketRowsBottom});
}

void clsScriptPrinter::SetPrinter(std::unique_ptr<TicketTarget> target, const TicketGeometry& geometry)
{
    m_target = std::move(target);
    m_geometry = geometry;
    InitializeVars();
}

void clsScriptPrinter::SetPrinter(const QString& printerName, const TicketGeometry& geometry)
{
    SetPrinter(CreateTicketTarget(printerName), geometry);
}

void clsScriptPrinter::InitializeVars()
{
    m_columnOffset = 0.0f;
    m_ticketOffset = 0.0f;
    m_rowOffset = 0.0f;
    m_columnIndex = 0;
    m_rowPrinting = false;
    m_pending = true;
    if (m_geometry.columns <= 0)
        m_geometry.columns = 1;
    if (!m_target)
        return;
    // The preview too takes the printable size for 0: a ticket of no size
    // would leave it nothing to scale.
    const QSizeF printable = m_target->PrintableSize();
    if (m_geometry.height == 0.0f)
        m_geometry.height = float(printable.height());
    if (m_geometry.width == 0.0f)
        m_geometry.width = float(printable.width());
    m_target->Prepare(m_geometry);
}

float clsScriptPrinter::CurX() const
{
    return m_geometry.left + m_columnOffset;
}

float clsScriptPrinter::CurY() const
{
    float y = m_geometry.top + m_ticketOffset;
    if (m_rowPrinting)
        y += m_geometry.rowsTop + m_rowOffset;
    return y;
}

void clsScriptPrinter::TxtOut(float nYPos, float nXPos, const QString& sText)
{
    m_pending = true;
    if (m_target)
        m_target->Text(QPointF(double(CurX() + nXPos), double(CurY() + nYPos)), sText);
}

void clsScriptPrinter::BoxOut(float nYPos, float nXPos, float nYDim, float nXDim)
{
    m_pending = true;
    if (m_target)
        m_target->Box(QRectF(double(CurX() + nXPos), double(CurY() + nYPos), double(nXDim), double(nYDim)), Qt::black);
}

void clsScriptPrinter::SetFont(qint16 nSize, bool bBold, bool bItalic, const QString& sFontName)
{
    if (!sFontName.isEmpty())
        m_font.name = sFontName;
    m_font.size = nSize;
    m_font.bold = bBold;
    m_font.italic = bItalic;
    if (m_target)
        m_target->SetFont(m_font);
}

void clsScriptPrinter::DrawTicketFrame()
{
    const double x = double(m_geometry.left + m_columnOffset);
    const double y = double(m_geometry.top + m_ticketOffset);
    m_target->Box(QRectF(x, y, double(m_geometry.width), double(m_geometry.height)), FrameColour);
    m_target->Box(QRectF(x + 1.0, y + double(m_geometry.rowsTop), double(m_geometry.width) - 2.0,
                         double(m_geometry.rowsBottom - m_geometry.rowsTop)),
                  RowAreaColour);
}

void clsScriptPrinter::NextTicket()
{
    m_pending = true;
    if (m_target) {
        if (m_target->TargetKind() == TicketTarget::Kind::Preview)
            DrawTicketFrame();
        m_target->TicketDone(QRectF(double(m_geometry.left + m_columnOffset), double(m_geometry.top + m_ticketOffset),
                                    double(m_geometry.width), double(m_geometry.height)));
    }
    ++m_columnIndex;
    if (m_columnIndex < m_geometry.columns) {
        m_columnOffset += m_geometry.width;
        return;
    }
    m_columnIndex = 0;
    m_columnOffset = 0.0f;
    m_ticketOffset += m_geometry.height;
    if (!m_target || m_target->TargetKind() != TicketTarget::Kind::Page)
        return;
    // The next line must fit below the page's top margin too.
    const double bottom = double(m_geometry.top) + double(m_ticketOffset) + double(m_geometry.height);
    if (bottom > m_target->PrintableSize().height() + FitSlackMm) {
        m_target->NewPage();
        m_ticketOffset = 0.0f;
    }
}

void clsScriptPrinter::NextTicketRow()
{
    if (LastRow())
        NextTicket();
    else
        m_rowOffset += m_geometry.rowsDim;
}

bool clsScriptPrinter::LastRow() const
{
    if (m_rowOffset == 0.0f)
        return false;
    const float v = m_geometry.rowsTop + m_rowOffset + 2.0f * m_geometry.rowsDim;
    return v >= m_geometry.rowsBottom;
}

void clsScriptPrinter::SetRowPrinting(bool value)
{
    if (value != m_rowPrinting)
        m_rowOffset = 0.0f;
    m_rowPrinting = value;
}

bool clsScriptPrinter::EndTickets()
{
    m_pending = false;
    bool ok = true;
    if (m_target) {
        QString error;
        ok = m_target->End(&error);
        if (!ok)
            m_lastError = error;
    }
    m_columnOffset = 0.0f;
    m_ticketOffset = 0.0f;
    m_columnIndex = 0;
    return ok;
}

void clsScriptPrinter::Abort()
{
    if (m_target)
        m_target->Abort();
}

std::shared_ptr<vbs::ScriptObject> clsScriptPrinter::ScriptObject()
{
    if (!m_scriptObject)
        m_scriptObject = std::make_shared<ScriptPrinterObject>(this);
    return m_scriptObject;
}
