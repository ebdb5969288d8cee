<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>AboutDialog</name>
    <message>
        <source>(%1 bit)Compiled: %2</source>
        <translation>(%1 bits) Compilé le : %2</translation>
    </message>
    <message>
        <source>About Quavermill</source>
        <translation>À propos de Quavermill</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>The Quavermill badge</source>
        <translation>L&apos;emblème de Quavermill</translation>
    </message>
    <message>
        <source>Note : To Decode an mp3 file, just drop them, there is no switch.</source>
        <translation>Remarque : pour décoder des fichiers MP3, déposez-les simplement, il n&apos;y a rien à changer.</translation>
    </message>
</context>
<context>
    <name>DialogButtons</name>
    <message>
        <source>Accept</source>
        <translation>Accepter</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>EncodingOptionsDialog</name>
    <message>
        <source>High</source>
        <translation>Élevée</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>Rapide</translation>
    </message>
    <message>
        <source>Approx. Bitrate %1 kbps</source>
        <translation>Débit approx. %1 kbit/s</translation>
    </message>
    <message>
        <source>CBR encoding will use a bitrate of %1 kbps. L.A.M.E. will automatically resample input, where necessary, for low bitrates.</source>
        <translation>L&apos;encodage CBR utilisera un débit de %1 kbit/s. Pour les débits faibles, L.A.M.E. rééchantillonne automatiquement la source si nécessaire.</translation>
    </message>
    <message>
        <source>Quavermill Encoding Options</source>
        <translation>Quavermill – Options d&apos;encodage</translation>
    </message>
    <message>
        <source>Encoding Options</source>
        <translation>Options d&apos;encodage</translation>
    </message>
    <message>
        <source>Quality</source>
        <translation>Qualité</translation>
    </message>
    <message>
        <source>Bitrate</source>
        <translation>Débit</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Objectif</translation>
    </message>
    <message>
        <source>VBR quality</source>
        <translation>Qualité VBR</translation>
    </message>
    <message>
        <source>Approximate bitrate</source>
        <translation>Débit approximatif</translation>
    </message>
    <message>
        <source>VBR Quality - V</source>
        <translation>Qualité VBR – V</translation>
    </message>
    <message>
        <source>&lt;------ Lower ----------- Quality/Bitrate ----------- Higher ------&gt;</source>
        <translation>&lt;------ Plus bas ----------- Qualité/Débit ----------- Plus haut ------&gt;</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Réglages</translation>
    </message>
    <message>
        <source>Enter Target Bitrate:</source>
        <translation>Débit visé :</translation>
    </message>
    <message>
        <source>Restrict encoder to Constant Bitrate (CBR)</source>
        <translation>Limiter l&apos;encodeur à un débit constant (CBR)</translation>
    </message>
    <message>
        <source>Mono Encoding</source>
        <translation>Encodage mono</translation>
    </message>
    <message>
        <source>Encoding Engine Quality:</source>
        <translation>Qualité du moteur :</translation>
    </message>
    <message>
        <source>Use ogg/FLAC Title Gain Tag to Scale input automatically</source>
        <translation>Ajuster le niveau selon le gain de piste (étiquette ogg/FLAC)</translation>
    </message>
    <message>
        <source>Use ogg/FLAC Album Gain Tag to Scale input automatically</source>
        <translation>Ajuster le niveau selon le gain d&apos;album (étiquette ogg/FLAC)</translation>
    </message>
    <message>
        <source>Checking one of these boxes automatically selects to Copy oggvorbis/FLAC Tags</source>
        <translation>Cocher l&apos;une de ces cases fait aussi copier les étiquettes ogg/FLAC</translation>
    </message>
    <message>
        <source>Input Scaling</source>
        <translation>Niveau d&apos;entrée</translation>
    </message>
    <message>
        <source>Left: smaller files, lower quality. Right: larger files, higher quality.</source>
        <translation>À gauche : fichiers plus petits, qualité moindre. À droite : fichiers plus gros, meilleure qualité.</translation>
    </message>
    <message>
        <source>Average bitrate in kbit/s, from 8 to 320</source>
        <translation>Débit moyen en kbit/s, de 8 à 320</translation>
    </message>
