<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>HubConnection</name>
    <message>
        <source>Fatal Error</source>
        <translation>Schwerwiegender Fehler</translation>
    </message>
    <message>
        <source>Cannot found the Tarvex USB Hub driver installed!</source>
        <translation>Der installierte Tarvex-USB-Hub-Treiber wurde nicht gefunden!</translation>
    </message>
    <message>
        <source>Set Hub Speed failed!!!</source>
        <translation>Festlegen der Hub-Geschwindigkeit fehlgeschlagen!!!</translation>
    </message>
    <message>
        <source>The detection of USB Hub is not configured correctly. Please ensure the monitor is powered on and connected properly. Please also close and restart the application, then unplug &amp; replug the USB cable to retry again. </source>
        <translation>Der USB-Hub wurde nicht richtig erkannt. Bitte stellen Sie sicher, dass der Monitor eingeschaltet und richtig angeschlossen ist. Schließen Sie außerdem die Anwendung, starten Sie sie neu, ziehen Sie dann das USB-Kabel ab und stecken Sie es wieder ein, um es erneut zu versuchen. </translation>
    </message>
</context>
<context>
    <name>Panelup</name>
    <message>
        <source>LM Series USB Firmware Update Tool v</source>
        <translation>LM Series USB-Firmware-Updater v</translation>
    </message>
    <message>
        <source>Can&apos;t update FW on this monitor</source>
        <translation>Firmware-Update auf diesem Monitor nicht möglich</translation>
    </message>
    <message>
        <source>The firmware update is not supported currently on this monitor.</source>
        <translation>Das Firmware-Update wird auf diesem Monitor derzeit nicht unterstützt.</translation>
    </message>
    <message>
        <source>Confirm to download new version </source>
        <translation>Download der neuen Version bestätigen </translation>
    </message>
    <message>
        <source>A new version is available.&lt;br&gt;Do you want to download the lastest firmware?</source>
        <translation>Eine neue Version ist verfügbar.&lt;br&gt;Möchten Sie die neueste Firmware herunterladen?</translation>
    </message>
    <message>
        <source>The scalar firmware file is either not found or corrupted,&lt;br/&gt; please download correct file from&lt;br/&gt; </source>
        <translation>Die Scaler-Firmwaredatei wurde nicht gefunden oder ist beschädigt,&lt;br/&gt; bitte laden Sie die richtige Datei herunter von&lt;br/&gt; </translation>
    </message>
    <message>
        <source>The Hub firmware file is either not found or corrupted,&lt;br/&gt; please download correct file from&lt;br/&gt; </source>
        <translation>Die Hub-Firmwaredatei wurde nicht gefunden oder ist beschädigt,&lt;br/&gt; bitte laden Sie die richtige Datei herunter von&lt;br/&gt; </translation>
    </message>
    <message>
        <source>File checksum is not correct</source>
        <translation>Die Prüfsumme der Datei ist nicht korrekt</translation>
    </message>
    <message>
        <source>The new firmware version is found.&lt;br&gt;Do you want to download the lastest firmware?</source>
        <translation>Eine neue Firmware-Version wurde gefunden.&lt;br&gt;Möchten Sie die neueste Firmware herunterladen?</translation>
    </message>
    <message>
        <source>Firmware download failed</source>
        <translation>Firmware-Download fehlgeschlagen</translation>
    </message>
    <message>
        <source>The download of %1 failed.&lt;br&gt;The firmware already in place was kept. Please try again later.</source>
        <translation>Der Download von %1 ist fehlgeschlagen.&lt;br&gt;Die vorhandene Firmware wurde beibehalten. Bitte versuchen Sie es später erneut.</translation>
    </message>
    <message>
        <source>Update firmware warning</source>
        <translation>Warnung zum Firmware-Update</translation>
    </message>
    <message>
        <source>WARNING!&lt;br&gt;DOES NOT support firmware updates via USB Type-C port. Suggest to connect to HDMI / DP port or USB Type-B port for updates.</source>
        <translation>WARNUNG!&lt;br&gt;Firmware-Updates über den USB-Type-C-Anschluss werden NICHT unterstützt. Schließen Sie den Monitor für Updates bitte über HDMI / DP oder den USB-Type-B-Anschluss an.</translation>
    </message>
    <message>
        <source>Can&apos;t update FW on multiple monitors</source>
        <translation>Firmware-Update auf mehreren Monitoren nicht möglich</translation>
    </message>
    <message>
        <source>The firmware update on multiple monitors is not supported currently.&lt;br&gt;Please disconnect other USB cables from the monitor before updating firmware.</source>
        <translation>Das Firmware-Update auf mehreren Monitoren wird derzeit nicht unterstützt.&lt;br&gt;Bitte trennen Sie vor dem Firmware-Update die anderen USB-Kabel vom Monitor.</translation>
    </message>
    <message>
        <source>The firmware could not be stored: %1.</source>
        <translation>Die Firmware konnte nicht gespeichert werden: %1.</translation>
    </message>
    <message>
        <source>LM Series logo</source>
        <translation>LM-Series-Logo</translation>
    </message>
    <message>
        <source>Update progress</source>
        <translation>Update-Fortschritt</translation>
    </message>
    <message>
        <source>Progress of the firmware update</source>
        <translation>Fortschritt des Firmware-Updates</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Allows the update to write firmware older than the monitor&apos;s</source>
        <translation>Erlaubt dem Update, ältere Firmware als die des Monitors zu schreiben</translation>
    </message>
    <message>
        <source>Writes the new firmware to the monitor</source>
        <translation>Schreibt die neue Firmware auf den Monitor</translation>
    </message>
    <message>
        <source>Closes the program</source>
        <translation>Beendet das Programm</translation>
    </message>
    <message>
        <source>Monitor FW : &lt;b&gt;</source>
        <translation>Monitor-FW : &lt;b&gt;</translation>
    </message>
    <message>
        <source>Hub FW : &lt;b&gt;</source>
        <translation>Hub-FW : &lt;b&gt;</translation>
    </message>
    <message>
        <source>Please click update button to update new firmware!</source>
        <translation>Bitte klicken Sie auf „Aktualisieren“, um die neue Firmware zu installieren!</translation>
    </message>
    <message>
        <source>Firmware file is not detected .</source>
        <translation>Die Firmwaredatei wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Please click &quot;update&quot; to update your firmware.</source>
        <translation>Bitte klicken Sie auf „Aktualisieren“, um Ihre Firmware zu aktualisieren.</translation>
    </message>
    <message>
        <source>&lt;img width=20 height=20 src=&quot;:/Panelup/question_mark&quot;&gt; Your current firmware version is already the latest version, you don&apos;t need to update.</source>
        <translation>&lt;img width=20 height=20 src=&quot;:/Panelup/question_mark&quot;&gt; Ihre Firmware ist bereits auf dem neuesten Stand, ein Update ist nicht nötig.</translation>
    </message>
    <message>
        <source>title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>open error!</source>
        <translation>Fehler beim Öffnen!</translation>
    </message>
    <message>
        <source>The update process may take several minutes. Please do not remove the USB cable connection or turn off the monitor&apos;s power while updating.</source>
        <translation>Das Update kann einige Minuten dauern. Bitte ziehen Sie während des Updates nicht das USB-Kabel ab und schalten Sie den Monitor nicht aus.</translation>
    </message>
    <message>
        <source>The detection of USB Hub is not configured correctly, please close the application and retry again, then unplug &amp; replug the USB cable to try again.</source>
        <translation>Der USB-Hub wurde nicht richtig erkannt. Bitte schließen Sie die Anwendung, ziehen Sie das USB-Kabel ab, stecken Sie es wieder ein und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The firmware file is missing or damaged. Please close and restart the application so that it can download it again.</source>
        <translation>Die Firmwaredatei fehlt oder ist beschädigt. Bitte schließen Sie die Anwendung und starten Sie sie neu, damit sie die Datei erneut herunterladen kann.</translation>
    </message>
    <message>
        <source>Are you sure you want to downgrade your firmware to the old version?</source>
        <translation>Möchten Sie Ihre Firmware wirklich auf die ältere Version zurücksetzen?</translation>
    </message>
    <message>
        <source>Are you sure you want to update your firmware to the latest version?</source>
        <translation>Möchten Sie Ihre Firmware wirklich auf die neueste Version aktualisieren?</translation>
    </message>
    <message>
        <source>Confirm to update firmware</source>
        <translation>Firmware-Update bestätigen</translation>
    </message>
    <message>
        <source>Fatal Error</source>
        <translation>Schwerwiegender Fehler</translation>
    </message>
    <message>
        <source>Cannot found the Tarvex USB Hub driver installed!</source>
        <translation>Der installierte Tarvex-USB-Hub-Treiber wurde nicht gefunden!</translation>
    </message>
    <message>
        <source>The firmware file %1 was not found.</source>
        <translation>Die Firmwaredatei %1 wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The firmware file %1 is empty.</source>
        <translation>Die Firmwaredatei %1 ist leer.</translation>
    </message>
    <message>
        <source>The firmware file %1 does not match its recorded checksum.</source>
        <translation>Die Firmwaredatei %1 stimmt nicht mit ihrer gespeicherten Prüfsumme überein.</translation>
    </message>
    <message>
        <source>Update Firmware Failed</source>
        <translation>Firmware-Update fehlgeschlagen</translation>
    </message>
    <message>
        <source>Nothing was written to your monitor. Please close and restart the application so that it can download a correct copy.</source>
        <translation>Auf Ihren Monitor wurde nichts geschrieben. Bitte schließen Sie die Anwendung und starten Sie sie neu, damit sie eine korrekte Kopie herunterladen kann.</translation>
    </message>
    <message>
        <source>Update Hub FW Failed</source>
        <translation>Hub-FW-Update fehlgeschlagen</translation>
    </message>
    <message>
        <source>Monitor Hub Firmware update failed , please close the application and retry again !</source>
        <translation>Das Update der Hub-Firmware des Monitors ist fehlgeschlagen. Bitte schließen Sie die Anwendung und versuchen Sie es erneut!</translation>
    </message>
    <message>
        <source>Update Failed ! Model infomation is not correct !</source>
        <translation>Update fehlgeschlagen! Die Modellinformationen sind nicht korrekt!</translation>
    </message>
    <message>
        <source>Update Scalar FW Failed</source>
        <translation>Scaler-FW-Update fehlgeschlagen</translation>
    </message>
    <message>
        <source>Monitor Scalar Firmware update failed, please close the application and retry again !</source>
        <translation>Das Update der Scaler-Firmware des Monitors ist fehlgeschlagen. Bitte schließen Sie die Anwendung und versuchen Sie es erneut!</translation>
    </message>
    <message>
        <source>Update Firmware</source>
        <translation>Firmware-Update</translation>
    </message>
    <message>
        <source>Your monitor firmware was updated successfully.
