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
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Downloading track file %1 of %2...</source>
        <translation>トラックファイルをダウンロードしています (%1/%2)...</translation>
    </message>
</context>
<context>
    <name>ExivSupport</name>
    <message>
        <source>This is not a photo, or not of a known kind.</source>
        <translation>写真ではないか、対応していない種類のファイルです。</translation>
    </message>
    <message>
        <source>The photo is damaged (%1).</source>
        <translation>写真が破損しています (%1)。</translation>
    </message>
    <message>
        <source>The photo&apos;s metadata would grow beyond what a JPEG file can hold.</source>
        <translation>写真のメタデータが JPEG ファイルに収まる大きさを超えてしまいます。</translation>
    </message>
    <message>
        <source>Not enough memory.</source>
        <translation>メモリが不足しています。</translation>
    </message>
    <message>
        <source>It cannot be read: %1</source>
        <translation>読み込めません: %1</translation>
    </message>
    <message>
        <source>The photo cannot be handled (%1).</source>
        <translation>写真を処理できません (%1)。</translation>
    </message>
</context>
<context>
    <name>FileFormat</name>
    <message>
        <source>The file cannot be written: %1</source>
        <translation>ファイルに書き込めません: %1</translation>
    </message>
</context>
<context>
    <name>FileFormatCSV</name>
    <message>
        <source>The file cannot be read: %1</source>
        <translation>ファイルを読み込めません: %1</translation>
    </message>
    <message>
        <source>The first line must name the columns of latitude and longitude. Looked for: latitude (%1), longitude (%2); optional: altitude (%3), speed (%4), date (%5), time (%6), date and time (%7).</source>
        <translation>1 行目に緯度と経度の列名が必要です。認識する列名: 緯度 (%1)、経度 (%2)。省略可能: 高度 (%3)、速度 (%4)、日付 (%5)、時刻 (%6)、日時 (%7)。</translation>
    </message>
    <message>
        <source>The file holds no rows below its header.</source>
        <translation>ヘッダー行の下にデータ行がありません。</translation>
    </message>
</context>
<context>
    <name>FileFormatGPL</name>
    <message>
        <source>Log files cannot be written, only read.</source>
        <translation>ログファイルは読み込み専用で、書き込みはできません。</translation>
    </message>
    <message>
        <source>The file cannot be read: %1</source>
        <translation>ファイルを読み込めません: %1</translation>
    </message>
    <message>
        <source>The file cannot be read to its end: %1</source>
        <translation>ファイルを最後まで読み込めません: %1</translation>
    </message>
    <message>
        <source>The log holds more points than a track can keep: its last %1 points were left out.</source>
        <translation>ログの点の数が 1 つのトラックに保持できる数を超えています: 最後の %1 点は読み込まれませんでした。</translation>
    </message>
