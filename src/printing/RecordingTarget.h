#pragma once
// A target that draws nothing and writes down every call, positions absolute
// on the page in millimetres: for tests, for the command-line tool and for
// the windows' tests through ScopedTicketPrinter. Its page is A4, all of it
// printable.

#include "printing/TicketPainting.h"
#include "printing/TicketTarget.h"

#include <QStringList>
#include <memory>
#include <vector>

// What one or more recording targets have been asked to do.
struct TicketRecord
{
    struct Call
    {
        enum class Kind { Font, Text, Box, NextTicket, NewPage, EndTickets, Abort };
        Kind kind;
        TicketOp op;      // Font, Text, Box
        QRectF ticket;    // NextTicket: the ticket just completed
        int page = 0;     // 0-based page the call fell on
    };

    // One line per call: "TxtOut Y X text", "BoxOut Y X H W",
    // "SetFont size True|False True|False name", "NextTicket", "NewPage",
    // "EndTickets", "Abort"; millimetres with a point and two decimals.
    QStringList lines;
    std::vector<Call> calls;
    // The printer names the targets were made for (through CreateTicketTarget).
    QStringList printerNames;
    int pages = 1;
    // When not empty, End fails with this text (a printer that is not ready).
    QString endFailure;

    int Count(Call::Kind kind) const;
    // The texts printed, in order.
    QStringList Texts() const;
    // Forgets every call.
    void Clear();
};

class RecordingTarget : public TicketTarget
{
public:
    explicit RecordingTarget(std::shared_ptr<TicketRecord> record = std::make_shared<TicketRecord>());

    QSizeF PrintableSize() const override { return QSizeF(210.0, 297.0); }
    void SetFont(const TicketFont& font) override;
    void Text(QPointF topLeft, const QString& text) override;
    void Box(const QRectF& box, const QColor& colour) override;
    void TicketDone(const QRectF& ticket) override;
    void NewPage() override;
    bool End(QString* error) override;
    void Abort() override;

    const std::shared_ptr<TicketRecord>& Record() const { return m_record; }

    // Millimetres with a point and two decimals.
    static QString Mm(double value);

private:
    void Add(TicketRecord::Call call, const QString& line);

    std::shared_ptr<TicketRecord> m_record;
    int m_page = 0;
};
