<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>HubConnection</name>
    <message>
        <source>Fatal Error</source>
        <translation>严重错误</translation>
    </message>
    <message>
        <source>Cannot found the Tarvex USB Hub driver installed!</source>
        <translation>未找到已安装的 Tarvex USB 集线器驱动程序！</translation>
    </message>
    <message>
        <source>Set Hub Speed failed!!!</source>
        <translation>设置集线器速度失败！！！</translation>
    </message>
    <message>
        <source>The detection of USB Hub is not configured correctly. Please ensure the monitor is powered on and connected properly. Please also close and restart the application, then unplug &amp; replug the USB cable to retry again. </source>
        <translation>未正确检测到 USB 集线器。请确认显示器已开机并已正确连接。请关闭并重新启动应用程序，然后拔下并重新插入 USB 电缆后重试。 </translation>
    </message>
</context>
<context>
    <name>Panelup</name>
    <message>
        <source>LM Series USB Firmware Update Tool v</source>
        <translation>LM Series USB 固件更新工具 v</translation>
    </message>
    <message>
        <source>Can&apos;t update FW on this monitor</source>
        <translation>无法更新此显示器的固件</translation>
    </message>
    <message>
        <source>The firmware update is not supported currently on this monitor.</source>
        <translation>目前不支持在此显示器上更新固件。</translation>
    </message>
    <message>
        <source>Confirm to download new version </source>
        <translation>确认下载新版本 </translation>
    </message>
    <message>
        <source>A new version is available.&lt;br&gt;Do you want to download the lastest firmware?</source>
        <translation>有新版本可用。&lt;br&gt;是否下载最新固件？</translation>
    </message>
    <message>
        <source>The scalar firmware file is either not found or corrupted,&lt;br/&gt; please download correct file from&lt;br/&gt; </source>
        <translation>未找到缩放器固件文件或文件已损坏，&lt;br/&gt; 请从以下地址下载正确的文件：&lt;br/&gt; </translation>
    </message>
    <message>
        <source>The Hub firmware file is either not found or corrupted,&lt;br/&gt; please download correct file from&lt;br/&gt; </source>
        <translation>未找到集线器固件文件或文件已损坏，&lt;br/&gt; 请从以下地址下载正确的文件：&lt;br/&gt; </translation>
    </message>
    <message>
        <source>File checksum is not correct</source>
        <translation>文件校验和不正确</translation>
    </message>
    <message>
        <source>The new firmware version is found.&lt;br&gt;Do you want to download the lastest firmware?</source>
        <translation>发现新的固件版本。&lt;br&gt;是否下载最新固件？</translation>
    </message>
    <message>
        <source>Firmware download failed</source>
        <translation>固件下载失败</translation>
    </message>
    <message>
        <source>The download of %1 failed.&lt;br&gt;The firmware already in place was kept. Please try again later.</source>
        <translation>%1 下载失败。&lt;br&gt;已保留现有固件。请稍后重试。</translation>
    </message>
    <message>
        <source>Update firmware warning</source>
        <translation>固件更新警告</translation>
    </message>
    <message>
        <source>WARNING!&lt;br&gt;DOES NOT support firmware updates via USB Type-C port. Suggest to connect to HDMI / DP port or USB Type-B port for updates.</source>
        <translation>警告！&lt;br&gt;不支持通过 USB Type-C 端口更新固件。建议连接 HDMI / DP 端口或 USB Type-B 端口进行更新。</translation>
    </message>
    <message>
        <source>Can&apos;t update FW on multiple monitors</source>
        <translation>无法在多台显示器上更新固件</translation>
    </message>
    <message>
        <source>The firmware update on multiple monitors is not supported currently.&lt;br&gt;Please disconnect other USB cables from the monitor before updating firmware.</source>
        <translation>目前不支持在多台显示器上更新固件。&lt;br&gt;更新固件前，请断开显示器上的其他 USB 电缆。</translation>
    </message>
    <message>
        <source>The firmware could not be stored: %1.</source>
        <translation>无法保存固件：%1。</translation>
    </message>
    <message>
        <source>LM Series logo</source>
        <translation>LM Series 标志</translation>
    </message>
    <message>
        <source>Update progress</source>
        <translation>更新进度</translation>
    </message>
    <message>
        <source>Progress of the firmware update</source>
        <translation>固件更新进度</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>Allows the update to write firmware older than the monitor&apos;s</source>
        <translation>允许更新写入比显示器当前固件更旧的固件</translation>
    </message>
    <message>
        <source>Writes the new firmware to the monitor</source>
        <translation>将新固件写入显示器</translation>
    </message>
    <message>
        <source>Closes the program</source>
        <translation>关闭程序</translation>
    </message>
    <message>
        <source>Monitor FW : &lt;b&gt;</source>
        <translation>显示器固件 : &lt;b&gt;</translation>
    </message>
    <message>
        <source>Hub FW : &lt;b&gt;</source>
        <translation>集线器固件 : &lt;b&gt;</translation>
    </message>
    <message>
        <source>Please click update button to update new firmware!</source>
        <translation>请点击“更新”按钮更新到新固件！</translation>
    </message>
    <message>
        <source>Firmware file is not detected .</source>
        <translation>未检测到固件文件。</translation>
    </message>
    <message>
        <source>Please click &quot;update&quot; to update your firmware.</source>
        <translation>请点击“更新”以更新固件。</translation>
    </message>
    <message>
        <source>&lt;img width=20 height=20 src=&quot;:/Panelup/question_mark&quot;&gt; Your current firmware version is already the latest version, you don&apos;t need to update.</source>
        <translation>&lt;img width=20 height=20 src=&quot;:/Panelup/question_mark&quot;&gt; 您当前的固件已是最新版本，无需更新。</translation>
    </message>
    <message>
        <source>title</source>
        <translation>标题</translation>
    </message>
    <message>
        <source>open error!</source>
        <translation>打开错误！</translation>
    </message>
    <message>
        <source>The update process may take several minutes. Please do not remove the USB cable connection or turn off the monitor&apos;s power while updating.</source>
        <translation>更新过程可能需要几分钟。更新期间请勿拔下 USB 电缆或关闭显示器电源。</translation>
    </message>
    <message>
        <source>The detection of USB Hub is not configured correctly, please close the application and retry again, then unplug &amp; replug the USB cable to try again.</source>
        <translation>未正确检测到 USB 集线器。请关闭应用程序，拔下并重新插入 USB 电缆后重试。</translation>
    </message>
    <message>
        <source>The firmware file is missing or damaged. Please close and restart the application so that it can download it again.</source>
        <translation>固件文件缺失或已损坏。请关闭并重新启动应用程序，以便重新下载该文件。</translation>
    </message>
    <message>
        <source>Are you sure you want to downgrade your firmware to the old version?</source>
        <translation>确定要将固件降级到旧版本吗？</translation>
    </message>
    <message>
        <source>Are you sure you want to update your firmware to the latest version?</source>
        <translation>确定要将固件更新到最新版本吗？</translation>
    </message>
    <message>
        <source>Confirm to update firmware</source>
        <translation>确认更新固件</translation>
    </message>
    <message>
        <source>Fatal Error</source>
        <translation>严重错误</translation>
    </message>
    <message>
        <source>Cannot found the Tarvex USB Hub driver installed!</source>
        <translation>未找到已安装的 Tarvex USB 集线器驱动程序！</translation>
    </message>
    <message>
        <source>The firmware file %1 was not found.</source>
        <translation>未找到固件文件 %1。</translation>
    </message>
    <message>
        <source>The firmware file %1 is empty.</source>
        <translation>固件文件 %1 为空。</translation>
    </message>
    <message>
        <source>The firmware file %1 does not match its recorded checksum.</source>
        <translation>固件文件 %1 与记录的校验和不符。</translation>
    </message>
    <message>
        <source>Update Firmware Failed</source>
        <translation>固件更新失败</translation>
    </message>
    <message>
        <source>Nothing was written to your monitor. Please close and restart the application so that it can download a correct copy.</source>
        <translation>未向显示器写入任何内容。请关闭并重新启动应用程序，以便下载正确的副本。</translation>
    </message>
    <message>
        <source>Update Hub FW Failed</source>
        <translation>集线器固件更新失败</translation>
    </message>
    <message>
        <source>Monitor Hub Firmware update failed , please close the application and retry again !</source>
        <translation>显示器集线器固件更新失败，请关闭应用程序后重试！</translation>
    </message>
    <message>
        <source>Update Failed ! Model infomation is not correct !</source>
        <translation>更新失败！型号信息不正确！</translation>
    </message>
    <message>
        <source>Update Scalar FW Failed</source>
        <translation>缩放器固件更新失败</translation>
    </message>
    <message>
        <source>Monitor Scalar Firmware update failed, please close the application and retry again !</source>
        <translation>显示器缩放器固件更新失败，请关闭应用程序后重试！</translation>
    </message>
    <message>
        <source>Update Firmware</source>
        <translation>固件更新</translation>
    </message>
    <message>
        <source>Your monitor firmware was updated successfully.
