<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>FileFormatCSV</name>
    <message>
        <source>CSV files cannot be opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file cannot be written: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileFormatRegistry</name>
    <message>
        <source>Unknown file extension.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileFormatTKR</name>
    <message>
        <source>The file cannot be written: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file cannot be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is not a TKX archive.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is not a complete TKX archive: its track index of %1 entries runs past the end of the file.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>MainWindow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KV-730 </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download all track points</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete all track points</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>play</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>rewind</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the application&apos;s About box</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kilometers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Miles</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Feet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UTC time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Local time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Height</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About KV730 Tool</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WARNGING</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to start</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
