<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AboutDialog</name>
    <message>
        <source>(%1 bit)Compiled: %2</source>
        <translation>(%1 Bit) Kompiliert: %2</translation>
    </message>
    <message>
        <source>About Quavermill</source>
        <translation>Über Quavermill</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>The Quavermill badge</source>
        <translation>Das Quavermill-Emblem</translation>
    </message>
    <message>
        <source>Note : To Decode an mp3 file, just drop them, there is no switch.</source>
        <translation>Hinweis: Um MP3-Dateien zu dekodieren, ziehen Sie sie einfach hierher – ein Umschalten ist nicht nötig.</translation>
    </message>
</context>
<context>
    <name>DialogButtons</name>
    <message>
        <source>Accept</source>
        <translation>Übernehmen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>EncodingOptionsDialog</name>
    <message>
        <source>High</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>Schnell</translation>
    </message>
    <message>
        <source>Approx. Bitrate %1 kbps</source>
        <translation>Ca. %1 kbit/s</translation>
    </message>
    <message>
        <source>CBR encoding will use a bitrate of %1 kbps. L.A.M.E. will automatically resample input, where necessary, for low bitrates.</source>
        <translation>Die CBR-Kodierung verwendet eine Bitrate von %1 kbit/s. Bei niedrigen Bitraten tastet L.A.M.E. die Eingabe bei Bedarf automatisch neu ab.</translation>
    </message>
    <message>
        <source>Quavermill Encoding Options</source>
        <translation>Quavermill – Kodierungsoptionen</translation>
    </message>
    <message>
        <source>Encoding Options</source>
        <translation>Kodierungsoptionen</translation>
    </message>
    <message>
        <source>Quality</source>
        <translation>Qualität</translation>
    </message>
    <message>
        <source>Bitrate</source>
        <translation>Bitrate</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Ziel</translation>
    </message>
    <message>
        <source>VBR quality</source>
        <translation>VBR-Qualität</translation>
    </message>
    <message>
        <source>Approximate bitrate</source>
        <translation>Ungefähre Bitrate</translation>
    </message>
    <message>
        <source>VBR Quality - V</source>
        <translation>VBR-Qualität – V</translation>
    </message>
    <message>
        <source>&lt;------ Lower ----------- Quality/Bitrate ----------- Higher ------&gt;</source>
        <translation>&lt;------ Niedriger ----------- Qualität/Bitrate ----------- Höher ------&gt;</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Enter Target Bitrate:</source>
        <translation>Ziel-Bitrate:</translation>
    </message>
    <message>
        <source>Restrict encoder to Constant Bitrate (CBR)</source>
        <translation>Kodierer auf konstante Bitrate (CBR) beschränken</translation>
    </message>
    <message>
        <source>Mono Encoding</source>
        <translation>Mono-Kodierung</translation>
    </message>
    <message>
        <source>Encoding Engine Quality:</source>
        <translation>Qualität des Kodierers:</translation>
    </message>
    <message>
        <source>Use ogg/FLAC Title Gain Tag to Scale input automatically</source>
        <translation>Eingabe automatisch mit der Titel-Verstärkung (ogg/FLAC-Tag) skalieren</translation>
    </message>
    <message>
        <source>Use ogg/FLAC Album Gain Tag to Scale input automatically</source>
        <translation>Eingabe automatisch mit der Album-Verstärkung (ogg/FLAC-Tag) skalieren</translation>
    </message>
    <message>
        <source>Checking one of these boxes automatically selects to Copy oggvorbis/FLAC Tags</source>
        <translation>Wenn Sie eines dieser Felder ankreuzen, werden auch die ogg/FLAC-Tags übernommen</translation>
    </message>
    <message>
        <source>Input Scaling</source>
        <translation>Eingangspegel</translation>
    </message>
    <message>
        <source>Left: smaller files, lower quality. Right: larger files, higher quality.</source>
        <translation>Links: kleinere Dateien, geringere Qualität. Rechts: größere Dateien, höhere Qualität.</translation>
    </message>
    <message>
        <source>Average bitrate in kbit/s, from 8 to 320</source>
        <translation>Durchschnittliche Bitrate in kbit/s, von 8 bis 320</translation>
    </message>
