#pragma once
// The view as an HTML page, "TableData.htm", for the user's browser: every
// value escaped, the page declared UTF-8, written in the folder beside the
// executable when that can be written, else in the user's data folder.

#include <QString>

class DataObject;
class itfProgress;

namespace HtmlExport {

// Where the page is written.
QString PageFile();

// Deletes the previous page and writes the rows of `data` (its filter and
// order) anew, reporting to `progress`. False when the user stopped it (no
// page is left then). Throws Exception when it cannot be written.
bool Write(DataObject& data, itfProgress* progress);

// While alive, the page is written into the given folder (tests).
class ScopedFolder
{
public:
    explicit ScopedFolder(const QString& folder);
    ~ScopedFolder();
    ScopedFolder(const ScopedFolder&) = delete;
    ScopedFolder& operator=(const ScopedFolder&) = delete;

private:
    QString m_previous;
};

} // namespace HtmlExport
