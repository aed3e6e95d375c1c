<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Tolan</name>
    <message>
        <source>ﾃﾞｨﾚｸﾄﾘ＋ﾌｧｲﾙ</source>
        <translation>Folders+files</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ</source>
        <translation>Files</translation>
    </message>
    <message>
        <source>新規作成</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>上書保存</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>修正可能。セミコロンを区切りとして入力。</source>
        <translation>Editable. Separate patterns with semicolons.</translation>
    </message>
    <message>
        <source>保存すべきデータ無し</source>
        <translation>Nothing to save</translation>
    </message>
    <message>
        <source>拡張子が定義されていません。</source>
        <translation>No extension given.</translation>
    </message>
    <message>
        <source>このファイルに上書きできません。</source>
        <translation>This file cannot be replaced.</translation>
    </message>
    <message>
        <source>データ保存ファイル名指定</source>
        <translation>Name of the file to save</translation>
    </message>
    <message>
        <source>表示拡張子</source>
        <translation>Show types</translation>
    </message>
    <message>
        <source>全てのﾌｧｲﾙ表示</source>
        <translation>Show all files</translation>
    </message>
    <message>
        <source>上書き保存</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>戻る</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>ファイル保存</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>拡張子設定エラー</source>
        <translation>Bad file type pattern</translation>
    </message>
    <message>
        <source>指定例：C:\ , C:\WINDOWS</source>
        <translation>For example: C:\ , C:\WINDOWS</translation>
    </message>
    <message>
        <source>指定例： C:\WINDOWS</source>
        <translation>For example: C:\WINDOWS</translation>
    </message>
    <message>
        <source>ディレクトリ指定が異常</source>
        <translation>Not a usable folder</translation>
    </message>
    <message>
        <source>保存ディレクトリ指定</source>
        <translation>Output folder</translation>
    </message>
    <message>
        <source>現在の設定</source>
        <translation>Current</translation>
    </message>
    <message>
        <source>変更設定</source>
        <translation>New</translation>
    </message>
    <message>
        <source>参照</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>ファイル出力形式指定</source>
        <translation>Output file format</translation>
    </message>
    <message>
        <source>出力ファイル形式</source>
        <translation>File format</translation>
    </message>
    <message>
        <source>カンマ区切り</source>
        <translation>TXT</translation>
    </message>
    <message>
        <source>ＣＳＶ形式</source>
        <translation>CSV</translation>
    </message>
    <message>
        <source>決定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>保存設定</source>
        <translation>Output settings</translation>
    </message>
    <message>
        <source>に書込み終了しました</source>
        <translation>Saved.</translation>
    </message>
    <message>
        <source>このファイルは</source>
        <translation>Format: </translation>
    </message>
    <message>
        <source>のデータです</source>
        <translation>.</translation>
    </message>
    <message>
        <source>ＴＯＬａｎ</source>
        <translation>TOLan</translation>
    </message>
    <message>
        <source>出力タイプ</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>出力拡張子</source>
        <translation>Extension</translation>
    </message>
    <message>
        <source>解析ドライブ</source>
        <translation>Drive</translation>
    </message>
    <message>
        <source>？</source>
        <translation>?</translation>
    </message>
    <message>
        <source>解析対象ﾃﾞｨﾚｸﾄﾘ</source>
        <translation>Folder to scan</translation>
    </message>
    <message>
        <source>ファイル名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>サイズ</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>更新日時</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ表示１</source>
        <translation>With totals</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ表示２</source>
        <translation>Files only</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ出力</source>
        <translation>Save as</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>ﾌｫｰﾙﾀﾞ容量表示</source>
        <translation>Folder sizes</translation>
    </message>
    <message>
        <source>cmnt ON</source>
        <translation>Hints: on</translation>
    </message>
    <message>
        <source>検索件数(ﾌｧｲﾙ数)</source>
        <translation>Files found</translation>
    </message>
    <message>
        <source>Ver.3 で有効</source>
        <translation>Not available</translation>
    </message>
    <message>
        <source>処 理 中</source>
        <translation>Working</translation>
    </message>
    <message>
        <source>Tolan-ﾌｧｲﾙ表示ﾌﾟﾛｸﾞﾗﾑ</source>
        <translation>Tolan - Folder Listing</translation>
    </message>
    <message>
        <source>OPTION</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>ファイル出力</source>
        <translation>Listing files</translation>
    </message>
    <message>
        <source>ファイル出力ディレクトリ設定</source>
        <translation>Output folder and format...</translation>
    </message>
    <message>
        <source>FileName+Size+Date(Directry分離)</source>
        <translation>Folder, name, size, date</translation>
    </message>
    <message>
        <source>プリント出力</source>
        <translation>Print...</translation>
    </message>
    <message>
        <source>占有グラフ</source>
        <translation>Occupancy graph</translation>
    </message>
    <message>
        <source>保存ファイルの管理</source>
        <translation>Saved snapshots</translation>
    </message>
    <message>
        <source>中断</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>ディスクなし</source>
        <translation>No disk</translation>
    </message>
    <message>
        <source>ディスク異常</source>
        <translation>Disk error</translation>
    </message>
    <message>
        <source>ディレクトリ存在せず</source>
        <translation>No such folder</translation>
    </message>
    <message>
        <source>ﾃﾞｨｽｸ応答なし</source>
        <translation>Disk not answering</translation>
    </message>
    <message>
        <source>ファイル名指定ミス</source>
        <translation>Bad file name</translation>
    </message>
    <message>
        <source>作業ファイルの置き場なし</source>
        <translation>No room for the work file</translation>
    </message>
    <message>
        <source>データなし</source>
        <translation>No data</translation>
    </message>
    <message>
        <source>ファイル保存失敗(保存ﾃﾞｨﾚｸﾄﾘﾁｪｯｸ要)</source>
        <translation>Could not save (check the output folder)</translation>
    </message>
    <message>
        <source>に書込み中</source>
        <translation>Saving...</translation>
    </message>
    <message>
        <source>のﾄﾞﾗｲﾌﾞなし</source>
        <translation>: no such drive</translation>
    </message>
    <message>
        <source>(出力ﾃﾞｨﾚｸﾄﾘ設定要)</source>
        <translation>(set the output folder)</translation>
    </message>
    <message>
        <source>データが多すぎます。ファイル出力コマンドで処理して下さい</source>
        <translation>Too many lines to show. Save them with Save as.</translation>
    </message>
    <message>
        <source>印刷終了しました</source>
        <translation>Printed</translation>
    </message>
    <message>
        <source>印刷失敗(ﾌﾟﾘﾝﾀﾁｪｯｸ要)</source>
        <translation>Printing failed (check the printer)</translation>
    </message>
    <message>
        <source>印刷中断</source>
        <translation>Printing stopped</translation>
    </message>
    <message>
        <source>クリップボードにコピー中</source>
        <translation>Copying to the clipboard</translation>
    </message>
    <message>
        <source>クリップボードにコピーしました</source>
        <translation>Copied to the clipboard</translation>
    </message>
    <message>
        <source>1. 画面上部表示域（Ａ面）の更新日時の内容をダブル<byte value="xd"/>
   クリックすると表示領域が拡大される。&#x3000;&#x3000;&#x3000;&#x3000;<byte value="xd"/>
