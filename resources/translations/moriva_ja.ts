<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>AboutDialog</name>
    <message>
        <source>Version %1</source>
        <translation>バージョン %1</translation>
    </message>
    <message>
        <source>Open Data Folder</source>
        <translation>データフォルダを開く</translation>
    </message>
    <message>
        <source>About Moriva</source>
        <translation>Moriva について</translation>
    </message>
    <message>
        <source>A desktop bankbook for one account at JNB and one at eBANK.</source>
        <translation>JNB と eBANK の口座を一つずつ記帳するデスクトップ通帳です。</translation>
    </message>
    <message>
        <source>Data folder:</source>
        <translation>データフォルダ:</translation>
    </message>
    <message>
        <source>Moriva is free software: you can redistribute it and/or modify it under the terms of the GNU General Public License, version 3 or (at your option) any later version (GPL-3.0-or-later). It comes with no warranty.</source>
        <translation>Moriva はフリーソフトウェアです。GNU 一般公衆利用許諾書（GPL）第 3 版、またはそれ以降の版（GPL-3.0-or-later）の条件のもとで再頒布・改変できます。無保証です。</translation>
    </message>
    <message>
        <source>Moriva uses Qt (LGPL-3.0 and GPL-3.0, The Qt Company), SQLite (public domain), libdeflate (MIT, Eric Biggers) and ICU (Unicode licence, Unicode, Inc.).</source>
        <translation>Moriva は Qt（LGPL-3.0 および GPL-3.0、The Qt Company）、SQLite（パブリック ドメイン）、libdeflate（MIT、Eric Biggers）、ICU（Unicode ライセンス、Unicode, Inc.）を使用しています。</translation>
    </message>
</context>
<context>
    <name>ArchiveMoveIn</name>
    <message>
        <source>entry %1 holds the date %2-%3-%4 %5:%6:%7, which is out of range.</source>
        <translation>項目 %1 の日時 %2-%3-%4 %5:%6:%7 は範囲外です。</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 を読み込めません: %2</translation>
    </message>
    <message>
        <source>%1 is not moved into the database: %2</source>
        <translation>%1 はデータベースに移していません: %2</translation>
    </message>
    <message>
        <source>Cannot move %1 into %2: %3</source>
        <translation>%1 を %2 に移せません: %3</translation>
    </message>
    <message>
        <source>Cannot create the backup folder %1.</source>
        <translation>バックアップフォルダ %1 を作成できません。</translation>
    </message>
    <message>
        <source>summary</source>
        <translation>摘要</translation>
    </message>
    <message>
        <source>note</source>
        <translation>メモ</translation>
    </message>
    <message>
        <source>date, time or price text</source>
        <translation>日付・時刻・金額の文字列</translation>
    </message>
    <message>
        <source>the %1 of entry %2 holds a control character or is longer than any statement writes.</source>
        <translation>%2 件目の%1に制御文字が含まれているか、明細にはありえない長さです。</translation>
    </message>
</context>
<context>
    <name>AtomicFile</name>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 に書き込めません: %2</translation>
    </message>
</context>
<context>
    <name>Backups</name>
    <message>
        <source>Cannot create the backup folder %1.</source>
        <translation>バックアップフォルダ %1 を作成できません。</translation>
    </message>
    <message>
        <source>Cannot keep %1 in %2: %3</source>
        <translation>%1 を %2 に保管できません: %3</translation>
    </message>
    <message>
        <source>Cannot copy the database to %1: %2</source>
        <translation>データベースを %1 にコピーできません: %2</translation>
    </message>
    <message>
        <source>%1 is not a sound Moriva database: %2</source>
        <translation>%1 は正常な Moriva のデータベースではありません: %2</translation>
    </message>
    <message>
        <source>there is no such file.</source>
        <translation>そのようなファイルはありません。</translation>
    </message>
    <message>
        <source>its schema version is %1; this Moriva knows 1 to %2.</source>
        <translation>スキーマのバージョンが %1 です。この Moriva が扱えるのは 1 から %2 までです。</translation>
    </message>
    <message>
        <source>its tables are missing.</source>
        <translation>テーブルがありません。</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>%1 を開けません: %2</translation>
    </message>
    <message>
        <source>Cannot set %1 aside: %2</source>
        <translation>%1 を退避できません: %2</translation>
    </message>
    <message>
        <source>The database %1 is in use by another process.</source>
        <translation>データベース %1 は別のプロセスが使用中です。</translation>
    </message>
    <message>
        <source>%1 is not a file.</source>
        <translation>%1 はファイルではありません。</translation>
    </message>
    <message>
        <source>%1 is the database itself, not a backup.</source>
        <translation>%1 はバックアップではなくデータベースそのものです。</translation>
    </message>
    <message>
        <source>Cannot put the backup in place of %1: %2</source>
        <translation>バックアップを %1 と置き換えられません: %2</translation>
    </message>
    <message>
        <source>Cannot create the backup folder %1: %2</source>
        <translation>バックアップフォルダ %1 を作成できません: %2</translation>
    </message>
</context>
<context>
    <name>BalanceChart</name>
    <message>
        <source>Closing balance</source>
        <translation>期末残高</translation>
    </message>
    <message>
        <source>Payment</source>
        <translation>お支払金額</translation>
    </message>
    <message>
        <source>Deposit</source>
        <translation>お預り金額</translation>
    </message>
    <message>
        <source>Balance, payments and deposits</source>
        <translation>残高、お支払金額とお預り金額</translation>
    </message>
