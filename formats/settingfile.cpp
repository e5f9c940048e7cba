#include "formats/settingfile.h"

#include "formats/formatslog.h"

#include <QFileInfo>

SettingFile::SettingFile(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        qCWarning(lcFormats) << path << "is not a regular file; its settings are not read";
    else
        m_settings.reset(new QSettings(path, QSettings::IniFormat));
}

QVariant SettingFile::value(const QString& key, const QVariant& defaultValue) const
{
    return m_settings ? m_settings->value(key, defaultValue) : defaultValue;
}
