<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>AboutDialog</name>
    <message>
        <source>(%1 bit)Compiled: %2</source>
        <translation>(%1 bits) Compilado: %2</translation>
    </message>
    <message>
        <source>About Quavermill</source>
        <translation>Acerca de Quavermill</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>The Quavermill badge</source>
        <translation>El emblema de Quavermill</translation>
    </message>
    <message>
        <source>Note : To Decode an mp3 file, just drop them, there is no switch.</source>
        <translation>Nota: para decodificar archivos MP3, basta con soltarlos; no hay que cambiar nada.</translation>
    </message>
</context>
<context>
    <name>DialogButtons</name>
    <message>
        <source>Accept</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
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
        <translation>Estándar</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>Rápida</translation>
    </message>
    <message>
        <source>Approx. Bitrate %1 kbps</source>
        <translation>Tasa aprox. %1 kbps</translation>
    </message>
    <message>
        <source>CBR encoding will use a bitrate of %1 kbps. L.A.M.E. will automatically resample input, where necessary, for low bitrates.</source>
        <translation>La codificación CBR usará una tasa de %1 kbps. Con tasas bajas, L.A.M.E. remuestrea automáticamente la entrada cuando hace falta.</translation>
    </message>
    <message>
        <source>Quavermill Encoding Options</source>
        <translation>Quavermill – Opciones de codificación</translation>
    </message>
    <message>
        <source>Encoding Options</source>
        <translation>Opciones de codificación</translation>
    </message>
    <message>
        <source>Quality</source>
        <translation>Calidad</translation>
    </message>
    <message>
        <source>Bitrate</source>
        <translation>Tasa de bits</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Objetivo</translation>
    </message>
    <message>
        <source>VBR quality</source>
        <translation>Calidad VBR</translation>
    </message>
    <message>
        <source>Approximate bitrate</source>
        <translation>Tasa de bits aproximada</translation>
    </message>
    <message>
        <source>VBR Quality - V</source>
        <translation>Calidad VBR – V</translation>
    </message>
    <message>
        <source>&lt;------ Lower ----------- Quality/Bitrate ----------- Higher ------&gt;</source>
        <translation>&lt;------ Menor ----------- Calidad/Tasa ----------- Mayor ------&gt;</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Ajustes</translation>
    </message>
    <message>
        <source>Enter Target Bitrate:</source>
        <translation>Tasa deseada:</translation>
    </message>
    <message>
        <source>Restrict encoder to Constant Bitrate (CBR)</source>
        <translation>Limitar el codificador a tasa constante (CBR)</translation>
    </message>
    <message>
        <source>Mono Encoding</source>
        <translation>Codificación mono</translation>
    </message>
    <message>
        <source>Encoding Engine Quality:</source>
        <translation>Calidad del codificador:</translation>
    </message>
    <message>
        <source>Use ogg/FLAC Title Gain Tag to Scale input automatically</source>
        <translation>Ajustar el nivel con la ganancia de pista (etiqueta ogg/FLAC)</translation>
    </message>
    <message>
        <source>Use ogg/FLAC Album Gain Tag to Scale input automatically</source>
        <translation>Ajustar el nivel con la ganancia de álbum (etiqueta ogg/FLAC)</translation>
    </message>
    <message>
        <source>Checking one of these boxes automatically selects to Copy oggvorbis/FLAC Tags</source>
        <translation>Al marcar una de estas casillas también se copian las etiquetas ogg/FLAC</translation>
    </message>
    <message>
        <source>Input Scaling</source>
        <translation>Nivel de entrada</translation>
    </message>
    <message>
        <source>Left: smaller files, lower quality. Right: larger files, higher quality.</source>
        <translation>Izquierda: archivos más pequeños, menor calidad. Derecha: archivos más grandes, mayor calidad.</translation>
    </message>
    <message>
        <source>Average bitrate in kbit/s, from 8 to 320</source>
        <translation>Tasa de bits media en kbit/s, de 8 a 320</translation>
    </message>
</context>
<context>
    <name>FailureNotice</name>
    <message numerus="yes">
        <source>%n file(s) failed to convert</source>
        <translation>
            <numerusform>No se pudo convertir %n archivo</numerusform>
            <numerusform>No se pudieron convertir %n archivos</numerusform>
        </translation>
    </message>
    <message>
        <source>The errors are in %1</source>
        <translation>Los errores están en %1</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>No audio files to convert in the folder