</context>
<context>
    <name>BalanceGapsSheet</name>
    <message>
        <source>Gaps in the Balances</source>
        <translation>残高の抜け</translation>
    </message>
    <message>
        <source>Between these entries the balance does not follow from the one before: statement lines are missing there, or a statement was changed before it was imported. Importing the missing statements closes a gap.</source>
        <translation>次の取引の間では、残高が前の取引の残高から続いていません。明細の行が抜けているか、取り込む前に明細ファイルが書き換えられています。抜けている明細を取り込むと、抜けは解消されます。</translation>
    </message>
    <message>
        <source>Last entry before</source>
        <translation>抜けの直前の取引</translation>
    </message>
    <message>
        <source>First entry after</source>
        <translation>抜けの直後の取引</translation>
    </message>
    <message>
        <source>Expected balance</source>
        <translation>本来の残高</translation>
    </message>
    <message>
        <source>Balance</source>
        <translation>残高</translation>
    </message>
    <message>
        <source>Difference</source>
        <translation>差額</translation>
    </message>
    <message>
        <source>Show in List</source>
        <translation>一覧で表示</translation>
    </message>
</context>
<context>
    <name>BankbookTableModel</name>
    <message>
        <source>Date</source>
        <translation>日付</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>時刻</translation>
    </message>
    <message>
        <source>Summary</source>
        <translation>摘要</translation>
    </message>
    <message>
        <source>Payment</source>
        <translation>お支払金額</translation>
    </message>
    <message>
        <source>Deposit</source>
        <translation>お預り金額</translation>
    </message>
    <message>
        <source>Balance</source>
        <translation>残高</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>メモ</translation>
    </message>
    <message>
        <source>Statement lines are missing before this entry: its balance differs by %1 from the %2 that follows from the entry before.</source>
        <translation>この取引の前に明細の行が抜けています。残高は、前の取引から計算した %2 と %1 違います。</translation>
    </message>
    <message>
        <source>Edited. The bank&apos;s text: %1</source>
        <translation>編集済み。銀行の摘要: %1</translation>
    </message>
</context>
<context>
    <name>BankbookWindow</name>
    <message>
        <source>Moriva could not save your data.</source>
        <translation>Moriva はデータを保存できませんでした。</translation>
    </message>
    <message>
        <source>Try Again</source>
        <translation>再試行</translation>
    </message>
    <message>
        <source>Stay Open</source>
        <translation>終了しない</translation>
    </message>
    <message>
        <source>This bank&apos;s ledger is not open.</source>
        <translation>この銀行の通帳は開かれていません。</translation>
    </message>
    <message>
        <source>No entries yet.
Import a JNB or eBANK statement file (%1), or drop it here.</source>
        <translation>明細はまだありません。
JNB または eBANK の明細ファイルを読み込むか（%1）、ここにドロップしてください。</translation>
    </message>
    <message>
        <source>No entries in this month.</source>
        <translation>この月の明細はありません。</translation>
    </message>
    <message>
        <source>Ledger</source>
        <translation>明細</translation>
    </message>
    <message>
        <source>Menu bar</source>
        <translation>メニューバー</translation>
    </message>
    <message>
        <source>Status bar</source>
        <translation>ステータスバー</translation>
    </message>
</context>
<context>
    <name>ChangeMonthSheet</name>
    <message>
        <source>Show a Month</source>
        <translation>月を指定して表示</translation>
    </message>
    <message>
        <source>Month:</source>
        <translation>月:</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>表示</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>月</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>年</translation>
    </message>
    <message>
        <source>Month of the year</source>
        <translation>月(1〜12)</translation>
    </message>
    <message>
        <source>Another month:</source>
        <translation>ほかの月:</translation>
    </message>
    <message>
        <source>Another month</source>
        <translation>ほかの月</translation>
    </message>
</context>
<context>
    <name>ChartAxes</name>
    <message>
        <source>10,000 yen</source>
        <translation>万円</translation>
    </message>
    <message>
        <source>Yen</source>
        <translation>円</translation>
    </message>
