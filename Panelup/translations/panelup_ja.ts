<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>HubConnection</name>
    <message>
        <source>Fatal Error</source>
        <translation>致命的なエラー</translation>
    </message>
    <message>
        <source>Cannot found the Tarvex USB Hub driver installed!</source>
        <translation>Tarvex USB ハブのドライバーがインストールされていません！</translation>
    </message>
    <message>
        <source>Set Hub Speed failed!!!</source>
        <translation>ハブ速度の設定に失敗しました！！！</translation>
    </message>
    <message>
        <source>The detection of USB Hub is not configured correctly. Please ensure the monitor is powered on and connected properly. Please also close and restart the application, then unplug &amp; replug the USB cable to retry again. </source>
        <translation>USB ハブが正しく検出されません。モニターの電源が入っていて、正しく接続されていることを確認してください。アプリケーションを終了して再起動し、USB ケーブルを抜き差ししてからもう一度お試しください。 </translation>
    </message>
</context>
<context>
    <name>Panelup</name>
    <message>
        <source>LM Series USB Firmware Update Tool v</source>
        <translation>LM Series USB ファームウェア更新 v</translation>
    </message>
    <message>
        <source>Can&apos;t update FW on this monitor</source>
        <translation>このモニターのファームウェアは更新できません</translation>
    </message>
    <message>
        <source>The firmware update is not supported currently on this monitor.</source>
        <translation>このモニターでは現在、ファームウェアの更新はサポートされていません。</translation>
    </message>
    <message>
        <source>Confirm to download new version </source>
        <translation>新しいバージョンのダウンロードの確認 </translation>
    </message>
    <message>
        <source>A new version is available.&lt;br&gt;Do you want to download the lastest firmware?</source>
        <translation>新しいバージョンがあります。&lt;br&gt;最新のファームウェアをダウンロードしますか？</translation>
    </message>
    <message>
        <source>The scalar firmware file is either not found or corrupted,&lt;br/&gt; please download correct file from&lt;br/&gt; </source>
        <translation>スケーラーのファームウェア ファイルが見つからないか、破損しています。&lt;br/&gt; 正しいファイルを次の場所からダウンロードしてください:&lt;br/&gt; </translation>
    </message>
    <message>
        <source>The Hub firmware file is either not found or corrupted,&lt;br/&gt; please download correct file from&lt;br/&gt; </source>
        <translation>ハブのファームウェア ファイルが見つからないか、破損しています。&lt;br/&gt; 正しいファイルを次の場所からダウンロードしてください:&lt;br/&gt; </translation>
    </message>
    <message>
        <source>File checksum is not correct</source>
        <translation>ファイルのチェックサムが正しくありません</translation>
    </message>
    <message>
        <source>The new firmware version is found.&lt;br&gt;Do you want to download the lastest firmware?</source>
        <translation>新しいファームウェアのバージョンが見つかりました。&lt;br&gt;最新のファームウェアをダウンロードしますか？</translation>
    </message>
    <message>
        <source>Firmware download failed</source>
        <translation>ファームウェアのダウンロードに失敗しました</translation>
    </message>
    <message>
        <source>The download of %1 failed.&lt;br&gt;The firmware already in place was kept. Please try again later.</source>
        <translation>%1 のダウンロードに失敗しました。&lt;br&gt;既存のファームウェアはそのまま残されています。後でもう一度お試しください。</translation>
    </message>
    <message>
        <source>Update firmware warning</source>
        <translation>ファームウェア更新の警告</translation>
    </message>
    <message>
        <source>WARNING!&lt;br&gt;DOES NOT support firmware updates via USB Type-C port. Suggest to connect to HDMI / DP port or USB Type-B port for updates.</source>
        <translation>警告！&lt;br&gt;USB Type-C ポート経由のファームウェア更新はサポートされていません。更新には HDMI / DP ポートまたは USB Type-B ポートに接続してください。</translation>
    </message>
    <message>
        <source>Can&apos;t update FW on multiple monitors</source>
        <translation>複数のモニターのファームウェアは更新できません</translation>
    </message>
    <message>
        <source>The firmware update on multiple monitors is not supported currently.&lt;br&gt;Please disconnect other USB cables from the monitor before updating firmware.</source>
        <translation>複数のモニターのファームウェア更新は現在サポートされていません。&lt;br&gt;ファームウェアを更新する前に、モニターからほかの USB ケーブルを外してください。</translation>
    </message>
    <message>
        <source>The firmware could not be stored: %1.</source>
        <translation>ファームウェアを保存できませんでした: %1。</translation>
    </message>
    <message>
        <source>LM Series logo</source>
        <translation>LM Series のロゴ</translation>
    </message>
    <message>
        <source>Update progress</source>
        <translation>更新の進行状況</translation>
    </message>
    <message>
        <source>Progress of the firmware update</source>
        <translation>ファームウェア更新の進行状況</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状態</translation>
    </message>
    <message>
        <source>Allows the update to write firmware older than the monitor&apos;s</source>
        <translation>モニターのファームウェアより古いファームウェアの書き込みを許可します</translation>
    </message>
    <message>
        <source>Writes the new firmware to the monitor</source>
        <translation>新しいファームウェアをモニターに書き込みます</translation>
    </message>
    <message>
        <source>Closes the program</source>
        <translation>プログラムを終了します</translation>
    </message>
    <message>
        <source>Monitor FW : &lt;b&gt;</source>
        <translation>モニター FW : &lt;b&gt;</translation>
    </message>
    <message>
        <source>Hub FW : &lt;b&gt;</source>
        <translation>ハブ FW : &lt;b&gt;</translation>
    </message>
    <message>
        <source>Please click update button to update new firmware!</source>
        <translation>［更新］ボタンをクリックして新しいファームウェアに更新してください！</translation>
    </message>
    <message>
        <source>Firmware file is not detected .</source>
        <translation>ファームウェア ファイルが検出されません。</translation>
    </message>
    <message>
        <source>Please click &quot;update&quot; to update your firmware.</source>
        <translation>［更新］をクリックしてファームウェアを更新してください。</translation>
    </message>
    <message>
        <source>&lt;img width=20 height=20 src=&quot;:/Panelup/question_mark&quot;&gt; Your current firmware version is already the latest version, you don&apos;t need to update.</source>
        <translation>&lt;img width=20 height=20 src=&quot;:/Panelup/question_mark&quot;&gt; 現在のファームウェアはすでに最新バージョンです。更新の必要はありません。</translation>
    </message>
    <message>
        <source>title</source>
        <translation>タイトル</translation>
    </message>
    <message>
        <source>open error!</source>
        <translation>開けませんでした！</translation>
    </message>
    <message>
        <source>The update process may take several minutes. Please do not remove the USB cable connection or turn off the monitor&apos;s power while updating.</source>
        <translation>更新には数分かかる場合があります。更新中は USB ケーブルを外したり、モニターの電源を切ったりしないでください。</translation>
    </message>
    <message>
        <source>The detection of USB Hub is not configured correctly, please close the application and retry again, then unplug &amp; replug the USB cable to try again.</source>
        <translation>USB ハブが正しく検出されません。アプリケーションを終了し、USB ケーブルを抜き差ししてからもう一度お試しください。</translation>
    </message>
    <message>
        <source>The firmware file is missing or damaged. Please close and restart the application so that it can download it again.</source>
        <translation>ファームウェア ファイルが見つからないか、破損しています。アプリケーションを終了して再起動し、ファイルを再ダウンロードしてください。</translation>
    </message>
    <message>
        <source>Are you sure you want to downgrade your firmware to the old version?</source>
        <translation>ファームウェアを古いバージョンにダウングレードしてもよろしいですか？</translation>
    </message>
    <message>
        <source>Are you sure you want to update your firmware to the latest version?</source>
        <translation>ファームウェアを最新バージョンに更新してもよろしいですか？</translation>
    </message>
    <message>
        <source>Confirm to update firmware</source>
        <translation>ファームウェア更新の確認</translation>
    </message>
    <message>
        <source>Fatal Error</source>
        <translation>致命的なエラー</translation>
    </message>
    <message>
        <source>Cannot found the Tarvex USB Hub driver installed!</source>
        <translation>Tarvex USB ハブのドライバーがインストールされていません！</translation>
    </message>
    <message>
        <source>The firmware file %1 was not found.</source>
        <translation>ファームウェア ファイル %1 が見つかりません。</translation>
    </message>
    <message>
        <source>The firmware file %1 is empty.</source>
        <translation>ファームウェア ファイル %1 は空です。</translation>
    </message>
    <message>
        <source>The firmware file %1 does not match its recorded checksum.</source>
        <translation>ファームウェア ファイル %1 が記録されたチェックサムと一致しません。</translation>
    </message>
    <message>
        <source>Update Firmware Failed</source>
        <translation>ファームウェアの更新に失敗しました</translation>
    </message>
    <message>
        <source>Nothing was written to your monitor. Please close and restart the application so that it can download a correct copy.</source>
        <translation>モニターには何も書き込まれていません。アプリケーションを終了して再起動し、正しいファイルを再ダウンロードしてください。</translation>
    </message>
    <message>
        <source>Update Hub FW Failed</source>
        <translation>ハブ FW の更新に失敗しました</translation>
    </message>
    <message>
        <source>Monitor Hub Firmware update failed , please close the application and retry again !</source>
        <translation>モニターのハブ ファームウェアの更新に失敗しました。アプリケーションを終了して、もう一度お試しください！</translation>
    </message>
    <message>
        <source>Update Failed ! Model infomation is not correct !</source>
        <translation>更新に失敗しました！モデル情報が正しくありません！</translation>
    </message>
    <message>
        <source>Update Scalar FW Failed</source>
        <translation>スケーラー FW の更新に失敗しました</translation>
    </message>
    <message>
        <source>Monitor Scalar Firmware update failed, please close the application and retry again !</source>
        <translation>モニターのスケーラー ファームウェアの更新に失敗しました。アプリケーションを終了して、もう一度お試しください！</translation>
    </message>
    <message>
        <source>Update Firmware</source>
        <translation>ファームウェアの更新</translation>
    </message>
    <message>
        <source>Your monitor firmware was updated successfully.
