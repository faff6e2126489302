<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="cs_CZ">
<context>
    <name>AtomicFile</name>
    <message>
        <source>Cannot write %1</source>
        <translation>Nelze zapsat %1</translation>
    </message>
    <message>
        <source>Cannot replace %1</source>
        <translation>Nelze nahradit %1</translation>
    </message>
    <message>
        <source>Cannot create a file in %1</source>
        <translation>Nelze vytvořit soubor ve složce %1</translation>
    </message>
    <message>
        <source>Nothing is reading from this FIFO</source>
        <translation>Z této roury FIFO nic nečte</translation>
    </message>
    <message>
        <source>It is a socket, not a file</source>
        <translation>Je to soket, ne soubor</translation>
    </message>
</context>
<context>
    <name>BoundedRead</name>
    <message>
        <source>Not a regular file</source>
        <translation>Není to běžný soubor</translation>
    </message>
    <message>
        <source>Too large for a document</source>
        <translation>Na dokument je příliš velký</translation>
    </message>
    <message>
        <source>The file ended before all of it was read</source>
        <translation>Soubor skončil dříve, než byl celý přečten</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>unknown option %1</source>
        <translation>neznámá volba %1</translation>
    </message>
    <message>
        <source>usage: zoredit [--check] [FILE...]

Opens each FILE (a *.zor document) in its own window.

  --check      start without showing a window, report the symbol font, the manual,
               the settings file and every message start-up would show, then exit
               (status 0 when nothing is missing)
  --version    print the version and exit
  --help       print this text and exit

Qt&apos;s own options (-platform, -style, ...) are accepted as well.
</source>
        <translation>použití: zoredit [--check] [SOUBOR...]

Otevře každý SOUBOR (dokument *.zor) ve vlastním okně.

  --check      spustí se bez okna, ohlásí symbolové písmo, nápovědu,
               soubor nastavení a každé hlášení, které by ukázalo spuštění,
               a skončí (stav 0, když nic nechybí)
  --version    vypíše verzi a skončí
  --help       vypíše tento text a skončí

Přijímají se i vlastní volby Qt (-platform, -style, ...).
</translation>
    </message>
</context>
<context>
    <name>DeviceTest</name>
    <message>
        <source>gateway online</source>
        <translation>brána online</translation>
    </message>
    <message>
        <source>gateway offline</source>
        <translation>brána offline</translation>
    </message>
    <message>
        <source>no gateway has announced itself for this panel at its broker</source>
        <translation>u brokeru tohoto panelu se dosud neohlásila žádná brána</translation>
    </message>
    <message>
        <source>Test stopped.</source>
        <translation>Test byl zastaven.</translation>
    </message>
    <message>
        <source>No device given.</source>
        <translation>Není zadáno žádné zařízení.</translation>
    </message>
    <message>
        <source>Cannot open %1.</source>
        <translation>Nelze otevřít %1.</translation>
    </message>
    <message>
        <source>Opened %1, but it does not take %2 baud 8N1.</source>
        <translation>Zařízení %1 bylo otevřeno, ale nepřijímá %2 Bd 8N1.</translation>
    </message>
    <message>
        <source>Opened %1 at %2 baud.</source>
        <translation>Zařízení %1 bylo otevřeno s rychlostí %2 Bd.</translation>
    </message>
    <message>
        <source>Connected to %1 (raw TCP: the server&apos;s own line settings apply).</source>
        <translation>Spojeno s %1 (prosté TCP: platí vlastní nastavení linky sériového serveru).</translation>
    </message>
    <message>
        <source>Connected to %1, line set to %2 baud 8N1.</source>
        <translation>Spojeno s %1, linka nastavena na %2 Bd 8N1.</translation>
    </message>
</context>
<context>
    <name>DocumentIO</name>
    <message>
        <source>Cannot read file %1. %2</source>
        <translation>Soubor %1 nelze přečíst. %2</translation>
    </message>
    <message>
        <source>Cannot read file %1. It is too large for a document.</source>
        <translation>Soubor %1 nelze přečíst. Je na dokument příliš velký.</translation>
    </message>
    <message>
        <source>Cannot open file %1. %2</source>
        <translation>Soubor %1 nelze otevřít. %2</translation>
    </message>
    <message>
        <source>File %1: %2</source>
        <translation>Soubor %1: %2</translation>
    </message>
    <message>
        <source>Cannot write file %1. %2</source>
        <translation>Soubor %1 nelze zapsat. %2</translation>
    </message>
    <message>
        <source>Cannot create file %1. %2</source>
        <translation>Soubor %1 nelze vytvořit. %2</translation>
    </message>
</context>
<context>
    <name>ExportDialog</name>
    <message>
        <source>Information</source>
        <translation>Informace</translation>
    </message>
    <message>
        <source>The document has no commands: there is nothing to export.</source>
        <translation>Dokument neobsahuje žádné příkazy: není co exportovat.</translation>
    </message>
    <message>
        <source>Animated GIF</source>
        <translation>Animovaný GIF</translation>
    </message>
    <message>
        <source>Export animation</source>
        <translation>Exportovat animaci</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Dotaz</translation>
    </message>
    <message>
        <source>%1 exists
Overwrite?</source>
        <translation>%1 existuje
Přepsat?</translation>
    </message>
    <message>
        <source>Writing %1...</source>
        <translation>Zapisuje se %1...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Zrušit</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 nelze zapsat: %2</translation>
    </message>
</context>
<context>
    <name>FileDrops</name>
    <message>
        <source>It is not a file.</source>
        <translation>Není to soubor.</translation>
    </message>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>Složka %1 neexistuje.</translation>
    </message>
    <message>
        <source>Cannot open file %1. %2</source>
        <translation>Soubor %1 nelze otevřít. %2</translation>
    </message>
</context>
<context>
    <name>FontCheck</name>
    <message>
        <source>Warning</source>
        <translation>Upozornění</translation>
    </message>
    <message>
        <source>Required ZorSymbolFont is not installed.
Warning: Function symbols will not be
displayed correctly</source>
        <translation>Požadované písmo ZorSymbolFont není nainstalováno.
Upozornění: Příkazové symboly se
nebudou zobrazovat správně</translation>
    </message>
</context>
<context>
    <name>MqttSend</name>
    <message>
        <source>the gateway for %1 answered: %2</source>
        <translation>brána pro %1 odpověděla: %2</translation>
    </message>
    <message>
        <source>the gateway for %1 is offline</source>
        <translation>brána pro %1 je offline</translation>
    </message>
    <message>
        <source>the gateway for %1 went away during the transfer</source>
        <translation>brána pro %1 se během přenosu odpojila</translation>
    </message>
    <message>
        <source>the connection to the broker was lost during the transfer</source>
        <translation>spojení s brokerem se během přenosu přerušilo</translation>
    </message>
    <message>
        <source>no answer from the gateway for %1 within %2 seconds</source>
        <translation>brána pro %1 neodpověděla do %2 s</translation>
    </message>
    <message>
        <source>the broker refused the login (%1)</source>
        <translation>broker odmítl přihlášení (%1)</translation>
    </message>
    <message>
        <source>the broker at %1 closed the connection</source>
        <translation>broker na %1 ukončil spojení</translation>
    </message>
    <message>
        <source>the broker at %1 cannot be reached</source>
        <translation>broker na %1 není dostupný</translation>
    </message>
    <message>
        <source>the broker at %1 did not answer</source>
        <translation>broker na %1 neodpověděl</translation>
    </message>
    <message>
        <source>the broker at %1 cannot be reached: %2</source>
        <translation>broker na %1 není dostupný: %2</translation>
    </message>
    <message>
        <source>the gateway for %1 takes both counters as numbers: a blank one cannot go to it</source>
        <translation>brána pro %1 přijímá obě počítadla jen jako čísla: prázdné pole jí poslat nelze</translation>
    </message>
    <message>
        <source>this build cannot reach panels through an MQTT broker</source>
        <translation>tato verze neumí posílat panelům přes MQTT broker</translation>
    </message>
    <message>
        <source>the gateway for %1 is offline (since %2)</source>
        <translation>brána pro %1 je offline (od %2)</translation>
    </message>
