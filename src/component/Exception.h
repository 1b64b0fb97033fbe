#pragma once
// The one exception type of the application: an error number and a
// description, carried unchanged from the archive engine, the script engine
// and the windows up to the error report. The description is what the user
// reads (in Italian: what happened and what to do); the detail, when there
// is one, is the technical text behind it (the storage's own message), shown
// only among the error report's details.

#include <QString>
#include <exception>
#include <string>

class Exception : public std::exception
{
public:
    Exception(qint32 number, QString description, QString source = {}, QString detail = {})
        : m_number(number), m_description(std::move(description)), m_source(std::move(source)),
          m_detail(std::move(detail)), m_what(m_description.toStdString())
    {
    }

    qint32 Number() const { return m_number; }
    const QString& Description() const { return m_description; }
    const QString& Source() const { return m_source; }
    const QString& Detail() const { return m_detail; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    qint32 m_number;
    QString m_description;
    QString m_source;
    QString m_detail;
    std::string m_what;
};
