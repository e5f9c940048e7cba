#pragma once

#include "view/track.h"

#include <QList>
#include <QString>
#include <QVector>

#include <functional>

class QIODevice;

// A track file format: a reader, a writer, or both.
class FileFormat
{
public:
    virtual ~FileFormat() = default;
    // Appends the tracks read from fileName.
    virtual bool load(QVector<Track>& tracks, const QString& fileName) = 0;
    // Writes the tracks of selection (indices into tracks, in order).
    virtual bool save(QVector<Track> tracks, QString& fileName, QList<int> selection,
                      bool markedOnly) = 0;
    // Whether load() and save() do anything but fail; the dialogs offer only what works.
    virtual bool canRead() const { return true; }
    virtual bool canWrite() const { return true; }
    // Why the last load or save failed, for the user.
    QString errorString() const { return m_errorString; }
    // What the last successful load left out of a damaged file (tracks, points), for the
    // user; empty when the file was read whole.
    QString warningString() const { return m_warningString; }
    // What the last successful load left out on purpose (waypoints, single points), for the
    // user; empty when nothing was.
    QString noticeString() const { return m_noticeString; }

protected:
    // Replaces fileName with what write() puts on the device, only once all of it reached
    // the disk; otherwise the old file stays and errorString() says why.
    bool saveThrough(const QString& fileName, const std::function<bool(QIODevice*)>& write);
    void setErrorString(const QString& text) { m_errorString = text; }
    void setWarningString(const QString& text) { m_warningString = text; }
    void setNoticeString(const QString& text) { m_noticeString = text; }
    // Clears the three texts before a load.
    void clearMessages()
    {
        m_errorString.clear();
        m_warningString.clear();
        m_noticeString.clear();
    }

private:
    QString m_errorString;
    QString m_warningString;
    QString m_noticeString;
};