&#x3000;&#x3000;&#x3000;（切替え：トグル）<byte value="xd"/>
2. Ａ面は常にディレクトリ＋ファイルの内容を表示。<byte value="xd"/>
3. Ａ面の項目の表示幅は拡大、縮小可能。   <byte value="xd"/>
4. マウスの左ボタンを押したままドラッグした後、&#x3000;<byte value="xd"/>
 &#x3000;右ボタンで処理結果がクリックボードにコピーされる。<byte value="xd"/>
   SHIFTキー利用も可。（対象は画面下部表示域（Ｂ面）<byte value="xd"/>
&#x3000; のみ）  &lt;copy/paste機能&gt;<byte value="xd"/>
5. 出力拡張子はキーボード入力も可能。<byte value="xd"/>
6. 画面の拡大はマウスで可能。<byte value="xd"/>
7. OPTIONでのファイル出力は固定ファイル名<byte value="xd"/>
   ( C:\Tolan.txt  or  A:\Tolan.tx ) <byte value="xd"/>
この領域をマウスでクリックするとこのWindowは閉じます。 <byte value="xd"/>
         <byte value="xd"/>
</source>
        <translation>To scan, pick the drive and the folder, then press<byte value="xd"/>
With totals, Files only or Folder sizes.<byte value="xd"/>
1. Double-click Side A&apos;s dates (the upper list), or<byte value="xd"/>
   press Enter there, to enlarge it; again to restore.<byte value="xd"/>
2. Side A always shows folders and files.<byte value="xd"/>
3. Side A&apos;s columns can be widened or narrowed.<byte value="xd"/>
4. In Side B (the lower list) select lines with the<byte value="xd"/>
   mouse or Shift+arrows, then right-click or press<byte value="xd"/>
   Ctrl+C to copy them to the clipboard.<byte value="xd"/>