</context>
<context>
    <name>FailureNotice</name>
    <message numerus="yes">
        <source>%n file(s) failed to convert</source>
        <translation>
            <numerusform>%n fichier n&apos;a pas pu être converti</numerusform>
            <numerusform>%n fichiers n&apos;ont pas pu être convertis</numerusform>
        </translation>
    </message>
    <message>
        <source>The errors are in %1</source>
        <translation>Les erreurs sont dans %1</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>No audio files to convert in the folder
%1</source>
        <translation>Aucun fichier audio à convertir dans le dossier
%1</translation>
    </message>
    <message>
        <source>Can&apos;t read the folder
%1
%2</source>
        <translation>Impossible de lire le dossier
%1
%2</translation>
    </message>
    <message>
        <source>Audio files (%1)</source>
        <translation>Fichiers audio (%1)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Convert Files</source>
        <translation>Convertir des fichiers</translation>
    </message>
    <message>
        <source>Convert Folder</source>
        <translation>Convertir un dossier</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Current file</source>
        <translation>Fichier en cours</translation>
    </message>
    <message>
        <source>All files</source>
        <translation>Tous les fichiers</translation>
    </message>
    <message>
        <source>Convert &amp;Files...</source>
        <translation>Convertir des &amp;fichiers...</translation>
    </message>
    <message>
        <source>Convert F&amp;older...</source>
        <translation>Convertir un &amp;dossier...</translation>
    </message>
    <message>
        <source>&amp;Encoding Options</source>
        <translation>Options d&apos;&amp;encodage</translation>
    </message>
    <message>
        <source>&amp;Output Directory</source>
        <translation>Dossier de &amp;sortie</translation>
    </message>
    <message>
        <source>&amp;Tagging Setup</source>
        <translation>Configuration des é&amp;tiquettes</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>À pr&amp;opos</translation>
    </message>
    <message>
        <source>A&amp;UTO Tagging</source>
        <translation>Étiquetage A&amp;UTO</translation>
    </message>
    <message>
        <source>&amp;Delete Input file</source>
        <translation>Su&amp;pprimer le fichier source</translation>
    </message>
    <message>
        <source>Al&amp;ways on Top</source>
        <translation>Toujours au premier p&amp;lan</translation>
    </message>
    <message>
        <source>Errors to &amp;Log file</source>
        <translation>Erreurs dans le &amp;journal</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>converting %1 of %2</source>
        <translation>conversion %1 sur %2</translation>
    </message>
    <message>
        <source>idle</source>
        <translation>en attente</translation>
    </message>
    <message>
        <source>Quavermill: %1</source>
        <translation>Quavermill : %1</translation>
    </message>
    <message>
        <source>Drop audio files here to convert them, or press Ctrl+O to choose them; %1.</source>
        <translation>Déposez ici des fichiers audio pour les convertir, ou appuyez sur Ctrl+O pour les choisir ; %1.</translation>
    </message>
    <message>
        <source>The settings in %1 were not read and will not be saved: %2.
The default settings are used.</source>
        <translation>Les paramètres de %1 n&apos;ont pas été lus et ne seront pas enregistrés : %2.
Les paramètres par défaut sont utilisés.</translation>
    </message>
</context>
<context>
    <name>OutputDirectoryDialog</name>
    <message>
        <source>Output Directory Options</source>
        <translation>Options du dossier de sortie</translation>
    </message>
    <message>
        <source>This folder&apos;s path holds a line break or another control character, which Quavermill cannot keep in its settings file.

Choose another folder, or rename this one first.</source>
        <translation>Le chemin de ce dossier contient un saut de ligne ou un autre caractère de contrôle, que Quavermill ne peut pas enregistrer dans son fichier de réglages.

Choisissez un autre dossier, ou renommez d&apos;abord celui-ci.</translation>
    </message>
    <message>
        <source>This folder&apos;s path is too long to be kept as the default output directory: with the trailing &apos;/&apos; it takes %1 bytes, and Quavermill reads back at most %2 when it starts again.

Choose a folder with a shorter path, or use this one for this session only.</source>
        <translation>Le chemin de ce dossier est trop long pour devenir le dossier de sortie par défaut : avec le « / » final, il occupe %1 octets, et Quavermill n&apos;en relit que %2 au plus au prochain démarrage.

