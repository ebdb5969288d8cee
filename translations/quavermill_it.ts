<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it">
<context>
    <name>AboutDialog</name>
    <message>
        <source>(%1 bit)Compiled: %2</source>
        <translation>(%1 bit) Compilato: %2</translation>
    </message>
    <message>
        <source>About Quavermill</source>
        <translation>Informazioni su Quavermill</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>The Quavermill badge</source>
        <translation>Il simbolo di Quavermill</translation>
    </message>
    <message>
        <source>Note : To Decode an mp3 file, just drop them, there is no switch.</source>
        <translation>Nota: per decodificare file MP3 basta trascinarli qui, non serve cambiare nulla.</translation>
    </message>
</context>
<context>
    <name>DialogButtons</name>
    <message>
        <source>Accept</source>
        <translation>Accetta</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
</context>
<context>
    <name>EncodingOptionsDialog</name>
    <message>
        <source>High</source>
        <translation>Alta</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>Veloce</translation>
    </message>
    <message>
        <source>Approx. Bitrate %1 kbps</source>
        <translation>Bitrate circa %1 kbps</translation>
    </message>
    <message>
        <source>CBR encoding will use a bitrate of %1 kbps. L.A.M.E. will automatically resample input, where necessary, for low bitrates.</source>
        <translation>La codifica CBR userà un bitrate di %1 kbps. Con bitrate bassi, L.A.M.E. ricampiona automaticamente l&apos;ingresso quando serve.</translation>
    </message>
    <message>
        <source>Quavermill Encoding Options</source>
        <translation>Quavermill – Opzioni di codifica</translation>
    </message>
    <message>
        <source>Encoding Options</source>
        <translation>Opzioni di codifica</translation>
    </message>
    <message>
        <source>Quality</source>
        <translation>Qualità</translation>
    </message>
    <message>
        <source>Bitrate</source>
        <translation>Bitrate</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Obiettivo</translation>
    </message>
    <message>
        <source>VBR quality</source>
        <translation>Qualità VBR</translation>
    </message>
    <message>
        <source>Approximate bitrate</source>
        <translation>Bitrate approssimativo</translation>
    </message>
    <message>
        <source>VBR Quality - V</source>
        <translation>Qualità VBR – V</translation>
    </message>
    <message>
        <source>&lt;------ Lower ----------- Quality/Bitrate ----------- Higher ------&gt;</source>
        <translation>&lt;------ Inferiore ----------- Qualità/Bitrate ----------- Superiore ------&gt;</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Impostazioni</translation>
    </message>
    <message>
        <source>Enter Target Bitrate:</source>
        <translation>Bitrate desiderato:</translation>
    </message>
    <message>
        <source>Restrict encoder to Constant Bitrate (CBR)</source>
        <translation>Limita il codificatore a bitrate costante (CBR)</translation>
    </message>
    <message>
        <source>Mono Encoding</source>
        <translation>Codifica mono</translation>
    </message>
    <message>
        <source>Encoding Engine Quality:</source>
        <translation>Qualità del codificatore:</translation>
    </message>
    <message>
        <source>Use ogg/FLAC Title Gain Tag to Scale input automatically</source>
        <translation>Regola il livello con il guadagno della traccia (tag ogg/FLAC)</translation>
    </message>
    <message>
        <source>Use ogg/FLAC Album Gain Tag to Scale input automatically</source>
        <translation>Regola il livello con il guadagno dell&apos;album (tag ogg/FLAC)</translation>
    </message>
    <message>
        <source>Checking one of these boxes automatically selects to Copy oggvorbis/FLAC Tags</source>
        <translation>Selezionando una di queste caselle vengono copiati anche i tag ogg/FLAC</translation>
    </message>
    <message>
        <source>Input Scaling</source>
        <translation>Livello d&apos;ingresso</translation>
    </message>
    <message>
        <source>Left: smaller files, lower quality. Right: larger files, higher quality.</source>
        <translation>A sinistra: file più piccoli, qualità inferiore. A destra: file più grandi, qualità superiore.</translation>
    </message>
    <message>
        <source>Average bitrate in kbit/s, from 8 to 320</source>
        <translation>Bitrate medio in kbit/s, da 8 a 320</translation>
    </message>
