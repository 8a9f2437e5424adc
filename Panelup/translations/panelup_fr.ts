<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>HubConnection</name>
    <message>
        <source>Fatal Error</source>
        <translation>Erreur fatale</translation>
    </message>
    <message>
        <source>Cannot found the Tarvex USB Hub driver installed!</source>
        <translation>Le pilote du hub USB Tarvex est introuvable !</translation>
    </message>
    <message>
        <source>Set Hub Speed failed!!!</source>
        <translation>Échec du réglage de la vitesse du hub !!!</translation>
    </message>
    <message>
        <source>The detection of USB Hub is not configured correctly. Please ensure the monitor is powered on and connected properly. Please also close and restart the application, then unplug &amp; replug the USB cable to retry again. </source>
        <translation>Le hub USB n&apos;est pas détecté correctement. Vérifiez que le moniteur est allumé et correctement branché. Fermez et redémarrez l&apos;application, puis débranchez et rebranchez le câble USB pour réessayer. </translation>
    </message>
</context>
<context>
    <name>Panelup</name>
    <message>
        <source>LM Series USB Firmware Update Tool v</source>
        <translation>Mise à jour USB du firmware LM Series v</translation>
    </message>
    <message>
        <source>Can&apos;t update FW on this monitor</source>
        <translation>Impossible de mettre à jour le firmware de ce moniteur</translation>
    </message>
    <message>
        <source>The firmware update is not supported currently on this monitor.</source>
        <translation>La mise à jour du firmware n&apos;est actuellement pas prise en charge sur ce moniteur.</translation>
    </message>
    <message>
        <source>Confirm to download new version </source>
        <translation>Confirmer le téléchargement de la nouvelle version </translation>
    </message>
    <message>
        <source>A new version is available.&lt;br&gt;Do you want to download the lastest firmware?</source>
        <translation>Une nouvelle version est disponible.&lt;br&gt;Voulez-vous télécharger le firmware le plus récent ?</translation>
    </message>
    <message>
        <source>The scalar firmware file is either not found or corrupted,&lt;br/&gt; please download correct file from&lt;br/&gt; </source>
        <translation>Le fichier du firmware du scaler est introuvable ou endommagé,&lt;br/&gt; veuillez télécharger le bon fichier depuis&lt;br/&gt; </translation>
    </message>
    <message>
        <source>The Hub firmware file is either not found or corrupted,&lt;br/&gt; please download correct file from&lt;br/&gt; </source>
        <translation>Le fichier du firmware du hub est introuvable ou endommagé,&lt;br/&gt; veuillez télécharger le bon fichier depuis&lt;br/&gt; </translation>
    </message>
    <message>
        <source>File checksum is not correct</source>
        <translation>La somme de contrôle du fichier est incorrecte</translation>
    </message>
    <message>
        <source>The new firmware version is found.&lt;br&gt;Do you want to download the lastest firmware?</source>
        <translation>Une nouvelle version du firmware a été trouvée.&lt;br&gt;Voulez-vous télécharger le firmware le plus récent ?</translation>
    </message>
    <message>
        <source>Firmware download failed</source>
        <translation>Échec du téléchargement du firmware</translation>
    </message>
    <message>
        <source>The download of %1 failed.&lt;br&gt;The firmware already in place was kept. Please try again later.</source>
        <translation>Le téléchargement de %1 a échoué.&lt;br&gt;Le firmware déjà en place a été conservé. Veuillez réessayer plus tard.</translation>
    </message>
    <message>
        <source>Update firmware warning</source>
        <translation>Avertissement de mise à jour du firmware</translation>
    </message>
    <message>
        <source>WARNING!&lt;br&gt;DOES NOT support firmware updates via USB Type-C port. Suggest to connect to HDMI / DP port or USB Type-B port for updates.</source>
        <translation>AVERTISSEMENT !&lt;br&gt;Les mises à jour du firmware via le port USB Type-C ne sont PAS prises en charge. Pour les mises à jour, utilisez le port HDMI / DP ou le port USB Type-B.</translation>
    </message>
    <message>
        <source>Can&apos;t update FW on multiple monitors</source>
        <translation>Impossible de mettre à jour le firmware de plusieurs moniteurs</translation>
    </message>
    <message>
        <source>The firmware update on multiple monitors is not supported currently.&lt;br&gt;Please disconnect other USB cables from the monitor before updating firmware.</source>
        <translation>La mise à jour du firmware de plusieurs moniteurs n&apos;est actuellement pas prise en charge.&lt;br&gt;Débranchez les autres câbles USB du moniteur avant de mettre à jour le firmware.</translation>
    </message>
    <message>
        <source>The firmware could not be stored: %1.</source>
        <translation>Le firmware n&apos;a pas pu être enregistré : %1.</translation>
    </message>
    <message>
        <source>LM Series logo</source>
        <translation>Logo LM Series</translation>
    </message>
    <message>
        <source>Update progress</source>
        <translation>Progression de la mise à jour</translation>
    </message>
    <message>
        <source>Progress of the firmware update</source>
        <translation>Progression de la mise à jour du firmware</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>État</translation>
    </message>
    <message>
        <source>Allows the update to write firmware older than the monitor&apos;s</source>
        <translation>Autorise la mise à jour à écrire un firmware plus ancien que celui du moniteur</translation>
    </message>
    <message>
        <source>Writes the new firmware to the monitor</source>
        <translation>Écrit le nouveau firmware sur le moniteur</translation>
    </message>
    <message>
        <source>Closes the program</source>
        <translation>Ferme le programme</translation>
    </message>
    <message>
        <source>Monitor FW : &lt;b&gt;</source>
        <translation>FW moniteur : &lt;b&gt;</translation>
    </message>
    <message>
        <source>Hub FW : &lt;b&gt;</source>
        <translation>FW hub : &lt;b&gt;</translation>
    </message>
    <message>
        <source>Please click update button to update new firmware!</source>
        <translation>Cliquez sur « Mettre à jour » pour installer le nouveau firmware !</translation>
    </message>
    <message>
        <source>Firmware file is not detected .</source>
        <translation>Fichier de firmware introuvable.</translation>
    </message>
    <message>
        <source>Please click &quot;update&quot; to update your firmware.</source>
        <translation>Cliquez sur « Mettre à jour » pour mettre à jour votre firmware.</translation>
    </message>
    <message>
        <source>&lt;img width=20 height=20 src=&quot;:/Panelup/question_mark&quot;&gt; Your current firmware version is already the latest version, you don&apos;t need to update.</source>
        <translation>&lt;img width=20 height=20 src=&quot;:/Panelup/question_mark&quot;&gt; Votre firmware est déjà à la dernière version, aucune mise à jour n&apos;est nécessaire.</translation>
    </message>
    <message>
        <source>title</source>
        <translation>Titre</translation>
    </message>
    <message>
        <source>open error!</source>
        <translation>Erreur d&apos;ouverture !</translation>
    </message>
    <message>
        <source>The update process may take several minutes. Please do not remove the USB cable connection or turn off the monitor&apos;s power while updating.</source>
        <translation>La mise à jour peut prendre plusieurs minutes. Ne débranchez pas le câble USB et n&apos;éteignez pas le moniteur pendant la mise à jour.</translation>
    </message>
    <message>
        <source>The detection of USB Hub is not configured correctly, please close the application and retry again, then unplug &amp; replug the USB cable to try again.</source>
        <translation>Le hub USB n&apos;est pas détecté correctement. Fermez l&apos;application, débranchez et rebranchez le câble USB, puis réessayez.</translation>
    </message>
    <message>
        <source>The firmware file is missing or damaged. Please close and restart the application so that it can download it again.</source>
        <translation>Le fichier du firmware est manquant ou endommagé. Fermez et redémarrez l&apos;application pour qu&apos;elle puisse le télécharger à nouveau.</translation>
    </message>
    <message>
        <source>Are you sure you want to downgrade your firmware to the old version?</source>
        <translation>Voulez-vous vraiment rétrograder votre firmware vers l&apos;ancienne version ?</translation>
    </message>
    <message>
        <source>Are you sure you want to update your firmware to the latest version?</source>
        <translation>Voulez-vous vraiment mettre à jour votre firmware vers la dernière version ?</translation>
    </message>
    <message>
        <source>Confirm to update firmware</source>
        <translation>Confirmer la mise à jour du firmware</translation>
    </message>
    <message>
        <source>Fatal Error</source>
        <translation>Erreur fatale</translation>
    </message>
    <message>
        <source>Cannot found the Tarvex USB Hub driver installed!</source>
        <translation>Le pilote du hub USB Tarvex est introuvable !</translation>
    </message>
    <message>
        <source>The firmware file %1 was not found.</source>
        <translation>Le fichier de firmware %1 est introuvable.</translation>
    </message>
    <message>
        <source>The firmware file %1 is empty.</source>
        <translation>Le fichier de firmware %1 est vide.</translation>
    </message>
    <message>
        <source>The firmware file %1 does not match its recorded checksum.</source>
        <translation>Le fichier de firmware %1 ne correspond pas à sa somme de contrôle enregistrée.</translation>
    </message>
    <message>
        <source>Update Firmware Failed</source>
        <translation>Échec de la mise à jour du firmware</translation>
    </message>
    <message>
        <source>Nothing was written to your monitor. Please close and restart the application so that it can download a correct copy.</source>
        <translation>Rien n&apos;a été écrit sur votre moniteur. Fermez et redémarrez l&apos;application pour qu&apos;elle puisse télécharger une copie correcte.</translation>
    </message>
    <message>
        <source>Update Hub FW Failed</source>
        <translation>Échec de la mise à jour du FW du hub</translation>
    </message>
    <message>
        <source>Monitor Hub Firmware update failed , please close the application and retry again !</source>
        <translation>Échec de la mise à jour du firmware du hub du moniteur. Fermez l&apos;application et réessayez !</translation>
    </message>
    <message>
        <source>Update Failed ! Model infomation is not correct !</source>
        <translation>Échec de la mise à jour ! Les informations sur le modèle sont incorrectes !</translation>
    </message>
    <message>
        <source>Update Scalar FW Failed</source>
        <translation>Échec de la mise à jour du FW du scaler</translation>
    </message>
    <message>
        <source>Monitor Scalar Firmware update failed, please close the application and retry again !</source>
        <translation>Échec de la mise à jour du firmware du scaler du moniteur. Fermez l&apos;application et réessayez !</translation>
    </message>
    <message>
        <source>Update Firmware</source>
        <translation>Mise à jour du firmware</translation>
    </message>
    <message>
        <source>Your monitor firmware was updated successfully.
