<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>DeviceKV310</name>
    <message>
        <source>the logger does not respond</source>
        <translation>ロガーが応答しません</translation>
    </message>
    <message>
        <source>the file is not on the logger&apos;s list</source>
        <translation>ファイルがロガーの一覧にありません</translation>
    </message>
    <message numerus="yes">
        <source>the logger did not answer within %n second(s)</source>
        <translation>
            <numerusform>ロガーが %n 秒以内に応答しませんでした</numerusform>
        </translation>
    </message>
    <message>
        <source>the logger is no longer connected</source>
        <translation>ロガーが接続されていません</translation>
    </message>
    <message>
        <source>the file could not be read (%1)</source>
        <translation>ファイルを読み込めませんでした (%1)</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>通常のファイルではありません</translation>
    </message>
    <message>
        <source>no such file</source>
        <translation>ファイルがありません</translation>
    </message>
</context>
<context>
    <name>DeviceSettingDialog</name>
    <message>
        <source>Device setting</source>
        <translation>デバイス設定</translation>
    </message>
    <message>
        <source>Data logging format</source>
        <translation>記録形式</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>Data logging setting</source>
        <translation>記録設定</translation>
    </message>
    <message>
        <source>Power Saving Mode</source>
        <translation>省電力モード</translation>
    </message>
    <message>
        <source>Bluetooth Status</source>
        <translation>Bluetooth</translation>
    </message>
    <message>
        <source>Height Limit</source>
        <translation>高度制限</translation>
    </message>
    <message>
        <source>Test Mode</source>
        <translation>テストモード</translation>
    </message>
    <message>
        <source>Data logging interval</source>
        <translation>記録間隔</translation>
    </message>
    <message>
        <source>1 Sec</source>
        <translation>1 秒</translation>
    </message>
    <message>
        <source>2 Sec</source>
        <translation>2 秒</translation>
    </message>
    <message>
        <source>3 Sec</source>
        <translation>3 秒</translation>
    </message>
    <message>
        <source>4 Sec</source>
        <translation>4 秒</translation>
    </message>
    <message>
        <source>5 Sec</source>
        <translation>5 秒</translation>
    </message>
    <message>
        <source>GPS interval:</source>
        <translation>GPS 測位間隔:</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>適用</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>DownloadRun</name>
    <message>
        <source>Downloading track files...</source>
        <translation>トラックファイルをダウンロードしています...</translation>
    </message>
    <message>
        <source>the logger was removed</source>
        <translation>ロガーが取り外されました</translation>
    </message>
    <message>
        <source>The track file %1 could not be downloaded: %2.</source>
        <translation>トラックファイル %1 をダウンロードできませんでした: %2。</translation>
    </message>
    <message numerus="yes">
        <source>%n further track file(s) were not downloaded.</source>
        <translation>
            <numerusform>ほかの %n 個のトラックファイルはダウンロードされませんでした。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FileFormatCSV</name>
    <message>
        <source>CSV files cannot be opened.</source>
        <translation>CSV ファイルは開けません。</translation>
    </message>
    <message>
        <source>The file cannot be written: %1</source>
        <translation>ファイルに書き込めません: %1</translation>
    </message>
</context>
<context>
    <name>FileFormatGPL</name>
    <message>
        <source>The file %1 cannot be read.</source>
        <translation>ファイル %1 を読み込めません。</translation>
    </message>
    <message>
        <source>Log files cannot be written, only read.</source>
        <translation>ログファイルは読み込み専用で、書き込みはできません。</translation>
    </message>
</context>
<context>
    <name>FileFormatGPX</name>
    <message>
        <source>GPX files cannot be opened.</source>
        <translation>GPX ファイルは開けません。</translation>
    </message>
    <message>
        <source>The file cannot be written: %1</source>
        <translation>ファイルに書き込めません: %1</translation>
    </message>
</context>
<context>
    <name>FileFormatKML</name>
    <message>
        <source>KML files cannot be opened.</source>
        <translation>KML ファイルは開けません。</translation>
    </message>
    <message>
        <source>The file cannot be written: %1</source>
        <translation>ファイルに書き込めません: %1</translation>
    </message>
</context>
<context>
    <name>FileFormatRegistry</name>
    <message>
        <source>Unknown file extension.</source>
        <translation>不明なファイル拡張子です。</translation>
    </message>
    <message>
        <source>%1 is not a regular file.</source>
        <translation>%1 は通常のファイルではありません。</translation>
    </message>
</context>
<context>
    <name>FileFormatTKR</name>
    <message>
        <source>The file cannot be written: %1</source>
        <translation>ファイルに書き込めません: %1</translation>
    </message>
    <message>
        <source>The file cannot be read: %1</source>
        <translation>ファイルを読み込めません: %1</translation>
    </message>
    <message>
        <source>The file is not a TKX archive.</source>
        <translation>このファイルは TKX アーカイブではありません。</translation>
    </message>
    <message>
        <source>The file is not a complete TKX archive: its track index of %1 entries runs past the end of the file.</source>
        <translation>このファイルは完全な TKX アーカイブではありません: %1 件分のトラック索引がファイルの末尾を越えています。</translation>
    </message>