</context>
<context>
    <name>FailureNotice</name>
    <message numerus="yes">
        <source>%n file(s) failed to convert</source>
        <translation>
            <numerusform>Impossibile convertire %n file</numerusform>
            <numerusform>Impossibile convertire %n file</numerusform>
        </translation>
    </message>
    <message>
        <source>The errors are in %1</source>
        <translation>Gli errori sono in %1</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>No audio files to convert in the folder
%1</source>
        <translation>Nessun file audio da convertire nella cartella
%1</translation>
    </message>
    <message>
        <source>Can&apos;t read the folder
%1
%2</source>
        <translation>Impossibile leggere la cartella
%1
%2</translation>
    </message>
    <message>
        <source>Audio files (%1)</source>
        <translation>File audio (%1)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tutti i file (*)</translation>
    </message>
    <message>
        <source>Convert Files</source>
        <translation>Converti file</translation>
    </message>
    <message>
        <source>Convert Folder</source>
        <translation>Converti una cartella</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Errore</translation>
    </message>
    <message>
        <source>Current file</source>
        <translation>File corrente</translation>
    </message>
    <message>
        <source>All files</source>
        <translation>Tutti i file</translation>
    </message>
    <message>
        <source>Convert &amp;Files...</source>
        <translation>Converti &amp;file...</translation>
    </message>
    <message>
        <source>Convert F&amp;older...</source>
        <translation>Converti una &amp;cartella...</translation>
    </message>
    <message>
        <source>&amp;Encoding Options</source>
        <translation>Opzioni di c&amp;odifica</translation>
    </message>
    <message>
        <source>&amp;Output Directory</source>
        <translation>Cartella di &amp;destinazione</translation>
    </message>
    <message>
        <source>&amp;Tagging Setup</source>
        <translation>Impostazioni dei &amp;tag</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Informazioni</translation>
    </message>
    <message>
        <source>A&amp;UTO Tagging</source>
        <translation>Tag A&amp;UTO</translation>
    </message>
    <message>
        <source>&amp;Delete Input file</source>
        <translation>E&amp;limina il file di origine</translation>
    </message>
    <message>
        <source>Al&amp;ways on Top</source>
        <translation>Sempre in &amp;primo piano</translation>
    </message>
    <message>
        <source>Errors to &amp;Log file</source>
        <translation>Errori nel file di lo&amp;g</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Esci</translation>
    </message>
    <message>
        <source>converting %1 of %2</source>
        <translation>conversione %1 di %2</translation>
    </message>
    <message>
        <source>idle</source>
        <translation>inattivo</translation>
    </message>
    <message>
        <source>Quavermill: %1</source>
        <translation>Quavermill: %1</translation>
    </message>
    <message>
        <source>Drop audio files here to convert them, or press Ctrl+O to choose them; %1.</source>
        <translation>Trascina qui i file audio per convertirli, oppure premi Ctrl+O per sceglierli; %1.</translation>
    </message>
    <message>
        <source>The settings in %1 were not read and will not be saved: %2.
The default settings are used.</source>
        <translation>Le impostazioni in %1 non sono state lette e non verranno salvate: %2.
Vengono usate le impostazioni predefinite.</translation>
    </message>
</context>
<context>
    <name>OutputDirectoryDialog</name>
    <message>
        <source>Output Directory Options</source>
        <translation>Opzioni della cartella di destinazione</translation>
    </message>
    <message>
        <source>This folder&apos;s path holds a line break or another control character, which Quavermill cannot keep in its settings file.

Choose another folder, or rename this one first.</source>
        <translation>Il percorso di questa cartella contiene un a capo o un altro carattere di controllo, che Quavermill non può salvare nel suo file di impostazioni.

Scegli un&apos;altra cartella, oppure rinomina prima questa.</translation>
    </message>
    <message>
        <source>This folder&apos;s path is too long to be kept as the default output directory: with the trailing &apos;/&apos; it takes %1 bytes, and Quavermill reads back at most %2 when it starts again.

Choose a folder with a shorter path, or use this one for this session only.</source>
        <translation>Il percorso di questa cartella è troppo lungo per essere salvato come cartella di destinazione predefinita: con la «/» finale occupa %1 byte, e Quavermill ne rilegge al massimo %2 al prossimo avvio.

