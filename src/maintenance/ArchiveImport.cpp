#include "maintenance/ArchiveImport.h"

#include "app/AppInfo.h"
#include "component/ComponentGlobal.h"
#include "component/DataObject.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/Schema.h"
#include "component/Sqlite.h"
#include "component/SqlDialect.h"
#include "component/Table.h"
#include "data/DB.h"
#include "maintenance/ReadOnlyUri.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

using SqlDialect::QuoteName;

namespace {

const QString kAlias = QStringLiteral("mensora_source");
const QString kRoots = QStringLiteral("temp.mensora_import_roots");

// Values an older archive lacks, made as its upgrade makes them when it is
// opened: the copy gets them, the source file stays as it is.
struct OlderSourceValue
{
    const char* table;
    const char* column;
    double version;   // the stored version the upgrade applies to...
    bool exactly;     // ...exactly, or any below it
    const char* value; // over the source record, alias %1
};
const OlderSourceValue kOlderSourceValues[] = {
    {"Menu", "Ordine_Menù", 1.1, false, "100"},
    {"Portate", "Ordine_Di_Stampa", 1.1, false, "100"},
    {"Ricevute", "AnnoFiscale", 1.1, true, "CAST(substr(%1.\"Data\", 1, 4) AS INTEGER)"},
};

QString Source(const QString& table) { return kAlias + u'.' + QuoteName(table); }
QString Main(const QString& table) { return QStringLiteral("main.") + QuoteName(table); }
QString MapOf(const QString& table) { return QStringLiteral("temp.") + QuoteName(QStringLiteral("mensora_map_") + table); }
QString BaseMapOf(const QString& table) { return QStringLiteral("temp.") + QuoteName(QStringLiteral("mensora_base_") + table); }
QString Column(const QString& alias, const QString& column) { return alias + u'.' + QuoteName(column); }

qint64 Scalar(SqliteDb& db, const QString& sql)
{
    Statement s(db, sql);
    return s.Step() && !s.IsNull(0) ? s.ColumnInt(0) : 0;
}

const IndexDef* SingleUniqueIndex(const TableDef& table)
{
    for (const IndexDef& index : table.indexes)
        if (index.unique && index.columns.size() == 1 && table.FindColumn(index.columns.first()))
            return &index;
    return nullptr;
}

} // namespace

ArchiveImport::ArchiveImport(DatabaseObject& database, const QString& table)
    : m_database(database), m_engine(database.Engine()), m_table(table)
{
}

ArchiveImport::~ArchiveImport() { Close(); }

void ArchiveImport::Close()
{
    if (!m_attached || !m_engine->IsOpen())
        return;
    try {
        m_engine->Db().Exec(QStringLiteral("DETACH DATABASE ") + kAlias);
        m_attached = false;
    } catch (const Exception&) {
        // Still inside a transaction: the next Open detaches it.
    }
}

