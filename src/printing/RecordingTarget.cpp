#include "printing/RecordingTarget.h"

int TicketRecord::Count(Call::Kind kind) const
{
    int n = 0;
    for (const Call& call : calls)
        n += call.kind == kind ? 1 : 0;
    return n;
}

QStringList TicketRecord::Texts() const
{
    QStringList texts;
    for (const Call& call : calls)
        if (call.kind == Call::Kind::Text)
            texts << call.op.text;
    return texts;
}

void TicketRecord::Clear()
{
    lines.clear();
    calls.clear();
    printerNames.clear();
    pages = 1;
}

RecordingTarget::RecordingTarget(std::shared_ptr<TicketRecord> record) : m_record(std::move(record)) {}

QString RecordingTarget::Mm(double value)
{
    return QString::number(value, 'f', 2);
}

namespace {
QString BoolWord(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}
} // namespace

void RecordingTarget::Add(TicketRecord::Call call, const QString& line)
{
    call.page = m_page;
    m_record->calls.push_back(std::move(call));
    m_record->lines << line;
}

void RecordingTarget::SetFont(const TicketFont& font)
{
    TicketRecord::Call call{TicketRecord::Call::Kind::Font, {}, {}, 0};
    call.op.kind = TicketOp::Kind::Font;
    call.op.font = font;
    Add(call, QStringLiteral("SetFont %1 %2 %3 %4")
                  .arg(QString::number(font.size), BoolWord(font.bold), BoolWord(font.italic), font.name));
}

void RecordingTarget::Text(QPointF topLeft, const QString& text)
{
    TicketRecord::Call call{TicketRecord::Call::Kind::Text, {}, {}, 0};
    call.op.kind = TicketOp::Kind::Text;
    call.op.rect = QRectF(topLeft, QSizeF());
    call.op.text = text;
    Add(call, QStringLiteral("TxtOut %1 %2 %3").arg(Mm(topLeft.y()), Mm(topLeft.x()), text));
}

void RecordingTarget::Box(const QRectF& box, const QColor& colour)
{
    TicketRecord::Call call{TicketRecord::Call::Kind::Box, {}, {}, 0};
    call.op.kind = TicketOp::Kind::Box;
    call.op.rect = box;
    call.op.colour = colour;
    Add(call, QStringLiteral("BoxOut %1 %2 %3 %4").arg(Mm(box.y()), Mm(box.x()), Mm(box.height()), Mm(box.width())));
}

void RecordingTarget::TicketDone(const QRectF& ticket)
{
    Add({TicketRecord::Call::Kind::NextTicket, {}, ticket, 0}, QStringLiteral("NextTicket"));
}

void RecordingTarget::NewPage()
{
    ++m_page;
    ++m_record->pages;
    Add({TicketRecord::Call::Kind::NewPage, {}, {}, 0}, QStringLiteral("NewPage"));
}

bool RecordingTarget::End(QString* error)
{
    Add({TicketRecord::Call::Kind::EndTickets, {}, {}, 0}, QStringLiteral("EndTickets"));
    m_page = 0;
    if (m_record->endFailure.isEmpty())
        return true;
    if (error)
        *error = m_record->endFailure;
    return false;
}

void RecordingTarget::Abort()
{
    Add({TicketRecord::Call::Kind::Abort, {}, {}, 0}, QStringLiteral("Abort"));
}
