<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>DeviceKV310</name>
    <message>
        <source>the logger does not respond</source>
        <translation>the logger does not respond</translation>
    </message>
    <message>
        <source>the file is not on the logger&apos;s list</source>
        <translation>the file is not on the logger&apos;s list</translation>
    </message>
    <message numerus="yes">
        <source>the logger did not answer within %n second(s)</source>
        <translation>
            <numerusform>the logger did not answer within %n second</numerusform>
            <numerusform>the logger did not answer within %n seconds</numerusform>
        </translation>
    </message>
    <message>
        <source>the logger is no longer connected</source>
        <translation>the logger is no longer connected</translation>
    </message>
    <message>
        <source>the file could not be read (%1)</source>
        <translation>the file could not be read (%1)</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>no such file</source>
        <translation>no such file</translation>
    </message>
</context>
<context>
    <name>DeviceSettingDialog</name>
    <message>
        <source>Device setting</source>
        <translation>Logger Settings</translation>
    </message>
    <message>
        <source>Data logging format</source>
        <translation>What is logged</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Data logging setting</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Power Saving Mode</source>
        <translation>Power saving</translation>
    </message>
    <message>
        <source>Bluetooth Status</source>
        <translation>Bluetooth</translation>
    </message>
    <message>
        <source>Height Limit</source>
        <translation>Height limit</translation>
    </message>
    <message>
        <source>Test Mode</source>
        <translation>Test mode</translation>
    </message>
    <message>
        <source>Data logging interval</source>
        <translation>Logging interval</translation>
    </message>
    <message>
        <source>1 Sec</source>
        <translation>1 second</translation>
    </message>
    <message>
        <source>2 Sec</source>
        <translation>2 seconds</translation>
    </message>
    <message>
        <source>3 Sec</source>
        <translation>3 seconds</translation>
    </message>
    <message>
        <source>4 Sec</source>
        <translation>4 seconds</translation>
    </message>
    <message>
        <source>5 Sec</source>
        <translation>5 seconds</translation>
    </message>
    <message>
        <source>GPS interval:</source>
        <translation>A position every:</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>DownloadRun</name>
    <message>
        <source>the logger was removed</source>
        <translation>the logger was removed</translation>
    </message>
    <message>
        <source>The track file %1 could not be downloaded: %2.</source>
        <translation>The track file %1 could not be downloaded: %2.</translation>
    </message>
    <message numerus="yes">
        <source>%n further track file(s) were not downloaded.</source>
        <translation>
            <numerusform>%n further track file was not downloaded.</numerusform>
            <numerusform>%n further track files were not downloaded.</numerusform>
        </translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Downloading track file %1 of %2...</source>
        <translation>Downloading track file %1 of %2...</translation>
    </message>
</context>
<context>
    <name>ExivSupport</name>
    <message>
        <source>This is not a photo, or not of a known kind.</source>
        <translation>This is not a photo, or not of a known kind.</translation>
    </message>
    <message>
        <source>The photo is damaged (%1).</source>
        <translation>The photo is damaged (%1).</translation>
    </message>
    <message>
        <source>The photo&apos;s metadata would grow beyond what a JPEG file can hold.</source>
        <translation>The photo&apos;s metadata would grow beyond what a JPEG file can hold.</translation>
    </message>
    <message>
        <source>Not enough memory.</source>
        <translation>Not enough memory.</translation>
    </message>
    <message>
        <source>It cannot be read: %1</source>
        <translation>It cannot be read: %1</translation>
    </message>
    <message>
        <source>The photo cannot be handled (%1).</source>
        <translation>The photo cannot be processed (%1).</translation>
    </message>
</context>
<context>
    <name>FileFormat</name>
    <message>
        <source>The file cannot be written: %1</source>
        <translation>The file cannot be written: %1</translation>
    </message>
</context>
<context>
    <name>FileFormatCSV</name>
    <message>
        <source>The file cannot be read: %1</source>
        <translation>The file cannot be read: %1</translation>
    </message>
    <message>
        <source>The first line must name the columns of latitude and longitude. Looked for: latitude (%1), longitude (%2); optional: altitude (%3), speed (%4), date (%5), time (%6), date and time (%7).</source>
        <translation>The first line must name the latitude and longitude columns. Recognized names: latitude (%1), longitude (%2); optional: altitude (%3), speed (%4), date (%5), time (%6), date and time (%7).</translation>
    </message>
    <message>
        <source>The file holds no rows below its header.</source>
        <translation>The file has no rows below its header.</translation>
    </message>