</context>
<context>
    <name>FilterDialog</name>
    <message>
        <source>Filter</source>
        <translation>フィルター</translation>
    </message>
    <message>
        <source>Filter Rule</source>
        <translation>フィルター条件</translation>
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
        <translation>すべてのマークポイント</translation>
    </message>
    <message>
        <source>Filter Speed:</source>
        <translation>速度 (km/h):</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>MainWindow</source>
        <translation>メインウィンドウ</translation>
    </message>
    <message>
        <source>KV-730 </source>
        <translation>KV-730 </translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>開く(&amp;O)</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>保存(&amp;S)</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>終了(&amp;X)</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>フィルター</translation>
    </message>
    <message>
        <source>Download all track points</source>
        <translation>全トラックポイントをダウンロード</translation>
    </message>
    <message>
        <source>Delete all track points</source>
        <translation>全トラックポイントを削除</translation>
    </message>
    <message>
        <source>Device setting</source>
        <translation>デバイス設定</translation>
    </message>
    <message>
        <source>play</source>
        <translation>再生</translation>
    </message>
    <message>
        <source>stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>rewind</source>
        <translation>巻き戻し</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>バージョン情報(&amp;A)</translation>
    </message>
    <message>
        <source>Show the application&apos;s About box</source>
        <translation>アプリケーションのバージョン情報を表示します</translation>
    </message>
    <message>
        <source>Kilometers</source>
        <translation>キロメートル</translation>
    </message>
    <message>
        <source>Miles</source>
        <translation>マイル</translation>
    </message>
    <message>
        <source>Feet</source>
        <translation>フィート</translation>
    </message>
    <message>
        <source>Meter</source>
        <translation>メートル</translation>
    </message>
    <message>
        <source>UTC time</source>
        <translation>UTC 時刻</translation>
    </message>
    <message>
        <source>Local time</source>
        <translation>ローカル時刻</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>デバイス</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>単位</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>高度</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>時刻</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>ヘルプ</translation>
    </message>
    <message>
        <source>File</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>Device :</source>
        <translation>デバイス :</translation>
    </message>
    <message>
        <source>Speed:</source>
        <translation>速度:</translation>
    </message>
    <message>
        <source>About KV730 Tool</source>
        <translation>KV730 ツールについて</translation>
    </message>
    <message>
        <source>pause</source>
        <translation>一時停止</translation>
    </message>
    <message>
        <source>WARNGING</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Failed to start</source>
        <translation>起動に失敗しました</translation>
    </message>
    <message>
        <source>TKX File (*.tkx);;GPL File (*.gpl)</source>
        <translation>TKX ファイル (*.tkx);;GPL ファイル (*.gpl)</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>開く</translation>
    </message>
    <message>
        <source>The file %1 could not be opened.
%2</source>
        <translation>ファイル %1 を開けませんでした。
%2</translation>
    </message>
    <message>
        <source>TKX File (*.tkx);;GPX File (*.gpx);;KML File (*.kml);;CSV File (*.csv)</source>
        <translation>TKX ファイル (*.tkx);;GPX ファイル (*.gpx);;KML ファイル (*.kml);;CSV ファイル (*.csv)</translation>
    </message>
    <message>
        <source>TKX File (*.tkx)</source>
        <translation>TKX ファイル (*.tkx)</translation>
    </message>
    <message>
        <source>GPX File (*.gpx)</source>
        <translation>GPX ファイル (*.gpx)</translation>
    </message>
    <message>
        <source>KML File (*.kml)</source>
        <translation>KML ファイル (*.kml)</translation>
    </message>
    <message>
        <source>CSV File (*.csv)</source>
        <translation>CSV ファイル (*.csv)</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>The file %1 could not be saved.
%2</source>
        <translation>ファイル %1 を保存できませんでした。
%2</translation>
    </message>
    <message>
        <source>Delete device all track points.</source>
        <translation>デバイスのすべてのトラックポイントを削除します。</translation>
    </message>
    <message>
        <source>Do you want to delete all track points?</source>
        <translation>すべてのトラックポイントを削除しますか？</translation>
    </message>
    <message>
        <source>The track files are first copied to %1.</source>
        <translation>トラックファイルはまず %1 にコピーされます。</translation>
    </message>
    <message>
        <source>Set device configuration ok.</source>
        <translation>デバイスの設定を書き込みました。</translation>
    </message>
    <message>
        <source>Failed to set device configuration.</source>
        <translation>デバイスの設定を書き込めませんでした。</translation>
    </message>
    <message>
        <source>Delete all track files ok.</source>
        <translation>すべてのトラックファイルを削除しました。</translation>
    </message>
    <message numerus="yes">
        <source>%n track file(s) could not be deleted and remain on the device.</source>
        <translation>
            <numerusform>%n 個のトラックファイルを削除できず、デバイスに残っています。</numerusform>
        </translation>
    </message>
    <message>
        <source>Failed connect device.</source>
        <translation>デバイスに接続できませんでした。</translation>
    </message>
    <message>
        <source>Read device data timeout.</source>
        <translation>デバイスデータの読み込みがタイムアウトしました。</translation>
    </message>
    <message>
        <source>View</source>
        <translation>表示</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>統計</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>プロファイル</translation>
    </message>
    <message>
        <source>No track is ticked. Tick the tracks to save in the track list.</source>
        <translation>チェックされたトラックがありません。保存するトラックをトラック一覧でチェックしてください。</translation>
    </message>
    <message>
        <source>The chosen track files hold no track points.</source>
        <translation>選択したトラックファイルにはトラックポイントがありません。</translation>
    </message>
    <message>
        <source>Deleting track files...</source>
        <translation>トラックファイルを削除しています...</translation>
    </message>
    <message>
        <source>The track files were copied to %1.</source>
        <translation>トラックファイルは %1 にコピーされました。</translation>
    </message>
    <message>
        <source>The track files could not be deleted: the logger does not respond.</source>
        <translation>トラックファイルを削除できませんでした: ロガーが応答しません。</translation>
    </message>
