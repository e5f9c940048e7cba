#include "formats/fileformatregistry.h"

#include "formats/fileformatcsv.h"
#include "formats/fileformatgpl.h"
#include "formats/fileformatgpx.h"
#include "formats/fileformatkml.h"
#include "formats/fileformatnmea.h"
#include "formats/fileformattkr.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

FileFormatRegistry::~FileFormatRegistry()
{
    for (FileFormat* format : qAsConst(m_formats))
        delete format;
    m_formats.clear();
}

void FileFormatRegistry::add(const QString& extension, FileFormat* format)
{
    delete m_formats.value(extension);
    m_formats.insert(extension, format);
    if (!m_order.contains(extension))
        m_order.append(extension);
}

void FileFormatRegistry::addStandardFormats(const DisplaySettings* settings)
{
    add(QStringLiteral(".tkx"), new FileFormatTKR);
    add(QStringLiteral(".csv"), new FileFormatCSV(settings));
    add(QStringLiteral(".gpx"), new FileFormatGPX);
    add(QStringLiteral(".kml"), new FileFormatKML);
    add(QStringLiteral(".gpl"), new FileFormatGPL);
    add(QStringLiteral(".nmea"), new FileFormatNMEA);
}

QString FileFormatRegistry::sniffExtension(const QByteArray& head)
{
    if (head.startsWith("VLTR"))
        return QStringLiteral(".tkx");
    if (head.contains("<gpx"))
        return QStringLiteral(".gpx");
    if (head.contains("<kml"))
        return QStringLiteral(".kml");
    const QList<QByteArray> lines = head.split('\n');
    for (const QByteArray& line : lines) {
        const int dollar = line.indexOf('$');
        if (dollar >= 0 && line.size() > dollar + 6 &&
            (line.mid(dollar + 3, 3) == "RMC" || line.mid(dollar + 3, 3) == "GGA"))
            return QStringLiteral(".nmea");
        if (line.contains(",*GPS,") || line.contains(",@GPS,"))
            return QStringLiteral(".gpl");
    }
    const QByteArray first = lines.value(0).toLower();
    if (first.contains("lat") && (first.contains(',') || first.contains(';') || first.contains('\t')))
        return QStringLiteral(".csv");
    return QString();
}

FileFormat* FileFormatRegistry::findFormat(const QString& fileName, Qt::CaseSensitivity cs) const
{
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return nullptr;
    const QString extension = fileName.mid(dot);
    if (FileFormat* exact = m_formats.value(extension, nullptr))
        return exact;
    for (auto it = m_formats.cbegin(); cs == Qt::CaseInsensitive && it != m_formats.cend(); ++it) {
        if (it.key().compare(extension, Qt::CaseInsensitive) == 0)
            return it.value();
    }
    return nullptr;
}

bool FileFormatRegistry::load(QVector<Track>& tracks, const QString& fileName)
{
    m_warningString.clear();
    m_noticeString.clear();
    // A pipe or device in the place of a file would block a reader for good, or feed it
    // without end.
    const QFileInfo info(fileName);
    if (info.exists() && !info.isFile() && !info.isDir()) {
        m_errorString =
            QCoreApplication::translate("FileFormatRegistry", "%1 is not a regular file.")
                .arg(QDir::toNativeSeparators(fileName));
        return false;
    }
    FileFormat* format = findFormat(fileName, Qt::CaseInsensitive);
    if (!format && info.isFile()) {
        QFile file(fileName);
        if (file.open(QIODevice::ReadOnly))
            format = m_formats.value(sniffExtension(file.read(4096)), nullptr);
    }
    if (!format) {
        m_errorString = QCoreApplication::translate(
            "FileFormatRegistry",
            "Unknown file type: neither the extension nor the content is that of a track file.");
        return false;
    }
    const bool ok = format->load(tracks, fileName);
    m_errorString = ok ? QString() : format->errorString();
    m_warningString = ok ? format->warningString() : QString();
    m_noticeString = ok ? format->noticeString() : QString();
    return ok;
}

QStringList FileFormatRegistry::readableExtensions() const
{
    QStringList extensions;
    for (const QString& extension : m_order) {
        if (m_formats.value(extension)->canRead())
            extensions << extension;
    }
    return extensions;
}

QStringList FileFormatRegistry::writableExtensions() const
{
    QStringList extensions;
    for (const QString& extension : m_order) {
        if (m_formats.value(extension)->canWrite())
            extensions << extension;
    }
    return extensions;
}

bool FileFormatRegistry::save(const QVector<Track>& tracks, QString fileName, QList<int> selection,
                              bool markedOnly, Qt::CaseSensitivity cs)
{
    FileFormat* format = findFormat(fileName, cs);
    if (!format) {
        m_errorString =
            QCoreApplication::translate("FileFormatRegistry", "Unknown file extension.");
        return false;
    }
    const bool ok = format->save(tracks, fileName, selection, markedOnly);
    m_errorString = ok ? QString() : format->errorString();
    return ok;
}