Suggest to reset OSD setting to default.</source>
        <translation>Die Firmware Ihres Monitors wurde erfolgreich aktualisiert.
Es wird empfohlen, die OSD-Einstellungen auf die Standardwerte zurückzusetzen.</translation>
    </message>
    <message>
        <source>Reset OSD Setting</source>
        <translation>OSD zurücksetzen</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>OSD Settings Reset</source>
        <translation>OSD-Einstellungen zurückgesetzt</translation>
    </message>
    <message>
        <source>Your monitor OSD Settings has been reset successfully.</source>
        <translation>Die OSD-Einstellungen Ihres Monitors wurden erfolgreich zurückgesetzt.</translation>
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
        <translation>LM Series USB-Firmware-Updater</translation>
    </message>
    <message>
        <source>EXIT (&amp;X)</source>
        <translation>ENDE (&amp;X)</translation>
    </message>
    <message>
        <source>Allow Monitor use older firmware.</source>
        <translation>Ältere Firmware zulassen.</translation>
    </message>
    <message>
        <source>Model Name</source>
        <translation>Modellname</translation>
    </message>
    <message>
        <source>Current Firmware</source>
        <translation>Aktuelle Firmware</translation>
    </message>
    <message>
        <source>New Firmware</source>
        <translation>Neue Firmware</translation>
    </message>
    <message>
        <source>CheckSum</source>
        <translation>Prüfsumme</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>NV_Panelup is already running!</source>
        <translation>NV_Panelup läuft bereits!</translation>
    </message>
    <message>
        <source>Only one instance can be run at a time!</source>
        <translation>Es kann immer nur eine Instanz ausgeführt werden!</translation>
    </message>
    <message>
        <source>Other programs may change this copy&apos;s folder: install Panelup with the MSI.</source>
        <translation>Andere Programme können den Ordner dieser Kopie ändern: Installieren Sie Panelup mit dem MSI-Paket.</translation>
    </message>
</context>
</TS>