</context>
<context>
    <name>MapWidget</name>
    <message>
        <source>Form</source>
        <translation>フォーム</translation>
    </message>
    <message>
        <source>Solution Explorer</source>
        <translation>ソリューション エクスプローラー</translation>
    </message>
    <message>
        <source>about:blank</source>
        <translation>about:blank</translation>
    </message>
    <message>
        <source>Properties Bar</source>
        <translation>プロパティ バー</translation>
    </message>
    <message>
        <source>KV-730 Data Logger</source>
        <translation>KV-730 データロガー</translation>
    </message>
    <message>
        <source>Record Number</source>
        <translation>レコード番号</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日付</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>時刻</translation>
    </message>
    <message>
        <source>Latitude</source>
        <translation>緯度</translation>
    </message>
    <message>
        <source>Longitude</source>
        <translation>経度</translation>
    </message>
    <message>
        <source>Altitude</source>
        <translation>高度</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
</context>
<context>
    <name>ProfileChart</name>
    <message>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>Altitude</source>
        <translation>高度</translation>
    </message>
    <message>
        <source>mi/hr</source>
        <translation>mi/h</translation>
    </message>
    <message>
        <source>km/hr</source>
        <translation>km/h</translation>
    </message>
    <message>
        <source>feet</source>
        <translation>フィート</translation>
    </message>
    <message>
        <source>m</source>
        <translation>m</translation>
    </message>
    <message>
        <source>Speed (%1)</source>
        <translation>速度 (%1)</translation>
    </message>
    <message>
        <source>Altitude (%1)</source>
        <translation>高度 (%1)</translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>Save marked points only</source>
        <translation>マークしたポイントのみ保存</translation>
    </message>
</context>
<context>
    <name>SaveFile</name>
    <message>
        <source>%1 is not a regular file.</source>
        <translation>%1 は通常のファイルではありません。</translation>
    </message>
</context>
<context>
    <name>TrackFileHeaderDialog</name>
    <message>
        <source>Selection</source>
        <translation>選択</translation>
    </message>
    <message>
        <source>Track Files</source>
        <translation>トラックファイル</translation>
    </message>
    <message>
        <source>KV-730 files</source>
        <translation>KV-730 ファイル</translation>
    </message>
    <message>
        <source>no date</source>
        <translation>日付なし</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>適用</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>TrackStatistics</name>
    <message>
        <source>%1 mi/hr</source>
        <translation>%1 mi/h</translation>
    </message>
    <message>
        <source>%1 km/hr</source>
        <translation>%1 km/h</translation>
    </message>
    <message>
        <source>%1 feet</source>
        <translation>%1 フィート</translation>
    </message>
    <message>
        <source>%1 m</source>
        <translation>%1 m</translation>
    </message>
    <message>
        <source>%1 mi</source>
        <translation>%1 mi</translation>
    </message>
    <message>
        <source>%1 km</source>
        <translation>%1 km</translation>
    </message>
    <message>
        <source>Points</source>
        <translation>ポイント数</translation>
    </message>
    <message>
        <source>Marked points</source>
        <translation>マークポイント数</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>開始</translation>
    </message>
    <message>
        <source>End</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>所要時間</translation>
    </message>
    <message>
        <source>Moving time</source>
        <translation>移動時間</translation>
    </message>
    <message>
        <source>Distance</source>
        <translation>距離</translation>
    </message>
    <message>
        <source>Average speed</source>
        <translation>平均速度</translation>
    </message>
    <message>
        <source>Moving average speed</source>
        <translation>移動中の平均速度</translation>
    </message>
    <message>
        <source>Maximum speed</source>
        <translation>最高速度</translation>
    </message>
    <message>
        <source>Minimum altitude</source>
        <translation>最低高度</translation>
    </message>
    <message>
        <source>Maximum altitude</source>
        <translation>最高高度</translation>
    </message>
    <message>
        <source>Ascent</source>
        <translation>累積上昇</translation>
    </message>
    <message>
        <source>Descent</source>
        <translation>累積下降</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
</TS>
