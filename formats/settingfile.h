#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>

#include <memory>

// The tuning values of "./Setting.ini" (INI form, in the working directory), read only.
class SettingFile
{
public:
    explicit SettingFile(const QString& path = QStringLiteral("./Setting.ini"));

    // The key's value; defaultValue when the file or the key is missing, and when the file
    // is no regular file: a pipe in its place would block the reading for good.
    QVariant value(const QString& key, const QVariant& defaultValue = QVariant()) const;

private:
    std::unique_ptr<QSettings> m_settings; // null when the file is not read
};
