<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AddingMedia</name>
    <message>
        <source>すべてのﾌｧｲﾙ (*.*)</source>
        <translation>All Files (*.*)</translation>
    </message>
    <message>
        <source>MPEG ﾌｧｲﾙ (.mpg; .mpeg; .mpv; .mp2; .mpa; .mpe; .mp3)</source>
        <translation>MPEG Files (.mpg; .mpeg; .mpv; .mp2; .mpa; .mpe; .mp3)</translation>
    </message>
    <message>
        <source>Video CD ﾌｧｲﾙ (.dat)</source>
        <translation>Video CD Files (.dat)</translation>
    </message>
    <message>
        <source>AVI ﾌｧｲﾙ (.avi)</source>
        <translation>AVI Files (.avi)</translation>
    </message>
    <message>
        <source>QuickTime ﾌｧｲﾙ (.mov; .qt)</source>
        <translation>QuickTime Files (.mov; .qt)</translation>
    </message>
    <message>
        <source>Wave ﾌｧｲﾙ (.wav)</source>
        <translation>Wave Files (.wav)</translation>
    </message>
    <message>
        <source>AU ﾌｧｲﾙ (.au; .snd)</source>
        <translation>AU Files (.au; .snd)</translation>
    </message>
    <message>
        <source>AIFF ﾌｧｲﾙ (.aif; .aifc; .aiff)</source>
        <translation>AIFF Files (.aif; .aifc; .aiff)</translation>
    </message>
    <message>
        <source>RealMedia ﾌｧｲﾙ (.ra; .rm)</source>
        <translation>RealMedia Files (.ra; .rm)</translation>
    </message>
    <message>
        <source>MIDI ﾌｧｲﾙ (.mid)</source>
        <translation>MIDI Files (.mid)</translation>
    </message>
    <message>
        <source>フォルダにファイルが存在しません。</source>
        <translation>There are no files in the folder.</translation>
    </message>
    <message>
        <source>すべてのﾒﾃﾞｨｱﾌｧｲﾙ</source>
        <translation>All Media Files</translation>
    </message>
    <message>
        <source>MPEG-4 / QuickTime ﾌｧｲﾙ (.mp4; .m4v; .mov)</source>
        <translation>MPEG-4 / QuickTime Files (.mp4; .m4v; .mov)</translation>
    </message>
    <message>
        <source>Matroska / WebM ﾌｧｲﾙ (.mkv; .webm)</source>
        <translation>Matroska / WebM Files (.mkv; .webm)</translation>
    </message>
    <message>
        <source>FLAC ﾌｧｲﾙ (.flac)</source>
        <translation>FLAC Files (.flac)</translation>
    </message>
    <message>
        <source>Ogg / Opus ﾌｧｲﾙ (.ogg; .oga; .opus)</source>
        <translation>Ogg / Opus Files (.ogg; .oga; .opus)</translation>
    </message>
    <message>
        <source>AAC / M4A ﾌｧｲﾙ (.m4a; .aac)</source>
        <translation>AAC / M4A Files (.m4a; .aac)</translation>
    </message>
</context>
<context>
    <name>Bitmap</name>
    <message>
        <source>保存する画像がありません。</source>
        <translation>There is no picture to save.</translation>
    </message>