</context>
<context>
    <name>FileFormatGPL</name>
    <message>
        <source>Log files cannot be written, only read.</source>
        <translation>Log files cannot be written, only read.</translation>
    </message>
    <message>
        <source>The file cannot be read: %1</source>
        <translation>The file cannot be read: %1</translation>
    </message>
    <message>
        <source>The file cannot be read to its end: %1</source>
        <translation>The file cannot be read to its end: %1</translation>
    </message>
    <message>
        <source>The log holds more points than a track can keep: its last %1 points were left out.</source>
        <translation>The log holds more points than a track can keep: its last %1 points were left out.</translation>
    </message>
</context>
<context>
    <name>FileFormatGPX</name>
    <message>
        <source>The file cannot be read: %1</source>
        <translation>The file cannot be read: %1</translation>
    </message>
    <message>
        <source>This is not a GPX file: it holds no gpx element.</source>
        <translation>This is not a GPX file: it has no gpx element.</translation>
    </message>
    <message>
        <source>The file holds no track and no route (waypoints: %1).</source>
        <translation>The file contains no tracks or routes (waypoints: %1).</translation>
    </message>
    <message numerus="yes">
        <source>%n waypoint(s) of the file are not track points and were left out.</source>
        <translation>
            <numerusform>%n waypoint in the file is not a track point and was left out.</numerusform>
            <numerusform>%n waypoints in the file are not track points and were left out.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FileFormatKML</name>
    <message>
        <source>The file cannot be read: %1</source>
        <translation>The file cannot be read: %1</translation>
    </message>
    <message>
        <source>This is not a KML file: it holds no kml element.</source>
        <translation>This is not a KML file: it has no kml element.</translation>
    </message>
    <message>
        <source>The file holds no line and no gx:Track (single points: %1).</source>
        <translation>The file contains no lines or gx:Track elements (single points: %1).</translation>
    </message>
    <message numerus="yes">
        <source>%n single point(s) of the file are not tracks and were left out.</source>
        <translation>
            <numerusform>%n single point in the file is not a track and was left out.</numerusform>
            <numerusform>%n single points in the file are not tracks and were left out.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FileFormatNMEA</name>
    <message>
        <source>The file cannot be read: %1</source>
        <translation>The file cannot be read: %1</translation>
    </message>
    <message>
        <source>NMEA files cannot be written.</source>
        <translation>NMEA files cannot be written, only read.</translation>
    </message>
    <message>
        <source>No RMC or GGA sentence was found: this is not an NMEA 0183 log.</source>
        <translation>No RMC or GGA sentence was found: this is not an NMEA 0183 log.</translation>
    </message>
    <message>
        <source>The log holds no valid position (no RMC sentence with status A and a date).</source>
        <translation>The log contains no valid position (no RMC sentence with status A and a date).</translation>
    </message>
    <message numerus="yes">
        <source>%n line(s) with a wrong checksum were left out.</source>
        <translation>
            <numerusform>%n line with an invalid checksum was left out.</numerusform>
            <numerusform>%n lines with invalid checksums were left out.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FileFormatRegistry</name>
    <message>
        <source>Unknown file extension.</source>
        <translation>Unknown file extension.</translation>
    </message>
    <message>
        <source>%1 is not a regular file.</source>
        <translation>%1 is not a regular file.</translation>
    </message>
    <message>
        <source>Unknown file type: neither the extension nor the content is that of a track file.</source>
        <translation>Unknown file type: neither its extension nor its content is that of a track file.</translation>
    </message>
</context>
<context>
    <name>FileFormatTKR</name>
    <message>
        <source>The file cannot be read: %1</source>
        <translation>The file cannot be read: %1</translation>
    </message>
    <message>
        <source>The file is not a TKX archive.</source>
        <translation>The file is not a TKX archive.</translation>
    </message>
    <message>
        <source>The file is not a complete TKX archive: its track index of %1 entries runs past the end of the file.</source>
        <translation>The file is not a complete TKX archive: its track index of %1 entries runs past the end of the file.</translation>
    </message>
    <message>
        <source>The file became shorter while it was read.</source>
        <translation>The file became shorter while it was read.</translation>
    </message>
    <message>
        <source>The archive is incomplete: %1 of its %2 tracks and %3 of its %4 points are missing.</source>
        <translation>The archive is incomplete: %1 of its %2 tracks and %3 of its %4 points are missing.</translation>
    </message>
    <message>
        <source>Of the missing points, %1 were read but left out: no logger records such values.</source>
        <translation>Of the missing points, %1 were read but left out: they hold values no logger records.</translation>
    </message>
