<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>DeviceKV310</name>
    <message>
        <source>the logger does not respond</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is not on the logger&apos;s list</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>the logger did not answer within %n second(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>the logger is no longer connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file could not be read (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no such file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DeviceSettingDialog</name>
    <message>
        <source>Device setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data logging format</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data logging setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power Saving Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bluetooth Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Height Limit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data logging interval</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 Sec</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2 Sec</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3 Sec</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>4 Sec</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>5 Sec</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GPS interval:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DownloadRun</name>
    <message>
        <source>Downloading track files...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the logger was removed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The track file %1 could not be downloaded: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n further track file(s) were not downloaded.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
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
    <name>FileFormatGPL</name>
    <message>
        <source>Log files cannot be written, only read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file cannot be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file cannot be read to its end: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The log holds more points than a track can keep: its last %1 points were left out.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileFormatGPX</name>
    <message>
        <source>GPX files cannot be opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file cannot be written: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileFormatKML</name>
    <message>
        <source>KML files cannot be opened.</source>
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
    <message>
        <source>%1 is not a regular file.</source>
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
    <message>
        <source>The file became shorter while it was read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The archive is incomplete: %1 of its %2 tracks and %3 of its %4 points are missing.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FilterDialog</name>
    <message>
        <source>Filter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter Rule</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&gt;=</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>=</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;=</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Mark Point</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter Speed:</source>
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
    <message>
        <source>TKX File (*.tkx);;GPL File (*.gpl)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 could not be opened.
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TKX File (*.tkx);;GPX File (*.gpx);;KML File (*.kml);;CSV File (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TKX File (*.tkx)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GPX File (*.gpx)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KML File (*.kml)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV File (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 could not be saved.
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete device all track points.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to delete all track points?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The track files are first copied to %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set device configuration ok.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to set device configuration.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete all track files ok.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n track file(s) could not be deleted and remain on the device.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Failed connect device.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read device data timeout.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Companion tool for the KV-730 GPS data logger.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Track files to open (.tkx archives, .gpl logs); shown together.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Unit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Height</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Playback speed:
left: slow, one point every 0.75 s
middle: normal, one point every 0.5 s
right: fast, one point every 0.25 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Opened %1 (tracks: %2, points: %3).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saved %1 (tracks: %2, points: %3).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>marked points</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>speed %1 %2 %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter: %1 (%2 of %3 points listed)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom to Tracks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed Colours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 is damaged; what could be read was opened.
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No track is ticked. Tick the tracks to save in the track list.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chosen track files hold no track points.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deleting track files...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The track files were copied to %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The track files could not be deleted: the logger does not respond.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloaded %1 track files from %2 (points: %3).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MapWidget</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Solution Explorer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about:blank</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Properties Bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KV-730 Data Logger</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Latitude</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Longitude</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Altitude</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProfileChart</name>
    <message>
        <source>Speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Altitude</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Altitude (%1)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>Save marked points only</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SaveFile</name>
    <message>
        <source>%1 is not a regular file.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrackFileHeaderDialog</name>
    <message>
        <source>Selection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Track Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KV-730 files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Track Files</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrackStatistics</name>
    <message>
        <source>Points</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Marked points</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>End</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Moving time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Distance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Average speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Moving average speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum altitude</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum altitude</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ascent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Descent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