5. The extension can also be typed.<byte value="xd"/>
6. The window can be resized with the mouse.<byte value="xd"/>
7. Options &gt; Listing files writes fixed names in the<byte value="xd"/>
   output folder: TOLAN.TXT, TOLAN0.TXT to TOLAN3.TXT.<byte value="xd"/>
Click here or press Esc to close this panel.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ名ﾘｽﾄを表示します。</source>
        <translation>Lists the file names.</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ名ﾘｽﾄの他、各フォルダ毎の合計容量やﾌｧｲﾙ数も表示します。</source>
        <translation>Lists the file names with each folder&apos;s total size and number of files.</translation>
    </message>
    <message>
        <source>ﾌｫﾙﾀﾞ名とその中のﾌｧｲﾙ数と容量を表示します(拡張子指定可)</source>
        <translation>Lists each folder with its number of files and size (the extension applies).</translation>
    </message>
    <message>
        <source>下画面に表示されている結果をファイル名指定で保存します</source>
        <translation>Saves the listing shown below in a file you name.</translation>
    </message>
    <message>
        <source>直接入力可能です。</source>
        <translation>You can type here.</translation>
    </message>
    <message>
        <source>コメント表示 ON/OFF の切り替え。</source>
        <translation>Turns these hints on or off. </translation>
    </message>
    <message>
        <source>現在OFF</source>
        <translation>Now off</translation>
    </message>
    <message>
        <source>現在ON</source>
        <translation>Now on</translation>
    </message>
    <message>
        <source>cmnt OFF</source>
        <translation>Hints: on</translation>
    </message>
    <message>
        <source>cmnt ON </source>
        <translation>Hints: off</translation>
    </message>
    <message>
        <source>範囲指定後、右マウスクリックでクリックボードにコピーされます。</source>
        <translation>Select lines, then right-click or press Ctrl+C to copy them.</translation>
    </message>
    <message>
        <source>ダブルクリックすると画面が広がります。&lt;ON/OFF&gt;</source>
        <translation>Double-click or press Enter to enlarge this area; again to restore it.</translation>
    </message>
    <message>
        <source>印刷</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>幅に合わせる</source>
        <translation>Fit width</translation>
    </message>
    <message>
        <source>ページ全体</source>
        <translation>Whole page</translation>
    </message>
    <message>
        <source>拡大</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>縮小</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>縦</source>
        <translation>Portrait</translation>
    </message>
    <message>
        <source>横</source>
        <translation>Landscape</translation>
    </message>
    <message>
        <source>用紙設定</source>
        <translation>Paper</translation>
    </message>
    <message>
        <source>印刷中</source>
        <translation>Printing</translation>
    </message>
    <message>
        <source>保存しました</source>
        <translation>Saved</translation>
    </message>
    <message>
        <source>ファイルを選択して下さい</source>
        <translation>Select a snapshot first</translation>
    </message>
    <message>
        <source>%1 を削除します。もう一度「削除」で実行</source>
        <translation>Press Delete again to delete %1</translation>
    </message>
    <message>
        <source>削除しました</source>
        <translation>Deleted</translation>
    </message>
    <message>
        <source>比較できません: %1</source>
        <translation>Cannot compare: %1</translation>
    </message>
    <message>
        <source>保存ファイル名</source>
        <translation>Snapshot name</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>保存ファイル一覧（フォルダ・日時・ファイル数）</source>
        <translation>Snapshots (folder, time, files)</translation>
    </message>
    <message>
        <source>比較</source>
        <translation>Compare</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message numerus="yes">
        <source>%1  %2  %3  %4 ファイル</source>
        <translation>
            <numerusform>%1  %2  %3  %4 file</numerusform>
            <numerusform>%1  %2  %3  %4 files</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 と比較<byte value="xd"/>
追加 %2  削除 %3  変更 %4</source>
        <translation>Compared with %1<byte value="xd"/>
Added %2  Removed %3  Changed %4</translation>
    </message>
    <message>
        <source>8階層より深い %1 個のフォルダは一覧にありません<byte value="xd"/>
(保存ファイルの管理で全階層を保存)</source>
        <translation>Folders below the eighth level, not listed: %1<byte value="xd"/>
