<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>DesktopNotice</name>
    <message>
        <source>Canceled: </source>
        <translation>Abgebrochen: </translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Anzeigen</translation>
    </message>
</context>
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
    <message>
        <source>The folder cannot be checked to be on its usual disk</source>
        <translation>Es lässt sich nicht prüfen, ob der Ordner auf seinem gewohnten Datenträger liegt</translation>
    </message>
    <message>
        <source>The destination folder leads out of its root through a symbolic link</source>
        <translation>Der Zielordner führt über eine symbolische Verknüpfung aus seinem Stammordner hinaus</translation>
    </message>
    <message>
        <source>Remembering the disks of the roots failed:</source>
        <translation>Merken der Datenträger der Stammordner fehlgeschlagen:</translation>
    </message>
</context>
<context>
    <name>FileIconModel</name>
    <message>
        <source>checked</source>
        <translation>markiert</translation>
    </message>
    <message>
        <source>not checked</source>
        <translation>nicht markiert</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Ketrano Backup Help</source>
        <translation>Hilfe zu Ketrano Backup</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Handbuch</translation>
    </message>
    <message>
        <source>The manual was not found in %1.</source>
        <translation>Das Handbuch wurde in %1 nicht gefunden.</translation>
    </message>
    <message>
        <source>About Ketrano Backup</source>
        <translation>Über Ketrano Backup</translation>
    </message>
    <message>
        <source>Ketrano Backup ver %1</source>
        <translation>Ketrano Backup Version %1</translation>
    </message>
    <message>
        <source>Keeps pairs of folders in step.</source>
        <translation>Hält Ordnerpaare auf gleichem Stand.</translation>
    </message>
    <message>
        <source>Licensed under the GNU General Public License, version 3 or later.</source>
        <translation>Lizenziert unter der GNU General Public License, Version 3 oder später.</translation>
    </message>