void ArchiveImport::Open(const QString& sourcePath)
{
    const QFileInfo source(sourcePath);
    const QString shown = QDir::toNativeSeparators(sourcePath);
    if (!source.isFile())
        throw ImportRefused(QStringLiteral("Il file «%1» non esiste.").arg(shown));
    m_sourcePath = source.absoluteFilePath();
    if (source.canonicalFilePath() == QFileInfo(m_engine->Path()).canonicalFilePath())
        throw ImportRefused(QStringLiteral("L'archivio selezionato è l'archivio corrente: scegliere un altro archivio "
                                           "da cui importare i dati."));
    const QString notArchive = QStringLiteral("Il file «%1» non è un archivio di %2.").arg(shown, AppInfo::ProductName());
    SqliteDb& db = m_engine->Db();
    try {
        db.Exec(QStringLiteral("DETACH DATABASE ") + kAlias);
    } catch (const Exception&) {
    }
    try {
        Statement attach(db, QStringLiteral("ATTACH DATABASE ?1 AS ") + kAlias);
        attach.Bind(1, ReadOnlyUri(sourcePath));
        attach.Step();
        m_attached = true;
        Statement tables(db, QStringLiteral("SELECT name FROM %1.sqlite_master WHERE type = 'table'").arg(kAlias));
        while (tables.Step()) {
            const QString name = tables.Column(0).toString();
            m_sourceTables.insert(name.toLower(), name);
        }
        if (!m_sourceTables.contains(QStringLiteral("mensora_tables")))
            throw ImportRefused(notArchive);
        Statement versions(db, QStringLiteral("SELECT name, version FROM %1.mensora_tables").arg(kAlias));
        while (versions.Step())
            m_sourceVersions.insert(versions.Column(0).toString().toLower(), versions.Column(1).toDouble());
    } catch (const ImportRefused&) {
        Close();
        throw;
    } catch (const Exception&) {
        Close();
        throw ImportRefused(notArchive);
    }
    // A damaged page can hide records from a scan without any error: the
    // copy would then lose them and report success. The whole file is
    // checked first (a few milliseconds per megabyte).
    const QString damaged =
        QStringLiteral("L'archivio «%1» è danneggiato: non è possibile importarne i dati.").arg(shown);
    try {
        Statement check(db, QStringLiteral("PRAGMA %1.quick_check(1)").arg(kAlias));
        if (!check.Step() || check.Column(0).toString() != QLatin1String("ok"))
            throw ImportRefused(damaged);
    } catch (const ImportRefused&) {
        Close();
        throw;
    } catch (const Exception&) {
        Close();
        throw ImportRefused(damaged);
    }
}

bool ArchiveImport::SourceHas(const QString& table) const { return m_sourceTables.contains(table.toLower()); }

bool ArchiveImport::SourceHasTable() const { return SourceHas(m_table); }

bool ArchiveImport::SourceHasColumn(const QString& table, const QString& column)
{
    if (!SourceHas(table))
        return false;
    const QString key = table.toLower();
    if (!m_sourceColumns.contains(key)) {
        QSet<QString> columns;
        Statement s(m_engine->Db(), QStringLiteral("SELECT name FROM pragma_table_info(?1, ?2)"));
        s.Bind(1, m_sourceTables.value(key));
        s.Bind(2, kAlias);
        while (s.Step())
            columns.insert(s.Column(0).toString().toLower());
        m_sourceColumns.insert(key, columns);
    }
    return m_sourceColumns.value(key).contains(column.toLower());
}

double ArchiveImport::SourceVersion(const QString& table) const
{
    const auto def = m_database.GetSchema().Find(table);
    return m_sourceVersions.value(table.toLower(), def ? def->version : 0.0);
}

qint64 ArchiveImport::SourceRecords()
{
    if (!SourceHasTable())
        return 0;
    return Scalar(m_engine->Db(), QStringLiteral("SELECT count(*) FROM %1").arg(Source(m_table)));
}

QString ArchiveImport::SourceValue(const TableDef& table, const QString& column, const QString& alias)
{
    const double version = SourceVersion(table.name);
    for (const OlderSourceValue& rule : kOlderSourceValues) {
        if (table.name != QLatin1String(rule.table) || column != QString::fromUtf8(rule.column))
            continue;
        const bool applies = rule.exactly ? qFuzzyCompare(1.0 + version, 1.0 + rule.version) : version < rule.version - 1e-9;
        if (!applies)
            continue;
        const QString value = QString::fromUtf8(rule.value);
        return value.contains(QLatin1String("%1")) ? value.arg(alias) : value;
    }
    return SourceHasColumn(table.name, column) ? Column(alias, column) : QStringLiteral("NULL");
}

QString ArchiveImport::ReferenceValue(const TableDef& table, const ReferenceDef& reference, const QString& alias)
{
    const QString key = ReferenceKeyColumn(reference.name);
    if (!m_maps.contains(reference.table.toLower()) || !SourceHasColumn(table.name, key))
        return QStringLiteral("NULL");
    return QStringLiteral("(SELECT x.cur FROM %1 x WHERE x.src = %2)").arg(MapOf(reference.table), Column(alias, key));
}