</context>
<context>
    <name>FileReplacer</name>
    <message>
        <source>No temporary file can be made beside it: %1</source>
        <translation>No temporary file can be made beside it: %1</translation>
    </message>
    <message>
        <source>It cannot be written: %1</source>
        <translation>It cannot be written: %1</translation>
    </message>
    <message>
        <source>It cannot be copied: %1</source>
        <translation>It cannot be copied: %1</translation>
    </message>
    <message>
        <source>It cannot be read: %1</source>
        <translation>It cannot be read: %1</translation>
    </message>
    <message>
        <source>The file is no longer there.</source>
        <translation>The file is no longer there.</translation>
    </message>
    <message>
        <source>It cannot be replaced: %1</source>
        <translation>It cannot be replaced: %1</translation>
    </message>
    <message>
        <source>No copy of the original can be kept: %1</source>
        <translation>No copy of the original can be kept: %1</translation>
    </message>
    <message>
        <source>It has %1 names (hard links), which replacing it would split; it is left as it is.</source>
        <translation>It has %1 names (hard links) that replacing it would separate; it is left as it is.</translation>
    </message>
    <message>
        <source>Its owner or attributes cannot be kept: %1</source>
        <translation>Its owner or attributes cannot be preserved: %1</translation>
    </message>
    <message>
        <source>Another program changed, replaced or removed it meanwhile; it is left as it is.</source>
        <translation>Another program changed, replaced or removed it in the meantime; it is left as it is.</translation>
    </message>
</context>
<context>
    <name>FilterDialog</name>
    <message>
        <source>Filter</source>
        <translation>Filter Points</translation>
    </message>
    <message>
        <source>Filter Rule</source>
        <translation>List the points</translation>
    </message>
    <message>
        <source>&gt;</source>
        <translation>&gt;</translation>
    </message>
    <message>
        <source>&gt;=</source>
        <translation>&gt;=</translation>
    </message>
    <message>
        <source>=</source>
        <translation>=</translation>
    </message>
    <message>
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
    <message>
        <source>&lt;=</source>
        <translation>&lt;=</translation>
    </message>
    <message>
        <source>All Mark Point</source>
        <translation>Marked points only</translation>
    </message>
    <message>
        <source>Filter Speed:</source>
        <translation>Speed:</translation>
    </message>