Suggest to reset OSD setting to default.</source>
        <translation>モニターのファームウェアを更新しました。
OSD 設定を初期値にリセットすることをお勧めします。</translation>
    </message>
    <message>
        <source>Reset OSD Setting</source>
        <translation>OSD 設定をリセット</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>OSD Settings Reset</source>
        <translation>OSD 設定のリセット</translation>
    </message>
    <message>
        <source>Your monitor OSD Settings has been reset successfully.</source>
        <translation>モニターの OSD 設定をリセットしました。</translation>
    </message>
</context>
<context>
    <name>PanelupClass</name>
    <message>
        <source>Panelup</source>
        <translation>Panelup</translation>
    </message>
    <message>
        <source>LM Series USB Firmware Update Tool</source>
        <translation>LM Series USB ファームウェア更新</translation>
    </message>
    <message>
        <source>EXIT (&amp;X)</source>
        <translation>終了(&amp;X)</translation>
    </message>
    <message>
        <source>Allow Monitor use older firmware.</source>
        <translation>古いファームウェアを許可する。</translation>
    </message>
    <message>
        <source>Model Name</source>
        <translation>モデル名</translation>
    </message>
    <message>
        <source>Current Firmware</source>
        <translation>現在のバージョン</translation>
    </message>
    <message>
        <source>New Firmware</source>
        <translation>新しいバージョン</translation>
    </message>
    <message>
        <source>CheckSum</source>
        <translation>チェックサム</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>更新</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>情報</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>NV_Panelup is already running!</source>
        <translation>NV_Panelup はすでに実行中です！</translation>
    </message>
    <message>
        <source>Only one instance can be run at a time!</source>
        <translation>同時に実行できるインスタンスは 1 つだけです！</translation>
    </message>
    <message>
        <source>Other programs may change this copy&apos;s folder: install Panelup with the MSI.</source>
        <translation>このコピーのフォルダーはほかのプログラムから変更される可能性があります。Panelup は MSI でインストールしてください。</translation>
    </message>
</context>
</TS>