%1</source>
        <translation>No hay archivos de audio que convertir en la carpeta
%1</translation>
    </message>
    <message>
        <source>Can&apos;t read the folder
%1
%2</source>
        <translation>No se puede leer la carpeta
%1
%2</translation>
    </message>
    <message>
        <source>Audio files (%1)</source>
        <translation>Archivos de audio (%1)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Todos los archivos (*)</translation>
    </message>
    <message>
        <source>Convert Files</source>
        <translation>Convertir archivos</translation>
    </message>
    <message>
        <source>Convert Folder</source>
        <translation>Convertir una carpeta</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Current file</source>
        <translation>Archivo actual</translation>
    </message>
    <message>
        <source>All files</source>
        <translation>Todos los archivos</translation>
    </message>
    <message>
        <source>Convert &amp;Files...</source>
        <translation>Convertir &amp;archivos...</translation>
    </message>
    <message>
        <source>Convert F&amp;older...</source>
        <translation>Convertir una &amp;carpeta...</translation>
    </message>
    <message>
        <source>&amp;Encoding Options</source>
        <translation>Opciones de c&amp;odificación</translation>
    </message>
    <message>
        <source>&amp;Output Directory</source>
        <translation>Carpeta de &amp;destino</translation>
    </message>
    <message>
        <source>&amp;Tagging Setup</source>
        <translation>Configuración de &amp;etiquetas</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ace&amp;rca de</translation>
    </message>
    <message>
        <source>A&amp;UTO Tagging</source>
        <translation>Etiquetado A&amp;UTO</translation>
    </message>
    <message>
        <source>&amp;Delete Input file</source>
        <translation>&amp;Borrar el archivo de origen</translation>
    </message>
    <message>
        <source>Al&amp;ways on Top</source>
        <translation>Siempre &amp;visible</translation>
    </message>
    <message>
        <source>Errors to &amp;Log file</source>
        <translation>Errores al archivo de re&amp;gistro</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>converting %1 of %2</source>
        <translation>convirtiendo %1 de %2</translation>
    </message>
    <message>
        <source>idle</source>
        <translation>en espera</translation>
    </message>
    <message>
        <source>Quavermill: %1</source>
        <translation>Quavermill: %1</translation>
    </message>
    <message>
        <source>Drop audio files here to convert them, or press Ctrl+O to choose them; %1.</source>
        <translation>Suelte aquí archivos de audio para convertirlos, o pulse Ctrl+O para elegirlos; %1.</translation>
    </message>
    <message>
        <source>The settings in %1 were not read and will not be saved: %2.
The default settings are used.</source>
        <translation>La configuración de %1 no se ha leído y no se guardará: %2.
Se usa la configuración predeterminada.</translation>
    </message>
</context>
<context>
    <name>OutputDirectoryDialog</name>
    <message>
        <source>Output Directory Options</source>
        <translation>Opciones de la carpeta de destino</translation>
    </message>
    <message>
        <source>This folder&apos;s path holds a line break or another control character, which Quavermill cannot keep in its settings file.

Choose another folder, or rename this one first.</source>
        <translation>La ruta de esta carpeta contiene un salto de línea u otro carácter de control, que Quavermill no puede guardar en su archivo de ajustes.

Elija otra carpeta o cambie antes el nombre de esta.</translation>
    </message>
    <message>
        <source>This folder&apos;s path is too long to be kept as the default output directory: with the trailing &apos;/&apos; it takes %1 bytes, and Quavermill reads back at most %2 when it starts again.

Choose a folder with a shorter path, or use this one for this session only.</source>
        <translation>La ruta de esta carpeta es demasiado larga para guardarla como carpeta de destino predeterminada: con la «/» final ocupa %1 bytes, y Quavermill lee como máximo %2 al volver a iniciarse.