Choisissez un dossier au chemin plus court, ou utilisez celui-ci pour cette session seulement.</translation>
    </message>
    <message>
        <source>Select Output Directory</source>
        <translation>Choisir le dossier de sortie</translation>
    </message>
    <message>
        <source>Select a directory for output:</source>
        <translation>Choisissez un dossier de sortie :</translation>
    </message>
    <message>
        <source>Same as Input Directory</source>
        <translation>Même dossier que la source</translation>
    </message>
    <message>
        <source>STANDARD DEFAULT</source>
        <translation>PAR DÉFAUT</translation>
    </message>
    <message>
        <source>Set Other Output Directory</source>
        <translation>Choisir un autre dossier</translation>
    </message>
    <message>
        <source>THIS SESSION ONLY</source>
        <translation>POUR CETTE SESSION</translation>
    </message>
    <message>
        <source>AS DEFAULT</source>
        <translation>PAR DÉFAUT DÉSORMAIS</translation>
    </message>
    <message>
        <source>Output directory</source>
        <translation>Dossier de sortie</translation>
    </message>
    <message>
        <source>Browse for a folder</source>
        <translation>Parcourir les dossiers</translation>
    </message>
    <message>
        <source>Where converted files go; empty means beside each input file</source>
        <translation>Où vont les fichiers convertis ; vide signifie à côté de chaque fichier source</translation>
    </message>
</context>
<context>
    <name>TaggingSetupDialog</name>
    <message>
        <source>For Artist, Album and Title:</source>
        <translation>Pour Artiste, Album et Titre :</translation>
    </message>
    <message>
        <source>%1 = Filename (Title)</source>
        <translation>%1 = nom du fichier (titre)</translation>
    </message>
    <message>
        <source>%2 = Parent Directory (Album)</source>
        <translation>%2 = dossier parent (album)</translation>
    </message>
    <message>
        <source>%3 = Grand-Parent Directory (Artist)</source>
        <translation>%3 = dossier grand-parent (artiste)</translation>
    </message>
    <message>
        <source>Or, you can use text literals.</source>
        <translation>Vous pouvez aussi saisir du texte fixe.</translation>
    </message>
    <message>
        <source>Add id3V1 tag and id3V2 tag if necessary (over 30 chars)</source>
        <translation>Étiquette ID3v1, plus ID3v2 si nécessaire (plus de 30 caractères)</translation>
    </message>
    <message>
        <source>Add id3V1 tag and ALWAYS add id3V2 tag</source>
        <translation>Étiquette ID3v1 et TOUJOURS ID3v2</translation>
    </message>
    <message>
        <source>Add id3V1 tag ONLY</source>
        <translation>ID3v1 SEULEMENT</translation>
    </message>
    <message>
        <source>Add id3V2 tag ONLY</source>
        <translation>ID3v2 SEULEMENT</translation>
    </message>
    <message>
        <source>Tagging Setup Options</source>
        <translation>Configuration des étiquettes</translation>
    </message>
    <message>
        <source>Select Auto Tagging</source>
        <translation>Étiquetage automatique</translation>
    </message>
    <message>
        <source>Copy oggvorbis/FLAC Comments</source>
        <translation>Copier les commentaires Ogg Vorbis/FLAC</translation>
    </message>
    <message>
        <source>Default Options</source>
        <translation>Options par défaut</translation>
    </message>
    <message>
        <source>Custom Options</source>
        <translation>Options personnalisées</translation>
    </message>
    <message>
        <source>Year:</source>
        <translation>Année :</translation>
    </message>
    <message>
        <source>Genre:</source>
        <translation>Genre :</translation>
    </message>
    <message>
        <source>Artist:</source>
        <translation>Artiste :</translation>
    </message>
    <message>
        <source>Album:</source>
        <translation>Album :</translation>
    </message>
    <message>
        <source>Title:</source>
        <translation>Titre :</translation>
    </message>
    <message>
        <source>Genre</source>
        <translation>Genre</translation>
    </message>
    <message>
        <source>Pick a genre from the list, or type one</source>
        <translation>Choisissez un genre dans la liste, ou saisissez-en un</translation>
    </message>
    <message>
        <source>%1 is the file name, %2 the parent folder, %3 the grand-parent folder; other text is taken as it is</source>
        <translation>%1 est le nom du fichier, %2 le dossier parent, %3 le dossier grand-parent ; tout autre texte est repris tel quel</translation>
    </message>
</context>
</TS>
