<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>HubConnection</name>
    <message>
        <source>Fatal Error</source>
        <translation>Error grave</translation>
    </message>
    <message>
        <source>Cannot found the Tarvex USB Hub driver installed!</source>
        <translation>¡No se encontró el controlador del hub USB de Tarvex instalado!</translation>
    </message>
    <message>
        <source>Set Hub Speed failed!!!</source>
        <translation>¡¡¡Error al establecer la velocidad del hub!!!</translation>
    </message>
    <message>
        <source>The detection of USB Hub is not configured correctly. Please ensure the monitor is powered on and connected properly. Please also close and restart the application, then unplug &amp; replug the USB cable to retry again. </source>
        <translation>El hub USB no se detecta correctamente. Asegúrese de que el monitor esté encendido y bien conectado. Cierre y vuelva a abrir la aplicación; después desconecte y vuelva a conectar el cable USB para intentarlo de nuevo. </translation>
    </message>
</context>
<context>
    <name>Panelup</name>
    <message>
        <source>LM Series USB Firmware Update Tool v</source>
        <translation>Actualizar firmware USB de LM Series v</translation>
    </message>
    <message>
        <source>Can&apos;t update FW on this monitor</source>
        <translation>No se puede actualizar el firmware de este monitor</translation>
    </message>
    <message>
        <source>The firmware update is not supported currently on this monitor.</source>
        <translation>Actualmente no se admite la actualización de firmware en este monitor.</translation>
    </message>
    <message>
        <source>Confirm to download new version </source>
        <translation>Confirmar la descarga de la nueva versión </translation>
    </message>
    <message>
        <source>A new version is available.&lt;br&gt;Do you want to download the lastest firmware?</source>
        <translation>Hay una nueva versión disponible.&lt;br&gt;¿Desea descargar el firmware más reciente?</translation>
    </message>
    <message>
        <source>The scalar firmware file is either not found or corrupted,&lt;br/&gt; please download correct file from&lt;br/&gt; </source>
        <translation>El archivo de firmware del escalador no se encuentra o está dañado,&lt;br/&gt; descargue el archivo correcto desde&lt;br/&gt; </translation>
    </message>
    <message>
        <source>The Hub firmware file is either not found or corrupted,&lt;br/&gt; please download correct file from&lt;br/&gt; </source>
        <translation>El archivo de firmware del hub no se encuentra o está dañado,&lt;br/&gt; descargue el archivo correcto desde&lt;br/&gt; </translation>
    </message>
    <message>
        <source>File checksum is not correct</source>
        <translation>La suma de control del archivo no es correcta</translation>
    </message>
    <message>
        <source>The new firmware version is found.&lt;br&gt;Do you want to download the lastest firmware?</source>
        <translation>Se encontró una nueva versión del firmware.&lt;br&gt;¿Desea descargar el firmware más reciente?</translation>
    </message>
    <message>
        <source>Firmware download failed</source>
        <translation>Error en la descarga del firmware</translation>
    </message>
    <message>
        <source>The download of %1 failed.&lt;br&gt;The firmware already in place was kept. Please try again later.</source>
        <translation>La descarga de %1 ha fallado.&lt;br&gt;Se ha conservado el firmware existente. Vuelva a intentarlo más tarde.</translation>
    </message>
    <message>
        <source>Update firmware warning</source>
        <translation>Advertencia de actualización de firmware</translation>
    </message>
    <message>
        <source>WARNING!&lt;br&gt;DOES NOT support firmware updates via USB Type-C port. Suggest to connect to HDMI / DP port or USB Type-B port for updates.</source>
        <translation>¡ADVERTENCIA!&lt;br&gt;NO se admiten actualizaciones de firmware a través del puerto USB Type-C. Para actualizar, conecte el monitor al puerto HDMI / DP o al puerto USB Type-B.</translation>
    </message>
    <message>
        <source>Can&apos;t update FW on multiple monitors</source>
        <translation>No se puede actualizar el firmware de varios monitores</translation>
    </message>
    <message>
        <source>The firmware update on multiple monitors is not supported currently.&lt;br&gt;Please disconnect other USB cables from the monitor before updating firmware.</source>
        <translation>Actualmente no se admite la actualización de firmware en varios monitores.&lt;br&gt;Desconecte los demás cables USB del monitor antes de actualizar el firmware.</translation>
    </message>
    <message>
        <source>The firmware could not be stored: %1.</source>
        <translation>No se pudo guardar el firmware: %1.</translation>
    </message>
    <message>
        <source>LM Series logo</source>
        <translation>Logotipo de LM Series</translation>
    </message>
    <message>
        <source>Update progress</source>
        <translation>Progreso de la actualización</translation>
    </message>
    <message>
        <source>Progress of the firmware update</source>
        <translation>Progreso de la actualización del firmware</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Estado</translation>
    </message>
    <message>
        <source>Allows the update to write firmware older than the monitor&apos;s</source>
        <translation>Permite que la actualización escriba un firmware más antiguo que el del monitor</translation>
    </message>
    <message>
        <source>Writes the new firmware to the monitor</source>
        <translation>Escribe el nuevo firmware en el monitor</translation>
    </message>
    <message>
        <source>Closes the program</source>
        <translation>Cierra el programa</translation>
    </message>
    <message>
        <source>Monitor FW : &lt;b&gt;</source>
        <translation>FW del monitor : &lt;b&gt;</translation>
    </message>
    <message>
        <source>Hub FW : &lt;b&gt;</source>
        <translation>FW del hub : &lt;b&gt;</translation>
    </message>
    <message>
        <source>Please click update button to update new firmware!</source>
        <translation>¡Haga clic en «Actualizar» para instalar el nuevo firmware!</translation>
    </message>
    <message>
        <source>Firmware file is not detected .</source>
        <translation>No se detecta el archivo de firmware.</translation>
    </message>
    <message>
        <source>Please click &quot;update&quot; to update your firmware.</source>
        <translation>Haga clic en «Actualizar» para actualizar el firmware.</translation>
    </message>
    <message>
        <source>&lt;img width=20 height=20 src=&quot;:/Panelup/question_mark&quot;&gt; Your current firmware version is already the latest version, you don&apos;t need to update.</source>
        <translation>&lt;img width=20 height=20 src=&quot;:/Panelup/question_mark&quot;&gt; Su firmware ya tiene la versión más reciente; no es necesario actualizarlo.</translation>
    </message>
    <message>
        <source>title</source>
        <translation>Título</translation>
    </message>
    <message>
        <source>open error!</source>
        <translation>¡Error al abrir!</translation>
    </message>
    <message>
        <source>The update process may take several minutes. Please do not remove the USB cable connection or turn off the monitor&apos;s power while updating.</source>
        <translation>La actualización puede tardar varios minutos. No desconecte el cable USB ni apague el monitor durante la actualización.</translation>
    </message>
    <message>
        <source>The detection of USB Hub is not configured correctly, please close the application and retry again, then unplug &amp; replug the USB cable to try again.</source>
        <translation>El hub USB no se detecta correctamente. Cierre la aplicación, desconecte y vuelva a conectar el cable USB e inténtelo de nuevo.</translation>
    </message>
    <message>
        <source>The firmware file is missing or damaged. Please close and restart the application so that it can download it again.</source>
        <translation>El archivo de firmware falta o está dañado. Cierre y vuelva a abrir la aplicación para que pueda descargarlo de nuevo.</translation>
    </message>
    <message>
        <source>Are you sure you want to downgrade your firmware to the old version?</source>
        <translation>¿Seguro que desea volver a la versión anterior del firmware?</translation>
    </message>
    <message>
        <source>Are you sure you want to update your firmware to the latest version?</source>
        <translation>¿Seguro que desea actualizar el firmware a la versión más reciente?</translation>
    </message>
    <message>
        <source>Confirm to update firmware</source>
        <translation>Confirmar la actualización del firmware</translation>
    </message>
    <message>
        <source>Fatal Error</source>
        <translation>Error grave</translation>
    </message>
    <message>
        <source>Cannot found the Tarvex USB Hub driver installed!</source>
        <translation>¡No se encontró el controlador del hub USB de Tarvex instalado!</translation>
    </message>
    <message>
        <source>The firmware file %1 was not found.</source>
        <translation>No se encontró el archivo de firmware %1.</translation>
    </message>
    <message>
        <source>The firmware file %1 is empty.</source>
        <translation>El archivo de firmware %1 está vacío.</translation>
    </message>
    <message>
        <source>The firmware file %1 does not match its recorded checksum.</source>
        <translation>El archivo de firmware %1 no coincide con su suma de control registrada.</translation>
    </message>
    <message>
        <source>Update Firmware Failed</source>
        <translation>Error al actualizar el firmware</translation>
    </message>
    <message>
        <source>Nothing was written to your monitor. Please close and restart the application so that it can download a correct copy.</source>
        <translation>No se ha escrito nada en el monitor. Cierre y vuelva a abrir la aplicación para que pueda descargar una copia correcta.</translation>
    </message>
    <message>
        <source>Update Hub FW Failed</source>
        <translation>Error al actualizar el FW del hub</translation>
    </message>
    <message>
        <source>Monitor Hub Firmware update failed , please close the application and retry again !</source>
        <translation>Error al actualizar el firmware del hub del monitor. ¡Cierre la aplicación y vuelva a intentarlo!</translation>
    </message>
    <message>
        <source>Update Failed ! Model infomation is not correct !</source>
        <translation>¡Error en la actualización! ¡La información del modelo no es correcta!</translation>
    </message>
    <message>
        <source>Update Scalar FW Failed</source>
        <translation>Error al actualizar el FW del escalador</translation>
    </message>
    <message>
        <source>Monitor Scalar Firmware update failed, please close the application and retry again !</source>
        <translation>Error al actualizar el firmware del escalador del monitor. ¡Cierre la aplicación y vuelva a intentarlo!</translation>
    </message>
    <message>
        <source>Update Firmware</source>
        <translation>Actualización de firmware</translation>
    </message>
    <message>
        <source>Your monitor firmware was updated successfully.