</context>
<context>
    <name>KeepVersionsDialog</name>
    <message>
        <source>Versions of Replaced Files</source>
        <translation>Versionen ersetzter Dateien</translation>
    </message>
    <message>
        <source>A file that Synchronize replaces is kept as a version in the folder .ketrano-versions of its side&apos;s root. 0 keeps none.</source>
        <translation>Eine Datei, die Abgleichen ersetzt, wird als Version im Ordner .ketrano-versions im Stammordner ihrer Seite aufbewahrt. 0 bewahrt keine auf.</translation>
    </message>
    <message>
        <source>&amp;Keep versions for:</source>
        <translation>Versionen &amp;aufbewahren für:</translation>
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
    <name>MainForm</name>
    <message>
        <source>Ketrano Backup</source>
        <translation>Ketrano Backup</translation>
    </message>
    <message>
        <source>Main Toolbar</source>
        <translation>Hauptwerkzeugleiste</translation>
    </message>
    <message>
        <source>&amp;New Profile</source>
        <translation>&amp;Neues Profil</translation>
    </message>
    <message>
        <source>Start New Profile</source>
        <translation>Ein neues Profil beginnen</translation>
    </message>
    <message>
        <source>&amp;Open Profile</source>
        <translation>Profil ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Open a Saved Profile</source>
        <translation>Ein gespeichertes Profil öffnen</translation>
    </message>
    <message>
        <source>Sa&amp;ve Profile</source>
        <translation>Profil &amp;speichern</translation>
    </message>
    <message>
        <source>Save /Save as the current Profile</source>
        <translation>Das aktuelle Profil speichern / speichern unter</translation>
    </message>
    <message>
        <source>S&amp;can</source>
        <translation>&amp;Prüfen</translation>
    </message>
    <message>
        <source>Scan Source and Target Directories for Diffrent Files</source>
        <translation>Quell- und Zielordner nach unterschiedlichen Dateien durchsuchen</translation>
    </message>
    <message>
        <source>&amp;Synchronize</source>
        <translation>&amp;Abgleichen</translation>
    </message>
    <message>
        <source>Synchronize Source and Target Directories</source>
        <translation>Quell- und Zielordner abgleichen</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>More Buttons</source>
        <translation>Weitere Schaltflächen</translation>
    </message>
    <message>
        <source>Second Toolbar</source>
        <translation>Zweite Werkzeugleiste</translation>
    </message>
    <message>
        <source>Show Icons </source>
        <translation>Symbole zeigen </translation>
    </message>
    <message>
        <source>Display icons of files</source>
        <translation>Symbole der Dateien anzeigen</translation>
    </message>
    <message>
        <source> Copy  Source</source>
        <translation> Quelle  kopieren</translation>
    </message>
    <message>
        <source>Copy Files from Source to Trget directories</source>
        <translation>Dateien aus den Quell- in die Zielordner kopieren</translation>
    </message>
    <message>
        <source> Copy  Target  </source>
        <translation> Ziel  kopieren  </translation>
    </message>
    <message>
        <source>Copy Files from Target  to Source directories</source>
        <translation>Dateien aus den Ziel- in die Quellordner kopieren</translation>
    </message>
    <message>
        <source> Show  Errors  !</source>
        <translation> Fehler  zeigen  !</translation>
    </message>
    <message>
        <source>Show Errors of Last Synchronization</source>
        <translation>Fehler des letzten Abgleichs anzeigen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Run Log</source>
        <translation>Laufprotokoll</translation>
    </message>
    <message>
        <source>Show the last runs of the run log</source>
        <translation>Die letzten Läufe aus dem Laufprotokoll anzeigen</translation>
    </message>
    <message>
        <source>Profile Entry Toolbar</source>
        <translation>Werkzeugleiste der Profileinträge</translation>
    </message>
    <message>
        <source>New Profile Entry</source>
        <translation>Neuer Profileintrag</translation>
    </message>
    <message>
        <source>Edit Profile Entry</source>
        <translation>Profileintrag bearbeiten</translation>
    </message>
    <message>
        <source>Delete Profile Entry</source>
        <translation>Profileintrag löschen</translation>
    </message>
    <message>
        <source>Create ShortCut</source>
        <translation>Verknüpfung anlegen</translation>
    </message>
    <message>
        <source>Source Files</source>
        <translation>Quelldateien</translation>
    </message>
    <message>
        <source>Target Files</source>
        <translation>Zieldateien</translation>
    </message>
    <message>
        <source>Profile Entries</source>
        <translation>Profileinträge</translation>
    </message>
    <message>
        <source>Between the result lists and Profile Entries</source>
        <translation>Zwischen den Ergebnislisten und den Profileinträgen</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>Pick a Folder</source>
        <translation>Einen Ordner wählen</translation>
    </message>
    <message>
        <source>Stopping…</source>
        <translation>Wird angehalten…</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>Scanning</source>
        <translation>Prüfe</translation>
    </message>
    <message>
        <source>Files found: %1 in the source folders, %2 in the target folders</source>
        <translation>Gefundene Dateien: %1 in den Quellordnern, %2 in den Zielordnern</translation>
    </message>
    <message>
        <source>Stopped after %1 of %2</source>
        <translation>Angehalten nach %1 von %2</translation>
    </message>
    <message>
        <source>%1 copied</source>
        <translation>%1 kopiert</translation>
    </message>
    <message>
        <source>1 file was changed on both sides since the last synchronization: the older one is kept as a version</source>
        <translation>1 Datei wurde seit dem letzten Abgleich auf beiden Seiten geändert: Die ältere wird als Version aufbewahrt</translation>
    </message>
    <message>
        <source>%1 files were changed on both sides since the last synchronization: the older ones are kept as versions</source>
        <translation>%1 Dateien wurden seit dem letzten Abgleich auf beiden Seiten geändert: Die älteren werden als Versionen aufbewahrt</translation>
    </message>
</context>
<context>
    <name>NoticeBar</name>
    <message>
        <source>Show &amp;Errors</source>
        <translation>&amp;Fehler zeigen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>Profile</name>
    <message>
        <source>The profile file name &quot;%1&quot; gives the shortcut no name.</source>
        <translation>Der Profildateiname „%1“ ergibt keinen Namen für die Verknüpfung.</translation>
    </message>
    <message>
        <source>The desktop folder &quot;%1&quot; cannot be created.</source>
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
    <name>ResultListModel</name>
    <message>
        <source>Copied</source>
        <translation>Kopiert</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Fehlgeschlagen</translation>
    </message>
    <message>
        <source>Not copied</source>
        <translation>Nicht kopiert</translation>
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
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Last Modified</source>
        <translation>Zuletzt geändert</translation>
    </message>
    <message>
        <source>Changed on both sides since the last synchronization: the older one is kept as a version</source>
        <translation>Seit dem letzten Abgleich auf beiden Seiten geändert: Die ältere wird als Version aufbewahrt</translation>
    </message>
    <message>
        <source>size(KB)</source>
        <translation>Größe(KB)</translation>
    </message>