</context>
<context>
    <name>NetPort</name>
    <message>
        <source>Cannot reach %1: %2</source>
        <translation>Nelze se spojit s %1: %2</translation>
    </message>
    <message>
        <source>stopped while connecting.</source>
        <translation>zastaveno během navazování spojení.</translation>
    </message>
    <message>
        <source>The server %1 closed the connection</source>
        <translation>Sériový server %1 ukončil spojení</translation>
    </message>
    <message>
        <source>The connection to %1 failed (%2)</source>
        <translation>Spojení s %1 selhalo (%2)</translation>
    </message>
    <message>
        <source>write socket://HOST:PORT or rfc2217://HOST:PORT, PORT a number from 1 to 65535.</source>
        <translation>zapište socket://HOST:PORT nebo rfc2217://HOST:PORT, kde PORT je číslo od 1 do 65535.</translation>
    </message>
    <message>
        <source>the server %1 closed the connection at once.</source>
        <translation>sériový server %1 spojení ihned ukončil.</translation>
    </message>
    <message>
        <source>the connection was refused by %1.</source>
        <translation>%1 spojení odmítl.</translation>
    </message>
    <message>
        <source>Cannot reach %1: %2.</source>
        <translation>Nelze se spojit s %1: %2.</translation>
    </message>
    <message>
        <source>no answer to the connection within %1 s.</source>
        <translation>na spojení nepřišla odpověď do %1 s.</translation>
    </message>
    <message>
        <source>the name %1 does not resolve (%2).</source>
        <translation>název %1 nelze přeložit na adresu (%2).</translation>
    </message>
    <message>
        <source>the name %1 did not resolve within %2 s.</source>
        <translation>název %1 se nepodařilo přeložit na adresu do %2 s.</translation>
    </message>
    <message>
        <source>%1 before it acknowledged the line settings.</source>
        <translation>%1 dříve, než potvrdil nastavení linky.</translation>
    </message>
    <message>
        <source>The server %1 refused the line settings (%2 baud, 8N1).</source>
        <translation>Sériový server %1 odmítl nastavení linky (%2 Bd, 8N1).</translation>
    </message>
    <message>
        <source>The server %1 sent no answer to the line settings within %2 s (%3 baud, 8N1).</source>
        <translation>Sériový server %1 neodpověděl na nastavení linky do %2 s (%3 Bd, 8N1).</translation>
    </message>
</context>
<context>
    <name>PanelSend</name>
    <message>
        <source>too many open files (limit %1, %2 panel needs about %3)</source>
        <translation>příliš mnoho otevřených souborů (limit %1, %2 panel potřebuje asi %3)</translation>
    </message>
    <message>
        <source>too many open files (limit %1, %2 panels need about %3)</source>
        <translation>příliš mnoho otevřených souborů (limit %1, panely (%2) potřebují asi %3)</translation>
    </message>