</context>
<context>
    <name>Commands</name>
    <message>
        <source>&amp;Import…</source>
        <translation>読み込み(&amp;I)…</translation>
    </message>
    <message>
        <source>&amp;Save List…</source>
        <translation>リストを保存(&amp;S)…</translation>
    </message>
    <message>
        <source>&amp;Print…</source>
        <translation>プリント(&amp;P)…</translation>
    </message>
    <message>
        <source>Pr&amp;eferences…</source>
        <translation>環境設定(&amp;E)…</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>終了(&amp;Q)</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>元に戻す(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>やり直す(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Mark</source>
        <translation>マーク(&amp;M)</translation>
    </message>
    <message>
        <source>&amp;Delete…</source>
        <translation>削除(&amp;D)…</translation>
    </message>
    <message>
        <source>Re&amp;vert to Bank&apos;s Text</source>
        <translation>銀行の摘要に戻す(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Ledger</source>
        <translation>明細(&amp;L)</translation>
    </message>
    <message>
        <source>S&amp;ummary</source>
        <translation>集計(&amp;U)</translation>
    </message>
    <message>
        <source>S&amp;witch List</source>
        <translation>リストの切り替え(&amp;W)</translation>
    </message>
    <message>
        <source>Reverse &amp;Order</source>
        <translation>並び順を逆にする(&amp;O)</translation>
    </message>
    <message>
        <source>&amp;Go to Month…</source>
        <translation>月を指定(&amp;G)…</translation>
    </message>
    <message>
        <source>&amp;Previous Month</source>
        <translation>前の月(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Next Month</source>
        <translation>次の月(&amp;N)</translation>
    </message>
    <message>
        <source>&amp;This Month</source>
        <translation>今月(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Search…</source>
        <translation>検索(&amp;S)…</translation>
    </message>
    <message>
        <source>Show Tool&amp;bar</source>
        <translation>ツールバーを表示(&amp;B)</translation>
    </message>
    <message>
        <source>&amp;Customize Toolbar…</source>
        <translation>ツールバーをカスタマイズ(&amp;C)…</translation>
    </message>
    <message>
        <source>&amp;Choose Bank…</source>
        <translation>銀行を選択(&amp;C)…</translation>
    </message>
    <message>
        <source>Balance &amp;Gaps…</source>
        <translation>残高の不連続(&amp;G)…</translation>
    </message>
    <message>
        <source>&amp;Rejected Lines…</source>
        <translation>読み込まなかった行(&amp;R)…</translation>
    </message>
    <message>
        <source>Delete &amp;All Entries…</source>
        <translation>すべての明細を削除(&amp;A)…</translation>
    </message>
    <message>
        <source>Check for &amp;Updates…</source>
        <translation>アップデートを確認(&amp;U)…</translation>
    </message>
    <message>
        <source>&amp;About Moriva…</source>
        <translation>Moriva について(&amp;A)…</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>編集(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>表示(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Bank</source>
        <translation>銀行(&amp;B)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>ヘルプ(&amp;H)</translation>
    </message>
</context>
<context>
    <name>Controller</name>
    <message>
        <source>Moriva has no data folder to keep its ledgers in.</source>
        <translation>通帳を保存するデータフォルダがありません。</translation>
    </message>
    <message>
        <source>%1 is empty.</source>
        <translation>%1 は空です。</translation>
    </message>
    <message>
        <source>The ledger is not open.</source>
        <translation>通帳が開かれていません。</translation>
    </message>
    <message>
        <source>Moriva keeps its ledgers in %1, but a file stands there instead of a folder.</source>
        <translation>Moriva は台帳を %1 に保存しますが、そこにはフォルダではなくファイルがあります。</translation>
    </message>
    <message numerus="yes">
        <source>Import of %1 (%n entries)</source>
        <translation>
            <numerusform>%1の読み込み（%n件）</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Import of %1 files (%n entries)</source>
        <translation>
            <numerusform>%1個のファイルの読み込み（%n件）</numerusform>
        </translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>%1を元に戻す</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>元に戻す</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>%1をやり直す</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>やり直す</translation>
    </message>
</context>
<context>
    <name>DataFolder</name>
    <message>
        <source>%1 is a symbolic link; Moriva does not follow links to its data.</source>
        <translation>%1 はシンボリックリンクです。Moriva はデータへのリンクをたどりません。</translation>
    </message>
    <message>
        <source>Cannot create %1: %2</source>
        <translation>%1 を作成できません: %2</translation>
    </message>
    <message>
        <source>Cannot make %1 private: %2</source>
        <translation>%1 を本人だけが読み書きできるようにできません: %2</translation>
    </message>
    <message>
        <source>Cannot write %1 to the disk: %2</source>
        <translation>%1 をディスクに書き込めません: %2</translation>
    </message>
</context>
<context>
    <name>DataFolderLock</name>
    <message>
        <source>The ledgers are in use by another Moriva process (%1, process %2); lock file %3.</source>
        <translation>通帳は別の Moriva（%1、プロセス %2）が使用中です。ロックファイル: %3</translation>
    </message>
    <message>
        <source>The ledgers are in use by another Moriva process; lock file %1.</source>
        <translation>台帳は別の Moriva プロセスが使用中です。ロックファイル %1。</translation>
    </message>
    <message>
        <source>Cannot lock the ledgers: lock file %1 cannot be created (%2).</source>
        <translation>台帳をロックできません: ロックファイル %1 を作成できません(%2)。</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>アクセスが拒否されました</translation>
    </message>
    <message>
        <source>unknown error</source>
        <translation>不明なエラー</translation>
    </message>
</context>
<context>
    <name>EntryChanges</name>
    <message>
        <source>Edit of Summary</source>
        <translation>摘要の編集</translation>
    </message>
    <message>
        <source>Edit of Details</source>
        <translation>メモの編集</translation>
    </message>
    <message>
        <source>Revert to Bank&apos;s Text</source>
        <translation>銀行の摘要に戻す</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>削除</translation>
    </message>
    <message>
        <source>Delete All</source>
        <translation>すべて削除</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>マーク</translation>
    </message>
    <message>
        <source>Unmark</source>
        <translation>マークの解除</translation>
    </message>
</context>
<context>
    <name>FileCommands</name>
    <message>
        <source>Saved %1</source>
        <translation>%1 に保存しました</translation>
    </message>
    <message>
        <source>CSV as Moriva writes it (*.csv)</source>
        <translation>Moriva の CSV (*.csv)</translation>
    </message>
    <message>
        <source>CSV for spreadsheets, with a header row (*.csv)</source>
        <translation>表計算ソフト用の CSV（見出し行つき） (*.csv)</translation>
    </message>
    <message>
        <source>Importing %1…</source>
        <translation>%1 を読み込んでいます…</translation>
    </message>
</context>
<context>
    <name>FileLocations</name>
    <message>
        <source>%1 %2</source>
        <extracomment>A saved list&apos;s proposed name: the account (%1) and the list&apos;s name (%2).</extracomment>
        <translation>%1_%2</translation>
    </message>
</context>
<context>
    <name>KindTableModel</name>
    <message>
        <source>ATM</source>
        <translation>ATM</translation>
    </message>
    <message>
        <source>Commission</source>
        <translation>手数料</translation>
    </message>
    <message>
        <source>Interest</source>
        <translation>利息</translation>
    </message>
    <message>
        <source>Yahoo</source>
        <translation>Yahoo</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>その他</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>種類</translation>
    </message>
</context>
<context>
    <name>LedgerArchive</name>
    <message>
        <source>The file is not a Moriva ledger archive.</source>
        <translation>このファイルは Moriva の通帳ファイルではありません。</translation>
    </message>
    <message>
        <source>The archive has format version %1, which this version of Moriva cannot read.</source>
        <translation>通帳ファイルの形式（バージョン %1）は、この Moriva では読み込めません。</translation>
    </message>
    <message>
        <source>%1 is a folder, not a ledger archive.</source>
        <translation>%1 はフォルダで、通帳ファイルではありません。</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>%1 を開けません: %2</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 を読み込めません: %2</translation>
    </message>
    <message>
        <source>The archive is damaged: its content does not match its checksum.</source>
        <translation>アーカイブが壊れています: 内容がチェックサムと一致しません。</translation>
    </message>
</context>
<context>
    <name>LedgerDatabase</name>
    <message>
        <source>%1 does not exist.</source>
        <translation>%1 がありません。</translation>
    </message>
    <message>
        <source>%1 cannot be opened: %2</source>
        <translation>%1 を開けません: %2</translation>
    </message>
    <message>
        <source>%1 is not a Moriva database: %2</source>
        <translation>%1 は Moriva のデータベースではありません: %2</translation>
    </message>
    <message>
        <source>%1 was written by a newer Moriva (schema version %2).</source>
        <translation>%1 は新しい Moriva で書かれています（スキーマのバージョン %2）。</translation>
    </message>
    <message>
        <source>%1 is not a Moriva database.</source>
        <translation>%1 は Moriva のデータベースではありません。</translation>
    </message>
    <message>
        <source>Schema version %1 cannot be brought up to date.</source>
        <translation>スキーマのバージョン %1 を更新できません。</translation>
    </message>
    <message>
        <source>The ledger database is not open.</source>
        <translation>台帳のデータベースが開いていません。</translation>
    </message>
    <message>
        <source>The ledger database is not open for changes.</source>
        <translation>台帳のデータベースは変更できる状態で開いていません。</translation>
    </message>
    <message>
        <source>No backup of the ledger could be made, so nothing was changed: %1</source>
        <translation>台帳のバックアップを作れなかったため、何も変更していません: %1</translation>
    </message>
    <message>
        <source>The entry is no longer in the ledger.</source>
        <translation>その項目はもう台帳にありません。</translation>
    </message>
    <message>
        <source>An entry belongs to no account.</source>
        <translation>どの口座にも属さない項目があります。</translation>
    </message>
    <message>
        <source>Entry %1 has no calendar date.</source>
        <translation>項目 %1 の日付は暦にない日付です。</translation>
    </message>
    <message>
        <source>%1 cannot be made: %2</source>
        <translation>%1 を作成できません: %2</translation>
    </message>
</context>
<context>
    <name>LedgerExport</name>
    <message>
        <source>Shift_JIS is not available on this system.</source>
        <translation>このシステムでは Shift_JIS を使えません。</translation>
    </message>
    <message>
        <source>The list holds a character that Shift_JIS cannot hold (%1, U+%2). Choose UTF-8 to save it.</source>
        <translation>リストに Shift_JIS で表せない文字（%1、U+%2）があります。UTF-8 を選んで保存してください。</translation>
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
        <source>Summary</source>
        <translation>摘要</translation>
    </message>
    <message>
        <source>Payment</source>
        <translation>お支払金額</translation>
    </message>
    <message>
        <source>Deposit</source>
        <translation>お預り金額</translation>
    </message>
    <message>
        <source>Balance</source>
        <translation>残高</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>メモ</translation>
    </message>
</context>
<context>
    <name>LedgerPrinter</name>
    <message>
        <source>Page %1 of %2</source>
        <translation>%1 / %2 ページ</translation>
    </message>
</context>
<context>
    <name>LedgerStatusBar</name>
    <message>
        <source>Your changes could not be saved: %1</source>
        <translation>変更を保存できませんでした: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n lines rejected…</source>
        <translation>
            <numerusform>%n 行を除外…</numerusform>
        </translation>
    </message>
    <message>
        <source>These lines of %1 are no operations and were not imported.</source>
        <translation>%1 の次の行は取引ではないため、読み込みませんでした。</translation>
    </message>
    <message>
        <source>Show where statement lines are missing</source>
        <translation>明細の行が抜けている箇所を表示</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>メッセージ</translation>
    </message>
    <message>
        <source>Bank</source>
        <translation>銀行</translation>
    </message>
    <message>
        <source>Totals</source>
        <translation>合計</translation>
    </message>
    <message>
        <source>Balances</source>
        <translation>残高</translation>
    </message>
    <message>
        <source>Dismiss the rejected lines</source>
        <translation>読み込まなかった行の表示を閉じる</translation>
    </message>
    <message>
        <source>Rejected Lines</source>
        <translation>読み込まなかった行</translation>
    </message>
    <message>
        <source>Rejected lines</source>
        <translation>読み込まなかった行</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>行</translation>
    </message>
    <message>
        <source>Text of the line</source>
        <translation>行の内容</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>理由</translation>
    </message>
</context>
<context>
    <name>LedgerView</name>
    <message>
        <source>Search Results: “%1”</source>
        <translation>検索結果：「%1」</translation>
    </message>
    <message>
        <source>The year must be a number, such as %1.</source>
        <translation>年は %1 のような数字で入力してください。</translation>
    </message>
    <message>
        <source>The month must be a number from 1 to 12.</source>
        <translation>月は 1 から 12 までの数字で入力してください。</translation>
    </message>
</context>
<context>
    <name>PeriodTableModel</name>
    <message>
        <source>Total</source>
        <translation>合計</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>月</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>年</translation>
    </message>
    <message>
        <source>Entries</source>
        <translation>件数</translation>
    </message>
    <message>
        <source>Net</source>
        <translation>差引</translation>
    </message>
    <message>
        <source>Closing balance</source>
        <translation>期末残高</translation>
    </message>
    <message>
        <source>%1 (partial)</source>
        <extracomment>A year that holds entries in fewer than its twelve months: &quot;2025 (partial)&quot;.</extracomment>
        <translation>%1（一部）</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <extracomment>The Summary&apos;s range in the status bar, before its figures: &quot;2025-04 to 2026-03: …&quot;.</extracomment>
        <translation>%1〜%2</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message numerus="yes">
        <source>Entries in %n of the year&apos;s 12 months</source>
        <translation>
            <numerusform>12 か月のうち %n か月分の記帳</numerusform>
        </translation>
    </message>
    <message>
        <source>Payment</source>
        <translation>お支払金額</translation>
    </message>
    <message>
        <source>Deposit</source>
        <translation>お預り金額</translation>
    </message>
    <message numerus="yes">
        <source>%1
Payment: %2
Deposit: %3
Net: %4
Closing balance: %5
%n entries</source>
        <translation>
            <numerusform>%1
お支払金額: %2
お預り金額: %3
差引: %4
期末残高: %5
%n 件</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Preferences</name>
    <message>
        <source>Cannot write the settings file %1.</source>
        <translation>設定ファイル %1 に書き込めません。</translation>
    </message>
</context>
<context>
    <name>PreferencesWindow</name>
    <message>
        <source>Moriva Preferences</source>
        <translation>Moriva 環境設定</translation>
    </message>
    <message>
        <source>Window style (from the next start)</source>
        <translation>ウインドウのスタイル（次回の起動から）</translation>
    </message>
    <message>
        <source>Colours</source>
        <translation>色</translation>
    </message>
    <message>
        <source>UTF-8</source>
        <translation>UTF-8</translation>
    </message>
    <message>
        <source>UTF-8 with byte-order mark</source>
        <translation>UTF-8（BOM 付き）</translation>
    </message>
    <message>
        <source>Shift_JIS (CP932)</source>
        <translation>Shift_JIS（CP932）</translation>
    </message>
    <message>
        <source>&amp;Look for a newer version at start-up</source>
        <translation>起動時に新しいバージョンを確認する(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Look for a newer version at start-up (this build has no update address)</source>
        <translation>起動時に新しいバージョンを確認する(&amp;L)(この Moriva には更新の確認先がありません)</translation>
    </message>
    <message>
        <source>S&amp;tandard</source>
        <translation>標準(&amp;T)</translation>
    </message>
    <message>
        <source>T&amp;inted toolbar and square table corners</source>
        <translation>色付きツールバーと角型の表(&amp;I)</translation>
    </message>
    <message>
        <source>&amp;Marked entries:</source>
        <translation>マークした明細(&amp;M):</translation>
    </message>
    <message>
        <source>&amp;ATM:</source>
        <translation>ATM(&amp;A):</translation>
    </message>
    <message>
        <source>&amp;Commission:</source>
        <translation>手数料(&amp;C):</translation>
    </message>
    <message>
        <source>I&amp;nterest:</source>
        <translation>利息(&amp;N):</translation>
    </message>
    <message>
        <source>&amp;Yahoo:</source>
        <translation>Yahoo(&amp;Y):</translation>
    </message>
    <message>
        <source>&amp;Encoding of saved lists:</source>
        <translation>保存するリストの文字コード(&amp;E):</translation>
    </message>
    <message>
        <source>&amp;Reset Colours</source>
        <translation>色を元に戻す(&amp;R)</translation>
    </message>
    <message>
        <source>%1 would be hard to read on the table&apos;s rows, so %2 is used instead: it stands out at least 4.5 to 1.</source>
        <translation>%1 は表の行では読みにくいため、代わりに %2 を使います（コントラスト比 4.5:1 以上）。</translation>
    </message>
</context>
<context>
    <name>PrintTexts</name>
    <message>
        <source>Search: %1</source>
        <translation>検索：%1</translation>
    </message>
    <message numerus="yes">
        <source>%n entries — Payment %1, Deposit %2</source>
        <translation>
            <numerusform>%n 件 — お支払金額 %1、お預り金額 %2</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RestoreBackupSheet</name>
    <message>
        <source>Restore</source>
        <translation>復元</translation>
    </message>
    <message>
        <source>Restore Backup</source>
        <translation>バックアップから復元</translation>
    </message>
    <message numerus="yes">
        <source>%1 — %n entries</source>
        <translation>
            <numerusform>%1 — %n 件</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 — unreadable</source>
        <translation>%1 — 読み込めません</translation>
    </message>
    <message>
        <source>Restore Backup…</source>
        <translation>バックアップから復元…</translation>
    </message>
    <message>
        <source>The ledger database cannot be read; it is kept among the backups when another takes its place. Choose the backup that takes its place:</source>
        <translation>台帳のデータベースを読み込めません。別のものと置き換えるときは、バックアップの中に残します。置き換えるバックアップを選んでください:</translation>
    </message>
</context>
<context>
    <name>SearchSheet</name>
    <message>
        <source>Search</source>
        <translation>検索</translation>
    </message>
    <message>
        <source>Find entries whose summary contains:</source>
        <translation>摘要にこの語を含む明細を探します:</translation>
    </message>
</context>
<context>
    <name>SelectBankSheet</name>
    <message>
        <source>Choose a Bank</source>
        <translation>銀行を選択</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Show the ledger of:</source>
        <translation>表示する通帳:</translation>
    </message>
</context>
<context>
    <name>Sheets</name>
    <message>
        <source>Statement files (*.csv);;All files (*)</source>
        <translation>明細ファイル (*.csv);;すべてのファイル (*)</translation>
    </message>
</context>
<context>
    <name>StartOptions</name>
    <message>
        <source>Usage: moriva [FILE...]
A desktop bankbook for JNB and eBANK accounts.

Each FILE, a statement CSV file, is imported once the window is up; a window
already open on the same data folder takes them instead.

  -h, --help     show this help and exit
      --version  show the version and exit

moriva-cli does the same from a terminal: see man moriva-cli.
</source>
        <translation>使い方: moriva [ファイル...]
JNB と eBANK の口座のためのデスクトップ通帳です。

各ファイル（明細 CSV ファイル）はウィンドウが開いてから取り込まれます。
同じデータフォルダで開いているウィンドウがあれば、そちらが取り込みます。

  -h, --help     このヘルプを表示して終了します
      --version  バージョンを表示して終了します

端末からは moriva-cli で同じことができます（man moriva-cli）。
</translation>
    </message>
</context>
<context>
    <name>StatementDecoder</name>
    <message>
        <source>The file holds zero bytes: it is neither CP932, UTF-8 nor UTF-16 text.</source>
        <translation>ファイルにゼロのバイトが含まれています。CP932、UTF-8、UTF-16 のいずれのテキストでもありません。</translation>
    </message>
</context>
<context>
    <name>StatementFile</name>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>%1 を開けません: %2</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 を読み込めません: %2</translation>
    </message>
    <message>
        <source>%1 is a folder, not a statement file.</source>
        <translation>%1 はフォルダで、明細ファイルではありません。</translation>
    </message>
    <message>
        <source>%1 is not a regular file (a device, a pipe or a socket), so it cannot be a statement file.</source>
        <translation>%1 は通常のファイルではない(デバイス、パイプ、ソケット)ため、明細ファイルではありません。</translation>
    </message>
    <message>
        <source>%1 is %2 MiB, larger than any statement file (at most %3 MiB).</source>
        <translation>%1 は %2 MiB で、明細ファイルとしては大きすぎます(最大 %3 MiB)。</translation>
    </message>
    <message>
        <source>%1 is larger than any statement file (at most %2 MiB).</source>
        <translation>%1 は明細ファイルとしては大きすぎます(最大 %2 MiB)。</translation>
    </message>
</context>
<context>
    <name>StatementImporter</name>
    <message>
        <source>the line holds bytes that cannot be read as text</source>
        <translation>文字として読めないバイトを含む行です</translation>
    </message>
    <message>
        <source>the line is longer than 64 KiB (“%1”)</source>
        <translation>行が 64 KiB を超えています(“%1”)</translation>
    </message>
    <message>
        <source>the line holds the control character U+%1</source>
        <translation>行に制御文字 U+%1 が含まれています</translation>
    </message>
</context>
<context>
    <name>StatementLineParser</name>
    <message>
        <source>“%1” is not a whole number</source>
        <translation>「%1」は整数ではありません</translation>
    </message>
    <message>
        <source>%1 is not a calendar date</source>
        <translation>%1 は存在しない日付です</translation>
    </message>
    <message>
        <source>%1 is not a time of day</source>
        <translation>%1 は存在しない時刻です</translation>
    </message>
    <message>
        <source>“%1” is not a date</source>
        <translation>「%1」は日付ではありません</translation>
    </message>
    <message>
        <source>the line has no date</source>
        <translation>日付のない行です</translation>
    </message>
    <message>
        <source>%1 is too small</source>
        <translation>%1 は小さすぎます</translation>
    </message>
    <message>
        <source>%1 is too large</source>
        <translation>%1 は大きすぎます</translation>
    </message>
    <message>
        <source>the line is cut short: “%1” opens a quotation that is never closed</source>
        <translation>行が途中で切れています: “%1” で始まる引用符が閉じていません</translation>
    </message>
    <message>
        <source>the line is cut short: a quotation is never closed</source>
        <translation>行が途中で切れています: 引用符が閉じていません</translation>
    </message>
    <message>
        <source>the line is cut short: it ends after field %1 of the %2 it needs</source>
        <translation>行が途中で切れています: 必要な %2 項目のうち %1 項目で終わっています</translation>
    </message>
    <message>
        <source>field %1 is longer than 1,000 characters (“%2”)</source>
        <translation>%1 番目の項目が 1,000 文字を超えています(“%2”)</translation>
    </message>
</context>
<context>
    <name>StatusTexts</name>
    <message>
        <source>%1: nothing imported. %2</source>
        <translation>%1: 読み込みませんでした。%2</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>%1 行目: %2</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>ほか %n 行</numerusform>
        </translation>
    </message>
    <message>
        <source>Balances continuous from %1 to %2</source>
        <translation>残高は %1 から %2 まで連続しています</translation>
    </message>
    <message numerus="yes">
        <source>%n gaps in the balances</source>
        <translation>
            <numerusform>残高の抜けが %n 箇所あります</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Closed %n gaps in the balances.</source>
        <translation>
            <numerusform>残高の抜けを %n 箇所解消しました。</numerusform>
        </translation>
    </message>
    <message>
        <source>No entries contain “%1”</source>
        <translation>「%1」を含む明細はありません</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1、%2</translation>
    </message>
    <message numerus="yes">
        <source>%n entries added</source>
        <translation>
            <numerusform>%n 件追加</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n duplicates skipped</source>
        <translation>
            <numerusform>重複 %n 件を省略</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n lines rejected</source>
        <translation>
            <numerusform>%n 行を除外</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (%2): %3</source>
        <translation>%1（%2）: %3</translation>
    </message>
    <message numerus="yes">
        <source>Imported %n files: %1</source>
        <translation>
            <numerusform>%n 件のファイルを読み込みました: %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Imported %1 of %n files: %2</source>
        <translation>
            <numerusform>%n 件中 %1 件のファイルを読み込みました: %2</numerusform>
        </translation>
    </message>
    <message>
        <source>Balances continuous</source>
        <translation>残高は連続しています</translation>
    </message>
    <message numerus="yes">
        <source>Delete all %n entries of the %1 ledger? Edit › Undo puts them back.</source>
        <translation>
            <numerusform>%1 の明細 %n 件をすべて削除しますか？ 「編集」›「元に戻す」で戻せます。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n entries · Payment %1 · Deposit %2</source>
        <translation>
            <numerusform>%n 件 · お支払金額 %1 · お預り金額 %2</numerusform>
        </translation>
    </message>
    <message>
        <source>line %1</source>
        <translation>%1 行目</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>This file is not a bank statement that Moriva knows. JNB statement files have &quot;NBG&quot; in their path, eBANK statement files &quot;eBANK&quot;.</source>
        <translation>このファイルは Moriva が扱える銀行の明細ではありません。JNB の明細ファイルはパスに「NBG」を、eBANK の明細ファイルは「eBANK」を含みます。</translation>
    </message>
    <message>
        <source>Import Statement</source>
        <translation>明細の読み込み</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>注意</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>削除</translation>
    </message>
    <message>
        <source>Delete All</source>
        <translation>すべて削除</translation>
    </message>
    <message>
        <source>Don&apos;t Delete</source>
        <translation>削除しない</translation>
    </message>
    <message>
        <source>Save List</source>
        <translation>リストの保存</translation>
    </message>
    <message>
        <source>Bankbook %1-%2</source>
        <translation>入出金明細_%1年%2月</translation>
    </message>
    <message>
        <source>Bankbook</source>
        <translation>入出金明細</translation>
    </message>
    <message>
        <source>JNB</source>
        <translation>JNB</translation>
    </message>
    <message>
        <source>eBANK</source>
        <translation>eBANK</translation>
    </message>
    <message>
        <source>All Activity</source>
        <translation>すべての入出金</translation>
    </message>
    <message>
        <source>Search Results</source>
        <translation>検索結果</translation>
    </message>
    <message>
        <source>Moriva could not find out which version is the latest.</source>
        <translation>最新のバージョンを確認できませんでした。</translation>
    </message>
    <message>
        <source>You are using the latest version of Moriva (%1).</source>
        <translation>お使いの Moriva は最新のバージョン（%1）です。</translation>
    </message>
    <message>
        <source>Moriva %1 is available.</source>
        <translation>Moriva %1 が公開されています。</translation>
    </message>
    <message>
        <source>The published version %1 is older than the version you use (%2).</source>
        <translation>公開されているバージョン %1 は、お使いのバージョン（%2）より古いものです。</translation>
    </message>
    <message>
        <source>Bank</source>
        <translation>銀行</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>読み込み</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>List</source>
        <translation>リスト</translation>
    </message>
    <message>
        <source>Order</source>
        <translation>並び順</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>月指定</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>前の月</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>次の月</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>マーク</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>検索</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>環境設定</translation>
    </message>
    <message>
        <source>Choose Bank</source>
        <translation>銀行の選択</translation>
    </message>
    <message>
        <source>Import Statement File</source>
        <translation>明細ファイルの読み込み</translation>
    </message>
    <message>
        <source>Save List as CSV</source>
        <translation>リストを CSV で保存</translation>
    </message>
    <message>
        <source>Delete Entry</source>
        <translation>明細の削除</translation>
    </message>
    <message>
        <source>Delete All Entries</source>
        <translation>すべての明細を削除</translation>
    </message>
    <message>
        <source>Switch List</source>
        <translation>リストの切り替え</translation>
    </message>
    <message>
        <source>Reverse Order</source>
        <translation>並び順の反転</translation>
    </message>
    <message>
        <source>Show a Month</source>
        <translation>月を指定して表示</translation>
    </message>
    <message>
        <source>Previous Month</source>
        <translation>前の月へ</translation>
    </message>
    <message>
        <source>Next Month</source>
        <translation>次の月へ</translation>
    </message>
    <message>
        <source>Mark Entry</source>
        <translation>明細のマーク</translation>
    </message>
    <message>
        <source>Search Entries</source>
        <translation>明細の検索</translation>
    </message>
    <message>
        <source>Show Preferences</source>
        <translation>環境設定を表示</translation>
    </message>
    <message>
        <source>Delete the selected entry from the ledger? Edit › Undo puts it back.</source>
        <translation>選択した明細を通帳から削除しますか？ 「編集」›「元に戻す」で戻せます。</translation>
    </message>
    <message>
        <source>Monthly Statement %1</source>
        <translation>%1の入出金</translation>
    </message>
    <message>
        <source>yyyy/MM</source>
        <extracomment>How every place writes a month, as a QDate format: yyyy the year, MM the month with two digits, M without.</extracomment>
        <translation>yyyy年M月</translation>
    </message>
</context>
<context>
    <name>SummaryView</name>
    <message>
        <source>By month</source>
        <translation>月ごと</translation>
    </message>
    <message>
        <source>By year</source>
        <translation>年ごと</translation>
    </message>
    <message>
        <source>Save Chart…</source>
        <translation>グラフを保存…</translation>
    </message>
    <message>
        <source>the first month</source>
        <translation>最初の月</translation>
    </message>
    <message>
        <source>the last month</source>
        <translation>最後の月</translation>
    </message>
    <message>
        <source>By kind, %1</source>
        <translation>種類別（%1）</translation>
    </message>
    <message>
        <source>By kind</source>
        <translation>種類別</translation>
    </message>
    <message>
        <source>Summary of %1</source>
        <translation>%1 の集計</translation>
    </message>
    <message>
        <source>Save Chart</source>
        <translation>グラフを保存</translation>
    </message>
    <message>
        <source>PNG image (*.png);;SVG drawing (*.svg)</source>
        <translation>PNG 画像 (*.png);;SVG 図形 (*.svg)</translation>
    </message>
    <message>
        <source>Summary of %1.png</source>
        <translation>%1 の集計.png</translation>
    </message>
    <message>
        <source>The chart could not be saved. %1</source>
        <translation>グラフを保存できませんでした。%1</translation>
    </message>
    <message>
        <source>Totals by</source>
        <translation>集計の単位</translation>
    </message>
    <message>
        <source>&amp;From</source>
        <translation>期間(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;to</source>
        <translation>〜(&amp;T)</translation>
    </message>
    <message>
        <source>Periods</source>
        <translation>期間ごとの集計</translation>
    </message>
    <message>
        <source>Balance chart</source>
        <translation>残高のグラフ</translation>
    </message>
    <message>
        <source>No entries yet. Import a statement (File › Import…) and its months are summed up here.</source>
        <translation>まだ記帳がありません。明細を読み込むと（ファイル › 読み込み…）、その月ごとの集計がここに表示されます。</translation>
    </message>
    <message>
        <source>the first year</source>
        <translation>最初の年</translation>
    </message>
    <message>
        <source>the last year</source>
        <translation>最後の年</translation>
    </message>
</context>
<context>
    <name>ToolbarCustomizeDialog</name>
    <message>
        <source>Customize Toolbar</source>
        <translation>ツールバーのカスタマイズ</translation>
    </message>
    <message>
        <source>Add →</source>
        <translation>追加 →</translation>
    </message>
    <message>
        <source>← Remove</source>
        <translation>← 取り除く</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>上へ</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>下へ</translation>
    </message>
    <message>
        <source>Restore Default</source>
        <translation>初期設定に戻す</translation>
    </message>
    <message>
        <source>Available items:</source>
        <translation>使える項目:</translation>
    </message>
    <message>
        <source>Toolbar:</source>
        <translation>ツールバー:</translation>
    </message>
</context>
<context>
    <name>UpdateSheet</name>
    <message>
        <source>Software Update</source>
        <translation>ソフトウェア・アップデート</translation>
    </message>
    <message>
        <source>Moriva Page</source>
        <translation>Moriva のページ</translation>
    </message>
    <message>
        <source>Home Page</source>
        <translation>ホームページ</translation>
    </message>
    <message>
        <source>Looking for a newer version…</source>
        <translation>新しいバージョンを確認しています…</translation>
    </message>
    <message>
        <source>This build of Moriva has no address to look for updates at.</source>
        <translation>この Moriva には更新を確認する先のアドレスが設定されていません。</translation>
    </message>
</context>
<context>
    <name>ViewSwitcher</name>
    <message>
        <source>Summary</source>
        <translation>集計</translation>
    </message>
    <message>
        <source>Show the ledger table</source>
        <translation>明細の表を表示</translation>
    </message>
    <message>
        <source>Show the totals by month or year and the balance chart</source>
        <translation>月ごと・年ごとの集計と残高グラフを表示</translation>
    </message>
</context>
<context>
    <name>WindowActions</name>
    <message>
        <source>Separator</source>
        <translation>区切り</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>スペース</translation>
    </message>
    <message>
        <source>Flexible Space</source>
        <translation>可変スペース</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>ツールバー</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>moriva: Moriva is open on these ledgers but did not take the files; try again.
</source>
        <translation>moriva: Moriva がこの台帳を開いていますが、ファイルを受け取りませんでした。もう一度お試しください。
</translation>
    </message>
</context>
</TS>