</context>
<context>
    <name>FileFormatGPX</name>
    <message>
        <source>The file cannot be read: %1</source>
        <translation>ファイルを読み込めません: %1</translation>
    </message>
    <message>
        <source>This is not a GPX file: it holds no gpx element.</source>
        <translation>GPX ファイルではありません: gpx 要素がありません。</translation>
    </message>
    <message>
        <source>The file holds no track and no route (waypoints: %1).</source>
        <translation>ファイルにトラックもルートもありません (ウェイポイント: %1)。</translation>
    </message>
    <message numerus="yes">
        <source>%n waypoint(s) of the file are not track points and were left out.</source>
        <translation>
            <numerusform>ファイル内の %n 個のウェイポイントはトラックポイントではないため、除外されました。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FileFormatKML</name>
    <message>
        <source>The file cannot be read: %1</source>
        <translation>ファイルを読み込めません: %1</translation>
    </message>
    <message>
        <source>This is not a KML file: it holds no kml element.</source>
        <translation>KML ファイルではありません: kml 要素がありません。</translation>
    </message>
    <message>
        <source>The file holds no line and no gx:Track (single points: %1).</source>
        <translation>ファイルにラインも gx:Track もありません (単独のポイント: %1)。</translation>
    </message>
    <message numerus="yes">
        <source>%n single point(s) of the file are not tracks and were left out.</source>
        <translation>
            <numerusform>ファイル内の %n 個の単独のポイントはトラックではないため、除外されました。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FileFormatNMEA</name>
    <message>
        <source>The file cannot be read: %1</source>
        <translation>ファイルを読み込めません: %1</translation>
    </message>
    <message>
        <source>NMEA files cannot be written.</source>
        <translation>NMEA ファイルは読み込み専用で、書き込みはできません。</translation>
    </message>
    <message>
        <source>No RMC or GGA sentence was found: this is not an NMEA 0183 log.</source>
        <translation>RMC センテンスも GGA センテンスも見つかりません: NMEA 0183 ログではありません。</translation>
    </message>
    <message>
        <source>The log holds no valid position (no RMC sentence with status A and a date).</source>
        <translation>ログに有効な位置がありません (ステータス A で日付のある RMC センテンスがありません)。</translation>
    </message>
    <message numerus="yes">
        <source>%n line(s) with a wrong checksum were left out.</source>
        <translation>
            <numerusform>チェックサムが正しくない %n 行は除外されました。</numerusform>
        </translation>
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
    <message>
        <source>Unknown file type: neither the extension nor the content is that of a track file.</source>
        <translation>不明なファイル形式です: 拡張子も内容もトラックファイルのものではありません。</translation>
    </message>
</context>
<context>
    <name>FileFormatTKR</name>
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
    <message>
        <source>The file became shorter while it was read.</source>
        <translation>読み込み中にファイルが短くなりました。</translation>
    </message>
    <message>
        <source>The archive is incomplete: %1 of its %2 tracks and %3 of its %4 points are missing.</source>
        <translation>アーカイブが不完全です: %2 件のトラックのうち %1 件、%4 点のうち %3 点が欠けています。</translation>
    </message>
    <message>
        <source>Of the missing points, %1 were read but left out: no logger records such values.</source>
        <translation>欠けている点のうち %1 点は読み込まれましたが、ロガーが記録し得ない値のため除外されました。</translation>
    </message>