</context>
<context>
    <name>GeotagDialog</name>
    <message>
        <source>Geotag Photos</source>
        <translation>Geotag Photos</translation>
    </message>
    <message>
        <source>Add Photos...</source>
        <translation>Add Photos...</translation>
    </message>
    <message>
        <source>Add Folder...</source>
        <translation>Add Folder...</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Capture time</source>
        <translation>Capture time</translation>
    </message>
    <message>
        <source>UTC time</source>
        <translation>UTC time</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Matching</source>
        <translation>Matching</translation>
    </message>
    <message>
        <source>Camera time zone:</source>
        <translation>Camera time zone:</translation>
    </message>
    <message>
        <source>The zone the camera&apos;s clock was set to. Photos that record their own offset from UTC are read in that offset.</source>
        <translation>The zone the camera&apos;s clock was set to. Photos that record their own offset from UTC are read in that offset.</translation>
    </message>
    <message>
        <source>Camera clock ahead by:</source>
        <translation>Camera clock ahead by:</translation>
    </message>
    <message>
        <source>How far the camera&apos;s clock was ahead of the true time, in seconds: 133 for a camera 2 min 13 s fast, -5 for one 5 s slow.</source>
        <translation>How far the camera&apos;s clock was ahead of the true time, in seconds: 133 for a camera 2 min 13 s fast, -5 for one 5 s slow.</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>Largest gap between track points:</source>
        <translation>Largest gap between track points:</translation>
    </message>
    <message>
        <source>A photo taken between two track points further apart than this gets no position.</source>
        <translation>A photo taken between two track points further apart than this gets no position.</translation>
    </message>
    <message>
        <source>Replace positions already in photos</source>
        <translation>Replace positions already in photos</translation>
    </message>
    <message>
        <source>Keep a copy of each original file (name_original)</source>
        <translation>Keep a copy of each original file (name_original)</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>This computer (%1)</source>
        <translation>This computer (%1)</translation>
    </message>
    <message>
        <source>UTC</source>
        <translation>UTC</translation>
    </message>
    <message>
        <source>Reading the photos...</source>
        <translation>Reading the photos...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Add Photos</source>
        <translation>Add Photos</translation>
    </message>
    <message>
        <source>Photos (%1);;All files (*)</source>
        <translation>Photos (%1);;All files (*)</translation>
    </message>
    <message>
        <source>Add Folder</source>
        <translation>Add Folder</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %2 photos matched, on %3 points of %n ticked track(s).</source>
        <translation>
            <numerusform>%1 of %2 photos matched, on %3 points of %n ticked track.</numerusform>
            <numerusform>%1 of %2 photos matched, on %3 points of %n ticked tracks.</numerusform>
        </translation>
    </message>
    <message>
        <source>, %1 m</source>
        <translation>, %1 m</translation>
    </message>
    <message>
        <source> (the photo has a position already and is left as it is)</source>
        <translation> (the photo has a position already and is left as it is)</translation>
    </message>
    <message>
        <source>%1, %2 UTC</source>
        <translation>%1, %2 UTC</translation>
    </message>
    <message>
        <source>Not written: the writing was cancelled.</source>
        <translation>Not written: the writing was cancelled.</translation>
    </message>
    <message>
        <source>Writing the positions into the photos...</source>
        <translation>Writing the positions into the photos...</translation>
    </message>
    <message>
        <source>%1 skipped: %2</source>
        <translation>%1 skipped: %2</translation>
    </message>
    <message>
        <source>%1 failed: %2</source>
        <translation>%1 failed: %2</translation>
    </message>
    <message numerus="yes">
        <source>%n photo(s) tagged.</source>
        <translation>
            <numerusform>%n photo tagged.</numerusform>
            <numerusform>%n photos tagged.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n photo(s) skipped.</source>
        <translation>
            <numerusform>%n photo skipped.</numerusform>
            <numerusform>%n photos skipped.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n photo(s) failed.</source>
        <translation>
            <numerusform>%n photo failed.</numerusform>
            <numerusform>%n photos failed.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>... and %n more.</source>
        <translation>
            <numerusform>... and %n more.</numerusform>
            <numerusform>... and %n more.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>GeotagMatcher</name>
    <message>
        <source>The photo does not record when it was taken.</source>
        <translation>The photo does not record when it was taken.</translation>
    </message>
    <message>
        <source>The chosen tracks hold no timed points.</source>
        <translation>The chosen tracks hold no timed points.</translation>
    </message>
    <message>
        <source>Taken before the first track point (%1 UTC).</source>
        <translation>Taken before the first track point (%1 UTC).</translation>
    </message>
    <message>
        <source>Taken after the last track point (%1 UTC).</source>
        <translation>Taken after the last track point (%1 UTC).</translation>
    </message>
    <message>
        <source>Taken in a gap of %1 s between track points (largest allowed: %2 s).</source>
        <translation>Taken in a gap of %1 s between track points (largest allowed: %2 s).</translation>
    </message>
</context>
<context>
    <name>GoogleMapOperator</name>
    <message>
        <source>Map tiles cannot be loaded: no network connection or no such tiles.</source>
        <translation>Map tiles cannot be loaded: no network connection or no such tiles.</translation>
    </message>
</context>
<context>
    <name>GpsFilter</name>
    <message>
        <source>%1: GPS_filter &quot;%2&quot; is not a whole number from %3 to %4; the default %5 applies.</source>
        <translation>%1: GPS_filter &quot;%2&quot; is not a whole number from %3 to %4; the default of %5 is used.</translation>
    </message>