</context>
<context>
    <name>RunLogWindow</name>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Some copies failed</source>
        <translation>Einige Kopien sind fehlgeschlagen</translation>
    </message>
    <message>
        <source>Unusable input</source>
        <translation>Unbrauchbare Eingabe</translation>
    </message>
    <message>
        <source>Another run held the profile</source>
        <translation>Ein anderer Lauf hielt das Profil</translation>
    </message>
    <message>
        <source>Stopped</source>
        <translation>Angehalten</translation>
    </message>
    <message>
        <source>Ended with status %1</source>
        <translation>Mit Status %1 beendet</translation>
    </message>
    <message>
        <source>Run Log</source>
        <translation>Laufprotokoll</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>Begonnen</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Programm</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Profil</translation>
    </message>
    <message>
        <source>Source to Target</source>
        <translation>Quelle nach Ziel</translation>
    </message>
    <message>
        <source>Target to Source</source>
        <translation>Ziel nach Quelle</translation>
    </message>
    <message>
        <source>Files copied</source>
        <translation>Kopierte Dateien</translation>
    </message>
    <message>
        <source>KB copied</source>
        <translation>KB kopiert</translation>
    </message>
    <message>
        <source>Errors</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>The run log cannot be read: %1</source>
        <translation>Das Laufprotokoll kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>No synchronization has run yet. The run log is %1.</source>
        <translation>Es ist noch kein Abgleich gelaufen. Das Laufprotokoll ist %1.</translation>
    </message>
    <message>
        <source>The last runs, newest first, from %1.</source>
        <translation>Die letzten Läufe, die neuesten zuerst, aus %1.</translation>
    </message>
    <message>
        <source>on</source>
        <translation>ein</translation>
    </message>
    <message>
        <source>off</source>
        <translation>aus</translation>
    </message>
</context>
<context>
    <name>RunProgress</name>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 min %2 s</source>
        <translation>%1 min %2 s</translation>
    </message>
    <message>
        <source>%1 h %2 min</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <source>%1/s</source>
        <translation>%1/s</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>noch %1</translation>
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
    <message>
        <source>%1 is not on its usual disk: is the disk mounted?</source>
        <translation>%1 liegt nicht auf seinem gewohnten Datenträger: Ist der Datenträger eingehängt?</translation>
    </message>
    <message>
        <source>%1 cannot be checked to be on its usual disk: its disk cannot be remembered in %2: %3</source>
        <translation>Es lässt sich nicht prüfen, ob %1 auf seinem gewohnten Datenträger liegt: Sein Datenträger kann nicht in %2 gemerkt werden: %3</translation>
    </message>
    <message>
        <source>

Scan it all the same?</source>
        <translation>

Trotzdem prüfen?</translation>
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
    <name>Status</name>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>Scanning</source>
        <translation>Prüfe</translation>
    </message>
    <message>
        <source>Comparing</source>
        <translation>Vergleiche</translation>
    </message>
    <message>
        <source>Canceled</source>
        <translation>Abgebrochen</translation>
    </message>
    <message>
        <source>Ready  </source>
        <translation>Bereit  </translation>
    </message>
    <message>
        <source>Source Files: </source>
        <translation>Quelldateien: </translation>
    </message>
    <message>
        <source>Source Size: %1KB</source>
        <translation>Quellgröße: %1KB</translation>
    </message>
    <message>
        <source>Target Files: </source>
        <translation>Zieldateien: </translation>
    </message>
    <message>
        <source>Target Size: %1KB</source>
        <translation>Zielgröße: %1KB</translation>
    </message>
    <message>
        <source>Copying</source>
        <translation>Kopiere</translation>
    </message>
    <message>
        <source>From source to Target</source>
        <translation>Von Quelle nach Ziel</translation>
    </message>
    <message>
        <source>From Target to Source</source>
        <translation>Von Ziel nach Quelle</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>%1 KB Copied</source>
        <translation>%1 KB kopiert</translation>
    </message>
    <message>
        <source>Errors : %1</source>
        <translation>Fehler : %1</translation>
    </message>
    <message>
        <source>Canceled </source>
        <translation>Abgebrochen </translation>
    </message>
    <message>
        <source>  Files copied</source>
        <translation>  Dateien kopiert</translation>
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
    <message>
        <source>The folder %1 does not exist, and made now it would not be on its usual disk: is the disk mounted?</source>
        <translation>Der Ordner %1 existiert nicht und läge, jetzt angelegt, nicht auf seinem gewohnten Datenträger: Ist der Datenträger eingehängt?</translation>
    </message>
    <message>
        <source>Remembering the disks of the roots in %1 failed</source>
        <translation>Merken der Datenträger der Stammordner in %1 fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>VersionsWindow</name>
    <message>
        <source>Versions of %1</source>
        <translation>Versionen von %1</translation>
    </message>
    <message>
        <source>Kept versions of %1:</source>
        <translation>Aufbewahrte Versionen von %1:</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Lauf</translation>
    </message>
    <message>
        <source>Last Modified</source>
        <translation>Zuletzt geändert</translation>
    </message>
    <message>
        <source>size(KB)</source>
        <translation>Größe(KB)</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Restoring the version failed: %1</source>
        <translation>Wiederherstellen der Version fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>The version of %1 is back in place; the file it replaced is kept as a version.</source>
        <translation>Die Version von %1 ist wieder an ihrem Platz; die Datei, die sie ersetzt hat, wird als Version aufbewahrt.</translation>
    </message>
</context>
</TS>