Suggest to reset OSD setting to default.</source>
        <translation>Le firmware de votre moniteur a été mis à jour.
Il est conseillé de rétablir les réglages OSD par défaut.</translation>
    </message>
    <message>
        <source>Reset OSD Setting</source>
        <translation>Réinitialiser l&apos;OSD</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>OSD Settings Reset</source>
        <translation>Réglages OSD réinitialisés</translation>
    </message>
    <message>
        <source>Your monitor OSD Settings has been reset successfully.</source>
        <translation>Les réglages OSD de votre moniteur ont été réinitialisés.</translation>
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
        <translation>Mise à jour USB du firmware LM Series</translation>
    </message>
    <message>
        <source>EXIT (&amp;X)</source>
        <translation>QUITTER (&amp;X)</translation>
    </message>
    <message>
        <source>Allow Monitor use older firmware.</source>
        <translation>Autoriser un firmware plus ancien.</translation>
    </message>
    <message>
        <source>Model Name</source>
        <translation>Nom du modèle</translation>
    </message>
    <message>
        <source>Current Firmware</source>
        <translation>Firmware actuel</translation>
    </message>
    <message>
        <source>New Firmware</source>
        <translation>Nouveau firmware</translation>
    </message>
    <message>
        <source>CheckSum</source>
        <translation>Somme de contrôle</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Mettre à jour</translation>
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
        <translation>NV_Panelup est déjà en cours d&apos;exécution !</translation>
    </message>
    <message>
        <source>Only one instance can be run at a time!</source>
        <translation>Une seule instance peut être exécutée à la fois !</translation>
    </message>
    <message>
        <source>Other programs may change this copy&apos;s folder: install Panelup with the MSI.</source>
        <translation>D&apos;autres programmes peuvent modifier le dossier de cette copie : installez Panelup avec le MSI.</translation>
    </message>
</context>
</TS>