</context>
<context>
    <name>ImportSupport</name>
    <message>
        <source>The file declares a document type (DTD); such files are not opened, since their entities could reach other files or swell without end.</source>
        <translation>The file declares a document type (DTD). Such files are not opened, because their entities could reach other files or grow without limit.</translation>
    </message>
    <message>
        <source>The file refers to an entity that it does not define.</source>
        <translation>The file refers to an entity that it does not define.</translation>
    </message>
    <message>
        <source>The elements are nested more than %1 deep.</source>
        <translation>The elements are nested more than %1 levels deep.</translation>
    </message>
    <message>
        <source>Line %1, column %2: %3</source>
        <translation>Line %1, column %2: %3</translation>
    </message>
    <message numerus="yes">
        <source>%n point(s) could not be read and were left out.</source>
        <translation>
            <numerusform>%n point could not be read and was left out.</numerusform>
            <numerusform>%n points could not be read and were left out.</numerusform>
        </translation>
    </message>
    <message>
        <source>The file breaks off or is damaged after the points that were read (%1).</source>
        <translation>The file ends early or is damaged after the points that were read (%1).</translation>
    </message>
    <message>
        <source>A single text or attribute is longer than %1 MB; the file is not read further.</source>
        <translation>A single text or attribute value is longer than %1 MB; the rest of the file is not read.</translation>
    </message>
    <message>
        <source>The file is empty.</source>
        <translation>The file is empty.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>MainWindow</source>
        <translation>KV-730</translation>
    </message>
    <message>
        <source>KV-730 </source>
        <translation>KV-730 </translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filter Points...</translation>
    </message>
    <message>
        <source>Download all track points</source>
        <translation>Download Tracks...</translation>
    </message>
    <message>
        <source>Delete all track points</source>
        <translation>Delete All Tracks on the Logger...</translation>
    </message>
    <message>
        <source>Device setting</source>
        <translation>Logger Settings...</translation>
    </message>
    <message>
        <source>play</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>rewind</source>
        <translation>Rewind</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>Show the application&apos;s About box</source>
        <translation>Show the application&apos;s About box</translation>
    </message>
    <message>
        <source>Kilometers</source>
        <translation>Kilometers</translation>
    </message>
    <message>
        <source>Miles</source>
        <translation>Miles</translation>
    </message>
    <message>
        <source>Feet</source>
        <translation>Feet</translation>
    </message>
    <message>
        <source>Meter</source>
        <translation>Meters</translation>
    </message>
    <message>
        <source>UTC time</source>
        <translation>UTC time</translation>
    </message>
    <message>
        <source>Local time</source>
        <translation>Local time</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Device :</source>
        <translation>Logger:</translation>
    </message>
    <message>
        <source>Speed:</source>
        <translation>Playback speed:</translation>
    </message>
    <message>
        <source>About KV730 Tool</source>
        <translation>About the KV-730 Tool</translation>
    </message>
    <message>
        <source>pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>WARNGING</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Failed to start</source>
        <translation>Loggers plugged in from now on cannot be detected: watching the drives failed to start.</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>The file %1 could not be opened.
%2</source>
        <translation>The file %1 could not be opened.
%2</translation>
    </message>
    <message>
        <source>TKX File (*.tkx);;GPX File (*.gpx);;KML File (*.kml);;CSV File (*.csv)</source>
        <translation>TKX File (*.tkx);;GPX File (*.gpx);;KML File (*.kml);;CSV File (*.csv)</translation>
    </message>
    <message>
        <source>TKX File (*.tkx)</source>
        <translation>TKX File (*.tkx)</translation>
    </message>
    <message>
        <source>GPX File (*.gpx)</source>
        <translation>GPX File (*.gpx)</translation>
    </message>
    <message>
        <source>KML File (*.kml)</source>
        <translation>KML File (*.kml)</translation>
    </message>
    <message>
        <source>CSV File (*.csv)</source>
        <translation>CSV File (*.csv)</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>The file %1 could not be saved.
%2</source>
        <translation>The file %1 could not be saved.
%2</translation>
    </message>
    <message>
        <source>Delete device all track points.</source>
        <translation>Delete all tracks on the logger</translation>
    </message>
    <message>
        <source>Do you want to delete all track points?</source>
        <translation>Do you want to delete all track files from the logger?</translation>
    </message>
    <message>
        <source>The track files are first copied to %1.</source>
        <translation>The track files are first copied to %1.</translation>
    </message>
    <message>
        <source>Set device configuration ok.</source>
        <translation>The logger&apos;s settings were saved.</translation>
    </message>
    <message>
        <source>Failed to set device configuration.</source>
        <translation>The logger&apos;s settings could not be saved.</translation>
    </message>
    <message>
        <source>Delete all track files ok.</source>
        <translation>All track files were deleted from the logger.</translation>
    </message>
    <message numerus="yes">
        <source>%n track file(s) could not be deleted and remain on the device.</source>
        <translation>
            <numerusform>%n track file could not be deleted and remains on the logger.</numerusform>
            <numerusform>%n track files could not be deleted and remain on the logger.</numerusform>
        </translation>
    </message>
    <message>
        <source>Failed connect device.</source>
        <translation>Could not connect to the logger.</translation>
    </message>
    <message>
        <source>Read device data timeout.</source>
        <translation>The logger did not answer in time.</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>Companion tool for the KV-730 GPS data logger.</source>
        <translation>Companion tool for the KV-730 GPS data logger.</translation>
    </message>
    <message>
        <source>Track files to open (.tkx archives, .gpl logs); shown together.</source>
        <translation>Track files to open (.tkx archives, .gpl logs); shown together.</translation>
    </message>
    <message>
        <source>&amp;Device</source>
        <translation>&amp;Device</translation>
    </message>
    <message>
        <source>&amp;Unit</source>
        <translation>&amp;Unit</translation>
    </message>
    <message>
        <source>&amp;Speed</source>
        <translation>&amp;Speed</translation>
    </message>
    <message>
        <source>&amp;Height</source>
        <translation>&amp;Height</translation>
    </message>
    <message>
        <source>&amp;Time</source>
        <translation>&amp;Time</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Playback speed:
left: slow, one point every 0.75 s
middle: normal, one point every 0.5 s
right: fast, one point every 0.25 s</source>
        <translation>Playback speed:
left: slow, one point every 0.75 s
middle: normal, one point every 0.5 s
right: fast, one point every 0.25 s</translation>
    </message>
    <message>
        <source>%1 files</source>
        <translation>%1 files</translation>
    </message>
    <message>
        <source>Opened %1 (tracks: %2, points: %3).</source>
        <translation>Opened %1 (tracks: %2, points: %3).</translation>
    </message>
    <message>
        <source>Saved %1 (tracks: %2, points: %3).</source>
        <translation>Saved %1 (tracks: %2, points: %3).</translation>
    </message>
    <message>
        <source>marked points</source>
        <translation>marked points</translation>
    </message>
    <message>
        <source>speed %1 %2 %3</source>
        <translation>speed %1 %2 %3</translation>
    </message>
    <message>
        <source>Filter: %1 (%2 of %3 points listed)</source>
        <translation>Filter: %1 (%2 of %3 points listed)</translation>
    </message>
    <message>
        <source>Zoom to Tracks</source>
        <translation>Zoom to Tracks</translation>
    </message>
    <message>
        <source>Speed Colours</source>
        <translation>Speed Colors</translation>
    </message>
    <message>
        <source>The file %1 is damaged; what could be read was opened.
%2</source>
        <translation>The file %1 is damaged; what could be read was opened.
%2</translation>
    </message>
    <message>
        <source>No track is ticked. Tick the tracks to save in the track list.</source>
        <translation>No track is ticked. Tick the tracks to save in the track list.</translation>
    </message>
    <message>
        <source>The chosen track files hold no track points.</source>
        <translation>The chosen track files hold no track points.</translation>
    </message>
    <message>
        <source>Deleting track files...</source>
        <translation>Deleting track files...</translation>
    </message>
    <message>
        <source>The track files were copied to %1.</source>
        <translation>The track files were copied to %1.</translation>
    </message>
    <message>
        <source>The track files could not be deleted: the logger does not respond.</source>
        <translation>The track files could not be deleted: the logger does not respond.</translation>
    </message>
    <message>
        <source>Downloaded %1 track files from %2 (points: %3).</source>
        <translation>Downloaded %1 track files from %2 (points: %3).</translation>
    </message>
    <message>
        <source>Geotag Photos...</source>
        <translation>Geotag Photos...</translation>
    </message>
    <message>
        <source>Clear Filter</source>
        <translation>Clear Filter</translation>
    </message>
    <message>
        <source>Add Files...</source>
        <translation>Add Files...</translation>
    </message>
    <message>
        <source>Add the tracks of files to the tracks shown</source>
        <translation>Add the tracks of files to those shown</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>A download is going on.</source>
        <translation>A download is in progress.</translation>
    </message>
    <message>
        <source>Stop the download and quit?</source>
        <translation>Stop the download and quit?</translation>
    </message>
    <message>
        <source>%1 File (%2)</source>
        <translation>%1 File (%2)</translation>
    </message>
    <message>
        <source>All track files (%1)</source>
        <translation>All track files (%1)</translation>
    </message>
    <message>
        <source>Add Files</source>
        <translation>Add Files</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1 (damaged, opened in part): %2</source>
        <translation>%1 (damaged, opened in part): %2</translation>
    </message>
    <message>
        <source>Added %1 (tracks: %2, points: %3).</source>
        <translation>Added %1 (tracks: %2, points: %3).</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) are damaged; what could be read was opened.</source>
        <translation>
            <numerusform>%n file is damaged; what could be read was opened.</numerusform>
            <numerusform>%n files are damaged; what could be read was opened.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) could not be opened.</source>
        <translation>
            <numerusform>%n file could not be opened.</numerusform>
            <numerusform>%n files could not be opened.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>... and %n more (see the details).</source>
        <translation>
            <numerusform>... and %n more (see the details).</numerusform>
            <numerusform>... and %n more (see the details).</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) were damaged and opened in part.</source>
        <translation>
            <numerusform>%n file was damaged and opened in part.</numerusform>
            <numerusform>%n files were damaged and opened in part.</numerusform>
        </translation>
    </message>
    <message>
        <source>Download cancelled.</source>
        <translation>Download canceled.</translation>
    </message>