</context>
<context>
    <name>Panels</name>
    <message>
        <source>A panel needs a name</source>
        <translation>Panel musí mít název</translation>
    </message>
    <message>
        <source>A panel&apos;s name cannot begin or end with a blank</source>
        <translation>Název panelu nesmí začínat ani končit mezerou</translation>
    </message>
    <message>
        <source>A panel&apos;s name cannot begin with &apos;[&apos; or &apos;;&apos;</source>
        <translation>Název panelu nesmí začínat znakem „[“ ani „;“</translation>
    </message>
    <message>
        <source>A panel&apos;s name cannot hold &apos;=&apos;, a comma, a tab or a line break</source>
        <translation>Název panelu nesmí obsahovat „=“, čárku, tabulátor ani konec řádku</translation>
    </message>
    <message>
        <source>%1=%2: &quot;%3&quot; is no rate; the panel works at 4800, 9600 or 19200 baud</source>
        <translation>%1=%2: „%3“ není přenosová rychlost; panel pracuje s rychlostí 4800, 9600 nebo 19200 Bd</translation>
    </message>
    <message>
        <source>the panel &quot;%1&quot;: %2</source>
        <translation>panel „%1“: %2</translation>
    </message>
    <message>
        <source>the panels &quot;%1&quot; and &quot;%2&quot; have one name (case does not tell names apart)</source>
        <translation>panely „%1“ a „%2“ mají stejný název (velikost písmen názvy nerozlišuje)</translation>
    </message>
</context>
<context>
    <name>PortProblem</name>
    <message>
        <source>The port %1 is in use by another program.</source>
        <translation>Port %1 používá jiný program.</translation>
    </message>
    <message>
        <source>The port %1 is in use by another program (process %2).</source>
        <translation>Port %1 používá jiný program (proces %2).</translation>
    </message>
    <message>
        <source>The port %1 is in use by another program (%2, process %3).</source>
        <translation>Port %1 používá jiný program (%2, proces %3).</translation>
    </message>
    <message>
        <source>%1 is not a serial device.</source>
        <translation>%1 není sériové zařízení.</translation>
    </message>
    <message>
        <source>The device %1 does not exist.</source>
        <translation>Zařízení %1 neexistuje.</translation>
    </message>
    <message>
        <source>Permission denied on %1: add your user to the device&apos;s group %2 (sudo usermod -aG %2 $USER), then log in again.</source>
        <translation>Přístup k %1 byl odepřen: přidejte svého uživatele do skupiny zařízení %2 (sudo usermod -aG %2 $USER) a znovu se přihlaste.</translation>
    </message>
    <message>
        <source>Cannot open %1: %2.</source>
        <translation>Nelze otevřít %1: %2.</translation>
    </message>
</context>
<context>
    <name>Printing</name>
    <message>
        <source>Printing %1 failed.</source>
        <translation>Tisk dokumentu %1 se nezdařil.</translation>
    </message>
</context>
<context>
    <name>ProfileFile</name>
    <message>
        <source>%1 is larger than %2 KB and is not a settings file</source>
        <translation>%1 je větší než %2 KB a není to soubor nastavení</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>nelze přečíst %1: %2</translation>
    </message>
</context>
<context>
    <name>Recovery</name>
    <message>
        <source>held by another editor</source>
        <translation>zámek drží jiný editor</translation>
    </message>
    <message>
        <source>cannot be made</source>
        <translation>zámek nelze vytvořit</translation>
    </message>
    <message>
        <source>no recovery folder</source>
        <translation>žádná složka kopií pro obnovení</translation>
    </message>
    <message>
        <source>cannot make %1</source>
        <translation>nelze vytvořit %1</translation>
    </message>
    <message>
        <source>%1 is not a folder of this user&apos;s own</source>
        <translation>%1 není vlastní složka tohoto uživatele</translation>
    </message>
    <message>
        <source>cannot make a folder in %1</source>
        <translation>v %1 nelze vytvořit složku</translation>
    </message>
    <message>
        <source>cannot lock %1</source>
        <translation>%1 nelze zamknout</translation>
    </message>
    <message>
        <source>cannot name %1</source>
        <translation>%1 nelze pojmenovat</translation>
    </message>
    <message>
        <source>its file name cannot be read: %1</source>
        <translation>nelze přečíst název souboru dokumentu: %1</translation>
    </message>
    <message>
        <source>it is not RTF</source>
        <translation>není ve formátu RTF</translation>
    </message>
</context>
<context>
    <name>Results</name>
    <message>
        <source>Communication O.K.</source>
        <translation>Komunikace v pořádku.</translation>
    </message>
    <message>
        <source>Unknow Error</source>
        <translation>Neznámá chyba</translation>
    </message>
    <message>
        <source>CRC is not correct</source>
        <translation>Chybný kontrolní součet (CRC)</translation>
    </message>
    <message>
        <source>Hardware Failure</source>
        <translation>Chyba hardwaru</translation>
    </message>
    <message>
        <source>Timeout</source>
        <translation>Vypršel časový limit</translation>
    </message>
    <message>
        <source>Memory not aviable</source>
        <translation>Nedostatek paměti panelu</translation>
    </message>
    <message>
        <source>Program disable</source>
        <translation>Příjem programu zakázán</translation>
    </message>
    <message>
        <source>Error inic file</source>
        <translation>Chyba souboru nastavení</translation>
    </message>
    <message>
        <source>Number of text segments     <byte value="xd"/>exceed internal limit (100).<byte value="xd"/>Try,please,reduce number    <byte value="xd"/>of text segments</source>
        <translation>Počet textových úseků<byte value="xd"/>překračuje vnitřní limit (100).<byte value="xd"/>Snižte prosím počet<byte value="xd"/>textových úseků</translation>
    </message>
</context>
<context>
    <name>RtfReader</name>
    <message>
        <source>The RTF document ends before its last group is closed; the file may be truncated.</source>
        <translation>Dokument RTF končí dřív, než se uzavře jeho poslední skupina; soubor je možná zkrácený.</translation>
    </message>
    <message>
        <source>The RTF groups are nested more than %1 levels deep.</source>
        <translation>Skupiny RTF jsou vnořeny hlouběji než %1 úrovní.</translation>
    </message>
</context>
<context>
    <name>Serial</name>
    <message>
        <source>The device %1 went away</source>
        <translation>Zařízení %1 zmizelo</translation>
    </message>
    <message>
        <source>%1 during the Open frame, before any block was sent. Send again once it is back.</source>
        <translation>%1 během zprávy Open, před odesláním prvního bloku. Až bude zpět, odešlete znovu.</translation>
    </message>
    <message>
        <source>%1 during the numeric message. Send again once it is back.</source>
        <translation>%1 během číselné zprávy. Až bude zpět, odešlete znovu.</translation>
    </message>
    <message>
        <source>%1 during block %2 of %3: the panel may now hold part of the program. Send again once it is back.</source>
        <translation>%1 během bloku %2 z %3: panel teď může mít jen část programu. Až bude zpět, odešlete znovu.</translation>
    </message>
    <message>
        <source>%1 during the Close frame, after all %2 blocks: the panel may now hold part of the program. Send again once it is back.</source>
        <translation>%1 během zprávy Close, po všech blocích (%2): panel teď může mít jen část programu. Až bude zpět, odešlete znovu.</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>%1=%2 in section [%3] of %4: the panel works at 4800, 9600 or 19200 baud</source>
        <translation>%1=%2 v sekci [%3] souboru %4: panel pracuje s rychlostí 4800, 9600 nebo 19200 Bd</translation>
    </message>
    <message>
        <source>%1 is read-only</source>
        <translation>%1 je jen pro čtení</translation>
    </message>
</context>
<context>
    <name>StartupCheck</name>
    <message>
        <source>message box: %1: %2</source>
        <translation>okno hlášení: %1: %2</translation>
    </message>
    <message>
        <source>symbol font: %1</source>
        <translation>symbolové písmo: %1</translation>
    </message>
    <message>
        <source>not found</source>
        <translation>nenalezeno</translation>
    </message>
    <message>
        <source>manual: %1 %2</source>
        <translation>nápověda: %1 %2</translation>
    </message>
    <message>
        <source>found</source>
        <translation>nalezeno</translation>
    </message>
    <message>
        <source>settings file: %1</source>
        <translation>soubor nastavení: %1</translation>
    </message>
    <message>
        <source>settings file: %1 (its folder is not writable)</source>
        <translation>soubor nastavení: %1 (do jeho složky nelze zapisovat)</translation>
    </message>
    <message>
        <source>recovery folder: %1</source>
        <translation>složka kopií pro obnovení: %1</translation>
    </message>
    <message>
        <source>recovery folder: %1 (cannot be written: %2)</source>
        <translation>složka kopií pro obnovení: %1 (nelze do ní zapisovat: %2)</translation>
    </message>
    <message>
        <source>recovery copies go to: %1</source>
        <translation>kopie pro obnovení se ukládají do: %1</translation>
    </message>
    <message>
        <source>document window: %1</source>
        <translation>okno dokumentu: %1</translation>
    </message>
</context>
<context>
    <name>SymbolTips</name>
    <message>
        <source>%1 %2: %3 s</source>
        <translation>%1 %2: %3 s</translation>
    </message>
    <message>
        <source>%1 %2: 0.%3 s</source>
        <translation>%1 %2: 0,%3 s</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1: %2 s</source>
        <translation>%1: %2 s</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n time</source>
        <translation>
            <numerusform>%1: %nkrát</numerusform>
            <numerusform>%1: %nkrát</numerusform>
            <numerusform>%1: %nkrát</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1: %n times</source>
        <translation>
            <numerusform>%1: %nkrát</numerusform>
            <numerusform>%1: %nkrát</numerusform>
            <numerusform>%1: %nkrát</numerusform>
        </translation>
    </message>
    <message>
        <source>%1, the %2st text</source>
        <translation>%1, %2. text</translation>
    </message>
    <message>
        <source>%1, the %2nd text</source>
        <translation>%1, %2. text</translation>
    </message>
    <message>
        <source>%1, the %2rd text</source>
        <translation>%1, %2. text</translation>
    </message>
    <message>
        <source>%1, the %2th text</source>
        <translation>%1, %2. text</translation>
    </message>
</context>
<context>
    <name>SystemError</name>
    <message>
        <source>No such file or directory</source>
        <translation>Soubor nebo složka neexistuje</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Přístup odepřen</translation>
    </message>
    <message>
        <source>Operation not permitted</source>
        <translation>Operace není povolena</translation>
    </message>
    <message>
        <source>Device or resource busy</source>
        <translation>Zařízení nebo prostředek je používán</translation>
    </message>
    <message>
        <source>Is a directory</source>
        <translation>Je to složka</translation>
    </message>
    <message>
        <source>Not a directory</source>
        <translation>Není to složka</translation>
    </message>
    <message>
        <source>No such device</source>
        <translation>Zařízení neexistuje</translation>
    </message>
    <message>
        <source>No such device or address</source>
        <translation>Zařízení nebo adresa neexistuje</translation>
    </message>
    <message>
        <source>Input/output error</source>
        <translation>Chyba vstupu/výstupu</translation>
    </message>
    <message>
        <source>No space left on device</source>
        <translation>Na zařízení nezbývá místo</translation>
    </message>
    <message>
        <source>Read-only file system</source>
        <translation>Systém souborů je jen pro čtení</translation>
    </message>
    <message>
        <source>File exists</source>
        <translation>Soubor již existuje</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation>Příliš mnoho otevřených souborů</translation>
    </message>
    <message>
        <source>Connection timed out</source>
        <translation>Vypršel časový limit spojení</translation>
    </message>
    <message>
        <source>Connection refused</source>
        <translation>Spojení bylo odmítnuto</translation>
    </message>
    <message>
        <source>Connection reset by peer</source>
        <translation>Spojení bylo ukončeno protistranou</translation>
    </message>
    <message>
        <source>No route to host</source>
        <translation>Cesta k hostiteli neexistuje</translation>
    </message>
    <message>
        <source>Network is unreachable</source>
        <translation>Síť je nedostupná</translation>
    </message>
    <message>
        <source>Broken pipe</source>
        <translation>Přerušená roura</translation>
    </message>
</context>
<context>
    <name>TDialogs</name>
    <message>
        <source>&amp;Overwrite</source>
        <translation>&amp;Přepsat</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Uložit &amp;jako...</translation>
    </message>
    <message>
        <source>&amp;Recover</source>
        <translation>&amp;Obnovit</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Zahodit</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Uložit jako</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Otevřít</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Písmo</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Barva</translation>
    </message>
</context>
<context>
    <name>TMDIChild</name>
    <message>
        <source>Untitled</source>
        <translation>Bez názvu</translation>
    </message>
    <message>
        <source>Untitled %1</source>
        <translation>Bez názvu %1</translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>&amp;Redo</source>
        <translation>Z&amp;novu</translation>
    </message>
    <message>
        <source>Redo|Repeat the last operation undone</source>
        <translation>Znovu|Provede znovu poslední vrácenou změnu</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Nový</translation>
    </message>
    <message>
        <source>New|Creates a new window</source>
        <translation>Nový|Vytvoří nový dokument v novém okně</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Otevřít...</translation>
    </message>
    <message>
        <source>Open|Opens a window</source>
        <translation>Otevřít|Otevře dokument v novém okně</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Uložit</translation>
    </message>
    <message>
        <source>Save|Saves the active document</source>
        <translation>Uložit|Uloží aktivní dokument</translation>
    </message>
    <message>
        <source>S&amp;ave As ...</source>
        <translation>Uložit j&amp;ako...</translation>
    </message>
    <message>
        <source>Saves as|Saves the active document with a new name</source>
        <translation>Uložit jako|Uloží aktivní dokument pod novým názvem</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Zavřít</translation>
    </message>
    <message>
        <source>Close|Clears the active document</source>
        <translation>Zavřít|Zavře aktivní dokument</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Tisk...</translation>
    </message>
    <message>
        <source>Print|Prints the active document</source>
        <translation>Tisk|Vytiskne aktivní dokument</translation>
    </message>
    <message>
        <source>P&amp;rinter setup ...</source>
        <translation>Nasta&amp;vení tiskárny...</translation>
    </message>
    <message>
        <source>Printer setup|Sets print characteristic for the active document</source>
        <translation>Nastavení tiskárny|Nastaví tisk aktivního dokumentu</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Konec</translation>
    </message>
    <message>
        <source>Exit|Quits ZorEdit and prompts to save the documents</source>
        <translation>Konec|Ukončí ZorEdit a nabídne uložení dokumentů</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Vyjmou&amp;t</translation>
    </message>
    <message>
        <source>Cut|Cuts the selection and puts it on the Clipboard</source>
        <translation>Vyjmout|Přesune výběr do schránky</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopírovat</translation>
    </message>
    <message>
        <source>Copy|Copies the selection and puts it on the Clipboard</source>
        <translation>Kopírovat|Zkopíruje výběr do schránky</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>V&amp;ložit</translation>
    </message>
    <message>
        <source>Paste|Insert the Clipboard contents at the insertion point</source>
        <translation>Vložit|Vloží obsah schránky na místo kurzoru</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>Vybrat &amp;vše</translation>
    </message>
    <message>
        <source>Select all|All text selection</source>
        <translation>Vybrat vše|Označí celý text</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Zpět</translation>
    </message>
    <message>
        <source>Undo|Reverse the last operation</source>
        <translation>Zpět|Vrátí poslední změnu</translation>
    </message>
    <message>
        <source>&amp;Cascade</source>
        <translation>&amp;Kaskádově</translation>
    </message>
    <message>
        <source>Cascade</source>
        <translation>Kaskádově</translation>
    </message>
    <message>
        <source>Tile &amp;Horizontally</source>
        <translation>Dlaždicově &amp;vodorovně</translation>
    </message>
    <message>
        <source>Tile horizontally</source>
        <translation>Dlaždicově vodorovně</translation>
    </message>
    <message>
        <source>&amp;Tile Vertically</source>
        <translation>Dlaždicově &amp;svisle</translation>
    </message>
    <message>
        <source>Tile vertically</source>
        <translation>Dlaždicově svisle</translation>
    </message>
    <message>
        <source>&amp;Font</source>
        <translation>&amp;Písmo</translation>
    </message>
    <message>
        <source>Character|Change font attributes</source>
        <translation>Písmo|Změní vlastnosti písma</translation>
    </message>
    <message>
        <source>&amp;All commands</source>
        <translation>&amp;Všechny příkazy</translation>
    </message>
    <message>
        <source>All commands|Enables the line, repeat, green and yellow buttons</source>
        <translation>Všechny příkazy|Zpřístupní tlačítka řádku, opakování a zelené a žluté barvy</translation>
    </message>
    <message>
        <source>&amp;Parameters ...</source>
        <translation>&amp;Parametry...</translation>
    </message>
    <message>
        <source>Parameters|Change parameters communications</source>
        <translation>Parametry|Změní parametry komunikace</translation>
    </message>
    <message>
        <source>&amp;Send</source>
        <translation>&amp;Odeslat</translation>
    </message>
    <message>
        <source>Send|Send to display</source>
        <translation>Odeslat|Odešle program na panel</translation>
    </message>
    <message>
        <source>Send to p&amp;anels...</source>
        <translation>Odeslat na p&amp;anely...</translation>
    </message>
    <message>
        <source>Send to panels|Send to several named panels at once</source>
        <translation>Odeslat na panely|Odešle program na několik pojmenovaných panelů najednou</translation>
    </message>
    <message>
        <source>&amp;Transfer log</source>
        <translation>&amp;Záznam přenosu</translation>
    </message>
    <message>
        <source>Transfer log|Show the log of the last transfer</source>
        <translation>Záznam přenosu|Ukáže záznam posledního přenosu</translation>
    </message>
    <message>
        <source>Si&amp;mulation</source>
        <translation>&amp;Simulace</translation>
    </message>
    <message>
        <source>Simulation</source>
        <translation>Simulace</translation>
    </message>
    <message>
        <source>Pre&amp;view</source>
        <translation>&amp;Náhled</translation>
    </message>
    <message>
        <source>Preview|Shows the panel running the active document</source>
        <translation>Náhled|Ukáže panel, na kterém běží aktivní dokument</translation>
    </message>
    <message>
        <source>E&amp;xport animation...</source>
        <translation>E&amp;xportovat animaci...</translation>
    </message>
    <message>
        <source>Export animation|Writes the active document&apos;s run as a GIF</source>
        <translation>Exportovat animaci|Zapíše běh aktivního dokumentu jako GIF</translation>
    </message>
    <message>
        <source>&amp;Numeric fields</source>
        <translation>Číselné ú&amp;daje</translation>
    </message>
    <message>
        <source>Numeric fields|Send to display numeric value</source>
        <translation>Číselné údaje|Odešle na panel číselné hodnoty</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Obsah</translation>
    </message>
    <message>
        <source>Help|Help table of contents</source>
        <translation>Nápověda|Obsah nápovědy</translation>
    </message>
    <message>
        <source>&amp;Help on Help</source>
        <translation>&amp;Jak používat nápovědu</translation>
    </message>
    <message>
        <source>Help|Help on using online help</source>
        <translation>Nápověda|Jak používat nápovědu</translation>
    </message>
    <message>
        <source>&amp;About ...</source>
        <translation>O &amp;programu...</translation>
    </message>
    <message>
        <source>About|About the ZorEdit application</source>
        <translation>O programu|O aplikaci ZorEdit</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Soubor</translation>
    </message>
    <message>
        <source>File|Create, open, save and print documents</source>
        <translation>Soubor|Vytváření, otevírání, ukládání a tisk dokumentů</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>Ú&amp;pravy</translation>
    </message>
    <message>
        <source>Edit|Edit operations</source>
        <translation>Úpravy|Úpravy textu</translation>
    </message>
    <message>
        <source>&amp;Character</source>
        <translation>Zna&amp;k</translation>
    </message>
    <message>
        <source>Character|Change fonts and colors</source>
        <translation>Znak|Změna písma a barev</translation>
    </message>
    <message>
        <source>&amp;Zor</source>
        <translation>&amp;Zor</translation>
    </message>
    <message>
        <source>Zor|Communications PC - display</source>
        <translation>Zor|Komunikace počítač – panel</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>&amp;Okno</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Okno</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Nápověda</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Nápověda</translation>
    </message>
    <message>
        <source>ToolBar1</source>
        <extracomment>A toolbar&apos;s name in the context menu of the toolbar area: the file and edit buttons</extracomment>
        <translation>Lišta nástrojů 1</translation>
    </message>
    <message>
        <source>ToolBar2</source>
        <extracomment>A toolbar&apos;s name in the context menu of the toolbar area: the first command buttons</extracomment>
        <translation>Lišta nástrojů 2</translation>
    </message>
    <message>
        <source>ToolBar3</source>
        <extracomment>A toolbar&apos;s name in the context menu of the toolbar area: the other command buttons</extracomment>
        <translation>Lišta nástrojů 3</translation>
    </message>
</context>
<context>
    <name>TransferDialogs</name>
    <message>
        <source>%1 and %2 use the same device (%3): one device takes one transfer at a time.</source>
        <translation>%1 a %2 používají stejné zařízení (%3): jedno zařízení zvládne jen jeden přenos najednou.</translation>
    </message>
    <message>
        <source>Transfer cancelled</source>
        <translation>Přenos zrušen</translation>
    </message>
    <message>
        <source>The document holds 1 character in the symbol font without a command colour (on line %1); the panel gets it as the plain character it is.</source>
        <translation>Dokument obsahuje 1 znak symbolového písma bez barvy příkazu (na řádku %1); panel jej dostane jako obyčejný znak, kterým je.</translation>
    </message>
    <message numerus="yes">
        <source>The document holds %n characters in the symbol font without a command colour (the first on line %1); the panel gets them as the plain characters they are.</source>
        <translation>
            <numerusform>Dokument obsahuje %n znak symbolového písma bez barvy příkazu (na řádku %1); panel jej dostane jako obyčejný znak, kterým je.</numerusform>
            <numerusform>Dokument obsahuje %n znaky symbolového písma bez barvy příkazu (první na řádku %1); panel je dostane jako obyčejné znaky, kterými jsou.</numerusform>
            <numerusform>Dokument obsahuje %n znaků symbolového písma bez barvy příkazu (první na řádku %1); panel je dostane jako obyčejné znaky, kterými jsou.</numerusform>
        </translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Upozornění</translation>
    </message>
    <message>
        <source>Send anyway?</source>
        <translation>Přesto odeslat?</translation>
    </message>
    <message>
        <source>The document is empty. Sending it clears the panel. Send anyway?</source>
        <translation>Dokument je prázdný. Jeho odeslání panel vymaže. Přesto odeslat?</translation>
    </message>
    <message>
        <source>The panel cannot show these characters; they are sent as &apos;?&apos;:</source>
        <translation>Tyto znaky panel neumí zobrazit; odešlou se jako „?“:</translation>
    </message>
    <message>
        <source>
line %1, column %2: %3 (U+%4)</source>
        <translation>
řádek %1, sloupec %2: %3 (U+%4)</translation>
    </message>
    <message numerus="yes">
        <source>
and %n more</source>
        <translation>
            <numerusform>
a ještě %n další</numerusform>
            <numerusform>
a ještě %n další</numerusform>
            <numerusform>
a ještě %n dalších</numerusform>
        </translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Informace</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Chyba</translation>
    </message>
    <message>
        <source>The transfer log was not written:
%1</source>
        <translation>Záznam přenosu nebyl zapsán:
%1</translation>
    </message>
    <message>
        <source>Only numeric value</source>
        <translation>Pouze číselná hodnota</translation>
    </message>
</context>
<context>
    <name>Vocabulary</name>
    <message>
        <source>Move text in from right|It moves the text in from the right</source>
        <translation>Vjezd textu zprava|Text vjede zprava</translation>
    </message>
    <message>
        <source>Move text in from right at half-speed|It moves the text in from the right at a half-speed</source>
        <translation>Vjezd textu zprava poloviční rychlostí|Text vjede zprava poloviční rychlostí</translation>
    </message>
    <message>
        <source>Move text in from top|It moves the text in from the top</source>
        <translation>Vjezd textu shora|Text vjede shora</translation>
    </message>
    <message>
        <source>Display text directly|It displays the text directly</source>
        <translation>Přímé zobrazení textu|Text se zobrazí přímo</translation>
    </message>
    <message>
        <source>Move text in from bottom|It moves the text in from the bottom</source>
        <translation>Vjezd textu zdola|Text vjede zdola</translation>
    </message>
    <message>
        <source>Alternate texts|The new and old texts are alternately displayed with a frequency of 0.5 Hz</source>
        <translation>Střídání textů|Nový a starý text se střídavě zobrazují s frekvencí 0,5 Hz</translation>
    </message>
    <message>
        <source>Move in matched lines|The new moves in both from the right and left through matched lines</source>
        <translation>Vjezd po prokládaných řádcích|Nový text vjede zprava i zleva po prokládaných řádcích</translation>
    </message>
    <message>
        <source>Snow text|The new text overwrites the old one by the gradual random start of display of new text dots (snowing effect ).</source>
        <translation>Sněžení textu|Nový text přepíše starý postupným náhodným rozsvěcováním bodů nového textu (efekt sněžení).</translation>
    </message>
    <message>
        <source>Overwrite from sides|Two converging vertical lines overwrite the old text with a new one</source>
        <translation>Přepsání od okrajů|Dvě sbíhající se svislé čáry přepíšou starý text novým</translation>
    </message>
    <message>
        <source>Overwrite from centre|Two vertical lines moving apart from the centre overwrite the old text with a new one.</source>
        <translation>Přepsání od středu|Dvě svislé čáry rozbíhající se od středu přepíšou starý text novým.</translation>
    </message>
    <message>
        <source>Move text in from left|It moves the text in from the left</source>
        <translation>Vjezd textu zleva|Text vjede zleva</translation>
    </message>
    <message>
        <source>Uncover text by falling dots|Falling dots uncover the new text</source>
        <translation>Odkrytí textu padajícími body|Padající body odkryjí nový text</translation>
    </message>
    <message>
        <source>Set line|It sets the line for displaying the following text</source>
        <translation>Nastavení řádku|Nastaví řádek, na kterém se zobrazí následující text</translation>
    </message>
    <message>
        <source>Repeat|It repeats the texts and commands within the brackets for a certain number of times</source>
        <translation>Opakování|Opakuje texty a příkazy v závorkách zadaný počet krát</translation>
    </message>
    <message>
        <source>Pause|Pause in seconds (1 - 99) or miliseconds (01 - 09)</source>
        <translation>Pauza|Pauza v sekundách (1 - 99) nebo milisekundách (01 - 09)</translation>
    </message>
    <message>
        <source>Blinking on|It swtches the blinking on. The following text will blink until it is switched off</source>
        <translation>Blikání zapnuto|Zapne blikání. Následující text bude blikat, dokud se blikání nevypne</translation>
    </message>
    <message>
        <source>Blinking off|It swtched the blinking off</source>
        <translation>Blikání vypnuto|Vypne blikání</translation>
    </message>
    <message>
        <source>Normal non-proportional font|Normal non-proportional font (default)</source>
        <translation>Normální neproporcionální písmo|Normální neproporcionální písmo (výchozí)</translation>
    </message>
    <message>
        <source>Bold font</source>
        <translation>Tučné písmo</translation>
    </message>
    <message>
        <source>Wide font</source>
        <translation>Široké písmo</translation>
    </message>
    <message>
        <source>Display propellers|It displays spinning propellers for 5 seconds</source>
        <translation>Vrtulky|Zobrazí na 5 sekund točící se vrtulky</translation>
    </message>
    <message>
        <source>Streams|It displays 2 streams of lines moving against each other</source>
        <translation>Proudy|Zobrazí 2 proudy čar, které se pohybují proti sobě</translation>
    </message>
    <message>
        <source>Blink motive|The last displayed motive blinks for 5 seconds</source>
        <translation>Blikání obrazu|Naposledy zobrazený obraz bliká 5 sekund</translation>
    </message>
    <message>
        <source>Clear all|It clears the whole display</source>
        <translation>Smazat vše|Smaže celý panel</translation>
    </message>
    <message>
        <source>Circulating frame|It displays a circulating frame around the text</source>
        <translation>Obíhající rámeček|Zobrazí kolem textu obíhající rámeček</translation>
    </message>
    <message>
        <source>Clear from centre|Two vertical lines moving apart from the centre clear the whole display</source>
        <translation>Smazání od středu|Dvě svislé čáry rozbíhající se od středu smažou celý panel</translation>
    </message>
    <message>
        <source>Light up from centre|Two vertical lines moving apart from the centre light up the whole display</source>
        <translation>Rozsvícení od středu|Dvě svislé čáry rozbíhající se od středu rozsvítí celý panel</translation>
    </message>
    <message>
        <source>Image inversion</source>
        <translation>Inverze obrazu</translation>
    </message>
    <message>
        <source>Time|Displays the time (HH:MM:SS format) for a certain number of seconds</source>
        <translation>Čas|Zobrazí čas (ve formátu HH:MM:SS) na zadaný počet sekund</translation>
    </message>
    <message>
        <source>Date and time|Displays the date and time (DD:MM, HH:MM:SS format) for a certain number of seconds</source>
        <translation>Datum a čas|Zobrazí datum a čas (ve formátu DD:MM, HH:MM:SS) na zadaný počet sekund</translation>
    </message>
    <message>
        <source>Spaces|A string of spaces along the whole display</source>
        <translation>Mezery|Řada mezer přes celý panel</translation>
    </message>
    <message>
        <source>Full character|A string of full characters along the whole display</source>
        <translation>Plné znaky|Řada plných znaků přes celý panel</translation>
    </message>
    <message>
        <source>Font color - Red|Font color - Red (default)</source>
        <translation>Barva písma – červená|Barva písma – červená (výchozí)</translation>
    </message>
    <message>
        <source>Font color - Green</source>
        <translation>Barva písma – zelená</translation>
    </message>
    <message>
        <source>Font color - Yellow</source>
        <translation>Barva písma – žlutá</translation>
    </message>
    <message>
        <source>Font color - Black</source>
        <translation>Barva písma – černá</translation>
    </message>
    <message>
        <source>Backgroun color - Black|Background color - Black (default)</source>
        <translation>Barva pozadí – černá|Barva pozadí – černá (výchozí)</translation>
    </message>
    <message>
        <source>Backgroung color - Red</source>
        <translation>Barva pozadí – červená</translation>
    </message>
    <message>
        <source>Background color - Green</source>
        <translation>Barva pozadí – zelená</translation>
    </message>
    <message>
        <source>Background color - Yellow</source>
        <translation>Barva pozadí – žlutá</translation>
    </message>
</context>
<context>
    <name>zor::TCommSetup</name>
    <message>
        <source>Error</source>
        <translation>Chyba</translation>
    </message>
    <message>
        <source>COM %1 (Parameters)</source>
        <translation>COM %1 (Parametry)</translation>
    </message>
</context>
<context>
    <name>zor::TDocumentManager</name>
    <message>
        <source>ZorEdit files [*.zor]|*.zor</source>
        <extracomment>A file dialog&apos;s filter: the name, then after the bar the pattern, which stays as it is</extracomment>
        <translation>Soubory ZorEdit [*.zor]|*.zor</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Upozornění</translation>
    </message>
</context>
<context>
    <name>zor::TExportDialog</name>
    <message>
        <source>Export animation</source>
        <translation>Exportovat animaci</translation>
    </message>
    <message>
        <source>&amp;One pass of the program (at most 60 s)</source>
        <translation>&amp;Jeden průchod programem (nejvýše 60 s)</translation>
    </message>
    <message>
        <source>&amp;Seconds:</source>
        <translation>&amp;Sekundy:</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>Sekundy</translation>
    </message>
    <message>
        <source>Scale</source>
        <translation>Měřítko</translation>
    </message>
    <message>
        <source> pixels a dot</source>
        <translation> px na bod</translation>
    </message>
    <message>
        <source>Length:</source>
        <translation>Délka:</translation>
    </message>
    <message>
        <source>A GIF holds at most 15000 frames (5 minutes).</source>
        <translation>GIF pojme nejvýše 15000 snímků (5 minut).</translation>
    </message>
    <message>
        <source>S&amp;cale:</source>
        <translation>&amp;Měřítko:</translation>
    </message>
</context>
<context>
    <name>zor::TFormSim</name>
    <message>
        <source>Simulation</source>
        <translation>Simulace</translation>
    </message>
</context>
<context>
    <name>zor::TGraf</name>
    <message>
        <source>Wait please...</source>
        <translation>Čekejte prosím...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Zrušit</translation>
    </message>
    <message>
        <source>Cancel the transfer</source>
        <translation>Zrušit přenos</translation>
    </message>
</context>
<context>
    <name>zor::THelpWindow</name>
    <message>
        <source>ZorEdit Help</source>
        <translation>Nápověda ZorEdit</translation>
    </message>
    <message>
        <source>Navigation</source>
        <translation>Navigace</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zpět</translation>
    </message>
    <message>
        <source>Back to the page you came from (Alt+Left)</source>
        <translation>Zpět na stránku, odkud jste přišli (Alt+Left)</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Vpřed</translation>
    </message>
    <message>
        <source>Forward again (Alt+Right)</source>
        <translation>Znovu vpřed (Alt+Right)</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Obsah</translation>
    </message>
    <message>
        <source>The list of contents (Alt+Home)</source>
        <translation>Obsah nápovědy (Alt+Home)</translation>
    </message>
    <message>
        <source>%1 - %2</source>
        <comment>help window title: ZorEdit Help - page title</comment>
        <translation>%1 - %2</translation>
    </message>
</context>
<context>
    <name>zor::TLogView</name>
    <message>
        <source>Transfer log</source>
        <translation>Záznam přenosu</translation>
    </message>
    <message>
        <source>&amp;Log of:</source>
        <translation>&amp;Záznam:</translation>
    </message>
    <message>
        <source>Log of</source>
        <translation>Záznam</translation>
    </message>
    <message>
        <source>The port of Parameters or a named panel</source>
        <translation>Port z Parametrů nebo pojmenovaný panel</translation>
    </message>
    <message>
        <source>There is no transfer log at %1 yet.</source>
        <translation>Záznam přenosu %1 zatím neexistuje.</translation>
    </message>
    <message>
        <source>%1 is too large to be a transfer log.</source>
        <translation>Soubor %1 je na záznam přenosu příliš velký.</translation>
    </message>
    <message>
        <source>%1 is not a regular file (a device, a FIFO or a socket): there is no log in it to show.</source>
        <translation>%1 není běžný soubor (je to zařízení, roura FIFO nebo soket): není v něm žádný záznam k zobrazení.</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 nelze přečíst: %2</translation>
    </message>
    <message>
        <source>%1, written %2</source>
        <translation>%1, zapsáno %2</translation>
    </message>
    <message>
        <source>%1, written %2; the transfer stopped at line %3</source>
        <translation>%1, zapsáno %2; přenos se zastavil na řádku %3</translation>
    </message>
    <message>
        <source>yyyy-MM-dd HH:mm:ss</source>
        <comment>date and time format of QDateTime::toString</comment>
        <translation>d. M. yyyy H:mm:ss</translation>
    </message>
</context>
<context>
    <name>zor::TMDIChild</name>
    <message>
        <source>%1 was changed on disk after its recovery copy was made.
Overwrite it?</source>
        <translation>Soubor %1 se na disku změnil po vytvoření jeho kopie pro obnovení.
Přepsat jej?</translation>
    </message>
    <message>
        <source>Insert</source>
        <translation>Vkládání</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <translation>Přepisování</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Dotaz</translation>
    </message>
    <message>
        <source>%1 exists
Overwrite?</source>
        <translation>%1 existuje
Přepsat?</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Potvrzení</translation>
    </message>
    <message>
        <source>Save %1 As...</source>
        <translation>Uložit %1 jako...</translation>
    </message>
    <message>
        <source>Save changes to %1</source>
        <translation>Uložit změny do %1</translation>
    </message>
</context>
<context>
    <name>zor::TMainForm</name>
    <message>
        <source>Zor Editor</source>
        <translation>Editor Zor</translation>
    </message>
</context>
<context>
    <name>zor::TPanelCheckList</name>
    <message>
        <source>Panels</source>
        <translation>Panely</translation>
    </message>
    <message>
        <source>Panel</source>
        <translation>Panel</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Zařízení</translation>
    </message>
    <message>
        <source>%1: %2, %3 baud</source>
        <translation>%1: %2, %3 Bd</translation>
    </message>
</context>
<context>
    <name>zor::TPanelChoice</name>
    <message>
        <source>Send to panels</source>
        <translation>Odeslat na panely</translation>
    </message>
    <message>
        <source>Choose the panels the document goes to</source>
        <translation>Zvolte panely, na které se dokument odešle</translation>
    </message>
    <message>
        <source>Send the active document to these &amp;panels:</source>
        <translation>Odeslat aktivní dokument na tyto &amp;panely:</translation>
    </message>
    <message>
        <source>&amp;All</source>
        <translation>&amp;Vše</translation>
    </message>
    <message>
        <source>Tick every panel</source>
        <translation>Zaškrtne všechny panely</translation>
    </message>
    <message>
        <source>N&amp;one</source>
        <translation>Žád&amp;ný</translation>
    </message>
    <message>
        <source>Untick every panel</source>
        <translation>Zruší zaškrtnutí všech panelů</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>Odeslat</translation>
    </message>
    <message>
        <source>Send to the ticked panels</source>
        <translation>Odešle na zaškrtnuté panely</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Zrušit</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation>Zrušit</translation>
    </message>
    <message>
        <source>Tick the panels to send to.</source>
        <translation>Zaškrtněte panely, na které se má odesílat.</translation>
    </message>
</context>
<context>
    <name>zor::TPanelName</name>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Název:</translation>
    </message>
    <message>
        <source>Panel name</source>
        <translation>Název panelu</translation>
    </message>
    <message>
        <source>The panel&apos;s name, as Send to panels and zor show it</source>
        <translation>Název panelu, jak jej ukazují Odeslat na panely a zor</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Zrušit</translation>
    </message>
    <message>
        <source>There is already a panel named %1.</source>
        <translation>Panel s názvem %1 už existuje.</translation>
    </message>
</context>
<context>
    <name>zor::TPanelResults</name>
    <message>
        <source>During the Open frame.</source>
        <translation>Během zprávy Open.</translation>
    </message>
    <message>
        <source>During block %1 of %2.</source>
        <translation>Během bloku %1 z %2.</translation>
    </message>
    <message>
        <source>Result of each panel</source>
        <translation>Výsledek každého panelu</translation>
    </message>
    <message>
        <source>Panel</source>
        <translation>Panel</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Výsledek</translation>
    </message>
    <message>
        <source>Cause</source>
        <translation>Důvod</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message numerus="yes">
        <source>During the Close frame, after all %n blocks.</source>
        <translation>
            <numerusform>Během zprávy Close, po %n bloku.</numerusform>
            <numerusform>Během zprávy Close, po všech %n blocích.</numerusform>
            <numerusform>Během zprávy Close, po všech %n blocích.</numerusform>
        </translation>
    </message>
    <message>
        <source>The transfer log was not written: %1</source>
        <translation>Záznam přenosu nebyl zapsán: %1</translation>
    </message>
    <message numerus="yes">
        <source>Every panel took it (%n of %n).</source>
        <translation>
            <numerusform>Převzal jej každý panel (%n z %n).</numerusform>
            <numerusform>Převzaly jej všechny panely (%n z %n).</numerusform>
            <numerusform>Převzaly jej všechny panely (%n z %n).</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n panels took it; %2 did not.</source>
        <translation>
            <numerusform>Panely, které jej převzaly: %1 z %n; které nepřevzaly: %2.</numerusform>
            <numerusform>Panely, které jej převzaly: %1 z %n; které nepřevzaly: %2.</numerusform>
            <numerusform>Panely, které jej převzaly: %1 z %n; které nepřevzaly: %2.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>zor::TPanelView</name>
    <message>
        <source>Panel preview</source>
        <translation>Náhled panelu</translation>
    </message>
    <message>
        <source>Copy frame</source>
        <translation>Kopírovat snímek</translation>
    </message>
</context>
<context>
    <name>zor::TPanelsPage</name>
    <message>
        <source>The panels that Send to panels reaches</source>
        <translation>Panely, na které odesílá Odeslat na panely</translation>
    </message>
    <message>
        <source>Named panels</source>
        <translation>Pojmenované panely</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Název</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Zařízení</translation>
    </message>
    <message>
        <source>Baud</source>
        <translation>Rychlost</translation>
    </message>
    <message>
        <source>A&amp;dd...</source>
        <translation>Přid&amp;at...</translation>
    </message>
    <message>
        <source>Name a new panel</source>
        <translation>Pojmenuje nový panel</translation>
    </message>
    <message>
        <source>&amp;Rename...</source>
        <translation>Přej&amp;menovat...</translation>
    </message>
    <message>
        <source>Give the selected panel another name</source>
        <translation>Dá vybranému panelu jiný název</translation>
    </message>
    <message>
        <source>Re&amp;move</source>
        <translation>Ode&amp;brat</translation>
    </message>
    <message>
        <source>Take the selected panel off the list</source>
        <translation>Odebere vybraný panel ze seznamu</translation>
    </message>
    <message>
        <source>&amp;Test</source>
        <translation>&amp;Vyzkoušet</translation>
    </message>
    <message>
        <source>Open the selected panel&apos;s device (connect, for a device server) and say what was found; nothing is sent</source>
        <translation>Otevře zařízení vybraného panelu (k sériovému serveru se připojí) a řekne, co zjistil; nic se neodesílá</translation>
    </message>
    <message>
        <source>Device of the selected panel</source>
        <translation>Zařízení vybraného panelu</translation>
    </message>
    <message>
        <source>Serial device or device server of the selected panel</source>
        <translation>Sériové zařízení nebo sériový server vybraného panelu</translation>
    </message>
    <message>
        <source>Pick one of this computer&apos;s serial ports, or type the device path or a device server&apos;s socket://HOST:PORT or rfc2217://HOST:PORT</source>
        <translation>Vyberte jeden ze sériových portů tohoto počítače, nebo napište cestu k zařízení nebo adresu sériového serveru socket://HOST:PORT či rfc2217://HOST:PORT</translation>
    </message>
    <message>
        <source>Baud rate of the selected panel</source>
        <translation>Přenosová rychlost vybraného panelu</translation>
    </message>
    <message>
        <source>A rate of the panel&apos;s own, or the one of the Port page</source>
        <translation>Vlastní rychlost panelu, nebo ta ze stránky Port</translation>
    </message>
    <message>
        <source>As on the Port page</source>
        <translation>Jako na stránce Port</translation>
    </message>
    <message>
        <source>De&amp;vice:</source>
        <translation>Zaříz&amp;ení:</translation>
    </message>
    <message>
        <source>&amp;Baud rate:</source>
        <translation>Přenosová &amp;rychlost:</translation>
    </message>
    <message>
        <source>In the settings file, %1: rename the panel, choose its rate or remove it.</source>
        <translation>V souboru nastavení, %1: přejmenujte panel, zvolte jeho rychlost nebo jej odeberte.</translation>
    </message>
    <message>
        <source>The panel %1 has no device: choose or type one, or remove the panel.</source>
        <translation>Panel %1 nemá zařízení: zvolte nebo napište je, nebo panel odeberte.</translation>
    </message>
    <message>
        <source>Add panel</source>
        <translation>Přidat panel</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Chyba</translation>
    </message>
    <message>
        <source>Rename panel</source>
        <translation>Přejmenovat panel</translation>
    </message>
    <message>
        <source>%1: testing %2...</source>
        <translation>%1: zkouší se %2...</translation>
    </message>
    <message>
        <source>rfc2217://HOST:PORT</source>
        <comment>placeholder of a device server address</comment>
        <translation>rfc2217://HOST:PORT</translation>
    </message>
</context>
<context>
    <name>zor::TPanelsProgress</name>
    <message>
        <source>Wait please...</source>
        <translation>Čekejte prosím...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Zrušit</translation>
    </message>
    <message>
        <source>Cancel the transfers to every panel</source>
        <translation>Zrušit přenosy na všechny panely</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n blocks</source>
        <translation>
            <numerusform>%1 z %n bloku</numerusform>
            <numerusform>%1 ze %n bloků</numerusform>
            <numerusform>%1 ze %n bloků</numerusform>
        </translation>
    </message>
    <message>
        <source>Sending</source>
        <translation>Odesílá se</translation>
    </message>
</context>
<context>
    <name>zor::TParamet</name>
    <message>
        <source>Parameters</source>
        <translation>Parametry</translation>
    </message>
    <message>
        <source>Parameters settings</source>
        <translation>Nastavení parametrů</translation>
    </message>
    <message>
        <source>P&amp;ort</source>
        <translation>&amp;Port</translation>
    </message>
    <message>
        <source>Comm port:</source>
        <translation>Komunikační port:</translation>
    </message>
    <message>
        <source>Baud rate:</source>
        <translation>Přenosová rychlost:</translation>
    </message>
    <message>
        <source>&amp;Device:</source>
        <translation>&amp;Zařízení:</translation>
    </message>
    <message>
        <source>Serial device of the selected port</source>
        <translation>Sériové zařízení vybraného portu</translation>
    </message>
    <message>
        <source>Pick one of this computer&apos;s serial ports, or type the device path or a device server&apos;s socket://HOST:PORT or rfc2217://HOST:PORT</source>
        <translation>Vyberte jeden ze sériových portů tohoto počítače, nebo napište cestu k zařízení nebo adresu sériového serveru socket://HOST:PORT či rfc2217://HOST:PORT</translation>
    </message>
    <message>
        <source>Device of the selected port</source>
        <translation>Zařízení vybraného portu</translation>
    </message>
    <message>
        <source>Write transmit data to file</source>
        <translation>Zapisovat přenášená data do souboru</translation>
    </message>
    <message>
        <source>Write data</source>
        <translation>Zapisovat data</translation>
    </message>
    <message>
        <source>Send &amp; Receive data save to file</source>
        <translation>Ukládá odesílaná a přijímaná data do souboru</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Button OK</source>
        <translation>Tlačítko OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Zrušit</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation>Zrušit</translation>
    </message>
    <message>
        <source>P&amp;anels</source>
        <translation>Pa&amp;nely</translation>
    </message>
    <message>
        <source>The language of ZorEdit&apos;s menus, dialogs and help</source>
        <translation>Jazyk nabídek, dialogů a nápovědy ZorEdit</translation>
    </message>
    <message>
        <source>Interface language:</source>
        <translation>Jazyk rozhraní:</translation>
    </message>
    <message>
        <source>Interface language</source>
        <translation>Jazyk rozhraní</translation>
    </message>
    <message>
        <source>The desktop&apos;s language</source>
        <translation>Jazyk pracovní plochy</translation>
    </message>
    <message>
        <source>The new language takes effect at the next start.</source>
        <translation>Nový jazyk se projeví při příštím spuštění.</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Jazyk</translation>
    </message>
    <message>
        <source>Stored rate %1 is not offered</source>
        <translation>Uložená rychlost %1 není v nabídce</translation>
    </message>
    <message>
        <source>The settings file holds the baud rate %1, which the panel does not work at. OK stores the rate selected above.</source>
        <translation>Soubor nastavení obsahuje přenosovou rychlost %1 Bd, kterou panel nepoužívá. OK uloží rychlost vybranou výše.</translation>
    </message>
    <message>
        <source>Device of COM %1</source>
        <translation>Zařízení COM %1</translation>
    </message>
    <message>
        <source>ZorEdit log files[*.log]|*.log</source>
        <translation>Soubory záznamu ZorEdit[*.log]|*.log</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Dotaz</translation>
    </message>
    <message>
        <source>%1 is not a log file
Replace it with the transfer log?</source>
        <translation>%1 není soubor záznamu
Nahradit jej záznamem přenosu?</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Chyba</translation>
    </message>
</context>
<context>
    <name>zor::TPreviewCommands</name>
    <message>
        <source>Animation written to %1</source>
        <translation>Animace zapsána do %1</translation>
    </message>
    <message>
        <source>Export anyway?</source>
        <translation>Přesto exportovat?</translation>
    </message>
</context>
<context>
    <name>zor::TPreviewDock</name>
    <message>
        <source>Preview</source>
        <translation>Náhled</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pozastavit</translation>
    </message>
    <message>
        <source>Restart</source>
        <translation>Od začátku</translation>
    </message>
    <message>
        <source>One frame forward</source>
        <translation>O snímek vpřed</translation>
    </message>
    <message>
        <source>Timeline</source>
        <translation>Časová osa</translation>
    </message>
    <message>
        <source>The first 60 seconds of the run</source>
        <translation>Prvních 60 sekund běhu</translation>
    </message>
    <message>
        <source>Frame %1  %2 s</source>
        <translation>Snímek %1  %2 s</translation>
    </message>
    <message>
        <source>Zoo&amp;m</source>
        <translation>Z&amp;většení</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zvětšení</translation>
    </message>
    <message>
        <source>Pixels a dot</source>
        <translation>Počet pixelů na bod</translation>
    </message>
    <message>
        <source>F&amp;it</source>
        <translation>Př&amp;izpůsobit</translation>
    </message>
    <message>
        <source>Fit to width</source>
        <translation>Přizpůsobit šířce</translation>
    </message>
    <message>
        <source>&amp;LED look</source>
        <translation>Vzhled &amp;LED</translation>
    </message>
    <message>
        <source>Frame -</source>
        <translation>Snímek -</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Přehrát</translation>
    </message>
</context>
<context>
    <name>zor::TRecentMenu</name>
    <message>
        <source>Warning</source>
        <translation>Upozornění</translation>
    </message>
    <message>
        <source>%1 no longer exists.
It has been removed from the recent files.</source>
        <translation>Soubor %1 už neexistuje.
Byl odebrán ze seznamu posledních souborů.</translation>
    </message>
    <message>
        <source>Opens %1</source>
        <translation>Otevře %1</translation>
    </message>
</context>
<context>
    <name>zor::TRecoveryCopies</name>
    <message>
        <source>no recovery folder</source>
        <translation>žádná složka kopií pro obnovení</translation>
    </message>
    <message>
        <source>No recovery copies are kept</source>
        <translation>Kopie pro obnovení se nevedou</translation>
    </message>
    <message>
        <source>No recovery copies can be kept: %1.
Unsaved changes are lost if ZorEdit does not close properly: save your documents often.</source>
        <translation>Kopie pro obnovení nelze vést: %1.
Neuložené změny se ztratí, pokud ZorEdit nebude správně ukončen: ukládejte dokumenty často.</translation>
    </message>
    <message>
        <source>Recovery copies cannot be written</source>
        <translation>Kopie pro obnovení nelze zapsat</translation>
    </message>
    <message>
        <source>The recovery copy of %1 cannot be written: %2.
Unsaved changes are lost if ZorEdit does not close properly: save your documents often.</source>
        <translation>Kopii pro obnovení dokumentu %1 nelze zapsat: %2.
Neuložené změny se ztratí, pokud ZorEdit nebude správně ukončen: ukládejte dokumenty často.</translation>
    </message>
    <message>
        <source>%1 (the copy is from %2)</source>
        <translation>%1 (kopie je z %2)</translation>
    </message>
    <message>
        <source>%1 could not be written; the copies were kept in %2.</source>
        <translation>%1 nešlo zapsat; kopie zůstaly v %2.</translation>
    </message>
    <message>
        <source>yyyy-MM-dd hh:mm:ss</source>
        <comment>date and time format of QDateTime::toString</comment>
        <translation>d. M. yyyy H:mm:ss</translation>
    </message>
    <message>
        <source>The recovery copy of %1 cannot be read: %2.
</source>
        <translation>Kopii pro obnovení dokumentu %1 nelze přečíst: %2.
</translation>
    </message>
    <message>
        <source>It was left in %1.</source>
        <translation>Zůstala v %1.</translation>
    </message>
    <message>
        <source>It was kept as %1.</source>
        <translation>Byla uschována jako %1.</translation>
    </message>
    <message>
        <source>ZorEdit did not close properly. Recover the unsaved changes of
%1?</source>
        <translation>ZorEdit nebyl správně ukončen. Obnovit neuložené změny dokumentů
%1?</translation>
    </message>
</context>
<context>
    <name>zor::TTransferCommands</name>
    <message>
        <source>Wait moment please...</source>
        <translation>Chvíli strpení, prosím...</translation>
    </message>
    <message>
        <source>Send to panels</source>
        <translation>Odeslat na panely</translation>
    </message>
    <message>
        <source>Simulate anyway?</source>
        <translation>Přesto simulovat?</translation>
    </message>
    <message>
        <source>No panels are named yet.
Name them on the Panels page of Zor &gt; Parameters.
Open it now?</source>
        <translation>Zatím nejsou pojmenované žádné panely.
Pojmenujte je na stránce Panely v Zor &gt; Parametry.
Otevřít ji nyní?</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Chyba</translation>
    </message>
    <message>
        <source>Nothing was sent. %1</source>
        <translation>Nic se neodeslalo. %1</translation>
    </message>
    <message>
        <source>Tick where the counters go.</source>
        <translation>Zaškrtněte, kam se mají počítadla odeslat.</translation>
    </message>
    <message>
        <source>Numeric fields</source>
        <translation>Číselné údaje</translation>
    </message>
</context>
<context>
    <name>zor::TVloz</name>
    <message>
        <source>Enter Parameter</source>
        <translation>Zadání parametru</translation>
    </message>
    <message>
        <source>Number:</source>
        <translation>Číslo:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Zrušit</translation>
    </message>
</context>
<context>
    <name>zor::TVstup</name>
    <message>
        <source>Tick where the counters go.</source>
        <translation>Zaškrtněte, kam se mají počítadla odeslat.</translation>
    </message>
    <message>
        <source>Numeric fields</source>
        <translation>Číselné údaje</translation>
    </message>
    <message>
        <source>Enter the numeric value </source>
        <translation>Zadejte číselné hodnoty </translation>
    </message>
    <message>
        <source>Number of accident-</source>
        <extracomment>With the next text, two lines of one label: &quot;Number of accident-free days:&quot;</extracomment>
        <translation>Počet dní</translation>
    </message>
    <message>
        <source>free days:</source>
        <translation>bez úrazu:</translation>
    </message>
    <message>
        <source>Number of accident free days</source>
        <translation>Počet dní bez úrazu</translation>
    </message>
    <message>
        <source>Number of accidents </source>
        <extracomment>With the next text, two lines of one label: &quot;Number of accidents from 1-st,January:&quot;</extracomment>
        <translation>Počet úrazů </translation>
    </message>
    <message>
        <source>from 1-st,January:</source>
        <translation>od 1. ledna:</translation>
    </message>
    <message>
        <source>Number of accident from 1-st,January</source>
        <translation>Počet úrazů od 1. ledna</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>Odeslat</translation>
    </message>
    <message>
        <source>Send to display</source>
        <translation>Odešle hodnoty na panel</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Zrušit</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation>Zrušit</translation>
    </message>
    <message>
        <source>Send &amp;to:</source>
        <translation>&amp;Odeslat na:</translation>
    </message>
    <message>
        <source>Send to</source>
        <translation>Odeslat na</translation>
    </message>
    <message>
        <source>The port of Parameters and the named panels</source>
        <translation>Port z Parametrů a pojmenované panely</translation>
    </message>
</context>
<context>
    <name>zor::Tabb</name>
    <message>
        <source>About</source>
        <translation>O programu</translation>
    </message>
    <message>
        <source>About programm ZorEdit</source>
        <translation>O programu ZorEdit</translation>
    </message>
    <message>
        <source>ZorEdit for windows</source>
        <translation>ZorEdit pro Windows</translation>
    </message>
    <message>
        <source>ZorEdit for Windows 95/98</source>
        <translation>ZorEdit pro Windows 95/98</translation>
    </message>
    <message>
        <source>Version 1.10 </source>
        <translation>Verze 1.10 </translation>
    </message>
    <message>
        <source>Editor for Zor LED message panels</source>
        <translation>Editor programů pro informační LED panely Zor</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
</TS>
