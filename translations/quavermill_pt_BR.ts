<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>AboutDialog</name>
    <message>
        <source>(%1 bit)Compiled: %2</source>
        <translation>(%1 bits) Compilado em: %2</translation>
    </message>
    <message>
        <source>About Quavermill</source>
        <translation>Sobre o Quavermill</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>The Quavermill badge</source>
        <translation>O emblema do Quavermill</translation>
    </message>
    <message>
        <source>Note : To Decode an mp3 file, just drop them, there is no switch.</source>
        <translation>Observação: para decodificar arquivos MP3, basta soltá-los aqui; não é preciso mudar nada.</translation>
    </message>
</context>
<context>
    <name>DialogButtons</name>
    <message>
        <source>Accept</source>
        <translation>Aceitar</translation>
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
        <translation>Padrão</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>Rápida</translation>
    </message>
    <message>
        <source>Approx. Bitrate %1 kbps</source>
        <translation>Taxa aprox. %1 kbps</translation>
    </message>
    <message>
        <source>CBR encoding will use a bitrate of %1 kbps. L.A.M.E. will automatically resample input, where necessary, for low bitrates.</source>
        <translation>A codificação CBR usará uma taxa de %1 kbps. Em taxas baixas, o L.A.M.E. reamostra a entrada automaticamente quando necessário.</translation>
    </message>
    <message>
        <source>Quavermill Encoding Options</source>
        <translation>Quavermill – Opções de codificação</translation>
    </message>
    <message>
        <source>Encoding Options</source>
        <translation>Opções de codificação</translation>
    </message>
    <message>
        <source>Quality</source>
        <translation>Qualidade</translation>
    </message>
    <message>
        <source>Bitrate</source>
        <translation>Taxa de bits</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Objetivo</translation>
    </message>
    <message>
        <source>VBR quality</source>
        <translation>Qualidade VBR</translation>
    </message>
    <message>
        <source>Approximate bitrate</source>
        <translation>Taxa de bits aproximada</translation>
    </message>
    <message>
        <source>VBR Quality - V</source>
        <translation>Qualidade VBR – V</translation>
    </message>
    <message>
        <source>&lt;------ Lower ----------- Quality/Bitrate ----------- Higher ------&gt;</source>
        <translation>&lt;------ Menor ----------- Qualidade/Taxa ----------- Maior ------&gt;</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Ajustes</translation>
    </message>
    <message>
        <source>Enter Target Bitrate:</source>
        <translation>Taxa desejada:</translation>
    </message>
    <message>
        <source>Restrict encoder to Constant Bitrate (CBR)</source>
        <translation>Limitar o codificador a taxa constante (CBR)</translation>
    </message>
    <message>
        <source>Mono Encoding</source>
        <translation>Codificação mono</translation>
    </message>
    <message>
        <source>Encoding Engine Quality:</source>
        <translation>Qualidade do codificador:</translation>
    </message>
    <message>
        <source>Use ogg/FLAC Title Gain Tag to Scale input automatically</source>
        <translation>Ajustar o nível pelo ganho da faixa (etiqueta ogg/FLAC)</translation>
    </message>
    <message>
        <source>Use ogg/FLAC Album Gain Tag to Scale input automatically</source>
        <translation>Ajustar o nível pelo ganho do álbum (etiqueta ogg/FLAC)</translation>
    </message>
    <message>
        <source>Checking one of these boxes automatically selects to Copy oggvorbis/FLAC Tags</source>
        <translation>Marcar uma destas caixas também faz copiar as etiquetas ogg/FLAC</translation>
    </message>
    <message>
        <source>Input Scaling</source>
        <translation>Nível de entrada</translation>
    </message>
    <message>
        <source>Left: smaller files, lower quality. Right: larger files, higher quality.</source>
        <translation>Esquerda: arquivos menores, qualidade mais baixa. Direita: arquivos maiores, qualidade mais alta.</translation>
    </message>
    <message>
        <source>Average bitrate in kbit/s, from 8 to 320</source>
        <translation>Taxa de bits média em kbit/s, de 8 a 320</translation>
    </message>
