#!/bin/sh
# Lays out links for windows_download_folder where the Windows API under
# Wine cannot make them (Wine shows a Unix symbolic link as a reparse point),
# then starts the test: PlantLinks.sh <folder> <command...>
set -eu
folder=$1
shift
rm -rf "$folder"
mkdir -p "$folder/elsewhere" "$folder/top" "$folder/entry/AutoUpdate"
printf victim > "$folder/elsewhere/victim.bin"
printf left > "$folder/elsewhere/left.bin"
ln -s ../elsewhere "$folder/top/AutoUpdate"
ln -s ../../elsewhere "$folder/entry/AutoUpdate/Scalar"
# The temporary folder's files: a trace log that is a link to a victim, in a
# folder and in a folder reached through a link, and a hard link.
mkdir -p "$folder/logs" "$folder/tempreal" "$folder/hard"
ln -s ../elsewhere/victim.bin "$folder/logs/Panelup_log.txt"
ln -s ../elsewhere/victim.bin "$folder/tempreal/Panelup_log.txt"
ln -s tempreal "$folder/templink"
ln "$folder/elsewhere/left.bin" "$folder/hard/Panelup_log.txt"
exec "$@"