Elija una carpeta con una ruta más corta, o use esta solo en esta sesión.</translation>
    </message>
    <message>
        <source>Select Output Directory</source>
        <translation>Elegir la carpeta de destino</translation>
    </message>
    <message>
        <source>Select a directory for output:</source>
        <translation>Elija una carpeta de destino:</translation>
    </message>
    <message>
        <source>Same as Input Directory</source>
        <translation>La misma carpeta que el origen</translation>
    </message>
    <message>
        <source>STANDARD DEFAULT</source>
        <translation>PREDETERMINADO</translation>
    </message>
    <message>
        <source>Set Other Output Directory</source>
        <translation>Usar otra carpeta</translation>
    </message>
    <message>
        <source>THIS SESSION ONLY</source>
        <translation>SOLO ESTA SESIÓN</translation>
    </message>
    <message>
        <source>AS DEFAULT</source>
        <translation>COMO PREDETERMINADA</translation>
    </message>
    <message>
        <source>Output directory</source>
        <translation>Carpeta de destino</translation>
    </message>
    <message>
        <source>Browse for a folder</source>
        <translation>Buscar una carpeta</translation>
    </message>
    <message>
        <source>Where converted files go; empty means beside each input file</source>
        <translation>Dónde se guardan los archivos convertidos; vacío significa junto a cada archivo de origen</translation>
    </message>
</context>
<context>
    <name>TaggingSetupDialog</name>
    <message>
        <source>For Artist, Album and Title:</source>
        <translation>Para Artista, Álbum y Título:</translation>
    </message>
    <message>
        <source>%1 = Filename (Title)</source>
        <translation>%1 = nombre del archivo (título)</translation>
    </message>
    <message>
        <source>%2 = Parent Directory (Album)</source>
        <translation>%2 = carpeta superior (álbum)</translation>
    </message>
    <message>
        <source>%3 = Grand-Parent Directory (Artist)</source>
        <translation>%3 = carpeta dos niveles arriba (artista)</translation>
    </message>
    <message>
        <source>Or, you can use text literals.</source>
        <translation>También puede escribir texto fijo.</translation>
    </message>
    <message>
        <source>Add id3V1 tag and id3V2 tag if necessary (over 30 chars)</source>
        <translation>Etiqueta ID3v1 y, si hace falta, ID3v2 (más de 30 caracteres)</translation>
    </message>
    <message>
        <source>Add id3V1 tag and ALWAYS add id3V2 tag</source>
        <translation>Etiqueta ID3v1 y SIEMPRE ID3v2</translation>
    </message>
    <message>
        <source>Add id3V1 tag ONLY</source>
        <translation>SOLO ID3v1</translation>
    </message>
    <message>
        <source>Add id3V2 tag ONLY</source>
        <translation>SOLO ID3v2</translation>
    </message>
    <message>
        <source>Tagging Setup Options</source>
        <translation>Configuración de etiquetas</translation>
    </message>
    <message>
        <source>Select Auto Tagging</source>
        <translation>Etiquetado automático</translation>
    </message>
    <message>
        <source>Copy oggvorbis/FLAC Comments</source>
        <translation>Copiar los comentarios Ogg Vorbis/FLAC</translation>
    </message>
    <message>
        <source>Default Options</source>
        <translation>Opciones predeterminadas</translation>
    </message>
    <message>
        <source>Custom Options</source>
        <translation>Opciones personalizadas</translation>
    </message>
    <message>
        <source>Year:</source>
        <translation>Año:</translation>
    </message>
    <message>
        <source>Genre:</source>
        <translation>Género:</translation>
    </message>
    <message>
        <source>Artist:</source>
        <translation>Artista:</translation>
    </message>
    <message>
        <source>Album:</source>
        <translation>Álbum:</translation>
    </message>
    <message>
        <source>Title:</source>
        <translation>Título:</translation>
    </message>
    <message>
        <source>Genre</source>
        <translation>Género</translation>
    </message>
    <message>
        <source>Pick a genre from the list, or type one</source>
        <translation>Elija un género de la lista o escriba uno</translation>
    </message>
    <message>
        <source>%1 is the file name, %2 the parent folder, %3 the grand-parent folder; other text is taken as it is</source>
        <translation>%1 es el nombre del archivo, %2 la carpeta superior, %3 la carpeta dos niveles arriba; cualquier otro texto se toma tal cual</translation>
    </message>
</context>
</TS>
