#pragma once

#include <QDir>
#include <QString>

#include <cerrno>
#include <cstring>
#ifdef Q_OS_LINUX
#include <sys/mount.h>
#endif

// A small tmpfs mounted for one test: a drive that fills up, or that vanishes while in use.
// Mounting needs root (CAP_SYS_ADMIN); without it isMounted() is false and reason() says why.
class TmpfsMount
{
public:
    TmpfsMount(const QString& dir, int kilobytes) : m_dir(dir)
    {
        QDir().mkpath(dir);
#ifndef Q_OS_LINUX
        Q_UNUSED(kilobytes);
        m_reason = QStringLiteral("tmpfs mounts need Linux");
#else
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
        if (::mount("tmpfs", QFile::encodeName(dir).constData(), "tmpfs", 0, options.constData()) ==
            0)
            m_mounted = true;
        else
            m_reason = QStringLiteral("cannot mount a tmpfs (needs root): ") +
                       QString::fromLocal8Bit(std::strerror(errno));
#endif
    }
    ~TmpfsMount() { detach(); }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool isMounted() const { return m_mounted; }
    QString reason() const { return m_reason; }
    QString path() const { return m_dir; }
    // Fills the rest of the drive with one file, "filler".
    void fill() const
    {
        QFile filler(m_dir + "/filler");
        const QByteArray block(4096, 'f');
        if (filler.open(QIODevice::WriteOnly))
            while (filler.write(block) == block.size() && filler.flush()) {
            }
    }
    // Makes the mounted drive read-only, which stops root as well.
    bool remountReadOnly() const
    {
#ifdef Q_OS_LINUX
        return m_mounted && ::mount("tmpfs", QFile::encodeName(m_dir).constData(), "tmpfs",
                                    MS_REMOUNT | MS_RDONLY, nullptr) == 0;
#else
        return false;
#endif
    }
    // Lazy unmount, as "umount -l" does: open files stay readable, new opens fail.
    void detach()
    {
#ifdef Q_OS_LINUX
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir).constData(), MNT_DETACH);
#endif
        m_mounted = false;
    }

private:
    QString m_dir;
    QString m_reason;
    bool m_mounted = false;
};
