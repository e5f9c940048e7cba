#include "device/deviceconfig.h"

#include "device/devicelog.h"
#include "formats/savefile.h"
#include "formats/textoutput.h"

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

bool DeviceConfig::writeFile(const QString& filePath) const
{
    SaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly)) {
        qCWarning(lcDevice) << "cannot write" << filePath << file.errorString();
        return false;
    }
    TextOutput out(&file);
    out.appendText(toText().toUtf8());
    if (!out.flush() || !file.commit()) {
        qCWarning(lcDevice) << "cannot write" << filePath << file.errorString();
        return false;
    }
    return true;
}