Suggest to reset OSD setting to default.</source>
        <translation>El firmware del monitor se ha actualizado correctamente.
Se recomienda restablecer los ajustes OSD a los valores predeterminados.</translation>
    </message>
    <message>
        <source>Reset OSD Setting</source>
        <translation>Restablecer OSD</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>OSD Settings Reset</source>
        <translation>Ajustes OSD restablecidos</translation>
    </message>
    <message>
        <source>Your monitor OSD Settings has been reset successfully.</source>
        <translation>Los ajustes OSD del monitor se han restablecido correctamente.</translation>
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
        <translation>Actualizar firmware USB de LM Series</translation>
    </message>
    <message>
        <source>EXIT (&amp;X)</source>
        <translation>SALIR (&amp;X)</translation>
    </message>
    <message>
        <source>Allow Monitor use older firmware.</source>
        <translation>Permitir firmware más antiguo.</translation>
    </message>
    <message>
        <source>Model Name</source>
        <translation>Modelo</translation>
    </message>
    <message>
        <source>Current Firmware</source>
        <translation>Firmware actual</translation>
    </message>
    <message>
        <source>New Firmware</source>
        <translation>Firmware nuevo</translation>
    </message>
    <message>
        <source>CheckSum</source>
        <translation>Suma de control</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Actualizar</translation>
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
        <translation>¡NV_Panelup ya se está ejecutando!</translation>
    </message>
    <message>
        <source>Only one instance can be run at a time!</source>
        <translation>¡Solo se puede ejecutar una instancia a la vez!</translation>
    </message>
    <message>
        <source>Other programs may change this copy&apos;s folder: install Panelup with the MSI.</source>
        <translation>Otros programas pueden modificar la carpeta de esta copia: instale Panelup con el MSI.</translation>
    </message>
</context>
</TS>