</context>
<context>
    <name>FileReplacer</name>
    <message>
        <source>No temporary file can be made beside it: %1</source>
        <translation>同じフォルダーに一時ファイルを作成できません: %1</translation>
    </message>
    <message>
        <source>It cannot be written: %1</source>
        <translation>書き込めません: %1</translation>
    </message>
    <message>
        <source>It cannot be copied: %1</source>
        <translation>コピーできません: %1</translation>
    </message>
    <message>
        <source>It cannot be read: %1</source>
        <translation>読み込めません: %1</translation>
    </message>
    <message>
        <source>The file is no longer there.</source>
        <translation>ファイルがなくなっています。</translation>
    </message>
    <message>
        <source>It cannot be replaced: %1</source>
        <translation>置き換えられません: %1</translation>
    </message>
    <message>
        <source>No copy of the original can be kept: %1</source>
        <translation>元のファイルのコピーを残せません: %1</translation>
    </message>
    <message>
        <source>It has %1 names (hard links), which replacing it would split; it is left as it is.</source>
        <translation>%1 個の名前 (ハードリンク) があり、置き換えるとそれらが分かれてしまうため、そのままにします。</translation>
    </message>
    <message>
        <source>Its owner or attributes cannot be kept: %1</source>
        <translation>所有者または属性を保てません: %1</translation>
    </message>
    <message>
        <source>Another program changed, replaced or removed it meanwhile; it is left as it is.</source>
        <translation>その間にほかのプログラムが変更、置き換え、または削除したため、そのままにします。</translation>
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
    <name>GeotagDialog</name>
    <message>
        <source>Geotag Photos</source>
        <translation>写真にジオタグを付ける</translation>
    </message>
    <message>
        <source>Add Photos...</source>
        <translation>写真を追加...</translation>
    </message>
    <message>
        <source>Add Folder...</source>
        <translation>フォルダーを追加...</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>クリア</translation>
    </message>
    <message>
        <source>File</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>Capture time</source>
        <translation>撮影日時</translation>
    </message>
    <message>
        <source>UTC time</source>
        <translation>UTC 時刻</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>Matching</source>
        <translation>照合</translation>
    </message>
    <message>
        <source>Camera time zone:</source>
        <translation>カメラのタイムゾーン:</translation>
    </message>
    <message>
        <source>The zone the camera&apos;s clock was set to. Photos that record their own offset from UTC are read in that offset.</source>
        <translation>カメラの時計が合わせてあったタイムゾーンです。UTC からのオフセットを記録している写真は、そのオフセットで読み取ります。</translation>
    </message>
    <message>
        <source>Camera clock ahead by:</source>
        <translation>カメラの時計の進み:</translation>
    </message>
    <message>
        <source>How far the camera&apos;s clock was ahead of the true time, in seconds: 133 for a camera 2 min 13 s fast, -5 for one 5 s slow.</source>
        <translation>カメラの時計が正しい時刻より何秒進んでいたか: 2 分 13 秒進んでいたカメラなら 133、5 秒遅れていたカメラなら -5。</translation>
    </message>
    <message>
        <source> s</source>
        <translation> 秒</translation>
    </message>
    <message>
        <source>Largest gap between track points:</source>
        <translation>トラックポイント間の最大間隔:</translation>
    </message>
    <message>
        <source>A photo taken between two track points further apart than this gets no position.</source>
        <translation>これより離れた 2 つのトラックポイントの間に撮影された写真には位置を付けません。</translation>
    </message>
    <message>
        <source>Replace positions already in photos</source>
        <translation>写真にすでにある位置を置き換える</translation>
    </message>
    <message>
        <source>Keep a copy of each original file (name_original)</source>
        <translation>元のファイルのコピーを残す (name_original)</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>書き込み</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>This computer (%1)</source>
        <translation>このコンピューター (%1)</translation>
    </message>
    <message>
        <source>UTC</source>
        <translation>UTC</translation>
    </message>
    <message>
        <source>Reading the photos...</source>
        <translation>写真を読み込んでいます...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Add Photos</source>
        <translation>写真を追加</translation>
    </message>
    <message>
        <source>Photos (%1);;All files (*)</source>
        <translation>写真 (%1);;すべてのファイル (*)</translation>
    </message>
    <message>
        <source>Add Folder</source>
        <translation>フォルダーを追加</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %2 photos matched, on %3 points of %n ticked track(s).</source>
        <translation>
            <numerusform>%2 枚中 %1 枚の写真が一致しました (チェックした %n 本のトラックの %3 ポイント)。</numerusform>
        </translation>
    </message>
    <message>
        <source>, %1 m</source>
        <translation>、%1 m</translation>
    </message>
    <message>
        <source> (the photo has a position already and is left as it is)</source>
        <translation> (写真にはすでに位置があるため、そのままにします)</translation>
    </message>
    <message>
        <source>%1, %2 UTC</source>
        <translation>%1、%2 UTC</translation>
    </message>
    <message>
        <source>Not written: the writing was cancelled.</source>
        <translation>書き込みが取り消されたため、書き込まれていません。</translation>
    </message>
    <message>
        <source>Writing the positions into the photos...</source>
        <translation>写真に位置を書き込んでいます...</translation>
    </message>
    <message>
        <source>%1 skipped: %2</source>
        <translation>%1 をスキップしました: %2</translation>
    </message>
    <message>
        <source>%1 failed: %2</source>
        <translation>%1 で失敗しました: %2</translation>
    </message>
    <message numerus="yes">
        <source>%n photo(s) tagged.</source>
        <translation>
            <numerusform>%n 枚の写真にジオタグを付けました。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n photo(s) skipped.</source>
        <translation>
            <numerusform>%n 枚の写真をスキップしました。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n photo(s) failed.</source>
        <translation>
            <numerusform>%n 枚の写真で失敗しました。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>... and %n more.</source>
        <translation>
            <numerusform>...ほか %n 件。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>GeotagMatcher</name>
    <message>
        <source>The photo does not record when it was taken.</source>
        <translation>写真に撮影日時が記録されていません。</translation>
    </message>
    <message>
        <source>The chosen tracks hold no timed points.</source>
        <translation>選択したトラックに時刻付きのポイントがありません。</translation>
    </message>
    <message>
        <source>Taken before the first track point (%1 UTC).</source>
        <translation>最初のトラックポイント (%1 UTC) より前に撮影されています。</translation>
    </message>
    <message>
        <source>Taken after the last track point (%1 UTC).</source>
        <translation>最後のトラックポイント (%1 UTC) より後に撮影されています。</translation>
    </message>
    <message>
        <source>Taken in a gap of %1 s between track points (largest allowed: %2 s).</source>
        <translation>トラックポイント間の %1 秒の空白に撮影されています (許容される最大間隔: %2 秒)。</translation>
    </message>