</context>
<context>
    <name>FailureNotice</name>
    <message numerus="yes">
        <source>%n file(s) failed to convert</source>
        <translation>
            <numerusform>%n arquivo não pôde ser convertido</numerusform>
            <numerusform>%n arquivos não puderam ser convertidos</numerusform>
        </translation>
    </message>
    <message>
        <source>The errors are in %1</source>
        <translation>Os erros estão em %1</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>No audio files to convert in the folder
%1</source>
        <translation>Nenhum arquivo de áudio para converter na pasta
%1</translation>
    </message>
    <message>
        <source>Can&apos;t read the folder
%1
%2</source>
        <translation>Não é possível ler a pasta
%1
%2</translation>
    </message>
    <message>
        <source>Audio files (%1)</source>
        <translation>Arquivos de áudio (%1)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Todos os arquivos (*)</translation>
    </message>
    <message>
        <source>Convert Files</source>
        <translation>Converter arquivos</translation>
    </message>
    <message>
        <source>Convert Folder</source>
        <translation>Converter uma pasta</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erro</translation>
    </message>
    <message>
        <source>Current file</source>
        <translation>Arquivo atual</translation>
    </message>
    <message>
        <source>All files</source>
        <translation>Todos os arquivos</translation>
    </message>
    <message>
        <source>Convert &amp;Files...</source>
        <translation>Converter &amp;arquivos...</translation>
    </message>
    <message>
        <source>Convert F&amp;older...</source>
        <translation>Converter uma &amp;pasta...</translation>
    </message>
    <message>
        <source>&amp;Encoding Options</source>
        <translation>Opções de c&amp;odificação</translation>
    </message>
    <message>
        <source>&amp;Output Directory</source>
        <translation>Pasta de &amp;destino</translation>
    </message>
    <message>
        <source>&amp;Tagging Setup</source>
        <translation>Configuração de &amp;etiquetas</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Sobre</translation>
    </message>
    <message>
        <source>A&amp;UTO Tagging</source>
        <translation>Etiquetas A&amp;UTO</translation>
    </message>
    <message>
        <source>&amp;Delete Input file</source>
        <translation>E&amp;xcluir o arquivo de origem</translation>
    </message>
    <message>
        <source>Al&amp;ways on Top</source>
        <translation>Sempre &amp;visível</translation>
    </message>
    <message>
        <source>Errors to &amp;Log file</source>
        <translation>Erros no arquivo de &amp;log</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>Sa&amp;ir</translation>
    </message>
    <message>
        <source>converting %1 of %2</source>
        <translation>convertendo %1 de %2</translation>
    </message>
    <message>
        <source>idle</source>
        <translation>ocioso</translation>
    </message>
    <message>
        <source>Quavermill: %1</source>
        <translation>Quavermill: %1</translation>
    </message>
    <message>
        <source>Drop audio files here to convert them, or press Ctrl+O to choose them; %1.</source>
        <translation>Solte arquivos de áudio aqui para convertê-los, ou pressione Ctrl+O para escolhê-los; %1.</translation>
    </message>
    <message>
        <source>The settings in %1 were not read and will not be saved: %2.
The default settings are used.</source>
        <translation>As configurações em %1 não foram lidas e não serão salvas: %2.
Serão usadas as configurações padrão.</translation>
    </message>
</context>
<context>
    <name>OutputDirectoryDialog</name>
    <message>
        <source>Output Directory Options</source>
        <translation>Opções da pasta de destino</translation>
    </message>
    <message>
        <source>This folder&apos;s path holds a line break or another control character, which Quavermill cannot keep in its settings file.

Choose another folder, or rename this one first.</source>
        <translation>O caminho desta pasta contém uma quebra de linha ou outro caractere de controle, que o Quavermill não consegue guardar no seu arquivo de ajustes.

Escolha outra pasta ou renomeie esta antes.</translation>
    </message>
    <message>
        <source>This folder&apos;s path is too long to be kept as the default output directory: with the trailing &apos;/&apos; it takes %1 bytes, and Quavermill reads back at most %2 when it starts again.

Choose a folder with a shorter path, or use this one for this session only.</source>
        <translation>O caminho desta pasta é longo demais para ser guardado como pasta de destino padrão: com a “/” final ele ocupa %1 bytes, e o Quavermill lê no máximo %2 ao iniciar de novo.