QStringList ArchiveImport::IdentityColumns(const TableDef& table)
{
    if (const IndexDef* unique = SingleUniqueIndex(table))
        return {unique->columns.first()};
    // A dish is its name within its course, whatever its price or order.
    if (table.name == QLatin1String("Menu") && table.FindColumn(QStringLiteral("Nome")))
        return {QStringLiteral("Nome")};
    QStringList columns;
    for (const ColumnDef& c : table.allColumns)
        columns.append(c.name);
    return columns;
}

QString ArchiveImport::SameRecord(const TableDef& table, const QString& mainAlias, const QString& alias,
                                  bool withReferences)
{
    QStringList conditions;
    for (const QString& column : IdentityColumns(table))
        conditions.append(QStringLiteral("%1 IS %2").arg(Column(mainAlias, column), SourceValue(table, column, alias)));
    if (withReferences)
        for (const ReferenceDef& r : table.lookups)
            conditions.append(QStringLiteral("%1 IS %2")
                                  .arg(Column(mainAlias, ReferenceKeyColumn(r.name)), ReferenceValue(table, r, alias)));
    return conditions.join(QStringLiteral(" AND "));
}

void ArchiveImport::MapLookups(const QList<std::pair<const TableDef*, QString>>& copied)
{
    const Schema& schema = m_database.GetSchema();
    struct Referrer
    {
        const TableDef* table;
        QString key;
        QString condition;
    };
    // The look-up tables reached from the copied records, and from the
    // look-up records that may have to be added, by position in the schema.
    QMap<int, QList<Referrer>> needed;
    QList<const TableDef*> pending;
    auto reach = [&](const TableDef& table, const QString& condition) {
        for (const ReferenceDef& r : table.lookups) {
            const auto target = schema.Find(r.table);
            const QString key = ReferenceKeyColumn(r.name);
            if (!target || !SourceHas(target->name) || !SourceHasColumn(table.name, key))
                continue;
            const int position = int(schema.Tables().indexOf(target));
            if (!needed.contains(position))
                pending.append(target.get());
            needed[position].append({&table, key, condition});
        }
    };
    for (const auto& [table, condition] : copied)
        reach(*table, condition);
    while (!pending.isEmpty()) {
        const TableDef* table = pending.takeFirst();
        reach(*table, QStringLiteral("s.\"OID\" IN (SELECT src FROM %1 WHERE cur IS NULL)").arg(MapOf(table->name)));
    }

    SqliteDb& db = m_engine->Db();
    // Every record of a look-up table is matched (they are few); then those
    // that no record matches and some copied record refers to are added,
    // the referenced tables first: what is added refers to them.
    for (auto it = needed.begin(); it != needed.end(); ++it) {
        const TableDef& table = *schema.At(it.key());
        const QString map = MapOf(table.name);
        db.Exec(QStringLiteral("CREATE TABLE %1 (src INTEGER PRIMARY KEY, cur INTEGER)").arg(map));
        m_temporary.append(map);
        m_maps.insert(table.name.toLower());
        db.Exec(QStringLiteral("INSERT INTO %1 (src, cur) SELECT s.\"OID\", (SELECT m.\"OID\" FROM %2 m WHERE %3 ORDER BY "
                               "m.\"OID\" LIMIT 1) FROM %4 s")
                    .arg(map, Main(table.name), SameRecord(table, QStringLiteral("m"), QStringLiteral("s"), false),
                         Source(table.name)));
    }
    for (auto it = needed.begin(); it != needed.end(); ++it) {
        const TableDef& table = *schema.At(it.key());
        const QString map = MapOf(table.name);
        QStringList referenced;
        for (const Referrer& r : it.value())
            referenced.append(QStringLiteral("EXISTS (SELECT 1 FROM %1 s WHERE s.%2 = l.\"OID\" AND (%3))")
                                  .arg(Source(r.table->name), QuoteName(r.key), r.condition));
        QStringList columns;
        QStringList values;
        for (const ColumnDef& c : table.allColumns) {
            columns.append(QuoteName(c.name));
            values.append(SourceValue(table, c.name, QStringLiteral("l")));
        }
        for (const ReferenceDef& r : table.lookups) {
            columns.append(QuoteName(ReferenceKeyColumn(r.name)));
            values.append(ReferenceValue(table, r, QStringLiteral("l")));
        }
        // One record for each group of source records that are the same.
        QStringList sameAsEarlier;
        for (const QString& column : IdentityColumns(table))
            sameAsEarlier.append(QStringLiteral("%1 IS %2").arg(SourceValue(table, column, QStringLiteral("s2")),
                                                                 SourceValue(table, column, QStringLiteral("l"))));
        db.Exec(QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %4 l WHERE l.\"OID\" IN (SELECT src FROM %5 WHERE cur IS "
                               "NULL) AND (%6) AND NOT EXISTS (SELECT 1 FROM %5 x JOIN %4 s2 ON s2.\"OID\" = x.src WHERE "
                               "x.cur IS NULL AND x.src < l.\"OID\" AND %7)")
                    .arg(Main(table.name), columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", ")),
                         Source(table.name), map, referenced.join(QStringLiteral(" OR ")),
                         sameAsEarlier.join(QStringLiteral(" AND "))));
        m_lookupsAdded += db.Changes();
        db.Exec(QStringLiteral("UPDATE %1 SET cur = (SELECT m.\"OID\" FROM %2 m, %3 s WHERE s.\"OID\" = %1.src AND %4 "
                               "ORDER BY m.\"OID\" LIMIT 1) WHERE cur IS NULL")
                    .arg(map, Main(table.name), Source(table.name),
                         SameRecord(table, QStringLiteral("m"), QStringLiteral("s"), false)));
    }
}