</context>
<context>
    <name>GoogleMapOperator</name>
    <message>
        <source>Map tiles cannot be loaded: no network connection or no such tiles.</source>
        <translation>地図タイルを読み込めません: ネットワークに接続されていないか、タイルがありません。</translation>
    </message>
</context>
<context>
    <name>GpsFilter</name>
    <message>
        <source>%1: GPS_filter &quot;%2&quot; is not a whole number from %3 to %4; the default %5 applies.</source>
        <translation>%1: GPS_filter &quot;%2&quot; は %3 から %4 までの整数ではありません。既定値 %5 を使います。</translation>
    </message>
</context>
<context>
    <name>ImportSupport</name>
    <message>
        <source>The file declares a document type (DTD); such files are not opened, since their entities could reach other files or swell without end.</source>
        <translation>このファイルは文書型 (DTD) を宣言しています。このようなファイルは、エンティティがほかのファイルを参照したり際限なく膨れ上がったりするおそれがあるため、開きません。</translation>
    </message>
    <message>
        <source>The file refers to an entity that it does not define.</source>
        <translation>ファイル内で定義されていないエンティティが参照されています。</translation>
    </message>
    <message>
        <source>The elements are nested more than %1 deep.</source>
        <translation>要素の入れ子が %1 階層を超えています。</translation>
    </message>
    <message>
        <source>Line %1, column %2: %3</source>
        <translation>%1 行目、%2 列目: %3</translation>
    </message>
    <message numerus="yes">
        <source>%n point(s) could not be read and were left out.</source>
        <translation>
            <numerusform>%n ポイントを読み込めなかったため、除外しました。</numerusform>
        </translation>
    </message>
    <message>
        <source>The file breaks off or is damaged after the points that were read (%1).</source>
        <translation>読み込めたポイントの後で、ファイルが途切れているか破損しています (%1)。</translation>
    </message>
    <message>
        <source>A single text or attribute is longer than %1 MB; the file is not read further.</source>
        <translation>1 つのテキストまたは属性が %1 MB を超えているため、ファイルのそれ以降は読み込みません。</translation>
    </message>
    <message>
        <source>The file is empty.</source>
        <translation>ファイルが空です。</translation>
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
        <source>Statistics</source>
        <translation>統計</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>プロファイル</translation>
    </message>
    <message>
        <source>Companion tool for the KV-730 GPS data logger.</source>
        <translation>KV-730 GPS データロガー用のツールです。</translation>
    </message>
    <message>
        <source>Track files to open (.tkx archives, .gpl logs); shown together.</source>
        <translation>開くトラックファイル (.tkx アーカイブ、.gpl ログ)。まとめて表示します。</translation>
    </message>
    <message>
        <source>&amp;Device</source>
        <translation>デバイス(&amp;D)</translation>
    </message>
    <message>
        <source>&amp;Unit</source>
        <translation>単位(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Speed</source>
        <translation>速度(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Height</source>
        <translation>高度(&amp;H)</translation>
    </message>
    <message>
        <source>&amp;Time</source>
        <translation>時刻(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>表示(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>ヘルプ(&amp;H)</translation>
    </message>
    <message>
        <source>Playback speed:
left: slow, one point every 0.75 s
middle: normal, one point every 0.5 s
right: fast, one point every 0.25 s</source>
        <translation>再生速度:
左: 低速、0.75 秒ごとに 1 ポイント
中央: 標準、0.5 秒ごとに 1 ポイント
右: 高速、0.25 秒ごとに 1 ポイント</translation>
    </message>
    <message>
        <source>%1 files</source>
        <translation>%1 個のファイル</translation>
    </message>
    <message>
        <source>Opened %1 (tracks: %2, points: %3).</source>
        <translation>%1 を開きました (トラック: %2、ポイント: %3)。</translation>
    </message>
    <message>
        <source>Saved %1 (tracks: %2, points: %3).</source>
        <translation>%1 を保存しました (トラック: %2、ポイント: %3)。</translation>
    </message>
    <message>
        <source>marked points</source>
        <translation>マークポイント</translation>
    </message>
    <message>
        <source>speed %1 %2 %3</source>
        <translation>速度 %1 %2 %3</translation>
    </message>
    <message>
        <source>Filter: %1 (%2 of %3 points listed)</source>
        <translation>フィルター: %1 (%3 ポイント中 %2 ポイントを表示)</translation>
    </message>
    <message>
        <source>Zoom to Tracks</source>
        <translation>トラック全体を表示</translation>
    </message>
    <message>
        <source>Speed Colours</source>
        <translation>速度で色分け</translation>
    </message>
    <message>
        <source>The file %1 is damaged; what could be read was opened.
%2</source>
        <translation>ファイル %1 は破損しています。読み込めた部分だけを開きました。
%2</translation>
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
    <message>
        <source>Downloaded %1 track files from %2 (points: %3).</source>
        <translation>%2 から %1 個のトラックファイルをダウンロードしました (ポイント: %3)。</translation>
    </message>
    <message>
        <source>Geotag Photos...</source>
        <translation>写真にジオタグを付ける...</translation>
    </message>
    <message>
        <source>Clear Filter</source>
        <translation>フィルターを解除</translation>
    </message>
    <message>
        <source>Add Files...</source>
        <translation>ファイルを追加...</translation>
    </message>
    <message>
        <source>Add the tracks of files to the tracks shown</source>
        <translation>ファイルのトラックを表示中のトラックに追加します</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>A download is going on.</source>
        <translation>ダウンロード中です。</translation>
    </message>
    <message>
        <source>Stop the download and quit?</source>
        <translation>ダウンロードを中止して終了しますか？</translation>
    </message>
    <message>
        <source>%1 File (%2)</source>
        <translation>%1 ファイル (%2)</translation>
    </message>
    <message>
        <source>All track files (%1)</source>
        <translation>すべてのトラックファイル (%1)</translation>
    </message>
    <message>
        <source>Add Files</source>
        <translation>ファイルを追加</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1 (damaged, opened in part): %2</source>
        <translation>%1 (破損しているため一部のみ開きました): %2</translation>
    </message>
    <message>
        <source>Added %1 (tracks: %2, points: %3).</source>
        <translation>%1 を追加しました (トラック: %2、ポイント: %3)。</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) are damaged; what could be read was opened.</source>
        <translation>
            <numerusform>%n 個のファイルが破損しています。読み込めた部分だけを開きました。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) could not be opened.</source>
        <translation>
            <numerusform>%n 個のファイルを開けませんでした。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>... and %n more (see the details).</source>
        <translation>
            <numerusform>...ほか %n 件 (詳細を参照してください)。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) were damaged and opened in part.</source>
        <translation>
            <numerusform>%n 個のファイルが破損していたため、一部のみ開きました。</numerusform>
        </translation>
    </message>
    <message>
        <source>Download cancelled.</source>
        <translation>ダウンロードをキャンセルしました。</translation>
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
    <message>
        <source>Speed (derived)</source>
        <translation>速度 (算出値)</translation>
    </message>
</context>
<context>
    <name>PhotoReader</name>
    <message>
        <source>The file does not exist.</source>
        <translation>ファイルが存在しません。</translation>
    </message>
    <message>
        <source>This is not a file.</source>
        <translation>ファイルではありません。</translation>
    </message>
    <message>
        <source>Only JPEG, TIFF and raw photos can be geotagged.</source>
        <translation>ジオタグを付けられるのは JPEG、TIFF、RAW の写真だけです。</translation>
    </message>
    <message>
        <source>The capture time of %1 raw files cannot be read; it is skipped.</source>
        <translation>%1 RAW ファイルの撮影日時は読み取れないため、スキップします。</translation>
    </message>
</context>
<context>
    <name>PhotoWriter</name>
    <message>
        <source>It already records a position (replacing was not asked for).</source>
        <translation>すでに位置が記録されています (置き換えは指定されていません)。</translation>
    </message>
    <message>
        <source>It cannot be read: %1</source>
        <translation>読み込めません: %1</translation>
    </message>
    <message>
        <source>Its sidecar %1 is read-only.</source>
        <translation>サイドカーファイル %1 は読み取り専用です。</translation>
    </message>
    <message>
        <source>Its sidecar %1 cannot be read, and is left as it is.</source>
        <translation>サイドカーファイル %1 を読み込めないため、そのままにします。</translation>
    </message>
    <message>
        <source>Only JPEG, TIFF and raw photos can be geotagged.</source>
        <translation>ジオタグを付けられるのは JPEG、TIFF、RAW の写真だけです。</translation>
    </message>
    <message>
        <source>The file does not exist.</source>
        <translation>ファイルが存在しません。</translation>
    </message>
    <message>
        <source>This is not a file.</source>
        <translation>ファイルではありません。</translation>
    </message>
    <message>
        <source>The photo is read-only.</source>
        <translation>写真は読み取り専用です。</translation>
    </message>
    <message>
        <source>Its sidecar %1 is not a file.</source>
        <translation>サイドカー %1 はファイルではありません。</translation>
    </message>
    <message>
        <source>Its sidecar %1 is larger than %2 MB.</source>
        <translation>サイドカー %1 が %2 MB を超えています。</translation>
    </message>
    <message>
        <source>It is damaged and left as it is: %1</source>
        <translation>破損しているため、そのままにします: %1</translation>
    </message>
    <message>
        <source>its segments do not lead to its image data.</source>
        <translation>セグメントが画像データまで続いていません。</translation>
    </message>
    <message>
        <source>Its metadata would grow beyond what a JPEG file can hold; it is left as it is.</source>
        <translation>メタデータが JPEG ファイルに収まる大きさを超えてしまうため、そのままにします。</translation>
    </message>
    <message>
        <source>Its XMP packet cannot be written again.</source>
        <translation>XMP パケットを書き直せません。</translation>
    </message>
    <message>
        <source>This is not a photo, or not of a known kind.</source>
        <translation>写真ではないか、対応していない種類のファイルです。</translation>
    </message>
    <message>
        <source>Its metadata is larger than %1 MB; it is left as it is.</source>
        <translation>メタデータが %1 MB を超えているため、そのままにします。</translation>
    </message>
    <message>
        <source>it is cut short.</source>
        <translation>途中で切れています。</translation>
    </message>
    <message>
        <source>Its altitude of %1 m is left out: Exif cannot record it.</source>
        <translation>高度 %1 m は Exif に記録できないため、書き込みません。</translation>
    </message>
</context>
<context>
    <name>PointListModel</name>
    <message>
        <source> (derived)</source>
        <translation> (算出値)</translation>
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
        <source>Speed (%1)</source>
        <translation>速度 (%1)</translation>
    </message>
    <message>
        <source>Altitude (%1)</source>
        <translation>高度 (%1)</translation>
    </message>
    <message>
        <source>Speed (derived)</source>
        <translation>速度 (算出値)</translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>Save marked points only</source>
        <translation>マークしたポイントのみ保存</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 はすでに存在します。
置き換えますか？</translation>
    </message>
</context>
<context>
    <name>SaveFile</name>
    <message>
        <source>%1 is not a regular file.</source>
        <translation>%1 は通常のファイルではありません。</translation>
    </message>
    <message>
        <source>%1 has %2 names (hard links), and saving would part it from the others. Save it under another name.</source>
        <translation>%1 には %2 個の名前 (ハードリンク) があり、保存すると他の名前から切り離されます。別の名前で保存してください。</translation>
    </message>
</context>
<context>
    <name>TiffAppender</name>
    <message>
        <source>Its metadata is damaged: the byte order is not recorded.</source>
        <translation>メタデータが破損しています: バイト順が記録されていません。</translation>
    </message>
    <message>
        <source>Photos of more than 4 GB (BigTIFF) cannot be geotagged.</source>
        <translation>4 GB を超える写真 (BigTIFF) にはジオタグを付けられません。</translation>
    </message>
    <message>
        <source>Its metadata is damaged: the TIFF header is not valid.</source>
        <translation>メタデータが破損しています: TIFF ヘッダーが正しくありません。</translation>
    </message>
    <message>
        <source>Its metadata is damaged: a directory (%1) lies outside it.</source>
        <translation>メタデータが破損しています: ディレクトリ (%1) が範囲外にあります。</translation>
    </message>
    <message>
        <source>Its metadata is damaged: a directory (%1) is cut short.</source>
        <translation>メタデータが破損しています: ディレクトリ (%1) が途中で切れています。</translation>
    </message>
    <message>
        <source>Its metadata is damaged: tag 0x%1 points outside it.</source>
        <translation>メタデータが破損しています: タグ 0x%1 が範囲外を指しています。</translation>
    </message>
    <message>
        <source>Its metadata is damaged: the places of its image data are not recorded.</source>
        <translation>メタデータが破損しています: 画像データの位置が記録されていません。</translation>
    </message>
    <message>
        <source>Its image data is cut short.</source>
        <translation>画像データが途中で切れています。</translation>
    </message>
    <message>
        <source>Its metadata is damaged: its directories form a loop.</source>
        <translation>メタデータが破損しています: ディレクトリが循環しています。</translation>
    </message>
    <message>
        <source>It has more directories or pages than can be carried over.</source>
        <translation>引き継げる数を超えるディレクトリまたはページがあります。</translation>
    </message>
    <message>
        <source>Its metadata is damaged: a directory (%1) is not recorded properly.</source>
        <translation>メタデータが破損しています: ディレクトリ (%1) が正しく記録されていません。</translation>
    </message>
    <message>
        <source>Its metadata would grow beyond what the file can hold.</source>
        <translation>メタデータがファイルに収まる大きさを超えてしまいます。</translation>
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
    <message>
        <source>Select Track Files</source>
        <translation>トラックファイルの選択</translation>
    </message>
    <message>
        <source>File Name</source>
        <translation>ファイル名</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>サイズ</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>所要時間</translation>
    </message>
</context>
<context>
    <name>TrackStatistics</name>
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
    <message>
        <source>Maximum speed (derived)</source>
        <translation>最高速度 (算出値)</translation>
    </message>
</context>
<context>
    <name>Units</name>
    <message>
        <source>mi/hr</source>
        <translation>mi/hr</translation>
    </message>
    <message>
        <source>km/hr</source>
        <translation>km/hr</translation>
    </message>
    <message>
        <source>feet</source>
        <translation>feet</translation>
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