</context>
<context>
    <name>MapWidget</name>
    <message>
        <source>Form</source>
        <translation>Tracks and Points</translation>
    </message>
    <message>
        <source>Solution Explorer</source>
        <translation>Tracks</translation>
    </message>
    <message>
        <source>Properties Bar</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>KV-730 Data Logger</source>
        <translation>All tracks</translation>
    </message>
    <message>
        <source>Record Number</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Latitude</source>
        <translation>Latitude</translation>
    </message>
    <message>
        <source>Longitude</source>
        <translation>Longitude</translation>
    </message>
    <message>
        <source>Altitude</source>
        <translation>Altitude</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>Speed (derived)</source>
        <translation>Speed (derived)</translation>
    </message>
</context>
<context>
    <name>PhotoReader</name>
    <message>
        <source>The file does not exist.</source>
        <translation>The file does not exist.</translation>
    </message>
    <message>
        <source>This is not a file.</source>
        <translation>This is not a file.</translation>
    </message>
    <message>
        <source>Only JPEG, TIFF and raw photos can be geotagged.</source>
        <translation>Only JPEG, TIFF and raw photos can be geotagged.</translation>
    </message>
    <message>
        <source>The capture time of %1 raw files cannot be read; it is skipped.</source>
        <translation>The capture time of %1 raw files cannot be read; the photo is skipped.</translation>
    </message>
</context>
<context>
    <name>PhotoWriter</name>
    <message>
        <source>It already records a position (replacing was not asked for).</source>
        <translation>It already records a position (replacing was not asked for).</translation>
    </message>
    <message>
        <source>It cannot be read: %1</source>
        <translation>It cannot be read: %1</translation>
    </message>
    <message>
        <source>Its sidecar %1 is read-only.</source>
        <translation>Its sidecar %1 is read-only.</translation>
    </message>
    <message>
        <source>Its sidecar %1 cannot be read, and is left as it is.</source>
        <translation>Its sidecar %1 cannot be read, and is left as it is.</translation>
    </message>
    <message>
        <source>Only JPEG, TIFF and raw photos can be geotagged.</source>
        <translation>Only JPEG, TIFF and raw photos can be geotagged.</translation>
    </message>
    <message>
        <source>The file does not exist.</source>
        <translation>The file does not exist.</translation>
    </message>
    <message>
        <source>This is not a file.</source>
        <translation>This is not a file.</translation>
    </message>
    <message>
        <source>The photo is read-only.</source>
        <translation>The photo is read-only.</translation>
    </message>
    <message>
        <source>Its sidecar %1 is not a file.</source>
        <translation>Its sidecar %1 is not a file.</translation>
    </message>
    <message>
        <source>Its sidecar %1 is larger than %2 MB.</source>
        <translation>Its sidecar %1 is larger than %2 MB.</translation>
    </message>
    <message>
        <source>It is damaged and left as it is: %1</source>
        <translation>It is damaged and left as it is: %1</translation>
    </message>
    <message>
        <source>its segments do not lead to its image data.</source>
        <translation>its segments do not lead to its image data.</translation>
    </message>
    <message>
        <source>Its metadata would grow beyond what a JPEG file can hold; it is left as it is.</source>
        <translation>Its metadata would grow beyond what a JPEG file can hold; it is left as it is.</translation>
    </message>
    <message>
        <source>Its XMP packet cannot be written again.</source>
        <translation>Its XMP packet cannot be rewritten.</translation>
    </message>
    <message>
        <source>This is not a photo, or not of a known kind.</source>
        <translation>This is not a photo, or not of a known kind.</translation>
    </message>
    <message>
        <source>Its metadata is larger than %1 MB; it is left as it is.</source>
        <translation>Its metadata is larger than %1 MB; it is left as it is.</translation>
    </message>
    <message>
        <source>it is cut short.</source>
        <translation>it is cut short.</translation>
    </message>
    <message>
        <source>Its altitude of %1 m is left out: Exif cannot record it.</source>
        <translation>Its altitude of %1 m is left out: Exif cannot record it.</translation>
    </message>
</context>
<context>
    <name>PointListModel</name>
    <message>
        <source> (derived)</source>
        <translation> (derived)</translation>
    </message>
</context>
<context>
    <name>ProfileChart</name>
    <message>
        <source>Speed</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>Altitude</source>
        <translation>Altitude</translation>
    </message>
    <message>
        <source>Speed (%1)</source>
        <translation>Speed (%1)</translation>
    </message>
    <message>
        <source>Altitude (%1)</source>
        <translation>Altitude (%1)</translation>
    </message>
    <message>
        <source>Speed (derived)</source>
        <translation>Speed (derived)</translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>Save marked points only</source>
        <translation>Save marked points only</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 already exists.
Do you want to replace it?</translation>
    </message>