void ArchiveImport::MapBase(const TableDef& table)
{
    const auto base = m_database.GetSchema().Find(table.baseTable);
    if (!base || base->allColumns.isEmpty() || m_baseMaps.contains(base->name.toLower()) || !SourceHas(base->name))
        return;
    const QString name = base->allColumns.first().name;
    const QString map = BaseMapOf(base->name);
    SqliteDb& db = m_engine->Db();
    db.Exec(QStringLiteral("CREATE TABLE %1 (src INTEGER PRIMARY KEY, cur INTEGER)").arg(map));
    m_temporary.append(map);
    m_baseMaps.insert(base->name.toLower());
    db.Exec(QStringLiteral("INSERT INTO %1 (src, cur) SELECT s.\"OID\", (SELECT m.\"OID\" FROM %2 m WHERE %3 IS %4 ORDER "
                           "BY m.\"OID\" LIMIT 1) FROM %5 s")
                .arg(map, Main(base->name), Column(QStringLiteral("m"), name),
                     SourceValue(*base, name, QStringLiteral("s")), Source(base->name)));
}

void ArchiveImport::CheckNumbering(const TableDef& table)
{
    const Schema& schema = m_database.GetSchema();
    for (const IndexDef& index : table.indexes) {
        if (!index.unique || index.columns.size() < 2)
            continue;
        QStringList conditions;
        QStringList shown;
        QStringList names;
        for (const QString& column : index.columns) {
            names.append(column);
            if (const ReferenceDef* r = table.FindLookup(column)) {
                const QString key = ReferenceKeyColumn(r->name);
                conditions.append(QStringLiteral("m.%1 = %2").arg(QuoteName(key), ReferenceValue(table, *r, QStringLiteral("s"))));
                const ColumnDef* display = schema.DisplayColumn(*r);
                shown.append(display && SourceHas(r->table) && SourceHasColumn(table.name, key)
                                 ? QStringLiteral("(SELECT d.%1 FROM %2 d WHERE d.\"OID\" = s.%3)")
                                       .arg(QuoteName(display->name), Source(r->table), QuoteName(key))
                                 : QStringLiteral("NULL"));
            } else {
                const QString value = SourceValue(table, column, QStringLiteral("s"));
                conditions.append(QStringLiteral("m.%1 = %2").arg(QuoteName(column), value));
                shown.append(value);
            }
        }
        Statement s(m_engine->Db(),
                    QStringLiteral("SELECT %1 FROM %2 s WHERE s.\"OID\" IN (SELECT src FROM %3) AND EXISTS (SELECT 1 FROM %4 m "
                                   "WHERE %5) ORDER BY s.\"OID\" LIMIT 1")
                        .arg(shown.join(QStringLiteral(", ")), Source(table.name), kRoots, Main(table.name),
                             conditions.join(QStringLiteral(" AND "))));
        if (!s.Step())
            continue;
        QStringList values;
        for (int i = 0; i < names.size(); ++i)
            values.append(s.Column(i).toString());
        if (table.name == QLatin1String("Ricevute") && names == QStringList{QStringLiteral("Numero"), QStringLiteral("TipoDocumento"), QStringLiteral("AnnoFiscale")})
            throw ImportConflict(QStringLiteral("La ricevuta numero %1 «%2» dell'anno %3 è già presente nell'archivio corrente.")
                                     .arg(values[0], values[1], values[2]));
        QStringList pairs;
        for (int i = 0; i < names.size(); ++i)
            pairs.append(FieldCaption(names[i], QString()) + QStringLiteral(" ") + values[i]);
        throw ImportConflict(QStringLiteral("%1 (%2) è già presente nell'archivio corrente.")
                                 .arg(table.DisplayCaption(), pairs.join(QStringLiteral(", "))));
    }
}

