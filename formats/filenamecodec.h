#pragma once

#include <QTextCodec>

// UTF-8 that keeps every byte: file names on Unix systems are bytes, and a name written on
// another system (in Latin-1, say) is no UTF-8 text. Qt decodes names and arguments with the
// locale's codec and, with plain UTF-8, turns such bytes into replacement characters, so the
// file could be neither listed nor opened. Here each byte that is not part of valid UTF-8
// becomes one of the lone surrogates U+DC80 to U+DCFF and is written back as that byte, so
// every name survives the round trip; printable() shows such bytes as \xNN.
//
// Text is converted in one piece: names and arguments come whole, and a sequence cut off at
// the end of the input is kept as bytes rather than carried over to the next call.
class FileNameCodec : public QTextCodec
{
public:
    // Makes the codec the locale's codec on systems whose file names are bytes (all but
    // Windows), where the locale's encoding is UTF-8. Call once, before reading arguments.
    static void install();
    // The text with bytes kept from invalid UTF-8 and control characters (a tab or newline
    // would break a line of output) as \xNN.
    static QString printable(const QString& text);

    QByteArray name() const override;
    int mibEnum() const override;

protected:
    QString convertToUnicode(const char* in, int length, ConverterState* state) const override;
    QByteArray convertFromUnicode(const QChar* in, int length,
                                  ConverterState* state) const override;
};