(a saved snapshot holds every level)</translation>
    </message>
    <message>
        <source>ドライブ</source>
        <translation>Drive</translation>
    </message>
    <message>
        <source>ディレクトリ</source>
        <translation>Folders</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>Files</translation>
    </message>
    <message>
        <source>ヘルプ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>使い方の説明を表示します。</source>
        <translation>Shows how to use the window.</translation>
    </message>
    <message>
        <source>Ａ面</source>
        <translation>Side A</translation>
    </message>
    <message>
        <source>Ｂ面</source>
        <translation>Side B</translation>
    </message>
    <message>
        <source>コメント表示</source>
        <translation>Hints</translation>
    </message>
    <message>
        <source>Ａ面 %1</source>
        <translation>Side A %1</translation>
    </message>
    <message>
        <source>%1と%2の境界</source>
        <translation>Border between %1 and %2</translation>
    </message>
    <message>
        <source>上へ</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>一つ上のフォルダ (Backspace)</source>
        <translation>Up one folder (Backspace)</translation>
    </message>
    <message>
        <source>種類別の色</source>
        <translation>Colour by type</translation>
    </message>
    <message>
        <source>階層別の色</source>
        <translation>Colour by depth</translation>
    </message>
    <message>
        <source>保存...</source>
        <translation>Save...</translation>
    </message>
    <message>
        <source>PNG または SVG に保存 (Ctrl+S)</source>
        <translation>Save as PNG or SVG (Ctrl+S)</translation>
    </message>
    <message>
        <source>色: フォルダの深さ</source>
        <translation>Colour: the folder&apos;s depth</translation>
    </message>
    <message>
        <source>その他</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>占有グラフの保存</source>
        <translation>Save the occupancy graph</translation>
    </message>
    <message>
        <source>保存できません: %1</source>
        <translation>Cannot save %1</translation>
    </message>
    <message>
        <source>保存しました: %1</source>
        <translation>Saved %1</translation>
    </message>
    <message>
        <source>先に解析して下さい</source>
        <translation>Scan a folder first</translation>
    </message>
    <message>
        <source>(解析中断: 読んだ分のみ)</source>
        <translation>(scan stopped: partial)</translation>
    </message>
    <message>
        <source>全ファイル 0 バイト: 面積は等分</source>
        <translation>Every file is 0 bytes: equal areas</translation>
    </message>
    <message>
        <source> バイト (&lt; </source>
        <translation> bytes (&lt; </translation>
    </message>
    <message>
        <source>中断しました: 一覧は途中までです</source>
        <translation>Stopped: the listing is partial</translation>
    </message>
    <message>
        <source>フォルダを読めなくなり中断: 一覧は不完全です</source>
        <translation>Folders could no longer be read: the listing is incomplete</translation>
    </message>
    <message>
        <source>読めないフォルダ %1 個: ファイルなしと表示</source>
        <translation>Unreadable folders, shown without files: %1</translation>
    </message>
    <message>
        <source>通常のファイルではありません</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>%1 は既にあります。もう一度「上書保存」で上書き</source>
        <translation>%1 already exists. Press Replace again to replace it.</translation>
    </message>
    <message>
        <source>設定ファイルを読めず既定値で起動(ファイルは保持)</source>
        <translation>Could not read the settings: started with the defaults (the file is kept)</translation>
    </message>
    <message>
        <source>読めない設定ファイルを %1 に移しました</source>
        <translation>Could not read the settings: the file was moved to %1</translation>
    </message>
    <message>
        <source>drives はファイルでないため既定のドライブを使用</source>
        <translation>drives is not a file: using the default drives</translation>
    </message>
    <message>
        <source>drives の %1 行目は使えません</source>
        <translation>Unusable lines in drives: %1</translation>
    </message>
    <message>
        <source>(ほか %1 行)</source>
        <translation>(and %1 more lines)</translation>
    </message>
    <message>
        <source>FileName+Size+Date</source>
        <translation>Name, size, date</translation>
    </message>
    <message>
        <source>FileName+Size</source>
        <translation>Name, size</translation>
    </message>
    <message>
        <source>FileName+Date</source>
        <translation>Name, date</translation>
    </message>
    <message>
        <source>FileName</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>グラフ</source>
        <translation>Graph</translation>
    </message>
    <message>
        <source>色分け</source>
        <translation>Colours</translation>
    </message>
    <message>
        <source>ファイルの長さ</source>
        <translation>File lengths</translation>
    </message>
    <message>
        <source>ディスク使用量</source>
        <translation>Space on disk</translation>
    </message>
    <message>
        <source>大きさの基準</source>
        <translation>Sizes</translation>
    </message>
    <message>
        <source>凡例</source>
        <translation>Legend</translation>
    </message>
    <message>
        <source>面積: ディスク使用量</source>
        <translation>Areas: space on disk</translation>
    </message>
    <message>
        <source>面積: ファイルの長さ</source>
        <translation>Areas: file lengths</translation>
    </message>
    <message>
        <source>残りのファイル</source>
        <translation>Remaining files</translation>
    </message>
    <message>
        <source>小さすぎる項目</source>
        <translation>Too small to show</translation>
    </message>
    <message>
        <source>解析中: 前回の %1 の結果を表示しています</source>
        <translation>Scanning: showing the previous scan of %1</translation>
    </message>
    <message>
        <source>%1 は %2 の保存ファイルです。もう一度「比較」で比較</source>
        <translation>%1 is a snapshot of %2. Press Compare again to compare anyway.</translation>
    </message>
    <message numerus="yes">
        <source>%1 Files</source>
        <translation>
            <numerusform>%1 file</numerusform>
            <numerusform>%1 files</numerusform>
        </translation>
    </message>
    <message>
        <source>ページ番号</source>
        <translation>Page number</translation>
    </message>
    <message>
        <source>ページ</source>
        <translation>Page</translation>
    </message>
    <message>
        <source>開けません: %1</source>
        <translation>Cannot open: %1</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>保存ファイルの表示 (%2 時点):<byte value="xd"/>
%1</source>
        <translation>Saved scan shown (as of %2):<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>古い形式の保存ファイル: 空のフォルダは分かりません</source>
        <translation>Saved scan of an older format: empty folders are not known</translation>
    </message>
    <message>
        <source>保存ファイルが壊れています: 一覧は途中までです (%1)</source>
        <translation>The saved scan is damaged: the listing stops part-way (%1)</translation>
    </message>
    <message>
        <source>例： .git/  node_modules/  *.tmp  /build/  **/cache/</source>
        <translation>e.g. .git/  node_modules/  *.tmp  /build/  **/cache/</translation>
    </message>
    <message>
        <source>%1行目のﾊﾟﾀｰﾝが異常: %2</source>
        <translation>Bad pattern on line %1: %2</translation>
    </message>
    <message>
        <source>除外設定の保存失敗</source>
        <translation>Could not save the exclusions</translation>
    </message>
    <message>
        <source>除外するﾌｧｲﾙ・ﾌｫﾙﾀﾞ（１行に１ﾊﾟﾀｰﾝ）</source>
        <translation>Files and folders to leave out (one pattern a line)</translation>
    </message>
    <message>
        <source>除外設定</source>
        <translation>Exclusions</translation>
    </message>
    <message>
        <source>除外設定により %1 件を除外しました</source>
        <translation>%1 entries left out by the exclusions</translation>
    </message>
    <message>
        <source>解析するフォルダ自体が除外設定 %1 に該当: 一覧なし</source>
        <translation>The exclusion %1 leaves out the folder itself: nothing listed</translation>
    </message>
    <message>
        <source>除外設定を読めません(除外なしで解析): %1</source>
        <translation>Cannot read the exclusions (scanning without them): %1</translation>
    </message>
    <message>
        <source>除外設定が保存時と違います</source>
        <translation>The exclusions differ from the snapshot&apos;s</translation>
    </message>
    <message>
        <source>検索</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>検索するファイル名を入力して下さい</source>
        <translation>Type a file name to search for</translation>
    </message>
    <message>
        <source>検索するファイル名の「[」が閉じていません</source>
        <translation>The &quot;[&quot; of the name to search for is never closed</translation>
    </message>
    <message>
        <source>検索するファイル名に使えない文字があります</source>
        <translation>The name to search for holds a character that cannot be searched for</translation>
    </message>
    <message>
        <source>保存ファイルがありません</source>
        <translation>There are no saved files</translation>
    </message>
    <message>
        <source>検索中  %1 / %2  %3 件</source>
        <translation>Searching  %1 / %2  %3 found</translation>
    </message>
    <message numerus="yes">
        <source>%1 件見つかりました</source>
        <translation>
            <numerusform>%1 file found</numerusform>
            <numerusform>%1 files found</numerusform>
        </translation>
    </message>
    <message>
        <source>見つかりませんでした</source>
        <translation>Nothing found</translation>
    </message>
    <message>
        <source>中止しました  %1 件</source>
        <translation>Stopped  %1 found</translation>
    </message>
    <message>
        <source>%1 件で打ち切りました</source>
        <translation>Stopped at %1 found</translation>
    </message>
    <message>
        <source>  読めない保存ファイル %1 個（%2）</source>
        <translation>  Saved files that cannot be read: %1 (%2)</translation>
    </message>
    <message>
        <source>%1 はありません</source>
        <translation>%1 is not there</translation>
    </message>
    <message>
        <source>ファイル名検索</source>
        <translation>Find a file</translation>
    </message>
    <message>
        <source>検索結果（保存ファイル: パス・サイズ・日時）</source>
        <translation>Found (saved file: path, size, date)</translation>
    </message>
</context>
</TS>