RangeStep ArchiveImport::InsertStep(const TableDef& table, const QString& condition, const QString& ownerColumn,
                                    const QString& ownerValue, bool explicitOid, const QString& skip)
{
    QStringList columns;
    QStringList values;
    QStringList joins;
    if (explicitOid) {
        columns.append(QStringLiteral("\"OID\""));
        values.append(QStringLiteral("s.\"OID\" + %1").arg(m_offset));
    }
    for (const ColumnDef& c : table.allColumns) {
        columns.append(QuoteName(c.name));
        values.append(SourceValue(table, c.name, QStringLiteral("s")));
    }
    // The keys of this archive through the maps, joined once per reference.
    auto mapped = [&](const QString& column, const QString& map) {
        const QString alias = QStringLiteral("j%1").arg(joins.size());
        joins.append(QStringLiteral("LEFT JOIN %1 %2 ON %2.src = %3").arg(map, alias, Column(QStringLiteral("s"), column)));
        return alias + QStringLiteral(".cur");
    };
    for (const ReferenceDef& r : table.lookups) {
        const QString key = ReferenceKeyColumn(r.name);
        columns.append(QuoteName(key));
        values.append(m_maps.contains(r.table.toLower()) && SourceHasColumn(table.name, key) ? mapped(key, MapOf(r.table))
                                                                                              : QStringLiteral("NULL"));
    }
    if (!table.baseLinkColumn.isEmpty()) {
        columns.append(QuoteName(table.baseLinkColumn));
        values.append(m_baseMaps.contains(table.baseTable.toLower()) && SourceHasColumn(table.name, table.baseLinkColumn)
                          ? mapped(table.baseLinkColumn, BaseMapOf(table.baseTable))
                          : QStringLiteral("NULL"));
    }
    if (!ownerColumn.isEmpty()) {
        columns.append(QuoteName(ownerColumn));
        values.append(ownerValue);
    }
    QString sql = QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %4 s %5 WHERE s.\"OID\" BETWEEN ?1 AND ?2 AND (%6)")
                      .arg(Main(table.name), columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", ")),
                           Source(table.name), joins.join(u' '), condition);
    if (!skip.isEmpty())
        sql += QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM %1 m WHERE %2)").arg(Main(table.name), skip);
    RangeStep step;
    step.sql = sql;
    std::tie(step.firstOid, step.lastOid) = OidBounds(m_engine->Db(), Source(table.name));
    return step;
}

