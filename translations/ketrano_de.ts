<?xml version='1.0' encoding='utf-8'?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ErrorsForm</name>
    <message>
        <source>Errors</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>Failure</name>
    <message>
        <source>Skipped a damaged record</source>
        <translation>Ein beschädigter Datensatz wurde übersprungen</translation>
    </message>
    <message>
        <source>Another run of the profile is in progress</source>
        <translation>Ein anderer Lauf des Profils ist im Gange</translation>
    </message>
    <message>
        <source>Scan: cannot read folder:</source>
        <translation>Prüfen: Ordner kann nicht gelesen werden:</translation>
    </message>
    <message>
        <source>Scan: cannot read file:</source>
        <translation>Prüfen: Datei kann nicht gelesen werden:</translation>
    </message>
    <message>
        <source>The folder is not an absolute path</source>
        <translation>Der Ordner ist kein absoluter Pfad</translation>
    </message>
    <message>
        <source>The folder does not exist</source>
        <translation>Der Ordner existiert nicht</translation>
    </message>
    <message>
        <source>The folder is not on its usual disk: is the disk mounted?</source>
        <translation>Der Ordner liegt nicht auf seinem gewohnten Datenträger: Ist der Datenträger eingehängt?</translation>
    </message>
    <message>
        <source>A folder of that name is in the way</source>
        <translation>Ein Ordner dieses Namens steht im Weg</translation>
    </message>
    <message>
        <source>The folder is no longer on the disk it was on at the scan: is the disk mounted?</source>
        <translation>Der Ordner liegt nicht mehr auf dem Datenträger, auf dem er beim Prüfen lag: Ist der Datenträger eingehängt?</translation>
    </message>
    <message>
        <source>Reading the source failed:</source>
        <translation>Lesen der Quelle fehlgeschlagen:</translation>
    </message>
    <message>
        <source>The source is not a regular file</source>
        <translation>Die Quelle ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>The source changed while it was copied</source>
        <translation>Die Quelle hat sich beim Kopieren geändert</translation>
    </message>
    <message>
        <source>Creating the destination folder failed:</source>
        <translation>Anlegen des Zielordners fehlgeschlagen:</translation>
    </message>
    <message>
        <source>Opening the destination folder failed:</source>
        <translation>Öffnen des Zielordners fehlgeschlagen:</translation>
    </message>
    <message>
        <source>A file of that name is in the way</source>
        <translation>Eine Datei dieses Namens steht im Weg</translation>
    </message>
    <message>
        <source>Checking the destination failed:</source>
        <translation>Prüfen des Ziels fehlgeschlagen:</translation>
    </message>
    <message>
        <source>The destination changed after the scan</source>
        <translation>Das Ziel hat sich nach dem Prüfen geändert</translation>
    </message>
    <message>
        <source>The destination was deleted after the scan</source>
        <translation>Das Ziel wurde nach dem Prüfen gelöscht</translation>
    </message>
    <message>
        <source>The destination was created after the scan</source>
        <translation>Das Ziel wurde nach dem Prüfen angelegt</translation>
    </message>
    <message>
        <source>The destination is read-only</source>
        <translation>Das Ziel ist schreibgeschützt</translation>
    </message>
    <message>
        <source>The destination folder does not tell letter case apart</source>
        <translation>Der Zielordner unterscheidet keine Groß- und Kleinschreibung</translation>
    </message>
    <message>
        <source>Writing the destination failed:</source>
        <translation>Schreiben des Ziels fehlgeschlagen:</translation>
    </message>
    <message>
        <source>Replacing the destination failed:</source>
        <translation>Ersetzen des Ziels fehlgeschlagen:</translation>
    </message>
    <message>
        <source>Creating the destination failed:</source>
        <translation>Anlegen des Ziels fehlgeschlagen:</translation>
    </message>
    <message>
        <source>Keeping the replaced file as a version failed:</source>
        <translation>Aufbewahren der ersetzten Datei als Version fehlgeschlagen:</translation>
    </message>
    <message>
        <source>Stopped</source>
        <translation>Angehalten</translation>
    </message>
    <message>
        <source>Writing the copies to disk failed:</source>
        <translation>Schreiben der Kopien auf den Datenträger fehlgeschlagen:</translation>
    </message>
