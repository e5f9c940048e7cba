<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
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
        </translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloading track file %1 of %2...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ExivSupport</name>
    <message>
        <source>This is not a photo, or not of a known kind.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The photo is damaged (%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The photo&apos;s metadata would grow beyond what a JPEG file can hold.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not enough memory.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It cannot be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The photo cannot be handled (%1).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileFormat</name>
    <message>
        <source>The file cannot be written: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileFormatCSV</name>
    <message>
        <source>The file cannot be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The first line must name the columns of latitude and longitude. Looked for: latitude (%1), longitude (%2); optional: altitude (%3), speed (%4), date (%5), time (%6), date and time (%7).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file holds no rows below its header.</source>
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
        <source>The file cannot be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This is not a GPX file: it holds no gpx element.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file holds no track and no route (waypoints: %1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n waypoint(s) of the file are not track points and were left out.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FileFormatKML</name>
    <message>
        <source>The file cannot be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This is not a KML file: it holds no kml element.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file holds no line and no gx:Track (single points: %1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n single point(s) of the file are not tracks and were left out.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FileFormatNMEA</name>
    <message>
        <source>The file cannot be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NMEA files cannot be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No RMC or GGA sentence was found: this is not an NMEA 0183 log.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The log holds no valid position (no RMC sentence with status A and a date).</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n line(s) with a wrong checksum were left out.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
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
    <message>
        <source>Unknown file type: neither the extension nor the content is that of a track file.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileFormatTKR</name>
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
    <message>
        <source>Of the missing points, %1 were read but left out: no logger records such values.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileReplacer</name>
    <message>
        <source>No temporary file can be made beside it: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It cannot be written: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It cannot be copied: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It cannot be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is no longer there.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It cannot be replaced: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No copy of the original can be kept: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It has %1 names (hard links), which replacing it would split; it is left as it is.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its owner or attributes cannot be kept: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another program changed, replaced or removed it meanwhile; it is left as it is.</source>
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
    <name>GeotagDialog</name>
    <message>
        <source>Geotag Photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Photos...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Folder...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Capture time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UTC time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Matching</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera time zone:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The zone the camera&apos;s clock was set to. Photos that record their own offset from UTC are read in that offset.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera clock ahead by:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>How far the camera&apos;s clock was ahead of the true time, in seconds: 133 for a camera 2 min 13 s fast, -5 for one 5 s slow.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Largest gap between track points:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A photo taken between two track points further apart than this gets no position.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace positions already in photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep a copy of each original file (name_original)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This computer (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UTC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading the photos...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Photos (%1);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 of %2 photos matched, on %3 points of %n ticked track(s).</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>, %1 m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (the photo has a position already and is left as it is)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, %2 UTC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not written: the writing was cancelled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Writing the positions into the photos...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 skipped: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 failed: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n photo(s) tagged.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n photo(s) skipped.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n photo(s) failed.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>... and %n more.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>GeotagMatcher</name>
    <message>
        <source>The photo does not record when it was taken.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chosen tracks hold no timed points.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Taken before the first track point (%1 UTC).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Taken after the last track point (%1 UTC).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Taken in a gap of %1 s between track points (largest allowed: %2 s).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GoogleMapOperator</name>
    <message>
        <source>Map tiles cannot be loaded: no network connection or no such tiles.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GpsFilter</name>
    <message>
        <source>%1: GPS_filter &quot;%2&quot; is not a whole number from %3 to %4; the default %5 applies.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ImportSupport</name>
    <message>
        <source>The file declares a document type (DTD); such files are not opened, since their entities could reach other files or swell without end.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file refers to an entity that it does not define.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The elements are nested more than %1 deep.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line %1, column %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n point(s) could not be read and were left out.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>The file breaks off or is damaged after the points that were read (%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A single text or attribute is longer than %1 MB; the file is not read further.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is empty.</source>
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
    <message>
        <source>Geotag Photos...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Filter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Files...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add the tracks of files to the tracks shown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A download is going on.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop the download and quit?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 File (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All track files (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (damaged, opened in part): %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Added %1 (tracks: %2, points: %3).</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) are damaged; what could be read was opened.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) could not be opened.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>... and %n more (see the details).</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) were damaged and opened in part.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Download cancelled.</source>
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
    <message>
        <source>Speed (derived)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PhotoReader</name>
    <message>
        <source>The file does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This is not a file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only JPEG, TIFF and raw photos can be geotagged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The capture time of %1 raw files cannot be read; it is skipped.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PhotoWriter</name>
    <message>
        <source>It already records a position (replacing was not asked for).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It cannot be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its sidecar %1 is read-only.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its sidecar %1 cannot be read, and is left as it is.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only JPEG, TIFF and raw photos can be geotagged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This is not a file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The photo is read-only.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its sidecar %1 is not a file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its sidecar %1 is larger than %2 MB.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It is damaged and left as it is: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its segments do not lead to its image data.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its metadata would grow beyond what a JPEG file can hold; it is left as it is.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its XMP packet cannot be written again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This is not a photo, or not of a known kind.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its metadata is larger than %1 MB; it is left as it is.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is cut short.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its altitude of %1 m is left out: Exif cannot record it.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PointListModel</name>
    <message>
        <source> (derived)</source>
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
    <message>
        <source>Speed (derived)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>Save marked points only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SaveFile</name>
    <message>
        <source>%1 is not a regular file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 has %2 names (hard links), and saving would part it from the others. Save it under another name.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TiffAppender</name>
    <message>
        <source>Its metadata is damaged: the byte order is not recorded.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Photos of more than 4 GB (BigTIFF) cannot be geotagged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its metadata is damaged: the TIFF header is not valid.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its metadata is damaged: a directory (%1) lies outside it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its metadata is damaged: a directory (%1) is cut short.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its metadata is damaged: tag 0x%1 points outside it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its metadata is damaged: the places of its image data are not recorded.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its image data is cut short.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its metadata is damaged: its directories form a loop.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It has more directories or pages than can be carried over.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its metadata is damaged: a directory (%1) is not recorded properly.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its metadata would grow beyond what the file can hold.</source>
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
    <message>
        <source>File Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration</source>
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
    <message>
        <source>Maximum speed (derived)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Units</name>
    <message>
        <source>mi/hr</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>km/hr</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>feet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mi</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>km</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