bool ArchiveImport::Copy(const RangeProgress& progress)
{
    if (!m_engine->InTransaction())
        throw Exception(ComponentError::Transaction, QStringLiteral("L'importazione richiede una transazione aperta"));
    const Schema& schema = m_database.GetSchema();
    const auto table = schema.Require(m_table);
    SqliteDb& db = m_engine->Db();
    m_added = m_present = m_lookupsAdded = 0;

    // The records to copy whole: those of the table, or, for records that
    // belong to others, their owners; the rest of the table is copied alone.
    std::shared_ptr<TableDef> roots = table;
    const OwnerLink* belongsTo = nullptr;
    for (const OwnerLink& link : table->owners)
        if (!belongsTo && SourceHas(link.ownerTable) && SourceHasColumn(table->name, link.column))
            belongsTo = &link;
    db.Exec(QStringLiteral("CREATE TABLE %1 (src INTEGER PRIMARY KEY)").arg(kRoots));
    m_temporary.append(kRoots);
    QString alone;
    if (belongsTo) {
        roots = schema.Require(belongsTo->ownerTable);
        db.Exec(QStringLiteral("INSERT OR IGNORE INTO %1 (src) SELECT %2 FROM %3 WHERE %2 IN (SELECT \"OID\" FROM %4)")
                    .arg(kRoots, QuoteName(belongsTo->column), Source(table->name), Source(roots->name)));
        alone = QStringLiteral("s.%1 IS NULL OR s.%1 NOT IN (SELECT \"OID\" FROM %2)")
                    .arg(QuoteName(belongsTo->column), Source(roots->name));
    } else {
        db.Exec(QStringLiteral("INSERT INTO %1 (src) SELECT \"OID\" FROM %2").arg(kRoots, Source(table->name)));
    }
    // The unary "+" keeps the planner from walking the whole list of owners
    // for every range: the range of OIDs leads, the list is only probed.
    const QString rootCondition = QStringLiteral("+s.\"OID\" IN (SELECT src FROM %1)").arg(kRoots);
    struct Owned
    {
        std::shared_ptr<TableDef> table;
        QString column;
    };
    QList<Owned> owned;
    for (const ReferenceDef& r : roots->ownedCollections) {
        const auto child = schema.Find(r.table);
        const QString column = QStringLiteral("OID_%1_%2").arg(roots->name, r.name);
        if (child && SourceHas(child->name) && SourceHasColumn(child->name, column))
            owned.append({child, column});
    }

    QList<std::pair<const TableDef*, QString>> copied{{roots.get(), rootCondition}};
    for (const Owned& o : owned)
        copied.append({o.table.get(), QStringLiteral("+s.%1 IN (SELECT src FROM %2)").arg(QuoteName(o.column), kRoots)});
    if (!alone.isEmpty())
        copied.append({table.get(), alone});
    MapLookups(copied);
    for (const auto& entry : copied)
        if (!entry.first->baseTable.isEmpty())
            MapBase(*entry.first);

    // Owned records follow their owner through an offset between the old
    // and the new OIDs; such owners are never left out, and a number that
    // is already taken stops the import.
    QString skip;
    const bool withOwned = !owned.isEmpty();
    if (withOwned) {
        const qint64 lowest = Scalar(db, QStringLiteral("SELECT min(src) FROM %1").arg(kRoots));
        const qint64 highest = Scalar(db, QStringLiteral("SELECT max(\"OID\") FROM %1").arg(Main(roots->name)));
        m_offset = highest - lowest + 1;
        CheckNumbering(*roots);
    } else if (const IndexDef* unique = SingleUniqueIndex(*roots)) {
        skip = QStringLiteral("m.%1 = %2").arg(QuoteName(unique->columns.first()),
                                               SourceValue(*roots, unique->columns.first(), QStringLiteral("s")));
    } else {
        skip = SameRecord(*roots, QStringLiteral("m"), QStringLiteral("s"), true);
    }

    const qint64 candidates = Scalar(db, QStringLiteral("SELECT count(*) FROM %1").arg(kRoots))
                              + (alone.isEmpty() ? 0
                                                 : Scalar(db, QStringLiteral("SELECT count(*) FROM %1 s WHERE %2")
                                                                  .arg(Source(table->name), alone)));
    std::vector<RangeStep> steps;
    steps.push_back(InsertStep(*roots, rootCondition, QString(), QString(), withOwned, skip));
    steps.back().changes = &m_added;
    for (const Owned& o : owned)
        steps.push_back(InsertStep(*o.table, QStringLiteral("+s.%1 IN (SELECT src FROM %2)").arg(QuoteName(o.column), kRoots),
                                   o.column, QStringLiteral("s.%1 + %2").arg(QuoteName(o.column)).arg(m_offset), false,
                                   QString()));
    if (!alone.isEmpty()) {
        steps.push_back(InsertStep(*table, alone, QString(), QString(), false, QString()));
        steps.back().changes = &m_added;
    }
    const bool finished = RunRangeSteps(db, steps, progress);
    m_present = candidates - m_added;
    DropTemporary();
    m_engine->DataChanged();
    return finished;
}

