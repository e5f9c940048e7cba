#include "device/deviceconfig.h"

#include "device/devicelog.h"
#include "formats/savefile.h"
#include "formats/textoutput.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTextStream>

DeviceConfig DeviceConfig::readFile(const QString& filePath)
{
    // Anything but a plain file (a pipe would block the read for good) counts as missing.
    const QFileInfo info(filePath);
    QSettings settings(info.exists() && !info.isFile() ? QString() : filePath,
                       QSettings::IniFormat);
    const QString enable = QStringLiteral("Enable");
    const QString disable = QStringLiteral("Disable");
    DeviceConfig config;
    config.powerSaving =
        settings.value(QStringLiteral("Power Saving Mode"), enable).toString() == enable;
    config.bluetooth =
        settings.value(QStringLiteral("Bluetooth Status"), disable).toString() == enable;
    config.heightLimit =
        settings.value(QStringLiteral("Height Limit"), enable).toString() == enable;
    config.testMode = settings.value(QStringLiteral("Test Mode"), disable).toString() == enable;
    const QString logger =
        settings.value(QStringLiteral("Data Logger"), QStringLiteral("Position:G-Sensor"))
            .toString();
    if (logger.contains(QLatin1String("Position")))
        config.loggingFormat += 1;
    if (logger.contains(QLatin1String("G-Sensor")))
        config.loggingFormat += 2;
    config.gpsInterval = settings.value(QStringLiteral("GPS interval"), 1).toDouble();
    return config;
}

QString DeviceConfig::toText() const
{
    QString text;
    QTextStream out(&text);
    const auto onOff = [](bool on) { return on ? "Enable\n" : "Disable\n"; };
    out << "Data Logger = ";
    if (loggingFormat == 3)
        out << "Position:G-Sensor";
    else if (loggingFormat == 1)
        out << "Position";
    else if (loggingFormat == 2)
        out << "G-Sensor";
    out << "\n";
    out << "GPS interval = " << gpsInterval << "\n";
    out << "Power Saving Mode = " << onOff(powerSaving);
    out << "Bluetooth Status = " << onOff(bluetooth);
    out << "Height Limit = " << onOff(heightLimit);
    out << "Test Mode = " << onOff(testMode);
    out.flush();
    return text;
}

QByteArray DeviceConfig::mergedInto(const QByteArray& old, const char* lineEnd) const
{
    QList<QByteArray> settings = toText().toUtf8().split('\n');
    settings.removeLast(); // after the last line end
    if (old.isEmpty())
        return settings.join(lineEnd) + lineEnd;
    // The logger's file keeps its own line ends, whatever the platform's are.
    const int firstEnd = old.indexOf('\n');
    const QByteArray end = firstEnd > 0 && old.at(firstEnd - 1) == '\r' ? "\r\n"
                           : firstEnd >= 0                              ? "\n"
                                                                        : lineEnd;
    QByteArray text;
    QList<bool> written;
    for (int i = 0; i < settings.size(); ++i)
        written << false;
    int start = 0;
    while (start < old.size()) {
        int stop = old.indexOf('\n', start);
        stop = stop < 0 ? old.size() : stop + 1;
        QByteArray line = old.mid(start, stop - start);
        start = stop;
        const QByteArray key = line.left(line.indexOf('=')).trimmed();
        for (int i = 0; i < settings.size() && line.contains('='); ++i) {
            const QByteArray& setting = settings.at(i);
            if (setting.left(setting.indexOf('=')).trimmed() != key)
                continue;
            written[i] = true;
            const QByteArray value = setting.mid(setting.indexOf('=') + 1).trimmed();
            if (line.mid(line.indexOf('=') + 1).trimmed() != value)
                line = setting + (line.endsWith('\n') ? end : QByteArray());
        }
        text += line;
    }
    for (int i = 0; i < settings.size(); ++i) {
        if (written.at(i))
            continue;
        if (!text.endsWith('\n'))
            text += end;
        text += settings.at(i) + end;
    }
    return text;
}

bool DeviceConfig::writeFile(const QString& filePath) const
{
    // Anything but a plain file of a sensible size is replaced as if there were none.
    QByteArray old;
    const QFileInfo info(filePath);
    QFile oldFile(filePath);
    if (info.isFile() && info.size() <= 65536 && oldFile.open(QIODevice::ReadOnly))
        old = oldFile.read(65536);
    oldFile.close();
    SaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly)) {
        qCWarning(lcDevice) << "cannot write" << filePath << file.errorString();
        return false;
    }
    TextOutput out(&file, "\n");
    out.append(mergedInto(old, platformLineEnd));
    if (!out.flush() || !file.commit()) {
        qCWarning(lcDevice) << "cannot write" << filePath << file.errorString();
        return false;
    }
    return true;
}
