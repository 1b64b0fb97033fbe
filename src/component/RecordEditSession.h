#pragma once
// One opening of the record editor over a data object, without the window:
// which fields it shows and which of them are read-only, setting a value
// (the table's rules run at once, so computed fields follow), storing and
// cancelling. The record editor window and the scripted dialogs of the
// tests both go through it, so that both treat the data object alike.

#include <QList>
#include <QVariant>
#include <memory>

class DataObject;

// How the editor opens: on a new record, or on the data object's current
// record (which may itself be a new record the caller began).
enum class EditMode { NewRecord, CurrentRecord };

struct RecordEditorOptions
{
    // How the editor treats the part of an extension record that comes from
    // its base table (a receipt row takes name, price and course from its
    // menu item). The caller sets it for one opening of the editor: 0 lets
    // those fields be changed in this record; any other value (the sale
    // window passes 255 while it edits a row) shows them read-only, so that
    // the record keeps what it took from the base record.
    int baseTableOption = 0;
};

class RecordEditSession
{
public:
    // Begins the edit: a new record (the table's rules give its defaults),
    // or the current record. A pending change of the current record that
    // the caller made before is stored first, so that cancelling the editor
    // drops only what was changed in it. Throws Exception(NoCurrentRecord)
    // when there is no record to edit.
    RecordEditSession(std::shared_ptr<DataObject> data, EditMode mode, RecordEditorOptions options = {});
    // Cancels an edit that was neither stored nor cancelled.
    ~RecordEditSession();
    RecordEditSession(const RecordEditSession&) = delete;
    RecordEditSession& operator=(const RecordEditSession&) = delete;

    DataObject& Data() const { return *m_data; }
    const std::shared_ptr<DataObject>& DataPtr() const { return m_data; }
    bool IsNewRecord() const { return m_new; }
    bool IsOpen() const { return m_open; }

    // The fields the editor shows, in field order: the table's columns and
    // references, and the columns of other tables a select list brought
    // (read-only).
    const QList<int>& Fields() const { return m_fields; }
    bool IsReadOnly(int fieldIndex) const;

    // The value an editor shows: a reference gives the referenced record's
    // key (Null for none), any other field its value.
    QVariant Value(int fieldIndex) const;
    // Sets a field; a reference takes a key. Throws Exception when the value
    // does not fit or a rule refuses it; the record keeps its former value.
    void SetValue(int fieldIndex, const QVariant& value);

    // Stores the record and returns its OID; the session ends. Throws the
    // engine's Exception when the record cannot be stored: the session stays
    // open with the values as they were.
    qint64 Save();
    void Cancel();

    // Whether editors show a field: not the OID, key columns or links.
    static bool IsShown(const DataObject& data, int fieldIndex);
    // Whether a field can be set at all: columns and references.
    static bool IsEditable(const DataObject& data, int fieldIndex);
    // Value() for any data object.
    static QVariant EditorValue(DataObject& data, int fieldIndex);

private:
    bool IsBaseField(int fieldIndex) const;

    std::shared_ptr<DataObject> m_data;
    RecordEditorOptions m_options;
    QList<int> m_fields;
    bool m_new = false;
    bool m_open = true;
};