</context>
<context>
    <name>SaveFile</name>
    <message>
        <source>%1 is not a regular file.</source>
        <translation>%1 is not a regular file.</translation>
    </message>
    <message>
        <source>%1 has %2 names (hard links), and saving would part it from the others. Save it under another name.</source>
        <translation>%1 has %2 names (hard links), and saving would separate it from the others. Save it under another name.</translation>
    </message>
</context>
<context>
    <name>TiffAppender</name>
    <message>
        <source>Its metadata is damaged: the byte order is not recorded.</source>
        <translation>Its metadata is damaged: the byte order is not recorded.</translation>
    </message>
    <message>
        <source>Photos of more than 4 GB (BigTIFF) cannot be geotagged.</source>
        <translation>Photos larger than 4 GB (BigTIFF) cannot be geotagged.</translation>
    </message>
    <message>
        <source>Its metadata is damaged: the TIFF header is not valid.</source>
        <translation>Its metadata is damaged: the TIFF header is not valid.</translation>
    </message>
    <message>
        <source>Its metadata is damaged: a directory (%1) lies outside it.</source>
        <translation>Its metadata is damaged: a directory (%1) lies outside it.</translation>
    </message>
    <message>
        <source>Its metadata is damaged: a directory (%1) is cut short.</source>
        <translation>Its metadata is damaged: a directory (%1) is cut short.</translation>
    </message>
    <message>
        <source>Its metadata is damaged: tag 0x%1 points outside it.</source>
        <translation>Its metadata is damaged: tag 0x%1 points outside it.</translation>
    </message>
    <message>
        <source>Its metadata is damaged: the places of its image data are not recorded.</source>
        <translation>Its metadata is damaged: the locations of its image data are not recorded.</translation>
    </message>
    <message>
        <source>Its image data is cut short.</source>
        <translation>Its image data is cut short.</translation>
    </message>
    <message>
        <source>Its metadata is damaged: its directories form a loop.</source>
        <translation>Its metadata is damaged: its directories form a loop.</translation>
    </message>
    <message>
        <source>It has more directories or pages than can be carried over.</source>
        <translation>It has more directories or pages than can be carried over.</translation>
    </message>
    <message>
        <source>Its metadata is damaged: a directory (%1) is not recorded properly.</source>
        <translation>Its metadata is damaged: a directory (%1) is not recorded properly.</translation>
    </message>
    <message>
        <source>Its metadata would grow beyond what the file can hold.</source>
        <translation>Its metadata would grow beyond what the file can hold.</translation>
    </message>
</context>
<context>
    <name>TrackFileHeaderDialog</name>
    <message>
        <source>Selection</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Track Files</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>KV-730 files</source>
        <translation>All track files</translation>
    </message>
    <message>
        <source>no date</source>
        <translation>no date</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Select Track Files</source>
        <translation>Download Tracks</translation>
    </message>
    <message>
        <source>File Name</source>
        <translation>File Name</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Duration</translation>
    </message>
</context>
<context>
    <name>TrackStatistics</name>
    <message>
        <source>Points</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>Marked points</source>
        <translation>Marked points</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>End</source>
        <translation>End</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Duration</translation>
    </message>
    <message>
        <source>Moving time</source>
        <translation>Moving time</translation>
    </message>
    <message>
        <source>Distance</source>
        <translation>Distance</translation>
    </message>
    <message>
        <source>Average speed</source>
        <translation>Average speed</translation>
    </message>
    <message>
        <source>Moving average speed</source>
        <translation>Moving average speed</translation>
    </message>
    <message>
        <source>Maximum speed</source>
        <translation>Maximum speed</translation>
    </message>
    <message>
        <source>Minimum altitude</source>
        <translation>Minimum altitude</translation>
    </message>
    <message>
        <source>Maximum altitude</source>
        <translation>Maximum altitude</translation>
    </message>
    <message>
        <source>Ascent</source>
        <translation>Ascent</translation>
    </message>
    <message>
        <source>Descent</source>
        <translation>Descent</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Maximum speed (derived)</source>
        <translation>Maximum speed (derived)</translation>
    </message>
</context>
<context>
    <name>Units</name>
    <message>
        <source>mi/hr</source>
        <translation>mph</translation>
    </message>
    <message>
        <source>km/hr</source>
        <translation>km/h</translation>
    </message>
    <message>
        <source>feet</source>
        <translation>ft</translation>
    </message>
    <message>
        <source>m</source>
        <translation>m</translation>
    </message>
    <message>
        <source>mi</source>
        <translation>mi</translation>
    </message>
    <message>
        <source>km</source>
        <translation>km</translation>
    </message>
</context>
</TS>