Suggest to reset OSD setting to default.</source>
        <translation>显示器固件已成功更新。
建议将 OSD 设置恢复为默认值。</translation>
    </message>
    <message>
        <source>Reset OSD Setting</source>
        <translation>重置 OSD 设置</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>OSD Settings Reset</source>
        <translation>OSD 设置已重置</translation>
    </message>
    <message>
        <source>Your monitor OSD Settings has been reset successfully.</source>
        <translation>显示器 OSD 设置已成功重置。</translation>
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
        <translation>LM Series USB 固件更新工具</translation>
    </message>
    <message>
        <source>EXIT (&amp;X)</source>
        <translation>退出(&amp;X)</translation>
    </message>
    <message>
        <source>Allow Monitor use older firmware.</source>
        <translation>允许使用旧版固件。</translation>
    </message>
    <message>
        <source>Model Name</source>
        <translation>型号名称</translation>
    </message>
    <message>
        <source>Current Firmware</source>
        <translation>当前固件</translation>
    </message>
    <message>
        <source>New Firmware</source>
        <translation>新固件</translation>
    </message>
    <message>
        <source>CheckSum</source>
        <translation>校验和</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>更新</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>信息</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>NV_Panelup is already running!</source>
        <translation>NV_Panelup 已在运行！</translation>
    </message>
    <message>
        <source>Only one instance can be run at a time!</source>
        <translation>一次只能运行一个实例！</translation>
    </message>
    <message>
        <source>Other programs may change this copy&apos;s folder: install Panelup with the MSI.</source>
        <translation>其他程序可能会更改此副本所在的文件夹：请使用 MSI 安装 Panelup。</translation>
    </message>
</context>
</TS>