</context>
<context>
    <name>FailureNotice</name>
    <message numerus="yes">
        <source>%n file(s) failed to convert</source>
        <translation>
            <numerusform>%n Datei konnte nicht umgewandelt werden</numerusform>
            <numerusform>%n Dateien konnten nicht umgewandelt werden</numerusform>
        </translation>
    </message>
    <message>
        <source>The errors are in %1</source>
        <translation>Die Fehler stehen in %1</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>No audio files to convert in the folder
%1</source>
        <translation>Keine umwandelbaren Audiodateien im Ordner
%1</translation>
    </message>
    <message>
        <source>Can&apos;t read the folder
%1
%2</source>
        <translation>Der Ordner kann nicht gelesen werden
%1
%2</translation>
    </message>
    <message>
        <source>Audio files (%1)</source>
        <translation>Audiodateien (%1)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Convert Files</source>
        <translation>Dateien umwandeln</translation>
    </message>
    <message>
        <source>Convert Folder</source>
        <translation>Ordner umwandeln</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Current file</source>
        <translation>Aktuelle Datei</translation>
    </message>
    <message>
        <source>All files</source>
        <translation>Alle Dateien</translation>
    </message>
    <message>
        <source>Convert &amp;Files...</source>
        <translation>&amp;Dateien umwandeln...</translation>
    </message>
    <message>
        <source>Convert F&amp;older...</source>
        <translation>&amp;Ordner umwandeln...</translation>
    </message>
    <message>
        <source>&amp;Encoding Options</source>
        <translation>&amp;Kodierungsoptionen</translation>
    </message>
    <message>
        <source>&amp;Output Directory</source>
        <translation>&amp;Zielordner</translation>
    </message>
    <message>
        <source>&amp;Tagging Setup</source>
        <translation>&amp;Tag-Einstellungen</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber Quavermill</translation>
    </message>
    <message>
        <source>A&amp;UTO Tagging</source>
        <translation>A&amp;UTO-Tagging</translation>
    </message>
    <message>
        <source>&amp;Delete Input file</source>
        <translation>Eingabedatei &amp;löschen</translation>
    </message>
    <message>
        <source>Al&amp;ways on Top</source>
        <translation>Immer im &amp;Vordergrund</translation>
    </message>
    <message>
        <source>Errors to &amp;Log file</source>
        <translation>Fehler in &amp;Protokolldatei</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>B&amp;eenden</translation>
    </message>
    <message>
        <source>converting %1 of %2</source>
        <translation>wandelt %1 von %2 um</translation>
    </message>
    <message>
        <source>idle</source>
        <translation>bereit</translation>
    </message>
    <message>
        <source>Quavermill: %1</source>
        <translation>Quavermill: %1</translation>
    </message>
    <message>
        <source>Drop audio files here to convert them, or press Ctrl+O to choose them; %1.</source>
        <translation>Audiodateien hierher ziehen, um sie umzuwandeln, oder mit Strg+O auswählen; %1.</translation>
    </message>
    <message>
        <source>The settings in %1 were not read and will not be saved: %2.
The default settings are used.</source>
        <translation>Die Einstellungen in %1 wurden nicht gelesen und werden nicht gespeichert: %2.
Es gelten die Standardeinstellungen.</translation>
    </message>
</context>
<context>
    <name>OutputDirectoryDialog</name>
    <message>
        <source>Output Directory Options</source>
        <translation>Zielordner-Optionen</translation>
    </message>
    <message>
        <source>This folder&apos;s path holds a line break or another control character, which Quavermill cannot keep in its settings file.

Choose another folder, or rename this one first.</source>
        <translation>Der Pfad dieses Ordners enthält einen Zeilenumbruch oder ein anderes Steuerzeichen, das Quavermill nicht in seiner Einstellungsdatei speichern kann.

Wählen Sie einen anderen Ordner oder benennen Sie diesen zuerst um.</translation>
    </message>
    <message>
        <source>This folder&apos;s path is too long to be kept as the default output directory: with the trailing &apos;/&apos; it takes %1 bytes, and Quavermill reads back at most %2 when it starts again.

Choose a folder with a shorter path, or use this one for this session only.</source>
        <translation>Der Pfad dieses Ordners ist zu lang, um als Standard-Zielordner gespeichert zu werden: Mit dem abschließenden „/“ umfasst er %1 Bytes, Quavermill liest beim nächsten Start aber höchstens %2 ein.

