#pragma once
// The user's layout of one table's grid: which fields it shows, in which
// sequence, and how wide each column is (in twips). Layouts live in an INI
// file, one section per table; a missing file or section means the defaults.

#include <QHash>
#include <QString>
#include <QStringList>

class GridLayout
{
public:
    // Reads the layout of `table` from the file at `path`.
    GridLayout(QString path, QString table);

    const QString& Table() const { return m_table; }
    const QString& FilePath() const { return m_path; }

    // Field names separated by commas; empty means every field the table
    // shows by default, in its own order.
    const QString& FieldSequence() const { return m_sequence; }
    void SetFieldSequence(const QString& sequence);
    QStringList SequenceFields() const { return SplitSequence(m_sequence); }

    // Width of a field's column in twips, 0 when none is stored.
    int FieldWidth(const QString& field) const;
    void SetFieldWidth(const QString& field, int twips);
    // Stored widths by field name.
    QHash<QString, int> FieldWidths() const;

    // Back to the defaults: no sequence, no widths (stored by Save).
    void Reset();
    // Writes this table's section; the other tables' sections stay as they
    // are. Throws Exception(Io) when the file cannot be written.
    void Save();

    static QStringList SplitSequence(const QString& sequence);
    static QString JoinSequence(const QStringList& fields);

private:
    QString m_path;
    QString m_table;
    QString m_sequence;
    QHash<QString, std::pair<QString, int>> m_widths; // by lower-case name: name as given, twips
};
