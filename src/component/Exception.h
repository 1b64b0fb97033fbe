#pragma once
// The one exception type of the application: an error number and a
// description, carried unchanged from the archive engine, the script engine
// and the windows up to the error report.

#include <QString>
#include <exception>
#include <string>

class Exception : public std::exception
{
public:
    Exception(qint32 number, QString description, QString source = {})
        : m_number(number), m_description(std::move(description)), m_source(std::move(source)),
          m_what(m_description.toStdString())
    {
    }

    qint32 Number() const { return m_number; }
    const QString& Description() const { return m_description; }
    const QString& Source() const { return m_source; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    qint32 m_number;
    QString m_description;
    QString m_source;
    std::string m_what;
};