</context>
<context>
    <name>ListCommand</name>
    <message>
        <source>Open File</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>Delete File</source>
        <translation>Datei löschen</translation>
    </message>
    <message>
        <source>Delete Checked Files  </source>
        <translation>Markierte Dateien löschen  </translation>
    </message>
    <message>
        <source>Delete UnChecked Files</source>
        <translation>Nicht markierte Dateien löschen</translation>
    </message>
    <message>
        <source>Check / UnCheck File</source>
        <translation>Datei markieren / Markierung aufheben</translation>
    </message>
    <message>
        <source>Show Versions</source>
        <translation>Versionen anzeigen</translation>
    </message>
    <message>
        <source>Check All Files</source>
        <translation>Alle Dateien markieren</translation>
    </message>
    <message>
        <source>UnCheck All Files</source>
        <translation>Alle Markierungen aufheben</translation>
    </message>
    <message>
        <source>Invert Checking of All Files</source>
        <translation>Markierung aller Dateien umkehren</translation>
    </message>
</context>
<context>
    <name>Profile</name>
    <message>
        <source>The profile file name "%1" gives the shortcut no name.</source>
        <translation>Der Profildateiname „%1“ ergibt keinen Namen für die Verknüpfung.</translation>
    </message>
    <message>
        <source>The desktop folder "%1" cannot be created.</source>
        <translation>Der Schreibtischordner „%1“ kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Save the profile to a file first: the shortcut starts the program with a saved profile file.</source>
        <translation>Speichern Sie das Profil zuerst in einer Datei: Die Verknüpfung startet das Programm mit einer gespeicherten Profildatei.</translation>
    </message>
    <message>
        <source>Shortcut Created on Desktop</source>
        <translation>Verknüpfung auf dem Schreibtisch angelegt</translation>
    </message>
    <message>
        <source>The shortcut could not be created on the desktop: %1</source>
        <translation>Die Verknüpfung konnte nicht auf dem Schreibtisch angelegt werden: %1</translation>
    </message>
    <message>
        <source>Profiles(*.prf)</source>
        <translation>Profile(*.prf)</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>Profile has changed, Do you want to save?</source>
        <translation>Das Profil wurde geändert. Möchten Sie es speichern?</translation>
    </message>
    <message>
        <source>Ketrano Backup   [New Profile]</source>
        <translation>Ketrano Backup   [Neues Profil]</translation>
    </message>
    <message>
        <source>Open File Name</source>
        <translation>Profildatei öffnen</translation>
    </message>
    <message>
        <source>Save to File Name</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>The profile could not be saved to %1:
%2</source>
        <translation>Das Profil konnte nicht in %1 gespeichert werden:
%2</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Quelle</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Ziel</translation>
    </message>
    <message>
        <source>Include</source>
        <translation>Einschließen</translation>
    </message>
    <message>
        <source>Exclude</source>
        <translation>Ausschließen</translation>
    </message>
    <message>
        <source>Skipped %1</source>
        <translation>Übersprungen: %1</translation>
    </message>
    <message>
        <source>Ketrano Backup [%1]</source>
        <translation>Ketrano Backup [%1]</translation>
    </message>
    <message>
        <source>its %1 holds a control character</source>
        <translation>sein Feld %1 enthält ein Steuerzeichen</translation>
    </message>
    <message>
        <source>the file ends in a partial record of %1 bytes</source>
        <translation>die Datei endet mit einem unvollständigen Datensatz von %1 Bytes</translation>
    </message>
    <message>
        <source>record %1 of %2: %3</source>
        <translation>Datensatz %1 von %2: %3</translation>
    </message>
</context>
<context>
    <name>Results</name>
    <message>
        <source>File Name</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Quelle</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Ziel</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Permenantly Delete [%1] from  [%2]</source>
        <translation>[%1] in  [%2] endgültig löschen</translation>
    </message>
    <message>
        <source>Permenantly Delete All Checked Files From Disk</source>
        <translation>Alle markierten Dateien endgültig vom Datenträger löschen</translation>
    </message>
    <message>
        <source>Permenantly Delete All UnChecked Files From Disk</source>
        <translation>Alle nicht markierten Dateien endgültig vom Datenträger löschen</translation>
    </message>
    <message>
        <source>New File</source>
        <translation>Neue Datei</translation>
    </message>
    <message>
        <source>OverWrite</source>
        <translation>Überschreiben</translation>
    </message>
