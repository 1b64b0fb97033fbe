#include "component/GridLayout.h"

#include "component/ComponentErrors.h"
#include "component/Exception.h"

#include <QSettings>

namespace {

const QString kSequenceKey = QStringLiteral("Sequenza");
const QString kWidthsGroup = QStringLiteral("Larghezze");

} // namespace

GridLayout::GridLayout(QString path, QString table) : m_path(std::move(path)), m_table(std::move(table))
{
    QSettings file(m_path, QSettings::IniFormat);
    file.beginGroup(m_table);
    m_sequence = file.value(kSequenceKey).toString();
    file.beginGroup(kWidthsGroup);
    for (const QString& field : file.childKeys()) {
        bool ok = false;
        const int twips = file.value(field).toInt(&ok);
        if (ok && twips > 0)
            m_widths.insert(field.toLower(), {field, twips});
    }
}

void GridLayout::SetFieldSequence(const QString& sequence)
{
    m_sequence = JoinSequence(SplitSequence(sequence));
}

int GridLayout::FieldWidth(const QString& field) const
{
    return m_widths.value(field.toLower(), {QString(), 0}).second;
}

void GridLayout::SetFieldWidth(const QString& field, int twips)
{
    if (field.trimmed().isEmpty())
        return;
    if (twips <= 0)
        m_widths.remove(field.toLower());
    else
        m_widths.insert(field.toLower(), {field, twips});
}

QHash<QString, int> GridLayout::FieldWidths() const
{
    QHash<QString, int> widths;
    for (const auto& [name, twips] : m_widths)
        widths.insert(name, twips);
    return widths;
}

void GridLayout::Reset()
{
    m_sequence.clear();
    m_widths.clear();
}

void GridLayout::Save()
{
    QSettings file(m_path, QSettings::IniFormat);
    file.remove(m_table);
    file.beginGroup(m_table);
    if (!m_sequence.isEmpty())
        file.setValue(kSequenceKey, m_sequence);
    file.beginGroup(kWidthsGroup);
    for (const auto& [name, twips] : m_widths)
        file.setValue(name, twips);
    file.endGroup();
    file.endGroup();
    file.sync();
    if (file.status() != QSettings::NoError)
        throw Exception(ComponentError::Io,
                        QStringLiteral("Impossibile salvare le impostazioni della griglia nel file «%1»").arg(m_path));
}

QStringList GridLayout::SplitSequence(const QString& sequence)
{
    QStringList fields;
    for (const QString& part : sequence.split(u',', Qt::SkipEmptyParts)) {
        const QString field = part.trimmed();
        if (!field.isEmpty() && !fields.contains(field, Qt::CaseInsensitive))
            fields.append(field);
    }
    return fields;
}

QString GridLayout::JoinSequence(const QStringList& fields)
{
    return fields.join(u',');
}