Scegli una cartella con un percorso più corto, oppure usa questa solo per questa sessione.</translation>
    </message>
    <message>
        <source>Select Output Directory</source>
        <translation>Scegli la cartella di destinazione</translation>
    </message>
    <message>
        <source>Select a directory for output:</source>
        <translation>Scegli una cartella di destinazione:</translation>
    </message>
    <message>
        <source>Same as Input Directory</source>
        <translation>Stessa cartella dell&apos;origine</translation>
    </message>
    <message>
        <source>STANDARD DEFAULT</source>
        <translation>PREDEFINITO</translation>
    </message>
    <message>
        <source>Set Other Output Directory</source>
        <translation>Usa un&apos;altra cartella</translation>
    </message>
    <message>
        <source>THIS SESSION ONLY</source>
        <translation>SOLO QUESTA SESSIONE</translation>
    </message>
    <message>
        <source>AS DEFAULT</source>
        <translation>COME PREDEFINITA</translation>
    </message>
    <message>
        <source>Output directory</source>
        <translation>Cartella di destinazione</translation>
    </message>
    <message>
        <source>Browse for a folder</source>
        <translation>Sfoglia le cartelle</translation>
    </message>
    <message>
        <source>Where converted files go; empty means beside each input file</source>
        <translation>Dove vanno i file convertiti; vuoto significa accanto a ciascun file di origine</translation>
    </message>
</context>
<context>
    <name>TaggingSetupDialog</name>
    <message>
        <source>For Artist, Album and Title:</source>
        <translation>Per Artista, Album e Titolo:</translation>
    </message>
    <message>
        <source>%1 = Filename (Title)</source>
        <translation>%1 = nome del file (titolo)</translation>
    </message>
    <message>
        <source>%2 = Parent Directory (Album)</source>
        <translation>%2 = cartella superiore (album)</translation>
    </message>
    <message>
        <source>%3 = Grand-Parent Directory (Artist)</source>
        <translation>%3 = cartella due livelli sopra (artista)</translation>
    </message>
    <message>
        <source>Or, you can use text literals.</source>
        <translation>Oppure puoi inserire testo fisso.</translation>
    </message>
    <message>
        <source>Add id3V1 tag and id3V2 tag if necessary (over 30 chars)</source>
        <translation>Tag ID3v1 e, se serve, ID3v2 (oltre 30 caratteri)</translation>
    </message>
    <message>
        <source>Add id3V1 tag and ALWAYS add id3V2 tag</source>
        <translation>Tag ID3v1 e SEMPRE ID3v2</translation>
    </message>
    <message>
        <source>Add id3V1 tag ONLY</source>
        <translation>SOLO tag ID3v1</translation>
    </message>
    <message>
        <source>Add id3V2 tag ONLY</source>
        <translation>SOLO tag ID3v2</translation>
    </message>
    <message>
        <source>Tagging Setup Options</source>
        <translation>Impostazioni dei tag</translation>
    </message>
    <message>
        <source>Select Auto Tagging</source>
        <translation>Tag automatici</translation>
    </message>
    <message>
        <source>Copy oggvorbis/FLAC Comments</source>
        <translation>Copia i commenti Ogg Vorbis/FLAC</translation>
    </message>
    <message>
        <source>Default Options</source>
        <translation>Opzioni predefinite</translation>
    </message>
    <message>
        <source>Custom Options</source>
        <translation>Opzioni personalizzate</translation>
    </message>
    <message>
        <source>Year:</source>
        <translation>Anno:</translation>
    </message>
    <message>
        <source>Genre:</source>
        <translation>Genere:</translation>
    </message>
    <message>
        <source>Artist:</source>
        <translation>Artista:</translation>
    </message>
    <message>
        <source>Album:</source>
        <translation>Album:</translation>
    </message>
    <message>
        <source>Title:</source>
        <translation>Titolo:</translation>
    </message>
    <message>
        <source>Genre</source>
        <translation>Genere</translation>
    </message>
    <message>
        <source>Pick a genre from the list, or type one</source>
        <translation>Scegli un genere dall&apos;elenco, oppure scrivine uno</translation>
    </message>
    <message>
        <source>%1 is the file name, %2 the parent folder, %3 the grand-parent folder; other text is taken as it is</source>
        <translation>%1 è il nome del file, %2 la cartella superiore, %3 la cartella due livelli sopra; ogni altro testo viene usato così com&apos;è</translation>
    </message>
</context>
</TS>
