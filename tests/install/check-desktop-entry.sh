#!/usr/bin/env bash
# Checks a .desktop file against the freedesktop Desktop Entry rules (version 1.5) and the registered menu
# categories, as far as desktop-file-validate would: syntax, groups, keys, value types, required keys.
# Prints one line per fault and exits 1 if there is any. Usage: check-desktop-entry.sh FILE
set -euo pipefail
file=$1
iconv -f UTF-8 -t UTF-8 "$file" >/dev/null 2>&1 || { echo "$file: not UTF-8"; exit 1; }

LC_ALL=C awk -v file="$file" '
function fault(msg) { printf "%s:%d: %s\n", file, NR, msg; faults++ }
function entry_fault(msg) { printf "%s: %s\n", file, msg; faults++ }
function set_of(list, arr,   n, i, parts) { n = split(list, parts, " "); for (i = 1; i <= n; i++) arr[parts[i]] = 1 }
BEGIN {
  set_of("Type Version Name GenericName NoDisplay Comment Icon Hidden OnlyShowIn NotShowIn DBusActivatable " \
         "TryExec Exec Path Terminal Actions MimeType Categories Implements Keywords StartupNotify " \
         "StartupWMClass URL PrefersNonDefaultGPU SingleMainWindow", known)
  set_of("NoDisplay Hidden DBusActivatable Terminal StartupNotify PrefersNonDefaultGPU SingleMainWindow", boolean)
  set_of("Name GenericName Comment Icon Keywords", localised)
  set_of("OnlyShowIn NotShowIn Actions MimeType Categories Implements Keywords", listed)
  set_of("AudioVideo Audio Video Development Education Game Graphics Network Office Science Settings System Utility", main)
  set_of("Building Debugger IDE GUIDesigner Profiling RevisionControl Translation Calendar ContactManagement " \
         "Database Dictionary Chart Email Finance FlowChart PDA ProjectManagement Presentation Spreadsheet " \
         "WordProcessor 2DGraphics VectorGraphics RasterGraphics 3DGraphics Scanning OCR Photography Publishing " \
         "Viewer TextTools DesktopSettings HardwareSettings Printing PackageManager Dialup InstantMessaging Chat " \
         "IRCClient Feed FileTransfer HamRadio News P2P RemoteAccess Telephony TelephonyTools VideoConference " \
         "WebBrowser WebDevelopment Midi Mixer Sequencer Tuner TV AudioVideoEditing Player Recorder DiscBurning " \
         "ActionGame AdventureGame ArcadeGame BoardGame BlocksGame CardGame KidsGame LogicGame RolePlaying " \
         "Shooter Simulation SportsGame StrategyGame Art Construction Music Languages ArtificialIntelligence " \
         "Astronomy Biology Chemistry ComputerScience DataVisualization Economy Electricity Geography Geology " \
         "Geoscience History Humanities ImageProcessing Literature Maps Math NumericalAnalysis MedicalSoftware " \
         "Physics Robotics Spirituality Sports ParallelComputing Amusement Archiving Compression Electronics " \
         "Emulator Engineering FileTools FileManager TerminalEmulator Filesystem Monitor Security Accessibility " \
         "Calculator Clock TextEditor Documentation Adult Core KDE GNOME XFCE DDE GTK Qt Motif Java ConsoleOnly", additional)
  set_of("Screensaver TrayIcon Applet Shell", reserved)
  group = ""
}
/^[ \t]*$/ || /^#/ { next }
/^\[/ {
  if ($0 !~ /^\[[\x20-\x5a\x5c\x5e-\x7e]+\]$/) { fault("malformed group header: " $0); next }
  group = substr($0, 2, length($0) - 2)
  if (group in groups) fault("duplicate group [" group "]")
  groups[group] = 1
  if (!first_group) { first_group = group; if (group != "Desktop Entry") fault("the first group is [" group "], not [Desktop Entry]") }
  next
}
{
  if (group == "") { fault("entry before the first group header"); next }
  eq = index($0, "=")
  if (eq == 0) { fault("not a key=value line: " $0); next }
  key = substr($0, 1, eq - 1); value = substr($0, eq + 1)
  sub(/[ \t]+$/, "", key); sub(/^[ \t]+/, "", value)
  if (key !~ /^[A-Za-z0-9-]+(\[[^]]*\])?$/) { fault("malformed key \"" key "\""); next }
  if ((group, key) in seen) fault("duplicate key " key)
  seen[group, key] = 1
  if (value ~ /[\x00-\x08\x0b-\x1f\x7f]/) fault(key ": control character in the value")
  if (group != "Desktop Entry") next

  base = key; locale = ""
  if (match(key, /\[/)) { base = substr(key, 1, RSTART - 1); locale = substr(key, RSTART + 1, length(key) - RSTART - 1) }
  if (!(base in known) && base !~ /^X-/) fault("unknown key " base)
  if (locale != "") {
    if (!(base in localised) && base !~ /^X-/) fault(base " cannot be localised")
    if (locale !~ /^[a-z][a-z][a-z]?(_[A-Z][A-Z])?(\.[A-Za-z0-9-]+)?(@[A-Za-z0-9]+)?$/) fault("malformed locale [" locale "]")
    next
  }
  entry[base] = value
  if (base in boolean && value != "true" && value != "false") fault(base " is not a boolean: " value)
  if (!(base in localised) && value ~ /[\x80-\xff]/) fault(base " is a string and must be ASCII")
  if (base in listed && value !~ /;$/) fault(base " does not end in a semicolon")
}
END {
  if (!first_group) { entry_fault("no [Desktop Entry] group"); exit 1 }
  type = ("Type" in entry) ? entry["Type"] : ""
  if (type == "") entry_fault("missing key Type")
  else if (type != "Application" && type != "Link" && type != "Directory") entry_fault("unknown Type " type)
  if (!("Name" in entry)) entry_fault("missing key Name")
  if (type == "Application" && !("Exec" in entry) && !("DBusActivatable" in entry && entry["DBusActivatable"] == "true")) entry_fault("an Application needs Exec")
  if (type == "Link" && !("URL" in entry)) entry_fault("a Link needs URL")
  if ("Version" in entry && entry["Version"] !~ /^1\.[0-5]$/) entry_fault("unknown Version " entry["Version"])
  if ("Exec" in entry) {
    exec = entry["Exec"]; gsub(/%[fFuUickdDnNvm%]/, "", exec)
    if (exec ~ /%/) entry_fault("Exec has an unknown field code: " entry["Exec"])
  }
  if ("Icon" in entry && entry["Icon"] !~ /^\// && entry["Icon"] ~ /\.(png|svg|svgz|xpm)$/) entry_fault("Icon names a theme icon with an extension")
  if ("Categories" in entry) {
    n = split(entry["Categories"], cats, ";"); has_main = 0; has_additional = 0
    for (i = 1; i <= n; i++) {
      c = cats[i]; if (c == "") continue
      if (c in main) has_main = 1
      else if (c in additional) has_additional = 1
      else if (c in reserved) { if (!("OnlyShowIn" in entry)) entry_fault("reserved category " c " without OnlyShowIn") }
      else if (c !~ /^X-/) entry_fault("unregistered category " c)
      if (c in count) entry_fault("category " c " twice")
      count[c] = 1
    }
    if (has_additional && !has_main) entry_fault("additional categories without a main category")
  }
  exit faults > 0
}' "$file"