</context>
<context>
    <name>Command</name>
    <message>
        <source>新規作成(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>新規にﾌｧｲﾙを作成</source>
        <translation>Create a new file</translation>
    </message>
    <message>
        <source>新規ﾌｧｲﾙ</source>
        <translation>New File</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>既存のﾌｧｲﾙを開く</source>
        <translation>Open an existing file</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>ﾒﾃﾞｨｱﾌｧｲﾙを開く(&amp;I)...</source>
        <translation>Open &amp;Media Files...</translation>
    </message>
    <message>
        <source>ｶｯﾄﾘｽﾄにﾒﾃﾞｨｱﾌｧｲﾙを挿入</source>
        <translation>Insert media files into the cut list</translation>
    </message>
    <message>
        <source>ﾒﾃﾞｨｱﾌｧｲﾙ</source>
        <translation>Media Files</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>作業中のﾌｧｲﾙを保存</source>
        <translation>Save the current file</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>作業中のﾌｧｲﾙに名前を付けて保存</source>
        <translation>Save the current file under a new name</translation>
    </message>
    <message>
        <source>名前をつけて保存</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>ﾌﾟﾚｲﾘｽﾄのｴｸｽﾎﾟｰﾄ(&amp;E)...</source>
        <translation>&amp;Export Playlist...</translation>
    </message>
    <message>
        <source>ｶｯﾄﾘｽﾄを他のﾌﾟﾚｲﾔ用のﾌﾟﾚｲﾘｽﾄとして保存</source>
        <translation>Save the cut list as a playlist for other players</translation>
    </message>
    <message>
        <source>ﾌﾟﾚｲﾘｽﾄのｴｸｽﾎﾟｰﾄ</source>
        <translation>Export Playlist</translation>
    </message>
    <message>
        <source>最新のﾌｧｲﾙ</source>
        <translation>Recent File</translation>
    </message>
    <message>
        <source>指定のﾌｧｲﾙを開く</source>
        <translation>Open this file</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Kivoを終了し、ﾌｧｲﾙの保存を指示</source>
        <translation>Quit Kivo, asking to save the file</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>無効を削除(&amp;D)</source>
        <translation>Delete &amp;Invalid</translation>
    </message>
    <message>
        <source>無効なｵﾌﾞｼﾞｪｸﾄをすべて削除</source>
        <translation>Delete every invalid object</translation>
    </message>
    <message>
        <source>無効を削除</source>
        <translation>Delete Invalid</translation>
    </message>
    <message>
        <source>すべて削除(&amp;A)</source>
        <translation>Delete &amp;All</translation>
    </message>
    <message>
        <source>ｵﾌﾞｼﾞｪｸﾄをすべて削除</source>
        <translation>Delete every object</translation>
    </message>
    <message>
        <source>すべて削除</source>
        <translation>Delete All</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ名(&amp;F)</source>
        <translation>&amp;File Name</translation>
    </message>
    <message>
        <source>すべてのｵﾌﾞｼﾞｪｸﾄの名前をﾌｧｲﾙ名に変更</source>
        <translation>Rename every object after its file&apos;s name</translation>
    </message>
    <message>
        <source>ﾊﾟｽ名(&amp;P)</source>
        <translation>&amp;Path Name</translation>
    </message>
    <message>
        <source>すべてのｵﾌﾞｼﾞｪｸﾄの名前をﾊﾟｽ名に変更</source>
        <translation>Rename every object after its file&apos;s full path</translation>
    </message>
    <message>
        <source>削除(&amp;C)</source>
        <translation>&amp;Clear</translation>
    </message>
    <message>
        <source>すべてのｵﾌﾞｼﾞｪｸﾄの名前を削除</source>
        <translation>Clear every object&apos;s name</translation>
    </message>
    <message>
        <source>再生(&amp;P)</source>
        <translation>&amp;Play</translation>
    </message>
    <message>
        <source>削除(&amp;D)</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>選択されたｵﾌﾞｼﾞｪｸﾄを削除</source>
        <translation>Delete the selected objects</translation>
    </message>
    <message>
        <source>ｱｲﾃﾑ削除</source>
        <translation>Delete Item</translation>
    </message>
    <message>
        <source>名前の編集(&amp;M)</source>
        <translation>Edit Na&amp;me</translation>
    </message>
    <message>
        <source>ﾌﾟﾛﾊﾟﾃｨ(&amp;R)</source>
        <translation>P&amp;roperties</translation>
    </message>
    <message>
        <source>ﾂｰﾙ ﾊﾞｰ(&amp;T)</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>ﾂｰﾙ ﾊﾞｰの表示/非表示</source>
        <translation>Show or hide the toolbar</translation>
    </message>
    <message>
        <source>ｽﾃｰﾀｽ ﾊﾞｰ(&amp;S)</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示</source>
        <translation>Show or hide the status bar</translation>
    </message>
    <message>
        <source>ﾅﾋﾞｹﾞｰｼｮﾝ ﾊﾞｰ(&amp;N)</source>
        <translation>&amp;Navigation Bar</translation>
    </message>
    <message>
        <source>ﾅﾋﾞｹﾞｰﾄ ﾊﾞｰの表示/非表示</source>
        <translation>Show or hide the navigation bar</translation>
    </message>
    <message>
        <source>ｺﾝﾄﾛｰﾙ ﾊﾞｰ(&amp;C)</source>
        <translation>&amp;Control Bar</translation>
    </message>
    <message>
        <source>ｺﾝﾄﾛｰﾙ ﾊﾞｰの表示/非表示</source>
        <translation>Show or hide the control bar</translation>
    </message>
    <message>
        <source>ﾎﾞﾘｭｰﾑ ﾊﾞｰ(&amp;V)</source>
        <translation>&amp;Volume Bar</translation>
    </message>
    <message>
        <source>ﾎﾞﾘｭｰﾑ ﾊﾞｰの表示/非表示</source>
        <translation>Show or hide the volume bar</translation>
    </message>
    <message>
        <source>ｽﾋﾟｰﾄﾞ ﾊﾞｰ(&amp;R)</source>
        <translation>Speed Ba&amp;r</translation>
    </message>
    <message>
        <source>ｽﾋﾟｰﾄﾞ ﾊﾞｰの表示/非表示</source>
        <translation>Show or hide the speed bar</translation>
    </message>
    <message>
        <source>大きいｱｲｺﾝ(&amp;G)</source>
        <translation>Lar&amp;ge Icons</translation>
    </message>
    <message>
        <source>ｵﾌﾞｼﾞｪｸﾄを大きいｱｲｺﾝで表示</source>
        <translation>Show the objects as large icons</translation>
    </message>
    <message>
        <source>大きいｱｲｺﾝ</source>
        <translation>Large Icons</translation>
    </message>
    <message>
        <source>小さいｱｲｺﾝ(&amp;M)</source>
        <translation>S&amp;mall Icons</translation>
    </message>
    <message>
        <source>ｵﾌﾞｼﾞｪｸﾄを小さいｱｲｺﾝで表示</source>
        <translation>Show the objects as small icons</translation>
    </message>
    <message>
        <source>小さいｱｲｺﾝ</source>
        <translation>Small Icons</translation>
    </message>
    <message>
        <source>一覧(&amp;L)</source>
        <translation>&amp;List</translation>
    </message>
    <message>
        <source>ｵﾌﾞｼﾞｪｸﾄを一覧表示</source>
        <translation>Show the objects as a list</translation>
    </message>
    <message>
        <source>一覧</source>
        <translation>List</translation>
    </message>
    <message>
        <source>詳細(&amp;D)</source>
        <translation>&amp;Details</translation>
    </message>
    <message>
        <source>ｳｲﾝﾄﾞｳ内の各ｵﾌﾞｼﾞｪｸﾄの情報を表示</source>
        <translation>Show the details of each object in the window</translation>
    </message>
    <message>
        <source>詳細</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>名前順(&amp;N)</source>
        <translation>By &amp;Name</translation>
    </message>
    <message>
        <source>ｵﾌﾞｼﾞｪｸﾄを名前順に並べ替え</source>
        <translation>Sort the objects by name</translation>
    </message>
    <message>
        <source>ﾒﾃﾞｨｱ時間順(&amp;M)</source>
        <translation>By &amp;Media Time</translation>
    </message>
    <message>
        <source>ｵﾌﾞｼﾞｪｸﾄをﾒﾃﾞｨｱ時間順に並べ替え</source>
        <translation>Sort the objects by media time</translation>
    </message>
    <message>
        <source>種類順(&amp;T)</source>
        <translation>By &amp;Type</translation>
    </message>
    <message>
        <source>ｵﾌﾞｼﾞｪｸﾄを種類順に並べ替え</source>
        <translation>Sort the objects by type</translation>
    </message>
    <message>
        <source>ｻｲｽﾞ順(&amp;Z)</source>
        <translation>By Si&amp;ze</translation>
    </message>
    <message>
        <source>ｵﾌﾞｼﾞｪｸﾄをﾌｧｲﾙｻｲｽﾞ順に並べ替え</source>
        <translation>Sort the objects by file size</translation>
    </message>
    <message>
        <source>日付順(&amp;D)</source>
        <translation>By &amp;Date</translation>
    </message>
    <message>
        <source>ｵﾌﾞｼﾞｪｸﾄを更新日付順に並べ替え</source>
        <translation>Sort the objects by date modified</translation>
    </message>
    <message>
        <source>ﾗﾝﾀﾞﾑ(&amp;R)</source>
        <translation>&amp;Random</translation>
    </message>
    <message>
        <source>ｵﾌﾞｼﾞｪｸﾄをﾗﾝﾀﾞﾑに並べ替え</source>
        <translation>Put the objects in random order</translation>
    </message>
    <message>
        <source>ｱｲｺﾝの自動整列(&amp;A)</source>
        <translation>&amp;Auto Arrange</translation>
    </message>
    <message>
        <source>ｱｲｺﾝを自動的に整列</source>
        <translation>Arrange the icons automatically</translation>
    </message>
    <message>
        <source>等間隔に整列(&amp;U)</source>
        <translation>Line &amp;Up Icons</translation>
    </message>
    <message>
        <source>ｱｲｺﾝを等間隔に整列</source>
        <translation>Line up the icons at even spaces</translation>
    </message>
    <message>
        <source>再生/一時停止(&amp;P)</source>
        <translation>&amp;Play/Pause</translation>
    </message>
    <message>
        <source>ﾒﾃﾞｨｱの再生または一時停止</source>
        <translation>Play or pause the media</translation>
    </message>
    <message>
        <source>再生/一時停止</source>
        <translation>Play/Pause</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>ﾒﾃﾞｨｱの再生を一時停止</source>
        <translation>Pause the media</translation>
    </message>
    <message>
        <source>停止(&amp;S)</source>
        <translation>&amp;Stop</translation>
    </message>
    <message>
        <source>ﾒﾃﾞｨｱの再生を停止</source>
        <translation>Stop the media</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>前に戻る(&amp;B)</source>
        <translation>Pre&amp;vious</translation>
    </message>
    <message>
        <source>前のﾒﾃﾞｨｱに戻る</source>
        <translation>Go back to the previous media</translation>
    </message>
    <message>
        <source>戻る</source>
        <translation>Previous</translation>
    </message>
    <message>
        <source>次に進む(&amp;F)</source>
        <translation>&amp;Next</translation>
    </message>
    <message>
        <source>次のﾒﾃﾞｨｱに進む</source>
        <translation>Go on to the next media</translation>
    </message>
    <message>
        <source>進む</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>画面(&amp;V)</source>
        <translation>Pla&amp;yer Window</translation>
    </message>
    <message>
        <source>ﾌﾟﾚｲﾔ画面の表示/非表示</source>
        <translation>Show or hide the player window</translation>
    </message>
    <message>
        <source>ﾌﾟﾚｲﾔ画面</source>
        <translation>Player Window</translation>
    </message>
    <message>
        <source>音声(&amp;A)</source>
        <translation>So&amp;und</translation>
    </message>
    <message>
        <source>音声のON/OFF</source>
        <translation>Turn the sound on or off</translation>
    </message>
    <message>
        <source>音声</source>
        <translation>Sound</translation>
    </message>
    <message>
        <source>標準(&amp;S)</source>
        <translation>&amp;Normal</translation>
    </message>
    <message>
        <source>ﾌﾟﾚｲﾔ画面をﾒﾃﾞｨｱの標準ｻｲｽﾞにする</source>
        <translation>Size the player window to the media&apos;s own size</translation>
    </message>
    <message>
        <source>標準ｻｲｽﾞ</source>
        <translation>Normal Size</translation>
    </message>
    <message>
        <source>２倍(&amp;D)</source>
        <translation>&amp;Double</translation>
    </message>
    <message>
        <source>ﾌﾟﾚｲﾔ画面をﾒﾃﾞｨｱの２倍ｻｲｽﾞにする</source>
        <translation>Size the player window to twice the media&apos;s size</translation>
    </message>
    <message>
        <source>２倍ｻｲｽﾞ</source>
        <translation>Double Size</translation>
    </message>
    <message>
        <source>最大(&amp;M)</source>
        <translation>&amp;Maximum</translation>
    </message>
    <message>
        <source>ﾌﾟﾚｲﾔ画面を最大化</source>
        <translation>Maximize the player window</translation>
    </message>
    <message>
        <source>最大化</source>
        <translation>Maximize</translation>
    </message>
    <message>
        <source>ﾌﾙｽｸﾘｰﾝ(&amp;F)</source>
        <translation>&amp;Full Screen</translation>
    </message>
    <message>
        <source>ﾌﾙｽｸﾘｰﾝ表示</source>
        <translation>Show full screen</translation>
    </message>
    <message>
        <source>ﾌﾙｽｸﾘｰﾝ</source>
        <translation>Full Screen</translation>
    </message>
    <message>
        <source>ｽﾅｯﾌﾟｼｮｯﾄ(&amp;X)...</source>
        <translation>Snaps&amp;hot...</translation>
    </message>
    <message>
        <source>一時停止中にｶﾚﾝﾄｲﾒｰｼﾞﾊﾞｯﾌｧをﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙへ出力</source>
        <translation>Save the paused frame as a bitmap file</translation>
    </message>
    <message>
        <source>自動ｻｲｽﾞ変更(&amp;S)</source>
        <translation>Auto &amp;Size</translation>
    </message>
    <message>
        <source>ﾒﾃﾞｨｱの標準ｻｲｽﾞに自動変更</source>
        <translation>Size the player window to the media&apos;s own size automatically</translation>
    </message>
    <message>
        <source>自動ｻｲｽﾞ変更</source>
        <translation>Auto Size</translation>
    </message>
    <message>
        <source>自動巻き戻し(&amp;W)</source>
        <translation>Auto Re&amp;wind</translation>
    </message>
    <message>
        <source>停止時にｶﾚﾝﾄ位置を先頭に戻す</source>
        <translation>Go back to the start when stopped</translation>
    </message>
    <message>
        <source>自動巻き戻し</source>
        <translation>Auto Rewind</translation>
    </message>
    <message>
        <source>自動繰り返し(&amp;R)</source>
        <translation>&amp;Repeat</translation>
    </message>
    <message>
        <source>現在のﾒﾃﾞｨｱを繰り返し再生</source>
        <translation>Play the current media over and over</translation>
    </message>
    <message>
        <source>自動繰り返し</source>
        <translation>Repeat</translation>
    </message>
    <message>
        <source>ｽﾄﾚｯﾁ(&amp;S)</source>
        <translation>S&amp;tretch</translation>
    </message>
    <message>
        <source>ｽﾄﾚｯﾁ表示</source>
        <translation>Stretch the picture to the window</translation>
    </message>
    <message>
        <source>ｽﾄﾚｯﾁ</source>
        <translation>Stretch</translation>
    </message>
    <message>
        <source>ﾌﾟﾛﾊﾟﾃｨを表示</source>
        <translation>Show the properties</translation>
    </message>
    <message>
        <source>ﾌﾟﾛﾊﾟﾃｨ</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>音声出力のON/OFF</source>
        <translation>Turn the sound output on or off</translation>
    </message>
    <message>
        <source>速度を 1.0 に設定</source>
        <translation>Set the speed to 1.0</translation>
    </message>
    <message>
        <source>標準速度</source>
        <translation>Normal Speed</translation>
    </message>
    <message>
        <source>ﾒﾃﾞｨｱﾌｧｲﾙの検索(&amp;F)...</source>
        <translation>&amp;Find Media Files...</translation>
    </message>
    <message>
        <source>指定されたﾄﾞﾗｲﾌﾞにあるﾒﾃﾞｨｱﾌｧｲﾙを検索し、ｶｯﾄﾘｽﾄを自動作成</source>
        <translation>Search a drive for media files and make a cut list of them</translation>
    </message>
    <message>
        <source>ﾒﾃﾞｨｱの検索</source>
        <translation>Find Media</translation>
    </message>
    <message>
        <source>目次(&amp;H)</source>
        <translation>&amp;Contents</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟの目次を表示</source>
        <translation>Show the help&apos;s contents</translation>
    </message>
    <message>
        <source>目次</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報(Kivo) (&amp;A)...</source>
        <translation>&amp;About Kivo...</translation>
    </message>
    <message>
        <source>ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示</source>
        <translation>Show the program&apos;s information, version and copyright</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>ﾘｽﾄを繰り返す(&amp;L)</source>
        <translation>Repeat &amp;List</translation>
    </message>
    <message>
        <source>ｶｯﾄﾘｽﾄ全体を繰り返し再生</source>
        <translation>Play the whole cut list again and again</translation>
    </message>
    <message>
        <source>ﾘｽﾄを繰り返す</source>
        <translation>Repeat List</translation>
    </message>
</context>
<context>
    <name>Drives</name>
    <message>
        <source> [3.5 ｲﾝﾁ ﾌﾛｯﾋﾟｰﾃﾞｨｽｸ]</source>
        <translation> [3.5&quot; Floppy Disk]</translation>
    </message>
    <message>
        <source> [ﾘﾑｰﾊﾞﾌﾞﾙ ﾃﾞｨｽｸ]</source>
        <translation> [Removable Disk]</translation>
    </message>
    <message>
        <source> [ﾈｯﾄﾜｰｸ接続]</source>
        <translation> [Network Drive]</translation>
    </message>
    <message>
        <source> [RAM ﾃﾞｨｽｸ]</source>
        <translation> [RAM Disk]</translation>
    </message>
    <message>
        <source> [ﾎｰﾑ ﾌｫﾙﾀﾞ]</source>
        <translation> [Home Folder]</translation>
    </message>
    <message>
        <source> [ﾌｫﾙﾀﾞ]</source>
        <translation> [Folder]</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>このファイル名では保存できません。</source>
        <translation>A file cannot be saved under this name.</translation>
    </message>
    <message>
        <source>フォルダです。</source>
        <translation>It is a folder.</translation>
    </message>
    <message>
        <source>通常のファイルではありません。</source>
        <translation>It is not a regular file.</translation>
    </message>
    <message>
        <source>書き込む権限がありません。</source>
        <translation>You have no permission to write it.</translation>
    </message>
    <message>
        <source>ファイルを作れません。</source>
        <translation>The file cannot be created.</translation>
    </message>
    <message>
        <source>書き込めませんでした。</source>
        <translation>It could not be written.</translation>
    </message>
    <message>
        <source>書き込めませんでした。ディスクの空きを確かめてください。</source>
        <translation>It could not be written. Check the free space on the disk.</translation>
    </message>
    <message>
        <source>ﾌﾟﾚｲﾘｽﾄの形式が正しくありません。</source>
        <translation>The playlist is not well-formed.</translation>
    </message>
    <message>
        <source>ﾌﾟﾚｲﾘｽﾄが大きすぎます。</source>
        <translation>The playlist is too large.</translation>
    </message>
    <message>
        <source>ﾌﾟﾚｲﾘｽﾄではありません。</source>
        <translation>It is not a playlist.</translation>
    </message>
    <message>
        <source>ファイルを読めません。</source>
        <translation>The file cannot be read.</translation>
    </message>
    <message>
        <source>ﾌﾟﾚｲﾘｽﾄの種類が分かりません。</source>
        <translation>The kind of playlist is not known.</translation>
    </message>
    <message>
        <source>ファイルが見つかりません。</source>
        <translation>The file was not found.</translation>
    </message>
    <message>
        <source>ファイルを開く権限がありません。</source>
        <translation>You have no permission to open the file.</translation>
    </message>
    <message>
        <source>ファイルを開けません。</source>
        <translation>The file cannot be opened.</translation>
    </message>
    <message>
        <source>ｵﾌﾞｼﾞｪｸﾄが多すぎます（%1 個まで）。</source>
        <translation>There are too many objects (at most %1).</translation>
    </message>
    <message>
        <source>ファイルが空です。</source>
        <translation>The file is empty.</translation>
    </message>
    <message>
        <source>ファイルの形式が正しくありません。</source>
        <translation>The file is not well-formed.</translation>
    </message>
    <message>
        <source>ファイルが途中で終わっています。</source>
        <translation>The file ends early.</translation>
    </message>
    <message>
        <source>このファイルは読み込めませんでした。</source>
        <translation>This file could not be read.</translation>
    </message>
</context>
<context>
    <name>Formatters</name>
    <message>
        <source>%1分 %2秒 %3</source>
        <translation>%1:%2.%3</translation>
    </message>
    <message>
        <source>%1秒 %2</source>
        <translation>%1.%2 s</translation>
    </message>
    <message>
        <source> (%1 ﾊﾞｲﾄ)</source>
        <translation> (%1 bytes)</translation>
    </message>
    <message>
        <source>日曜日</source>
        <translation>Sunday</translation>
    </message>
    <message>
        <source>月曜日</source>
        <translation>Monday</translation>
    </message>
    <message>
        <source>火曜日</source>
        <translation>Tuesday</translation>
    </message>
    <message>
        <source>水曜日</source>
        <translation>Wednesday</translation>
    </message>
    <message>
        <source>木曜日</source>
        <translation>Thursday</translation>
    </message>
    <message>
        <source>金曜日</source>
        <translation>Friday</translation>
    </message>
    <message>
        <source>土曜日</source>
        <translation>Saturday</translation>
    </message>
    <message>
        <source>%1年 %2月 %3日 %4 %5</source>
        <translation>%4, %1-%2-%3 %5</translation>
    </message>
    <message>
        <source>%1ﾌｧｲﾙ</source>
        <translation>%1File</translation>
    </message>
</context>
<context>
    <name>LoadingPace</name>
    <message>
        <source>%1 ファイル/秒&#x3000;残り %2</source>
        <translation>%1 files/s, %2 left</translation>
    </message>
</context>
<context>
    <name>Menu</name>
    <message>
        <source>画面ｻｲｽﾞ(&amp;W)</source>
        <translation>&amp;Window Size</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>名前の変更(&amp;N)</source>
        <translation>Re&amp;name</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>ｱｲｺﾝの整列(&amp;I)</source>
        <translation>Arrange &amp;Icons</translation>
    </message>
    <message>
        <source>ﾌﾟﾚｲﾔ(&amp;P)</source>
        <translation>&amp;Player</translation>
    </message>
    <message>
        <source>ﾂｰﾙ(&amp;T)</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>日時順(&amp;D)</source>
        <translation>By &amp;Date and Time</translation>
    </message>
    <message>
        <source>ｵﾌﾟｼｮﾝ(&amp;O)</source>
        <translation>&amp;Options</translation>
    </message>
</context>
<context>
    <name>ObjectProperties</name>
    <message>
        <source>このオブジェクトは利用できません。</source>
        <translation>This object is not available.</translation>
    </message>
    <message>
        <source>ファイルが存在しません。</source>
        <translation>The file does not exist.</translation>
    </message>
    <message>
        <source>ファイルが存在しないため、現在は利用できません。</source>
        <translation>The file does not exist, so the object is not available now.</translation>
    </message>
</context>
<context>
    <name>ObjectState</name>
    <message>
        <source>無効</source>
        <translation>Invalid</translation>
    </message>
    <message>
        <source>待機</source>
        <translation>Waiting</translation>
    </message>
    <message>
        <source>再生</source>
        <translation>Playing</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stopped</translation>
    </message>
</context>
<context>
    <name>Pictures</name>
    <message>
        <source>:/pictures/147.png</source>
        <translation>:/pictures/en/147.png</translation>
    </message>
    <message>
        <source>:/pictures/214.png</source>
        <translation>:/pictures/en/214.png</translation>
    </message>
</context>
<context>
    <name>StatusText</name>
    <message>
        <source>%1個のｵﾌﾞｼﾞｪｸﾄ %2 時間 %3（残り %4）</source>
        <translation>%1 objects %2 time %3 (%4 left)</translation>
    </message>
</context>
<context>
    <name>TrackMenus</name>
    <message>
        <source>ﾄﾗｯｸ %1</source>
        <translation>Track %1</translation>
    </message>
    <message>
        <source>字幕(&amp;T)</source>
        <translation>Sub&amp;titles</translation>
    </message>
    <message>
        <source>なし(&amp;N)</source>
        <translation>&amp;Off</translation>
    </message>
    <message>
        <source>音声ﾄﾗｯｸ(&amp;K)</source>
        <translation>Audio Trac&amp;k</translation>
    </message>
</context>
<context>
    <name>kivo::AboutDialog</name>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報(Kivo)</source>
        <translation>About Kivo</translation>
    </message>
</context>
<context>
    <name>kivo::CMediaSearchDlg</name>
    <message>
        <source>ﾒﾃﾞｨｱﾌｧｲﾙの検索</source>
        <translation>Find Media Files</translation>
    </message>
    <message>
        <source>ﾄﾞﾗｲﾌﾞ名</source>
        <translation>Drive</translation>
    </message>
    <message>
        <source>検索対象 ﾒﾃﾞｨｱﾀｲﾌﾟ</source>
        <translation>Media types to look for</translation>
    </message>
    <message>
        <source>検索開始</source>
        <translation>Start Search</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ﾌｫﾙﾀﾞの選択</source>
        <translation>Choose a Folder</translation>
    </message>
    <message>
        <source>ﾌｫﾙﾀﾞの選択...</source>
        <translation>Choose a Folder...</translation>
    </message>
    <message>
        <source>カットリストをクリアしますか？</source>
        <translation>Clear the cut list?</translation>
    </message>
    <message>
        <source>メディアファイルは見つかりませんでした。</source>
        <translation>No media files were found.</translation>
    </message>
</context>
<context>
    <name>kivo::ControlBars</name>
    <message>
        <source>音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>速度</source>
        <translation>Speed</translation>
    </message>
</context>
<context>
    <name>kivo::CutListDocument</name>
    <message>
        <source>%1 を開けませんでした。
%2</source>
        <translation>%1 could not be opened.
%2</translation>
    </message>
    <message>
        <source>%1 を読み込めませんでした。
%2</source>
        <translation>%1 could not be read.
%2</translation>
    </message>
    <message>
        <source>ローカルファイルでないか、存在しない %1 個の項目は読み込みませんでした。</source>
        <translation>%1 entries that are not local files or do not exist were not read.</translation>
    </message>
    <message>
        <source>%1 に書き込めませんでした。
%2</source>
        <translation>Could not write to %1.
%2</translation>
    </message>
    <message>
        <source>%1 に保存できませんでした。
%2</source>
        <translation>Could not save to %1.
%2</translation>
    </message>
</context>
<context>
    <name>kivo::CutListModel</name>
    <message>
        <source>名前</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>ﾒﾃﾞｨｱ時間</source>
        <translation>Media Time</translation>
    </message>
    <message>
        <source>状態</source>
        <translation>State</translation>
    </message>
    <message>
        <source>ｻｲｽﾞ</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>種類</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>更新日時</source>
        <translation>Modified</translation>
    </message>
</context>
<context>
    <name>kivo::DocumentFile</name>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>%1 への変更を保存しますか?</source>
        <translation>Save changes to %1?</translation>
    </message>
</context>
<context>
    <name>kivo::ElementPropertiesDialog</name>
    <message>
        <source>%1 のﾌﾟﾛﾊﾟﾃｨﾍﾟｰｼﾞは表示できません。</source>
        <translation>The property page of %1 cannot be shown.</translation>
    </message>
</context>
<context>
    <name>kivo::HelpWindow</name>
    <message>
        <source>Kivo ﾍﾙﾌﾟ</source>
        <translation>Kivo Help</translation>
    </message>
    <message>
        <source>ﾅﾋﾞｹﾞｰﾄ</source>
        <translation>Navigation</translation>
    </message>
    <message>
        <source>戻る</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>進む</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>目次</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>qrc:/help/index.html</source>
        <comment>the help&apos;s first page in the interface&apos;s language</comment>
        <translation>qrc:/help/en/index.html</translation>
    </message>
</context>
<context>
    <name>kivo::LoadingDialog</name>
    <message>
        <source>読み込み中</source>
        <translation>Loading</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>kivo::MainWindow</name>
    <message>
        <source>ﾌﾟﾚｲﾘｽﾄ (*.m3u *.m3u8 *.pls *.xspf)</source>
        <translation>Playlists (*.m3u *.m3u8 *.pls *.xspf)</translation>
    </message>
    <message>
        <source>M3U8 ﾌﾟﾚｲﾘｽﾄ (*.m3u8)</source>
        <translation>M3U8 Playlist (*.m3u8)</translation>
    </message>
    <message>
        <source>XSPF ﾌﾟﾚｲﾘｽﾄ (*.xspf)</source>
        <translation>XSPF Playlist (*.xspf)</translation>
    </message>
    <message>
        <source>ﾚﾃﾞｨ</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>すべてのオブジェクトを、カットリストから削除しますか？</source>
        <translation>Delete every object from the cut list?</translation>
    </message>
    <message>
        <source>無効なオブジェクトを、カットリストからすべて削除しますか？</source>
        <translation>Delete every invalid object from the cut list?</translation>
    </message>
    <message>
        <source>すべてのオブジェクトの名前を、メディアのフルパス名に変更しますか？</source>
        <translation>Rename every object after its media&apos;s full path?</translation>
    </message>
    <message>
        <source>すべてのオブジェクトの名前を、ファイル名に変更しますか？</source>
        <translation>Rename every object after its file&apos;s name?</translation>
    </message>
    <message>
        <source>すべてのオブジェクトの名前を、削除しますか？</source>
        <translation>Clear every object&apos;s name?</translation>
    </message>
    <message>
        <source>ｶﾅ</source>
        <translation>KANA</translation>
    </message>
    <message>
        <source>名前を付けて保存</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>ﾌﾟﾚｲﾘｽﾄのｴｸｽﾎﾟｰﾄ</source>
        <translation>Export Playlist</translation>
    </message>
</context>
<context>
    <name>kivo::MediaFileDialog</name>
    <message>
        <source>ﾒﾃﾞｨｱﾌｧｲﾙを開く</source>
        <translation>Open Media Files</translation>
    </message>
    <message>
        <source>%1
ファイルが見つかりません。ファイル名を確認してください。</source>
        <translation>%1
The file was not found. Check the file name.</translation>
    </message>
</context>
<context>
    <name>kivo::MediaLoader</name>
    <message>
        <source>読み込み中...(%1/%2)</source>
        <translation>Loading... (%1/%2)</translation>
    </message>
</context>
<context>
    <name>kivo::PlaybackPage</name>
    <message>
        <source>音声</source>
        <translation>Sound</translation>
    </message>
    <message>
        <source>音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>小</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>大</source>
        <translation>High</translation>
    </message>
    <message>
        <source>ﾊﾞﾗﾝｽ</source>
        <translation>Balance</translation>
    </message>
    <message>
        <source>左</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>右</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>速度</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>自動ｻｲｽﾞ変更</source>
        <translation>Auto size</translation>
    </message>
    <message>
        <source>自動繰り返し</source>
        <translation>Repeat</translation>
    </message>
    <message>
        <source>自動巻き戻し</source>
        <translation>Auto rewind</translation>
    </message>
    <message>
        <source>ｽﾄﾚｯﾁ</source>
        <translation>Stretch</translation>
    </message>
    <message>
        <source>速度には %1 から %2 までの数値を指定してください。</source>
        <translation>Enter a speed from %1 to %2.</translation>
    </message>
</context>
<context>
    <name>kivo::PlaybackSequencer</name>
    <message>
        <source>再生開始できません。</source>
        <translation>Cannot start playing.</translation>
    </message>
    <message>
        <source>音声が出力できません。</source>
        <translation>The sound cannot be played.</translation>
    </message>
    <message>
        <source>音声出力デバイスが利用できません。</source>
        <translation>No sound output device is available.</translation>
    </message>
</context>
<context>
    <name>kivo::PlayerWindow</name>
    <message>
        <source>Kivo ﾌﾟﾚｲﾔ</source>
        <translation>Kivo Player</translation>
    </message>
    <message>
        <source>名前を付けて保存</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>%1 に保存できませんでした。
%2</source>
        <translation>Could not save to %1.
%2</translation>
    </message>
</context>
<context>
    <name>kivo::PropertySheet</name>
    <message>
        <source>種類:</source>
        <translation>Type:</translation>
    </message>
    <message>
        <source>ﾒﾃﾞｨｱ時間:</source>
        <translation>Media time:</translation>
    </message>
    <message>
        <source>ｻｲｽﾞ:</source>
        <translation>Size:</translation>
    </message>
    <message>
        <source>更新日時:</source>
        <translation>Modified:</translation>
    </message>
    <message>
        <source>場所:</source>
        <translation>Location:</translation>
    </message>
    <message>
        <source>ﾋﾞﾃﾞｵｻｲｽﾞ:</source>
        <translation>Video size:</translation>
    </message>
    <message>
        <source>ﾌﾟﾛﾊﾟﾃｨ</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>ﾌｨﾙﾀ:</source>
        <translation>Filters:</translation>
    </message>
    <message>
        <source>ﾒﾃﾞｨｱ</source>
        <translation>Media</translation>
    </message>
    <message>
        <source>ﾌﾟﾚｲﾔ</source>
        <translation>Player</translation>
    </message>
    <message>
        <source>ﾌﾟﾚｲﾊﾞｯｸ</source>
        <translation>Playback</translation>
    </message>
</context>
<context>
    <name>kivo::SearchProgressDialog</name>
    <message>
        <source>検索中: %1</source>
        <translation>Searching: %1</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ﾌｫﾙﾀﾞ: %1</source>
        <translation>Folders: %1</translation>
    </message>
    <message>
        <source>見つかったﾌｧｲﾙ: %1</source>
        <translation>Files found: %1</translation>
    </message>
</context>
</TS>
