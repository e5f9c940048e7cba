<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
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
    <name>FileFormatRegistry</name>
    <message>
        <source>Unknown file extension.</source>
        <translation>不明なファイル拡張子です。</translation>
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
</context>
</TS>