</context>
<context>
    <name>Scan</name>
    <message>
        <source>The folder %1 is not an absolute path</source>
        <translation>Der Ordner %1 ist kein absoluter Pfad</translation>
    </message>
    <message>
        <source>The folder %1 does not exist</source>
        <translation>Der Ordner %1 existiert nicht</translation>
    </message>
    <message>
        <source>Scan: cannot read folder %1: %2</source>
        <translation>Prüfen: Ordner %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Scan: cannot read file %1: %2</source>
        <translation>Prüfen: Datei %1 kann nicht gelesen werden: %2</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>The settings could not be saved: </source>
        <translation>Die Einstellungen konnten nicht gespeichert werden: </translation>
    </message>
    <message>
        <source>The settings could not be saved: %1 days is not 0 to %2</source>
        <translation>Die Einstellungen konnten nicht gespeichert werden: %1 Tage liegt nicht zwischen 0 und %2</translation>
    </message>
</context>
<context>
    <name>SrcTgtForm</name>
    <message>
        <source>Source and Target Folders</source>
        <translation>Quell- und Zielordner</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Durchsuchen</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Pick the Source folder</source>
        <translation>Den Quellordner wählen</translation>
    </message>
    <message>
        <source>Pick the Target folder</source>
        <translation>Den Zielordner wählen</translation>
    </message>
    <message>
        <source>Include every extension</source>
        <translation>Jede Endung einschließen</translation>
    </message>
    <message>
        <source>Exclude no extension</source>
        <translation>Keine Endung ausschließen</translation>
    </message>
    <message>
        <source>Type Source and Target Folders or Browse to get them</source>
        <translation>Quell- und Zielordner eingeben oder mit Durchsuchen wählen</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Quelle</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Ziel</translation>
    </message>
    <message>
        <source>Type Included and Excludes extentions seperated by comma eg.:  doc,xls,ppt</source>
        <translation>Ein- und auszuschließende Endungen durch Komma getrennt eingeben, z. B.:  doc,xls,ppt</translation>
    </message>
    <message>
        <source>Include</source>
        <translation>Einschließen</translation>
    </message>
    <message>
        <source>Exclude</source>
        <translation>Ausschließen</translation>
    </message>
    <message>
        <source>Error in Excluded Extentions</source>
        <translation>Fehler in den ausgeschlossenen Endungen</translation>
    </message>
</context>
<context>
    <name>Sync</name>
    <message>
        <source>The destination folder does not tell letter case apart: it holds %1 already</source>
        <translation>Der Zielordner unterscheidet keine Groß- und Kleinschreibung: Er enthält bereits %1</translation>
    </message>
    <message>
        <source>The folder %1 does not exist. Create it and copy %2 into it?</source>
        <translation>Der Ordner %1 existiert nicht. Anlegen und %2 hineinkopieren?</translation>
    </message>
    <message>
        <source>Removing old versions in %1 failed: %2</source>
        <translation>Entfernen alter Versionen in %1 fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>1 file</source>
        <translation>1 Datei</translation>
    </message>
    <message>
        <source>%1 files</source>
        <translation>%1 Dateien</translation>
    </message>
    <message>
        <source>The folder %1 does not exist (an unattended run does not create it): %2</source>
        <translation>Der Ordner %1 existiert nicht (ein unbeaufsichtigter Lauf legt ihn nicht an): %2</translation>
    </message>
    <message>
        <source>The folder %1 does not exist: %2</source>
        <translation>Der Ordner %1 existiert nicht: %2</translation>
    </message>
    <message>
        <source>1 file was not copied</source>
        <translation>1 Datei wurde nicht kopiert</translation>
    </message>
    <message>
        <source>%1 files were not copied</source>
        <translation>%1 Dateien wurden nicht kopiert</translation>
    </message>
</context>
</TS>