void ArchiveImport::DropTemporary()
{
    for (const QString& name : std::as_const(m_temporary))
        m_engine->Db().Exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(name));
    m_temporary.clear();
    m_maps.clear();
    m_baseMaps.clear();
}

std::shared_ptr<DataObject> ArchiveImport::Preview()
{
    if (!m_previewDatabase) {
        auto dir = std::make_unique<QTemporaryDir>();
        if (!dir->isValid())
            throw Exception(ComponentError::Io, QStringLiteral("Impossibile creare una cartella temporanea"));
        const QString path = dir->filePath(QStringLiteral("Anteprima.mdb"));
        auto engine = std::make_shared<DatabaseEngine>();
        engine->CreateDatabaseFile(3, path);
        engine->OpenDatabaseFile(3, path);
        auto database = ComponentGlobal::CreateDatabaseObject(std::make_shared<DB>(), AppInfo::ProductName(), nullptr, nullptr);
        database->AttachEngine(engine);
        SqliteDb& db = engine->Db();
        for (const auto& t : database->GetSchema().Tables())
            db.Exec(QStringLiteral("DELETE FROM %1").arg(QuoteName(t->name)));
        {
            Statement attach(db, QStringLiteral("ATTACH DATABASE ?1 AS ") + kAlias);
            attach.Bind(1, ReadOnlyUri(m_sourcePath));
            attach.Step();
        }
        // The records as they are in the source, keys and all, with the
        // records they show of the tables they refer to.
        auto copy = [&](const TableDef& table) {
            QStringList columns{QStringLiteral("\"OID\"")};
            QStringList values{QStringLiteral("s.\"OID\"")};
            for (const ColumnDef& c : table.allColumns) {
                columns.append(QuoteName(c.name));
                values.append(SourceValue(table, c.name, QStringLiteral("s")));
            }
            for (const PhysicalColumn& p : table.physical) {
                if (p.kind == PhysicalColumn::Kind::Oid || p.kind == PhysicalColumn::Kind::Data)
                    continue;
                columns.append(QuoteName(p.name));
                values.append(SourceHasColumn(table.name, p.name) ? Column(QStringLiteral("s"), p.name) : QStringLiteral("NULL"));
            }
            db.Exec(QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %4 s")
                        .arg(Main(table.name), columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", ")),
                             Source(table.name)));
        };
        try {
            const Schema& schema = m_database.GetSchema();
            const auto table = schema.Require(m_table);
            copy(*table);
            QSet<QString> done{table->name.toLower()};
            for (const ReferenceDef& r : table->lookups) {
                const auto target = schema.Find(r.table);
                if (target && SourceHas(target->name) && !done.contains(target->name.toLower())) {
                    done.insert(target->name.toLower());
                    copy(*target);
                }
            }
        } catch (...) {
            db.Exec(QStringLiteral("DETACH DATABASE ") + kAlias);
            throw;
        }
        db.Exec(QStringLiteral("DETACH DATABASE ") + kAlias);
        engine->DataChanged();
        m_previewDir = std::move(dir);
        m_previewEngine = engine;
        m_previewDatabase = database;
    }
    return m_previewDatabase->Tables().Item(m_table).OpenDataObject(m_previewEngine);
}