Escolha uma pasta com caminho mais curto, ou use esta somente nesta sessão.</translation>
    </message>
    <message>
        <source>Select Output Directory</source>
        <translation>Escolher a pasta de destino</translation>
    </message>
    <message>
        <source>Select a directory for output:</source>
        <translation>Escolha uma pasta de destino:</translation>
    </message>
    <message>
        <source>Same as Input Directory</source>
        <translation>A mesma pasta da origem</translation>
    </message>
    <message>
        <source>STANDARD DEFAULT</source>
        <translation>PADRÃO</translation>
    </message>
    <message>
        <source>Set Other Output Directory</source>
        <translation>Usar outra pasta</translation>
    </message>
    <message>
        <source>THIS SESSION ONLY</source>
        <translation>SÓ NESTA SESSÃO</translation>
    </message>
    <message>
        <source>AS DEFAULT</source>
        <translation>COMO PADRÃO</translation>
    </message>
    <message>
        <source>Output directory</source>
        <translation>Pasta de destino</translation>
    </message>
    <message>
        <source>Browse for a folder</source>
        <translation>Procurar uma pasta</translation>
    </message>
    <message>
        <source>Where converted files go; empty means beside each input file</source>
        <translation>Onde ficam os arquivos convertidos; vazio significa ao lado de cada arquivo de origem</translation>
    </message>
</context>
<context>
    <name>TaggingSetupDialog</name>
    <message>
        <source>For Artist, Album and Title:</source>
        <translation>Para Artista, Álbum e Título:</translation>
    </message>
    <message>
        <source>%1 = Filename (Title)</source>
        <translation>%1 = nome do arquivo (título)</translation>
    </message>
    <message>
        <source>%2 = Parent Directory (Album)</source>
        <translation>%2 = pasta superior (álbum)</translation>
    </message>
    <message>
        <source>%3 = Grand-Parent Directory (Artist)</source>
        <translation>%3 = pasta dois níveis acima (artista)</translation>
    </message>
    <message>
        <source>Or, you can use text literals.</source>
        <translation>Ou você pode digitar um texto fixo.</translation>
    </message>
    <message>
        <source>Add id3V1 tag and id3V2 tag if necessary (over 30 chars)</source>
        <translation>Etiqueta ID3v1 e, se necessário, ID3v2 (mais de 30 caracteres)</translation>
    </message>
    <message>
        <source>Add id3V1 tag and ALWAYS add id3V2 tag</source>
        <translation>Etiqueta ID3v1 e SEMPRE ID3v2</translation>
    </message>
    <message>
        <source>Add id3V1 tag ONLY</source>
        <translation>SÓ ID3v1</translation>
    </message>
    <message>
        <source>Add id3V2 tag ONLY</source>
        <translation>SÓ ID3v2</translation>
    </message>
    <message>
        <source>Tagging Setup Options</source>
        <translation>Configuração de etiquetas</translation>
    </message>
    <message>
        <source>Select Auto Tagging</source>
        <translation>Etiquetas automáticas</translation>
    </message>
    <message>
        <source>Copy oggvorbis/FLAC Comments</source>
        <translation>Copiar os comentários Ogg Vorbis/FLAC</translation>
    </message>
    <message>
        <source>Default Options</source>
        <translation>Opções padrão</translation>
    </message>
    <message>
        <source>Custom Options</source>
        <translation>Opções personalizadas</translation>
    </message>
    <message>
        <source>Year:</source>
        <translation>Ano:</translation>
    </message>
    <message>
        <source>Genre:</source>
        <translation>Gênero:</translation>
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
        <translation>Gênero</translation>
    </message>
    <message>
        <source>Pick a genre from the list, or type one</source>
        <translation>Escolha um gênero da lista ou digite um</translation>
    </message>
    <message>
        <source>%1 is the file name, %2 the parent folder, %3 the grand-parent folder; other text is taken as it is</source>
        <translation>%1 é o nome do arquivo, %2 a pasta superior, %3 a pasta dois níveis acima; qualquer outro texto é usado como está</translation>
    </message>
</context>
</TS>
