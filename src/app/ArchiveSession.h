#pragma once
// The process-wide archive: the database engine and database object that
// InitializeDatabase creates and only ReleaseDatabase drops.

#include <QString>
#include <memory>

class DatabaseEngine;
class DatabaseObject;
class itfNotifyEvent;

// What opening the archive needs from the windows around it.
class ArchiveSessionHost
{
public:
    virtual ~ArchiveSessionHost() = default;
    // The message window over the main window.
    virtual void ShowMessage(const QString& text) = 0;
    virtual void CloseMessage() = 0;
    // The options window, modal; true when confirmed (it may change RootDir).
    virtual bool ShowOptions() = 0;
    // The sink of the engine's notifications (the main window).
    virtual itfNotifyEvent* NotifySink() = 0;
};

class ArchiveSession
{
public:
    static ArchiveSession& Instance();

    enum class Outcome {
        Opened,     // the archive is open
        Failed,     // the failure was reported; the application keeps running
        EndProcess  // the options were left without confirming on first run
    };

    // Opens (or creates) "Mensora.mdb" in the working directory and attaches
    // the restaurant's definition. Reports its own failure.
    Outcome InitializeDatabase(ArchiveSessionHost& host);
    // Drops both references; the file closes when nothing else holds them.
    void ReleaseDatabase();

    std::shared_ptr<DatabaseEngine> Engine() const { return m_engine; }
    std::shared_ptr<DatabaseObject> Database() const { return m_database; }
    bool HasReferences() const { return m_engine || m_database; }
    // Both references exist and the archive is open.
    bool IsDatabaseReady() const;
    // The path of the archive in the working directory.
    static QString DatabasePath();

    static constexpr int DatabaseKind = 3;

private:
    std::shared_ptr<DatabaseEngine> m_engine;
    std::shared_ptr<DatabaseObject> m_database;
};
