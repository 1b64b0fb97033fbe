#include "component/DataExport.h"

#include "component/ComponentErrors.h"
#include "component/ComponentInterfaces.h"
#include "component/CurrencyObject.h"
#include "component/DataObject.h"
#include "component/DatabaseObject.h"
#include "component/Exception.h"
#include "component/FieldText.h"
#include "component/SqlDialect.h"

#include <QSaveFile>

namespace DataExport {

namespace {

// Progress is reported every so many records, so that a sink that lets
// window events through does not slow a long export down.
constexpr qint64 kProgressStep = 100;

// Closes the progress sink's session on every path.
class ProgressSession
{
public:
    ProgressSession(itfProgress* sink, qint64 total) : m_sink(sink), m_total(total)
    {
        if (m_sink)
            m_sink->OnStart(0, m_total);
    }
    ~ProgressSession()
    {
        if (m_sink)
            m_sink->OnEnd(0, m_total);
    }
    ProgressSession(const ProgressSession&) = delete;
    ProgressSession& operator=(const ProgressSession&) = delete;

    bool Advance(qint64 count)
    {
        if (!m_sink || (count % kProgressStep != 0 && count != m_total))
            return true;
        return m_sink->OnProgress(0, m_total, count);
    }

private:
    itfProgress* m_sink;
    qint64 m_total;
};

bool IsNumeric(int type)
{
    return type == FieldType::Long || type == FieldType::Double || type == FieldType::Currency;
}

class Writer
{
public:
    virtual ~Writer() = default;
    virtual void Begin(const QStringList& captions, const QList<int>& types) = 0;
    virtual void Row(const QStringList& texts) = 0;
    virtual void End() = 0;
    QByteArray& Output() { return m_out; }

protected:
    QByteArray m_out;
};

class CsvWriter : public Writer
{
public:
    void Begin(const QStringList& captions, const QList<int>&) override
    {
        m_out.append("\xEF\xBB\xBF");
        Row(captions);
    }
    void Row(const QStringList& texts) override
    {
        QStringList fields;
        for (const QString& text : texts)
            fields.append(CsvField(text));
        m_out.append(fields.join(u';').toUtf8());
        m_out.append("\r\n");
    }
    void End() override {}
};

class HtmlWriter : public Writer
{
public:
    explicit HtmlWriter(QString title) : m_title(std::move(title)) {}
    void Begin(const QStringList& captions, const QList<int>& types) override
    {
        m_types = types;
        QString head = QStringLiteral(
                           "<!DOCTYPE html>\n<html lang=\"it\">\n<head>\n<meta charset=\"utf-8\">\n<title>%1</title>\n"
                           "<style>\nbody { font-family: sans-serif; font-size: 10pt; }\n"
                           "table { border-collapse: collapse; }\n"
                           "th, td { border: 1px solid #999; padding: 2px 6px; }\n"
                           "th { background: #ddd; text-align: left; }\n"
                           "td.n { text-align: right; }\n</style>\n</head>\n<body>\n"
                           "<table>\n<caption>%1</caption>\n<thead>\n<tr>")
                           .arg(m_title.toHtmlEscaped());
        for (const QString& caption : captions)
            head += QStringLiteral("<th>") + caption.toHtmlEscaped() + QStringLiteral("</th>");
        head += QStringLiteral("</tr>\n</thead>\n<tbody>\n");
        m_out.append(head.toUtf8());
    }
    void Row(const QStringList& texts) override
    {
        QString row = QStringLiteral("<tr>");
        for (qsizetype i = 0; i < texts.size(); ++i)
            row += (IsNumeric(m_types.value(i)) ? QStringLiteral("<td class=\"n\">") : QStringLiteral("<td>")) +
                   texts[i].toHtmlEscaped() + QStringLiteral("</td>");
        row += QStringLiteral("</tr>\n");
        m_out.append(row.toUtf8());
    }
    void End() override { m_out.append("</tbody>\n</table>\n</body>\n</html>\n"); }

private:
    QString m_title;
    QList<int> m_types;
};

} // namespace

QStringList DefaultFields(const DataObject& data)
{
    QStringList fields;
    for (int i = 0; i < data.FieldCount(); ++i)
        if (data.Field(i).visible)
            fields.append(data.Field(i).name);
    return fields;
}

QString CsvField(const QString& text)
{
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

bool Export(DataObject& data, int format, const QString& path, itfProgress* progress, const QStringList& fields)
{
    std::unique_ptr<Writer> writer;
    if (format == Csv)
        writer = std::make_unique<CsvWriter>();
    else if (format == Html)
        writer = std::make_unique<HtmlWriter>(data.Table().DisplayCaption());
    else
        throw Exception(ComponentError::InvalidValue, QStringLiteral("Formato di esportazione non previsto: %1").arg(format));

    QList<int> columns;
    QStringList captions;
    QList<int> types;
    for (const QString& name : fields.isEmpty() ? DefaultFields(data) : fields) {
        const int index = data.FieldIndex(name);
        if (index < 0)
            data.RequireField(name);
        columns.append(index);
        captions.append(data.Field(index).caption);
        types.append(data.Field(index).type);
    }

    QSaveFile file(path);
    auto fail = [&] {
        throw Exception(ComponentError::Io,
                        QStringLiteral("Impossibile scrivere il file «%1»: %2").arg(path, file.errorString()));
    };
    auto flush = [&] {
        if (file.write(writer->Output()) != writer->Output().size())
            fail();
        writer->Output().clear();
    };
    if (!file.open(QIODevice::WriteOnly))
        fail();

    const auto currency = data.Database().BaseCurrency();
    const int decimals = currency ? currency->Decimals() : 2;
    const qint64 total = data.RecordCount();
    ProgressSession session(progress, total);
    writer->Begin(captions, types);
    QStringList texts;
    for (qint64 position = 0; position < total; ++position) {
        const RowPager::Row* row = data.RowAt(position);
        if (!row)
            break; // the set shrank while it was read
        texts.clear();
        for (int index : columns) {
            const QVariant& stored = row->values[index];
            texts.append(format == Csv ? FieldText::EditText(data.ValueOf(index, stored), data.Field(index).type, decimals)
                                       : data.DisplayText(index, stored));
        }
        writer->Row(texts);
        if (writer->Output().size() > (1 << 16))
            flush();
        if (!session.Advance(position + 1))
            return false; // the unfinished file is discarded
    }
    writer->End();
    flush();
    if (!file.commit())
        fail();
    return true;
}

} // namespace DataExport
