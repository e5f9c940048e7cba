#include "formats/argumentnames.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextCodec>

QSet<QString> ArgumentNames::unreadable(int argc, const char* const* argv)
{
    QSet<QString> names;
#ifndef _WIN32 // Windows hands programs their arguments as text
    for (int i = 0; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        const QString text = QString::fromLocal8Bit(bytes);
        if (QFile::encodeName(text) != bytes)
            names.insert(text);
    }
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
#endif
    return names;
}

QString ArgumentNames::reason(bool output)
{
    QTextCodec* codec = QTextCodec::codecForLocale();
    const QString encoding =
        codec ? QString::fromLatin1(codec->name()) : QStringLiteral("UTF-8");
    if (output)
        return QCoreApplication::translate("ArgumentNames",
                                           "The file name is not valid %1 text. Choose another "
                                           "name.")
            .arg(encoding);
    return QCoreApplication::translate("ArgumentNames",
                                       "The file name is not valid %1 text, so the file cannot "
                                       "be opened by it. Rename the file and try again.")
        .arg(encoding);
}
