#pragma once

#include "testsupport.h"

#include <QFile>
#include <QProcess>

// Makes a file or directory unchangeable while it lives: the immutable attribute for root
// (permissions do not stop root), read-only permissions otherwise. An empty path locks nothing.
class LockedPath
{
    Q_DISABLE_COPY(LockedPath)

public:
    explicit LockedPath(const QString& path) : m_path(path), m_permissions(QFile::permissions(path))
    {
        if (!path.isEmpty())
            m_locked = TestSupport::isRoot()
                           ? QProcess::execute("chattr", {"+i", path}) == 0
                           : QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
    }
    ~LockedPath()
    {
        if (m_locked && TestSupport::isRoot())
            QProcess::execute("chattr", {"-i", m_path});
        else if (m_locked)
            QFile::setPermissions(m_path, m_permissions);
    }
    bool isLocked() const { return m_locked; }

private:
    QString m_path;
    QFile::Permissions m_permissions;
    bool m_locked = false;
};
