#pragma once

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>

#include <unistd.h>

// Makes a file or directory unchangeable for the duration of a test: the immutable
// attribute for root (permissions do not stop root), read-only permissions otherwise.
class LockedPath
{
public:
    explicit LockedPath(const QString& path) : m_path(path)
    {
        if (::geteuid() == 0) {
            m_usedAttribute = true;
            m_locked =
                QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) == 0;
        } else {
            m_permissions = QFile::permissions(path);
            m_locked = QFile::setPermissions(
                path, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                          QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther);
        }
    }
    ~LockedPath() { unlock(); }
    LockedPath(const LockedPath&) = delete;
    LockedPath& operator=(const LockedPath&) = delete;

    bool isLocked() const { return m_locked; }
    void unlock()
    {
        if (!m_locked)
            return;
        if (m_usedAttribute)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_path});
        else
            QFile::setPermissions(m_path, m_permissions);
        m_locked = false;
    }

private:
    QString m_path;
    bool m_locked = false;
    bool m_usedAttribute = false;
    QFileDevice::Permissions m_permissions;
};