Wählen Sie einen Ordner mit kürzerem Pfad oder verwenden Sie diesen nur für diese Sitzung.</translation>
    </message>
    <message>
        <source>Select Output Directory</source>
        <translation>Zielordner auswählen</translation>
    </message>
    <message>
        <source>Select a directory for output:</source>
        <translation>Ordner für die Ausgabe wählen:</translation>
    </message>
    <message>
        <source>Same as Input Directory</source>
        <translation>Wie der Eingabeordner</translation>
    </message>
    <message>
        <source>STANDARD DEFAULT</source>
        <translation>STANDARD</translation>
    </message>
    <message>
        <source>Set Other Output Directory</source>
        <translation>Anderen Zielordner festlegen</translation>
    </message>
    <message>
        <source>THIS SESSION ONLY</source>
        <translation>NUR FÜR DIESE SITZUNG</translation>
    </message>
    <message>
        <source>AS DEFAULT</source>
        <translation>ALS STANDARD</translation>
    </message>
    <message>
        <source>Output directory</source>
        <translation>Zielordner</translation>
    </message>
    <message>
        <source>Browse for a folder</source>
        <translation>Ordner suchen</translation>
    </message>
    <message>
        <source>Where converted files go; empty means beside each input file</source>
        <translation>Wohin die umgewandelten Dateien kommen; leer bedeutet: neben die jeweilige Eingabedatei</translation>
    </message>
</context>
<context>
    <name>TaggingSetupDialog</name>
    <message>
        <source>For Artist, Album and Title:</source>
        <translation>Für Interpret, Album und Titel:</translation>
    </message>
    <message>
        <source>%1 = Filename (Title)</source>
        <translation>%1 = Dateiname (Titel)</translation>
    </message>
    <message>
        <source>%2 = Parent Directory (Album)</source>
        <translation>%2 = übergeordneter Ordner (Album)</translation>
    </message>
    <message>
        <source>%3 = Grand-Parent Directory (Artist)</source>
        <translation>%3 = Ordner darüber (Interpret)</translation>
    </message>
    <message>
        <source>Or, you can use text literals.</source>
        <translation>Oder Sie geben festen Text ein.</translation>
    </message>
    <message>
        <source>Add id3V1 tag and id3V2 tag if necessary (over 30 chars)</source>
        <translation>ID3v1-Tag und bei Bedarf ID3v2-Tag (über 30 Zeichen)</translation>
    </message>
    <message>
        <source>Add id3V1 tag and ALWAYS add id3V2 tag</source>
        <translation>ID3v1-Tag und IMMER ID3v2-Tag</translation>
    </message>
    <message>
        <source>Add id3V1 tag ONLY</source>
        <translation>NUR ID3v1-Tag</translation>
    </message>
    <message>
        <source>Add id3V2 tag ONLY</source>
        <translation>NUR ID3v2-Tag</translation>
    </message>
    <message>
        <source>Tagging Setup Options</source>
        <translation>Tag-Einstellungen</translation>
    </message>
    <message>
        <source>Select Auto Tagging</source>
        <translation>Automatisch taggen</translation>
    </message>
    <message>
        <source>Copy oggvorbis/FLAC Comments</source>
        <translation>Ogg-Vorbis-/FLAC-Kommentare übernehmen</translation>
    </message>
    <message>
        <source>Default Options</source>
        <translation>Standardoptionen</translation>
    </message>
    <message>
        <source>Custom Options</source>
        <translation>Eigene Optionen</translation>
    </message>
    <message>
        <source>Year:</source>
        <translation>Jahr:</translation>
    </message>
    <message>
        <source>Genre:</source>
        <translation>Genre:</translation>
    </message>
    <message>
        <source>Artist:</source>
        <translation>Interpret:</translation>
    </message>
    <message>
        <source>Album:</source>
        <translation>Album:</translation>
    </message>
    <message>
        <source>Title:</source>
        <translation>Titel:</translation>
    </message>
    <message>
        <source>Genre</source>
        <translation>Genre</translation>
    </message>
    <message>
        <source>Pick a genre from the list, or type one</source>
        <translation>Wählen Sie ein Genre aus der Liste oder geben Sie eines ein</translation>
    </message>
    <message>
        <source>%1 is the file name, %2 the parent folder, %3 the grand-parent folder; other text is taken as it is</source>
        <translation>%1 ist der Dateiname, %2 der übergeordnete Ordner, %3 der Ordner darüber; anderer Text wird unverändert übernommen</translation>
    </message>
</context>
</TS>
